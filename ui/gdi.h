#pragma once
// Move-only owners for GDI objects and icons.
#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>

namespace lumorix::ui {

template <typename Handle, typename Deleter>
class UniqueGdi {
 public:
  UniqueGdi() = default;
  explicit UniqueGdi(Handle handle) : handle_(handle) {}
  UniqueGdi(UniqueGdi&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  UniqueGdi& operator=(UniqueGdi&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.handle_, nullptr));
    return *this;
  }
  UniqueGdi(const UniqueGdi&) = delete;
  UniqueGdi& operator=(const UniqueGdi&) = delete;
  ~UniqueGdi() { Reset(); }

  Handle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  void Reset(Handle handle = nullptr) {
    if (handle_) Deleter{}(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = nullptr;
};

struct GdiObjectDeleter {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct IconDeleter {
  void operator()(HICON icon) const { DestroyIcon(icon); }
};
struct MemoryDcDeleter {
  void operator()(HDC dc) const { DeleteDC(dc); }
};

using UniqueFont = UniqueGdi<HFONT, GdiObjectDeleter>;
using UniqueBrush = UniqueGdi<HBRUSH, GdiObjectDeleter>;
using UniqueBitmap = UniqueGdi<HBITMAP, GdiObjectDeleter>;
using UniqueIcon = UniqueGdi<HICON, IconDeleter>;
using UniqueMemoryDc = UniqueGdi<HDC, MemoryDcDeleter>;

// Selects an object into a device context for one scope.
class SelectObjectScope {
 public:
  SelectObjectScope(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~SelectObjectScope() { SelectObject(dc_, old_); }
  SelectObjectScope(const SelectObjectScope&) = delete;
  SelectObjectScope& operator=(const SelectObjectScope&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// A 32-bit top-down DIB section and its pixels (0xAARRGGBB), to draw point by point.
struct Dib32 {
  UniqueBitmap bitmap;
  uint32_t* bits = nullptr;
};
// An empty bitmap when the system refuses one.
Dib32 CreateDib32(int width, int height);

// The size `text` takes on one line in `font` (DEFAULT_GUI_FONT when null), as
// drawn in `window`.
SIZE SingleLineTextSize(HWND window, HFONT font, const std::wstring& text, UINT format = 0);
// The same for a control's own caption in its own font.
SIZE CaptionSize(HWND control);

// A system colour (high byte 0x80, COLOR_ index below) or a plain $00BBGGRR value.
COLORREF ResolveColor(COLORREF color);

}  // namespace lumorix::ui
