// The tool's command line: command words, positional arguments, options
// with values ("--name VALUE" or "--name=VALUE") and flags.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/command_line.h"

namespace mvk::cli {

struct Arguments {
  // Command words first, then positional arguments, in order.
  std::vector<std::string> words;
  std::map<std::string, std::string> values;
  std::set<std::string> flags;
  SimulateChoice simulate;

  bool Has(const std::string& flag) const { return flags.contains(flag); }
  std::optional<std::string> Value(const std::string& option) const;
  // Every option and flag given, without the leading dashes, for checking
  // them against what a command accepts.
  std::set<std::string> Given() const;
};

// Splits the arguments after the program name. An option that is unknown,
// given twice or missing its value is refused with a message in `error`.
std::optional<Arguments> ParseArguments(const std::vector<std::string>& arguments,
                                        std::string& error);

// A whole decimal number within [low, high]; nullopt otherwise.
std::optional<int> ParseNumber(const std::string& text, int low, int high);

}  // namespace mvk::cli
