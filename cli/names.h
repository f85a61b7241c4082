// The English names of keys, lighting effects, multimedia and keyboard
// functions, as the language file gives them, in both directions. Names
// match without regard to letter case; key codes may be written in
// hexadecimal with a "0x" prefix.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "app/language.h"
#include "model/keys.h"
#include "model/lighting.h"

namespace mvk::cli {

inline constexpr int kEffectCodeCount = 20;
inline constexpr int kFunctionCount = 11;

class NameBook {
 public:
  // `resourceFolder` holds the language files.
  explicit NameBook(const std::filesystem::path& resourceFolder);

  // A "TEXT" entry of the language file.
  std::string Text(std::string_view key) const;

  // Keys with a name, G keys as "G1" to "G9", mouse actions.
  std::optional<KeyCode> KeyCodeOf(const std::string& name) const;
  std::string KeyNameOf(KeyCode code) const;

  // Effect codes 1 to 20; a decimal code is accepted too.
  std::optional<uint8_t> EffectOf(const std::string& name) const;
  std::string EffectName(uint8_t code) const;

  // Positions in the multimedia list.
  std::optional<int> MediaOf(const std::string& name) const;
  std::string MediaName(uint32_t position) const;

  // Function numbers 0 to 10; written by users as 1 to 11 or by name.
  std::optional<int> FunctionOf(const std::string& name) const;
  std::string FunctionName(uint32_t number) const;

 private:
  std::string Utf8(const std::u16string& text) const;

  LanguageTexts texts_;
  int languageIndex_;
  // Lower-case name to key code.
  std::map<std::string, KeyCode> keyCodes_;
};

// "RRGGBB" in hexadecimal.
std::optional<Colour> ParseColour(const std::string& text);
std::string FormatColour(Colour colour);

// "0x" and `digits` upper-case hexadecimal digits.
std::string HexNumber(uint32_t value, int digits);

}  // namespace mvk::cli
