// A main window over the simulated keyboard, with a stand-in for the
// connection monitor that reports attach and detach from a thread of its
// own, and fakes of the window's dialogs.
#pragma once

#include <QMenu>

#include <gtest/gtest.h>

#include <QApplication>

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

#include "app/morvakin_app.h"
#include "app/program_services.h"
#include "sim/simulated_keyboard.h"
#include "support/qt_application.h"
#include "support/scripted_prompts.h"
#include "support/temp_user_folders.h"
#include "ui/main/main_window.h"
#include "ui/skin/missing_picture.h"

namespace mvk::test {

// Does on its own thread what the connection handler does on attach and
// detach, through the window side only.
class StandInMonitor {
 public:
  explicit StandInMonitor(ProgramServices& services) : services_(services) {}
  ~StandInMonitor() { Stop(); }

  DeviceThread Thread() {
    return {[this](WindowSide& side) { Start(side); }, [this] { Stop(); }};
  }
  void Attach() { Queue(Event::Attach); }
  void Detach() { Queue(Event::Detach); }
  // Events handled so far, and whether the thread has been joined.
  int Handled() const { return handled_.load(); }
  bool Joined() const { return joined_.load(); }
  // Waits, without serving this thread's events, until the thread has
  // entered a synchronous call to the window; false after a generous limit.
  bool WaitUntilInSend();

 private:
  enum class Event { Attach, Detach };
  void Start(WindowSide& side);
  void Stop();
  void Queue(Event event);
  void Run(std::stop_token stop);
  void OnAttach(std::stop_token stop);
  void OnDetach(std::stop_token stop);
  void SetInSend(bool inSend);

  ProgramServices& services_;
  WindowSide* side_ = nullptr;
  std::mutex mutex_;
  std::condition_variable_any wake_;
  std::deque<Event> events_;
  std::jthread thread_;
  std::atomic<int> handled_{0};
  std::atomic<bool> joined_{false};
  std::condition_variable sendChanged_;
  bool inSend_ = false;
};

struct FakeAssignmentDialog : AssignmentDialogApi {
  void OpenForKey(int keyCode, QWidget*) override { opened.push_back({keyCode, false}); }
  void OpenMacroOnly(int keyCode, QWidget*) override { opened.push_back({keyCode, true}); }
  bool IsOpen() const override { return false; }
  void CloseIfOpen() override { ++closeCalls; }
  void ApplyLanguage(int) override {}
  std::vector<std::pair<int, bool>> opened;
  int closeCalls = 0;
};

struct FakeProfileManager : ProfileManagerApi {
  void Open() override { ++openCalls; }
  bool IsOpen() const override { return false; }
  void CloseIfOpen() override { ++closeCalls; }
  bool SelectProfile(int index) override {
    selected.push_back(index);
    return onSelect ? onSelect(index) : true;
  }
  QMenu& ProfileMenu() override { return menu; }
  void RebuildProfileMenu() override {}
  QMenu menu;
  std::function<bool(int index)> onSelect;
  std::vector<int> selected;
  int openCalls = 0;
  int closeCalls = 0;
};

struct FakeUpdateDialog : UpdateDialogApi {
  void RunModal() override { ++runs; }
  int runs = 0;
};

// The program folder of the tests: the build folder, where the language
// file, the skin files and the drawn pictures lie.
std::filesystem::path BuildProgramFile();

class WindowFixture : public ::testing::Test {
 protected:
  explicit WindowFixture(QStringList arguments = {"morvakin"});
  ~WindowFixture() override;

  // Runs the window's initialisation.
  void Initialise();
  // Attaches the keyboard and waits until the window has handled it.
  void AttachAndWait();
  void DetachAndWait();
  CMorvakinDlg& window() { return *window_holder_; }
  QString Text(std::string_view key) { return QString::fromStdU16String(services_.Text(key)); }

  QApplication& application_ = Application();
  TempUserFolders folders_;
  CMorvakinApp app_;
  std::shared_ptr<sim::SimulatedKeyboard> keyboard_ =
      std::make_shared<sim::SimulatedKeyboard>("keyboard");
  std::unique_ptr<ProgramServices> services_holder_;
  ProgramServices& services_;
  ScriptedPrompts prompts_;
  FakeAssignmentDialog assignment_;
  FakeProfileManager profiles_;
  FakeUpdateDialog update_;
  std::vector<QUrl> openedUrls_;
  StandInMonitor monitor_{services_};
  std::unique_ptr<CMorvakinDlg> window_holder_;
  MissingPictureHandler previousHandler_;
  QStringList missingPictures_;
};

}  // namespace mvk::test
