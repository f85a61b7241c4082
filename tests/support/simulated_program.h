// The program below its windows, on a simulated keyboard, for window tests:
// user folders in a temporary folder, the application started with the
// build tree's resources, and its services with the keyboard's command
// collection open, as after an attach. A skin picture that cannot be loaded
// fails the test instead of ending the test program.
#pragma once

#include <filesystem>
#include <memory>

#include "app/morvakin_app.h"
#include "app/program_services.h"
#include "sim/simulated_keyboard.h"
#include "support/temp_user_folders.h"
#include "ui/skin/missing_picture.h"

namespace mvk::test {

class SimulatedProgram {
 public:
  // buildFolder: where the program file would be, its resources beside it.
  explicit SimulatedProgram(const std::filesystem::path& buildFolder);
  ~SimulatedProgram();

  CMorvakinApp& App() { return app_; }
  ProgramServices& Services() { return *services_; }
  sim::SimulatedKeyboard& Keyboard() { return *keyboard_; }
  const TempUserFolders& Folders() const { return folders_; }

 private:
  TempUserFolders folders_;
  CMorvakinApp app_;
  std::shared_ptr<sim::SimulatedKeyboard> keyboard_;
  std::unique_ptr<ProgramServices> services_;
  MissingPictureHandler previousHandler_;
};

}  // namespace mvk::test
