// Fails when a Windows program imports a DLL that Windows may take from the
// folder the program was started from. Run by the tests on the built programs.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "common/pe_imports.h"

int main(int argc, char** argv) {
  int faults = 0;
  for (int i = 1; i < argc; ++i) {
    std::ifstream file(argv[i], std::ios::binary);
    std::vector<uint8_t> image((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::optional<std::vector<std::string>> dlls = lumorix::ImportedDlls(image);
    if (!dlls) {
      std::printf("%s: not a readable 32-bit Windows program\n", argv[i]);
      ++faults;
      continue;
    }
    // The manifest (a resource) names its dependencies in plain text.
    const std::string bytes(image.begin(), image.end());
    const bool commonControls6 = bytes.find("Microsoft.Windows.Common-Controls") != std::string::npos;
    for (const std::string& dll : *dlls) {
      bool allowed = lumorix::FromSystemFolderFor(dll, commonControls6);
      std::printf("%s: %s%s\n", argv[i], dll.c_str(), allowed ? "" : "  <- may be loaded from the program's folder");
      if (!allowed) ++faults;
    }
  }
  return faults == 0 ? 0 : 1;
}
