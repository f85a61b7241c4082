#include "platform/key_translation.h"

#include <linux/input-event-codes.h>

#include <Qt>
#include <algorithm>
#include <iterator>

namespace mvk {
namespace {

constexpr uint32_t kXkbKeycodeOffset = 8;
constexpr uint16_t kExtended = 0x100;  // E0-prefixed scan code

constexpr uint32_t kRepeatCount = 1;
constexpr int kScanCodeShift = 16;
constexpr uint32_t kPreviousStateBit = 1u << 30;
constexpr uint32_t kTransitionBit = 1u << 31;

struct EvdevKey {
  uint16_t evdev;
  uint16_t scanCode;  // set 1, kExtended for the E0 prefix
  uint8_t vk;
};

// Scan codes as Windows reports them (Pause as 0x45, Num Lock as E0 45) and
// the VKs of a US layout; left and right modifiers keep their own VKs.
constexpr EvdevKey kEvdevKeys[] = {
    {KEY_ESC, 0x01, 0x1B},        {KEY_1, 0x02, 0x31},          {KEY_2, 0x03, 0x32},
    {KEY_3, 0x04, 0x33},          {KEY_4, 0x05, 0x34},          {KEY_5, 0x06, 0x35},
    {KEY_6, 0x07, 0x36},          {KEY_7, 0x08, 0x37},          {KEY_8, 0x09, 0x38},
    {KEY_9, 0x0A, 0x39},          {KEY_0, 0x0B, 0x30},          {KEY_MINUS, 0x0C, 0xBD},
    {KEY_EQUAL, 0x0D, 0xBB},      {KEY_BACKSPACE, 0x0E, 0x08},  {KEY_TAB, 0x0F, 0x09},
    {KEY_Q, 0x10, 0x51},          {KEY_W, 0x11, 0x57},          {KEY_E, 0x12, 0x45},
    {KEY_R, 0x13, 0x52},          {KEY_T, 0x14, 0x54},          {KEY_Y, 0x15, 0x59},
    {KEY_U, 0x16, 0x55},          {KEY_I, 0x17, 0x49},          {KEY_O, 0x18, 0x4F},
    {KEY_P, 0x19, 0x50},          {KEY_LEFTBRACE, 0x1A, 0xDB},  {KEY_RIGHTBRACE, 0x1B, 0xDD},
    {KEY_ENTER, 0x1C, 0x0D},      {KEY_LEFTCTRL, 0x1D, 0xA2},   {KEY_A, 0x1E, 0x41},
    {KEY_S, 0x1F, 0x53},          {KEY_D, 0x20, 0x44},          {KEY_F, 0x21, 0x46},
    {KEY_G, 0x22, 0x47},          {KEY_H, 0x23, 0x48},          {KEY_J, 0x24, 0x4A},
    {KEY_K, 0x25, 0x4B},          {KEY_L, 0x26, 0x4C},          {KEY_SEMICOLON, 0x27, 0xBA},
    {KEY_APOSTROPHE, 0x28, 0xDE}, {KEY_GRAVE, 0x29, 0xC0},      {KEY_LEFTSHIFT, 0x2A, 0xA0},
    {KEY_BACKSLASH, 0x2B, 0xDC},  {KEY_Z, 0x2C, 0x5A},          {KEY_X, 0x2D, 0x58},
    {KEY_C, 0x2E, 0x43},          {KEY_V, 0x2F, 0x56},          {KEY_B, 0x30, 0x42},
    {KEY_N, 0x31, 0x4E},          {KEY_M, 0x32, 0x4D},          {KEY_COMMA, 0x33, 0xBC},
    {KEY_DOT, 0x34, 0xBE},        {KEY_SLASH, 0x35, 0xBF},      {KEY_RIGHTSHIFT, 0x36, 0xA1},
    {KEY_KPASTERISK, 0x37, 0x6A}, {KEY_LEFTALT, 0x38, 0xA4},    {KEY_SPACE, 0x39, 0x20},
    {KEY_CAPSLOCK, 0x3A, 0x14},   {KEY_F1, 0x3B, 0x70},         {KEY_F2, 0x3C, 0x71},
    {KEY_F3, 0x3D, 0x72},         {KEY_F4, 0x3E, 0x73},         {KEY_F5, 0x3F, 0x74},
    {KEY_F6, 0x40, 0x75},         {KEY_F7, 0x41, 0x76},         {KEY_F8, 0x42, 0x77},
    {KEY_F9, 0x43, 0x78},         {KEY_F10, 0x44, 0x79},        {KEY_NUMLOCK, kExtended | 0x45, 0x90},
    {KEY_SCROLLLOCK, 0x46, 0x91}, {KEY_KP7, 0x47, 0x67},        {KEY_KP8, 0x48, 0x68},
    {KEY_KP9, 0x49, 0x69},        {KEY_KPMINUS, 0x4A, 0x6D},    {KEY_KP4, 0x4B, 0x64},
    {KEY_KP5, 0x4C, 0x65},        {KEY_KP6, 0x4D, 0x66},        {KEY_KPPLUS, 0x4E, 0x6B},
    {KEY_KP1, 0x4F, 0x61},        {KEY_KP2, 0x50, 0x62},        {KEY_KP3, 0x51, 0x63},
    {KEY_KP0, 0x52, 0x60},        {KEY_KPDOT, 0x53, 0x6E},      {KEY_102ND, 0x56, 0xE2},
    {KEY_F11, 0x57, 0x7A},        {KEY_F12, 0x58, 0x7B},        {KEY_F13, 0x64, 0x7C},
    // Japanese, Korean and Brazilian keys.
    {KEY_KATAKANAHIRAGANA, 0x70, kVkNone}, {KEY_HANJA, 0x71, 0xE9},  {KEY_HANGEUL, 0x72, kVkNone},
    {KEY_RO, 0x73, 0xC1},         {KEY_HENKAN, 0x79, kVkNone},  {KEY_MUHENKAN, 0x7B, 0xEB},
    {KEY_YEN, 0x7D, kVkNone},     {KEY_KPCOMMA, 0x7E, 0xC2},
    // E1 1D 45 reaches Windows as 0x45 without the extended flag.
    {KEY_PAUSE, 0x45, 0x13},
    {KEY_KPENTER, kExtended | 0x1C, 0x0D},  {KEY_RIGHTCTRL, kExtended | 0x1D, 0xA3},
    {KEY_KPSLASH, kExtended | 0x35, 0x6F},  {KEY_SYSRQ, kExtended | 0x37, 0x2C},
    {KEY_RIGHTALT, kExtended | 0x38, 0xA5}, {KEY_HOME, kExtended | 0x47, 0x24},
    {KEY_UP, kExtended | 0x48, 0x26},       {KEY_PAGEUP, kExtended | 0x49, 0x21},
    {KEY_LEFT, kExtended | 0x4B, 0x25},     {KEY_RIGHT, kExtended | 0x4D, 0x27},
    {KEY_END, kExtended | 0x4F, 0x23},      {KEY_DOWN, kExtended | 0x50, 0x28},
    {KEY_PAGEDOWN, kExtended | 0x51, 0x22}, {KEY_INSERT, kExtended | 0x52, 0x2D},
    {KEY_DELETE, kExtended | 0x53, 0x2E},   {KEY_LEFTMETA, kExtended | 0x5B, 0x5B},
    {KEY_RIGHTMETA, kExtended | 0x5C, 0x5C}, {KEY_COMPOSE, kExtended | 0x5D, 0x5D},
    // System and multimedia keys.
    {KEY_POWER, kExtended | 0x5E, kVkNone}, {KEY_SLEEP, kExtended | 0x5F, 0x5F},
    {KEY_WAKEUP, kExtended | 0x63, kVkNone}, {KEY_PREVIOUSSONG, kExtended | 0x10, 0xB1},
    {KEY_NEXTSONG, kExtended | 0x19, 0xB0}, {KEY_MUTE, kExtended | 0x20, 0xAD},
    {KEY_CALC, kExtended | 0x21, 0xB7},     {KEY_PLAYPAUSE, kExtended | 0x22, 0xB3},
    {KEY_STOPCD, kExtended | 0x24, 0xB2},   {KEY_VOLUMEDOWN, kExtended | 0x2E, 0xAE},
    {KEY_VOLUMEUP, kExtended | 0x30, 0xAF}, {KEY_HOMEPAGE, kExtended | 0x32, 0xAC},
    {KEY_SEARCH, kExtended | 0x65, 0xAA},   {KEY_BOOKMARKS, kExtended | 0x66, 0xAB},
    {KEY_REFRESH, kExtended | 0x67, 0xA8},  {KEY_STOP, kExtended | 0x68, 0xA9},
    {KEY_FORWARD, kExtended | 0x69, 0xA7},  {KEY_BACK, kExtended | 0x6A, 0xA6},
    {KEY_COMPUTER, kExtended | 0x6B, 0xB6}, {KEY_MAIL, kExtended | 0x6C, 0xB4},
    {KEY_MEDIA, kExtended | 0x6D, 0xB5},
};

struct QtKeyVk {
  int qtKey;
  uint8_t vk;
};

// For events without a known scan code: the generic modifier VKs, as a
// window message carries them.
constexpr QtKeyVk kQtKeyVks[] = {
    {Qt::Key_Escape, 0x1B},      {Qt::Key_Tab, 0x09},          {Qt::Key_Backtab, 0x09},
    {Qt::Key_Backspace, 0x08},   {Qt::Key_Return, 0x0D},       {Qt::Key_Enter, 0x0D},
    {Qt::Key_Insert, 0x2D},      {Qt::Key_Delete, 0x2E},       {Qt::Key_Pause, 0x13},
    {Qt::Key_Print, 0x2C},       {Qt::Key_SysReq, 0x2C},       {Qt::Key_Home, 0x24},
    {Qt::Key_End, 0x23},         {Qt::Key_Left, 0x25},         {Qt::Key_Up, 0x26},
    {Qt::Key_Right, 0x27},       {Qt::Key_Down, 0x28},         {Qt::Key_PageUp, 0x21},
    {Qt::Key_PageDown, 0x22},    {Qt::Key_Shift, 0x10},        {Qt::Key_Control, 0x11},
    {Qt::Key_Alt, 0x12},         {Qt::Key_AltGr, 0xA5},        {Qt::Key_Meta, 0x5B},
    {Qt::Key_Super_L, 0x5B},     {Qt::Key_Super_R, 0x5C},      {Qt::Key_Menu, 0x5D},
    {Qt::Key_CapsLock, 0x14},    {Qt::Key_NumLock, 0x90},      {Qt::Key_ScrollLock, 0x91},
    {Qt::Key_Space, 0x20},       {Qt::Key_Minus, 0xBD},        {Qt::Key_Equal, 0xBB},
    {Qt::Key_BracketLeft, 0xDB}, {Qt::Key_BracketRight, 0xDD}, {Qt::Key_Backslash, 0xDC},
    {Qt::Key_Semicolon, 0xBA},   {Qt::Key_Apostrophe, 0xDE},   {Qt::Key_QuoteLeft, 0xC0},
    {Qt::Key_Comma, 0xBC},       {Qt::Key_Period, 0xBE},       {Qt::Key_Slash, 0xBF},
    {Qt::Key_Asterisk, 0x6A},    {Qt::Key_Plus, 0x6B},         {Qt::Key_Sleep, 0x5F},
    {Qt::Key_VolumeMute, 0xAD},  {Qt::Key_VolumeDown, 0xAE},   {Qt::Key_VolumeUp, 0xAF},
    {Qt::Key_MediaNext, 0xB0},   {Qt::Key_MediaPrevious, 0xB1}, {Qt::Key_MediaStop, 0xB2},
    {Qt::Key_MediaTogglePlayPause, 0xB3}, {Qt::Key_MediaPlay, 0xB3}, {Qt::Key_LaunchMail, 0xB4},
    {Qt::Key_LaunchMedia, 0xB5}, {Qt::Key_Launch0, 0xB6},      {Qt::Key_Calculator, 0xB7},
    {Qt::Key_HomePage, 0xAC},    {Qt::Key_Search, 0xAA},       {Qt::Key_Favorites, 0xAB},
    {Qt::Key_Refresh, 0xA8},     {Qt::Key_Stop, 0xA9},         {Qt::Key_Forward, 0xA7},
    {Qt::Key_Back, 0xA6},
};

const EvdevKey* FindEvdevKey(uint32_t nativeScanCode) {
  if (nativeScanCode < kXkbKeycodeOffset) return nullptr;
  const uint32_t evdev = nativeScanCode - kXkbKeycodeOffset;
  const auto found = std::find_if(std::begin(kEvdevKeys), std::end(kEvdevKeys),
                                  [evdev](const EvdevKey& key) { return key.evdev == evdev; });
  return found != std::end(kEvdevKeys) ? found : nullptr;
}

bool IsLetter(int qtKey) { return qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z; }
bool IsDigit(int qtKey) { return qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9; }
bool IsFunctionKey(int qtKey) { return qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24; }

// Letters and digits share their codes with the VKs; F1 is VK 0x70.
uint32_t VkOfQtKey(int qtKey) {
  if (IsLetter(qtKey) || IsDigit(qtKey)) return static_cast<uint32_t>(qtKey);
  if (IsFunctionKey(qtKey)) return 0x70u + static_cast<uint32_t>(qtKey - Qt::Key_F1);
  const auto found = std::find_if(std::begin(kQtKeyVks), std::end(kQtKeyVks),
                                  [qtKey](const QtKeyVk& row) { return row.qtKey == qtKey; });
  return found != std::end(kQtKeyVks) ? found->vk : 0;
}

uint32_t StateFlags(bool keyUp, bool autoRepeat) {
  uint32_t flags = kRepeatCount;
  if (keyUp || autoRepeat) flags |= kPreviousStateBit;
  if (keyUp) flags |= kTransitionBit;
  return flags;
}

}  // namespace

WindowsKeyMessage TranslateKeyEvent(uint32_t nativeScanCode, int qtKey, bool keyUp,
                                    bool autoRepeat) {
  WindowsKeyMessage message;
  message.keyFlags = StateFlags(keyUp, autoRepeat);
  if (const EvdevKey* key = FindEvdevKey(nativeScanCode)) {
    message.vk = IsLetter(qtKey) ? static_cast<uint32_t>(qtKey) : key->vk;
    message.keyFlags |= static_cast<uint32_t>(key->scanCode) << kScanCodeShift;
  } else {
    message.vk = VkOfQtKey(qtKey);
  }
  return message;
}

}  // namespace mvk
