#include "player/engine/mf_stream_reader.h"

#include <mfapi.h>
#include <mferror.h>

#include <algorithm>
#include <cstring>

#include "common/picture_convert.h"
#include "player/engine/mf_decoding_device.h"
#include "player/engine/mf_library.h"

namespace lumorix::engine {

OwnedMediaType::OwnedMediaType(const GUID& major, const GUID& sub, const GUID& formatType, const void* format,
                               size_t size)
    : format_(static_cast<const BYTE*>(format), static_cast<const BYTE*>(format) + size) {
  type_.majortype = major;
  type_.subtype = sub;
  type_.formattype = formatType;
  type_.cbFormat = static_cast<ULONG>(format_.size());
  type_.pbFormat = format_.data();
}

OwnedMediaType& OwnedMediaType::operator=(const OwnedMediaType& other) {
  if (this == &other) return *this;
  type_ = other.type_;
  format_ = other.format_;
  type_.pbFormat = format_.empty() ? nullptr : format_.data();
  type_.pUnk = nullptr;
  return *this;
}

HRESULT OwnedMediaType::CopyTo(AM_MEDIA_TYPE* out) const {
  if (!out) return E_POINTER;
  *out = type_;
  out->pUnk = nullptr;
  out->pbFormat = nullptr;
  if (format_.empty()) return S_OK;
  out->pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(format_.size()));
  if (!out->pbFormat) {
    out->cbFormat = 0;
    return E_OUTOFMEMORY;
  }
  std::memcpy(out->pbFormat, format_.data(), format_.size());
  return S_OK;
}

bool OwnedMediaType::Matches(const AM_MEDIA_TYPE& wanted) const {
  auto same = [](const GUID& want, const GUID& have) { return want == GUID_NULL || want == have; };
  return same(wanted.majortype, type_.majortype) && same(wanted.subtype, type_.subtype) &&
         same(wanted.formattype, type_.formattype);
}

void DeleteMediaType(AM_MEDIA_TYPE* type) {
  if (!type) return;
  if (type->pbFormat) CoTaskMemFree(type->pbFormat);
  if (type->pUnk) type->pUnk->Release();
  CoTaskMemFree(type);
}

MfPlatformScope::MfPlatformScope() {
  const MfLibrary* library = MediaFoundation();
  started_ = library && SUCCEEDED(library->Startup(MF_VERSION, MFSTARTUP_LITE));
}

MfPlatformScope::~MfPlatformScope() {
  if (started_) (void)MediaFoundation()->Shutdown();
}

std::unique_ptr<MfStreamReader> MfStreamReader::Open(const std::wstring& path, Kind kind, HRESULT* error) {
  std::unique_ptr<MfStreamReader> reader(new MfStreamReader(kind));
  if (!reader->platform_.Started()) {
    if (error) *error = E_FAIL;
    return nullptr;
  }
  const MfLibrary& library = *MediaFoundation();
  ComPtr<IMFAttributes> attributes;
  if (SUCCEEDED(library.CreateAttributes(&attributes, 1)))
    (void)attributes->SetUINT32(MF_SOURCE_READER_ENABLE_VIDEO_PROCESSING, TRUE);
  AddDecodingDevice(attributes.Get());
  HRESULT opened = library.CreateSourceReaderFromURL(path.c_str(), attributes.Get(), &reader->reader_);
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
  if (!found || FAILED(source.SetStreamSelection(reader->stream_, TRUE))) return nullptr;
  HRESULT chosen = kind == Kind::kVideo ? reader->ChooseVideoOutput() : reader->ChooseAudioOutput();
  if (FAILED(chosen)) return nullptr;
  PROPVARIANT duration;
  PropVariantInit(&duration);
  if (SUCCEEDED(source.GetPresentationAttribute(MF_SOURCE_READER_MEDIASOURCE, MF_PD_DURATION, &duration)))
    reader->duration_ = static_cast<LONGLONG>(duration.uhVal.QuadPart);
  PropVariantClear(&duration);
  return reader;
}

HRESULT MfStreamReader::ChooseVideoOutput() {
  ComPtr<IMFMediaType> native;
  HRESULT result = reader_->GetNativeMediaType(stream_, 0, &native);
  if (FAILED(result)) return result;
  UINT32 width = 0, height = 0;
  (void)MFGetAttributeSize(native.Get(), MF_MT_FRAME_SIZE, &width, &height);
  UINT32 rateNumerator = 0, rateDenominator = 0;
  (void)MFGetAttributeRatio(native.Get(), MF_MT_FRAME_RATE, &rateNumerator, &rateDenominator);

  // RGB straight from the reader where the platform converts (Windows);
  // otherwise NV12, which every H.264 and HEVC decoder gives, converted here.
  ComPtr<IMFMediaType> output;
  result = MediaFoundation()->CreateMediaType(&output);
  if (FAILED(result)) return result;
  (void)output->SetGUID(MF_MT_MAJOR_TYPE, MFMediaType_Video);
  (void)output->SetGUID(MF_MT_SUBTYPE, MFVideoFormat_RGB32);
  nv12_ = false;
  if (FAILED(reader_->SetCurrentMediaType(stream_, nullptr, output.Get()))) {
    (void)output->SetGUID(MF_MT_SUBTYPE, MFVideoFormat_NV12);
    result = reader_->SetCurrentMediaType(stream_, nullptr, output.Get());
    if (FAILED(result)) return result;
    nv12_ = true;
  }
  width_ = static_cast<int>(width);
  height_ = static_cast<int>(height);
  ReadDecodedLayout();
  if (width_ <= 0 || height_ <= 0) return MF_E_INVALIDMEDIATYPE;

  VIDEOINFOHEADER info{};
  if (rateNumerator && rateDenominator)
    info.AvgTimePerFrame = static_cast<REFERENCE_TIME>(10000000ULL * rateDenominator / rateNumerator);
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width_;
  info.bmiHeader.biHeight = height_;  // bottom-up, as every renderer takes
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  info.bmiHeader.biSizeImage = static_cast<DWORD>(width_) * static_cast<DWORD>(height_) * 4;
  bufferSize_ = static_cast<long>(info.bmiHeader.biSizeImage);
  mediaType_ = OwnedMediaType(MEDIATYPE_Video, MEDIASUBTYPE_RGB32, FORMAT_VideoInfo, &info, sizeof info);
  AM_MEDIA_TYPE& type = const_cast<AM_MEDIA_TYPE&>(mediaType_.Get());
  type.bFixedSizeSamples = TRUE;
  type.bTemporalCompression = FALSE;
  type.lSampleSize = static_cast<ULONG>(bufferSize_);
  return S_OK;
}

void MfStreamReader::ReadDecodedLayout() {
  ComPtr<IMFMediaType> current;
  if (FAILED(reader_->GetCurrentMediaType(stream_, &current))) return;
  UINT32 width = 0, height = 0;
  (void)MFGetAttributeSize(current.Get(), MF_MT_FRAME_SIZE, &width, &height);
  if (width_ <= 0 || height_ <= 0) {
    width_ = static_cast<int>(width);
    height_ = static_cast<int>(height);
  }
  decodedHeight_ = height ? static_cast<int>(height) : height_;
  UINT32 stride = 0;
  if (SUCCEEDED(current->GetUINT32(MF_MT_DEFAULT_STRIDE, &stride)) && stride != 0)
    decodedStride_ = static_cast<LONG>(stride);  // a signed value stored unsigned
  else
    decodedStride_ = static_cast<LONG>(width ? width : static_cast<UINT32>(width_)) * (nv12_ ? 1 : 4);
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
  bufferSize_ = std::max<long>(4096, quarter - quarter % format->nBlockAlign);
  mediaType_ = OwnedMediaType(MEDIATYPE_Audio, MEDIASUBTYPE_PCM, FORMAT_WaveFormatEx, format, size);
  AM_MEDIA_TYPE& type = const_cast<AM_MEDIA_TYPE&>(mediaType_.Get());
  type.bFixedSizeSamples = TRUE;
  type.lSampleSize = format->nBlockAlign;
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

namespace {

// A locked picture buffer: the first row and the step to the next.
class LockedPicture {
 public:
  LockedPicture(IMFMediaBuffer* buffer, LONG defaultStride, int rows) {
    if (SUCCEEDED(buffer->QueryInterface(IID_PPV_ARGS(&twoD_))) && SUCCEEDED(twoD_->Lock2D(&first_, &pitch_))) return;
    twoD_.Reset();
    BYTE* data = nullptr;
    if (FAILED(buffer->Lock(&data, nullptr, nullptr))) return;
    buffer_ = buffer;
    pitch_ = defaultStride;
    // A negative stride means the bottom row comes first in memory.
    first_ = pitch_ < 0 ? data + static_cast<ptrdiff_t>(-pitch_) * (rows - 1) : data;
  }
  ~LockedPicture() {
    if (twoD_)
      (void)twoD_->Unlock2D();
    else if (buffer_)
      (void)buffer_->Unlock();
  }
  LockedPicture(const LockedPicture&) = delete;
  LockedPicture& operator=(const LockedPicture&) = delete;
  const BYTE* First() const { return first_; }
  LONG Pitch() const { return pitch_; }

 private:
  ComPtr<IMF2DBuffer> twoD_;
  IMFMediaBuffer* buffer_ = nullptr;
  BYTE* first_ = nullptr;
  LONG pitch_ = 0;
};

}  // namespace

void MfStreamReader::CopyPicture(IMFSample* sample, BYTE* out, long stride, bool bottomUp) const {
  ComPtr<IMFMediaBuffer> buffer;
  if (!sample || FAILED(sample->ConvertToContiguousBuffer(&buffer))) return;
  LockedPicture picture(buffer.Get(), decodedStride_, decodedHeight_);
  if (!picture.First()) return;
  int bytesPerPixel = nv12_ ? 1 : 4;
  int columns = std::min(width_, static_cast<int>(std::abs(picture.Pitch()) / bytesPerPixel));
  int rows = std::min(height_, decodedHeight_);
  if (columns < width_ || rows < height_) std::memset(out, 0, static_cast<size_t>(std::abs(stride)) * height_);
  BYTE* target = bottomUp ? out + static_cast<ptrdiff_t>(stride) * (height_ - 1) : out;
  ptrdiff_t step = bottomUp ? -static_cast<ptrdiff_t>(stride) : stride;
  if (nv12_) {
    const BYTE* chroma = picture.First() + static_cast<ptrdiff_t>(picture.Pitch()) * decodedHeight_;
    Nv12ToRgb32(picture.First(), picture.Pitch(), chroma, picture.Pitch(), columns, rows, target, step);
  } else {
    CopyRgb32(picture.First(), picture.Pitch(), columns, rows, target, step);
  }
}

}  // namespace lumorix::engine
