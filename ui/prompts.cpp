#include "ui/prompts.h"

#include <QMessageBox>

namespace mvk {

void QtPrompts::ShowMessage(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, parent ? parent->windowTitle() : QString(), text,
                  QMessageBox::Ok, parent);
  open_.append(&box);
  box.exec();
  open_.removeAll(&box);
}

void QtPrompts::CloseAll() {
  // A closed box leaves the list when its exec() returns.
  for (const QPointer<QMessageBox>& box : open_) {
    if (box) box->reject();
  }
}

}  // namespace mvk
