#pragma once
// The settings window: the player's main window. It holds the player's state
// and owns the filter graph, the video window, the seek bar, the tray icon
// and the companion windows.
#include <memory>
#include <string>
#include <vector>

#include "common/random_pick.h"

#include "player/about/about_owner.h"
#include "player/colour/color_control_owner.h"
#include "player/core/clip_abort_watch.h"
#include "player/core/clip_chain.h"
#include "player/core/clip_change_menu.h"
#include "player/core/idle_pause_control.h"
#include "player/core/show_on_menu.h"
#include "player/engine/seek/ds_track_bar.h"
#include "player/engine/graph/filter_graph.h"
#include "player/engine/video/video_window.h"
#include "player/monitors/monitor_players.h"
#include "player/playlist/playlist_owner.h"
#include "ui/button.h"
#include "ui/check_box.h"
#include "ui/form.h"
#include "ui/group_box.h"
#include "ui/hint_window.h"
#include "ui/image_list.h"
#include "ui/label.h"
#include "ui/menu.h"
#include "ui/picture.h"
#include "ui/status_bar.h"
#include "ui/timer.h"
#include "ui/tool_bar.h"
#include "ui/track_bar.h"

namespace lumorix {

namespace desktop {
class DesktopStage;
}

class TLumorixColorControlForm;
class TLumorixPlayListForm;
class TTrayIcon;

// Sent by the screen-saver program: wParam 0 starts screen-saver mode, 1 shows the settings.
inline constexpr UINT WM_SCREENSAVERCOMMAND = WM_USER + 100;

// Program-wide flags of the player.
extern bool ScreenSaverMode;
extern bool EndReached;

class TLumorixMainForm : public ui::Form,
                         private IPlayListOwner,
                         private IColorControlOwner,
                         private MonitorStateStore,
                         private IClipChainHost,
                         public IAboutOwner {
 public:
  TLumorixMainForm();
  ~TLumorixMainForm() override;

  // Runs the create step; called once the window exists.
  void Initialize() { FinishCreate(); }

  // Player state.
  int32_t PlayingIndex = 0;
  bool Repeat = false;
  bool Random = false;
  double PlayRate = 1.0;
  int32_t StartPosition = 0;
  bool PlayListVisible = false;
  bool ColorControlVisible = false;
  std::wstring Language;
  std::wstring Skin;
  // Shown once when Explorer's wallpaper layer cannot be found; set by the language.
  std::wstring LayerMissingHint;
  bool ExitRequested = false;
  // The about window, created by the program entry.
  ui::Form* AboutForm = nullptr;

  // Start-up, settings and shutdown.
  void TimerTimer();
  void Timer2Timer();
  void RunSettings();
  void ItExitClick();
  void AboutClick();
  void BtShowPlayListClick();
  void BtSCCClick();
  void ShowMainHint(const std::wstring& text);
  void HintTimerTimer();
  void LoadSaveOptions(bool load);

  // Playback control.
  void Play();
  void Pause();
  void Stop();
  void PlayIndex(int32_t index);
  void PlayNext();
  void MoveOnTimerTimer();
  void ItPlayClick() { Play(); }
  void ItPauseClick() { Pause(); }
  void BtStopClick() { Stop(); }
  void BtNextClick() { PlayNext(); }
  void BtPreviousClick();
  void BtRateUpClick();
  void BtRateDownClick();
  void TBVolumeChange();
  void TBBalanceChange();
  void TBPositionChange();
  void OpenClick();
  void DSVideoWindowEx2DblClick();
  int RateStep() const { return rateStep_; }

  // Skins, languages, screen saver and start-up shortcut.
  void AddLanguagesToMenu();
  void AddSkinsToMenu();
  void SetLanguage(const std::wstring& path);
  void LangClick(const ui::MenuItem& item);
  void Defoult1Click();
  void SetSkin(const std::wstring& path);
  void SkinClick(const ui::MenuItem& item);
  void StandartWindows1Click();
  // The items that follow "&Default" and "StandartWindows", one per language file and skin.
  std::vector<ui::MenuItem*> LanguageItems;
  std::vector<ui::MenuItem*> SkinItems;
  void InsatllScreenSaver(bool install);
  void CBRSSClick();
  void CBRunWithStartUpClick();

  // Companion windows and components.
  TLumorixPlayListForm& PlayListForm() const { return *playListForm_; }
  TLumorixColorControlForm& ColorControlForm() const { return *colorControlForm_; }
  TTrayIcon* TrayIcon() const { return trayIcon_.get(); }
  engine::TFilterGraph* FilterGraph() const { return filterGraph_.get(); }
  // Pauses the desktop clip while nobody sees it; its switches sit in the Show menu.
  IdlePauseControl& IdleControl() const { return *idlePause_; }
  // Which monitors the desktop clip shows on; its items sit in the Show menu.
  ShowOnMenu& ShowOnControl() const { return *showOn_; }
  // The players of the monitors but the primary, while each monitor has its own playlist.
  MonitorPlayers* MonitorControl() const { return monitorPlayers_.get(); }
  // "Transition" and "Change clip every"; their items sit in the Show menu.
  ClipChangeMenu& ClipChangeControl() const { return *clipChange_; }
  // What plays next: the repeat, the prepared clip, the change timer.
  ClipChain& Chain() const { return *clipChain_; }

  // Controls, by their design names.
  ui::GroupBox GBPreview;
  engine::TDSVideoWindowEx2 DSVideoWindowEx2;
  ui::Picture ImPrevious, ImPlay, ImPause, ImStop, ImNext, ImPL, ImCC;
  engine::TDSTrackBar TBPosition;
  ui::GroupBox GBSound;
  ui::Label LBalance;
  ui::TrackBar TBBalance;
  ui::Label LVolume;
  ui::TrackBar TBVolume;
  ui::GroupBox GBVideo;
  ui::Label LRate;
  ui::Button BtRateDown;
  ui::Label LRateInd;
  ui::Button BtRateUp;
  ui::Label LTime;
  ui::Label LTimeInd;
  ui::GroupBox GBScreenSaver;
  ui::CheckBox CBRSS;
  ui::CheckBox CBRunWithStartUp;
  ui::Button BtShowPlayList;
  ui::Button BtSCC;
  ui::ImageList ImageList;
  ui::ToolBar TB;
  ui::StatusBar StatusBar;

  ui::Timer Timer;
  ui::Timer Timer2;
  ui::Timer HintTimer;
  // Moves on from an entry that did not render.
  ui::Timer MoveOnTimer;

  ui::MainMenu MainMenu;
  ui::MenuItem &File1, &Open, &Languages1, &Defoult1, &Skins1, &StandartWindows1, &Show1, &PlayList1, &ColorControl1,
      &Help, &About;
  ui::PopupMenu TrayPopup;
  ui::MenuItem &ItPlay, &ItPause, &ItNext, &ItPrevious, &ItOpen, &ItOptions, &ItExit;

  // What the about window asks of the player.
  void ShowSettings() override { RunSettings(); }

 protected:
  void FormCreate() override;
  void FormShow() override;
  void FormCloseQuery(bool& canClose) override;
  void FormClose() override;
  void FormDestroy();
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void DpiChanged(int oldDpi) override;

 private:
  // The playlist window's view of the player.
  int32_t CurrentIndex() const override { return PlayingIndex; }
  void PlayEntry(int32_t index) override { PlayIndex(index); }
  void StopPlayback() override { Stop(); }
  void SetRepeatMode(bool repeat) override { Repeat = repeat; }
  void SetRandomMode(bool random) override { Random = random; }
  bool RepeatMode() const override { return Repeat; }
  bool RandomMode() const override { return Random; }
  void PlayListWindowClosed() override { PlayListVisible = false; }
  // The colour-control window's view of the player.
  engine::TColorControl& VideoColorControl() override { return DSVideoWindowEx2.ColorControl(); }
  const engine::TDSVideoWindowEx2Caps& VideoCapabilities() override { return DSVideoWindowEx2.Capabilities(); }
  void ShowHint(const std::wstring& text) override { ShowMainHint(text); }
  void ColorControlWindowClosed() override { ColorControlVisible = false; }
  // The play-next flow's view of the player.
  int32_t EntryCount() const override { return PlayListCount(); }
  std::string EntryFile(int32_t index) const override;
  PlayModes Modes() const override { return {Repeat, Random, clipChange_ ? clipChange_->ChangeEvery() : 0}; }
  int32_t PlayingEntry() const override { return PlayingIndex; }
  int TransitionMs() const override { return clipChange_ ? clipChange_->Transition() : 0; }
  void ClipEnded() override {
    EndReached = true;
    failedInARow_ = 0;
  }
  void EntryLooped(int32_t index) override;
  void EntryTookOver(int32_t index) override;
  void StartEntry(int32_t index) override { PlayIndex(index); }
  void PreparationFailed(const std::string& message) override { ShowClipFailure(message); }

  // Where the monitors' own states are kept: in the settings store, beside the playlist's.
  std::optional<MonitorPlayState> ReadMonitorState(const std::wstring& identity) override;
  void WriteMonitorState(const std::wstring& identity, const MonitorPlayState& state) override;
  std::wstring ReadPrimaryIdentity() override;
  void WritePrimaryIdentity(const std::wstring& identity) override;
  // The players of the other monitors run once the start step put the clip on
  // the desktop, while "Show on" gives each monitor its own playlist.
  void FollowShowOn();
  // The playlist window offers each monitor's list, the primary's first.
  void OfferMonitorLists();
  // Each monitor's clip pauses by the same switches as the primary's.
  std::unique_ptr<MonitorPlayerExtra> MakeMonitorExtra(MonitorPlayer& player);
  void FollowIdleSwitches(const IdleSwitches& switches);
  // Another monitor became the primary with a list of its own: this window plays it from now on.
  void TakePrimaryList(std::vector<TPlayListEntry> list, const MonitorPlayState& state);

  void BindHandlers();
  void PreviewPlacement();
  void DesktopPlacement();
  void SetRateStep(int step) { rateStep_ = step; }
  void ApplyRateStep(int step);
  // Renders an entry's file and runs it; a file that does not render or run
  // gets the standard error box, and the player moves on to the next entry.
  [[nodiscard]] bool StartEntry(const std::wstring& path);
  // The current entry failed: the next one starts (unless every entry has
  // failed in a row), and the failure is shown.
  void EntryFailed(const std::string& message);
  // A clip that failed half-way.
  void ClipAborted(const std::string& message);
  // Shown by the standard error box from the message loop, so that a box
  // waiting for the user holds neither the start-up nor the graph's events up.
  void ShowClipFailure(std::string message);
  // The number of playlist entries; 0 while the playlist window does not exist
  // (a create step that stopped early).
  int32_t PlayListCount() const;
  // Runs the close step for a log-off or shut-down: every part is tried, and a
  // failure is not shown, since a box would hold the session's end up.
  void EndForSession();

  // The failure of the stored skin at start, shown once the message loop runs.
  static constexpr UINT kStartSkinFailureMessage = WM_APP + 30;
  std::string startSkinFailure_;
  static constexpr UINT kClipFailureMessage = WM_APP + 31;
  std::vector<std::string> clipFailures_;
  // The create step runs: failures wait until it has set its timer.
  bool creating_ = false;
  // The entry whose position the settings kept: the resume step seeks only that one.
  int32_t savedIndex_ = 0;

  std::unique_ptr<engine::TFilterGraph> filterGraph_;
  // The video window's picture host, which it owns.
  desktop::DesktopStage* desktopStage_ = nullptr;
  // Entries that failed, one after the other (not rendered, or failed half-way):
  // moving on stops when all have failed. A clip played to its end starts the count again.
  int32_t failedInARow_ = 0;
  std::unique_ptr<ClipAbortWatch> abortWatch_;
  std::unique_ptr<IdlePauseControl> idlePause_;
  std::unique_ptr<ShowOnMenu> showOn_;
  std::unique_ptr<MonitorPlayers> monitorPlayers_;
  bool onDesktopOnce_ = false;  // the start step has run
  std::unique_ptr<ClipChangeMenu> clipChange_;
  std::unique_ptr<ClipChain> clipChain_;
  std::unique_ptr<TTrayIcon> trayIcon_;
  std::unique_ptr<ui::HintWindow> mainHint_;
  std::unique_ptr<TLumorixColorControlForm> colorControlForm_;
  std::unique_ptr<TLumorixPlayListForm> playListForm_;
  RandomPick randomPick_{FreshSeed()};
  int rateStep_ = 0;  // the Tag of BtRateUp: the position on the rate ladder
  ui::ToolButton* btPlayPause_ = nullptr;
};

}  // namespace lumorix
