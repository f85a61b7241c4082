#include "support/scripted_prompts.h"

namespace mvk::test {

void ScriptedPrompts::ShowMessage(QWidget*, const QString& text) { messages.append(text); }

void ScriptedPrompts::CloseAll() { ++closeAllCalls; }

}  // namespace mvk::test
