#pragma once
// What plays after the current clip, what is prepared for it while the clip
// plays, and when the "Change clip every" countdown moves on. Plain rules of
// one host's playlist, so that every host (one per monitor, too) follows them.
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "common/next_entry.h"
#include "common/settings_value.h"

namespace lumorix {

// The setting "Transition": how the next clip takes over, in milliseconds of
// crossfade; 0 cuts straight to it.
inline constexpr int32_t kTransitionChoices[] = {0, 500, 1000, 2000};
// The setting "Change clip every", in minutes; 0 is off.
inline constexpr int32_t kChangeEveryChoices[] = {0, 1, 5, 10, 15, 30, 60};
// A stored value that is none of the choices (an edited registry) reads as off.
int32_t ValidTransition(int32_t milliseconds);
int32_t ValidChangeEvery(int32_t minutes);
// Newer than the installer's layout: missing, mistyped or unknown values read as off, never fail.
int32_t DecodeTransition(const std::optional<RawValue>& value);
int32_t DecodeChangeEvery(const std::optional<RawValue>& value);

struct PlayModes {
  bool repeat = false;
  bool random = false;
  int32_t changeEveryMinutes = 0;
};

// Why the player moves on.
enum class MoveReason {
  ClipEnded,    // the clip played to its end
  ChangeTimer,  // "Change clip every" ran out, maybe in the middle of the clip
  UserNext,     // the Next button or menu item
};

// The entry that follows `playing`; -1 for an empty playlist. While the change
// timer is on a clip that ends plays again, and the timer moves on; the timer
// moves on by order or random pick even under Repeat, which would only stay.
int32_t FollowingEntry(const PlayModes& modes, MoveReason reason, int32_t count, int32_t playing,
                       const RandomIndex& randomIndex);

// The move the player will make next on its own: at the clip's end, or when
// the change timer fires while it is on. This is the entry prepared.
MoveReason NextOwnMove(const PlayModes& modes);

// The entry to move to now, given the one prepared for this move (-1: none).
// A random pick was made when the entry was prepared: that is the one that
// plays, as long as it still names an entry. In order, the prepared entry
// counts only when it is still the one that follows (the list or the modes
// may have changed since).
int32_t EntryToPlay(const PlayModes& modes, MoveReason reason, int32_t count, int32_t playing, int32_t prepared,
                    const RandomIndex& randomIndex);

// Tries the entries the player would move to, from `first` on, until
// `renders` accepts one: after an entry that fails, the entry that would
// follow it (in order, or a fresh random pick). Each entry of the playlist
// is given one try at most in order; random gets as many picks as entries.
// Returns -1 when every try failed.
int32_t FirstPlayable(int32_t count, int32_t first, bool random, const RandomIndex& randomIndex,
                      const std::function<bool(int32_t index)>& renders);

// Two paths name the same file: the letters compared without case, "/" and
// "\" alike. Such an entry repeats by going back to the start, not by
// building its graph again.
bool SameClipFile(std::string_view a, std::string_view b);

// The countdown of "Change clip every": only time spent playing counts, so a
// pause (covered, locked, on battery, by the user) holds it.
class ChangeCountdown {
 public:
  // 0 minutes: off. Starts a fresh count.
  void SetInterval(int32_t minutes, int64_t minuteMs = 60'000);
  bool On() const { return intervalMs_ > 0; }
  // A new clip took over: it gets the whole interval.
  void Restart() { playedMs_ = 0; }
  // `elapsedMs` passed, playing or not; true when the clip is to change now
  // (the count then starts again).
  [[nodiscard]] bool Advance(int64_t elapsedMs, bool playing);
  int64_t RemainingMs() const { return intervalMs_ - playedMs_; }

 private:
  int64_t intervalMs_ = 0;
  int64_t playedMs_ = 0;
};

}  // namespace lumorix
