#include "cli/arguments.h"

#include <QStringList>

#include <charconv>

namespace mvk::cli {
namespace {

const std::set<std::string> kValueOptions = {
    "profile", "effect",      "brightness", "speed", "direction", "colour",
    "multi",   "report-rate", "key",        "send",  "mouse",     "macro",
    "loops",   "media",       "function",   "name",  "events",
};
const std::set<std::string> kFlagOptions = {"help", "trace", "json", "yes", "default", "disable"};

bool IsSimulate(const std::string& argument) {
  return argument == "--simulate" || argument.starts_with("--simulate=");
}

}  // namespace

std::optional<std::string> Arguments::Value(const std::string& option) const {
  const auto found = values.find(option);
  if (found == values.end()) return std::nullopt;
  return found->second;
}

std::set<std::string> Arguments::Given() const {
  std::set<std::string> given = flags;
  for (const auto& entry : values) given.insert(entry.first);
  if (simulate.enabled) given.insert("simulate");
  return given;
}

std::optional<Arguments> ParseArguments(const std::vector<std::string>& arguments,
                                        std::string& error) {
  Arguments result;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (IsSimulate(argument)) {
      // The program's own reading of the option, so that both agree.
      result.simulate = ParseCommandLine({QString::fromStdString(argument)}).simulate;
      continue;
    }
    if (!argument.starts_with("--") || argument.size() == 2) {
      result.words.push_back(argument);
      continue;
    }
    const std::size_t equals = argument.find('=');
    const std::string name = argument.substr(2, equals == std::string::npos ? equals : equals - 2);
    if (kFlagOptions.contains(name) && equals == std::string::npos) {
      result.flags.insert(name);
      continue;
    }
    if (!kValueOptions.contains(name)) {
      error = "unknown option " + argument;
      return std::nullopt;
    }
    if (result.values.contains(name)) {
      error = "option --" + name + " given twice";
      return std::nullopt;
    }
    if (equals != std::string::npos) {
      result.values[name] = argument.substr(equals + 1);
    } else if (i + 1 < arguments.size() && !arguments[i + 1].starts_with("--")) {
      result.values[name] = arguments[++i];
    } else {
      error = "option --" + name + " needs a value";
      return std::nullopt;
    }
  }
  return result;
}

std::optional<int> ParseNumber(const std::string& text, int low, int high) {
  int number = 0;
  const char* end = text.data() + text.size();
  const auto [stop, failure] = std::from_chars(text.data(), end, number);
  if (text.empty() || failure != std::errc() || stop != end || number < low || number > high) {
    return std::nullopt;
  }
  return number;
}

}  // namespace mvk::cli
