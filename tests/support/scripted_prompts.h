// Prompts that answer at once and remember what they were asked.
#pragma once

#include <QList>
#include <QStringList>

#include <functional>

#include "ui/prompts.h"

namespace mvk::test {

class ScriptedPrompts : public Prompts {
 public:
  void ShowMessage(QWidget* parent, const QString& text) override;
  // Answers from `answers`, first to last, then No.
  bool AskYesNo(QWidget* parent, const QString& text) override;
  void CloseAll() override;

  QStringList messages;
  QStringList questions;
  QList<bool> answers;
  // Runs while a question is open, before it is answered.
  std::function<void()> whileAsking;
  int closeAllCalls = 0;
};

}  // namespace mvk::test
