#include "bench/program_window.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QEventLoop>
#include <QTimer>

namespace mvk::bench {
namespace {

constexpr const char* kUserFolders[][2] = {
    {"HOME", "home"},
    {"XDG_CONFIG_HOME", "config"},
    {"XDG_DATA_HOME", "data"},
    {"XDG_RUNTIME_DIR", "run"},
};

// The program file in the build folder, with the copied resources and the
// drawn skin pictures beside it.
std::filesystem::path ProgramFile() { return std::filesystem::path(MORVAKIN_BUILD_DIR) / "morvakin"; }

}  // namespace

QApplication& BenchApplication() {
  static int argc = 1;
  static char name[] = "morvakin_bench";
  static char* argv[] = {name, nullptr};
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Never destroyed: torn down among the static objects at exit, it would
  // crash in the platform plugin once a window has existed.
  if (QApplication::instance() == nullptr) {
    new QApplication(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
  }
  return *static_cast<QApplication*>(QApplication::instance());
}

TemporaryHome::TemporaryHome() {
  const QDir root(dir_.path());
  for (const auto& [variable, folder] : kUserFolders) {
    previous_.emplace_back(variable, qgetenv(variable));
    root.mkpath(QString::fromLatin1(folder));
    QFile::setPermissions(root.filePath(QString::fromLatin1(folder)),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv(variable, QFile::encodeName(root.filePath(QString::fromLatin1(folder))));
  }
}

TemporaryHome::~TemporaryHome() {
  for (const auto& [variable, value] : previous_) {
    if (value.isNull()) {
      qunsetenv(variable);
    } else {
      qputenv(variable, value);
    }
  }
}

ProgramWindow::ProgramWindow(CMorvakinApp& app)
    : services_(app),
      window_(services_, prompts_),
      languagePrompts_(services_, prompts_, &window_),
      assignContext_(ProgramAssignContext(services_, prompts_, languagePrompts_, window_)),
      assignment_(assignContext_, &window_),
      profiles_(services_, window_, prompts_, languagePrompts_, &window_),
      update_(services_, prompts_, languagePrompts_, &window_),
      listener_(services_.Backend(), services_.DeviceState(), window_.Side()),
      monitor_(services_.Backend(), services_.KeyboardDevice(), services_.Link(),
               services_.DeviceState(), window_.Side(),
               [this](const KeyMatrix& matrix) { services_.SetDefaultMatrix(matrix); }) {
  profiles_.SetAssignmentDialog(&assignment_);
  profiles_.RebuildProfileMenu();
  window_.SetDialogs({&assignment_, &profiles_, &update_});
  panels_ = std::make_unique<CMainPanels>(window_, services_, languagePrompts_, languagePrompts_,
                                          profiles_);
  window_.SetDeviceThreads(
      {{[this](WindowSide&) { listener_.Start(); }, [this] { listener_.Stop(); }},
       {[this](WindowSide&) { monitor_.Start(); }, [this] { monitor_.Stop(); }}});
}

// The threads go before the objects they run in.
ProgramWindow::~ProgramWindow() { window_.Shutdown(); }

bool ProgramWindow::InitialiseHidden(std::chrono::milliseconds limit) {
  window_.InitDialog();
  return RunUntil([this] { return window_.Initialised(); }, limit);
}

bool ProgramWindow::RunUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  const QDeadlineTimer deadline(limit);
  while (!done()) {
    if (deadline.hasExpired()) return false;
    QEventLoop loop;
    QTimer::singleShot(1, &loop, &QEventLoop::quit);
    loop.exec();
  }
  return true;
}

bool ProgramWindow::KeyboardReadIn() {
  const DeviceStateRecord& state = services_.DeviceState();
  return state.LastDeviceState.load() == 1 && state.DeviceStateBusy.load() == 0;
}

int RunProgram(const std::function<int(CMorvakinApp&)>& body) {
  BenchApplication();
  TemporaryHome home;
  if (!home.Valid()) return -1;
  CMorvakinApp app({"morvakin", "--simulate", "/Start"}, ProgramFile(), body);
  return app.InitInstance();
}

}  // namespace mvk::bench
