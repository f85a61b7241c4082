#include "cli/names.h"

#include "cli/arguments.h"

#include <QString>

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace mvk::cli {
namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

int EnglishIndex() {
  const auto languages = SupportedLanguages();
  const auto found = std::find(languages.begin(), languages.end(), kDefaultLanguageId);
  return found == languages.end() ? 0 : static_cast<int>(found - languages.begin());
}

std::optional<uint32_t> ParseHex(const std::string& text) {
  if (text.size() < 3 || Lower(text.substr(0, 2)) != "0x") return std::nullopt;
  uint32_t value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, failure] = std::from_chars(text.data() + 2, end, value, 16);
  if (failure != std::errc() || stop != end) return std::nullopt;
  return value;
}

}  // namespace

NameBook::NameBook(const std::filesystem::path& resourceFolder)
    : texts_(resourceFolder), languageIndex_(EnglishIndex()) {
  const KeyTextLookup lookup = texts_.KeyTexts(languageIndex_);
  for (KeyIndex index = 0; index < kKeyTableSize; ++index) {
    if (KeyRecordAt(index).nameKey != nullptr) {
      const KeyCode code = mvk::KeyCodeOf(index);
      keyCodes_.emplace(Lower(Utf8(KeyName(code, lookup))), code);
    }
  }
  for (int g = 0; g < kGKeyCount / 2; ++g) {
    const KeyCode code = static_cast<KeyCode>(kFirstGKeyCode + g);
    keyCodes_.emplace(Lower(Utf8(KeyName(code, lookup))), code);
  }
}

std::string NameBook::Utf8(const std::u16string& text) const {
  return QString::fromStdU16String(text).toStdString();
}

std::string NameBook::Text(std::string_view key) const {
  return Utf8(texts_.GetLangText(key, languageIndex_));
}

std::optional<KeyCode> NameBook::KeyCodeOf(const std::string& name) const {
  if (const auto hex = ParseHex(name)) {
    if (*hex == 0 || *hex >= kFirstGKeyCode + kGKeyCount) return std::nullopt;
    return static_cast<KeyCode>(*hex);
  }
  const auto found = keyCodes_.find(Lower(name));
  if (found == keyCodes_.end()) return std::nullopt;
  return found->second;
}

std::string NameBook::KeyNameOf(KeyCode code) const {
  return Utf8(KeyName(code, texts_.KeyTexts(languageIndex_)));
}

std::optional<uint8_t> NameBook::EffectOf(const std::string& name) const {
  if (const auto code = ParseNumber(name, 1, kEffectCodeCount)) {
    return static_cast<uint8_t>(*code);
  }
  for (int code = 1; code <= kEffectCodeCount; ++code) {
    if (Lower(EffectName(static_cast<uint8_t>(code))) == Lower(name)) {
      return static_cast<uint8_t>(code);
    }
  }
  return std::nullopt;
}

std::string NameBook::EffectName(uint8_t code) const {
  return Utf8(texts_.GetModeText(std::to_string(code), languageIndex_));
}

std::optional<int> NameBook::MediaOf(const std::string& name) const {
  const auto list = MultimediaList();
  for (std::size_t position = 0; position < list.size(); ++position) {
    if (Lower(MediaName(static_cast<uint32_t>(position))) == Lower(name)) {
      return static_cast<int>(position);
    }
  }
  return std::nullopt;
}

std::string NameBook::MediaName(uint32_t position) const {
  const auto list = MultimediaList();
  if (position >= list.size()) return "multimedia function " + std::to_string(position);
  return Text(list[position].nameKey);
}

std::optional<int> NameBook::FunctionOf(const std::string& name) const {
  if (const auto number = ParseNumber(name, 1, kFunctionCount)) {
    return *number - 1;
  }
  for (int number = 0; number < kFunctionCount; ++number) {
    if (Lower(FunctionName(static_cast<uint32_t>(number))) == Lower(name)) return number;
  }
  return std::nullopt;
}

std::string NameBook::FunctionName(uint32_t number) const {
  if (number >= kFunctionCount) return "keyboard function " + std::to_string(number + 1);
  return Text("FUNC_KEY_DESC" + std::to_string(number + 1));
}

std::optional<Colour> ParseColour(const std::string& text) {
  uint32_t rgb = 0;
  const char* end = text.data() + text.size();
  const auto [stop, failure] = std::from_chars(text.data(), end, rgb, 16);
  if (text.size() != 6 || failure != std::errc() || stop != end) return std::nullopt;
  return ColourOf(static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8),
                  static_cast<uint8_t>(rgb));
}

std::string FormatColour(Colour colour) {
  const auto bytes = ColourBytes(colour);
  char text[7];
  std::snprintf(text, sizeof text, "%02X%02X%02X", bytes[0], bytes[1], bytes[2]);
  return text;
}

std::string HexNumber(uint32_t value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%0*X", digits, value);
  return text;
}

}  // namespace mvk::cli
