#pragma once
// The payload: the archive carried as the resource "RCD", copied to a
// temporary file and extracted into the installation folder with progress.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "setup/install_state.h"

namespace lumorix::setup {

// A uniquely named file in the temporary folder, deleted with its owner.
class TempArchive {
 public:
  // Writes the module's resource "RCD" (RT_RCDATA) into a new temporary
  // file. Raises, saying why, when the resource is missing or the file
  // cannot be written.
  static TempArchive FromResource(HMODULE module);
  TempArchive(TempArchive&& other) noexcept : path_(std::move(other.path_)) { other.path_.clear(); }
  TempArchive& operator=(TempArchive&&) = delete;
  TempArchive(const TempArchive&) = delete;
  ~TempArchive();
  const std::wstring& Path() const { return path_; }

 private:
  explicit TempArchive(std::wstring path) : path_(std::move(path)) {}
  std::wstring path_;
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
ExtractionResult ExtractPayload(const std::wstring& archive, TInstallState& state);

// A reader result in words.
std::wstring ZipResultText(int32_t result);

}  // namespace lumorix::setup
