#pragma once
// When a clip on the desktop may stop costing anything: the rule that holds
// it paused while nobody can see it (covered, a full-screen program, locked,
// display off), while the machine runs on battery or in a remote session,
// and lets it go again afterwards. The rule only ever resumes a pause it made
// itself; a pause or stop from anyone else ends its hold for good.
namespace lumorix {

enum class IdleAction {
  None,
  Pause,   // pause the graph now, leaving the transport display alone
  Resume,  // run the graph again, where it was
};

// What the player and the system say right now.
struct IdleSight {
  bool desktopPlayback = false;    // the clip is the desktop picture
  bool screenSaverMode = false;    // full-screen screen-saver playback
  bool previewShown = false;       // the settings window shows the clip
  bool covered = false;            // windows hide the desktop on every monitor of the playback
  bool fullScreenProgram = false;  // the shell reports full-screen Direct3D or presentation mode
  bool sessionAway = false;        // locked, or switched to another session
  bool displayOff = false;
  bool onBattery = false;      // or battery saver
  bool remoteSession = false;  // the session is shown on another machine
};

// The user's switches; each is on unless turned off.
struct IdleSwitches {
  bool whenCovered = true;  // also a full-screen program the shell reports
  bool onBattery = true;
  // Also covers a display that is off: nobody is at the screen either way.
  bool whenLocked = true;
  bool whenRemote = true;
};

class IdlePause {
 public:
  // Someone else ran the graph: the user's Play, or a new clip started.
  // While a reason holds this asks for the pause again.
  [[nodiscard]] IdleAction ClipRunning();
  // Someone else paused or stopped the graph (or it went away): the hold is
  // given up and never resumed.
  [[nodiscard]] IdleAction ClipHalted();
  [[nodiscard]] IdleAction SetSight(const IdleSight& sight);
  [[nodiscard]] IdleAction SetSwitches(const IdleSwitches& switches);

  const IdleSight& Sight() const { return sight_; }
  const IdleSwitches& Switches() const { return switches_; }
  // The clip is meant to run (as far as anyone but this rule is concerned).
  bool Running() const { return running_; }
  // The clip is paused by this rule, waiting to be resumed.
  bool Holding() const { return holding_; }
  // Whether a pause is called for now, whatever the clip does.
  bool ReasonToPause() const;

 private:
  IdleAction Settle();

  IdleSight sight_;
  IdleSwitches switches_;
  bool running_ = false;
  bool holding_ = false;
};

}  // namespace lumorix
