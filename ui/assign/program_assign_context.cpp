#include "ui/assign/program_assign_context.h"

#include <QDesktopServices>
#include <QStandardPaths>
#include <QUrl>

#include <chrono>

#include "model/settings_block.h"
#include "platform/shell.h"

namespace mvk {
namespace {

constexpr const char* kOnScreenKeyboards[] = {"onboard", "florence", "matchbox-keyboard"};

uint32_t SteadyTickCount() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

}  // namespace

bool StartOnScreenKeyboard() {
  for (const char* name : kOnScreenKeyboards) {
    const QString program = QStandardPaths::findExecutable(QString::fromLatin1(name));
    if (!program.isEmpty()) return StartProgram(program.toStdString());
  }
  return false;
}

AssignContext ProgramAssignContext(ProgramServices& services, Prompts& prompts,
                                   ModelPrompts& questions, MainWindowApi& mainWindow) {
  ProgramServices* program = &services;
  return AssignContext{
      .config = services.Config(),
      .settings = services.App().SettingsKey(),
      .text = [program](std::string_view key, int languageIndex) {
        return program->Texts().GetLangText(key, languageIndex);
      },
      .languageIndex = [program] { return program->LanguageIndex(); },
      .prompts = prompts,
      .questions = questions,
      .mainWindow = mainWindow,
      .activeProfile = [program] { return GetActiveProfile(program->Link()); },
      .skinFile = services.Paths().CompositeIni,
      .skinFolder = services.Paths().CompositeIniFolder,
      .tickCount = SteadyTickCount,
      .openHelp = [program] {
        QDesktopServices::openUrl(QUrl::fromLocalFile(
            QString::fromStdString((program->Paths().HelpFolder / "index.html").string())));
      },
      .startOnScreenKeyboard = StartOnScreenKeyboard,
  };
}

}  // namespace mvk
