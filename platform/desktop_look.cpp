#include "platform/desktop_look.h"

#include "common/settings_layout.h"
#include "platform/registry.h"
#include "platform/text.h"

namespace lumorix::platform {

namespace {

constexpr char kDesktopKey[] = "Control Panel\\Desktop";
constexpr char kKeptWallpaper[] = "DesktopPlaybackWallPaper";
constexpr char kKeptColour[] = "DesktopPlaybackColor";
constexpr char kKeptHasWallpaper[] = "DesktopPlaybackHasWallPaper";

void SetDesktopColour(COLORREF colour) {
  INT element = COLOR_BACKGROUND;
  (void)SetSysColors(1, &element, &colour);
}

}  // namespace

DesktopLook ReadDesktopLook() {
  DesktopLook look;
  RegistryKey desktop = RegistryKey::Open(HKEY_CURRENT_USER, kDesktopKey, KEY_READ);
  if (auto value = desktop.Read("WallPaper")) look.wallpaper = Widen(DecodeString("WallPaper", value));
  look.colour = GetSysColor(COLOR_BACKGROUND);
  return look;
}

void ApplyPlaybackLook(COLORREF colour) {
  RegistryKey desktop = RegistryKey::Open(HKEY_CURRENT_USER, kDesktopKey);
  if (desktop.Read("WallPaper")) (void)desktop.Write("WallPaper", EncodeString(""));
  // An empty name removes the wallpaper on every Windows; a null one no longer does.
  wchar_t none[] = L"";
  (void)SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, none, SPIF_SENDCHANGE);
  SetDesktopColour(colour);
}

void RestoreDesktopLook(const DesktopLook& look) {
  if (look.wallpaper) {
    RegistryKey desktop = RegistryKey::Open(HKEY_CURRENT_USER, kDesktopKey);
    (void)desktop.Write("WallPaper", EncodeString(Narrow(*look.wallpaper)));
    std::wstring path = *look.wallpaper;
    (void)SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, path.data(), SPIF_SENDCHANGE);
  }
  SetDesktopColour(look.colour);
}

void KeepInterruptedLook(const DesktopLook& look) {
  RegistryKey settings = RegistryKey::Create(HKEY_CURRENT_USER, kSettingsKey);
  (void)settings.Write(kKeptWallpaper, EncodeString(Narrow(look.wallpaper.value_or(L""))));
  (void)settings.Write(kKeptHasWallpaper, EncodeBool(look.wallpaper.has_value()));
  (void)settings.Write(kKeptColour, EncodeInteger(static_cast<int32_t>(look.colour)));
}

namespace {

void ForgetKept(HKEY root) {
  RegistryKey settings = RegistryKey::Open(root, kSettingsKey);
  (void)settings.DeleteValue(kKeptWallpaper);
  (void)settings.DeleteValue(kKeptHasWallpaper);
  (void)settings.DeleteValue(kKeptColour);
}

bool RestoreKept(HKEY root) {
  RegistryKey settings = RegistryKey::Open(root, kSettingsKey, KEY_READ);
  auto colour = settings.Read(kKeptColour);
  if (!colour) return false;
  DesktopLook look;
  bool usable = true;
  try {
    look.colour = static_cast<COLORREF>(DecodeInteger(kKeptColour, colour));
    if (DecodeBool(kKeptHasWallpaper, settings.Read(kKeptHasWallpaper)))
      look.wallpaper = Widen(DecodeString(kKeptWallpaper, settings.Read(kKeptWallpaper)));
  } catch (const SettingsError&) {
    usable = false;  // a damaged copy is dropped rather than applied
  }
  settings.Close();
  if (usable) RestoreDesktopLook(look);
  ForgetKept(root);
  return usable;
}

}  // namespace

void ForgetInterruptedLook() { ForgetKept(HKEY_CURRENT_USER); }

bool RestoreInterruptedLook(HKEY root) { return RestoreKept(root); }

}  // namespace lumorix::platform
