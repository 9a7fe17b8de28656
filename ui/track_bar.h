#pragma once
// A slider. Its position is clamped to its range, and OnChange runs whenever
// the position really changes, whether the user or the program moved it.
#include <functional>

#include "ui/window.h"

namespace lumorix::ui {

enum class Orientation { Horizontal, Vertical };
enum class TickMarks { BottomRight, TopLeft, Both };
enum class TickStyle { None, Auto, Manual };

struct TrackBarDesign {
  Orientation orientation = Orientation::Horizontal;
  int min = 0;
  int max = 10;
  int position = 0;
  int frequency = 1;
  TickMarks tickMarks = TickMarks::BottomRight;
  TickStyle tickStyle = TickStyle::Auto;
};

class TrackBar : public Window {
 public:
  TrackBar(HWND parent, const Bounds& bounds, const TrackBarDesign& design);

  void SetPosition(int position);
  int Position() const { return position_; }
  void SetMin(int min);
  void SetMax(int max);
  int Min() const { return min_; }
  int Max() const { return max_; }
  void SetRange(int min, int max);

  std::function<void()> OnChange;

 protected:
  bool OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  virtual void Changed();

 private:
  void ApplyRange();
  int Clamp(int value) const { return value < min_ ? min_ : value > max_ ? max_ : value; }

  int min_;
  int max_;
  int position_;
};

}  // namespace lumorix::ui
