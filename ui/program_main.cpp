#include <QApplication>
#include <QTimer>

#include <cstdio>

#include "app/app_paths.h"
#include "app/morvakin_app.h"
#include "app/program_services.h"
#include "device/connection_monitor.h"
#include "device/consumer_listener.h"
#include "ui/assign/composite_dialog.h"
#include "ui/assign/program_assign_context.h"
#include "ui/language_prompts.h"
#include "ui/main/main_panels.h"
#include "ui/main/main_window.h"
#include "ui/profiles/profile_manager_dialog.h"
#include "ui/update/update_dialog.h"
#include "ui/prompts.h"

namespace {

// MORVAKIN_SCREENSHOT=FILE: once the window has come up (or after a few
// seconds, when no keyboard brings it up), its picture is saved to FILE and
// the program ends. For looking at the window where no display is at hand.
void ScheduleScreenshot(mvk::CMorvakinDlg& window, const QString& file) {
  constexpr int kCheckMs = 100;
  constexpr int kGiveUpMs = 5000;
  auto* poll = new QTimer(&window);
  auto waited = std::make_shared<int>(0);
  QObject::connect(poll, &QTimer::timeout, &window, [&window, poll, waited, file] {
    *waited += kCheckMs;
    if (!window.isVisible() && *waited < kGiveUpMs) return;
    poll->stop();
    const bool saved = window.grab().save(file);
    std::fprintf(stderr, saved ? "morvakin: screenshot saved to %s\n"
                               : "morvakin: could not save the screenshot to %s\n",
                 file.toLocal8Bit().constData());
    window.Shutdown();
  });
  poll->start(kCheckMs);
}

int RunMainWindow(mvk::CMorvakinApp& app) {
  mvk::ProgramServices services(app);
  mvk::QtPrompts prompts;
  mvk::CMorvakinDlg window(services, prompts);
  mvk::LanguagePrompts languagePrompts(services, prompts, &window);
  mvk::AssignContext assignContext =
      mvk::ProgramAssignContext(services, prompts, languagePrompts, window);
  mvk::Morvakin_DlgComposite assignment(assignContext, &window);
  mvk::CMorvakin_DlgProfile profiles(services, window, prompts, languagePrompts, &window);
  profiles.SetAssignmentDialog(&assignment);
  profiles.RebuildProfileMenu();
  mvk::CMorvakin_DlgUpdate update(services, prompts, languagePrompts, &window);
  window.SetDialogs({&assignment, &profiles, &update});
  mvk::CMainPanels panels(window, services, languagePrompts, languagePrompts, profiles);
  mvk::ConsumerListener listener(services.Backend(), services.DeviceState(), window.Side());
  mvk::ConnectionMonitor monitor(
      services.Backend(), services.KeyboardDevice(), services.Link(), services.DeviceState(),
      window.Side(),
      [&services](const mvk::KeyMatrix& matrix) { services.SetDefaultMatrix(matrix); });
  window.SetDeviceThreads({{[&listener](mvk::WindowSide&) { listener.Start(); },
                            [&listener] { listener.Stop(); }},
                           {[&monitor](mvk::WindowSide&) { monitor.Start(); },
                            [&monitor] { monitor.Stop(); }}});
  const QString screenshot = qEnvironmentVariable("MORVAKIN_SCREENSHOT");
  if (!screenshot.isEmpty()) ScheduleScreenshot(window, screenshot);
  const int exitCode = window.RunModal();
  // The threads go before the objects they run in; a shut window does nothing here.
  window.Shutdown();
  return exitCode;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  // The window lives hidden most of the time; only Shutdown ends the program.
  QApplication::setQuitOnLastWindowClosed(false);
  mvk::CMorvakinApp app(QCoreApplication::arguments(), mvk::RunningProgramFile(), RunMainWindow);
  return app.InitInstance();
}
