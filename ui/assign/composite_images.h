// The picture sets of the assignment dialog: one per page (the single-key
// set also serves the frame buttons), and the set of the macro editor
// opened on its own. A button of the shown page is marked with its pressed
// picture.
#pragma once

#include <filesystem>

#include "ui/skin/placement.h"

namespace mvk {

struct CompositeImageSets {
  SkinStateImages key;
  SkinStateImages macro;
  SkinStateImages media;
  SkinStateImages function;
  SkinStateImages macroOnly;
};

// Pictures that are missing stay null; a set without a disabled picture
// shows its normal one when disabled.
CompositeImageSets LoadCompositeImageSets(const std::filesystem::path& skinFolder);

}  // namespace mvk
