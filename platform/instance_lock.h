// The single-instance lock: an advisory lock on a file of the user's runtime
// folder. The kernel drops the lock when its holder ends in any way, so a copy
// that crashed never blocks the next start.
#pragma once

#include <filesystem>

namespace mvk {

class InstanceLock {
 public:
  enum class State {
    Held,           // this object holds the lock
    HeldElsewhere,  // another open of the file holds it (normally another copy)
    Unavailable,    // the file could not be opened; nothing is held
  };

  // Tries to take the lock on `file` without waiting.
  explicit InstanceLock(const std::filesystem::path& file);
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  State state() const { return state_; }
  // Gives the lock up early; the destructor does it otherwise.
  void Release();

 private:
  int fd_ = -1;
  State state_ = State::Unavailable;
};

}  // namespace mvk
