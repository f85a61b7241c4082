// Skin pictures whose names are the program's own choice rather than a skin
// file's: the busy indicator's frames and the tray icons. The skin picture
// generator writes them under these names, the windows load them.
#pragma once

#include <array>
#include <string_view>

namespace mvk {

// Frames of the busy indicator, shown in turn, relative to the program folder.
inline constexpr std::array<std::u16string_view, 10> kBusyPictureNames = {
    u"Skins/busy0.png", u"Skins/busy1.png", u"Skins/busy2.png", u"Skins/busy3.png",
    u"Skins/busy4.png", u"Skins/busy5.png", u"Skins/busy6.png", u"Skins/busy7.png",
    u"Skins/busy8.png", u"Skins/busy9.png"};

// Tray icons by resource number: 128 no keyboard (also the main icon), 141
// keyboard attached, 142 the keyboard's alternate state.
struct TrayIconName {
  int resource;
  std::u16string_view file;
};
inline constexpr std::array<TrayIconName, 3> kTrayIconNames = {{
    {128, u"Skins/tray128.png"},
    {141, u"Skins/tray141.png"},
    {142, u"Skins/tray142.png"},
}};

}  // namespace mvk
