// A skin's description and the headers of its pictures on arbitrary bytes:
// the description read from only its own keys is the one read from all, and
// a picture is decoded only when its header claims a size a skin may have.
#include "common/color_names.h"
#include "common/fuzz/fuzz_checks.h"
#include "common/picture_header.h"
#include "common/png_image.h"
#include "common/skin_description.h"

namespace {

bool Same(const lumorix::SkinDescription& a, const lumorix::SkinDescription& b) {
  if (a.colorText != b.colorText || a.toolButtons != b.toolButtons) return false;
  for (size_t i = 0; i < a.pictures.size(); ++i)
    if (a.pictures[i].file != b.pictures[i].file || a.pictures[i].left != b.pictures[i].left ||
        a.pictures[i].top != b.pictures[i].top)
      return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace lumorix;
  const std::string_view bytes = fuzz::Bytes(data, size);
  fuzz::CheckKeptKeys(bytes, SkinKeys());
  const IniFile kept = IniFile::Parse(bytes, SkinKeys());
  const SkinDescription skin = ReadSkinDescription(kept, "clBtnFace");
  if (!Same(skin, ReadSkinDescription(IniFile::Parse(bytes), "clBtnFace"))) __builtin_trap();
  if (fuzz::Characters(kept, SkinName(kept)) > 255) __builtin_trap();
  (void)ColorFromText(skin.colorText);

  for (auto claimed : {PngClaimedSize(bytes), BmpClaimedSize(bytes), IcoClaimedSize(bytes)})
    (void)(claimed && FitsSkin(*claimed));
  std::optional<PictureSize> png = PngClaimedSize(bytes);
  if (png && FitsSkin(*png)) {
    std::optional<PremultipliedImage> image = DecodePng(data, size);
    if (image && (image->width != png->width || image->height != png->height ||
                  image->pixels.size() != size_t{image->width} * image->height))
      __builtin_trap();
  }
  return 0;
}
