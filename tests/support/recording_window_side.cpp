#include "support/recording_window_side.h"

#include <algorithm>

namespace mvk::test {

void RecordingWindowSide::HoldUntilStopped(const std::string& name) {
  std::lock_guard lock(mutex_);
  held_.insert(name);
}

void RecordingWindowSide::SetHook(Hook hook) {
  std::lock_guard lock(mutex_);
  hook_ = std::move(hook);
}

std::vector<std::string> RecordingWindowSide::Events() const {
  std::lock_guard lock(mutex_);
  return events_;
}

bool RecordingWindowSide::WaitFor(const std::string& event, std::size_t count,
                                  std::chrono::milliseconds limit) const {
  std::unique_lock lock(mutex_);
  return recorded_.wait_for(lock, limit, [&] {
    return static_cast<std::size_t>(std::count(events_.begin(), events_.end(), event)) >= count;
  });
}

bool RecordingWindowSide::WaitForEvents(std::size_t count, std::chrono::milliseconds limit) const {
  std::unique_lock lock(mutex_);
  return recorded_.wait_for(lock, limit, [&] { return events_.size() >= count; });
}

void RecordingWindowSide::SendDetachNotice(std::stop_token stop) {
  Synchronous("detach", "detach", stop);
}

void RecordingWindowSide::SendProfilesNotice(std::stop_token stop) {
  Synchronous("profiles", "profiles", stop);
}

void RecordingWindowSide::PostOpenRequest() { Record("open"); }

void RecordingWindowSide::HideWindow() { Record("hide"); }

void RecordingWindowSide::ArmTimer(int timerId) { Record("timer " + std::to_string(timerId)); }

void RecordingWindowSide::SetTrayIcon(int mode, int iconId) {
  Record("tray " + std::to_string(mode) + " " + std::to_string(iconId));
}

void RecordingWindowSide::ShowMessage(std::string_view key, std::stop_token stop) {
  Synchronous("message", "message " + std::string(key), stop);
}

void RecordingWindowSide::Record(const std::string& event) {
  Hook hook;
  {
    std::lock_guard lock(mutex_);
    events_.push_back(event);
    hook = hook_;
    recorded_.notify_all();
  }
  if (hook) {
    hook(event);
  }
}

void RecordingWindowSide::Synchronous(const std::string& name, const std::string& event,
                                      std::stop_token stop) {
  Record(event);
  std::unique_lock lock(mutex_);
  if (!held_.contains(name)) {
    return;
  }
  std::condition_variable_any released;
  released.wait(lock, stop, [] { return false; });
}

}  // namespace mvk::test
