#include "support/gui_application.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QTimer>

namespace mvk::test {

void EnsureGuiApplication() {
  static int argc = 1;
  static char name[] = "morvakin-tests";
  static char* argv[] = {name, nullptr};
  // Never destroyed: tearing it down among other static objects at exit
  // crashes in the platform plugin.
  if (QCoreApplication::instance() == nullptr) new QApplication(argc, argv);
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
  const QDeadlineTimer deadline(limit);
  // Wakes the wait now and then, so the condition is looked at again even
  // when no event comes.
  QTimer tick;
  tick.start(5);
  while (!condition()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  return true;
}

}  // namespace mvk::test
