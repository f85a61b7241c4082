// The working configuration and the apply snapshot, with the two locks the
// application owns. Lock order: ConfigLock, then MacroLock, then the
// keyboard's DeviceIoLock.
#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

#include "model/config_image.h"
#include "model/host_strings.h"
#include "model/macro.h"

namespace mvk {

// An image with its macro list and host strings.
struct ConfigStore {
  ConfigImage image = DefaultConfigImage();
  MacroList macros;
  HostStringTable hostStrings;

  // Back to a default image without macros or texts, so that a released
  // store is still a usable one.
  void Release();
};

struct ConfigState {
  ConfigState(std::recursive_mutex& configLock, std::recursive_mutex& macroLock)
      : ConfigLock(configLock), MacroLock(macroLock) {}
  ConfigState(const ConfigState&) = delete;
  ConfigState& operator=(const ConfigState&) = delete;

  std::recursive_mutex& ConfigLock;
  std::recursive_mutex& MacroLock;

  // Under ConfigLock: what the dialogs edit and configuration files hold.
  ConfigStore working;
  // Set when a macro that keys use is deleted: the next apply writes every
  // profile, because the macro positions of all of them move.
  bool macroReferencesChanged = false;

  // Under MacroLock: the copy the keyboard is written from, with its packed
  // host strings.
  ConfigStore snapshot;
  std::vector<uint8_t> snapshotStrings;
};

}  // namespace mvk
