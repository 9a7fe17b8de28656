#include "common/monitor_lists.h"

#include <algorithm>
#include <cstdint>

#include "common/safe_names.h"

namespace lumorix {

namespace {

constexpr size_t kMaxLetters = 40;

wchar_t Upper(wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c; }
bool LetterOrDigit(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9'); }

// FNV-1a over the upper-cased UTF-16 units: the same for every spelling of one identity.
uint64_t IdentityHash(std::wstring_view identity) {
  uint64_t hash = 0xcbf29ce484222325ull;
  for (wchar_t c : identity) {
    uint16_t unit = static_cast<uint16_t>(Upper(c));
    for (int shift : {0, 8}) {
      hash ^= (unit >> shift) & 0xFF;
      hash *= 0x100000001b3ull;
    }
  }
  return hash;
}

std::wstring Hex(uint64_t value) {
  std::wstring text(16, L'0');
  for (size_t i = 16; i-- > 0; value >>= 4) text[i] = L"0123456789ABCDEF"[value & 0xF];
  return text;
}

}  // namespace

bool SameMonitor(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) { return Upper(x) == Upper(y); });
}

std::wstring MonitorNamePart(std::wstring_view identity) {
  std::wstring letters;
  for (wchar_t c : identity) {
    if (letters.size() >= kMaxLetters) break;
    c = Upper(c);
    if (LetterOrDigit(c)) {
      letters += c;
    } else if (!letters.empty() && letters.back() != L'_') {
      letters += L'_';
    }
  }
  while (!letters.empty() && letters.back() == L'_') letters.pop_back();
  std::wstring part = letters.empty() ? Hex(IdentityHash(identity)) : letters + L'-' + Hex(IdentityHash(identity));
  // "-" and the hash keep a device name ("CON") from standing alone; checked all the same.
  return IsSafeRelativeName(part) && !IsDeviceName(part) ? part : Hex(IdentityHash(identity));
}

std::wstring MonitorPlayListName(std::wstring_view mainFileName, std::wstring_view identity) {
  size_t dot = mainFileName.rfind(L'.');
  std::wstring_view stem = dot == std::wstring_view::npos ? mainFileName : mainFileName.substr(0, dot);
  std::wstring_view extension = dot == std::wstring_view::npos ? std::wstring_view{} : mainFileName.substr(dot);
  return std::wstring(stem) + L'.' + MonitorNamePart(identity) + std::wstring(extension);
}

std::vector<NamedMonitor> PrimaryFirst(std::vector<NamedMonitor> monitors) {
  std::stable_partition(monitors.begin(), monitors.end(), [](const NamedMonitor& m) { return m.primary; });
  return monitors;
}

ListSource ListSourceFor(std::wstring_view identity, const HasOwnList& hasOwnList) {
  return hasOwnList(identity) ? ListSource::OwnFile : ListSource::CopyOfPrimary;
}

PrimarySwap SwapForPrimary(std::wstring_view formerPrimary, std::wstring_view primary, const HasOwnList& hasOwnList) {
  if (formerPrimary.empty() || primary.empty() || SameMonitor(formerPrimary, primary)) return {};
  return {true, hasOwnList(primary)};
}

MonitorChanges ChangesBetween(const std::vector<std::wstring>& playing, const std::vector<NamedMonitor>& now) {
  MonitorChanges changes;
  auto others = PrimaryFirst(now);
  if (!others.empty() && others.front().primary) others.erase(others.begin());
  for (const std::wstring& identity : playing) {
    bool stays = std::any_of(others.begin(), others.end(),
                             [&](const NamedMonitor& monitor) { return SameMonitor(monitor.identity, identity); });
    if (!stays) changes.gone.push_back(identity);
  }
  for (const NamedMonitor& monitor : others) {
    bool known = std::any_of(playing.begin(), playing.end(),
                             [&](const std::wstring& identity) { return SameMonitor(monitor.identity, identity); });
    bool listed = std::any_of(changes.came.begin(), changes.came.end(),
                              [&](const NamedMonitor& came) { return SameMonitor(came.identity, monitor.identity); });
    if (!known && !listed) changes.came.push_back(monitor);
  }
  return changes;
}

}  // namespace lumorix
