#include "setup_rules.h"

#include <algorithm>

namespace lumorix {

namespace {

wchar_t FoldAscii(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + 32) : c; }

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

std::wstring_view Trimmed(std::wstring_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

std::wstring DefaultInstallFolder(std::wstring_view systemFolder) {
  // Without a system folder to take the drive from, the usual one.
  std::wstring_view drive = systemFolder.size() >= 3 && systemFolder[1] == L':' ? systemFolder.substr(0, 3) : L"C:\\";
  return std::wstring(drive) + L"Program Files\\Vantrel\\Lumorix\\";
}

std::wstring BrouseResult(const std::wstring& folderText, const std::optional<std::wstring>& picked) {
  std::wstring text = picked ? *picked + L"\\" : folderText;
  if (text.find(L"Lumorix") == std::wstring::npos) text += L"Lumorix\\";
  return text;
}

std::wstring CompleteFolder(std::wstring folder) {
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  return folder;
}

bool FolderListLess(const std::wstring& a, const std::wstring& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](wchar_t x, wchar_t y) { return FoldAscii(x) < FoldAscii(y); });
}

void SortFolderList(std::vector<std::wstring>& folders) {
  std::stable_sort(folders.begin(), folders.end(), FolderListLess);
}

std::wstring UninstallCommand(const std::wstring& installFolder) { return L"\"" + installFolder + L"Uninstall.exe\""; }

std::vector<std::string> LogLines(std::string_view text) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!line.empty()) lines.emplace_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

int32_t ProgressPosition(int64_t done, int64_t total) {
  if (total <= 0 || done <= 0) return 0;
  return static_cast<int32_t>(std::min<int64_t>(done * 1000 / total, 1000));
}

uint32_t EstimatedSizeKb(int64_t bytes) { return bytes <= 0 ? 0 : static_cast<uint32_t>((bytes + 1023) / 1024); }

namespace {

bool SameWord(std::wstring_view word, std::wstring_view expected) {
  return word.size() == expected.size() &&
         std::equal(word.begin(), word.end(), expected.begin(),
                    [](wchar_t a, wchar_t b) { return FoldAscii(a) == FoldAscii(b); });
}

std::optional<uint64_t> Number(std::wstring_view word) {
  if (word.empty() || word.size() > 19) return std::nullopt;
  uint64_t value = 0;
  for (wchar_t c : word) {
    if (c < L'0' || c > L'9') return std::nullopt;
    value = value * 10 + static_cast<uint64_t>(c - L'0');
  }
  return value;
}

constexpr uint64_t kStartUpBit = 1, kStartMenuBit = 2, kDesktopBit = 4;

}  // namespace

SetupCommandLine ParseSetupCommandLine(std::wstring_view arguments) {
  SetupCommandLine parsed;
  std::wstring_view rest = Trimmed(arguments);
  bool allUsers = false, currentUser = false;
  auto nextWord = [&rest] {
    size_t end = 0;
    while (end < rest.size() && !IsBlank(rest[end])) ++end;
    std::wstring_view word = rest.substr(0, end);
    rest = Trimmed(rest.substr(end));
    return word;
  };
  while (!rest.empty()) {
    if (rest.size() >= 3 && rest[0] == L'/' && FoldAscii(rest[1]) == L'd' && rest[2] == L'=') {
      std::wstring_view folder = Trimmed(rest.substr(3));
      if (folder.size() >= 2 && folder.front() == L'"' && folder.back() == L'"')
        folder = folder.substr(1, folder.size() - 2);
      if (folder.empty())
        parsed.valid = false;
      else
        parsed.folder = CompleteFolder(std::wstring(folder));
      break;
    }
    std::wstring_view word = nextWord();
    if (SameWord(word, L"/S")) {
      parsed.silent = true;
    } else if (SameWord(word, L"/AllUsers")) {
      allUsers = true;
    } else if (SameWord(word, L"/CurrentUser")) {
      currentUser = true;
    } else if (SameWord(word, L"/Machine") && !parsed.elevatedPart) {
      std::optional<uint64_t> window = Number(nextWord());
      std::optional<uint64_t> options = Number(nextWord());
      if (!window || !options || *options > (kStartUpBit | kStartMenuBit | kDesktopBit)) {
        parsed.valid = false;
        break;
      }
      parsed.elevatedPart = ElevatedPart{
          *window, {(*options & kStartUpBit) != 0, (*options & kStartMenuBit) != 0, (*options & kDesktopBit) != 0}};
    } else {
      parsed.valid = false;
    }
  }
  if (currentUser) parsed.scope = InstallScope::CurrentUser;
  // One scope only; the administrator's part is an installation for
  // everyone into a folder its caller has already chosen.
  if ((allUsers && currentUser) || (parsed.elevatedPart && (currentUser || !parsed.folder))) parsed.valid = false;
  return parsed;
}

std::wstring ElevatedPartArguments(uint64_t window, const InstallOptions& options, const std::wstring& folder) {
  uint64_t bits = (options.startUpWithWindows ? kStartUpBit : 0) | (options.startMenuShortcuts ? kStartMenuBit : 0) |
                  (options.desktopShortcut ? kDesktopBit : 0);
  return L"/Machine " + std::to_wstring(window) + L" " + std::to_wstring(bits) + L" /D=" + folder;
}

}  // namespace lumorix
