#include "player/engine/mf/mf_source_filter.h"

namespace lumorix::engine {

namespace {

// {6F1D5E2A-3C47-4B8E-9D21-7A5B0C4E8F13}: the filter is made in-process only, never registered.
constexpr CLSID kMfSourceClass = {0x6f1d5e2a, 0x3c47, 0x4b8e, {0x9d, 0x21, 0x7a, 0x5b, 0x0c, 0x4e, 0x8f, 0x13}};

}  // namespace

MfSourceFilter::MfSourceFilter() : FilterBase(kMfSourceClass) {}

ComPtr<MfSourceFilter> MfSourceFilter::Create(const std::wstring& path, HRESULT* error) {
  ComPtr<MfSourceFilter> filter = MakeCom<MfSourceFilter>();
  HRESULT reason = S_OK;
  if (auto video = MfStreamReader::Open(path, MfStreamReader::Kind::kVideo, &reason, &filter->picturePresent_))
    filter->pins_.push_back(std::make_unique<MfOutputPin>(*filter.Get(), std::move(video), L"Video"));
  if (FAILED(reason)) {
    if (error) *error = reason;  // the file itself could not be opened
    return nullptr;
  }
  if (auto audio = MfStreamReader::Open(path, MfStreamReader::Kind::kAudio, &reason, nullptr))
    filter->pins_.push_back(std::make_unique<MfOutputPin>(*filter.Get(), std::move(audio), L"Audio"));
  // A picture Media Foundation does not even list (no decoder at all) is there all the same.
  if (!filter->picturePresent_) filter->picturePresent_ = StoredVideoTrack(path).present;
  if (filter->pins_.empty()) {
    if (error) *error = FAILED(reason) ? reason : VFW_E_UNSUPPORTED_STREAM;
    return nullptr;
  }
  return filter;
}

MfSourceFilter::~MfSourceFilter() {
  for (auto& pin : pins_) pin->Inactive();
}

bool MfSourceFilter::HasVideo() const {
  for (const auto& pin : pins_)
    if (pin->Kind() == MfStreamReader::Kind::kVideo) return true;
  return false;
}

bool MfSourceFilter::HasAudio() const {
  for (const auto& pin : pins_)
    if (pin->Kind() == MfStreamReader::Kind::kAudio) return true;
  return false;
}

std::vector<IPin*> MfSourceFilter::Pins() {
  std::vector<IPin*> pins;
  for (const auto& pin : pins_) pins.push_back(pin.get());
  return pins;
}

void MfSourceFilter::Activate() {
  for (auto& pin : pins_) pin->Active();
}

void MfSourceFilter::Deactivate() {
  for (auto& pin : pins_) pin->Inactive();
}

}  // namespace lumorix::engine
