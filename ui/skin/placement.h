// Placing a window's controls from the entries of its skin file.
#pragma once

#include <QImage>
#include <QPoint>
#include <filesystem>
#include <string_view>

class QWidget;

namespace mvk {

// A window's five full-window state pictures; an image button shows the
// part of each that lies under it.
struct SkinStateImages {
  QImage normal;
  QImage hover;
  QImage pressed;
  QImage disabled;
  QImage assigned;
};

// What placement needs of an image button.
class SkinImageButton {
 public:
  virtual ~SkinImageButton() = default;
  virtual QWidget* Widget() = 0;
  // origin: the point of the pictures under the button's top-left corner.
  virtual void SetOriginAndPictures(QPoint origin, const SkinStateImages& images, bool redraw) = 0;
};

// Moves and sizes an image button to its entry, hands it the state
// pictures with its position as origin, and disables it when the entry
// parks it at (1, 1) (which a missing entry does).
void PlaceSkinButton(SkinImageButton& button, const std::filesystem::path& skinFile,
                     std::u16string_view section, std::u16string_view key,
                     const SkinStateImages& images);

// Moves and sizes a control to its entry.
void PlaceControl(QWidget& control, const std::filesystem::path& skinFile,
                  std::u16string_view section, std::u16string_view key);

// Moves and sizes a control to one entry and gives it one picture for all
// its states, with the origin taken from the first two numbers of another.
void PlaceImageControl(SkinImageButton& control, const std::filesystem::path& skinFile,
                       std::u16string_view positionSection, std::u16string_view positionKey,
                       std::u16string_view originSection, std::u16string_view originKey,
                       const QImage& image);

// Moves a control to the position of its entry, keeping its size.
void MoveControl(QWidget& control, const std::filesystem::path& skinFile,
                 std::u16string_view section, std::u16string_view key);

}  // namespace mvk
