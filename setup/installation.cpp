#include "setup/installation.h"

#include <exception>

#include "common/setup_rules.h"
#include "platform/running_player.h"
#include "platform/text.h"
#include "platform/uninstall_entry.h"
#include "setup/earlier_installation.h"
#include "setup/payload.h"
#include "setup/registration.h"
#include "setup/target_folder.h"

namespace lumorix::setup {

namespace {

constexpr size_t kProblemsShown = 8;

std::wstring Incomplete(const std::wstring& why) { return L"Lumorix was not installed completely.\n" + why; }

InstallOutcome Refused(const std::wstring& why) {
  return {InstallResult::FolderRefused, L"Lumorix was not installed: " + why};
}

InstallOutcome Incompletely(const std::wstring& why) { return {InstallResult::Incomplete, Incomplete(why)}; }

std::wstring ProblemLines(const ExtractionResult& extraction) {
  std::wstring lines;
  for (size_t i = 0; i < extraction.problems.size() && i < kProblemsShown; ++i) {
    const ExtractionProblem& problem = extraction.problems[i];
    lines += L"\n" + problem.file + L": " + problem.reason + L".";
  }
  if (extraction.problems.size() > kProblemsShown)
    lines += L"\n(" + std::to_wstring(extraction.problems.size() - kProblemsShown) + L" more)";
  return lines;
}

}  // namespace

SetupExitCode ExitCodeOf(InstallResult result) {
  switch (result) {
    case InstallResult::Installed:
      return kSetupInstalled;
    case InstallResult::FolderRefused:
      return kSetupRefused;
    case InstallResult::PlayerRunning:
      return kSetupPlayerRunning;
    case InstallResult::Declined:
      return kSetupCancelled;
    case InstallResult::Incomplete:
      break;
  }
  return kSetupIncomplete;
}

InstallResult ResultOfExitCode(DWORD code) {
  switch (code) {
    case kSetupInstalled:
      return InstallResult::Installed;
    case kSetupRefused:
      return InstallResult::FolderRefused;
    case kSetupPlayerRunning:
      return InstallResult::PlayerRunning;
    case kSetupCancelled:
      return InstallResult::Declined;
    default:
      return InstallResult::Incomplete;
  }
}

InstallOutcome InstallFrom(const std::string& archive, TInstallState& state) {
  FolderCheck typed = NormaliseInstallFolder(state.InstallFolder);
  if (!typed.refusal.empty()) return {InstallResult::FolderRefused, typed.refusal};
  // A running player holds its program file; replacing the others under it
  // would leave a mixed installation. It is ended before the folder is
  // judged, so that nothing can change there between the check and the files.
  if (!platform::EndRunningPlayer(platform::InstalledPlayers(state.scope)))
    return {InstallResult::PlayerRunning,
            L"Lumorix was not installed: the running Lumorix did not end. Close it, then start the "
            L"installation again."};
  std::wstring why;
  std::optional<HeldFolder> folder =
      PrepareInstallFolder(typed.folder, platform::RegisteredFolders(state.scope), *state.security, state.scope, why);
  if (!folder) return Refused(why);
  state.InstallFolder = folder->Folder();
  EarlierInstallation earlier = FindEarlierInstallation(state.InstallFolder, state.scope);

  ExtractionResult extraction = ExtractPayload(archive, state);
  if (!extraction.archiveRead)
    return {InstallResult::Incomplete, L"Lumorix was not installed: " + extraction.problems.front().reason + L"."};
  if (!CarryOverPlayList(earlier, state))
    extraction.problems.push_back({state.InstallFolder + L"Lumorix.Lumorixpl",
                                   L"the playlist of the earlier installation could not be carried over"});
  const bool replaced = RemoveReplacedInstallation(earlier, state);
  bool registered = WriteRegistryEntries(state, state.TotalSize);
  CreateShortcuts(state);
  RemoveEarlierBatchFiles(state);
  state.UninstallLog.Close();
  if (!extraction.problems.empty())
    return Incompletely(L"These files could not be installed:" + ProblemLines(extraction));
  if (!registered) return Incompletely(L"The settings or the uninstall entry could not be written to the registry.");
  if (!replaced)
    return Incompletely(L"Some files of the earlier 32-bit installation in " + earlier.replacedFolder +
                        L" could not be removed.");
  return {InstallResult::Installed, kThanks};
}

InstallOutcome RunInstallation(TInstallState& state, HMODULE module) {
  try {
    ResourceArchive archive(module);
    return InstallFrom(archive.Name(), state);
  } catch (const std::exception& failure) {
    state.UninstallLog.Close();
    return Incompletely(Widen(failure.what()) + L".");
  }
}

}  // namespace lumorix::setup
