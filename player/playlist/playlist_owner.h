#pragma once
// What the playlist window needs of the player that owns it.
#include <cstdint>

namespace lumorix {

class IPlayListOwner {
 public:
  // The index of the entry the player plays (drawn in bold).
  virtual int32_t CurrentIndex() const = 0;
  virtual void PlayEntry(int32_t index) = 0;
  virtual void StopPlayback() = 0;
  virtual void SetRepeatMode(bool repeat) = 0;
  virtual void SetRandomMode(bool random) = 0;
  virtual bool RepeatMode() const = 0;
  virtual bool RandomMode() const = 0;
  // The user closed the playlist window itself.
  virtual void PlayListWindowClosed() = 0;

 protected:
  ~IPlayListOwner() = default;
};

}  // namespace lumorix
