// Writes an archive in the payload's form from files and folders on disk:
//   zipwrite ARCHIVE ENTRY...
// An entry is a path, named in the archive as given ("/" separated,
// relative), or NAME=PATH, named NAME and read from PATH. A folder becomes a
// folder entry (its contents are not added: list them too).
// With SOURCE_DATE_EPOCH set (seconds since 1970), every entry carries that
// time, in UTC, instead of its file's: the same archive from every build.
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "setup/zip/tools/zip_writer.h"

using namespace lumorix::zip;

namespace {

std::optional<int64_t> SourceDateEpoch() {
  const char* text = std::getenv("SOURCE_DATE_EPOCH");
  if (!text || !*text) return std::nullopt;
  char* end = nullptr;
  long long seconds = std::strtoll(text, &end, 10);
  if (*end != '\0' || seconds < 0) return std::nullopt;
  return seconds;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: zipwrite ARCHIVE ENTRY...\n");
    return 2;
  }
  const std::optional<int64_t> fixedTime = SourceDateEpoch();
  if (!fixedTime && std::getenv("SOURCE_DATE_EPOCH"))
    std::fprintf(stderr, "zipwrite: SOURCE_DATE_EPOCH is not a number of seconds; using the files' times\n");
  std::vector<PayloadEntry> entries;
  for (int i = 2; i < argc; ++i) {
    std::string path = argv[i];
    std::string name = path;
    if (size_t equals = path.find('='); equals != std::string::npos) {
      name = path.substr(0, equals);
      path = path.substr(equals + 1);
    }
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
      std::fprintf(stderr, "zipwrite: cannot read %s\n", path.c_str());
      return 1;
    }
    PayloadEntry entry;
    entry.name = name;
    entry.dosDateTime = fixedTime ? DosDateTime(*fixedTime, TimeZone::Utc) : DosDateTime(info.st_mtime);
    if (S_ISDIR(info.st_mode)) {
      if (entry.name.back() != '/') entry.name += '/';
    } else {
      std::ifstream file(path, std::ios::binary);
      if (!file) {
        std::fprintf(stderr, "zipwrite: cannot read %s\n", path.c_str());
        return 1;
      }
      entry.data.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
    entries.push_back(std::move(entry));
  }
  std::vector<uint8_t> archive = WritePayloadArchive(entries);
  std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(archive.data()), static_cast<std::streamsize>(archive.size()));
  return out ? 0 : 1;
}
