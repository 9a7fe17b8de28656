#include "tests/setup/zip/zip_fixture.h"

#include <atomic>
#include <fstream>
#include <iterator>
#include <random>
#include <set>

namespace fs = std::filesystem;

namespace lumorix::zip::test {

fs::path FixturePath(const std::string& name) { return fs::path(ZIP_FIXTURES) / name; }
std::string Fixture(const std::string& name) { return FixturePath(name).string(); }

ScratchFolder::ScratchFolder() {
  static std::atomic<int> counter{0};
  static const unsigned processTag = std::random_device{}();  // tests run in parallel processes
  path_ =
      fs::temp_directory_path() / ("lumorix-zip-test-" + std::to_string(processTag) + "-" + std::to_string(counter++));
  fs::remove_all(path_);
  fs::create_directories(path_);
}

ScratchFolder::~ScratchFolder() {
  std::error_code error;
  for (auto& entry : fs::recursive_directory_iterator(path_, error))
    fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, error);
  fs::remove_all(path_, error);
}

std::vector<Report> ReportLog::WithStatus(int32_t status) const {
  std::vector<Report> found;
  for (const Report& report : reports)
    if (report.record.Status == status) found.push_back(report);
  return found;
}

std::vector<uint8_t> ReadBytes(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteBytes(const fs::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

static std::set<std::string> FilesUnder(const fs::path& root) {
  std::set<std::string> files;
  for (auto& entry : fs::recursive_directory_iterator(root))
    if (entry.is_regular_file()) files.insert(fs::relative(entry.path(), root).generic_string());
  return files;
}

std::vector<std::string> DifferingFiles(const fs::path& root, const fs::path& other) {
  std::set<std::string> mine = FilesUnder(root), theirs = FilesUnder(other);
  std::vector<std::string> differing;
  for (const std::string& name : mine)
    if (!theirs.count(name) || ReadBytes(root / name) != ReadBytes(other / name)) differing.push_back(name);
  for (const std::string& name : theirs)
    if (!mine.count(name)) differing.push_back(name);
  return differing;
}

}  // namespace lumorix::zip::test
