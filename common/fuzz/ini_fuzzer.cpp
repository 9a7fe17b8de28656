// The profile-file reader on arbitrary bytes: every key it may be asked for,
// with and without keeping only those, gives the same answers within bounds.
#include <vector>

#include "common/fuzz/fuzz_checks.h"
#include "common/language_texts.h"
#include "common/skin_description.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace lumorix;
  static const std::vector<IniKey> wanted = [] {
    std::vector<IniKey> all = {{"S", "k"}, {"", ""}, {"S", ""}, {"s s", "k k"}};
    for (const IniKey& key : SkinKeys()) all.push_back(key);
    for (const IniKey& key : LanguageKeys()) all.push_back(key);
    return all;
  }();
  fuzz::CheckKeptKeys(fuzz::Bytes(data, size), wanted);
  return 0;
}
