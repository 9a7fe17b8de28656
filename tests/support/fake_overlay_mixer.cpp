#include "tests/support/fake_overlay_mixer.h"

#include "player/engine/overlay/overlay_hardware.h"

#include <string>
#include <vector>

namespace lumorix::test {

using engine::IMixerPinConfig;
using engine::IMixerPinConfig2;

namespace {

void FreeType(AM_MEDIA_TYPE& type) {
  if (type.cbFormat) CoTaskMemFree(type.pbFormat);
  if (type.pUnk) type.pUnk->Release();
  type = AM_MEDIA_TYPE{};
}

HRESULT CopyType(AM_MEDIA_TYPE& target, const AM_MEDIA_TYPE& source) {
  target = source;
  if (source.cbFormat) {
    target.pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(source.cbFormat));
    if (!target.pbFormat) return E_OUTOFMEMORY;
    CopyMemory(target.pbFormat, source.pbFormat, source.cbFormat);
  }
  if (target.pUnk) target.pUnk->AddRef();
  return S_OK;
}

// The kinds of picture the Video Renderer draws, so that the output can pass them on.
bool Acceptable(const AM_MEDIA_TYPE& type) {
  if (type.majortype != MEDIATYPE_Video || type.formattype != FORMAT_VideoInfo) return false;
  return type.subtype == MEDIASUBTYPE_RGB32 || type.subtype == MEDIASUBTYPE_RGB24 ||
         type.subtype == MEDIASUBTYPE_RGB565 || type.subtype == MEDIASUBTYPE_RGB555;
}

class PinList : public ComObject<IEnumPins> {
 public:
  PinList(std::vector<ComPtr<IPin>> pins, size_t next) : pins_(std::move(pins)), next_(next) {}
  HRESULT STDMETHODCALLTYPE Next(ULONG count, IPin** pins, ULONG* fetched) override {
    ULONG given = 0;
    while (given < count && next_ < pins_.size()) {
      pins[given] = pins_[next_++].Get();
      pins[given++]->AddRef();
    }
    if (fetched) *fetched = given;
    return given == count ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
    next_ += count;
    return next_ <= pins_.size() ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Reset() override {
    next_ = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(IEnumPins** copy) override {
    *copy = MakeCom<PinList>(pins_, next_).Detach();
    return S_OK;
  }

 private:
  std::vector<ComPtr<IPin>> pins_;
  size_t next_;
};

class NoMediaTypes : public ComObject<IEnumMediaTypes> {
 public:
  HRESULT STDMETHODCALLTYPE Next(ULONG, AM_MEDIA_TYPE**, ULONG* fetched) override {
    if (fetched) *fetched = 0;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG) override { return S_FALSE; }
  HRESULT STDMETHODCALLTYPE Reset() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Clone(IEnumMediaTypes** copy) override {
    *copy = MakeCom<NoMediaTypes>().Detach();
    return S_OK;
  }
};

class Mixer;

// A pin of the mixer; its references are the mixer's.
class Pin : public IPin {
 public:
  Pin(Mixer& owner, PIN_DIRECTION direction, std::wstring name)
      : owner_(owner), direction_(direction), name_(std::move(name)) {}
  virtual ~Pin() { FreeType(type_); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE Disconnect() override {
    if (!peer_) return S_FALSE;
    peer_.Reset();
    FreeType(type_);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ConnectedTo(IPin** pin) override {
    if (!pin) return E_POINTER;
    *pin = nullptr;
    if (!peer_) return VFW_E_NOT_CONNECTED;
    *pin = peer_.Get();
    (*pin)->AddRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ConnectionMediaType(AM_MEDIA_TYPE* type) override {
    if (!peer_) return VFW_E_NOT_CONNECTED;
    return CopyType(*type, type_);
  }
  HRESULT STDMETHODCALLTYPE QueryPinInfo(PIN_INFO* info) override;
  HRESULT STDMETHODCALLTYPE QueryDirection(PIN_DIRECTION* direction) override {
    *direction = direction_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE QueryId(LPWSTR* id) override {
    size_t bytes = (name_.size() + 1) * sizeof(wchar_t);
    *id = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
    if (!*id) return E_OUTOFMEMORY;
    CopyMemory(*id, name_.c_str(), bytes);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE QueryAccept(const AM_MEDIA_TYPE* type) override {
    return type && Acceptable(*type) ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE EnumMediaTypes(IEnumMediaTypes** types) override {
    *types = MakeCom<NoMediaTypes>().Detach();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE QueryInternalConnections(IPin**, ULONG*) override { return E_NOTIMPL; }

  const std::wstring& Name() const { return name_; }
  bool Connected() const { return static_cast<bool>(peer_); }
  const AM_MEDIA_TYPE& Type() const { return type_; }

 protected:
  Mixer& owner_;
  PIN_DIRECTION direction_;
  std::wstring name_;
  ComPtr<IPin> peer_;
  AM_MEDIA_TYPE type_{};
};

class OutputPin : public Pin {
 public:
  explicit OutputPin(Mixer& owner) : Pin(owner, PINDIR_OUTPUT, L"Output") {}

  HRESULT STDMETHODCALLTYPE Connect(IPin* receiver, const AM_MEDIA_TYPE* proposed) override;
  HRESULT STDMETHODCALLTYPE ReceiveConnection(IPin*, const AM_MEDIA_TYPE*) override { return E_UNEXPECTED; }
  HRESULT STDMETHODCALLTYPE Disconnect() override {
    downstream_.Reset();
    return Pin::Disconnect();
  }
  HRESULT STDMETHODCALLTYPE EndOfStream() override { return E_UNEXPECTED; }
  HRESULT STDMETHODCALLTYPE BeginFlush() override { return E_UNEXPECTED; }
  HRESULT STDMETHODCALLTYPE EndFlush() override { return E_UNEXPECTED; }
  HRESULT STDMETHODCALLTYPE NewSegment(REFERENCE_TIME, REFERENCE_TIME, double) override { return E_UNEXPECTED; }

  // The pass-through to the renderer.
  IMemInputPin* Downstream() const { return downstream_.Get(); }
  IPin* Peer() const { return peer_.Get(); }

 private:
  ComPtr<IMemInputPin> downstream_;
};

class InputPin : public Pin, public IMemInputPin, public IMixerPinConfig2 {
 public:
  InputPin(Mixer& owner, std::wstring name) : Pin(owner, PINDIR_INPUT, std::move(name)) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return Pin::AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return Pin::Release(); }

  HRESULT STDMETHODCALLTYPE Connect(IPin*, const AM_MEDIA_TYPE*) override { return E_UNEXPECTED; }
  HRESULT STDMETHODCALLTYPE ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* type) override {
    if (!connector || !type) return E_POINTER;
    if (peer_) return VFW_E_ALREADY_CONNECTED;
    if (!Acceptable(*type)) return VFW_E_TYPE_NOT_ACCEPTED;
    HRESULT result = CopyType(type_, *type);
    if (FAILED(result)) return result;
    peer_ = connector;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Disconnect() override {
    allocator_.Reset();
    return Pin::Disconnect();
  }
  HRESULT STDMETHODCALLTYPE EndOfStream() override;
  HRESULT STDMETHODCALLTYPE BeginFlush() override;
  HRESULT STDMETHODCALLTYPE EndFlush() override;
  HRESULT STDMETHODCALLTYPE NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

  // IMemInputPin: samples go on to the renderer as they are.
  HRESULT STDMETHODCALLTYPE GetAllocator(IMemAllocator**) override { return VFW_E_NO_ALLOCATOR; }
  HRESULT STDMETHODCALLTYPE NotifyAllocator(IMemAllocator* allocator, BOOL) override {
    allocator_ = allocator;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetAllocatorRequirements(ALLOCATOR_PROPERTIES*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Receive(IMediaSample* sample) override;
  HRESULT STDMETHODCALLTYPE ReceiveMultiple(IMediaSample** samples, long count, long* processed) override {
    *processed = 0;
    for (long index = 0; index < count; ++index) {
      HRESULT result = Receive(samples[index]);
      if (result != S_OK) return result;
      ++*processed;
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ReceiveCanBlock() override { return S_OK; }

  // IMixerPinConfig(2), answered from the test's state.
  HRESULT STDMETHODCALLTYPE SetRelativePosition(DWORD, DWORD, DWORD, DWORD) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetRelativePosition(DWORD*, DWORD*, DWORD*, DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetZOrder(DWORD) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetZOrder(DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetColorKey(COLORKEY*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetColorKey(COLORKEY* key, DWORD* color) override;
  HRESULT STDMETHODCALLTYPE SetBlendingParameter(DWORD) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetBlendingParameter(DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetAspectRatioMode(DWORD mode) override;
  HRESULT STDMETHODCALLTYPE GetAspectRatioMode(DWORD* mode) override;
  HRESULT STDMETHODCALLTYPE SetStreamTransparent(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetStreamTransparent(BOOL*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetOverlaySurfaceColorControls(DDCOLORCONTROL* colors) override;
  HRESULT STDMETHODCALLTYPE GetOverlaySurfaceColorControls(DDCOLORCONTROL* colors) override;

 private:
  ComPtr<IMemAllocator> allocator_;
};

class Mixer : public ComObject<IBaseFilter, IDDrawExclModeVideo> {
 public:
  Mixer(FakeOverlayState& state, const CLSID& classId, int inputs) : state_(state), classId_(classId), inputs_(inputs) {
    ++state_.created;
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (object && (iid == IID_IPersist || iid == IID_IMediaFilter)) {
      *object = static_cast<IBaseFilter*>(this);
      AddRef();
      return S_OK;
    }
    return ComObject::QueryInterface(iid, object);
  }

  HRESULT STDMETHODCALLTYPE GetClassID(CLSID* classId) override {
    *classId = classId_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Stop() override { return state = State_Stopped, S_OK; }
  HRESULT STDMETHODCALLTYPE Pause() override { return state = State_Paused, S_OK; }
  HRESULT STDMETHODCALLTYPE Run(REFERENCE_TIME) override { return state = State_Running, S_OK; }
  HRESULT STDMETHODCALLTYPE GetState(DWORD, FILTER_STATE* current) override {
    *current = state;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetSyncSource(IReferenceClock* clock) override { return clock_ = clock, S_OK; }
  HRESULT STDMETHODCALLTYPE GetSyncSource(IReferenceClock** clock) override {
    *clock = clock_.Get();
    if (*clock) (*clock)->AddRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE EnumPins(IEnumPins** pins) override {
    std::vector<ComPtr<IPin>> list;
    for (Pin* pin : Pins()) list.emplace_back(pin);
    *pins = MakeCom<PinList>(std::move(list), 0).Detach();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE FindPin(LPCWSTR id, IPin** pin) override {
    for (Pin* candidate : Pins()) {
      if (id && candidate->Name() == id) {
        *pin = candidate;
        candidate->AddRef();
        return S_OK;
      }
    }
    *pin = nullptr;
    return VFW_E_NOT_FOUND;
  }
  HRESULT STDMETHODCALLTYPE QueryFilterInfo(FILTER_INFO* info) override {
    lstrcpynW(info->achName, name_.c_str(), MAX_FILTER_NAME);
    info->pGraph = graph_;
    if (graph_) graph_->AddRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override {
    graph_ = graph;  // the graph holds the filter, not the other way round
    name_ = name ? name : L"";
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE QueryVendorInfo(LPWSTR*) override { return E_NOTIMPL; }

  HRESULT STDMETHODCALLTYPE SetDDrawObject(IDirectDraw*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetDDrawObject(IDirectDraw**, BOOL*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetDDrawSurface(IDirectDrawSurface*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetDDrawSurface(IDirectDrawSurface**, BOOL*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetDrawParameters(const RECT*, const RECT*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetNativeVideoProps(DWORD* width, DWORD* height, DWORD* aspectX, DWORD* aspectY) override {
    *width = 640;
    *height = 480;
    *aspectX = state_.aspectX;
    *aspectY = state_.aspectY;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetCallbackInterface(IDDrawExclModeVideoCallback* callback, DWORD) override {
    if (FAILED(state_.callbackResult)) return state_.callbackResult;
    state_.callback = callback;
    if (callback) ++state_.registrations;
    return S_OK;
  }

  // The inputs first, then "Output".
  std::vector<Pin*> Pins() {
    std::vector<Pin*> pins{&first_};
    if (inputs_ > 1) pins.push_back(&second_);
    pins.push_back(&output_);
    return pins;
  }

  FakeOverlayState& state_;
  CLSID classId_;
  int inputs_;
  FILTER_STATE state = State_Stopped;
  InputPin first_{*this, L"Input0"};
  InputPin second_{*this, L"Input1"};
  OutputPin output_{*this};

 private:
  IFilterGraph* graph_ = nullptr;
  std::wstring name_;
  ComPtr<IReferenceClock> clock_;
};

HRESULT Pin::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IPin) {
    *object = static_cast<IPin*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}
ULONG Pin::AddRef() { return owner_.AddRef(); }
ULONG Pin::Release() { return owner_.Release(); }

HRESULT Pin::QueryPinInfo(PIN_INFO* info) {
  info->pFilter = static_cast<IBaseFilter*>(&owner_);
  owner_.AddRef();
  info->dir = direction_;
  lstrcpynW(info->achName, name_.c_str(), MAX_PIN_NAME);
  return S_OK;
}

HRESULT OutputPin::Connect(IPin* receiver, const AM_MEDIA_TYPE* proposed) {
  if (!receiver) return E_POINTER;
  if (peer_) return VFW_E_ALREADY_CONNECTED;
  // The picture goes out as it came in.
  const Pin& feed = owner_.first_.Connected() ? static_cast<const Pin&>(owner_.first_) : owner_.second_;
  if (!feed.Connected()) return VFW_E_NO_ACCEPTABLE_TYPES;
  const AM_MEDIA_TYPE& type = proposed && proposed->majortype != GUID_NULL ? *proposed : feed.Type();
  HRESULT result = receiver->ReceiveConnection(this, &type);
  if (FAILED(result)) return result;
  result = CopyType(type_, type);
  if (FAILED(result)) return result;
  peer_ = receiver;
  (void)receiver->QueryInterface(IID_PPV_ARGS(&downstream_));
  return S_OK;
}

HRESULT InputPin::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (iid == IID_IMemInputPin) {
    *object = static_cast<IMemInputPin*>(this);
  } else if (iid == __uuidof(IMixerPinConfig) || iid == __uuidof(IMixerPinConfig2)) {
    *object = static_cast<IMixerPinConfig2*>(this);
  } else {
    return Pin::QueryInterface(iid, object);
  }
  AddRef();
  return S_OK;
}

HRESULT InputPin::Receive(IMediaSample* sample) {
  IMemInputPin* downstream = owner_.output_.Downstream();
  return downstream ? downstream->Receive(sample) : S_OK;
}
HRESULT InputPin::EndOfStream() {
  IPin* peer = owner_.output_.Peer();
  return peer ? peer->EndOfStream() : S_OK;
}
HRESULT InputPin::BeginFlush() {
  IPin* peer = owner_.output_.Peer();
  return peer ? peer->BeginFlush() : S_OK;
}
HRESULT InputPin::EndFlush() {
  IPin* peer = owner_.output_.Peer();
  return peer ? peer->EndFlush() : S_OK;
}
HRESULT InputPin::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
  IPin* peer = owner_.output_.Peer();
  return peer ? peer->NewSegment(start, stop, rate) : S_OK;
}

HRESULT InputPin::GetColorKey(COLORKEY* key, DWORD* color) {
  if (key) {
    key->KeyType = CK_RGB;
    key->LowColorValue = owner_.state_.colorKey;
    key->HighColorValue = owner_.state_.colorKey;
  }
  if (color) *color = owner_.state_.colorKey;
  return S_OK;
}
HRESULT InputPin::SetAspectRatioMode(DWORD mode) {
  if (mode > 2) return E_INVALIDARG;
  owner_.state_.aspectMode = mode;
  return S_OK;
}
HRESULT InputPin::GetAspectRatioMode(DWORD* mode) {
  *mode = owner_.state_.aspectMode;
  return S_OK;
}
HRESULT InputPin::SetOverlaySurfaceColorControls(DDCOLORCONTROL* colors) {
  if (!colors) return E_POINTER;
  owner_.state_.current = *colors;
  ++owner_.state_.colorWrites;
  return S_OK;
}
HRESULT InputPin::GetOverlaySurfaceColorControls(DDCOLORCONTROL* colors) {
  if (!colors) return E_POINTER;
  *colors = owner_.state_.current;
  return S_OK;
}

class Factory : public ComObject<IClassFactory> {
 public:
  Factory(FakeOverlayState& state, const CLSID& classId, int inputs)
      : state_(state), classId_(classId), inputs_(inputs) {}
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
    if (outer) return CLASS_E_NOAGGREGATION;
    return MakeCom<Mixer>(state_, classId_, inputs_)->QueryInterface(iid, object);
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

 private:
  FakeOverlayState& state_;
  CLSID classId_;
  int inputs_;
};

}  // namespace

ComPtr<IBaseFilter> MakeStandInFilter(FakeOverlayState& state, const CLSID& classId, int inputs) {
  return MakeCom<Mixer>(state, classId, inputs);
}

FakeFilterRegistration::FakeFilterRegistration(const CLSID& classId, int inputs) {
  auto factory = MakeCom<Factory>(state_, classId, inputs);
  if (FAILED(CoRegisterClassObject(classId, factory.Get(), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie_)))
    cookie_ = 0;
}

FakeFilterRegistration::~FakeFilterRegistration() {
  if (cookie_) CoRevokeClassObject(cookie_);
}

FakeOverlayMixerRegistration::FakeOverlayMixerRegistration() : FakeFilterRegistration(CLSID_OverlayMixer, 2) {
  DDCOLORCONTROL defaults{};
  defaults.dwSize = sizeof defaults;
  defaults.dwFlags = 0x3F;  // every control but colour enable
  defaults.lBrightness = 1234;
  defaults.lContrast = 9000;
  defaults.lHue = 12;
  defaults.lSaturation = 11000;
  defaults.lSharpness = 3;
  defaults.lGamma = 2;
  defaults.lColorEnable = 1;
  State().hardwareDefaults = defaults;
  State().current = defaults;
  // The stand-in plays the overlay hardware too, which the display here lacks,
  // on a desktop that is not composed (as Windows 7 with a basic theme).
  engine::SetOverlayHardwareProbe([] { return true; });
  engine::SetDesktopCompositionProbe([] { return false; });
}

FakeOverlayMixerRegistration::~FakeOverlayMixerRegistration() {
  engine::SetOverlayHardwareProbe(nullptr);
  engine::SetDesktopCompositionProbe(nullptr);
}

}  // namespace lumorix::test
