#include "ui/assign/application_hook.h"

#include <QCoreApplication>

namespace mvk {

void ApplicationHook::Install() {
  if (installed_ || QCoreApplication::instance() == nullptr) return;
  QCoreApplication::instance()->installEventFilter(this);
  installed_ = true;
}

void ApplicationHook::Remove() {
  if (!installed_) return;
  if (QCoreApplication::instance() != nullptr) QCoreApplication::instance()->removeEventFilter(this);
  installed_ = false;
}

bool ApplicationHook::eventFilter(QObject* watched, QEvent* event) {
  return procedure_(watched, event);
}

}  // namespace mvk
