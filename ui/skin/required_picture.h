// Skin pictures a window cannot do without: a missing one is reported as
// missing (which ends the program unless a test handles it).
#pragma once

#include <QImage>
#include <filesystem>
#include <optional>
#include <string_view>

namespace mvk {

// The picture at programFolder + relativePath; nullopt, after the report,
// when it cannot be loaded.
std::optional<QImage> LoadRequiredSkinPicture(const std::filesystem::path& programFolder,
                                              std::u16string_view relativePath);

}  // namespace mvk
