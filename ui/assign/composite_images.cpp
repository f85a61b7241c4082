#include "ui/assign/composite_images.h"

#include <string>

#include "ui/skin/skin_image.h"

namespace mvk {
namespace {

SkinStateImages LoadSet(const std::filesystem::path& folder, std::u16string_view prefix,
                        bool hasDisabled) {
  const auto load = [&](std::u16string_view state) {
    return LoadSkinImage(folder, std::u16string(prefix) + u"_" + std::u16string(state) + u".jpg");
  };
  SkinStateImages set;
  set.normal = load(u"normal");
  set.hover = load(u"over");
  set.pressed = load(u"down");
  set.disabled = hasDisabled ? load(u"disable") : set.normal;
  set.assigned = set.pressed;
  return set;
}

}  // namespace

CompositeImageSets LoadCompositeImageSets(const std::filesystem::path& skinFolder) {
  return CompositeImageSets{
      .key = LoadSet(skinFolder, u"key", false),
      .macro = LoadSet(skinFolder, u"macro", true),
      .media = LoadSet(skinFolder, u"media", false),
      .function = LoadSet(skinFolder, u"function", false),
      .macroOnly = LoadSet(skinFolder, u"macro2", true),
  };
}

}  // namespace mvk
