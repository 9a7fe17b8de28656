// The playlist window and its file: loading, adding from the dialog and by drops, removing.
#include <shlobj.h>

#include "common/settings_layout.h"
#include "player/playlist/playlist_file.h"
#include "tests/player/core/player_fixture.h"

using namespace lumorix;
using namespace lumorix::test;
using std::chrono::milliseconds;

namespace {

std::vector<std::string> Names(const TLumorixPlayListForm& list) {
  std::vector<std::string> names;
  for (int i = 0; i < list.Count(); ++i) names.push_back(list.Entry(i).EntryName);
  return names;
}

int64_t FileSize(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return -1;
  return (int64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
}

// A shell drop of the given full names, as Explorer would send it.
HDROP MakeDrop(const std::vector<std::wstring>& names) {
  size_t chars = 1;
  for (const auto& name : names) chars += name.size() + 1;
  HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + chars * sizeof(wchar_t));
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  auto* text = reinterpret_cast<wchar_t*>(reinterpret_cast<BYTE*>(drop) + sizeof(DROPFILES));
  for (const auto& name : names) {
    std::copy(name.begin(), name.end(), text);
    text += name.size() + 1;
  }
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

// Fills the open dialog's file-name box and presses Open, from inside its modal loop.
std::wstring dialogText;
void CALLBACK AnswerOpenDialog(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = nullptr;
  for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT)) {
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (std::wstring(className) == L"#32770" && process == GetCurrentProcessId() && IsWindowVisible(window))
      dialog = window;
  }
  if (!dialog) return;
  KillTimer(nullptr, timer);
  SetWindowTextW(OpenDialogFileNameBox(dialog), dialogText.c_str());
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

}  // namespace

TEST_F(PlayerTest, MissingPlaylistFileIsCreatedEmpty) {
  DeleteFileW(TLumorixPlayListForm::PlayListFileName().c_str());
  TLumorixMainForm& form = StartPlayer();
  EXPECT_EQ(form.PlayListForm().Count(), 0);
  EXPECT_EQ(FileSize(TLumorixPlayListForm::PlayListFileName()), 0);
}

TEST_F(PlayerTest, ThousandByteFileLoadsOneEntryAndSavesWholeRecords) {
  std::vector<uint8_t> contents = EncodePlayList({EntryFromFileName(WideToAnsi(Clip("red.avi")))});
  contents.resize(1000, 0x5A);
  HANDLE file = CreateFileW(TLumorixPlayListForm::PlayListFileName().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            0, nullptr);
  DWORD written = 0;
  WriteFile(file, contents.data(), 1000, &written, nullptr);
  CloseHandle(file);
  TLumorixMainForm& form = StartPlayer();
  ASSERT_EQ(form.PlayListForm().Count(), 1);
  EXPECT_EQ(form.PlayListForm().Entry(0).EntryName, "red.avi");
  form.ItExitClick();
  EXPECT_EQ(FileSize(TLumorixPlayListForm::PlayListFileName()), 512);
}

TEST_F(PlayerTest, FolderWithoutItsBackslashStillPlays) {
  std::string path = WideToAnsi(Clip("red.avi"));
  TPlayListEntry entry = EntryFromFileName(path);
  entry.EntryFolder.pop_back();  // drop the final backslash
  std::vector<uint8_t> contents = EncodePlayList({entry});
  HANDLE file = CreateFileW(TLumorixPlayListForm::PlayListFileName().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            0, nullptr);
  DWORD written = 0;
  WriteFile(file, contents.data(), static_cast<DWORD>(contents.size()), &written, nullptr);
  CloseHandle(file);
  TLumorixMainForm& form = StartPlayer();
  EXPECT_TRUE(errors.Boxes().empty());
  ASSERT_TRUE(PumpUntil([&] { return form.FilterGraph()->State() == 3; }, milliseconds(5000)));
}

TEST_F(PlayerTest, DialogChoicesAreAppendedLastChosenFirst) {
  TLumorixMainForm& form = StartPlayer();
  std::wstring clips = Clip("red.avi");
  clips.resize(clips.find_last_of(L'\\'));
  SetCurrentDirectoryW(clips.c_str());
  dialogText = L"\"red.avi\" \"blue.avi\" \"short.avi\"";
  UINT_PTR timer = SetTimer(nullptr, 0, 200, AnswerOpenDialog);
  form.Open.Click();
  KillTimer(nullptr, timer);
  EXPECT_EQ(Names(form.PlayListForm()), (std::vector<std::string>{"short.avi", "blue.avi", "red.avi"}));
  EXPECT_EQ(form.PlayListForm().Entry(0).EntryFolder, WideToAnsi(clips) + "\\");
  EXPECT_EQ(form.FilterGraph()->State(), 1);  // nothing starts playing
}

TEST_F(PlayerTest, DroppedFilesAreAppendedInOrderFoldersToo) {
  TLumorixMainForm& form = StartPlayer();
  std::wstring folder = Clip("red.avi");
  folder.resize(folder.find_last_of(L'\\'));
  HDROP drop = MakeDrop({Clip("red.avi"), Clip("blue.avi"), Clip("short.avi"), folder});
  LRESULT result = SendMessageW(form.PlayListForm().Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(Names(form.PlayListForm()), (std::vector<std::string>{"red.avi", "blue.avi", "short.avi", "test-media"}));
}

namespace {

// A copy of a test clip under a name of the test's choosing, removed again at the end.
class NamedCopy {
 public:
  explicit NamedCopy(const std::wstring& name) {
    std::wstring folder = Clip("red.avi");
    folder.resize(folder.find_last_of(L'\\') + 1);
    path_ = folder + name;
    CopyFileW(Clip("red.avi").c_str(), path_.c_str(), FALSE);
  }
  ~NamedCopy() { DeleteFileW(path_.c_str()); }
  const std::wstring& Path() const { return path_; }

 private:
  std::wstring path_;
};

}  // namespace

TEST_F(PlayerTest, ANameOutsideTheCodePageIsKeptByItsShortNameAndPlays) {
  NamedCopy cyrillic(L"\u041a\u043b\u0438\u043f.avi");  // "Клип.avi": no form in code page 1252
  NamedCopy accented(L"caf\u00e9.avi");                 // "café.avi": one of its own
  TLumorixMainForm& form = StartPlayer();
  TLumorixPlayListForm& list = form.PlayListForm();
  SendMessageW(list.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({cyrillic.Path(), accented.Path()})), 0);
  ASSERT_TRUE(errors.Boxes().empty()) << ErrorText(errors);
  ASSERT_EQ(list.Count(), 2);
  // No "?" or look-alike letters: the short name, which names the same file.
  const std::string kept = EntryPath(list.Entry(0));
  EXPECT_EQ(kept.find('?'), std::string::npos) << kept;
  EXPECT_NE(GetFileAttributesA(kept.c_str()), INVALID_FILE_ATTRIBUTES) << kept;
  EXPECT_EQ(list.Entry(1).EntryName, WideToAnsi(L"caf\u00e9.avi"));
  form.PlayIndex(0);
  EXPECT_TRUE(PumpUntil([&] { return form.FilterGraph()->State() == 3; }, milliseconds(5000)));
}

TEST_F(PlayerTest, ANameWithoutAnyStorableFormIsRefusedAndTheRestKept) {
  NamedCopy cyrillic(L"\u041a\u043b\u0438\u043f.avi");
  TLumorixMainForm& form = StartPlayer();
  TLumorixPlayListForm& list = form.PlayListForm();
  // A volume that keeps no short names (an NTFS option; Wine always makes them): a stand-in lookup.
  list.UseShortPathLookup([](const std::wstring& path) { return path; });
  SendMessageW(list.Handle(), WM_DROPFILES,
               reinterpret_cast<WPARAM>(MakeDrop({Clip("red.avi"), cyrillic.Path(), Clip("blue.avi")})), 0);
  EXPECT_EQ(Names(list), (std::vector<std::string>{"red.avi", "blue.avi"}));
  ASSERT_EQ(errors.Boxes().size(), 1u);
  EXPECT_NE(errors.Boxes()[0].text.find(L"were not added"), std::wstring::npos) << errors.Boxes()[0].text;
  EXPECT_NE(errors.Boxes()[0].text.find(cyrillic.Path()), std::wstring::npos) << errors.Boxes()[0].text;
}

TEST_F(PlayerTest, DeleteButtonStopsThePlayingEntryTheDeleteKeyDoesNot) {
  WritePlayList({"red.avi", "blue.avi", "red.avi", "long.avi", "blue.avi"});
  WriteSetting(kPlayListKey, "PlayingIndex", EncodeInteger(3));
  TLumorixMainForm& form = StartPlayer();
  TLumorixPlayListForm& list = form.PlayListForm();
  ASSERT_TRUE(PumpUntil([&] { return form.FilterGraph()->State() == 3; }, milliseconds(5000)));

  list.LBPlayList.SetSelected(3, true);
  SendMessageW(list.LBPlayList.Handle(), WM_KEYUP, VK_DELETE, 0);
  EXPECT_EQ(list.Count(), 4);
  EXPECT_EQ(form.FilterGraph()->State(), 3);
  EXPECT_EQ(form.PlayingIndex, 3);  // now names the entry that moved up

  list.LBPlayList.SetSelected(3, true);
  list.TBDeleteClick();
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(form.FilterGraph()->State(), 1);
}

TEST_F(PlayerTest, RemovingAnEarlierEntryKeepsThePlayingIndex) {
  WritePlayList({"red.avi", "blue.avi", "red.avi", "long.avi", "blue.avi"});
  WriteSetting(kPlayListKey, "PlayingIndex", EncodeInteger(3));
  TLumorixMainForm& form = StartPlayer();
  TLumorixPlayListForm& list = form.PlayListForm();
  list.LBPlayList.SetSelected(1, true);
  list.TBDeleteClick();
  EXPECT_EQ(form.PlayingIndex, 3);
  EXPECT_EQ(list.Entry(3).EntryName, "blue.avi");
  EXPECT_EQ(form.FilterGraph()->State(), 3);
}

TEST_F(PlayerTest, DoubleClickPlaysTheFocusedEntry) {
  WritePlayList({"red.avi", "blue.avi"});
  TLumorixMainForm& form = StartPlayer();
  form.PlayListForm().LBPlayList.SetItemIndex(1);
  form.PlayListForm().LBPlayListDblClick();
  EXPECT_EQ(form.PlayingIndex, 1);
}

TEST_F(PlayerTest, ModeButtonsSetTheModes) {
  TLumorixMainForm& form = StartPlayer();
  TLumorixPlayListForm& list = form.PlayListForm();
  SendMessageW(list.ToolBar1.Handle(), TB_CHECKBUTTON, list.TBRep().CommandId(), TRUE);
  list.TBRepClick();
  EXPECT_TRUE(form.Repeat);
  EXPECT_FALSE(form.Random);
  form.TimerTimer();  // the start step shows the stored modes on the buttons
  EXPECT_TRUE(list.TBRep().Down());
  EXPECT_FALSE(list.TBRand().Down());
}

namespace {

std::vector<std::string> NamesIn(const std::wstring& path) {
  std::vector<TPlayListEntry> entries;
  LoadPlayListFile(path, entries);
  std::vector<std::string> names;
  for (const TPlayListEntry& entry : entries) names.push_back(entry.EntryName);
  return names;
}

void WriteEntries(const std::wstring& path, const std::vector<std::string>& clips) {
  std::vector<TPlayListEntry> entries;
  for (const std::string& clip : clips) entries.push_back(EntryFromFileName(WideToAnsi(Clip(clip))));
  SavePlayListFile(path, entries);
}

}  // namespace

TEST_F(PlayerTest, TheUsersListIsSeededOnceFromTheProgramFolderWhichIsNeverWritten) {
  const std::wstring own = TLumorixPlayListForm::PlayListFileName(true);
  const std::wstring seed = TLumorixPlayListForm::SeedFileName();
  EXPECT_NE(own.find(L"\\Vantrel\\Lumorix\\"), std::wstring::npos) << Narrow(own);
  EXPECT_NE(own.substr(0, own.find_last_of(L'\\')), seed.substr(0, seed.find_last_of(L'\\')));
  DeleteFileW(own.c_str());
  WriteEntries(seed, {"red.avi"});
  TLumorixMainForm& form = StartPlayer();
  EXPECT_EQ(Names(form.PlayListForm()), std::vector<std::string>{"red.avi"}) << "a first start takes the seed";
  form.PlayListForm().AppendFiles({Clip("blue.avi")});
  form.ItExitClick();
  EXPECT_TRUE(errors.Boxes().empty()) << ErrorText(errors);
  EXPECT_EQ(NamesIn(own), (std::vector<std::string>{"red.avi", "blue.avi"}));
  EXPECT_EQ(NamesIn(seed), std::vector<std::string>{"red.avi"}) << "the program folder's file is only read";
  EXPECT_FALSE(FileExists(seed + L".new"));

  // Seeded once: a changed seed no longer reaches a user who has a list.
  WriteEntries(seed, {"short.avi"});
  player.reset();
  ui::Application::Instance().ClearTermination();
  EXPECT_EQ(Names(StartPlayer().PlayListForm()), (std::vector<std::string>{"red.avi", "blue.avi"}));
  DeleteFileW(seed.c_str());
}

TEST_F(PlayerTest, AFailedSaveSaysSoInTheErrorBoxAndTheUsersListStays) {
  WritePlayList({"red.avi", "blue.avi"});
  const std::wstring own = TLumorixPlayListForm::PlayListFileName();
  TLumorixMainForm& form = StartPlayer();
  form.PlayListForm().AppendFiles({Clip("short.avi")});
  // The new file cannot be written: a folder stands where it would go.
  ASSERT_TRUE(CreateDirectoryW((own + L".new").c_str(), nullptr));
  SendMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(form.ItExit.Id(), 0), 0);
  RemoveDirectoryW((own + L".new").c_str());
  ASSERT_EQ(errors.Boxes().size(), 1u);
  EXPECT_NE(errors.Boxes()[0].text.find(L"I/O error"), std::wstring::npos) << ErrorText(errors);
  EXPECT_NE(errors.Boxes()[0].text.find(own), std::wstring::npos) << ErrorText(errors);
  EXPECT_EQ(NamesIn(own), (std::vector<std::string>{"red.avi", "blue.avi"}));
}

TEST(PlayListFile, FailedSaveKeepsTheOldFile) {
  wchar_t folder[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  std::wstring path = std::wstring(folder) + L"lumorix-save-test.Lumorixpl";
  std::vector<TPlayListEntry> before{{"a.avi", "C:\\"}, {"b.avi", "C:\\"}};
  SavePlayListFile(path, before);
  // The new file cannot be written: a folder stands where it would go.
  CreateDirectoryW((path + L".new").c_str(), nullptr);
  EXPECT_THROW(SavePlayListFile(path, {{"c.avi", "C:\\"}}), std::exception);
  std::vector<TPlayListEntry> after;
  LoadPlayListFile(path, after);
  ASSERT_EQ(after.size(), 2u);
  EXPECT_EQ(after[1].EntryName, "b.avi");
  RemoveDirectoryW((path + L".new").c_str());
  DeleteFileW(path.c_str());
}
