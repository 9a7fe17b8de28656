#include "player/core/idle_pause_control.h"

namespace lumorix {

namespace {

constexpr int kPlaying = 3;
constexpr int kPaused = 2;

// Several changes settled at once: a pause and a resume cancel out.
class NetAction {
 public:
  void Add(IdleAction action) {
    if (action == IdleAction::None) return;
    net_ = net_ == IdleAction::None ? action : (net_ == action ? action : IdleAction::None);
  }
  IdleAction Get() const { return net_; }

 private:
  IdleAction net_ = IdleAction::None;
};

}  // namespace

IdlePauseControl::IdlePauseControl(engine::TFilterGraph& graph, engine::TDSVideoWindowEx2& video,
                                   ui::MenuItem& showMenu)
    : ItPauseWhenCovered((showMenu.AddSeparator(), showMenu.Add(L"Pause when covered by a &window"))),
      ItPauseOnBattery(showMenu.Add(L"Pause on &battery")),
      ItPauseWhenLocked(showMenu.Add(L"Pause when loc&ked or the display is off")),
      ItPauseWhenRemote(showMenu.Add(L"Pause in a &remote session")),
      graph_(graph),
      video_(video) {
  ItPauseWhenCovered.OnClick = [this] { SwitchClicked(ItPauseWhenCovered, &IdleSwitches::whenCovered); };
  ItPauseOnBattery.OnClick = [this] { SwitchClicked(ItPauseOnBattery, &IdleSwitches::onBattery); };
  ItPauseWhenLocked.OnClick = [this] { SwitchClicked(ItPauseWhenLocked, &IdleSwitches::whenLocked); };
  ItPauseWhenRemote.OnClick = [this] { SwitchClicked(ItPauseWhenRemote, &IdleSwitches::whenRemote); };
  SetSwitches(switches_);
  watch_.OnSettle = [this] { Settle(); };
  graph_.AddListener(this);
}

IdlePauseControl::~IdlePauseControl() {
  graph_.RemoveListener(this);
  watch_.OnSettle = nullptr;
}

void IdlePauseControl::SetSwitches(const IdleSwitches& switches) {
  switches_ = switches;
  ItPauseWhenCovered.SetChecked(switches.whenCovered);
  ItPauseOnBattery.SetChecked(switches.onBattery);
  ItPauseWhenLocked.SetChecked(switches.whenLocked);
  ItPauseWhenRemote.SetChecked(switches.whenRemote);
  watch_.RequestSettle();
}

void IdlePauseControl::SwitchClicked(ui::MenuItem& item, bool IdleSwitches::*flag) {
  IdleSwitches switches = switches_;
  switches.*flag = !item.Checked();
  SetSwitches(switches);
  if (OnSwitchesChanged) OnSwitchesChanged(switches_);
}

void IdlePauseControl::ControlEvent(engine::TGraphNotice notice, int param) {
  if (acting_) return;
  switch (notice) {
    case engine::gnPlay:
      notices_.push_back(Notice::Ran);
      break;
    case engine::gnPause:
    case engine::gnStop:
      notices_.push_back(Notice::Halted);
      break;
    case engine::gnActive:
      if (param != 0) return;
      notices_.push_back(Notice::Halted);  // the graph went, and its clip with it
      break;
    default:
      return;
  }
  // The notice comes before the graph changes state: act once it has.
  watch_.RequestSettle();
}

IdleSight IdlePauseControl::CurrentSight() const {
  IdleSight sight;
  // Full screen is the player's screen-saver mode.
  sight.desktopPlayback = video_.DesktopMode();
  sight.screenSaverMode = video_.FullScreenMode();
  sight.previewShown = !video_.DesktopMode() && !video_.FullScreenMode();
  const SystemSight& system = watch_.Sight();
  sight.covered = system.covered;
  sight.fullScreenProgram = system.fullScreenProgram;
  sight.sessionAway = system.sessionAway;
  sight.displayOff = system.displayOff;
  sight.onBattery = system.onBattery;
  sight.remoteSession = system.remoteSession;
  return sight;
}

void IdlePauseControl::Settle() {
  NetAction net;
  for (Notice notice : notices_) net.Add(notice == Notice::Ran ? rule_.ClipRunning() : rule_.ClipHalted());
  notices_.clear();
  net.Add(rule_.SetSwitches(switches_));
  // Covering windows are looked for only while they could matter: a clip
  // meant to run on the desktop with the switch on.
  const bool watchCovers = video_.DesktopMode() && switches_.whenCovered && rule_.Running();
  watch_.WatchCovers(watchCovers ? video_.Handle() : nullptr);
  net.Add(rule_.SetSight(CurrentSight()));
  Apply(net.Get());
}

void IdlePauseControl::Apply(IdleAction action) {
  const int wanted = action == IdleAction::Pause ? kPlaying : kPaused;
  if (action == IdleAction::None || graph_.State() != wanted) return;
  acting_ = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{acting_};
  (void)(action == IdleAction::Pause ? graph_.Pause() : graph_.Play());
}

}  // namespace lumorix
