// The questions and notices of the configuration model, shown by the user
// interface (topmost message boxes whose texts are language keys) or
// answered by a script in tests.
#pragma once

#include <string_view>

namespace mvk {

class ModelPrompts {
 public:
  virtual ~ModelPrompts() = default;
  // A notice with an OK button.
  virtual void ShowNotice(std::string_view languageKey) = 0;
  // A Yes/No question whose default is No; true for Yes.
  virtual bool AskYesNo(std::string_view languageKey) = 0;
};

inline constexpr std::string_view kMacroTooLongText = "EXTRA_MACRO_TOO_LONG";
inline constexpr std::string_view kProfileSpaceTightText = "EXTRA_PROFILE_SPACE_TIGHT";
inline constexpr std::string_view kMacroDeleteConfirmText = "MACRO_DELETE_CONFIRM_OF_KEYS";

}  // namespace mvk
