#include "player/core/main_form.h"

#include <utility>

#include "common/language_texts.h"
#include "common/rate_ladder.h"
#include "platform/locale.h"
#include "platform/text.h"
#include "player/colour/color_control_form.h"
#include "player/desktop/desktop_stage.h"
#include "player/core/artwork.h"
#include "player/playlist/playlist_form.h"
#include "player/tray/tray_icon.h"
#include "ui/application.h"
#include "ui/pointer.h"

namespace lumorix {

bool ScreenSaverMode = false;
bool EndReached = false;

namespace {

ui::FormDesign MainFormDesign() {
  ui::FormDesign design;
  design.caption = L"Lumorix - Settings";
  design.clientWidth = 575;
  design.clientHeight = 480;
  design.border = ui::BorderStyle::Single;
  design.position = ui::FormPosition::DesktopCenter;
  design.color = 0x00C1BFBF;
  design.className = L"TLumorixMainForm";  // the screen-saver program finds the player by it
  return design;
}

ui::TrackBarDesign BalanceDesign() {
  ui::TrackBarDesign design;
  design.min = -50;
  design.max = 50;
  design.frequency = 10;
  return design;
}

ui::TrackBarDesign VolumeDesign() {
  ui::TrackBarDesign design;
  design.orientation = ui::Orientation::Vertical;
  design.min = -10000;
  design.max = 0;
  design.frequency = 1000;
  design.tickMarks = ui::TickMarks::Both;
  return design;
}

ui::TrackBarDesign PositionDesign() {
  ui::TrackBarDesign design;
  design.min = 0;
  design.max = 0;
  design.tickStyle = ui::TickStyle::None;
  return design;
}

ui::ToolBarDesign TransportBarDesign() {
  ui::ToolBarDesign design;
  design.buttonWidth = 52;
  design.buttonHeight = 45;
  design.autoSize = true;
  return design;
}

}  // namespace

TLumorixMainForm::TLumorixMainForm()
    : ui::Form(MainFormDesign()),
      GBPreview(Handle(), {8, 8, 432, 332}, L"Preview"),
      DSVideoWindowEx2(GBPreview.Handle(), {16, 16, 400, 300}, L"DSVideoWindowEx2"),
      ImPrevious(Handle(), {8, 384, 64, 64}, true),
      ImPlay(Handle(), {80, 384, 64, 64}),
      ImPause(Handle(), {152, 384, 64, 64}),
      ImStop(Handle(), {224, 384, 64, 64}),
      ImNext(Handle(), {296, 384, 64, 64}),
      ImPL(Handle(), {376, 384, 32, 32}),
      ImCC(Handle(), {376, 416, 32, 32}),
      TBPosition(Handle(), {8, 344, 433, 25}, PositionDesign()),
      GBSound(Handle(), {448, 8, 113, 209}, L"Sound Settings"),
      LBalance(GBSound.Handle(), {32, 16, 0, 0}, L"Balance"),
      TBBalance(GBSound.Handle(), {16, 32, 73, 33}, BalanceDesign()),
      LVolume(GBSound.Handle(), {34, 80, 0, 0}, L"Volume"),
      TBVolume(GBSound.Handle(), {33, 97, 41, 97}, VolumeDesign()),
      GBVideo(Handle(), {448, 224, 113, 153}, L"Video"),
      LRate(GBVideo.Handle(), {8, 16, 0, 0}, L"Rate"),
      BtRateDown(GBVideo.Handle(), {3, 32, 30, 17}, L"<<"),
      LRateInd(GBVideo.Handle(), {32, 32, 41, 18}, L"1x", ui::Alignment::Center),
      BtRateUp(GBVideo.Handle(), {80, 32, 30, 17}, L">>"),
      LTime(GBVideo.Handle(), {8, 56, 0, 0}, L"Time"),
      LTimeInd(GBVideo.Handle(), {8, 72, 97, 13}, L"0 / 0", ui::Alignment::Center),
      GBScreenSaver(Handle(), {408, 376, 153, 41}, L"ScreenSaver"),
      CBRSS(GBScreenSaver.Handle(), {16, 16, 129, 17}, L"Replace Screen Saver"),
      CBRunWithStartUp(Handle(), {424, 424, 129, 25}, L"Add to StartUp"),
      BtShowPlayList(Handle(), {336, 376, 75, 25}, L"PlayList"),
      BtSCC(Handle(), {336, 408, 75, 25}, L"Color Control"),
      ImageList(45, 39),
      TB(Handle(), {16, 376, 0, 0}, TransportBarDesign()),
      StatusBar(Handle(), 50),
      Timer(1000),
      Timer2(1000),
      HintTimer(1500),
      MoveOnTimer(10),
      File1(MainMenu.Add(L"&File")),
      Open(File1.Add(L"&Open", ui::CtrlKey('O'))),
      Languages1(MainMenu.Add(L"&Languages")),
      Defoult1(Languages1.Add(L"&Default", ui::CtrlKey('D'))),
      Skins1(MainMenu.Add(L"&Skins")),
      StandartWindows1(Skins1.Add(L"StandartWindows", ui::ShiftKey('W'))),
      Show1(MainMenu.Add(L"&Show")),
      PlayList1(Show1.Add(L"Play&List", ui::CtrlKey('L'))),
      ColorControl1(Show1.Add(L"&ColorControl", ui::CtrlKey('C'))),
      Help(MainMenu.Add(L"&Help")),
      About(Help.Add(L"&About", ui::CtrlKey('A'))),
      ItPlay(TrayPopup.Add(L"&Play")),
      ItPause(TrayPopup.Add(L"P&ause")),
      ItNext((TrayPopup.AddSeparator(), TrayPopup.Add(L"&Next"))),
      ItPrevious(TrayPopup.Add(L"P&revious")),
      ItOpen((TrayPopup.AddSeparator(), TrayPopup.Add(L"&Open"))),
      ItOptions((TrayPopup.AddSeparator(), TrayPopup.Add(L"&Settings"))),
      ItExit((TrayPopup.AddSeparator(), TrayPopup.Add(L"&Exit"))),
      filterGraph_(std::make_unique<engine::TFilterGraph>()) {
  Defoult1.SetDefault(true);
  Defoult1.SetRadio(true);
  ItPlay.SetVisible(false);
  ItOptions.SetDefault(true);
  SetMenu(&MainMenu);

  filterGraph_->SetGraphEdit(false);
  filterGraph_->SetLinearVolume(true);
  // The desktop and full-screen hosts, which the video window owns.
  DSVideoWindowEx2.SetPictureHost([this](engine::HostedPicture& picture, COLORREF color) {
    auto stage = std::make_unique<desktop::DesktopStage>(picture, color);
    desktopStage_ = stage.get();
    return stage;
  });
  DSVideoWindowEx2.SetFilterGraph(filterGraph_.get());
  DSVideoWindowEx2.SetAspectRatio(engine::rmLetterBox);
  DSVideoWindowEx2.SetFullScreenTopMost(true);
  TBPosition.SetFilterGraph(filterGraph_.get());
  abortWatch_ = std::make_unique<ClipAbortWatch>(*filterGraph_);
  abortWatch_->OnAbort = [this](const std::string& message) { ClipAborted(message); };
  idlePause_ = std::make_unique<IdlePauseControl>(*filterGraph_, DSVideoWindowEx2, Show1);
  showOn_ = std::make_unique<ShowOnMenu>(Show1, DSVideoWindowEx2);
  showOn_->OnChange = [this](ShowOn) { FollowShowOn(); };
  clipChange_ = std::make_unique<ClipChangeMenu>(Show1);
  clipChain_ = std::make_unique<ClipChain>(static_cast<IClipChainHost&>(*this), *filterGraph_, DSVideoWindowEx2,
                                           std::ref(randomPick_));
  clipChange_->OnChangeEvery = [this](int32_t minutes) {
    clipChain_->SetChangeEvery(minutes);
    if (monitorPlayers_) monitorPlayers_->ChangeEveryChanged();
  };
  // The clip is hidden only when every monitor it shows on is covered.
  idlePause_->ShowsOn([this] { return DSVideoWindowEx2.ShownMonitorRects(); });
  LayerMissingHint = AnsiToWide(LanguageTexts().Text(Caption::WallpaperLayerMissing));
  desktopStage_->OnLayerMissing = [this] { ShowMainHint(LayerMissingHint); };
  desktopStage_->OnDisplayChanged = [this] {
    if (monitorPlayers_) monitorPlayers_->Sync();
  };

  BtShowPlayList.Hide();
  BtSCC.Hide();
  AddTransportImages(ImageList);
  TB.SetImages(&ImageList);
  // The button names do not match their actions; the bindings are what the buttons do.
  ui::ToolButton& btPrevious = TB.AddButton(0);
  btPlayPause_ = &TB.AddButton(1);
  ui::ToolButton& btStop = TB.AddButton(2);
  ui::ToolButton& btNext = TB.AddButton(3);
  ui::ToolButton& toolButton1 = TB.AddButton(4);
  btPrevious.OnClick = [this] { BtPreviousClick(); };
  btPlayPause_->OnClick = [this] { ItPlayClick(); };
  btStop.OnClick = [this] { ItPauseClick(); };
  btNext.OnClick = [this] { BtStopClick(); };
  toolButton1.OnClick = [this] { BtNextClick(); };
  TB.Hide();

  BindHandlers();
}

void TLumorixMainForm::BindHandlers() {
  ImPrevious.OnClick = [this] { BtPreviousClick(); };
  ImPlay.OnClick = [this] { ItPlayClick(); };
  ImPause.OnClick = [this] { ItPauseClick(); };
  ImStop.OnClick = [this] { BtStopClick(); };
  ImNext.OnClick = [this] { BtNextClick(); };
  ImPL.OnClick = [this] { BtShowPlayListClick(); };
  ImCC.OnClick = [this] { BtSCCClick(); };
  TBPosition.OnChange = [this] { TBPositionChange(); };
  TBBalance.OnChange = [this] { TBBalanceChange(); };
  TBVolume.OnChange = [this] { TBVolumeChange(); };
  BtRateDown.OnClick = [this] { BtRateDownClick(); };
  BtRateUp.OnClick = [this] { BtRateUpClick(); };
  DSVideoWindowEx2.OnDblClick = [this] { DSVideoWindowEx2DblClick(); };
  // What the renderer can adjust is known once a clip is connected.
  DSVideoWindowEx2.OnCapabilitiesChanged = [this] {
    if (colorControlForm_ && IsWindowVisible(colorControlForm_->Handle())) colorControlForm_->FollowCapabilities();
  };
  // Said once: the picture goes through the legacy renderer, and why.
  DSVideoWindowEx2.OnRendererFallback = [this](const std::wstring& reason) {
    ShowMainHint(L"The video is drawn by the legacy Video Renderer: " + reason + L".");
  };
  CBRSS.OnClick = [this] { CBRSSClick(); };
  CBRunWithStartUp.OnClick = [this] { CBRunWithStartUpClick(); };
  BtShowPlayList.OnClick = [this] { BtShowPlayListClick(); };
  BtSCC.OnClick = [this] { BtSCCClick(); };
  Timer.OnTimer = [this] { TimerTimer(); };
  Timer2.OnTimer = [this] { Timer2Timer(); };
  HintTimer.OnTimer = [this] { HintTimerTimer(); };
  MoveOnTimer.OnTimer = [this] { MoveOnTimerTimer(); };

  Open.OnClick = [this] { OpenClick(); };
  Defoult1.OnClick = [this] { Defoult1Click(); };
  StandartWindows1.OnClick = [this] { StandartWindows1Click(); };
  PlayList1.OnClick = [this] { BtShowPlayListClick(); };
  ColorControl1.OnClick = [this] { BtSCCClick(); };
  About.OnClick = [this] { AboutClick(); };
  ItPlay.OnClick = [this] { ItPlayClick(); };
  ItPause.OnClick = [this] { ItPauseClick(); };
  ItNext.OnClick = [this] { BtNextClick(); };
  ItPrevious.OnClick = [this] { BtPreviousClick(); };
  ItOpen.OnClick = [this] { OpenClick(); };
  ItOptions.OnClick = [this] { RunSettings(); };
  ItExit.OnClick = [this] { ItExitClick(); };
}

TLumorixMainForm::~TLumorixMainForm() {
  FormDestroy();
  DestroyHandle();
}

void TLumorixMainForm::FormCreate() {
  creating_ = true;
  // However the create step ends, the failures of its clips are shown once the message loop runs.
  struct Created {
    TLumorixMainForm& form;
    ~Created() {
      form.creating_ = false;
      if (!form.clipFailures_.empty()) PostMessageW(form.Handle(), kClipFailureMessage, 0, 0);
    }
  } created{*this};
  ExitRequested = false;
  trayIcon_ = std::make_unique<TTrayIcon>();
  trayIcon_->SetPopupMenu(&TrayPopup);
  AddLanguagesToMenu();
  AddSkinsToMenu();
  mainHint_ = std::make_unique<ui::HintWindow>(Handle());
  colorControlForm_ = std::make_unique<TLumorixColorControlForm>(static_cast<IColorControlOwner&>(*this));
  playListForm_ = std::make_unique<TLumorixPlayListForm>(static_cast<IPlayListOwner&>(*this));
  playListForm_->Initialize();
  {
    std::wstring file = TLumorixPlayListForm::PlayListFileName(true);
    size_t slash = file.rfind(L'\\');
    monitorPlayers_ = std::make_unique<MonitorPlayers>(
        file.substr(0, slash + 1), file.substr(slash + 1), static_cast<MonitorStateStore&>(*this),
        [this] { return playListForm_->Entries(); },
        [this] {
          return MonitorPlayState{PlayingIndex, Repeat, Random, TBPosition.Position()};
        });
    monitorPlayers_->OnPlayersChanged = [this] { OfferMonitorLists(); };
    monitorPlayers_->OnFailure = [this](const std::string& message) { ShowClipFailure(message); };
    monitorPlayers_->OnPlayingChanged = [this] { playListForm_->LBPlayList.Invalidate(); };
    monitorPlayers_->OnPlayListClosed = [this] { PlayListVisible = false; };
    monitorPlayers_->OnDblClick = [this] { DSVideoWindowEx2DblClick(); };
    monitorPlayers_->MakeExtra = [this](MonitorPlayer& player) { return MakeMonitorExtra(player); };
    monitorPlayers_->TransitionMs = [this] { return clipChange_->Transition(); };
    monitorPlayers_->ChangeEvery = [this] { return clipChange_->ChangeEvery(); };
    idlePause_->OnSwitchesChanged = [this](const IdleSwitches& switches) { FollowIdleSwitches(switches); };
    monitorPlayers_->OnPrimaryList = [this](std::vector<TPlayListEntry> list, const MonitorPlayState& state) {
      TakePrimaryList(std::move(list), state);
    };
  }
  LoadSaveOptions(true);
  savedIndex_ = PlayingIndex;
  mainHint_->Hide();
  filterGraph_->SetActive(true);
  PlayIndex(PlayingIndex);
  filterGraph_->SetRate(PlayRate);
  if (IsLadderRate(filterGraph_->Rate())) {
    LRateInd.SetCaption(Widen(RateText(filterGraph_->Rate(), DecimalSeparator())));
  } else {
    PlayRate = 1;
    filterGraph_->SetRate(1);
    SetRateStep(0);
    LRateInd.SetCaption(L"1x");
  }
  filterGraph_->SetVolume(-TBVolume.Position());
  filterGraph_->SetBalance(TBBalance.Position() * 100);
  Timer.SetEnabled(true);
  // Posted only now: starting the clip may run a message loop, and a box shown
  // from there would hold the start-up before its timer was set.
  if (!startSkinFailure_.empty()) PostMessageW(Handle(), kStartSkinFailureMessage, 0, 0);
}

void TLumorixMainForm::TimerTimer() {
  Timer.SetEnabled(false);
  Hide();
  playListForm_->TBRep().SetDown(Repeat);
  playListForm_->TBRand().SetDown(Random);
  DesktopPlacement();
  filterGraph_->SetVolume(-TBVolume.Position());
  onDesktopOnce_ = true;
  FollowShowOn();
  Timer2.SetEnabled(true);
}

void TLumorixMainForm::Timer2Timer() {
  Timer2.SetEnabled(false);
  // The saved second is of the saved entry; one that started in its place
  // (the saved one gone or broken) plays from its start.
  if (PlayingIndex == savedIndex_) TBPosition.SetPosition(StartPosition);
}

void TLumorixMainForm::PreviewPlacement() {
  DSVideoWindowEx2.SetDesignBounds({16, 16, 400, 300});
  DSVideoWindowEx2.StopDesktopPlayback();
  if (idlePause_) idlePause_->PlacementChanged();
}

// The video on the desktop is no child of the form now; back in the preview it
// takes the form's scale.
void TLumorixMainForm::DpiChanged(int) {
  if (!IsChild(Handle(), DSVideoWindowEx2.Handle())) DSVideoWindowEx2.SetDpi(Dpi());
}

void TLumorixMainForm::DesktopPlacement() {
  DSVideoWindowEx2.SetBounds({0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
  DSVideoWindowEx2.StartDesktopPlayback();
  if (idlePause_) idlePause_->PlacementChanged();
}

void TLumorixMainForm::RunSettings() {
  Show();
  if (colorControlForm_) colorControlForm_->SetVisible(ColorControlVisible);
  if (playListForm_) playListForm_->SetVisible(PlayListVisible);
  PreviewPlacement();
}

void TLumorixMainForm::FormShow() { ui::ShowPointer(); }

void TLumorixMainForm::FormCloseQuery(bool& canClose) {
  canClose = ExitRequested;
  Hide();
  DesktopPlacement();
  if (colorControlForm_) colorControlForm_->Hide();
  if (playListForm_) playListForm_->Hide();
}

void TLumorixMainForm::ItExitClick() {
  ExitRequested = true;
  Close();
}

void TLumorixMainForm::FormClose() {
  InsatllScreenSaver(false);
  LoadSaveOptions(false);
  if (playListForm_) playListForm_->LoadSavePlayList(false);
  if (monitorPlayers_) monitorPlayers_->Save();
  DSVideoWindowEx2.StopDesktopPlayback();
  (void)filterGraph_->Stop();
}

void TLumorixMainForm::FormDestroy() {
  if (playListForm_) playListForm_->SetListChoices({});
  monitorPlayers_.reset();
  idlePause_.reset();
  clipChain_.reset();
  abortWatch_.reset();
  if (filterGraph_) {
    try {
      (void)filterGraph_->Stop();
    } catch (const std::exception&) {
      // The program is ending; a graph that refuses to stop is released all the same.
    }
    filterGraph_.reset();
    DSVideoWindowEx2.GraphDestroyed();
    TBPosition.GraphDestroyed();
  }
  DSVideoWindowEx2.StopDesktopPlayback();
  trayIcon_.reset();
}

bool TLumorixMainForm::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_QUERYENDSESSION:
      result = 1;  // the player never holds a log-off or shut-down up
      EndForSession();
      return true;
    case WM_SCREENSAVERCOMMAND:
      if (wParam == 0) {
        ScreenSaverMode = true;
        ui::HidePointer();
        DSVideoWindowEx2.SetBounds({0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
        DSVideoWindowEx2.StartFullScreen();
        if (monitorPlayers_) monitorPlayers_->SetFullScreen(true);
        if (idlePause_) idlePause_->PlacementChanged();
        // Like the system's own screen saver it takes the foreground: its
        // hidden pointer is then the one shown, and keys stay off the windows below.
        SetForegroundWindow(GetAncestor(DSVideoWindowEx2.Handle(), GA_ROOT));
      } else if (wParam == 1) {
        RunSettings();
      }
      result = 0;
      return true;
    case kStartSkinFailureMessage:
      ui::Application::Instance().ShowError(std::exchange(startSkinFailure_, {}));
      return true;
    case kClipFailureMessage:
      // One box per failure, the oldest first; a failure during a box waits for its own message.
      if (!clipFailures_.empty()) {
        std::string message = std::move(clipFailures_.front());
        clipFailures_.erase(clipFailures_.begin());
        if (!clipFailures_.empty()) PostMessageW(Handle(), kClipFailureMessage, 0, 0);
        ui::Application::Instance().ShowError(message);
      }
      result = 0;
      return true;
    default:
      return ui::Form::OnMessage(message, wParam, lParam, result);
  }
}

void TLumorixMainForm::AboutClick() {
  if (AboutForm) AboutForm->Show();
  (void)CloseQuery();
}

void TLumorixMainForm::EndForSession() {
  ExitRequested = true;
  Hide();
  if (colorControlForm_) colorControlForm_->Hide();
  if (playListForm_) playListForm_->Hide();
  // Each part on its own: settings that cannot be written must not cost the
  // playlist, nor the user's desktop look.
  auto attempt = [](auto&& step) {
    try {
      step();
    } catch (const std::exception&) {
      // Nobody is left to read a message at the session's end.
    }
  };
  attempt([this] { InsatllScreenSaver(false); });
  attempt([this] { LoadSaveOptions(false); });
  attempt([this] {
    if (playListForm_) playListForm_->LoadSavePlayList(false);
  });
  attempt([this] {
    if (monitorPlayers_) monitorPlayers_->Save();
  });
  attempt([this] { DSVideoWindowEx2.StopDesktopPlayback(); });
  attempt([this] { (void)filterGraph_->Stop(); });
  ui::Application::Instance().Terminate();
}

int32_t TLumorixMainForm::PlayListCount() const { return playListForm_ ? playListForm_->Count() : 0; }

void TLumorixMainForm::BtShowPlayListClick() {
  if (!playListForm_) return;
  playListForm_->SetVisible(!playListForm_->Visible());
  PlayListVisible = playListForm_->Visible();
}

void TLumorixMainForm::BtSCCClick() {
  if (!colorControlForm_) return;
  colorControlForm_->SetVisible(!colorControlForm_->Visible());
  ColorControlVisible = colorControlForm_->Visible();
}

void TLumorixMainForm::ShowMainHint(const std::wstring& text) {
  if (!mainHint_) return;
  mainHint_->SetHintText(text);
  POINT cursor{};
  GetCursorPos(&cursor);
  mainHint_->MoveTo(cursor.x + 16, cursor.y + 16);
  mainHint_->Repaint();
  mainHint_->Show();
  HintTimer.SetEnabled(true);
}

void TLumorixMainForm::HintTimerTimer() {
  HintTimer.SetEnabled(false);
  if (mainHint_) mainHint_->Hide();
}

}  // namespace lumorix
