// Prepares a demonstration run of an installed player: the shipped Radorur
// skin chosen, the playlist window closed and a playlist holding the given
// clips, both as the file beside the player (every new user's first list)
// and as this user's own. Settings the installer wrote stay; ones missing
// (no installation) get the installer's defaults.
// Usage: demo_seed PLAYLIST_FILE CLIP...
//        demo_seed --show-settings   (asks the running player for its settings window)
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/playlist_entry.h"
#include "common/settings_layout.h"
#include "platform/registry.h"
#include "platform/text.h"
#include "platform/user_files.h"
#include "platform/user_settings.h"

int wmain(int argc, wchar_t** argv) {
  using namespace lumorix;
  if (argc == 2 && std::wstring(argv[1]) == L"--show-settings") {
    // The command the screen-saver program sends for "configure".
    HWND player = nullptr;
    for (int attempt = 0; attempt < 100 && !player; ++attempt, Sleep(100))
      player = FindWindowW(L"TLumorixMainForm", nullptr);
    if (!player) return 1;
    SendMessageW(player, WM_USER + 100, 1, 0);
    return 0;
  }
  if (argc < 2) {
    std::fprintf(stderr, "usage: demo_seed PLAYLIST_FILE CLIP...\n");
    return 2;
  }
  // The user's own settings, as the player's first start makes them.
  (void)CopyMachineSettingsOnce();
  for (const SettingsDefault& value : InstallerDefaults(false)) {
    RegistryKey key = CreateUserSettings(value.key);
    if (key.Read(value.name)) continue;
    if (!key.Write(value.name, value.value)) {
      std::fprintf(stderr, "cannot write %s\n", value.name);
      return 1;
    }
  }
  // Start at full volume with the playlist window closed, so the desktop stays clear.
  (void)CreateUserSettings(kAudioKey).Write("PlayListVisible", EncodeInteger(0));
  // The skin installed beside the player, whose playlist file is the first argument.
  wchar_t full[MAX_PATH] = {};
  std::wstring playList = GetFullPathNameW(argv[1], MAX_PATH, full, nullptr) ? full : argv[1];
  std::wstring folder = playList.substr(0, playList.find_last_of(L"\\/") + 1);
  std::wstring skin = folder + L"Skins\\Radorur.skn\\Skin.ini";
  if (!CreateUserSettings(kSettingsKey).Write("Skin", EncodeString(WideToAnsi(skin)))) {
    std::fprintf(stderr, "cannot write Skin\n");
    return 1;
  }
  std::vector<TPlayListEntry> entries;
  for (int i = 2; i < argc; ++i) entries.push_back(EntryFromFileName(WideToAnsi(argv[i])));
  std::vector<uint8_t> contents = EncodePlayList(entries);
  std::wstring own = platform::UserDataFolder(true);
  if (own.empty()) {
    std::fprintf(stderr, "cannot make the user's folder for the playlist\n");
    return 1;
  }
  bool written = true;
  for (const std::wstring& path : {playList, own + platform::PlayListNameOf(playList)}) {
    std::ofstream file(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(contents.data()), static_cast<std::streamsize>(contents.size()));
    written = static_cast<bool>(file) && written;
  }
  return written ? 0 : 1;
}
