// The installation folder's rules and what the uninstaller may delete.
#include "common/install_folder.h"

#include <gtest/gtest.h>

using namespace lumorix;

TEST(InstallFolder, TypedAndNormalisedFoldersAreJudged) {
  struct Case {
    const wchar_t* typed;
    FolderProblem typedProblem;
  };
  for (const Case& c : std::vector<Case>{{L"C:\\Apps\\Lumorix\\", FolderProblem::None},
                                         {L"d:/Apps", FolderProblem::None},
                                         {L"", FolderProblem::Empty},
                                         {L"Apps\\Lumorix", FolderProblem::Relative},
                                         {L"C:Apps", FolderProblem::Relative},
                                         {L"\\Apps", FolderProblem::Relative},
                                         {L"..\\Apps", FolderProblem::Relative},
                                         {L"\\\\server\\share\\Lumorix", FolderProblem::Network},
                                         {L"//server/share", FolderProblem::Network},
                                         {L"\\\\?\\UNC\\server\\share", FolderProblem::Network}})
    EXPECT_EQ(TypedFolderProblem(c.typed), c.typedProblem) << c.typed;
  for (const wchar_t* root : {L"C:\\", L"C:", L"E:\\\\", L"e:/"})
    EXPECT_EQ(FullFolderProblem(root), root == std::wstring(L"C:") ? FolderProblem::Relative : FolderProblem::DriveRoot)
        << root;
  EXPECT_EQ(FullFolderProblem(L"C:\\Lumorix\\"), FolderProblem::None);
  EXPECT_EQ(WithoutQuotes(L"  \"C:\\Program Files\\Lumorix\"  "), L"C:\\Program Files\\Lumorix");
  EXPECT_EQ(WithoutQuotes(L"\"C:\\A"), L"\"C:\\A");
  EXPECT_NE(FolderRefusal(FolderProblem::DriveRoot, L"C:\\").find(L"\"C:\\\""), std::wstring::npos);
}

TEST(InstallFolder, AFolderOfOurOwnIsToldFromAStrangers) {
  const std::vector<std::wstring> ours = {L"lumorix.exe", L"Skins", L"UNINSTALL.EXE", L"Uninstall.bat", L"UD.bat"};
  EXPECT_EQ(ClassifyFolderContents({}, false), FolderContents::Empty);
  EXPECT_EQ(ClassifyFolderContents(ours, true), FolderContents::EarlierInstallation);
  EXPECT_EQ(ClassifyFolderContents(ours, false), FolderContents::OtherFiles) << "made to look like ours";
  EXPECT_EQ(ClassifyFolderContents({L"Uninstall.exe", L"data.bin"}, true), FolderContents::StrangersUninstaller);
  EXPECT_EQ(ClassifyFolderContents({L"uninstall.log"}, false), FolderContents::StrangersUninstaller);
  EXPECT_EQ(ClassifyFolderContents({L"Lumorix.exe", L"notes.txt"}, true), FolderContents::OtherFiles);
  EXPECT_EQ(ClassifyFolderContents({L"photo.jpg"}, false), FolderContents::OtherFiles);
  // An earlier version's files are what its log lists; a log line outside the folder names no file of it.
  const std::vector<std::wstring> log = {L"ReadMe.txt", L"Docs\\Guide.txt", L"C:\\Apps\\Lumorix\\Notes.txt",
                                         L"C:\\Windows\\photo.jpg", L"..\\photo.jpg"};
  EXPECT_EQ(
      ClassifyFolderContents({L"Lumorix.exe", L"ReadMe.txt", L"Docs", L"notes.txt"}, true, log, L"C:\\Apps\\Lumorix\\"),
      FolderContents::EarlierInstallation);
  EXPECT_EQ(ClassifyFolderContents({L"Lumorix.exe", L"photo.jpg"}, true, log, L"C:\\Apps\\Lumorix\\"),
            FolderContents::OtherFiles);
}

TEST(InstallFolder, TheUninstallerDeletesOnlyInsideItsFolderAndItsOwnShortcuts) {
  const std::wstring folder = L"C:\\Apps\\Lumorix\\";
  const std::vector<std::wstring> shortcuts = {L"C:\\Start\\Vantrel\\Lumorix\\Lumorix.lnk"};
  struct Case {
    const wchar_t* line;
    std::optional<std::wstring> removable;
  };
  for (const Case& c : std::vector<Case>{{L"Lumorix.exe", folder + L"Lumorix.exe"},
                                         {L"Skins\\Radorur.skn\\Skin.ini", folder + L"Skins\\Radorur.skn\\Skin.ini"},
                                         {L"c:\\apps\\lumorix\\LSS.s~", folder + L"LSS.s~"},
                                         {L"C:\\START\\Vantrel\\Lumorix\\Lumorix.lnk", shortcuts[0]},
                                         {L"C:\\Start\\Vantrel\\Lumorix\\Other.lnk", std::nullopt},
                                         {L"..\\Other\\file.txt", std::nullopt},
                                         {L"Skins\\..\\..\\x", std::nullopt},
                                         {L"C:\\Apps\\Lumorix\\..\\x", std::nullopt},
                                         {L"C:\\Apps\\LumorixOther\\x", std::nullopt},
                                         {L"C:\\Windows\\system32\\kernel32.dll", std::nullopt},
                                         {L"\\Windows\\x", std::nullopt},
                                         {L"D:x", std::nullopt},
                                         {L"file.txt:stream", std::nullopt},
                                         // What the payload reader refuses, the uninstaller refuses too.
                                         {L".. \\x", std::nullopt},
                                         {L"Skins\\...\\x", std::nullopt},
                                         {L"Skins\\CON", std::nullopt},
                                         {L"nul.txt", std::nullopt},
                                         {L"Languages\\COM\u00B9.ini", std::nullopt},
                                         {L"", std::nullopt}})
    EXPECT_EQ(RemovablePath(c.line, folder, shortcuts), c.removable) << c.line;
}
