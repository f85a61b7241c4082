// The main window with its lighting panel and profile controls over the
// simulated keyboard, and what the tests read back from the keyboard.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "model/lighting.h"
#include "support/scripted_file_prompts.h"
#include "support/scripted_model_prompts.h"
#include "ui/main/main_panels.h"
#include "window_fixture.h"

namespace mvk::test {

class PanelsFixture : public WindowFixture {
 protected:
  // The panels, with `profiles` doing the profile selections.
  void BuildPanels(ProfileManagerApi& profiles) {
    panels_ = std::make_unique<CMainPanels>(window(), services_, modelPrompts_, filePrompts_,
                                            profiles);
  }

  void AttachInitialised() {
    Initialise();
    AttachAndWait();
  }

  CLightingPanel& Lighting() { return panels_->Lighting(); }
  sim::KeyboardMemory Memory() const { return keyboard_->Memory(); }
  uint8_t LightingByte(int profile, std::size_t field) const {
    return Memory().lighting[profile * kLightingRecordSize + field];
  }
  std::array<uint8_t, 3> KeyColourOnKeyboard(int profile, int led) const {
    const auto memory = Memory();
    const std::size_t at = profile * 512 + led * 3;
    return {memory.keyColours[at], memory.keyColours[at + 1], memory.keyColours[at + 2]};
  }

  ScriptedModelPrompts modelPrompts_;
  ScriptedFilePrompts filePrompts_;
  std::unique_ptr<CMainPanels> panels_;
};

}  // namespace mvk::test
