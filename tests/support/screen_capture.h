#pragma once
// A picture of the whole screen as the display shows it (under Wine: the X
// display's virtual desktop), read back through the screen's device context.
#include <windows.h>

#include <string>
#include <vector>

namespace lumorix::test {

class ScreenShot {
 public:
  ScreenShot();
  COLORREF Pixel(int x, int y) const;
  int Width() const { return width_; }
  int Height() const { return height_; }
  // Keeps the picture for whoever looks into a failure: a .bmp in the build's test-screens folder.
  void Save(const std::string& name) const;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<DWORD> pixels_;  // top-down, 0x00RRGGBB
};

// Within `tolerance` on each channel: decoded clips are not exact.
bool Near(COLORREF actual, COLORREF expected, int tolerance = 48);
std::string Describe(COLORREF colour);

}  // namespace lumorix::test
