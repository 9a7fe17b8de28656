#include "player/core/show_on_menu.h"

namespace lumorix {

ShowOnMenu::ShowOnMenu(ui::MenuItem& showMenu, engine::TDSVideoWindowEx2& video)
    : ItShowOnPrimary((showMenu.AddSeparator(), showMenu.Add(L"Show on the &primary monitor"))),
      ItShowOnEvery(showMenu.Add(L"Show on &every monitor")),
      ItShowAcross(showMenu.Add(L"Show &across all monitors")),
      ItShowEachOwnList(showMenu.Add(L"Show on each monitor its &own playlist")),
      video_(video) {
  for (ui::MenuItem* item : {&ItShowOnPrimary, &ItShowOnEvery, &ItShowAcross, &ItShowEachOwnList}) item->SetRadio(true);
  ItShowOnPrimary.OnClick = [this] { Set(ShowOn::PrimaryMonitor); };
  ItShowOnEvery.OnClick = [this] { Set(ShowOn::EveryMonitor); };
  ItShowAcross.OnClick = [this] { Set(ShowOn::AcrossMonitors); };
  ItShowEachOwnList.OnClick = [this] { Set(ShowOn::EachMonitorOwnList); };
  Set(video_.GetShowOn());
}

void ShowOnMenu::Set(ShowOn mode) {
  video_.SetShowOn(mode);
  ItShowOnPrimary.SetChecked(mode == ShowOn::PrimaryMonitor);
  ItShowOnEvery.SetChecked(mode == ShowOn::EveryMonitor);
  ItShowAcross.SetChecked(mode == ShowOn::AcrossMonitors);
  ItShowEachOwnList.SetChecked(mode == ShowOn::EachMonitorOwnList);
  if (OnChange) OnChange(mode);
}

}  // namespace lumorix
