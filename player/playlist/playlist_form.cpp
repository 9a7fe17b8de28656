#include "player/playlist/playlist_form.h"

#include <commdlg.h>
#include <shellapi.h>

#include "common/format.h"
#include "platform/files.h"
#include "platform/text.h"
#include "platform/user_files.h"
#include "player/core/artwork.h"
#include "player/playlist/playlist_file.h"
#include "ui/exception.h"

#include <algorithm>
#include <optional>

namespace lumorix {

namespace {

constexpr COLORREF kMoneyGreen = 0x00C0DCC0;
constexpr int kToolBarHeight = 29;

ui::FormDesign PlayListDesign() {
  ui::FormDesign design;
  design.caption = L"PlayList";
  design.left = 801;
  design.top = 108;
  design.clientWidth = 215;
  design.clientHeight = 409;
  design.outerSize = true;
  design.border = ui::BorderStyle::SizeToolWin;
  design.color = 0x00A3A3A3;
  return design;
}

ui::ToolBarDesign PlayListToolBarDesign() {
  ui::ToolBarDesign design;
  design.buttonWidth = 31;
  design.buttonHeight = 30;
  design.transparent = true;
  return design;
}

// The open dialog's filter, pairs of description and patterns.
constexpr wchar_t kVideoFilter[] =
    L"Video files (all types)|*.avi;*.wmv;*.mpg;*.mpeg;*.m1v;*.mp2;*.asf;*.wm;*.mp4;*.m4v;*.mov;*.mkv;*.webm;|AVI "
    L"files (.avi; .wmv)|*.avi;*.wmv|"
    L"MPEG files (.mpg; .mpeg; .m1v; .mp2)|*.mpg;*.mpeg;*.m1v;*.mp2|ASF files (.asf; .wm; .wmv)|*.asf;*.wm;*.wmv|"
    L"All Files (*.*)|*.*";

// The dialog's result: one full name, or a folder followed by the chosen names.
std::vector<std::wstring> ChosenFiles(const std::vector<wchar_t>& buffer) {
  std::vector<std::wstring> parts;
  for (const wchar_t* part = buffer.data(); *part; part += wcslen(part) + 1) parts.emplace_back(part);
  if (parts.size() <= 1) return parts;
  std::wstring folder = parts.front();
  if (folder.back() != L'\\') folder += L'\\';
  std::vector<std::wstring> files;
  for (size_t i = 1; i < parts.size(); ++i) files.push_back(folder + parts[i]);
  return files;
}

}  // namespace

TLumorixPlayListForm::TLumorixPlayListForm(IPlayListOwner& owner)
    : ui::Form(PlayListDesign()),
      CBMonitor(Handle(), {0, 0, 10, 200}),
      LBPlayList(Handle(), {0, 0, 10, 10}, 13, true, ui::ListBox::ItemData::None),
      ImageList(24, 24),
      ToolBar1(Handle(), {0, 0, 10, kToolBarHeight}, PlayListToolBarDesign()),
      owner_(owner),
      font_(ui::DesignFont()),
      boldFont_(ui::DesignFont(true)) {
  LBPlayList.SetColor(RGB(0, 0, 0));
  LBPlayList.SetTextColor(kMoneyGreen);
  LBPlayList.SetFont(font_);
  LBPlayList.OnDrawItem = [this](const ui::ListBoxDrawItem& item) { LBPlayListDrawItem(item); };
  LBPlayList.OnDblClick = [this] { LBPlayListDblClick(); };
  LBPlayList.OnKeyUp = [this](UINT key) { LBPlayListKeyUp(key); };
  CBMonitor.OnChange = [this] { ShowChoice(CBMonitor.ItemIndex()); };
  CBMonitor.Hide();

  AddPlayListImages(ImageList);
  ToolBar1.SetImages(&ImageList);
  ui::ToolButton& tbAdd = ToolBar1.AddButton(0, false, L"Add");
  ui::ToolButton& tbDelete = ToolBar1.AddButton(1);
  ToolBar1.AddSeparator(8);
  tbRep_ = &ToolBar1.AddButton(2, true);
  tbRand_ = &ToolBar1.AddButton(3, true);
  tbAdd.OnClick = [this] { TBAddClick(); };
  tbDelete.OnClick = [this] { TBDeleteClick(); };
  tbRep_->OnClick = [this] { TBRepClick(); };
  tbRand_->OnClick = [this] { TBRandClick(); };
  Layout();
}

void TLumorixPlayListForm::Layout() {
  RECT client;
  GetClientRect(Handle(), &client);
  const int toolBarHeight = Scale(kToolBarHeight);
  int top = 0;
  if (!choices_.empty()) {
    CBMonitor.SetBounds({0, 0, client.right, Scale(200)});
    top = CBMonitor.BoxHeight();
  }
  LBPlayList.SetBounds({0, top, client.right, client.bottom - toolBarHeight - top});
  ToolBar1.SetBounds({0, client.bottom - toolBarHeight, client.right, toolBarHeight});
}

std::wstring TLumorixPlayListForm::PlayListFileName(bool makeFolder) {
  std::wstring folder = platform::UserDataFolder(makeFolder);
  return folder.empty() ? L"" : folder + platform::PlayListNameOf(ProgramFileName());
}

std::wstring TLumorixPlayListForm::SeedFileName() {
  return ProgramFolder() + platform::PlayListNameOf(ProgramFileName());
}

void TLumorixPlayListForm::LoadSavePlayList(bool load) {
  const std::wstring path = PlayListFileName(true);
  if (path.empty())
    throw ui::Exception("The folder for the playlist file cannot be made in the local application data");
  if (load) {
    entries_.clear();
    // The list shows what was read also when the file fails part way.
    struct ShowEntries {
      TLumorixPlayListForm& form;
      ~ShowEntries() { form.LBPlayList.SetCount(form.ShownCount()); }
    } show{*this};
    SeedPlayListFile(path, SeedFileName());
    LoadPlayListFile(path, entries_);
  } else {
    SavePlayListFile(path, entries_);
  }
}

void TLumorixPlayListForm::SetListChoices(std::vector<ListChoice> choices) {
  choices_ = std::move(choices);
  std::vector<std::wstring> names;
  for (const ListChoice& choice : choices_) names.push_back(choice.name);
  CBMonitor.SetItems(names);
  CBMonitor.SetVisible(!choices_.empty());
  Layout();
  ShowChoice(0);
}

void TLumorixPlayListForm::ShowChoice(int index) {
  shown_ = index > 0 && index < static_cast<int>(choices_.size()) ? index : 0;
  if (!choices_.empty()) CBMonitor.SetItemIndex(shown_);
  LBPlayList.ClearSelection();
  LBPlayList.SetCount(ShownCount());
  tbRep_->SetDown(ShownOwner().RepeatMode());
  tbRand_->SetDown(ShownOwner().RandomMode());
  LBPlayList.Invalidate();
}

void TLumorixPlayListForm::ReplaceEntries(std::vector<TPlayListEntry> entries) {
  entries_ = std::move(entries);
  if (shown_ == 0) ShowChoice(0);
}

std::vector<TPlayListEntry>& TLumorixPlayListForm::Shown() {
  return shown_ > 0 ? *choices_[static_cast<size_t>(shown_)].list : entries_;
}

const std::vector<TPlayListEntry>& TLumorixPlayListForm::Shown() const {
  return shown_ > 0 ? *choices_[static_cast<size_t>(shown_)].list : entries_;
}

IPlayListOwner& TLumorixPlayListForm::ShownOwner() const {
  return shown_ > 0 ? *choices_[static_cast<size_t>(shown_)].owner : owner_;
}

const TPlayListEntry& TLumorixPlayListForm::Entry(int index) const {
  if (index < 0 || index >= Count()) throw ui::Exception(Format("List index out of bounds (%d)", index));
  return entries_[static_cast<size_t>(index)];
}

void TLumorixPlayListForm::Append(const TPlayListEntry& entry) {
  Shown().push_back(entry);
  LBPlayList.SetCount(ShownCount());
}

void TLumorixPlayListForm::AppendFiles(const std::vector<std::wstring>& files) {
  std::string refused;
  for (const std::wstring& file : files) {
    if (std::optional<std::string> name = AnsiFileName(file, shortPath_))
      Shown().push_back(EntryFromFileName(*name));
    else
      refused += "\n" + Narrow(file);
  }
  LBPlayList.SetCount(ShownCount());
  if (!refused.empty())
    throw ui::Exception(
        "These files were not added: their names have letters the playlist cannot keep, and "
        "they have no short name to stand in" +
        refused);
}

void TLumorixPlayListForm::AddFromDialog() {
  std::wstring filter = kVideoFilter;
  for (wchar_t& c : filter)
    if (c == L'|') c = L'\0';
  filter.push_back(L'\0');
  std::vector<wchar_t> buffer(65536, L'\0');
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = GetActiveWindow();
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = buffer.data();
  dialog.nMaxFile = static_cast<DWORD>(buffer.size());
  dialog.Flags =
      OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_ENABLESIZING | OFN_READONLY;
  if (!GetOpenFileNameW(&dialog)) return;
  std::vector<std::wstring> files = ChosenFiles(buffer);
  AppendFiles({files.rbegin(), files.rend()});
}

void TLumorixPlayListForm::AddDroppedFiles(HDROP drop) {
  struct DropRelease {
    HDROP drop;
    ~DropRelease() { DragFinish(drop); }
  } release{drop};
  UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  std::vector<std::wstring> files;
  for (UINT index = 0; index < count; ++index) {
    UINT length = DragQueryFileW(drop, index, nullptr, 0);
    std::wstring name(length + 1, L'\0');
    DragQueryFileW(drop, index, name.data(), length + 1);
    name.resize(length);
    files.push_back(std::move(name));
  }
  AppendFiles(files);
}

void TLumorixPlayListForm::RemoveSelected(bool stopWhenPlaying) {
  std::vector<int> selected = LBPlayList.SelectedIndexes();
  if (selected.empty()) return;
  std::vector<TPlayListEntry>& entries = Shown();
  std::vector<bool> remove(entries.size(), false);
  for (int index : selected) remove[static_cast<size_t>(index)] = true;
  size_t kept = 0;
  for (size_t index = 0; index < entries.size(); ++index)
    if (!remove[index]) entries[kept++] = std::move(entries[index]);
  entries.resize(kept);
  LBPlayList.ClearSelection();
  LBPlayList.SetCount(ShownCount());
  if (stopWhenPlaying && std::binary_search(selected.begin(), selected.end(), ShownOwner().CurrentIndex()))
    ShownOwner().StopPlayback();
  LBPlayList.Invalidate();
}

void TLumorixPlayListForm::TBDeleteClick() { RemoveSelected(true); }

void TLumorixPlayListForm::LBPlayListKeyUp(UINT key) {
  // Unlike the delete button, the Delete key leaves playback alone.
  if (key == VK_DELETE) RemoveSelected(false);
}

void TLumorixPlayListForm::LBPlayListDblClick() { ShownOwner().PlayEntry(LBPlayList.ItemIndex()); }

void TLumorixPlayListForm::TBRepClick() { ShownOwner().SetRepeatMode(tbRep_->Down()); }
void TLumorixPlayListForm::TBRandClick() { ShownOwner().SetRandomMode(tbRand_->Down()); }

void TLumorixPlayListForm::LBPlayListDrawItem(const ui::ListBoxDrawItem& item) {
  ui::SelectObjectScope select(item.dc,
                               (item.index == ShownOwner().CurrentIndex() ? boldFont_ : font_).At(LBPlayList.Dpi()));
  std::wstring text = AnsiToWide(Shown()[static_cast<size_t>(item.index)].EntryName);
  ExtTextOutW(item.dc, item.rect.left, item.rect.top, ETO_OPAQUE | ETO_CLIPPED, &item.rect, text.c_str(),
              static_cast<UINT>(text.size()), nullptr);
}

void TLumorixPlayListForm::FormShow() { DragAcceptFiles(Handle(), TRUE); }

void TLumorixPlayListForm::FormCloseQuery(bool& canClose) {
  owner_.PlayListWindowClosed();
  canClose = true;
}

bool TLumorixPlayListForm::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_DROPFILES:
      AddDroppedFiles(reinterpret_cast<HDROP>(wParam));
      result = 0;
      return true;
    case WM_SIZE:
      Layout();
      return false;
    default:
      return ui::Form::OnMessage(message, wParam, lParam, result);
  }
}

}  // namespace lumorix
