#pragma once
// Starts the real settings window in the test process against the real registry.
#include <gtest/gtest.h>

#include <memory>

#include "player/core/main_form.h"
#include "tests/support/gui_test.h"
#include "tests/support/registry_fixture.h"
#include "ui/application.h"

namespace lumorix::test {

class PlayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SeedInstallerDefaults();
    ui::Application::Instance().ClearTermination();
  }
  void TearDown() override {
    player.reset();
    ui::Application::Instance().ClearTermination();
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
