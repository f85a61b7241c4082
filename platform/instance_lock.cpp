#include "platform/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace mvk {

InstanceLock::InstanceLock(const std::filesystem::path& file) {
  if (file.empty()) return;
  // Close-on-exec: a started program must not inherit the lock and keep it
  // alive after this process ends.
  fd_ = open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd_ < 0) return;
  int result;
  do {
    result = flock(fd_, LOCK_EX | LOCK_NB);
  } while (result != 0 && errno == EINTR);
  if (result == 0) {
    state_ = State::Held;
  } else {
    state_ = errno == EWOULDBLOCK ? State::HeldElsewhere : State::Unavailable;
    Release();
  }
}

InstanceLock::~InstanceLock() { Release(); }

void InstanceLock::Release() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
  if (state_ == State::Held) state_ = State::Unavailable;
}

}  // namespace mvk
