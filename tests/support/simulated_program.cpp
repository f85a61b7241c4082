#include "support/simulated_program.h"

#include <gtest/gtest.h>

#include "device/collection_match.h"

namespace mvk::test {

SimulatedProgram::SimulatedProgram(const std::filesystem::path& buildFolder)
    : app_({"morvakin"}, buildFolder / "morvakin",
           [](CMorvakinApp&) { return 0; }),
      keyboard_(std::make_shared<sim::SimulatedKeyboard>()) {
  previousHandler_ = SetMissingSkinPictureHandler([](const QString& file) {
    ADD_FAILURE() << "missing skin picture " << file.toStdString();
  });
  // Start-up without a window: paths, settings store and the instance lock.
  app_.InitInstance();
  services_ = std::make_unique<ProgramServices>(app_, nullptr, keyboard_);
  CHidDevice& device = services_->KeyboardDevice();
  EXPECT_TRUE(device.EnumerateDevices());
  EXPECT_TRUE(OpenKeyboardCollection(device, kCommandCollection, {.read = true, .write = true}));
  device.FreeDeviceList();
  KeyboardLink& link = services_->Link();
  link.pause = [](std::chrono::milliseconds) {};
  link.DeviceConnected = 1;
}

SimulatedProgram::~SimulatedProgram() {
  services_.reset();
  SetMissingSkinPictureHandler(previousHandler_);
}

}  // namespace mvk::test
