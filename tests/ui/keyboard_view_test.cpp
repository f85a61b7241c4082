#include <gtest/gtest.h>

#include <QApplication>

#include <mutex>

#include "model/key_map.h"
#include "ui/main/key_buttons.h"
#include "ui/main/keyboard_view.h"
#include "ui/main/window_messages.h"
#include "ui/skin/png_button.h"
#include "window_fixture.h"

namespace mvk {
namespace {

class KeyboardViewTest : public test::WindowFixture {
 protected:
  KeySlot SlotOf(int keyIndex) {
    return *ReadAssignment(services_.Config(), window().KeyProfile(), keyIndex);
  }
  void Assign(int keyIndex, uint16_t type, uint32_t value) {
    ASSERT_TRUE(WriteAssignment(services_.Config(), window().KeyProfile(), keyIndex, type, value));
  }
};

TEST_F(KeyboardViewTest, RefreshGivesAssignedKeysTheirLookAndPrompt) {
  Initialise();
  Assign(0x01E, kAssignKey, 0x030);  // A acts as B
  Assign(0x073, kAssignDisabled, 0);  // the hidden K56
  Assign(0x102, kAssignFunction, 0);  // G3
  window().RefreshKeyButtons();

  CPngButton& a = window().KeyView().KeyButton(0);
  EXPECT_TRUE(a.IsAssigned());
  EXPECT_EQ(a.CurrentFace(), ButtonFace::kAssigned);
  EXPECT_EQ(a.TooltipText(), "A" + Text("KEY_PROMPT_SET") + Text("KEY_PROMPT_SINGLE") + "B)");
  EXPECT_TRUE(window().KeyView().KeyButton(105).IsAssigned());
  EXPECT_FALSE(window().KeyView().KeyButton(105).isVisible());
  CPngButton& g3 = window().KeyView().GButton(2);
  EXPECT_TRUE(g3.IsAssigned());
  EXPECT_EQ(g3.TooltipText(), "G3" + Text("KEY_PROMPT_SET") + Text("KEY_PROMPT_FUNCTION") +
                                  Text("FUNC_KEY_DESC1") + ")");
  CPngButton& b = window().KeyView().KeyButton(1);
  EXPECT_FALSE(b.IsAssigned());
  EXPECT_EQ(b.TooltipText(), "B");

  window().ClearKeyButton(0x01E);
  EXPECT_FALSE(a.IsAssigned());
}

TEST_F(KeyboardViewTest, ClicksOpenTheAssignmentDialogForTheirKey) {
  Initialise();
  window().OnKeyButton(1058);  // A
  window().OnKeyButton(1143);  // G9
  window().OnKeyButton(1007);  // the macro button
  window().OnKeyButton(1000);  // G1
  window().OnKeyButton(4242);  // no key
  window().OnKeyButton(1174);  // Fn, outside the per-key colour mode
  const std::vector<std::pair<int, bool>> expected = {
      {0x01E, false}, {0x208, true}, {0x208, true}, {0x200, false}};
  EXPECT_EQ(assignment_.opened, expected);
  // The highlight lasts while the dialog is open only.
  EXPECT_EQ(window().KeyView().KeyButton(0).CurrentFace(), ButtonFace::kNormal);
}

TEST_F(KeyboardViewTest, PerKeyColourModeTakesTheClicks) {
  std::vector<int> colourClicks;
  window().Hooks().keyColourMode = [] { return true; };
  window().Hooks().keyColourClick = [&](int control) { colourClicks.push_back(control); };
  Initialise();
  window().OnKeyButton(1058);
  window().OnKeyButton(1174);
  EXPECT_EQ(colourClicks, (std::vector<int>{1058, 1174}));
  EXPECT_TRUE(assignment_.opened.empty());
}

TEST_F(KeyboardViewTest, SwitchModeClicksFlipMarksAndEnableApply) {
  Initialise();
  window().SetSwitchMode(true);
  window().EnableApply(false);
  window().KeyView().KeyButton(0).click();  // A, position 0
  EXPECT_EQ(SlotOf(0).switchMark, 1u);
  EXPECT_EQ(window().KeyView().KeyButton(0).CurrentFace(), ButtonFace::kMarkOn);
  EXPECT_TRUE(window().ApplyPending());
  EXPECT_TRUE(assignment_.opened.empty());

  window().OnKeyButton(1000);  // G1 keeps its mark in its own slot
  EXPECT_EQ(SlotOf(0x100).switchMark, 1u);
  EXPECT_EQ(SlotOf(0).switchMark, 1u);
  window().OnKeyButton(1058);
  EXPECT_EQ(SlotOf(0).switchMark, 0u);
  EXPECT_EQ(window().KeyView().KeyButton(0).CurrentFace(), ButtonFace::kMarkOff);

  window().SwitchToProfile(0);
  EXPECT_FALSE(window().SwitchMode());
  EXPECT_EQ(window().KeyView().GButton(0).CurrentFace(), ButtonFace::kNormal);
}

}  // namespace
}  // namespace mvk
