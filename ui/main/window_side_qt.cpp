#include "ui/main/window_side_qt.h"

#include <QMetaObject>
#include <QThread>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>

#include "ui/main/main_window.h"
#include "ui/main/window_messages.h"

namespace mvk {
namespace {

// Shared by the waiting thread and the queued call, which may outlive the
// wait when the waiter was stopped.
struct PendingCall {
  std::mutex mutex;
  std::condition_variable_any finished;
  bool started = false;
  bool done = false;
  bool abandoned = false;
};

}  // namespace

void CallOnThreadOf(QObject& receiver, std::stop_token stop, std::function<void()> work) {
  if (QThread::currentThread() == receiver.thread()) {
    work();
    return;
  }
  auto call = std::make_shared<PendingCall>();
  QMetaObject::invokeMethod(
      &receiver,
      [call, work = std::move(work)] {
        {
          std::lock_guard lock(call->mutex);
          if (call->abandoned) return;
          call->started = true;
        }
        work();
        std::lock_guard lock(call->mutex);
        call->done = true;
        call->finished.notify_all();
      },
      Qt::QueuedConnection);
  std::unique_lock lock(call->mutex);
  if (!call->finished.wait(lock, stop, [&] { return call->done; })) call->abandoned = true;
}

QtWindowSide::QtWindowSide(CMorvakinDlg& window) : window_(window) {}

void QtWindowSide::Post(std::function<void()> work) {
  QMetaObject::invokeMethod(&window_, std::move(work), Qt::QueuedConnection);
}

void QtWindowSide::Send(std::stop_token stop, std::function<void()> work) {
  CallOnThreadOf(window_, std::move(stop), std::move(work));
}

void QtWindowSide::SendDetachNotice(std::stop_token stop) {
  Send(std::move(stop), [this] { window_.HandleMessage(kDetachMessage, kDetachTag, 0); });
}

void QtWindowSide::SendProfilesNotice(std::stop_token stop) {
  Send(std::move(stop), [this] { window_.HandleMessage(kProfilesMessage, kProfilesTag, 0); });
}

void QtWindowSide::PostOpenRequest() {
  Post([this] { window_.HandleMessage(kOpenMessage, kOpenTag, 0); });
}

void QtWindowSide::HideWindow() {
  Post([this] { window_.hide(); });
}

void QtWindowSide::ArmTimer(int timerId) {
  Post([this, timerId] { window_.StartWindowTimer(timerId, 0); });
}

void QtWindowSide::SetTrayIcon(int mode, int iconId) {
  Post([this, mode, iconId] { window_.SetTrayIcon(mode, iconId); });
}

void QtWindowSide::ShowMessage(std::string_view key, std::stop_token stop) {
  Send(std::move(stop), [this, key = std::string(key)] { window_.ShowLanguageMessage(key); });
}

}  // namespace mvk
