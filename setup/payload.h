#pragma once
// The payload: the archive carried as the resource "RCD", extracted into
// the installation folder with progress.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include <memory>

#include "setup/install_state.h"
#include "setup/zip/memory_archive.h"

namespace lumorix::setup {

// The module's resource "RCD" (RT_RCDATA) as the reader reads it: straight
// from the program's own image, which nobody can change while it runs,
// instead of from a copy in a folder others may write.
class ResourceArchive {
 public:
  // Raises, saying why, when the resource is missing.
  explicit ResourceArchive(HMODULE module);
  // The name to hand the reader.
  const std::string& Name() const { return archive_->Name(); }

 private:
  std::unique_ptr<zip::MemoryArchive> archive_;
};

// An entry that did not land, and why.
struct ExtractionProblem {
  std::wstring file;
  std::wstring reason;
};

struct ExtractionResult {
  // False when the archive as a whole could not be read: nothing is installed.
  bool archiveRead = false;
  std::vector<ExtractionProblem> problems;
};

// Extracts the archive into the installation folder, reporting progress to
// the view, then creates the log and the folder list from the archive's
// entries. Raises when the log cannot be written.
ExtractionResult ExtractPayload(const std::string& archive, TInstallState& state);

// A reader result in words.
std::wstring ZipResultText(int32_t result);

}  // namespace lumorix::setup
