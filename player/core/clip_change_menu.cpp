#include "player/core/clip_change_menu.h"

namespace lumorix {

namespace {
constexpr const wchar_t* kTransitionCaptions[] = {L"&None", L"Crossfade &0.5 s", L"Crossfade &1 s", L"Crossfade &2 s"};
constexpr const wchar_t* kChangeEveryCaptions[] = {L"&Off",        L"&1 minute",   L"&5 minutes", L"1&0 minutes",
                                                   L"15 m&inutes", L"&30 minutes", L"&60 minutes"};
}  // namespace

ClipChangeMenu::ClipChangeMenu(ui::MenuItem& showMenu)
    : ItTransition((showMenu.AddSeparator(), showMenu.Add(L"&Transition"))),
      ItChangeEvery(showMenu.Add(L"C&hange clip every")) {
  for (size_t i = 0; i < TransitionItems.size(); ++i) {
    TransitionItems[i] = &ItTransition.Add(kTransitionCaptions[i]);
    TransitionItems[i]->SetRadio(true);
    TransitionItems[i]->OnClick = [this, i] { SetTransition(kTransitionChoices[i]); };
  }
  for (size_t i = 0; i < ChangeEveryItems.size(); ++i) {
    ChangeEveryItems[i] = &ItChangeEvery.Add(kChangeEveryCaptions[i]);
    ChangeEveryItems[i]->SetRadio(true);
    ChangeEveryItems[i]->OnClick = [this, i] { SetChangeEvery(kChangeEveryChoices[i]); };
  }
  SetTransition(0);
  SetChangeEvery(0);
}

void ClipChangeMenu::SetTransition(int32_t milliseconds) {
  transition_ = ValidTransition(milliseconds);
  for (size_t i = 0; i < TransitionItems.size(); ++i)
    TransitionItems[i]->SetChecked(kTransitionChoices[i] == transition_);
}

void ClipChangeMenu::SetChangeEvery(int32_t minutes) {
  changeEvery_ = ValidChangeEvery(minutes);
  for (size_t i = 0; i < ChangeEveryItems.size(); ++i)
    ChangeEveryItems[i]->SetChecked(kChangeEveryChoices[i] == changeEvery_);
  if (OnChangeEvery) OnChangeEvery(changeEvery_);
}

}  // namespace lumorix
