#include <gtest/gtest.h>

#include <string>

#include "model/keys.h"
#include "ui/main/key_buttons.h"

namespace mvk {
namespace {

std::u16string Ascii(std::string_view text) { return {text.begin(), text.end()}; }

// Texts as "<KEY>", so a prompt shows which texts it was built from.
std::u16string Marked(std::string_view key) { return u"<" + Ascii(key) + u">"; }

MacroList OneMacro() {
  MacroRecord macro;
  macro.id = 5;
  macro.SetName(u"Combo");
  return {macro};
}

KeySlot Slot(uint16_t type, uint32_t value = 0) { return KeySlot{type, 0, value, 0, 0}; }

TEST(KeyPrompt, SpellsOutEachKindOfAssignment) {
  const MacroList macros = OneMacro();
  const PromptSources sources{Marked, &macros};
  const std::u16string name = KeyName(0x01E, Marked);
  const std::u16string set = name + u"<KEY_PROMPT_SET>";
  const struct {
    const char* label;
    KeySlot slot;
    bool assigned;
    std::u16string text;
  } kCases[] = {
      {"default", Slot(kAssignDefault), false, name},
      {"disabled", Slot(kAssignDisabled), true, set},
      {"launch", Slot(kAssignLaunch, 7), true, set},
      {"stop macro", Slot(kAssignStopMacro), true, set},
      {"text block", Slot(kAssignText, 3), true, set},
      {"other key", Slot(kAssignKey, 0x030),
       true, set + u"<KEY_PROMPT_SINGLE>" + KeyName(0x030, Marked) + u")"},
      {"macro", Slot(kAssignMacro, 5), true, set + u"<KEY_PROMPT_MACRO>Combo)"},
      {"macro gone", Slot(kAssignMacro, 6), true, set + u"<KEY_PROMPT_MACRO>)"},
      {"multimedia", Slot(kAssignMultimedia, 2),
       true, set + u"<KEY_PROMPT_MEDIA>" + KeyName(MultimediaList()[2].code, Marked) + u")"},
      {"multimedia out of list", Slot(kAssignMultimedia, 18), true, set + u"<KEY_PROMPT_MEDIA>)"},
      {"first function", Slot(kAssignFunction, 0),
       true, set + u"<KEY_PROMPT_FUNCTION><FUNC_KEY_DESC1>)"},
      {"last function", Slot(kAssignFunction, 10),
       true, set + u"<KEY_PROMPT_FUNCTION><FUNC_KEY_DESC11>)"},
      {"no such function", Slot(kAssignFunction, 11), true, set + u"<KEY_PROMPT_FUNCTION>)"},
  };
  for (const auto& c : kCases) {
    const KeyPrompt prompt = BuildKeyPrompt(0x01E, c.slot, sources);
    EXPECT_EQ(prompt.assigned, c.assigned) << c.label;
    EXPECT_EQ(prompt.text, c.text) << c.label;
  }
}

TEST(KeyPrompt, GKeysAreNamedByNumberAndLongPromptsAreCut) {
  MacroList macros = OneMacro();
  macros[0].SetName(std::u16string(249, u'x'));
  const PromptSources sources{Marked, &macros};
  EXPECT_EQ(BuildGPrompt(2, Slot(kAssignDefault), sources).text, u"G3");
  const KeyPrompt prompt = BuildGPrompt(8, Slot(kAssignMacro, 5), sources);
  EXPECT_TRUE(prompt.assigned);
  EXPECT_EQ(prompt.text.size(), 259u);
  EXPECT_EQ(prompt.text.substr(0, 2), u"G9");
}

TEST(KeyButtons, ClicksMapToKeysAndMarkSlots) {
  const struct {
    int control;
    KeyIndex keyIndex;
    KeyIndex markSlot;
    bool macroOnly;
  } kCases[] = {
      {1058, 0x01E, 0, false},    // A, position 0
      {1200, 0x073, 105, false},  // K56, hidden, position 105
      {1104, 0x0C5, 97, false},   // Num Lock, an extended code
      {1000, 0x100, 0x100, false},
      {1142, 0x107, 0x107, false},
      {1143, 0x108, 0x108, true},  // G9
      {1007, 0x108, 0x108, true},  // the macro button acts as G9
  };
  for (const auto& c : kCases) {
    const auto hit = HitOfControl(c.control);
    ASSERT_TRUE(hit) << c.control;
    EXPECT_EQ(hit->keyIndex, c.keyIndex) << c.control;
    EXPECT_EQ(hit->markSlot, c.markSlot) << c.control;
    EXPECT_EQ(hit->macroOnly, c.macroOnly) << c.control;
  }
  EXPECT_FALSE(HitOfControl(1174));  // Fn: lighting only
  EXPECT_FALSE(HitOfControl(1006));
}

TEST(KeyButtons, SkinKeysFollowTheKeyIndex) {
  EXPECT_EQ(KeyButtonSkinKey(0), u"KEY_01E");
  EXPECT_EQ(KeyButtonSkinKey(97), u"KEY_0C5");
  EXPECT_EQ(GButtonSkinKey(0), u"FUNC_G1");
  EXPECT_EQ(GButtonSkinKey(8), u"FUNC_G9");
}

TEST(KeyButtons, SwitchMarksFlipBetweenZeroAndOne) {
  EXPECT_EQ(FlippedSwitchMark(0), 1u);
  EXPECT_EQ(FlippedSwitchMark(1), 0u);
  EXPECT_EQ(FlippedSwitchMark(7), 0u);
}

}  // namespace
}  // namespace mvk
