// What every command works with: its arguments, the program's paths and
// names, the output form, and the keyboard when the command needs one.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "app/app_paths.h"
#include "cli/arguments.h"
#include "cli/keyboard_session.h"
#include "cli/names.h"

namespace mvk::cli {

class Tool {
 public:
  Tool(Arguments arguments, AppPaths paths);

  const Arguments& Args() const { return arguments_; }
  const AppPaths& Paths() const { return paths_; }
  const NameBook& Names() const { return names_; }
  bool Json() const { return arguments_.Has("json"); }
  // How many of the words name the command ("lighting set" is two).
  void SetCommandWords(std::size_t count) { commandWords_ = count; }
  // The positional arguments after the command words.
  std::size_t PositionalCount() const;
  const std::string& Positional(std::size_t index) const;

  // The keyboard, opened; nullptr (with the exit status in `exitCode`) when
  // it is not there.
  KeyboardSession* Keyboard(int& exitCode);

  // "--profile N" as a profile index 0 to 2; nullopt (and a usage message
  // through `exitCode`) for anything else. `fallback` is used when the
  // option is absent; without one the option is required.
  std::optional<int> Profile(int& exitCode, std::optional<int> fallback = std::nullopt) const;

 private:
  Arguments arguments_;
  AppPaths paths_;
  NameBook names_;
  std::size_t commandWords_ = 1;
  std::unique_ptr<KeyboardSession> keyboard_;
};

}  // namespace mvk::cli
