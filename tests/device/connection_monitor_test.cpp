#include "device/connection_monitor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "model/settings_block.h"
#include "platform/simulated_hid.h"
#include "sim/simulated_keyboard.h"
#include "support/qt_application.h"
#include "support/recording_window_side.h"

namespace mvk {
namespace {

using namespace std::chrono_literals;
using Events = std::vector<std::string>;

constexpr MonitorCadence kFast{1ms, 2ms, 2ms};
constexpr const char* kPrompt = "message MAIN_DEFAULT_MATRIX_PROMPT";

// The monitor with everything it works on: a simulated keyboard that is
// plugged in only when a test says so.
struct MonitorRig {
  MonitorRig() { keyboard->SetMacroCapacity(32); }

  std::vector<KeyMatrix> Matrices() {
    std::lock_guard lock(matrixLock);
    return matrices;
  }
  bool HasKeyboardMatrix(const KeyMatrix& matrix) const {
    return std::ranges::equal(matrix, keyboard->Memory().defaultMatrix);
  }
  void PlugKeyboard() { backend.Plug(keyboard); }
  bool WaitForFirstSearch() {
    return test::WaitUntil([this] { return state.FirstShowDone == 1; });
  }

  SimulatedHidBackend backend;
  std::shared_ptr<sim::SimulatedKeyboard> keyboard = std::make_shared<sim::SimulatedKeyboard>();
  CHidDevice device{backend};
  KeyboardLink link{device};
  DeviceStateRecord state;
  test::RecordingWindowSide window;
  std::mutex matrixLock;
  std::vector<KeyMatrix> matrices;
  ConnectionMonitor monitor{backend, device, link, state, window,
                            [this](const KeyMatrix& matrix) {
                              std::lock_guard lock(matrixLock);
                              matrices.push_back(matrix);
                            },
                            kFast};
};

TEST(ConnectionMonitorTest, AttachedAtStartThenUnpluggedAndPluggedAgain) {
  struct Row {
    const char* name;
    uint32_t firstShowDone;  // 1 when started with "/Start"
    Events firstAttach;
  };
  const Row rows[] = {
      {"without /Start", 0, {"profiles", "tray 0 141", "open"}},
      {"with /Start", 1, {"profiles", "tray 0 141"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    MonitorRig rig;
    rig.state.FirstShowDone = row.firstShowDone;
    int cacheAtDetach = 0;
    rig.window.SetHook([&rig, &cacheAtDetach](const std::string& event) {
      if (event == "detach") {
        cacheAtDetach = rig.link.ActiveProfileCache;
      }
    });
    rig.PlugKeyboard();
    rig.monitor.Start();
    ASSERT_TRUE(rig.window.WaitForEvents(row.firstAttach.size()));
    EXPECT_EQ(rig.link.MacroCapacityBytes, 32u * kMacroCapacityUnit);

    rig.link.ActiveProfileCache = 2;
    rig.keyboard->Unplug();
    ASSERT_TRUE(rig.window.WaitFor("tray 0 128"));
    EXPECT_EQ(cacheAtDetach, -1);
    EXPECT_EQ(rig.link.ActiveProfileCache, -1);

    rig.keyboard->SetMacroCapacity(16);
    rig.PlugKeyboard();
    ASSERT_TRUE(rig.window.WaitFor("tray 0 141", 2));
    EXPECT_EQ(rig.link.MacroCapacityBytes, 16u * kMacroCapacityUnit);
    // The keyboard's device object is open on the new connection.
    SettingsBlock block;
    EXPECT_EQ(ReadSettingsBlock(rig.link, block), kResultOk);
    rig.monitor.Stop();

    Events expected = row.firstAttach;
    expected.insert(expected.end(),
                    {"detach", "hide", "tray 0 128", "profiles", "tray 0 141"});
    EXPECT_EQ(rig.window.Events(), expected);
    const auto matrices = rig.Matrices();
    ASSERT_EQ(matrices.size(), 2u);
    EXPECT_TRUE(rig.HasKeyboardMatrix(matrices[0]));
    EXPECT_TRUE(rig.HasKeyboardMatrix(matrices[1]));
    EXPECT_EQ(rig.state.FirstShowDone, 1u);
    EXPECT_EQ(rig.state.LastDeviceState, 1u);
    EXPECT_EQ(rig.state.DeviceStateBusy, 0u);
  }
}

TEST(ConnectionMonitorTest, KeyboardAbsentAtTheFirstSearchNeverOpensTheWindow) {
  MonitorRig rig;
  rig.monitor.Start();
  ASSERT_TRUE(rig.WaitForFirstSearch());
  EXPECT_EQ(rig.link.DeviceConnected, 0u);

  rig.PlugKeyboard();
  ASSERT_TRUE(rig.window.WaitFor("tray 0 141"));
  rig.monitor.Stop();
  EXPECT_EQ(rig.window.Events(), (Events{"profiles", "tray 0 141"}));
  ASSERT_EQ(rig.Matrices().size(), 1u);
}

TEST(ConnectionMonitorTest, FailedDefaultMatrixReadPromptsAndKeepsTheOldMatrix) {
  struct Row {
    const char* name;
    bool settingsReadable;
    uint32_t capacity;
  };
  constexpr uint32_t kOldCapacity = 999;
  const Row rows[] = {
      {"settings read afterwards", true, 32u * kMacroCapacityUnit},
      {"settings refused too", false, kOldCapacity},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    MonitorRig rig;
    rig.link.MacroCapacityBytes = kOldCapacity;
    rig.keyboard->InjectFault(sim::Fault::Refused);
    rig.window.SetHook([&](const std::string& event) {
      if (event == kPrompt && row.settingsReadable) {
        rig.keyboard->ClearFault();
      }
    });
    rig.PlugKeyboard();
    rig.monitor.Start();
    ASSERT_TRUE(rig.window.WaitFor("open"));
    rig.monitor.Stop();

    EXPECT_EQ(rig.window.Events(), (Events{kPrompt, "profiles", "tray 0 141", "open"}));
    EXPECT_TRUE(rig.Matrices().empty());
    EXPECT_EQ(rig.link.MacroCapacityBytes, row.capacity);
  }
}

TEST(ConnectionMonitorTest, StopsAtOnceWhereverItIs) {
  struct Row {
    const char* name;
    bool plugged;
    bool refuseCommands;
    const char* held;     // a synchronous window request left unanswered
    const char* reached;  // the last event before the stop; none: detached
  };
  const Row rows[] = {
      {"while attached", true, false, "", "open"},
      {"while detached", false, false, "", nullptr},
      {"in the profiles notice", true, false, "profiles", "profiles"},
      {"while the message box is up", true, true, "message", kPrompt},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    MonitorRig rig;
    rig.window.HoldUntilStopped(row.held);
    if (row.refuseCommands) {
      rig.keyboard->InjectFault(sim::Fault::Refused);
    }
    if (row.plugged) {
      rig.PlugKeyboard();
    }
    rig.monitor.Start();
    if (row.reached != nullptr) {
      ASSERT_TRUE(rig.window.WaitFor(row.reached));
    } else {
      ASSERT_TRUE(rig.WaitForFirstSearch());
    }
    rig.monitor.Stop();

    EXPECT_TRUE(rig.monitor.WaitForEnd(0ms));
    const Events events = rig.window.Events();
    if (row.reached != nullptr) {
      ASSERT_FALSE(events.empty());
      EXPECT_EQ(events.back(), row.reached) << "nothing follows a request cut short";
    } else {
      EXPECT_TRUE(events.empty());
    }
    EXPECT_EQ(rig.state.DeviceStateBusy, 0u);
    EXPECT_FALSE(rig.device.IsOpen());
    EXPECT_EQ(rig.link.DeviceConnected, 0u);
  }
}

TEST(ConnectionMonitorTest, FailedEnumerationEndsTheThread) {
  for (const bool atProbe : {true, false}) {
    SCOPED_TRACE(atProbe ? "at the probe" : "in a later search");
    MonitorRig rig;
    rig.backend.SetEnumerationFails(atProbe);
    rig.monitor.Start();
    if (!atProbe) {
      ASSERT_TRUE(rig.WaitForFirstSearch());
      rig.backend.SetEnumerationFails(true);
    }
    EXPECT_TRUE(rig.monitor.WaitForEnd(20s));
    EXPECT_TRUE(rig.window.Events().empty());
  }
}

}  // namespace
}  // namespace mvk
