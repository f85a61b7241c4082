#include <gtest/gtest.h>

#include <linux/input-event-codes.h>

#include <Qt>
#include <set>

#include "model/keys.h"
#include "platform/key_translation.h"

namespace mvk {
namespace {

constexpr uint32_t kXkbOffset = 8;
constexpr uint32_t kExtendedBit = 1u << 24;

uint32_t ScanCodeOf(const WindowsKeyMessage& message) { return (message.keyFlags >> 16) & 0xFF; }

TEST(TranslateKeyEvent, ExtendedKeys) {
  const struct {
    const char* what;
    uint32_t evdev;
    int qtKey;
    uint32_t vk;
    uint32_t scanCode;
    bool extended;
  } rows[] = {
      {"Up", KEY_UP, Qt::Key_Up, 0x26, 0x48, true},
      {"Down", KEY_DOWN, Qt::Key_Down, 0x28, 0x50, true},
      {"Left", KEY_LEFT, Qt::Key_Left, 0x25, 0x4B, true},
      {"Right", KEY_RIGHT, Qt::Key_Right, 0x27, 0x4D, true},
      {"Right Ctrl", KEY_RIGHTCTRL, Qt::Key_Control, 0xA3, 0x1D, true},
      {"Right Alt", KEY_RIGHTALT, Qt::Key_AltGr, 0xA5, 0x38, true},
      {"Keypad Enter", KEY_KPENTER, Qt::Key_Enter, 0x0D, 0x1C, true},
      {"Keypad /", KEY_KPSLASH, Qt::Key_Slash, 0x6F, 0x35, true},
      {"Left Windows", KEY_LEFTMETA, Qt::Key_Meta, 0x5B, 0x5B, true},
      {"Right Windows", KEY_RIGHTMETA, Qt::Key_Meta, 0x5C, 0x5C, true},
      {"App", KEY_COMPOSE, Qt::Key_Menu, 0x5D, 0x5D, true},
      {"Print Screen", KEY_SYSRQ, Qt::Key_Print, 0x2C, 0x37, true},
      {"Num Lock", KEY_NUMLOCK, Qt::Key_NumLock, 0x90, 0x45, true},
      {"Pause", KEY_PAUSE, Qt::Key_Pause, 0x13, 0x45, false},
      {"Left Ctrl", KEY_LEFTCTRL, Qt::Key_Control, 0xA2, 0x1D, false},
      {"Enter", KEY_ENTER, Qt::Key_Return, 0x0D, 0x1C, false},
      {"Keypad *", KEY_KPASTERISK, Qt::Key_Asterisk, 0x6A, 0x37, false},
  };
  for (const auto& row : rows) {
    const WindowsKeyMessage message = TranslateKeyEvent(row.evdev + kXkbOffset, row.qtKey, false, false);
    EXPECT_EQ(message.vk, row.vk) << row.what;
    EXPECT_EQ(ScanCodeOf(message), row.scanCode) << row.what;
    EXPECT_EQ((message.keyFlags & kExtendedBit) != 0, row.extended) << row.what;
  }
}

TEST(TranslateKeyEvent, StateBitsFollowTheEvent) {
  const struct {
    bool keyUp;
    bool autoRepeat;
    uint32_t stateBits;
  } rows[] = {{false, false, 0}, {false, true, 1u << 30}, {true, false, 3u << 30}};
  for (const auto& row : rows) {
    const WindowsKeyMessage message = TranslateKeyEvent(KEY_A + kXkbOffset, Qt::Key_A, row.keyUp, row.autoRepeat);
    EXPECT_EQ(message.keyFlags & (3u << 30), row.stateBits);
    EXPECT_EQ(message.keyFlags & 0xFFFF, 1u);  // repeat count
  }
}

TEST(TranslateKeyEvent, LettersTakeTheLayoutsVkAndKeepThePosition) {
  // The key right of L on a French layout types M.
  const WindowsKeyMessage message = TranslateKeyEvent(KEY_SEMICOLON + kXkbOffset, Qt::Key_M, false, false);
  EXPECT_EQ(message.vk, 0x4Du);
  EXPECT_EQ(KeyCodeFromMessage(message.vk, message.keyFlags), 0x027);
}

TEST(TranslateKeyEvent, WithoutScanCodeTheQtKeyDecides) {
  const struct {
    int qtKey;
    KeyCode code;
  } rows[] = {
      {Qt::Key_Q, 0x010},       {Qt::Key_7, 0x008},      {Qt::Key_F12, 0x058},
      {Qt::Key_Control, 0x01D}, {Qt::Key_Print, 0x137},  {Qt::Key_Up, 0x148},
      {Qt::Key_VolumeMute, 0x120}, {Qt::Key_unknown, 0}, {Qt::Key_Exclam, 0},
  };
  for (const auto& row : rows) {
    const WindowsKeyMessage message = TranslateKeyEvent(0, row.qtKey, false, false);
    EXPECT_EQ(ScanCodeOf(message), 0u);
    EXPECT_EQ(KeyCodeFromMessage(message.vk, message.keyFlags), row.code) << std::hex << row.qtKey;
  }
}

// Every key the translation knows lands on a record of the key table
// with that record's VK, and every keyboard key of the key list is reachable.
TEST(TranslateKeyEvent, AgreesWithTheKeyTable) {
  std::set<KeyCode> reached;
  for (uint32_t evdev = 1; evdev < 256; ++evdev) {
    const WindowsKeyMessage message = TranslateKeyEvent(evdev + kXkbOffset, Qt::Key_unknown, false, false);
    if (ScanCodeOf(message) == 0) continue;
    const KeyCode code = KeyCodeFromMessage(message.vk, message.keyFlags);
    const KeyRecord& record = KeyRecordAt(KeyIndexOf(code));
    ASSERT_NE(record.label, nullptr) << "evdev " << evdev;
    EXPECT_EQ(message.vk, record.vk != 0 ? record.vk : kVkNone) << record.label;
    reached.insert(code);
  }
  for (int position = 0; position < kKeyListSize; ++position) {
    const KeyCode code = KeyCodeOfListPosition(position);
    if (KeyUsageOf(code).kind == kUsageMouse) continue;
    EXPECT_TRUE(reached.contains(code) || code == 0x146) << std::hex << code;  // Break is Ctrl+Pause
  }
}

}  // namespace
}  // namespace mvk
