// A failure that escapes a handler is shown in the standard error box and the program goes on.
#include <gtest/gtest.h>

#include <vector>

#include "tests/support/gui_test.h"
#include "tests/support/test_form.h"
#include "ui/application.h"
#include "ui/button.h"
#include "ui/exception.h"
#include "ui/form.h"

using namespace lumorix;
using lumorix::test::TestForm;

TEST(ErrorBox, ShowsTheMessageWithAFullStopAndSkipsTheRestOfTheHandler) {
  test::ErrorRecorder errors;
  TestForm form(L"Errors", 200, 100);
  ui::Button button(form.Handle(), {0, 0, 80, 25}, L"Go");
  // A handler of two steps whose first step fails on the first click only.
  std::vector<int> stepsRun;
  bool firstStepFails = true;
  auto firstStep = [&] {
    stepsRun.push_back(1);
    if (firstStepFails) throw ui::Exception("List index out of bounds (3)");
  };
  button.OnClick = [&] {
    firstStep();
    stepsRun.push_back(2);
  };
  SendMessageW(button.Handle(), BM_CLICK, 0, 0);
  ASSERT_EQ(errors.Boxes().size(), 1u);
  EXPECT_EQ(errors.Boxes()[0].text, L"List index out of bounds (3).");
  EXPECT_EQ(errors.Boxes()[0].title, L"Lumorix - settings");
  EXPECT_EQ(stepsRun, (std::vector<int>{1}));

  // The program goes on: the window still answers, and the next click runs the whole handler.
  firstStepFails = false;
  SendMessageW(button.Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(stepsRun, (std::vector<int>{1, 1, 2}));
  EXPECT_EQ(errors.Boxes().size(), 1u);
}

TEST(ErrorBox, MessageEndingInAFullStopKeepsIt) {
  test::ErrorRecorder errors;
  TestForm form(L"Errors", 200, 100);
  ui::Button button(form.Handle(), {0, 0, 80, 25}, L"Go");
  button.OnClick = [] { throw ui::Exception("Cannot play ($80040265)."); };
  SendMessageW(button.Handle(), BM_CLICK, 0, 0);
  ASSERT_EQ(errors.Boxes().size(), 1u);
  EXPECT_EQ(errors.Boxes()[0].text, L"Cannot play ($80040265).");
}
