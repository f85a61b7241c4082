#include "device/stop_wait.h"

#include <condition_variable>
#include <mutex>

namespace mvk {

bool WaitUnlessStopped(std::stop_token stop, std::chrono::milliseconds duration) {
  std::mutex mutex;
  std::condition_variable_any wake;
  std::unique_lock lock(mutex);
  // Nothing but the stop request ends the wait early.
  wake.wait_for(lock, stop, duration, [] { return false; });
  return !stop.stop_requested();
}

}  // namespace mvk
