#include "support/qt_application.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

namespace mvk::test {

QApplication& Application() {
  static int argc = 1;
  static char name[] = "morvakin-test";
  static char* argv[] = {name, nullptr};
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Never destroyed: torn down among the other static objects at exit, it
  // crashes in the platform plugin once a widget has been shown. A test may
  // also have made the application itself.
  if (QApplication::instance() == nullptr) new QApplication(argc, argv);
  return *static_cast<QApplication*>(QApplication::instance());
}

bool WaitUntil(const std::function<bool()>& done, int limitMs) {
  Application();
  const QDeadlineTimer deadline(limitMs);
  while (!done()) {
    if (deadline.hasExpired()) return false;
    // Checked again whenever the loop has run for a short while.
    QEventLoop loop;
    QTimer::singleShot(10, &loop, &QEventLoop::quit);
    loop.exec();
  }
  return true;
}

}  // namespace mvk::test
