// A language file on arbitrary bytes: the captions read from only the
// language's keys are those read from the whole file.
#include "common/fuzz/fuzz_checks.h"
#include "common/language_texts.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace lumorix;
  const std::string_view bytes = fuzz::Bytes(data, size);
  fuzz::CheckKeptKeys(bytes, LanguageKeys());
  const LanguageTexts kept(IniFile::Parse(bytes, LanguageKeys()));
  const LanguageTexts all(IniFile::Parse(bytes));
  for (size_t i = 0; i < kCaptionCount; ++i) {
    const auto caption = static_cast<Caption>(i);
    if (kept.Text(caption) != all.Text(caption) || kept.FromFile(caption) != all.FromFile(caption)) __builtin_trap();
  }
  return 0;
}
