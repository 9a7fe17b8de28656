#pragma once
// A DirectShow source filter that reads a file with Media Foundation: the
// file's first video stream comes out as NV12, YUY2 or RGB32 (what the
// renderer takes) on the "Video" pin, its first audio stream as PCM on the
// "Audio" pin. The graph renders the pins with its
// usual renderers, so the rest of the player sees an ordinary graph.
#include <windows.h>
#include "platform/dshow.h"

#include <memory>
#include <string>
#include <vector>

#include "platform/com.h"
#include "player/engine/filters/filter_base.h"
#include "player/engine/mf/mf_output_pin.h"

namespace lumorix::engine {

class MfSourceFilter : public FilterBase {
 public:
  // The filter for a file; `error` gets Media Foundation's reason when it can read none of its streams.
  static ComPtr<MfSourceFilter> Create(const std::wstring& path, HRESULT* error);

  bool HasVideo() const;
  // Whether the file has a video stream, decodable here or not.
  bool PicturePresent() const { return picturePresent_; }
  bool HasAudio() const;
  size_t PinCount() const { return pins_.size(); }
  IPin* Pin(size_t index) const { return pins_[index].get(); }
  MfStreamReader::Kind PinKind(size_t index) const { return pins_[index]->Kind(); }

  MfSourceFilter();

 protected:
  ~MfSourceFilter() override;
  std::vector<IPin*> Pins() override;
  void Activate() override;
  void Deactivate() override;

 private:
  std::vector<std::unique_ptr<MfOutputPin>> pins_;
  bool picturePresent_ = false;
};

}  // namespace lumorix::engine
