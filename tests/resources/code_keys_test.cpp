// The language file must hold every text key that the program's own tables
// look up, so that no user sees "#Error" in place of a name.

#include <gtest/gtest.h>

#include <string>

#include "app/language.h"
#include "model/keys.h"

namespace mvk {
namespace {

TEST(LanguageFileCoverage, HoldsEveryKeyOfTheKeyTables) {
  const LanguageTexts texts{std::filesystem::path(MORVAKIN_BUILD_DIR)};
  for (const std::string_view key : KeyLanguageKeys()) {
    EXPECT_NE(texts.GetLangText(key, 0), kMissingText) << key;
  }
}

}  // namespace
}  // namespace mvk
