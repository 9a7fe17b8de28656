#pragma once
// Fixture archives, scratch folders and report recording for the reader's tests.
#include <filesystem>
#include <string>
#include <vector>

#include "setup/zip/zip_types.h"

namespace lumorix::zip::test {

std::string Fixture(const std::string& name);
std::filesystem::path FixturePath(const std::string& name);

// A fresh folder, removed with the object.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  const std::filesystem::path& Path() const { return path_; }
  std::string Name() const { return path_.string(); }

 private:
  std::filesystem::path path_;
};

struct Report {
  int32_t count;
  TReportRec record;
};

class ReportLog {
 public:
  ReportHandler Handler() {
    return [this](int32_t count, const TReportRec& record) { reports.push_back({count, record}); };
  }
  std::vector<Report> reports;
  std::vector<Report> WithStatus(int32_t status) const;
};

std::vector<uint8_t> ReadBytes(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);
// Relative paths of every file under `root` whose bytes differ from those under `other`, or that only one has.
std::vector<std::string> DifferingFiles(const std::filesystem::path& root, const std::filesystem::path& other);

}  // namespace lumorix::zip::test
