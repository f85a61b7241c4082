// Everything below the windows that lives as long as the program: the HID
// backend (the system's hidraw nodes, or the simulated keyboard), the
// keyboard's device object and link, the working configuration and the apply
// snapshot, the default matrix, the lighting state, the language texts and
// the per-user configuration folder with its lighting mode store. The main
// window and its dialogs reach all of it through one object.
#pragma once

#include <memory>
#include <mutex>

#include "app/language.h"
#include "app/morvakin_app.h"
#include "device/hid_device.h"
#include "model/config_store.h"
#include "model/default_matrix.h"
#include "model/lighting.h"
#include "platform/hid.h"
#include "platform/simulated_hid.h"
#include "protocol/keyboard_link.h"
#include "protocol/trace.h"
#include "storage/config_folder.h"
#include "storage/lighting_mode_store.h"
#include "storage/user_modes.h"

namespace mvk {

namespace sim {
class SimulatedKeyboard;
}

// The simulated keyboard's memory file when "--simulate" names none.
std::filesystem::path DefaultSimulatedKeyboardFile();

// The program's keyboard access, shared with the command-line tool: the
// simulated keyboard that a simulate choice asks for (nullptr for the
// hardware), the backend it sits behind (hidraw without one), and the
// per-user configuration folder.
std::shared_ptr<sim::SimulatedKeyboard> MakeSimulatedKeyboard(const SimulateChoice& choice);
std::unique_ptr<HidBackend> MakeHidBackend(const std::shared_ptr<sim::SimulatedKeyboard>& keyboard);
ConfigFolder ProgramConfigFolder(const AppPaths& paths);

class ProgramServices {
 public:
  // Uses the application's paths, settings, locks and simulate choice.
  explicit ProgramServices(CMorvakinApp& app);
  // For tests: a given backend (and, when simulated, its keyboard).
  ProgramServices(CMorvakinApp& app, std::unique_ptr<HidBackend> backend,
                  std::shared_ptr<sim::SimulatedKeyboard> keyboard);
  ~ProgramServices();
  ProgramServices(const ProgramServices&) = delete;
  ProgramServices& operator=(const ProgramServices&) = delete;

  CMorvakinApp& App() { return app_; }
  const AppPaths& Paths() const { return app_.Paths(); }
  DeviceStateRecord& DeviceState() { return app_.DeviceState(); }
  HidBackend& Backend() { return *backend_; }
  // The simulated keyboard, or nullptr on real hardware.
  sim::SimulatedKeyboard* SimulatedKeyboard() { return keyboard_.get(); }
  // The simulated backend, or nullptr on real hardware.
  SimulatedHidBackend* SimulatedBackend();

  CHidDevice& KeyboardDevice() { return keyboardDevice_; }
  KeyboardLink& Link() { return link_; }

  // The working configuration and the apply snapshot (ConfigLock, MacroLock).
  ConfigState& Config() { return config_; }

  // The keyboard's default matrix, refreshed on every attach from the
  // monitor thread: copy it out under its lock.
  KeyMatrix DefaultMatrix() const;
  void SetDefaultMatrix(const KeyMatrix& matrix);

  // Window thread only.
  LightingConfig& Lighting() { return lighting_; }
  UserModeState& UserModes() { return userModes_; }
  const LightingModeStore& ModeStore() const { return modeStore_; }
  const ConfigFolder& Folder() const { return folder_; }

  const LanguageTexts& Texts() const { return texts_; }
  // Resolves the language again, so a changed "LANGUAGE" value is seen.
  int LanguageIndex();
  // A "TEXT" entry in the current language.
  std::u16string Text(std::string_view key);

 private:
  CMorvakinApp& app_;
  std::unique_ptr<HidBackend> backend_;
  std::shared_ptr<sim::SimulatedKeyboard> keyboard_;
  std::unique_ptr<PacketTrace> trace_;
  CHidDevice keyboardDevice_;
  KeyboardLink link_;
  ConfigState config_;
  mutable std::mutex defaultMatrixLock_;
  KeyMatrix defaultMatrix_;
  LightingConfig lighting_;
  UserModeState userModes_;
  ConfigFolder folder_;
  LightingModeStore modeStore_;
  LanguageTexts texts_;
};

}  // namespace mvk
