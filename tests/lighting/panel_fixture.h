// A lighting panel on a plain window, talking to a simulated keyboard
// through a tap that keeps every request, with a keyboard view and a colour
// choice that the tests control.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QWidget>

#include <deque>
#include <map>
#include <memory>

#include "app/language.h"
#include "model/settings_block.h"
#include "sim/simulated_keyboard.h"
#include "storage/lighting_mode_store.h"
#include "storage/user_modes.h"
#include "support/emulator_channel.h"
#include "support/packet_tap.h"
#include "support/qt_application.h"
#include "support/recording_channel.h"
#include "ui/main/lighting_panel.h"

namespace mvk::test {

inline constexpr uint8_t kBeginUpdate = 1;
inline constexpr uint8_t kEndUpdate = 2;
inline constexpr uint8_t kWriteMemory = 6;
inline constexpr uint8_t kWriteKeyColours = 17;

class FakeKeyboardView : public LightingKeyboardView {
 public:
  void SetColourLook(bool on) override { colourLook = on; }
  void SetKeyColour(int ledIndex, Colour colour) override { colours[ledIndex] = colour; }
  std::vector<KeyIndex> ButtonKeys() const override { return keys; }
  void ClearSwitchMode() override { ++switchModeClears; }

  bool colourLook = false;
  std::map<int, Colour> colours;
  std::vector<KeyIndex> keys{0x01, 0x1E, 0x39};
  int switchModeClears = 0;
};

class ScriptedColours : public ColourPicker {
 public:
  std::optional<Colour> PickColour(Colour) override {
    if (answers.empty()) return std::nullopt;
    const auto answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::deque<std::optional<Colour>> answers;
};

// One lighting write as it reached the keyboard.
struct MemoryWrite {
  uint16_t offset;
  std::vector<uint8_t> bytes;
  friend bool operator==(const MemoryWrite&, const MemoryWrite&) = default;
};

inline std::ostream& operator<<(std::ostream& out, const MemoryWrite& write) {
  out << "{" << write.offset << ":";
  for (uint8_t byte : write.bytes) out << " " << int(byte);
  return out << "}";
}

class PanelFixture : public ::testing::Test {
 protected:
  PanelFixture() {
    link_.DeviceConnected = 1;
    link_.pause = [](std::chrono::milliseconds) {};
    window_.resize(1120, 700);
    panel_ = std::make_unique<CLightingPanel>(window_, PanelContext());
    Reload();
  }

  LightingPanelContext PanelContext() {
    return {link_,
            lighting_,
            userModes_,
            store_,
            view_,
            colours_,
            BuildDir() / "Skins/Main.ini",
            [this](std::u16string_view section, std::string_view key) {
              const std::u16string text = section == u"MODE" ? texts_.GetModeText(key, 0)
                                          : section == u"LIGHT" ? texts_.GetLightText(key, 0)
                                                                : texts_.GetLangText(key, 0);
              return QString::fromStdU16String(text);
            },
            [this](int profile) {
              selections_.push_back(profile);
              if (!allowSelection_) return false;
              SetActiveProfile(link_, profile);
              return true;
            },
            [] { return 1234u; }};
  }

  static std::filesystem::path BuildDir() { return MORVAKIN_BUILD_DIR; }
  std::filesystem::path Dir() const { return dir_.path().toStdString(); }

  // What the reload after attach does for the lighting side.
  void Reload() {
    ReadLighting(link_, lighting_, LightingReadVariant::Reload,
                 UserModeReadHooks(store_, link_, lighting_, userModes_));
    panel_->RefillUserModeList();
    panel_->RefreshLightingPanel();
    tap_.written.clear();
  }

  void TurnLightViewOn() {
    panel_->ToggleLightView();
    ASSERT_TRUE(panel_->LightViewOn());
    tap_.written.clear();
  }

  // The KbWriteMemory requests sent, in order.
  std::vector<MemoryWrite> MemoryWrites() const {
    std::vector<MemoryWrite> writes;
    for (const Packet& request : tap_.written) {
      if (CommandOf(request) == kWriteMemory) writes.push_back({OffsetOf(request), DataOf(request)});
    }
    return writes;
  }
  std::vector<uint8_t> Commands() const { return CommandsOf(tap_.written); }
  uint8_t LightingByte(int profile, std::size_t field) const {
    return keyboard_.Memory().lighting[profile * kLightingRecordSize + field];
  }
  std::array<uint8_t, 3> KeyColourOnKeyboard(int profile, int led) const {
    const auto memory = keyboard_.Memory();
    const std::size_t at = profile * 512 + led * 3;
    return {memory.keyColours[at], memory.keyColours[at + 1], memory.keyColours[at + 2]};
  }

  QWidget* Control(int id) const { return panel_->Control(id); }

  QApplication& application_ = Application();
  QTemporaryDir dir_;
  sim::SimulatedKeyboard keyboard_;
  EmulatorChannel emulator_{keyboard_};
  PacketTap tap_{emulator_};
  KeyboardLink link_{tap_};
  LightingConfig lighting_;
  UserModeState userModes_;
  LightingModeStore store_{ConfigFolder{Dir() / "config", Dir() / "none.userd"}};
  LanguageTexts texts_{BuildDir()};
  FakeKeyboardView view_;
  ScriptedColours colours_;
  std::vector<int> selections_;
  bool allowSelection_ = true;
  QWidget window_;
  std::unique_ptr<CLightingPanel> panel_;
};

}  // namespace mvk::test
