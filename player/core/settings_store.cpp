// Loading the settings into the settings window at start and saving them at exit.
#include "common/clip_sequence.h"
#include "common/monitor_layout.h"
#include "common/monitor_lists.h"
#include "common/settings_layout.h"
#include "platform/text.h"
#include "player/colour/color_control_form.h"
#include "player/core/main_form.h"
#include "player/core/settings_registry.h"
#include "platform/user_settings.h"

namespace lumorix {

namespace {
SettingsRegistry& DefaultRegistry() {
  static SettingsRegistry registry;
  return registry;
}
SettingsRegistry* registryOverride = nullptr;
SettingsRegistry& Registry() { return registryOverride ? *registryOverride : DefaultRegistry(); }

// One key of the settings open for a scope: the registry holds one open key at a time.
class OpenedKey {
 public:
  explicit OpenedKey(const std::string& path) : registry_(Registry()) { registry_.OpenKey(path); }
  ~OpenedKey() { registry_.CloseKey(); }
  OpenedKey(const OpenedKey&) = delete;
  OpenedKey& operator=(const OpenedKey&) = delete;
  SettingsRegistry* operator->() const { return &registry_; }

 private:
  SettingsRegistry& registry_;
};
}  // namespace

void UseSettingsRegistry(SettingsRegistry* registry) { registryOverride = registry; }

namespace {

// Each monitor's state in a key of its own below the playlist's, named as its list file is.
std::string MonitorStateKey(const std::wstring& identity) {
  return std::string(kPlayListKey) + "\\Monitors\\" + Narrow(MonitorNamePart(identity));
}

}  // namespace

std::optional<MonitorPlayState> TLumorixMainForm::ReadMonitorState(const std::wstring& identity) {
  OpenedKey registry(MonitorStateKey(identity));
  // A state that cannot be read is no reason to lose the monitor's list: it starts from the list's start.
  try {
    if (registry->ReadString("Identity").empty()) return std::nullopt;
    return MonitorPlayState{registry->ReadInteger("PlayingIndex"), registry->ReadBool("Repeat"),
                            registry->ReadBool("Random"), registry->ReadInteger("Position")};
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

std::wstring TLumorixMainForm::ReadPrimaryIdentity() {
  OpenedKey registry(kPlayListKey);
  try {
    return Widen(registry->ReadString("PrimaryMonitor"));
  } catch (const std::exception&) {
    // Unreadable: as before the first save, the primary now owns the playlist file.
    return {};
  }
}

void TLumorixMainForm::WritePrimaryIdentity(const std::wstring& identity) {
  OpenedKey registry(kPlayListKey);
  registry->WriteString("PrimaryMonitor", Narrow(identity));
}

void TLumorixMainForm::WriteMonitorState(const std::wstring& identity, const MonitorPlayState& state) {
  OpenedKey registry(MonitorStateKey(identity));
  registry->WriteString("Identity", Narrow(identity));
  registry->WriteInteger("PlayingIndex", state.playingIndex);
  registry->WriteBool("Repeat", state.repeat);
  registry->WriteBool("Random", state.random);
  registry->WriteInteger("Position", state.position);
}

void TLumorixMainForm::LoadSaveOptions(bool load) {
  // A create step that stopped before the companion windows existed loaded
  // nothing, so there is nothing to save either.
  if (!colorControlForm_) return;
  SettingsRegistry& registry = Registry();
  TLumorixColorControlForm& colours = *colorControlForm_;
  // A user's first start: the installer's defaults become the user's own.
  if (load) (void)CopyMachineSettingsOnce();
  registry.OpenKey(kSettingsKey);
  if (load) {
    CBRSS.SetChecked(registry.ReadBool("Replace Screen Saver"), false);
    // Exactly once per load: a second install would record our own screen saver as the one to restore.
    InsatllScreenSaver(CBRSS.Checked());
    Language = Widen(registry.ReadString("Language"));
    SetLanguage(Language);
    Skin = Widen(registry.ReadString("Skin"));
    // A skin that cannot be applied costs its look, not the start: the load
    // goes on, the clip plays, and the box comes once the start is done.
    try {
      SetSkin(Skin);
    } catch (const std::exception& failure) {
      startSkinFailure_ = failure.what();
    }
    CBRunWithStartUp.SetChecked(registry.ReadBool("StartUp"));
    // Newer than the installer's layout: missing or mistyped values read as on, never fail.
    IdleSwitches switches;
    switches.whenCovered = DecodeSwitch(registry.Read(kPauseWhenCovered), true);
    switches.onBattery = DecodeSwitch(registry.Read(kPauseOnBattery), true);
    switches.whenLocked = DecodeSwitch(registry.Read(kPauseWhenLocked), true);
    switches.whenRemote = DecodeSwitch(registry.Read(kPauseWhenRemote), true);
    idlePause_->SetSwitches(switches);
    showOn_->Set(DecodeShowOn(registry.Read(kShowOn)));

    registry.OpenSubKey("Audio");
    TBBalance.SetPosition(registry.ReadInteger("Balance"));
    TBVolume.SetPosition(registry.ReadInteger("Volume"));
    PlayListVisible = registry.ReadBool("PlayListVisible");
    ColorControlVisible = registry.ReadBool("ColorControlVisible");
    registry.CloseKey();

    registry.OpenKey(kColorKey);
    colours.TBBrightness.SetPosition(registry.ReadInteger("Brightness"));
    colours.TBContrast.SetPosition(registry.ReadInteger("Contrast"));
    colours.TBGamma.SetPosition(registry.ReadInteger("Gamma"));
    colours.TBHue.SetPosition(registry.ReadInteger("Hue"));
    colours.TBSaturation.SetPosition(registry.ReadInteger("Saturation"));
    colours.TBSharpness.SetPosition(registry.ReadInteger("Sharpness"));
    registry.CloseKey();

    registry.OpenKey(kVideoKey);
    PlayRate = registry.ReadFloat("Rate");
    StartPosition = registry.ReadInteger("Position");
    registry.CloseKey();

    registry.OpenKey(kPlayListKey);
    PlayingIndex = registry.ReadInteger("PlayingIndex");
    Random = registry.ReadBool("Random");
    Repeat = registry.ReadBool("Repeat");
    clipChange_->SetTransition(DecodeTransition(registry.Read(kTransition)));
    clipChange_->SetChangeEvery(DecodeChangeEvery(registry.Read(kChangeClipEvery)));
    registry.CloseKey();
    return;
  }

  registry.WriteBool("Replace Screen Saver", CBRSS.Checked());
  registry.WriteString("Language", Narrow(Language));
  registry.WriteString("Skin", Narrow(Skin));
  registry.WriteBool("StartUp", CBRunWithStartUp.Checked());
  registry.WriteBool(kPauseWhenCovered, idlePause_->Switches().whenCovered);
  registry.WriteBool(kPauseOnBattery, idlePause_->Switches().onBattery);
  registry.WriteBool(kPauseWhenLocked, idlePause_->Switches().whenLocked);
  registry.WriteBool(kPauseWhenRemote, idlePause_->Switches().whenRemote);
  registry.WriteInteger(kShowOn, static_cast<int32_t>(showOn_->Get()));

  registry.OpenSubKey("Audio");
  registry.WriteInteger("Balance", TBBalance.Position());
  registry.WriteInteger("Volume", TBVolume.Position());
  registry.WriteBool("PlayListVisible", PlayListVisible);
  registry.WriteBool("ColorControlVisible", ColorControlVisible);
  registry.CloseKey();

  registry.OpenKey(kColorKey);
  registry.WriteInteger("Brightness", colours.TBBrightness.Position());
  registry.WriteInteger("Contrast", colours.TBContrast.Position());
  registry.WriteInteger("Gamma", colours.TBGamma.Position());
  registry.WriteInteger("Hue", colours.TBHue.Position());
  registry.WriteInteger("Saturation", colours.TBSaturation.Position());
  registry.WriteInteger("Sharpness", colours.TBSharpness.Position());
  registry.CloseKey();

  registry.OpenKey(kVideoKey);
  registry.WriteFloat("Rate", filterGraph_->Rate());
  registry.WriteInteger("Position", TBPosition.Position());
  registry.CloseKey();

  registry.OpenKey(kPlayListKey);
  registry.WriteInteger("PlayingIndex", PlayingIndex);
  registry.WriteBool("Random", Random);
  registry.WriteBool("Repeat", Repeat);
  registry.WriteInteger(kTransition, clipChange_->Transition());
  registry.WriteInteger(kChangeClipEvery, clipChange_->ChangeEvery());
  registry.CloseKey();
}

}  // namespace lumorix
