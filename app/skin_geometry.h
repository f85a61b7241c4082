// Control positions from skin files: an entry "x,y,width,height" in pixels of
// the window's client area; anything after the fourth number is ignored.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace mvk {

// What a missing entry reads as: a 1 x 1 control at (1, 1).
inline constexpr std::u16string_view kMissingSkinGeometry = u"1,1,1,1,x";

struct SkinGeometry {
  int x = 1;
  int y = 1;
  int width = 1;
  int height = 1;

  // Skins park controls they do not use at (1, 1); image buttons there are
  // disabled, whatever size the entry gives.
  bool Disabled() const { return x == 1 && y == 1; }
  friend bool operator==(const SkinGeometry&, const SkinGeometry&) = default;
};

// The first four comma-separated integers of an entry; none when the entry
// does not start with four of them.
std::optional<SkinGeometry> ParseSkinGeometry(std::u16string_view entry);

// The entry of a key in a skin file. A missing entry, or one that does not
// hold four numbers, gives the parked geometry (1, 1, 1, 1).
SkinGeometry ReadSkinGeometry(const std::filesystem::path& skinFile, std::u16string_view section,
                              std::u16string_view key);

}  // namespace mvk
