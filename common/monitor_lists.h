#pragma once
// The rules of "each monitor its own playlist": how a monitor is known again
// (by the identity Windows gives it, not by its place in the list of
// monitors), where its list and state are kept, which list a monitor gets,
// and what changes when the monitors change.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace lumorix {

// A monitor as the playlists know it: its identity (the device interface path
// Windows builds from the monitor's EDID), its name as Windows shows it, and
// whether it is the primary one.
struct NamedMonitor {
  std::wstring identity;
  std::wstring name;
  bool primary = false;
  bool operator==(const NamedMonitor&) const = default;
};

// Windows spells one device path in either case, depending on the call.
bool SameMonitor(std::wstring_view a, std::wstring_view b);

// The part of a file or key name that stands for `identity`: its letters and
// digits (upper case, every other run as one "_", at most 40) and a hash of
// the whole identity, so that identities differing only in their punctuation
// stay apart. Always a plain name: no separator, dot, device name or drive.
std::wstring MonitorNamePart(std::wstring_view identity);

// The list file of a monitor other than the primary, beside the primary's
// `mainFileName` ("Lumorix.Lumorixpl" gives "Lumorix.<part>.Lumorixpl").
std::wstring MonitorPlayListName(std::wstring_view mainFileName, std::wstring_view identity);

// The monitors in the order the player offers them: the primary first, the
// others as Windows lists them.
std::vector<NamedMonitor> PrimaryFirst(std::vector<NamedMonitor> monitors);

// Where a monitor other than the primary takes its list from: the list it had
// when it was last seen, or, when it is new, a copy of the primary's.
enum class ListSource { OwnFile, CopyOfPrimary };
using HasOwnList = std::function<bool(std::wstring_view identity)>;
ListSource ListSourceFor(std::wstring_view identity, const HasOwnList& hasOwnList);

// The primary's list is the existing playlist file. When another monitor has
// become the primary since that file was last saved (`formerPrimary`, empty
// before the first save), the former primary keeps that list as its own, and
// the new primary's own list, when it has one, becomes the playlist file.
struct PrimarySwap {
  bool keepForFormer = false;   // the playlist file is copied to the former primary's own file
  bool ownBecomesMain = false;  // the new primary's own file is copied to the playlist file
  bool operator==(const PrimarySwap&) const = default;
};
PrimarySwap SwapForPrimary(std::wstring_view formerPrimary, std::wstring_view primary, const HasOwnList& hasOwnList);

// What a change of monitors does to the players of the monitors other than
// the primary: the identities of those that went (their lists are kept) and
// the monitors that came, in the player's order.
struct MonitorChanges {
  std::vector<std::wstring> gone;
  std::vector<NamedMonitor> came;
  bool operator==(const MonitorChanges&) const = default;
};
MonitorChanges ChangesBetween(const std::vector<std::wstring>& playing, const std::vector<NamedMonitor>& now);

}  // namespace lumorix
