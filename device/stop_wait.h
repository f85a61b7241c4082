// A pause that shutdown cuts short, for the device threads' cadences.
#pragma once

#include <chrono>
#include <stop_token>

namespace mvk {

// Waits `duration` unless `stop` is requested first; true when the whole
// wait passed, false when the thread is asked to stop.
bool WaitUnlessStopped(std::stop_token stop, std::chrono::milliseconds duration);

}  // namespace mvk
