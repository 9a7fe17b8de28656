// The colour controls on the enhanced renderer's mixer. Wine's mixer has no
// picture controls (IMFVideoProcessor answers E_NOINTERFACE), so a stand-in
// processor with the ranges Direct3D mixers report takes its place here.
#include <gtest/gtest.h>

#include <map>

#include "player/engine/video/color_control.h"
#include "player/engine/graph/filter_graph.h"

using namespace lumorix;
using namespace lumorix::engine;

namespace {

DXVA2_Fixed32 Fixed(double value) {
  DXVA2_Fixed32 fixed{};
  fixed.ll = static_cast<LONG>(value * 65536);
  return fixed;
}
double Value(const DXVA2_Fixed32& fixed) { return fixed.ll / 65536.0; }

class FakeProcessor : public ComObject<IMFVideoProcessor> {
 public:
  std::map<DWORD, DXVA2_ValueRange> ranges;
  std::map<DWORD, double> written;

  HRESULT STDMETHODCALLTYPE GetProcAmpRange(DWORD property, DXVA2_ValueRange* range) override {
    auto found = ranges.find(property);
    if (found == ranges.end()) return E_INVALIDARG;
    *range = found->second;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetProcAmpValues(DWORD flags, DXVA2_ProcAmpValues* values) override {
    if (flags & DXVA2_ProcAmp_Brightness) written[DXVA2_ProcAmp_Brightness] = Value(values->Brightness);
    if (flags & DXVA2_ProcAmp_Contrast) written[DXVA2_ProcAmp_Contrast] = Value(values->Contrast);
    if (flags & DXVA2_ProcAmp_Hue) written[DXVA2_ProcAmp_Hue] = Value(values->Hue);
    if (flags & DXVA2_ProcAmp_Saturation) written[DXVA2_ProcAmp_Saturation] = Value(values->Saturation);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetAvailableVideoProcessorModes(UINT*, GUID**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetVideoProcessorCaps(GUID*, DXVA2_VideoProcessorCaps*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetVideoProcessorMode(GUID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetVideoProcessorMode(GUID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetProcAmpValues(DWORD, DXVA2_ProcAmpValues*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetFilteringRange(DWORD, DXVA2_ValueRange*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetFilteringValue(DWORD, DXVA2_Fixed32*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetFilteringValue(DWORD, DXVA2_Fixed32*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetBackgroundColor(COLORREF*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetBackgroundColor(COLORREF) override { return E_NOTIMPL; }
};

}  // namespace

TEST(MixerColour, SavedValuesReachTheMixerAndSlidersMoveWhatItCanAdjust) {
  auto mixer = MakeCom<FakeProcessor>();
  // Brightness and contrast as the Direct3D mixers report them; no hue, no saturation.
  mixer->ranges[DXVA2_ProcAmp_Brightness] = {Fixed(-100), Fixed(100), Fixed(0), Fixed(1)};
  mixer->ranges[DXVA2_ProcAmp_Contrast] = {Fixed(0), Fixed(10), Fixed(1), Fixed(0.25)};
  TFilterGraph graph;
  TColorControl colours([&] { return &graph; }, [&] { return ColorMixer{true, mixer}; });

  colours.SetBrightness(0);  // loaded from the settings before any clip
  colours.SetSaturation(0);
  EXPECT_TRUE(mixer->written.empty()) << "no graph yet";
  graph.SetActive(true);
  colours.ReadDefaults();  // the window's step once the renderer is connected
  colours.ApplyColors();
  EXPECT_EQ(colours.Defaults().dwFlags, DWORD(kColorBrightness | kColorContrast));
  EXPECT_EQ(colours.Defaults().lBrightness, 750);
  EXPECT_DOUBLE_EQ(mixer->written[DXVA2_ProcAmp_Brightness], -100);
  EXPECT_DOUBLE_EQ(mixer->written[DXVA2_ProcAmp_Contrast], 1);
  EXPECT_FALSE(mixer->written.count(DXVA2_ProcAmp_Saturation)) << "the mixer cannot move it";

  colours.SetContrast(20000);
  EXPECT_DOUBLE_EQ(mixer->written[DXVA2_ProcAmp_Contrast], 10);
  colours.SetBrightness(10000);
  EXPECT_DOUBLE_EQ(mixer->written[DXVA2_ProcAmp_Brightness], 100);
  colours.RestoreDefault();
  EXPECT_DOUBLE_EQ(mixer->written[DXVA2_ProcAmp_Brightness], 0);
  EXPECT_EQ(colours.Brightness(), 750) << "read back from what was written, not from the mixer";
  graph.SetActive(false);
}

TEST(MixerColour, MixerWithoutPictureControlsAdjustsNothing) {
  TFilterGraph graph;
  graph.SetActive(true);
  TColorControl colours([&] { return &graph; }, [] { return ColorMixer{true, nullptr}; });
  EXPECT_EQ(colours.Defaults().dwFlags, DWORD(kAllColorControls)) << "before any renderer, as for the overlay";
  colours.ReadDefaults();
  EXPECT_EQ(colours.Defaults().dwFlags, 0u);
  colours.SetHue(90);
  EXPECT_EQ(colours.Hue(), 90);
  graph.SetActive(false);
}
