#include "app/program_services.h"

#include "platform/hidraw_backend.h"
#include "platform/user_folders.h"
#include "sim/simulated_keyboard.h"

namespace mvk {

std::shared_ptr<sim::SimulatedKeyboard> MakeSimulatedKeyboard(const SimulateChoice& choice) {
  if (!choice.enabled) {
    return nullptr;
  }
  const auto file =
      choice.memoryFile.empty() ? DefaultSimulatedKeyboardFile() : choice.memoryFile;
  return std::make_shared<sim::SimulatedKeyboard>("keyboard", file);
}

std::unique_ptr<HidBackend> MakeHidBackend(const std::shared_ptr<sim::SimulatedKeyboard>& keyboard) {
  if (!keyboard) {
    return std::make_unique<HidrawBackend>();
  }
  auto backend = std::make_unique<SimulatedHidBackend>();
  backend->Plug(keyboard);
  return backend;
}

ConfigFolder ProgramConfigFolder(const AppPaths& paths) {
  return {ConfigFolderIn(DataHome()), UserModeTemplatePath(paths.UserColourBase)};
}

std::filesystem::path DefaultSimulatedKeyboardFile() {
  const auto dataHome = DataHome();
  if (dataHome.empty()) {
    return {};
  }
  return ConfigFolderIn(dataHome) / "simulated-keyboard.bin";
}

ProgramServices::ProgramServices(CMorvakinApp& app)
    : ProgramServices(app, nullptr, MakeSimulatedKeyboard(app.Simulate())) {}

ProgramServices::ProgramServices(CMorvakinApp& app, std::unique_ptr<HidBackend> backend,
                                 std::shared_ptr<sim::SimulatedKeyboard> keyboard)
    : app_(app),
      backend_(backend ? std::move(backend) : MakeHidBackend(keyboard)),
      keyboard_(std::move(keyboard)),
      trace_(PacketTrace::FromEnvironment()),
      keyboardDevice_(*backend_),
      link_(keyboardDevice_),
      config_(app.ConfigLock, app.MacroLock),
      defaultMatrix_(BuiltInDefaultMatrix()),
      folder_(ProgramConfigFolder(app.Paths())),
      modeStore_(folder_),
      texts_(app.Paths().ResourceFolder) {
  link_.trace = trace_.get();
}

ProgramServices::~ProgramServices() { keyboardDevice_.Close(); }

SimulatedHidBackend* ProgramServices::SimulatedBackend() {
  return dynamic_cast<SimulatedHidBackend*>(backend_.get());
}

KeyMatrix ProgramServices::DefaultMatrix() const {
  std::lock_guard lock(defaultMatrixLock_);
  return defaultMatrix_;
}

void ProgramServices::SetDefaultMatrix(const KeyMatrix& matrix) {
  std::lock_guard lock(defaultMatrixLock_);
  defaultMatrix_ = matrix;
}

int ProgramServices::LanguageIndex() { return mvk::LanguageIndex(app_.SettingsKey()); }

std::u16string ProgramServices::Text(std::string_view key) {
  return texts_.GetLangText(key, LanguageIndex());
}

}  // namespace mvk
