#include "common/clip_sequence.h"

#include <algorithm>
#include <iterator>

namespace lumorix {

namespace {

template <size_t N>
int32_t OneOf(const int32_t (&choices)[N], int32_t value) {
  return std::find(std::begin(choices), std::end(choices), value) != std::end(choices) ? value : 0;
}

char Folded(char c) {
  if (c == '/') return '\\';
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

int32_t ValidTransition(int32_t milliseconds) { return OneOf(kTransitionChoices, milliseconds); }
int32_t ValidChangeEvery(int32_t minutes) { return OneOf(kChangeEveryChoices, minutes); }

static std::optional<int32_t> Dword(const std::optional<RawValue>& value) {
  if (!value || value->type != kRegDword || value->data.size() != 4) return std::nullopt;
  const auto& d = value->data;
  return static_cast<int32_t>(d[0] | d[1] << 8 | d[2] << 16 | uint32_t{d[3]} << 24);
}

int32_t DecodeTransition(const std::optional<RawValue>& value) { return ValidTransition(Dword(value).value_or(0)); }
int32_t DecodeChangeEvery(const std::optional<RawValue>& value) { return ValidChangeEvery(Dword(value).value_or(0)); }

int32_t FollowingEntry(const PlayModes& modes, MoveReason reason, int32_t count, int32_t playing,
                       const RandomIndex& randomIndex) {
  if (count <= 0) return -1;
  switch (reason) {
    case MoveReason::ClipEnded:
      if (modes.changeEveryMinutes > 0) return playing >= 0 && playing < count ? playing : 0;
      return NextEntryIndex(count, playing, modes.repeat, modes.random, randomIndex);
    case MoveReason::ChangeTimer:
      return NextEntryIndex(count, playing, false, modes.random, randomIndex);
    case MoveReason::UserNext:
      break;
  }
  return NextEntryIndex(count, playing, modes.repeat, modes.random, randomIndex);
}

MoveReason NextOwnMove(const PlayModes& modes) {
  return modes.changeEveryMinutes > 0 ? MoveReason::ChangeTimer : MoveReason::ClipEnded;
}

int32_t EntryToPlay(const PlayModes& modes, MoveReason reason, int32_t count, int32_t playing, int32_t prepared,
                    const RandomIndex& randomIndex) {
  if (count <= 0) return -1;
  const bool picks = modes.random && (reason != MoveReason::ClipEnded || modes.changeEveryMinutes == 0);
  if (picks && prepared >= 0 && prepared < count) return prepared;
  return FollowingEntry(modes, reason, count, playing, randomIndex);
}

int32_t FirstPlayable(int32_t count, int32_t first, bool random, const RandomIndex& randomIndex,
                      const std::function<bool(int32_t index)>& renders) {
  if (count <= 0 || first < 0 || first >= count) return -1;
  int32_t index = first;
  for (int32_t tries = 1;; ++tries) {
    if (renders(index)) return index;
    if (tries == count) return -1;
    index = NextEntryIndex(count, index, false, random, randomIndex);
  }
}

bool SameClipFile(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Folded(x) == Folded(y); });
}

void ChangeCountdown::SetInterval(int32_t minutes, int64_t minuteMs) {
  intervalMs_ = minutes > 0 ? minutes * minuteMs : 0;
  playedMs_ = 0;
}

bool ChangeCountdown::Advance(int64_t elapsedMs, bool playing) {
  if (!On() || !playing || elapsedMs <= 0) return false;
  playedMs_ += elapsedMs;
  if (playedMs_ < intervalMs_) return false;
  playedMs_ = 0;
  return true;
}

}  // namespace lumorix
