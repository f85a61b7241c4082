// What the assignment dialog and its macro page use of the program: the
// working configuration, the settings store, the language texts, the
// prompts, the main window, the skin file, a millisecond clock and the
// outside programs it may start. Tests give their own.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "model/config_store.h"
#include "model/model_prompts.h"
#include "platform/registry.h"

namespace mvk {

class MainWindowApi;
class Prompts;

struct AssignContext {
  ConfigState& config;
  RegistryStore& settings;
  // A "TEXT" entry of the language with the given index.
  std::function<std::u16string(std::string_view key, int languageIndex)> text;
  std::function<int()> languageIndex;
  // Message boxes with a ready text, and Yes/No questions by language key.
  Prompts& prompts;
  ModelPrompts& questions;
  MainWindowApi& mainWindow;
  // The keyboard's active profile, whose key slots the dialog edits.
  std::function<int()> activeProfile;
  // "Composite.ini" and the folder of the pictures it names.
  std::filesystem::path skinFile;
  std::filesystem::path skinFolder;
  // Milliseconds of a steady clock; recording measures waits with it.
  std::function<uint32_t()> tickCount;
  // The help page (F1) and the on-screen keyboard; false when there is none.
  std::function<void()> openHelp;
  std::function<bool()> startOnScreenKeyboard;
};

}  // namespace mvk
