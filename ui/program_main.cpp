#include <QApplication>

#include <string_view>

#include "app/app_paths.h"
#include "app/morvakin_app.h"
#include "ui/main/main_window.h"
#include "ui/prompts.h"

namespace {

// Until the language file is read, a text is shown by its key.
QString KeyAsText(std::string_view key) {
  return QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
}

int RunMainWindow(mvk::CMorvakinApp& app) {
  mvk::QtPrompts prompts;
  mvk::CMorvakinDlg window(app, prompts, KeyAsText);
  return window.RunModal();
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  // The window lives hidden most of the time; only Shutdown ends the program.
  QApplication::setQuitOnLastWindowClosed(false);
  mvk::CMorvakinApp app(QCoreApplication::arguments(), mvk::RunningProgramFile(), RunMainWindow);
  return app.InitInstance();
}
