// Command-line front end of the payload reader:
//   zipread list ARCHIVE [MASK]
//   zipread extract ARCHIVE FOLDER [MASK]
// One line per report: status, count, file name. Exits 1 when the run's result is negative.
#include <cstdio>
#include <cstring>
#include <string>

#include "setup/zip/zip_reader.h"

using namespace lumorix::zip;

namespace {

int Usage() {
  std::fprintf(stderr, "usage: zipread [-q] list ARCHIVE [MASK]\n       zipread [-q] extract ARCHIVE FOLDER [MASK]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  int first = 1;
  bool quiet = false;
  if (argc > 1 && std::strcmp(argv[1], "-q") == 0) {
    quiet = true;
    ++first;
  }
  if (argc - first < 2) return Usage();
  const std::string command = argv[first];
  ReportHandler print = [quiet](int32_t count, const TReportRec& report) {
    if (!quiet) std::printf("%d\t%d\t%s\n", report.Status, count, report.FileName.c_str());
  };
  int32_t result;
  if (command == "list") {
    result = ListMatching(argv[first + 1], argc - first > 2 ? argv[first + 2] : "*.*", print);
  } else if (command == "extract" && argc - first >= 3) {
    result = ExtractMatching(argv[first + 1], argv[first + 2], argc - first > 3 ? argv[first + 3] : "*.*", print);
  } else {
    return Usage();
  }
  std::printf("result\t%d\n", result);
  return result < 0 ? 1 : 0;
}
