// Every skin picture of the program, drawn from the skin files' geometry so
// that each control's face lies exactly under the control: a control at
// (x, y) shows the picture from (x - 1, y - 1).
#pragma once

#include <QImage>
#include <QString>
#include <vector>

#include "tools/skin_pictures/skin_layout.h"

namespace mvk::skin {

struct Picture {
  QString name;  // file name in the skin folder
  QImage image;
};

// main_normal, main_over, main_down, main_disable, main_color0, main_color1.
std::vector<Picture> MainPictures(const SkinLayout& main);
// The arrow pictures side by side, at the origins of section BUTTONINFO2.
Picture ArrowPicture(const SkinLayout& main);
// The page sets key_, macro_, media_, function_ and macro2_.
std::vector<Picture> CompositePictures(const SkinLayout& composite);
std::vector<Picture> ProfilePictures(const SkinLayout& profile);
std::vector<Picture> UpdatePictures(const SkinLayout& update);
// The window's outline under the name its skin file gives; none when the
// face picture serves as mask.
std::vector<Picture> MaskPicture(const SkinLayout& layout);
// The busy indicator's frames, sized for its place in the main window.
std::vector<Picture> BusyPictures(const SkinLayout& main);
std::vector<Picture> TrayIcons();

}  // namespace mvk::skin
