// Prompts that answer at once and remember what they were asked.
#pragma once

#include <QStringList>

#include "ui/prompts.h"

namespace mvk::test {

class ScriptedPrompts : public Prompts {
 public:
  void ShowMessage(QWidget* parent, const QString& text) override;
  void CloseAll() override;

  QStringList messages;
  int closeAllCalls = 0;
};

}  // namespace mvk::test
