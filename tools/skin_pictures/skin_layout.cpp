#include "tools/skin_pictures/skin_layout.h"

#include <algorithm>

#include "app/skin_geometry.h"
#include "platform/ini.h"

namespace mvk::skin {
namespace {

QString Text(const std::u16string& text) { return QString::fromStdU16String(text); }

std::vector<Control> ReadControls(const std::filesystem::path& skinFile,
                                  std::u16string_view section) {
  std::vector<Control> controls;
  for (const std::u16string& key : ReadIniKeys(skinFile, section)) {
    const SkinGeometry geometry = ReadSkinGeometry(skinFile, section, key);
    if (geometry.Disabled()) continue;
    controls.push_back({Text(key), QRect(geometry.x, geometry.y, geometry.width, geometry.height)});
  }
  return controls;
}

int ReadNumber(const std::filesystem::path& skinFile, std::u16string_view key) {
  return Text(ReadIniString(skinFile, u"SCREEN", key, u"")).toInt();
}

}  // namespace

std::optional<QRect> SkinLayout::Find(const QString& key) const {
  const auto found = std::find_if(controls.begin(), controls.end(), [&](const Control& control) {
    return control.key.compare(key, Qt::CaseInsensitive) == 0;
  });
  if (found == controls.end()) return std::nullopt;
  return found->rect;
}

std::optional<SkinLayout> ReadSkinLayout(const std::filesystem::path& skinFile, QString& error) {
  SkinLayout layout;
  layout.windowSize = QSize(ReadNumber(skinFile, u"Width"), ReadNumber(skinFile, u"Height"));
  layout.facePicture = Text(ReadIniString(skinFile, u"SCREEN", u"Main", u""));
  layout.maskPicture =
      Text(ReadIniString(skinFile, u"SCREEN", u"Mask", layout.facePicture.toStdU16String()));
  const QString file = QString::fromStdString(skinFile.string());
  if (layout.windowSize.isEmpty()) {
    error = file + ": section SCREEN needs Width and Height";
    return std::nullopt;
  }
  if (layout.facePicture.isEmpty()) {
    error = file + ": section SCREEN needs Main";
    return std::nullopt;
  }
  layout.controls = ReadControls(skinFile, u"BUTTONINFO");
  layout.pictureOrigins = ReadControls(skinFile, u"BUTTONINFO2");
  return layout;
}

}  // namespace mvk::skin
