// Model prompts that record what was shown and answer questions from a
// preset answer.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/model_prompts.h"

namespace mvk::test {

class ScriptedPrompts : public ModelPrompts {
 public:
  void ShowNotice(std::string_view key) override { shown.emplace_back(key); }
  bool AskYesNo(std::string_view key) override {
    shown.emplace_back(key);
    return answerYes;
  }

  bool answerYes = false;
  std::vector<std::string> shown;
};

}  // namespace mvk::test
