// The main window's image buttons besides the keys, with their skin entry
// names in section "BUTTONINFO" of "Skins/Main.ini" and their control ids
// (0 for pictures that send no command).
#pragma once

#include <array>
#include <string_view>

namespace mvk {

struct MainControl {
  std::u16string_view skinKey;
  int control;
};

inline constexpr int kControlProfile1 = 1135;
inline constexpr int kControlSwitch = 1144;
inline constexpr int kControlVersion = 0;
inline constexpr std::u16string_view kVersionSkinKey = u"TALVOR_VER";

inline constexpr std::array<MainControl, 29> kMainControls = {{
    {u"TALVOR_LINK", 1121},     {u"FUNC_PROFILES", 1005},  {u"FUNC_MACRO", 1007},
    {u"CONTROL_OK", 1},         {u"CONTROL_CANCEL", 2},    {u"CONTROL_HELP", 1122},
    {u"CONTROL_CLOSE", 1124},   {u"CONTROL_MINIMIZE", 1123}, {u"CONTROL_MENU", 1139},
    {u"CONTROL2_APPLY", 1006},  {u"LOCK_CAPS", 0},         {u"LOCK_NUM", 0},
    {u"LOCK_SCROLL", 0},        {u"LOCK_AB", 0},           {u"FLIP_0", 0},
    {u"FLIP_1", 0},             {u"FLIP_2", 0},            {u"TALVOR_VER", kControlVersion},
    {u"FUNC_PROFILE1", 1135},   {u"FUNC_PROFILE2", 1136},  {u"FUNC_PROFILE3", 1137},
    {u"FUNC_DEFAULT", 1138},    {u"FUNC_SWITCH", kControlSwitch}, {u"FUNC_REPORT1", 1147},
    {u"FUNC_REPORT2", 1168},    {u"FUNC_REPORT3", 1169},   {u"FUNC_REPORT4", 1170},
    {u"KEY_FN", 1174},          {u"FUNC_PROFILE_MENU", 1009},
}};

// The arrows beside the keyboard view, and where their pictures lie in
// "Arrow.jpg" (section "BUTTONINFO2", followed by 1).
inline constexpr std::array<std::u16string_view, 2> kArrowKeys = {u"LEFT_ARROW", u"RIGHT_ARROW"};
inline constexpr std::array<std::u16string_view, 2> kArrowUpOrigins = {u"UP_ARROW_LEFT1",
                                                                       u"UP_ARROW_RIGHT1"};
inline constexpr std::array<std::u16string_view, 2> kArrowDownOrigins = {u"DOWN_ARROW_LEFT1",
                                                                         u"DOWN_ARROW_RIGHT1"};

}  // namespace mvk
