// Skin pictures, named relative to the program folder.
#pragma once

#include <QImage>
#include <filesystem>
#include <string_view>

namespace mvk {

// The picture at programFolder + relativePath ('\' separators are read as
// '/'); a null image when the file is missing or cannot be decoded.
QImage LoadSkinImage(const std::filesystem::path& programFolder, std::u16string_view relativePath);

}  // namespace mvk
