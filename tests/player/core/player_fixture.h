#pragma once
// Starts the real settings window in the test process against the real registry.
#include <gtest/gtest.h>

#include <memory>

#include "common/playlist_entry.h"
#include "platform/text.h"
#include "player/core/main_form.h"
#include "player/playlist/playlist_form.h"
#include "tests/support/media.h"
#include "tests/support/gui_test.h"
#include "tests/support/registry_fixture.h"
#include "ui/application.h"

namespace lumorix::test {

class PlayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SeedInstallerDefaults();
    WritePlayList({});
    ui::Application::Instance().ClearTermination();
  }

  // Writes this user's playlist file with the given test clips.
  static void WritePlayList(const std::vector<std::string>& clips) {
    std::vector<TPlayListEntry> entries;
    for (const std::string& clip : clips) entries.push_back(EntryFromFileName(WideToAnsi(Clip(clip))));
    std::vector<uint8_t> contents = EncodePlayList(entries);
    HANDLE file = CreateFileW(TLumorixPlayListForm::PlayListFileName(true).c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, contents.data(), static_cast<DWORD>(contents.size()), &written, nullptr);
    CloseHandle(file);
  }
  void TearDown() override {
    player.reset();
    ui::Application::Instance().ClearTermination();
    // A Terminate posted WM_QUIT: left in the queue it would end the next
    // test's first modal loop (an open dialog) before it shows.
    MSG quit;
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
  }

  // Creates the settings window and runs its create step.
  TLumorixMainForm& StartPlayer() {
    player = std::make_unique<TLumorixMainForm>();
    player->Initialize();
    return *player;
  }

  ErrorRecorder errors;
  std::unique_ptr<TLumorixMainForm> player;
};

}  // namespace lumorix::test
