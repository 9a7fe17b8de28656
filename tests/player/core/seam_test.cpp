// The seam between two rounds of a clip, and between two clips, as the screen
// shows it: clips whose every frame shows its own number as bars, played in
// the preview and read back from the screen at the clips' frame rate by a
// thread of its own while the player runs. Each case prints its figures:
// frames at the seam that belong to neither side (black, blank, a blend, an
// old frame), the longest hold at the seam in frame times beyond a frame's
// own, and whether every round's last frame was seen.
#include <atomic>
#include <cstdio>
#include <mutex>
#include <thread>

#include "common/settings_layout.h"
#include "tests/player/core/player_fixture.h"
#include "ui/gdi.h"

using namespace lumorix;
using namespace lumorix::test;
using std::chrono::milliseconds;

namespace {

constexpr double kFrameMs = 40;  // the numbered clips run at 25 frames a second
constexpr int kLastA = 64;       // numbered.avi: frames 0 .. 64
constexpr int kFirstB = 128;     // numbered-b.avi: frames 128 .. 192
constexpr int kLastB = 192;

enum class Seen { Frame, Black, Unreadable };

struct Sample {
  double ms = 0;
  Seen seen = Seen::Unreadable;
  int number = -1;
};

// One reading of the picture's eight bars in both halves.
Sample Decode(const uint32_t* pixels, int width, int height) {
  Sample sample;
  int lower = 0, upper = 0;
  bool dark = true, clear = true;
  for (int bar = 0; bar < 8; ++bar) {
    const int x = (2 * bar + 1) * width / 16;
    for (int half = 0; half < 2; ++half) {
      const uint32_t pixel = pixels[((2 * half + 1) * height / 4) * width + x];
      const int level = (((pixel >> 16) & 0xFF) + ((pixel >> 8) & 0xFF) + (pixel & 0xFF)) / 3;
      if (level > 64) dark = false;
      if (level > 96 && level < 160) clear = false;  // neither black nor white: a blend
      (half ? lower : upper) = ((half ? lower : upper) << 1) | (level >= 128 ? 1 : 0);
    }
  }
  if (dark) {
    sample.seen = Seen::Black;
  } else if (clear && (upper ^ lower) == 0xFF) {
    sample.seen = Seen::Frame;
    sample.number = lower;
  }
  return sample;
}

// Reads the screen over `area` every frame time until stopped.
class ScreenSampler {
 public:
  explicit ScreenSampler(RECT area) : area_(area), thread_([this] { Run(); }) {}
  ~ScreenSampler() { Stop(); }
  void Stop() {
    running_ = false;
    if (thread_.joinable()) thread_.join();
  }
  std::vector<Sample> Samples() {
    std::lock_guard lock(mutex_);
    return samples_;
  }

 private:
  void Run() {
    const int width = area_.right - area_.left, height = area_.bottom - area_.top;
    ui::Dib32 dib = ui::CreateDib32(width, height);
    ui::UniqueMemoryDc memory(CreateCompatibleDC(nullptr));
    if (!dib.bits || !memory) return;
    ui::SelectObjectScope select(memory.Get(), dib.bitmap.Get());
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    auto elapsedMs = [&] {
      QueryPerformanceCounter(&now);
      return 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
    };
    for (int n = 0; running_; ++n) {
      while (running_ && elapsedMs() < n * kFrameMs) Sleep(1);
      HDC screen = GetDC(nullptr);
      BitBlt(memory.Get(), 0, 0, width, height, screen, area_.left, area_.top, SRCCOPY);
      ReleaseDC(nullptr, screen);
      GdiFlush();
      Sample sample = Decode(dib.bits, width, height);
      sample.ms = elapsedMs();
      std::lock_guard lock(mutex_);
      samples_.push_back(sample);
    }
  }

  RECT area_;
  std::atomic<bool> running_{true};
  std::mutex mutex_;
  std::vector<Sample> samples_;
  std::thread thread_;
};

struct SeamFigures {
  int seams = 0;
  int foreign = 0;      // black, unreadable or an old frame at a seam
  int blended = 0;      // unreadable samples of a crossfade (allowed there)
  int longestHold = 0;  // frame times beyond a frame's own
  int lastSeen = 0;     // seams whose ending clip's last frame was read
  std::string trace;
};

// A round's last frames (a few, as a busy machine may skip some before the end).
bool EndsRound(int number) { return (number >= kLastA - 6 && number <= kLastA) || number >= kLastB - 6; }
int LastOf(int number) { return number >= kFirstB ? kLastB : kLastA; }
// The first frames of the round that should follow one that ended on `ended`:
// the same clip again, or the other one. A clip fading in plays on under the
// blend: `fadeFrames` more of its frames may pass before one can be read.
bool StartsRound(int number, int ended, bool alternate, int fadeFrames) {
  const bool nextIsB = (ended >= kFirstB) != alternate;
  const int first = nextIsB ? kFirstB : 0;
  return number >= first && number <= first + 3 + fadeFrames;
}

// Finds each seam (a round's end read, then a start of a round) and judges
// what lies between, up to the third frame of the new round.
SeamFigures Judge(const std::vector<Sample>& samples, bool alternate, int fadeFrames) {
  const bool crossfade = fadeFrames > 0;
  SeamFigures figures;
  size_t i = 0;
  while (i < samples.size()) {
    // The last reading of a round's end before something else is read.
    if (samples[i].seen != Seen::Frame || !EndsRound(samples[i].number)) {
      ++i;
      continue;
    }
    size_t end = i;
    while (end + 1 < samples.size() && samples[end + 1].seen == Seen::Frame && EndsRound(samples[end + 1].number) &&
           samples[end + 1].number >= samples[end].number)
      ++end;
    const int ended = samples[end].number;
    bool lastSeen = false;
    for (size_t k = i; k <= end; ++k) lastSeen |= samples[k].number == LastOf(ended);
    // The new round: its first clear reading of a frame two on from its start.
    size_t resumed = end + 1;
    int foreign = 0, blended = 0;
    bool found = false, started = false;
    for (; resumed < samples.size() && resumed < end + 200; ++resumed) {
      const Sample& s = samples[resumed];
      if (s.seen == Seen::Frame && StartsRound(s.number, ended, alternate, fadeFrames)) {
        const int first = s.number >= kFirstB ? kFirstB : 0;
        if (s.number >= first + 2) {
          found = true;
          break;
        }
        started = true;
        continue;
      }
      if (s.seen == Seen::Unreadable && crossfade)
        ++blended;
      else if (started || !(s.seen == Seen::Frame && s.number == ended))
        ++foreign;  // black, a blend at a cut, an old frame, or the old clip back after the new one showed
    }
    if (!found) break;  // the sampling ended inside this seam
    ++figures.seams;
    figures.foreign += foreign;
    figures.blended += blended;
    figures.lastSeen += lastSeen ? 1 : 0;
    // The longest run of one reading, from the round's last frames into the new round.
    size_t from = end >= 2 ? end - 2 : 0;
    int run = 1;
    for (size_t k = from + 1; k <= resumed; ++k) {
      const bool same = samples[k].seen == samples[k - 1].seen && samples[k].number == samples[k - 1].number;
      run = same ? run + 1 : 1;
      // In a crossfade the old frame still reads as itself early in the blend: no hold.
      if (!crossfade || (samples[k].seen == Seen::Frame && samples[k].number != ended))
        figures.longestHold = std::max(figures.longestHold, run - 1);
    }
    char line[64];
    for (size_t k = from; k <= resumed; ++k) {
      const Sample& s = samples[k];
      std::snprintf(line, sizeof line, "%s ",
                    s.seen == Seen::Frame   ? std::to_string(s.number).c_str()
                    : s.seen == Seen::Black ? "black"
                                            : "?");
      figures.trace += line;
    }
    figures.trace += "| ";
    i = resumed;
  }
  return figures;
}

class SeamTest : public PlayerTest {
 protected:
  // Plays the list in the preview, the settings window shown, and reads it for `duration`.
  SeamFigures Measure(const std::vector<std::string>& clips, bool repeat, int transitionMs, milliseconds duration,
                      bool desktop = false) {
    WritePlayList(clips);
    WriteSetting(kPlayListKey, "Repeat", EncodeInteger(repeat ? 1 : 0));
    WriteSetting(kPlayListKey, kTransition, EncodeInteger(transitionMs));
    TLumorixMainForm& form = StartPlayer();
    if (desktop) {
      // The start step takes the clip to the desktop (here, with no shell, the backdrop over the screen).
      EXPECT_TRUE(PumpUntil([&] { return form.DSVideoWindowEx2.DesktopMode(); }, milliseconds(5000)));
      // Then the start step puts the clip at its saved second (here its start): measured after that.
      EXPECT_TRUE(PumpUntil([&] { return !form.Timer2.Enabled(); }, milliseconds(5000)));
    } else {
      form.Timer.SetEnabled(false);  // the start step would take the clip to the desktop
      form.Show();
    }
    EXPECT_TRUE(errors.Boxes().empty()) << Narrow(ErrorText(errors));
    EXPECT_TRUE(PumpUntil([&] { return form.FilterGraph()->State() == 3; }, milliseconds(5000)));
    PumpFor(milliseconds(300));
    RECT area;
    GetWindowRect(form.DSVideoWindowEx2.Handle(), &area);
    ScreenSampler sampler(area);
    PumpFor(duration);
    sampler.Stop();
    std::vector<Sample> samples = sampler.Samples();
    SeamFigures figures = Judge(samples, clips.size() > 1, static_cast<int>(transitionMs / kFrameMs));
    std::printf(
        "seam figures (%s, %s): %d seams, %d foreign frames, longest hold %d frame time(s), last frame "
        "seen at %d of %d seams, %d blended readings; %zu samples\n  %s\n",
        clips.size() == 1 ? "repeat" : (desktop ? "two clips on the desktop" : "two clips"),
        transitionMs > 0 ? ("crossfade " + std::to_string(transitionMs) + " ms").c_str() : "cut", figures.seams,
        figures.foreign, figures.longestHold, figures.lastSeen, figures.seams, figures.blended, samples.size(),
        figures.trace.c_str());
    return figures;
  }
};

}  // namespace

TEST_F(SeamTest, RepeatGoesRoundWithoutASeam) {
  SeamFigures figures = Measure({"numbered.avi"}, true, 0, milliseconds(9000));
  ASSERT_GE(figures.seams, 3);
  EXPECT_EQ(figures.foreign, 0);
  EXPECT_EQ(figures.lastSeen, figures.seams);
}

TEST_F(SeamTest, TheNextClipTakesOverWithoutABlankFrame) {
  SeamFigures figures = Measure({"numbered.avi", "numbered-b.avi"}, false, 0, milliseconds(9000));
  ASSERT_GE(figures.seams, 2);
  EXPECT_EQ(figures.foreign, 0);
  EXPECT_EQ(figures.lastSeen, figures.seams);
}

TEST_F(SeamTest, TheNextClipFadesInWithoutABlankFrame) {
  SeamFigures figures = Measure({"numbered.avi", "numbered-b.avi"}, false, 500, milliseconds(9000));
  ASSERT_GE(figures.seams, 2);
  EXPECT_EQ(figures.foreign, 0);
  EXPECT_EQ(figures.lastSeen, figures.seams);
}

TEST_F(SeamTest, OnTheDesktopTooTheNextClipTakesOverWithoutABlankFrame) {
  SeamFigures figures = Measure({"numbered.avi", "numbered-b.avi"}, false, 0, milliseconds(7000), true);
  ASSERT_GE(figures.seams, 2);
  EXPECT_EQ(figures.foreign, 0);
  EXPECT_EQ(figures.lastSeen, figures.seams);
}
