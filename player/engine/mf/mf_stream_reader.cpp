#include "player/engine/mf/mf_stream_reader.h"

#include <mfapi.h>
#include <mferror.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "common/matroska_length.h"
#include "common/video_geometry.h"
#include "platform/handle.h"
#include "player/engine/mf/mf_decoding_device.h"
#include "player/engine/mf/mf_library.h"
#include "player/engine/filters/pin_walk.h"
#include "player/engine/mf/screen_area.h"

namespace lumorix::engine {

MfPlatformScope::MfPlatformScope() {
  const MfLibrary* library = MediaFoundation();
  started_ = library && SUCCEEDED(library->Startup(MF_VERSION, MFSTARTUP_LITE));
}

MfPlatformScope::~MfPlatformScope() {
  if (started_) (void)MediaFoundation()->Shutdown();
}

namespace {

// The attributes every reader is made with: the one place where the way the
// reader decodes is chosen (a Direct3D device manager for decoding on the
// graphics card would be added here).
ComPtr<IMFAttributes> ReaderAttributes(bool withDevice) {
  ComPtr<IMFAttributes> attributes;
  if (FAILED(MediaFoundation()->CreateAttributes(&attributes, 4))) return nullptr;
  // Lets the reader hand out NV12 from any decoder, and RGB where the platform converts.
  (void)attributes->SetUINT32(MF_SOURCE_READER_ENABLE_VIDEO_PROCESSING, TRUE);
  // The graphics card decodes where the renderer offers its device.
  if (withDevice) (void)AddDecodingDevice(attributes.Get());
  return attributes;
}

// MF_MT_VIDEO_ROTATION (Windows 8 and later; the headers of this build stop at Windows 7).
constexpr GUID kVideoRotation = {0xc380465d, 0x2271, 0x428c, {0x9b, 0x83, 0xec, 0xea, 0x3b, 0x4a, 0x85, 0xc1}};

// The rotation a media type carries: counter-clockwise degrees to show it upright.
int TypeQuarterTurns(IMFMediaType* type) {
  UINT32 degrees = 0;
  if (FAILED(type->GetUINT32(kVideoRotation, &degrees))) return 0;
  return static_cast<int>((4 - (degrees / 90) % 4) % 4);
}

struct LayoutType {
  PixelLayout layout;
  GUID reader;    // Media Foundation's subtype
  GUID renderer;  // DirectShow's
  DWORD compression;
  WORD bits;
};

// In the order they are tried: YUV first, which renderers scale and convert
// on the graphics card; RGB32 for renderers that take nothing else.
const LayoutType kLayouts[] = {
    {PixelLayout::kNv12, MFVideoFormat_NV12, MEDIASUBTYPE_NV12, MAKEFOURCC('N', 'V', '1', '2'), 12},
    {PixelLayout::kYuy2, MFVideoFormat_YUY2, MEDIASUBTYPE_YUY2, MAKEFOURCC('Y', 'U', 'Y', '2'), 16},
    {PixelLayout::kRgb32, MFVideoFormat_RGB32, MEDIASUBTYPE_RGB32, BI_RGB, 32},
};

OwnedMediaType VideoType(const LayoutType& layout, int width, int height, REFERENCE_TIME frameTime) {
  VIDEOINFOHEADER info{};
  info.AvgTimePerFrame = frameTime;
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // RGB bottom-up, as every renderer takes; YUV is top-down either way
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = layout.bits;
  info.bmiHeader.biCompression = layout.compression;
  info.bmiHeader.biSizeImage = static_cast<DWORD>(ImageBytes(layout.layout, RowBytes(layout.layout, width), height));
  OwnedMediaType type(MEDIATYPE_Video, layout.renderer, FORMAT_VideoInfo, &info, sizeof info);
  type.SetSampleSize(info.bmiHeader.biSizeImage);
  return type;
}

}  // namespace

namespace {

// Hands `inspect` the file's bytes and size; what it gives back, or `otherwise`
// when the file cannot be opened.
template <typename Result, typename Inspect>
Result InspectFile(const std::wstring& path, Result otherwise, Inspect inspect) {
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size{};
  if (!file || !GetFileSizeEx(file.Get(), &size)) return otherwise;
  ReadAt read = [&](uint64_t offset, void* buffer, size_t length) {
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(offset);
    DWORD got = 0;
    return SetFilePointerEx(file.Get(), at, nullptr, FILE_BEGIN) &&
           ReadFile(file.Get(), buffer, static_cast<DWORD>(length), &got, nullptr) && got == length;
  };
  return inspect(read, static_cast<uint64_t>(size.QuadPart));
}

}  // namespace

Mp4VideoTrack StoredVideoTrack(const std::wstring& path) {
  return InspectFile(path, Mp4VideoTrack{}, FindMp4VideoTrack);
}

PixelLayout LayoutOf(const AM_MEDIA_TYPE& type) {
  for (const auto& layout : kLayouts)
    if (layout.renderer == type.subtype) return layout.layout;
  return PixelLayout::kRgb32;
}

std::unique_ptr<MfStreamReader> MfStreamReader::Open(const std::wstring& path, Kind kind, HRESULT* error,
                                                     bool* present) {
  if (present) *present = false;
  std::unique_ptr<MfStreamReader> reader(new MfStreamReader(kind));
  if (!reader->platform_.Started()) {
    if (error) *error = E_FAIL;
    return nullptr;
  }
  ComPtr<IMFAttributes> attributes = ReaderAttributes(true);
  HRESULT opened = MediaFoundation()->CreateSourceReaderFromURL(path.c_str(), attributes.Get(), &reader->reader_);
  // A platform whose reader will not take the device decodes into memory.
  if (FAILED(opened)) {
    reader->reader_.Reset();
    opened =
        MediaFoundation()->CreateSourceReaderFromURL(path.c_str(), ReaderAttributes(false).Get(), &reader->reader_);
  }
  if (FAILED(opened)) {
    if (error) *error = opened;
    return nullptr;
  }
  IMFSourceReader& source = *reader->reader_.Get();
  (void)source.SetStreamSelection(MF_SOURCE_READER_ALL_STREAMS, FALSE);
  const GUID& wanted = kind == Kind::kVideo ? MFMediaType_Video : MFMediaType_Audio;
  bool found = false;
  for (DWORD index = 0; !found; ++index) {
    ComPtr<IMFMediaType> native;
    if (FAILED(source.GetNativeMediaType(index, 0, &native))) break;
    GUID major = GUID_NULL;
    if (SUCCEEDED(native->GetGUID(MF_MT_MAJOR_TYPE, &major)) && major == wanted) {
      reader->stream_ = index;
      found = true;
    }
  }
  if (!found) return nullptr;
  if (present) *present = true;
  if (FAILED(source.SetStreamSelection(reader->stream_, TRUE))) return nullptr;
  HRESULT chosen = kind == Kind::kVideo ? reader->ChooseVideoOutput(path) : reader->ChooseAudioOutput();
  if (FAILED(chosen)) return nullptr;
  PROPVARIANT value;
  PropVariantInit(&value);
  if (SUCCEEDED(source.GetPresentationAttribute(MF_SOURCE_READER_MEDIASOURCE, MF_PD_DURATION, &value)) &&
      value.vt == VT_UI8)
    reader->duration_ = static_cast<LONGLONG>(value.uhVal.QuadPart);
  PropVariantClear(&value);
  // A WebM written live states no length; a source that gives one anyway
  // (Wine's measures what it has parsed so far) would end the clip early.
  if (reader->duration_ > 0 &&
      InspectFile(path, StatedLength::kUnknown, MatroskaStatedLength) == StatedLength::kNotStated)
    reader->duration_ = 0;
  if (SUCCEEDED(source.GetPresentationAttribute(MF_SOURCE_READER_MEDIASOURCE,
                                                MF_SOURCE_READER_MEDIASOURCE_CHARACTERISTICS, &value)) &&
      value.vt == VT_UI4)
    reader->canSeek_ = (value.ulVal & MFMEDIASOURCE_CAN_SEEK) != 0;
  PropVariantClear(&value);
  return reader;
}

HRESULT MfStreamReader::ChooseVideoOutput(const std::wstring& path) {
  ComPtr<IMFMediaType> native;
  HRESULT result = reader_->GetNativeMediaType(stream_, 0, &native);
  if (FAILED(result)) return result;
  UINT32 width = 0, height = 0;
  (void)MFGetAttributeSize(native.Get(), MF_MT_FRAME_SIZE, &width, &height);
  UINT32 rateNumerator = 0, rateDenominator = 0;
  (void)MFGetAttributeRatio(native.Get(), MF_MT_FRAME_RATE, &rateNumerator, &rateDenominator);

  // The first layout the decoder (or the platform's converter) gives; a
  // stream none of them can be had in is one nothing here decodes.
  ComPtr<IMFMediaType> output;
  result = MediaFoundation()->CreateMediaType(&output);
  if (FAILED(result)) return result;
  (void)output->SetGUID(MF_MT_MAJOR_TYPE, MFMediaType_Video);
  result = MF_E_INVALIDMEDIATYPE;
  for (const auto& layout : kLayouts) {
    (void)output->SetGUID(MF_MT_SUBTYPE, layout.reader);
    result = reader_->SetCurrentMediaType(stream_, nullptr, output.Get());
    if (SUCCEEDED(result)) {
      decoded_.layout = layout.layout;
      break;
    }
  }
  if (FAILED(result)) return result;
  decoded_.width = static_cast<int>(width);
  decoded_.height = static_cast<int>(height);
  ReadDecodedLayout();
  if (decoded_.width <= 0 || decoded_.height <= 0) return MF_E_INVALIDMEDIATYPE;

  // The platform's source does not report the container's rotation everywhere: it is read from the file.
  quarterTurns_ = StoredVideoTrack(path).quarterTurns;
  if (quarterTurns_ == 0) quarterTurns_ = TypeQuarterTurns(native.Get());
  // A platform that turned the pictures itself hands them over in the turned size.
  UINT32 outWidth = 0, outHeight = 0;
  ComPtr<IMFMediaType> current;
  if ((quarterTurns_ & 1) && width != height && SUCCEEDED(reader_->GetCurrentMediaType(stream_, &current)) &&
      SUCCEEDED(MFGetAttributeSize(current.Get(), MF_MT_FRAME_SIZE, &outWidth, &outHeight)) && outWidth == height &&
      outHeight == width) {
    quarterTurns_ = 0;
    std::swap(decoded_.width, decoded_.height);
  }

  REFERENCE_TIME frameTime = 0;
  if (rateNumerator && rateDenominator)
    frameTime = static_cast<REFERENCE_TIME>(10000000ULL * rateDenominator / rateNumerator);
  // A renderer that takes only RGB shows the picture through GDI, which
  // shrinks a large one at a cost far above that of the conversion; the
  // conversion shrinks it instead, to what the screens can show at most.
  rgbWidth_ = Width();
  rgbHeight_ = Height();
  SIZE screens = ScreenAreaSize();
  if (decoded_.layout == PixelLayout::kNv12 && quarterTurns_ == 0 && screens.cx > 0 && screens.cy > 0) {
    PictureRect fit = FitNoLarger(rgbWidth_, rgbHeight_, screens.cx, screens.cy);
    rgbWidth_ = fit.width;
    rgbHeight_ = fit.height;
  }
  // YUV wants even sizes; a picture of odd size goes as RGB.
  bool even = Width() % 2 == 0 && Height() % 2 == 0;
  mediaTypes_.clear();
  for (const auto& layout : kLayouts)
    if (CanConvert(decoded_.layout, layout.layout) && (even || layout.layout == PixelLayout::kRgb32))
      mediaTypes_.push_back(VideoType(layout, Width(layout.layout), Height(layout.layout), frameTime));
  return S_OK;
}

void MfStreamReader::ReadDecodedLayout() {
  ComPtr<IMFMediaType> current;
  if (FAILED(reader_->GetCurrentMediaType(stream_, &current))) return;
  UINT32 width = 0, height = 0;
  (void)MFGetAttributeSize(current.Get(), MF_MT_FRAME_SIZE, &width, &height);
  if (decoded_.width <= 0 || decoded_.height <= 0) {
    decoded_.width = static_cast<int>(width);
    decoded_.height = static_cast<int>(height);
  }
  decoded_.bufferHeight = height ? static_cast<int>(height) : decoded_.height;
  UINT32 stride = 0;
  if (SUCCEEDED(current->GetUINT32(MF_MT_DEFAULT_STRIDE, &stride)) && stride != 0)
    decoded_.defaultStride = static_cast<LONG>(stride);  // a signed value stored unsigned
  else
    decoded_.defaultStride =
        static_cast<LONG>(RowBytes(decoded_.layout, width ? static_cast<int>(width) : decoded_.width));
}

HRESULT MfStreamReader::ChooseAudioOutput() {
  ComPtr<IMFMediaType> output;
  HRESULT result = MediaFoundation()->CreateMediaType(&output);
  if (FAILED(result)) return result;
  (void)output->SetGUID(MF_MT_MAJOR_TYPE, MFMediaType_Audio);
  (void)output->SetGUID(MF_MT_SUBTYPE, MFAudioFormat_PCM);
  result = reader_->SetCurrentMediaType(stream_, nullptr, output.Get());
  if (FAILED(result)) return result;
  ComPtr<IMFMediaType> current;
  result = reader_->GetCurrentMediaType(stream_, &current);
  if (FAILED(result)) return result;
  WAVEFORMATEX* format = nullptr;
  UINT32 size = 0;
  result = MediaFoundation()->CreateWaveFormatExFromMFMediaType(current.Get(), &format, &size, 0);
  if (FAILED(result)) return result;
  struct TaskMemory {
    void* block;
    ~TaskMemory() { CoTaskMemFree(block); }
  } release{format};
  if (format->nBlockAlign == 0 || format->nAvgBytesPerSec == 0) return MF_E_INVALIDMEDIATYPE;
  // A quarter of a second a buffer: the audio renderer keeps several in hand.
  long quarter = static_cast<long>(format->nAvgBytesPerSec / 4);
  audioBufferSize_ = std::max<long>(4096, quarter - quarter % format->nBlockAlign);
  OwnedMediaType type(MEDIATYPE_Audio, MEDIASUBTYPE_PCM, FORMAT_WaveFormatEx, format, size);
  type.SetSampleSize(format->nBlockAlign);
  mediaTypes_ = {type};
  return S_OK;
}

HRESULT MfStreamReader::Seek(LONGLONG position) {
  PROPVARIANT where;
  PropVariantInit(&where);
  where.vt = VT_I8;
  where.hVal.QuadPart = position;
  return reader_->SetCurrentPosition(GUID_NULL, where);
}

HRESULT MfStreamReader::Read(Frame& frame) {
  frame = {};
  DWORD flags = 0;
  LONGLONG time = 0;
  HRESULT result = reader_->ReadSample(stream_, 0, nullptr, &flags, &time, &frame.sample);
  if (FAILED(result)) return result;
  if (flags & (MF_SOURCE_READERF_ENDOFSTREAM | MF_SOURCE_READERF_ERROR)) {
    frame.sample.Reset();
    frame.end = true;
    return S_OK;
  }
  if (flags & MF_SOURCE_READERF_CURRENTMEDIATYPECHANGED) ReadDecodedLayout();
  frame.time = time;
  if (frame.sample && FAILED(frame.sample->GetSampleDuration(&frame.length))) frame.length = 0;
  return S_OK;
}

}  // namespace lumorix::engine
