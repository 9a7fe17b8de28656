#include "player/engine/render_filter/render_input_pin.h"

#include <dvdmedia.h>

#include "player/engine/filters/media_type.h"
#include "player/engine/render_filter/render_filter.h"

namespace lumorix::engine {

namespace {

constexpr GUID kFourCcBase = {0, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
constexpr DWORD FourCc(char a, char b, char c, char d) {
  return static_cast<DWORD>(a) | static_cast<DWORD>(b) << 8 | static_cast<DWORD>(c) << 16 | static_cast<DWORD>(d) << 24;
}

std::optional<PictureLayout> LayoutOf(const GUID& subtype) {
  if (subtype == MEDIASUBTYPE_RGB32) return PictureLayout::kRgb32;
  if (subtype == MEDIASUBTYPE_RGB24) return PictureLayout::kRgb24;
  GUID base = subtype;
  base.Data1 = 0;
  if (base != kFourCcBase) return std::nullopt;
  switch (subtype.Data1) {
    case FourCc('N', 'V', '1', '2'):
      return PictureLayout::kNv12;
    case FourCc('I', '4', '2', '0'):
    case FourCc('I', 'Y', 'U', 'V'):
      return PictureLayout::kI420;
    case FourCc('Y', 'V', '1', '2'):
      return PictureLayout::kYv12;
    case FourCc('Y', 'U', 'Y', '2'):
      return PictureLayout::kYuy2;
    default:
      return std::nullopt;
  }
}

}  // namespace

std::optional<PictureFormat> PictureFormatOf(const AM_MEDIA_TYPE& type) {
  if (type.majortype != MEDIATYPE_Video || !type.pbFormat) return std::nullopt;
  std::optional<PictureLayout> layout = LayoutOf(type.subtype);
  if (!layout) return std::nullopt;
  const BITMAPINFOHEADER* header = nullptr;
  const RECT* source = nullptr;
  DWORD control = 0;
  if (type.formattype == FORMAT_VideoInfo && type.cbFormat >= sizeof(VIDEOINFOHEADER)) {
    const auto* info = reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat);
    header = &info->bmiHeader;
    source = &info->rcSource;
  } else if (type.formattype == FORMAT_VideoInfo2 && type.cbFormat >= sizeof(VIDEOINFOHEADER2)) {
    const auto* info = reinterpret_cast<const VIDEOINFOHEADER2*>(type.pbFormat);
    header = &info->bmiHeader;
    source = &info->rcSource;
    control = info->dwControlFlags;
  } else {
    return std::nullopt;
  }
  PictureFormat format;
  format.layout = *layout;
  format.bufferWidth = header->biWidth;
  format.bufferHeight = header->biHeight < 0 ? -header->biHeight : header->biHeight;
  // Only RGB says bottom-up with a positive height; YUV rows run top-down either way.
  bool rgb = *layout == PictureLayout::kRgb32 || *layout == PictureLayout::kRgb24;
  format.bottomUp = rgb && header->biHeight > 0;
  if (format.bufferWidth < 2 || format.bufferHeight < 2 || format.bufferWidth > 16384 || format.bufferHeight > 16384)
    return std::nullopt;
  format.width = format.bufferWidth;
  format.height = format.bufferHeight;
  if (source->left == 0 && source->top == 0 && source->right > 1 && source->bottom > 1 &&
      source->right <= format.bufferWidth && source->bottom <= format.bufferHeight) {
    format.width = source->right;
    format.height = source->bottom;
  }
  if (!rgb && (format.bufferWidth % 2 != 0 || format.bufferHeight % 2 != 0)) return std::nullopt;
  // The colour description decoders may add (DXVA_ExtendedFormat above the control flags).
  std::optional<YuvMatrix> stated;
  if (control & AMCONTROL_COLORINFO_PRESENT) {
    DWORD range = (control >> 12) & 0x7, matrix = (control >> 15) & 0x7;
    if (range == 1) format.range = YuvRange::kFull;
    if (matrix == 1) stated = YuvMatrix::kBt709;
    if (matrix == 2) stated = YuvMatrix::kBt601;
  }
  format.matrix = MatrixFor(format.width, format.height, stated);
  return format;
}

RenderInputPin::RenderInputPin(RenderFilter& filter) : InputPinBase(filter, L"Input"), filter_(filter) {}

HRESULT RenderInputPin::ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* type) {
  if (!connector || !type) return E_POINTER;
  if (Connected()) return VFW_E_ALREADY_CONNECTED;
  if (filter_.State() != State_Stopped) return VFW_E_NOT_STOPPED;
  std::optional<PictureFormat> format = PictureFormatOf(*type);
  if (!format) return VFW_E_TYPE_NOT_ACCEPTED;
  try {
    Attach(connector, OwnedMediaType(type->majortype, type->subtype, type->formattype, type->pbFormat, type->cbFormat));
  } catch (...) {
    return E_OUTOFMEMORY;
  }
  filter_.Connected(*format);
  return S_OK;
}

HRESULT RenderInputPin::Disconnect() {
  if (filter_.State() != State_Stopped) return VFW_E_NOT_STOPPED;
  if (!Connected()) return S_FALSE;
  ForgetAllocator();
  Detach();
  return S_OK;
}

HRESULT RenderInputPin::QueryAccept(const AM_MEDIA_TYPE* type) {
  if (!type) return E_POINTER;
  return PictureFormatOf(*type) ? S_OK : S_FALSE;
}

HRESULT RenderInputPin::EndOfStream() { return filter_.StreamEnded(); }
HRESULT RenderInputPin::BeginFlush() { return filter_.BeginFlush(); }
HRESULT RenderInputPin::EndFlush() { return filter_.EndFlush(); }
HRESULT RenderInputPin::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
  return filter_.NewSegment(start, stop, rate);
}

HRESULT RenderInputPin::Receive(IMediaSample* sample) {
  if (!sample) return E_POINTER;
  // A new type with the sample (a decoder changed its rows or size).
  AM_MEDIA_TYPE* changed = nullptr;
  if (sample->GetMediaType(&changed) == S_OK && changed) {
    std::optional<PictureFormat> format = PictureFormatOf(*changed);
    if (format) {
      try {
        Retype(OwnedMediaType(changed->majortype, changed->subtype, changed->formattype, changed->pbFormat,
                              changed->cbFormat));
      } catch (...) {
      }
      filter_.Connected(*format);
    }
    DeleteMediaType(changed);
    if (!format) return VFW_E_TYPE_NOT_ACCEPTED;
  }
  return filter_.Render(sample);
}

}  // namespace lumorix::engine
