// Configuration files and the keyboard: reading the keyboard into a file,
// applying a file to it, and checking a file.
#include <QJsonObject>
#include <QString>

#include <memory>
#include <mutex>
#include <system_error>

#include "cli/commands.h"
#include "cli/config_files.h"
#include "cli/exit_codes.h"
#include "cli/output.h"
#include "model/apply.h"
#include "model/settings_block.h"
#include "storage/keyboard_reload.h"

namespace mvk::cli {
namespace {

namespace fs = std::filesystem;

bool FolderExists(const fs::path& file) {
  std::error_code error;
  const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
  return fs::is_directory(folder, error);
}

std::string DefaultMatrixNotice(const Tool& tool) {
  return tool.Names().Text("MAIN_DEFAULT_MATRIX_PROMPT");
}

}  // namespace

int RunRead(Tool& tool) {
  const fs::path path = tool.Positional(0);
  if (!FolderExists(path)) {
    return Fail(kExitBadFile, path.string() + ": its folder does not exist");
  }
  int status = kExitOk;
  KeyboardSession* keyboard = tool.Keyboard(status);
  if (!keyboard) return status;
  const KeyMatrix defaults = keyboard->ReadDefaultMatrix(DefaultMatrixNotice(tool));
  KeyboardSource source{
      keyboard->Link(), defaults,
      QString::fromStdString(tool.Names().Text("MACRO_NEW_PREFIX")).toStdU16String()};
  if (!ReadKeyboardToFile(path, source)) {
    return keyboard->Failure("the keyboard's key maps and macros could not be read into " +
                             path.string());
  }
  return kExitOk;
}

int RunApply(Tool& tool) {
  const fs::path path = tool.Positional(0);
  auto config = std::make_unique<ToolConfig>();
  if (const int status = LoadConfig(path, tool.Names(), config->state.working)) return status;

  int status = kExitOk;
  KeyboardSession* keyboard = tool.Keyboard(status);
  if (!keyboard) return status;
  KeyboardLink& link = keyboard->Link();
  const KeyMatrix defaults = keyboard->ReadDefaultMatrix(DefaultMatrixNotice(tool));
  if (const int result = ReadMacroCapacity(link); result != kResultOk) {
    return keyboard->Failure(result, "the keyboard's macro memory size could not be read");
  }
  StandardErrorPrompts prompts(tool.Names());
  const int result = ApplyKeyMaps(config->state, link, defaults, 0, true, prompts);
  if (result == kResultNoMacroSpace) {
    return kExitBadFile;
  }
  if (result != kResultOk) {
    return keyboard->Failure(result, "the configuration was not fully written to the keyboard");
  }
  return kExitOk;
}

int RunValidate(Tool& tool) {
  const fs::path path = tool.Positional(0);
  const auto problem = ConfigFileProblem(path, tool.Names());
  if (tool.Json()) {
    QJsonObject verdict{{"file", QString::fromStdString(path.string())}, {"valid", !problem}};
    if (problem) verdict["reason"] = QString::fromStdString(*problem);
    PrintJson(verdict);
  } else {
    PrintLine(path.string() + (problem ? ": invalid: " + *problem : ": valid"));
  }
  return problem ? kExitBadFile : kExitOk;
}

}  // namespace mvk::cli
