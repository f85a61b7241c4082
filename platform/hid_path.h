// The form of the collection paths that our HID backends hand out:
//   NODE&vid_XXXX&pid_XXXX&colNN
// NODE names the device node ("/dev/hidraw3", "sim:keyboard"), XXXX are the
// vendor and product numbers in four lower-case hex digits, and NN is the
// 1-based number of the top-level collection in the node's report
// descriptor, in two or more decimal digits. Every collection carries its
// number, also on a node with a single one.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "platform/hid.h"

namespace mvk {

std::string HidCollectionPath(const std::string& node, const HidAttributes& attributes,
                              std::size_t collectionIndex);

struct HidPathParts {
  std::string node;
  std::size_t collectionIndex = 0;  // 0-based
};

// Splits a path of the form above; nullopt when it has another form. Callers
// compare the path with HidCollectionPath of what they found, so a path that
// names the right node with wrong numbers is still refused.
std::optional<HidPathParts> SplitHidCollectionPath(const std::string& path);

}  // namespace mvk
