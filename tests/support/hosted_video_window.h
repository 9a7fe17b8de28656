#pragma once
// A video window with the desktop stage the player gives it, for the tests
// of desktop and full-screen playback.
#include "player/desktop/desktop_stage.h"
#include "player/engine/video/video_window.h"

namespace lumorix::test {

class HostedVideoWindow : public engine::TDSVideoWindowEx2 {
 public:
  HostedVideoWindow(HWND parent, const ui::Bounds& bounds, std::wstring name)
      : TDSVideoWindowEx2(parent, bounds, std::move(name)) {
    SetPictureHost([this](engine::HostedPicture& picture, COLORREF color) {
      auto stage = std::make_unique<desktop::DesktopStage>(picture, color);
      stage_ = stage.get();
      return stage;
    });
  }
  // The hosts of desktop and full-screen playback; the first holds this window.
  desktop::DesktopStage& Stage() const { return *stage_; }
  desktop::TFullScrinForm& HostForm() const { return stage_->Host(0).Form(); }

 private:
  desktop::DesktopStage* stage_ = nullptr;
};

}  // namespace lumorix::test
