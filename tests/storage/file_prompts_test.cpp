#include "storage/file_prompts.h"

#include <gtest/gtest.h>

namespace mvk {
namespace {

struct FillCase {
  const char16_t* text;
  const char16_t* filled;
};

TEST(FillTextArgumentTest, ReplacesFirstStringConversionOnly) {
  const FillCase cases[] = {
      {u"Bad file: %s", u"Bad file: /tmp/a.mvk"},
      {u"%s and %s", u"/tmp/a.mvk and %s"},
      {u"100%% sure: %s", u"100% sure: /tmp/a.mvk"},
      {u"%d %n %s", u"%d %n /tmp/a.mvk"},
      {u"no argument", u"no argument"},
      {u"ends in %", u"ends in %"},
  };
  for (const FillCase& c : cases) {
    SCOPED_TRACE(&c - cases);
    EXPECT_EQ(FillTextArgument(c.text, u"/tmp/a.mvk"), c.filled);
  }
}

}  // namespace
}  // namespace mvk
