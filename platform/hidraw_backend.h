// The Linux HID backend: hidraw nodes found in sysfs, one path per top-level
// collection of each node's report descriptor (see platform/hid_path.h for
// the form, e.g. "/dev/hidraw3&vid_320f&pid_505b&col02").
//
// Every open of a hidraw node receives every input report of the node, so
// two collections of one node can be open at once; each connection keeps
// only the reports whose ids belong to its collection. Reads and writes wait
// with poll() on the node and on an eventfd that serves as the stop event.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "platform/hid.h"

namespace mvk {

class HidrawBackend final : public HidBackend {
 public:
  // Opens a device node with open(2) flags; returns the descriptor, or -1.
  using NodeOpener = std::function<int(const std::string& node, int flags)>;

  static int OpenDeviceNode(const std::string& node, int flags);

  // `sysfsRoot` lists the hidraw class ("/sys/class/hidraw"); nodes are
  // named after its entries in `deviceFolder` ("/dev").
  explicit HidrawBackend(std::filesystem::path sysfsRoot = "/sys/class/hidraw",
                         std::filesystem::path deviceFolder = "/dev",
                         NodeOpener opener = OpenDeviceNode);

  std::optional<std::vector<std::string>> Enumerate() override;
  // Without read or write access the node is only checked for presence, as
  // Windows allows. Linux has no share modes, so `exclusive` is not enforced.
  std::unique_ptr<HidConnection> Open(const std::string& path,
                                      const HidOpenOptions& options) override;

 private:
  std::filesystem::path sysfsRoot_;
  std::filesystem::path deviceFolder_;
  NodeOpener opener_;
};

}  // namespace mvk
