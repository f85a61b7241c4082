// The program as its main builds it, for the window benchmarks: the
// services on the simulated keyboard ("--simulate"), the main window with
// its dialogs and panels, and the device threads, in a temporary home folder
// of its own and started as at login ("/Start"), so the window stays hidden.
#pragma once

#include <QTemporaryDir>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

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
#include "ui/prompts.h"
#include "ui/update/update_dialog.h"

class QApplication;

namespace mvk::bench {

// The benchmark program's application object, on the offscreen platform
// unless another one is asked for.
QApplication& BenchApplication();

// Message boxes that never block a benchmark: they are counted, not shown.
class CountingPrompts final : public Prompts {
 public:
  void ShowMessage(QWidget*, const QString&) override { ++shown; }
  bool AskYesNo(QWidget*, const QString&) override {
    ++shown;
    return false;
  }
  void CloseAll() override {}
  int shown = 0;
};

// HOME and the per-user folders in a fresh temporary folder, for one run of
// the program; the previous values come back at the end.
class TemporaryHome {
 public:
  TemporaryHome();
  ~TemporaryHome();
  TemporaryHome(const TemporaryHome&) = delete;
  TemporaryHome& operator=(const TemporaryHome&) = delete;
  bool Valid() const { return dir_.isValid(); }

 private:
  QTemporaryDir dir_;
  std::vector<std::pair<const char*, QByteArray>> previous_;
};

// Everything program_main builds between the application's start-up and
// the window's loop, in the same order; the window is shut down (threads
// joined) before anything goes.
class ProgramWindow {
 public:
  explicit ProgramWindow(CMorvakinApp& app);
  ~ProgramWindow();
  ProgramWindow(const ProgramWindow&) = delete;
  ProgramWindow& operator=(const ProgramWindow&) = delete;

  // Initialises the window and runs its loop until Initialised(); false
  // when that did not happen within `limit`.
  bool InitialiseHidden(std::chrono::milliseconds limit);
  // Runs the window's loop until `done` or `limit`; false on the limit.
  bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds limit);
  // Whether the connection monitor has attached the keyboard and the
  // window has read it in.
  bool KeyboardReadIn();

  ProgramServices& Services() { return services_; }
  CMorvakinDlg& Window() { return window_; }
  CMainPanels& Panels() { return *panels_; }
  int MessagesShown() const { return prompts_.shown; }

 private:
  ProgramServices services_;
  CountingPrompts prompts_;
  CMorvakinDlg window_;
  LanguagePrompts languagePrompts_;
  AssignContext assignContext_;
  Morvakin_DlgComposite assignment_;
  CMorvakin_DlgProfile profiles_;
  CMorvakin_DlgUpdate update_;
  std::unique_ptr<CMainPanels> panels_;
  ConsumerListener listener_;
  ConnectionMonitor monitor_;
};

// Runs `body` as the program's main window runner, inside the application's
// start-up (paths, settings, single-instance lock) with the arguments
// "--simulate /Start"; gives body's result.
int RunProgram(const std::function<int(CMorvakinApp&)>& body);

}  // namespace mvk::bench
