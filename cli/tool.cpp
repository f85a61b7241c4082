#include "cli/tool.h"

#include "cli/exit_codes.h"

namespace mvk::cli {

Tool::Tool(Arguments arguments, AppPaths paths)
    : arguments_(std::move(arguments)), paths_(std::move(paths)), names_(paths_.ResourceFolder) {}

std::size_t Tool::PositionalCount() const {
  const std::size_t words = arguments_.words.size();
  return words > commandWords_ ? words - commandWords_ : 0;
}

const std::string& Tool::Positional(std::size_t index) const {
  return arguments_.words.at(commandWords_ + index);
}

KeyboardSession* Tool::Keyboard(int& exitCode) {
  if (!keyboard_) {
    keyboard_ = std::make_unique<KeyboardSession>(arguments_.simulate, arguments_.Has("trace"));
    exitCode = keyboard_->Open(names_.Text("MAIN_NO_DEVICE_PROMPT"));
    if (exitCode != kExitOk) {
      keyboard_.reset();
      return nullptr;
    }
  }
  exitCode = kExitOk;
  return keyboard_.get();
}

std::optional<int> Tool::Profile(int& exitCode, std::optional<int> fallback) const {
  const auto text = arguments_.Value("profile");
  if (!text) {
    if (!fallback) exitCode = Fail(kExitUsage, "--profile N (1 to 3) is needed");
    return fallback;
  }
  const auto number = ParseNumber(*text, 1, 3);
  if (!number) {
    exitCode = Fail(kExitUsage, "profile " + *text + " does not exist: profiles are 1 to 3");
    return std::nullopt;
  }
  return *number - 1;
}

}  // namespace mvk::cli
