// The Media Foundation source filter as DirectShow sees it: its pins, their
// media types, and their seeking, before any graph renders them.
#include "player/engine/mf/mf_source_filter.h"

#include <gtest/gtest.h>

#include <tuple>
#include <utility>

#include "tests/support/gui_test.h"
#include "tests/support/media.h"

using namespace lumorix;
using namespace lumorix::engine;
using namespace lumorix::test;

namespace {

ComPtr<IPin> FindPin(MfSourceFilter& filter, const wchar_t* id) {
  ComPtr<IPin> pin;
  (void)filter.FindPin(id, &pin);
  return pin;
}

VIDEOINFOHEADER VideoInfo(const AM_MEDIA_TYPE& type) { return *reinterpret_cast<VIDEOINFOHEADER*>(type.pbFormat); }

}  // namespace

TEST(MfSourceFilter, ClipWithPictureAndSoundHasBothPins) {
  HRESULT error = S_OK;
  ComPtr<MfSourceFilter> filter = MfSourceFilter::Create(Clip("tone.mp4"), &error);
  ASSERT_TRUE(filter);
  EXPECT_TRUE(filter->HasVideo());
  EXPECT_TRUE(filter->HasAudio());
  ComPtr<IEnumPins> pins;
  ASSERT_HRESULT_SUCCEEDED(filter->EnumPins(&pins));
  std::vector<std::wstring> names;
  ComPtr<IPin> pin;
  while (pins->Next(1, pin.ReleaseAndGetAddressOf(), nullptr) == S_OK) {
    PIN_INFO info{};
    ASSERT_HRESULT_SUCCEEDED(pin->QueryPinInfo(&info));
    EXPECT_EQ(info.dir, PINDIR_OUTPUT);
    EXPECT_EQ(info.pFilter, static_cast<IBaseFilter*>(filter.Get()));
    info.pFilter->Release();
    names.push_back(info.achName);
  }
  EXPECT_EQ(names, (std::vector<std::wstring>{L"Video", L"Audio"}));
  // Skip answers S_OK when it skipped as many as asked, the last one included.
  ASSERT_HRESULT_SUCCEEDED(pins->Reset());
  EXPECT_EQ(pins->Skip(2), S_OK);
  EXPECT_EQ(pins->Skip(1), S_FALSE);
  ASSERT_HRESULT_SUCCEEDED(pins->Reset());
  EXPECT_EQ(pins->Skip(1), S_OK);
  ComPtr<IEnumPins> copy;
  ASSERT_HRESULT_SUCCEEDED(pins->Clone(&copy));
  ASSERT_EQ(copy->Next(1, pin.ReleaseAndGetAddressOf(), nullptr), S_OK);
  PIN_INFO second{};
  ASSERT_HRESULT_SUCCEEDED(pin->QueryPinInfo(&second));
  second.pFilter->Release();
  EXPECT_STREQ(second.achName, L"Audio") << "a clone goes on from where the original stood";
  ComPtr<IPin> none;
  EXPECT_EQ(filter->FindPin(L"Subtitles", &none), VFW_E_NOT_FOUND);
}

// YUV first, which renderers convert on the graphics card, then RGB32 (the
// renderer's pin takes the first it can), all upright: a clip stored with a
// quarter turn is offered in its turned size. RGB, converted on the
// processor, comes no larger than the screen (the test bed's is 1024x768).
TEST(MfSourceFilter, PictureIsOfferedAsYuvThenRgb32InItsUprightSize) {
  ASSERT_EQ(std::pair(GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)),
            std::pair(1024, 768));
  struct Case {
    const char* clip;
    int width, height, rgbWidth, rgbHeight;
  };
  for (auto [clip, width, height, rgbWidth, rgbHeight] :
       {Case{"tone.mp4", 160, 120, 160, 120}, Case{"red-blue-turned.mp4", 60, 160, 60, 160},
        Case{"red-blue-large.mp4", 1280, 720, 1024, 576}}) {
    ComPtr<MfSourceFilter> filter = MfSourceFilter::Create(Clip(clip), nullptr);
    ASSERT_TRUE(filter) << clip;
    ComPtr<IPin> video = FindPin(*filter.Get(), L"Video");
    ComPtr<IEnumMediaTypes> types;
    ASSERT_HRESULT_SUCCEEDED(video->EnumMediaTypes(&types));
    std::vector<GUID> subtypes;
    for (AM_MEDIA_TYPE* type = nullptr; types->Next(1, &type, nullptr) == S_OK; DeleteMediaType(type)) {
      subtypes.push_back(type->subtype);
      VIDEOINFOHEADER info = VideoInfo(*type);
      bool rgb = type->subtype == MEDIASUBTYPE_RGB32;
      EXPECT_EQ(std::pair(info.bmiHeader.biWidth, info.bmiHeader.biHeight),
                std::pair(LONG(rgb ? rgbWidth : width), LONG(rgb ? rgbHeight : height)))
          << clip;
      EXPECT_EQ(info.AvgTimePerFrame, 1000000) << "ten frames a second";
      EXPECT_EQ(video->QueryAccept(type), S_OK);
    }
    EXPECT_EQ(subtypes, (std::vector<GUID>{MEDIASUBTYPE_NV12, MEDIASUBTYPE_YUY2, MEDIASUBTYPE_RGB32})) << clip;
  }
}

TEST(MfSourceFilter, SoundIsOfferedAsPcm) {
  ComPtr<MfSourceFilter> filter = MfSourceFilter::Create(Clip("sound.m4a"), nullptr);
  ASSERT_TRUE(filter);
  EXPECT_FALSE(filter->HasVideo());
  ASSERT_TRUE(filter->HasAudio());
  ComPtr<IPin> audio = FindPin(*filter.Get(), L"Audio");
  ASSERT_TRUE(audio);
  ComPtr<IEnumMediaTypes> types;
  ASSERT_HRESULT_SUCCEEDED(audio->EnumMediaTypes(&types));
  AM_MEDIA_TYPE* type = nullptr;
  ASSERT_EQ(types->Next(1, &type, nullptr), S_OK);
  EXPECT_EQ(type->subtype, MEDIASUBTYPE_PCM);
  ASSERT_EQ(type->formattype, FORMAT_WaveFormatEx);
  const auto* wave = reinterpret_cast<const WAVEFORMATEX*>(type->pbFormat);
  EXPECT_EQ(wave->nSamplesPerSec, 44100u);
  EXPECT_EQ(wave->wBitsPerSample, 16);
  EXPECT_EQ(wave->nBlockAlign, wave->nChannels * 2);
  DeleteMediaType(type);
  AM_MEDIA_TYPE connected{};
  EXPECT_EQ(audio->ConnectionMediaType(&connected), VFW_E_NOT_CONNECTED);
}

TEST(MfSourceFilter, SeekingIsInMediaTimeWithinTheClip) {
  ComPtr<MfSourceFilter> filter = MfSourceFilter::Create(Clip("tone.mp4"), nullptr);
  ASSERT_TRUE(filter);
  ComPtr<IMediaSeeking> seeking;
  ASSERT_HRESULT_SUCCEEDED(FindPin(*filter.Get(), L"Video").As(&seeking));
  LONGLONG duration = 0, stop = 0;
  ASSERT_HRESULT_SUCCEEDED(seeking->GetDuration(&duration));
  EXPECT_NEAR(static_cast<double>(duration), 60000000.0, 1000000.0);
  ASSERT_HRESULT_SUCCEEDED(seeking->GetStopPosition(&stop));
  EXPECT_EQ(stop, duration);
  EXPECT_EQ(seeking->IsFormatSupported(&TIME_FORMAT_MEDIA_TIME), S_OK);
  EXPECT_EQ(seeking->IsFormatSupported(&TIME_FORMAT_FRAME), S_FALSE);
  EXPECT_EQ(seeking->SetTimeFormat(&TIME_FORMAT_FRAME), E_INVALIDARG);
  DWORD wanted = AM_SEEKING_CanSeekAbsolute | AM_SEEKING_CanGetDuration | AM_SEEKING_CanPlayBackwards;
  EXPECT_EQ(seeking->CheckCapabilities(&wanted), S_FALSE);
  EXPECT_EQ(wanted, DWORD{AM_SEEKING_CanSeekAbsolute | AM_SEEKING_CanGetDuration});

  // Seeking while stopped only records where to start; positions stay inside the clip.
  LONGLONG current = 20000000, end = 0;
  ASSERT_HRESULT_SUCCEEDED(seeking->SetPositions(&current, AM_SEEKING_AbsolutePositioning | AM_SEEKING_ReturnTime, &end,
                                                 AM_SEEKING_NoPositioning));
  EXPECT_EQ(current, 20000000);
  current = 10000000;
  ASSERT_HRESULT_SUCCEEDED(seeking->SetPositions(&current, AM_SEEKING_RelativePositioning | AM_SEEKING_ReturnTime,
                                                 nullptr, AM_SEEKING_NoPositioning));
  EXPECT_EQ(current, 30000000);
  current = 999 * 10000000LL;
  ASSERT_HRESULT_SUCCEEDED(seeking->SetPositions(&current, AM_SEEKING_AbsolutePositioning | AM_SEEKING_ReturnTime,
                                                 nullptr, AM_SEEKING_NoPositioning));
  EXPECT_EQ(current, duration);
  end = 10000000;
  ASSERT_HRESULT_SUCCEEDED(
      seeking->SetPositions(nullptr, AM_SEEKING_NoPositioning, &end, AM_SEEKING_AbsolutePositioning));
  ASSERT_HRESULT_SUCCEEDED(seeking->GetStopPosition(&stop));
  EXPECT_EQ(stop, 10000000);
  EXPECT_EQ(seeking->SetRate(0), E_INVALIDARG);
  EXPECT_EQ(seeking->SetPositions(nullptr, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning),
            E_POINTER);
}

TEST(MfSourceFilter, FileMediaFoundationCannotOpenGivesItsReason) {
  HRESULT error = S_OK;
  EXPECT_FALSE(MfSourceFilter::Create(Clip("no-such-clip.mp4"), &error));
  EXPECT_TRUE(FAILED(error)) << std::hex << error;
}

TEST(MfSourceFilter, PinsLiveAsLongAsTheFilter) {
  ComPtr<IPin> pin;
  {
    ComPtr<MfSourceFilter> filter = MfSourceFilter::Create(Clip("sound.m4a"), nullptr);
    ASSERT_TRUE(filter);
    pin = FindPin(*filter.Get(), L"Audio");
  }
  // The filter is held through its pin: asking the pin for it still works.
  PIN_INFO info{};
  ASSERT_HRESULT_SUCCEEDED(pin->QueryPinInfo(&info));
  ASSERT_NE(info.pFilter, nullptr);
  FILTER_STATE state = State_Running;
  EXPECT_HRESULT_SUCCEEDED(info.pFilter->GetState(0, &state));
  EXPECT_EQ(state, State_Stopped);
  info.pFilter->Release();
}
