// The application object widget tests need, and a wait on a condition that
// keeps the event loop running meanwhile.
#pragma once

#include <chrono>
#include <functional>

namespace mvk::test {

// Creates the process's QApplication on first use; it lives until exit.
void EnsureGuiApplication();

// Processes events until the condition holds or the limit passes; returns
// whether it holds.
bool WaitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds limit = std::chrono::seconds(10));

}  // namespace mvk::test
