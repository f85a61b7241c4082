// The Qt application object of a test program and waiting on conditions.
#pragma once

#include <functional>

class QApplication;

namespace mvk::test {

// The test program's one QApplication, made on first use.
QApplication& Application();

// Runs the event loop until `done` gives true or `limitMs` has passed;
// returns whether `done` came true.
bool WaitUntil(const std::function<bool()>& done, int limitMs = 20000);

}  // namespace mvk::test
