#include "support/scripted_prompts.h"

namespace mvk::test {

void ScriptedPrompts::ShowMessage(QWidget*, const QString& text) { messages.append(text); }

bool ScriptedPrompts::AskYesNo(QWidget*, const QString& text) {
  questions.append(text);
  if (whileAsking) whileAsking();
  return !answers.isEmpty() && answers.takeFirst();
}

void ScriptedPrompts::CloseAll() { ++closeAllCalls; }

}  // namespace mvk::test
