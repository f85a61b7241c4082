// The window side of the device threads: every request is carried to the
// main window's thread. A synchronous request waits there for the window to
// handle it, but gives up as soon as its thread is asked to stop, so that
// shutdown can always join the thread.
#pragma once

#include <functional>

#include "device/window_side.h"
#include "ui/main/thread_mailbox.h"

namespace mvk {

class CMorvakinDlg;

class QtWindowSide : public WindowSide {
 public:
  explicit QtWindowSide(CMorvakinDlg& window);

  void SendDetachNotice(std::stop_token stop) override;
  void SendProfilesNotice(std::stop_token stop) override;
  void PostOpenRequest() override;
  void HideWindow() override;
  void ArmTimer(int timerId) override;
  void SetTrayIcon(int mode, int iconId) override;
  void ShowMessage(std::string_view key, std::stop_token stop) override;

 private:
  void Post(std::function<void()> work);
  // Runs `work` on the window's thread and waits for it; when `stop` comes
  // first, the work is dropped if it has not started yet.
  void Send(std::stop_token stop, std::function<void()> work);

  CMorvakinDlg& window_;
  // Created with the window, so it lives on the window's thread.
  ThreadMailbox mailbox_;
};

}  // namespace mvk
