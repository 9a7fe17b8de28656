#include "setup/installation.h"

#include <exception>

#include "common/setup_rules.h"
#include "platform/running_player.h"
#include "platform/text.h"
#include "setup/payload.h"
#include "setup/registration.h"
#include "setup/target_folder.h"

namespace lumorix::setup {

namespace {

constexpr size_t kProblemsShown = 8;

std::wstring Incomplete(const std::wstring& why) { return L"Lumorix was not installed completely.\n" + why; }

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

InstallOutcome InstallFrom(const std::wstring& archive, TInstallState& state) {
  state.InstallFolder = CompleteFolder(state.InstallFolder);
  if (state.InstallFolder.empty()) return {false, L"Lumorix was not installed: no installation folder was given."};
  // A running player holds its program file; replacing the others under it
  // would leave a mixed installation.
  if (!platform::EndRunningPlayer())
    return {false,
            L"Lumorix was not installed: the running Lumorix did not end. Close it, then start the "
            L"installation again."};
  std::wstring why;
  if (!PrepareInstallFolder(state.InstallFolder, why)) return {false, L"Lumorix was not installed: " + why};
  ExtractionResult extraction = ExtractPayload(archive, state);
  if (!extraction.archiveRead)
    return {false, L"Lumorix was not installed: " + extraction.problems.front().reason + L"."};
  bool registered = WriteRegistryEntries(state, state.TotalSize);
  CreateShortcuts(state);
  RemoveEarlierBatchFiles(state);
  state.UninstallLog.Close();
  if (!extraction.problems.empty())
    return {false, Incomplete(L"These files could not be installed:" + ProblemLines(extraction))};
  if (!registered)
    return {false, Incomplete(L"The settings or the uninstall entry could not be written to the registry.")};
  return {true, kThanks};
}

InstallOutcome RunInstallation(TInstallState& state, HMODULE module) {
  try {
    TempArchive archive = TempArchive::FromResource(module);
    return InstallFrom(archive.Path(), state);
  } catch (const std::exception& failure) {
    state.UninstallLog.Close();
    return {false, Incomplete(Widen(failure.what()) + L".")};
  }
}

}  // namespace lumorix::setup
