#include "ui/prompts.h"

#include <QMessageBox>

namespace mvk {

namespace {

QString TitleOf(QWidget* parent) { return parent ? parent->windowTitle() : QString(); }

}  // namespace

void QtPrompts::ShowMessage(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, TitleOf(parent), text, QMessageBox::Ok, parent);
  Run(box);
}

bool QtPrompts::AskYesNo(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::Question, TitleOf(parent), text,
                  QMessageBox::Yes | QMessageBox::No, parent);
  box.setDefaultButton(QMessageBox::No);
  box.setEscapeButton(QMessageBox::No);
  // A box closed by CloseAll is rejected, which counts as No.
  return Run(box) == QMessageBox::Yes;
}

int QtPrompts::Run(QMessageBox& box) {
  open_.append(&box);
  const int answer = box.exec();
  open_.removeAll(&box);
  return answer;
}

void QtPrompts::CloseAll() {
  // A closed box leaves the list when its exec() returns.
  for (const QPointer<QMessageBox>& box : open_) {
    if (box) box->reject();
  }
}

}  // namespace mvk
