#include "ui/main/window_side_qt.h"

#include <string>

#include "ui/main/main_window.h"
#include "ui/main/window_messages.h"

namespace mvk {

QtWindowSide::QtWindowSide(CMorvakinDlg& window) : window_(window) {}

void QtWindowSide::Post(std::function<void()> work) {
  mailbox_.Post(std::move(work));
}

void QtWindowSide::Send(std::stop_token stop, std::function<void()> work) {
  mailbox_.Call(std::move(stop), std::move(work));
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
