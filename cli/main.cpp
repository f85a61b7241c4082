// morvakinctl: the keyboard and its configuration files from the command line.
#include <QCoreApplication>

#include <algorithm>
#include <iostream>
#include <set>
#include <string>
#include <vector>

#include "app/app_paths.h"
#include "cli/commands.h"
#include "cli/exit_codes.h"

namespace mvk::cli {
namespace {

struct Command {
  std::vector<std::string> words;
  std::string operands;
  std::size_t minPositionals;
  std::size_t maxPositionals;
  std::set<std::string> options;
  std::string summary;
  int (*run)(Tool&);
};

const std::set<std::string> kCommonOptions = {"help", "simulate", "trace", "json"};
const std::set<std::string> kLightingOptions = {"profile", "effect",    "brightness", "speed",
                                                "direction", "colour", "multi", "report-rate"};
const std::set<std::string> kAssignOptions = {"profile", "key",   "default", "disable",
                                              "send",    "mouse", "macro",   "loops",
                                              "media",   "function"};

const std::vector<Command>& Commands() {
  static const std::vector<Command> commands = {
      {{"devices"}, "", 0, 0, {}, "list the keyboard's HID collections", RunDevices},
      {{"descriptor"}, "FILE", 1, 1, {}, "parse a HID report descriptor", RunDescriptor},
      {{"status"}, "", 0, 0, {}, "connection, active profile, macro capacity, effects", RunStatus},
      {{"profile"}, "[N]", 0, 1, {}, "show or set the active profile (1 to 3)", RunProfile},
      {{"lighting", "show"}, "[--profile N]", 0, 0, {"profile"}, "show a profile's lighting",
       RunLightingShow},
      {{"lighting", "set"},
       "[--profile N] [--effect CODE|NAME] [--brightness 0-5] [--speed 0-4] "
       "[--direction left|right] [--colour RRGGBB] [--multi on|off] [--report-rate 0-3]",
       0, 0, kLightingOptions, "set lighting fields", RunLightingSet},
      {{"keys", "paint"}, "--profile N --key NAME --colour RRGGBB", 0, 0,
       {"profile", "key", "colour"}, "paint one key", RunKeysPaint},
      {{"read"}, "FILE", 1, 1, {}, "read the keyboard's key maps and macros into FILE", RunRead},
      {{"apply"}, "FILE", 1, 1, {}, "write FILE to the keyboard for all profiles", RunApply},
      {{"validate"}, "FILE", 1, 1, {}, "check a configuration file", RunValidate},
      {{"dump"}, "FILE", 1, 1, {}, "show a configuration file's content", RunDump},
      {{"assign"},
       "FILE --profile N --key NAME (--default | --disable | --send KEY | "
       "--mouse left|right|middle|wheel-up|wheel-down | --macro NAME [--loops N] | "
       "--media NAME | --function N)",
       1, 1, kAssignOptions, "set a key's assignment in FILE", RunAssign},
      {{"macro", "add"}, "FILE --name NAME --events \"press:KEY:DELAY release:KEY:DELAY ...\"", 1,
       1, {"name", "events"}, "add a macro to FILE", RunMacroAdd},
      {{"macro", "delete"}, "FILE --name NAME", 1, 1, {"name"}, "delete a macro from FILE",
       RunMacroDelete},
      {{"reset"}, "[--yes]", 0, 0, {"yes"}, "restore the keyboard's key maps and lighting",
       RunReset},
  };
  return commands;
}

std::string Usage(const Command& command) {
  std::string words;
  for (const auto& word : command.words) words += word + " ";
  return "morvakinctl " + words + command.operands;
}

void PrintHelp(std::ostream& out) {
  out << "usage: morvakinctl COMMAND [ARGUMENTS] [--simulate[=FILE]] [--trace] [--json]\n\n";
  for (const Command& command : Commands()) {
    out << "  " << Usage(command) << "\n      " << command.summary << '\n';
  }
  out << "\nExit status: 0 done, 1 bad usage, 2 bad file, 3 no keyboard or no answer,"
         " 4 refused by the keyboard.\n";
}

const Command* FindCommand(const std::vector<std::string>& words) {
  const Command* best = nullptr;
  for (const Command& command : Commands()) {
    const bool matches = words.size() >= command.words.size() &&
                         std::equal(command.words.begin(), command.words.end(), words.begin());
    if (matches && (!best || command.words.size() > best->words.size())) best = &command;
  }
  return best;
}

int CheckUsage(const Command& command, const Arguments& arguments) {
  const std::size_t positionals = arguments.words.size() - command.words.size();
  if (positionals < command.minPositionals || positionals > command.maxPositionals) {
    return Fail(kExitUsage, "usage: " + Usage(command));
  }
  for (const std::string& given : arguments.Given()) {
    if (!kCommonOptions.contains(given) && !command.options.contains(given)) {
      return Fail(kExitUsage, "--" + given + " does not go with this command; usage: " +
                                  Usage(command));
    }
  }
  return kExitOk;
}

int Run(const std::vector<std::string>& rawArguments) {
  std::string error;
  const auto arguments = ParseArguments(rawArguments, error);
  if (!arguments) return Fail(kExitUsage, error);
  const Command* command = FindCommand(arguments->words);
  if (arguments->Has("help")) {
    if (command) {
      std::cout << "usage: " << Usage(*command) << "\n  " << command->summary << '\n';
    } else {
      PrintHelp(std::cout);
    }
    return kExitOk;
  }
  if (!command) {
    PrintHelp(std::cerr);
    return Fail(kExitUsage, arguments->words.empty() ? "no command given"
                                                     : "unknown command " + arguments->words[0]);
  }
  if (const int status = CheckUsage(*command, *arguments)) return status;
  Tool tool(*arguments, BuildAppPaths(RunningProgramFile()));
  tool.SetCommandWords(command->words.size());
  return command->run(tool);
}

}  // namespace
}  // namespace mvk::cli

int main(int argc, char* argv[]) {
  QCoreApplication application(argc, argv);
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  return mvk::cli::Run(arguments);
}
