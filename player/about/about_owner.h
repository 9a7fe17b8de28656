#pragma once
// What the about window needs of the player that owns it.

namespace lumorix {

class IAboutOwner {
 public:
  // Brings the settings window back with its companion windows.
  virtual void ShowSettings() = 0;

 protected:
  ~IAboutOwner() = default;
};

}  // namespace lumorix
