#pragma once
// The playlist window and the user's playlist file.
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "common/playlist_entry.h"
#include "platform/files.h"
#include "player/playlist/playlist_owner.h"
#include "ui/combo_box.h"
#include "ui/form.h"
#include "ui/image_list.h"
#include "ui/list_box.h"
#include "ui/scaled_font.h"
#include "ui/tool_bar.h"

namespace lumorix {

class TLumorixPlayListForm : public ui::Form {
 public:
  explicit TLumorixPlayListForm(IPlayListOwner& owner);

  // Runs the create step (loads the playlist file).
  void Initialize() { FinishCreate(); }

  void LoadSavePlayList(bool load);
  // The user's own playlist file, in their local application data
  // ("Vantrel\Lumorix\"): the program's file name with the extension
  // ".Lumorixpl". The program folder is the administrators', shared by every
  // user, and a standard user's player cannot write there. `makeFolder`
  // makes its folder where it is missing.
  static std::wstring PlayListFileName(bool makeFolder = false);
  // The file of that name beside the program, which seeds a user's first list.
  static std::wstring SeedFileName();

  // The playlist file's list, which the player plays (on the primary monitor
  // when each monitor has its own).
  int Count() const { return static_cast<int>(entries_.size()); }
  // The entry at `index`; raises "List index out of bounds (%d)" for any other index.
  const TPlayListEntry& Entry(int index) const;
  const std::vector<TPlayListEntry>& Entries() const { return entries_; }
  // Another list in the playlist file's place (another monitor became the primary).
  void ReplaceEntries(std::vector<TPlayListEntry> entries);

  // With a list of its own on each monitor the window edits one of them,
  // chosen in a box above the list. The first choice is always the playlist
  // file's own list (`list` and `owner` are not looked at); the others' lists
  // and players must outlive the choices. No choices: the box is hidden.
  struct ListChoice {
    std::wstring name;
    std::vector<TPlayListEntry>* list = nullptr;
    IPlayListOwner* owner = nullptr;
  };
  void SetListChoices(std::vector<ListChoice> choices);
  // The list shown and edited now: 0 the playlist file's, else a monitor's.
  int ShownChoice() const { return shown_; }
  void ShowChoice(int index);
  int ShownCount() const { return static_cast<int>(Shown().size()); }
  ui::ComboBox CBMonitor;

  // Appends to the list shown.
  void Append(const TPlayListEntry& entry);
  // Appends entries for full file names, in order, to the list shown. A name the playlist cannot
  // keep is left out and named in the failure raised after the others are in.
  void AppendFiles(const std::vector<std::wstring>& files);
  // Where a file's short name comes from (a volume can keep none).
  void UseShortPathLookup(ShortPathLookup lookup) { shortPath_ = std::move(lookup); }
  // Appends the clips chosen in the open dialog, last chosen first.
  void AddFromDialog();
  void AddDroppedFiles(HDROP drop);

  void TBAddClick() { AddFromDialog(); }
  void TBDeleteClick();
  void LBPlayListKeyUp(UINT key);
  void LBPlayListDblClick();
  void TBRepClick();
  void TBRandClick();

  ui::ToolButton& TBRep() const { return *tbRep_; }
  ui::ToolButton& TBRand() const { return *tbRand_; }

  ui::ListBox LBPlayList;
  ui::ImageList ImageList;
  ui::ToolBar ToolBar1;

 protected:
  void FormCreate() override { LoadSavePlayList(true); }
  void FormShow() override;
  void FormCloseQuery(bool& canClose) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void DpiChanged(int) override { Layout(); }

 private:
  void LBPlayListDrawItem(const ui::ListBoxDrawItem& item);
  void RemoveSelected(bool stopWhenPlaying);
  void Layout();
  std::vector<TPlayListEntry>& Shown();
  const std::vector<TPlayListEntry>& Shown() const;
  IPlayListOwner& ShownOwner() const;

  IPlayListOwner& owner_;
  std::vector<ListChoice> choices_;
  int shown_ = 0;
  ShortPathLookup shortPath_ = ShortPathOf;
  std::vector<TPlayListEntry> entries_;
  ui::ScaledFont font_;
  ui::ScaledFont boldFont_;
  ui::ToolButton* tbRep_;
  ui::ToolButton* tbRand_;
};

}  // namespace lumorix
