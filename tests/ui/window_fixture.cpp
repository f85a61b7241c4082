#include "window_fixture.h"

#include <unistd.h>

#include "model/settings_block.h"
#include "platform/simulated_hid.h"

namespace mvk::test {
namespace {

std::unique_ptr<ProgramServices> StartServices(CMorvakinApp& app,
                                               std::shared_ptr<sim::SimulatedKeyboard> keyboard) {
  app.InitInstance();
  auto backend = std::make_unique<SimulatedHidBackend>();
  backend->Plug(keyboard);
  return std::make_unique<ProgramServices>(app, std::move(backend), std::move(keyboard));
}

}  // namespace

std::filesystem::path BuildProgramFile() {
  return std::filesystem::path(MORVAKIN_BUILD_DIR) / "morvakin";
}

void StandInMonitor::Start(WindowSide& side) {
  side_ = &side;
  joined_ = false;
  thread_ = std::jthread([this](std::stop_token stop) { Run(stop); });
}

void StandInMonitor::Stop() {
  if (!thread_.joinable()) return;
  thread_.request_stop();
  thread_.join();
  joined_ = true;
}

void StandInMonitor::Queue(Event event) {
  std::lock_guard lock(mutex_);
  events_.push_back(event);
  wake_.notify_all();
}

void StandInMonitor::Run(std::stop_token stop) {
  while (!stop.stop_requested()) {
    Event event;
    {
      std::unique_lock lock(mutex_);
      if (!wake_.wait(lock, stop, [&] { return !events_.empty(); })) return;
      event = events_.front();
      events_.pop_front();
    }
    if (event == Event::Attach) {
      OnAttach(stop);
    } else {
      OnDetach(stop);
    }
    ++handled_;
  }
}

void StandInMonitor::SetInSend(bool inSend) {
  std::lock_guard lock(mutex_);
  inSend_ = inSend;
  sendChanged_.notify_all();
}

bool StandInMonitor::WaitUntilInSend() {
  std::unique_lock lock(mutex_);
  return sendChanged_.wait_for(lock, std::chrono::seconds(20), [&] { return inSend_; });
}

void StandInMonitor::OnAttach(std::stop_token stop) {
  const auto paths = services_.Backend().Enumerate();
  if (!paths || paths->empty()) return;
  services_.KeyboardDevice().Open(paths->front(), {.read = true, .write = true});
  services_.Link().DeviceConnected = 1;
  ReadMacroCapacity(services_.Link());
  side_->SetTrayIcon(0, kTrayIconAttached);
  SetInSend(true);
  side_->SendProfilesNotice(stop);
  SetInSend(false);
  if (services_.DeviceState().FirstShowDone.exchange(1) == 0) side_->PostOpenRequest();
}

void StandInMonitor::OnDetach(std::stop_token stop) {
  services_.Link().DeviceConnected = 0;
  services_.Link().ActiveProfileCache = -1;
  SetInSend(true);
  side_->SendDetachNotice(stop);
  SetInSend(false);
  side_->HideWindow();
  side_->SetTrayIcon(0, kTrayIconNoKeyboard);
  services_.KeyboardDevice().Close();
}

WindowFixture::WindowFixture(QStringList arguments)
    : app_(std::move(arguments), BuildProgramFile(), [](CMorvakinApp&) { return 0; }),
      services_holder_(StartServices(app_, keyboard_)),
      services_(*services_holder_) {
  MainWindowOptions options;
  options.namedEventPrefix = "/MorvakinTest_" + std::to_string(getpid()) + "_";
  options.openUrl = [this](const QUrl& url) {
    openedUrls_.push_back(url);
    return true;
  };
  window_holder_ = std::make_unique<CMorvakinDlg>(services_, prompts_, std::move(options));
  window_holder_->SetDialogs({&assignment_, &profiles_, &update_});
  window_holder_->SetDeviceThreads({monitor_.Thread()});
  previousHandler_ = SetMissingSkinPictureHandler(
      [this](const QString& file) { missingPictures_.append(file); });
}

WindowFixture::~WindowFixture() { SetMissingSkinPictureHandler(previousHandler_); }

void WindowFixture::Initialise() {
  window().InitDialog();
  ASSERT_TRUE(missingPictures_.isEmpty()) << missingPictures_.join(", ").toStdString();
  QApplication::processEvents();
}

void WindowFixture::AttachAndWait() {
  const int before = monitor_.Handled();
  monitor_.Attach();
  ASSERT_TRUE(WaitUntil([&] { return monitor_.Handled() > before; }));
  QApplication::processEvents();
}

void WindowFixture::DetachAndWait() {
  const int before = monitor_.Handled();
  monitor_.Detach();
  ASSERT_TRUE(WaitUntil([&] { return monitor_.Handled() > before; }));
  QApplication::processEvents();
}

}  // namespace mvk::test
