// Every message box the program shows goes through this interface, so that a
// test can answer them.
#pragma once

#include <QList>
#include <QPointer>
#include <QString>

class QMessageBox;
class QWidget;

namespace mvk {

class Prompts {
 public:
  virtual ~Prompts() = default;
  // A message box with an OK button over `parent`; returns once it is closed.
  virtual void ShowMessage(QWidget* parent, const QString& text) = 0;
  // A Yes/No box over `parent` whose default is No; true for Yes.
  virtual bool AskYesNo(QWidget* parent, const QString& text) = 0;
  // Closes every box still open, as when the program ends under one.
  virtual void CloseAll() = 0;
};

// Prompts on real message boxes.
class QtPrompts : public Prompts {
 public:
  void ShowMessage(QWidget* parent, const QString& text) override;
  bool AskYesNo(QWidget* parent, const QString& text) override;
  void CloseAll() override;

 private:
  int Run(QMessageBox& box);

  QList<QPointer<QMessageBox>> open_;
};

}  // namespace mvk
