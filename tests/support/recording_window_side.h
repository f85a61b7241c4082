// A main window for the device threads' tests: it writes down every request
// in arrival order, as short texts ("profiles", "tray 0 141", "timer 1051",
// "message MAIN_…"), and can hold a synchronous request until shutdown.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "device/window_side.h"

namespace mvk::test {

class RecordingWindowSide final : public WindowSide {
 public:
  // Runs on the calling thread right after an event is written down.
  using Hook = std::function<void(const std::string& event)>;

  // Makes the synchronous request `name` ("detach", "profiles", "message")
  // wait until the caller's stop is requested, as a window that has not
  // answered yet (or a message box still open).
  void HoldUntilStopped(const std::string& name);
  void SetHook(Hook hook);

  std::vector<std::string> Events() const;
  // Waits until `event` has been written down `count` times.
  bool WaitFor(const std::string& event, std::size_t count = 1,
               std::chrono::milliseconds limit = std::chrono::seconds(20)) const;
  // Waits until `count` events in all have been written down.
  bool WaitForEvents(std::size_t count,
                     std::chrono::milliseconds limit = std::chrono::seconds(20)) const;

  void SendDetachNotice(std::stop_token stop) override;
  void SendProfilesNotice(std::stop_token stop) override;
  void PostOpenRequest() override;
  void HideWindow() override;
  void ArmTimer(int timerId) override;
  void SetTrayIcon(int mode, int iconId) override;
  void ShowMessage(std::string_view key, std::stop_token stop) override;

 private:
  void Record(const std::string& event);
  void Synchronous(const std::string& name, const std::string& event, std::stop_token stop);

  mutable std::mutex mutex_;
  mutable std::condition_variable recorded_;
  std::vector<std::string> events_;
  std::set<std::string> held_;
  Hook hook_;
};

}  // namespace mvk::test
