#include "device/consumer_listener.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/simulated_hid.h"
#include "sim/simulated_keyboard.h"
#include "support/recording_hid_backend.h"
#include "support/recording_window_side.h"

namespace mvk {
namespace {

using namespace std::chrono_literals;
using Events = std::vector<std::string>;

class ConsumerListenerTest : public testing::Test {
 protected:
  // Starts with the keyboard plugged in and returns once the listener waits
  // for its first report.
  void StartReading() {
    sim_.Plug(keyboard_);
    listener_.Start();
    ASSERT_TRUE(backend_.WaitForCalls(1, 20s));
  }

  SimulatedHidBackend sim_;
  test::RecordingHidBackend backend_{sim_};
  std::shared_ptr<sim::SimulatedKeyboard> keyboard_ = std::make_shared<sim::SimulatedKeyboard>();
  DeviceStateRecord state_;
  test::RecordingWindowSide window_;
  ConsumerListener listener_{backend_, state_, window_, {2ms, 1ms}};
};

TEST_F(ConsumerListenerTest, LightingAndResetUsagesArmTheirTimersAndOthersDoNothing) {
  StartReading();
  for (const uint16_t usage : {0x0401, 0x1801, 0x0401, 0x1804, 0x0000, 0x0402}) {
    keyboard_->SendEvent(usage);
  }
  ASSERT_TRUE(window_.WaitFor("timer 1053"));
  listener_.Stop();
  EXPECT_EQ(window_.Events(), (Events{"timer 1051", "timer 1051", "timer 1053"}));
}

TEST_F(ConsumerListenerTest, TrayUsagesChangeTheIconInTheKeyboardsOrder) {
  StartReading();
  keyboard_->SendEvent(0x1811);
  keyboard_->SendEvent(0x1810);
  ASSERT_TRUE(window_.WaitForEvents(2));
  listener_.Stop();
  EXPECT_EQ(window_.Events(), (Events{"tray 1 0", "tray 0 0"}));
  EXPECT_EQ(state_.TrayIconBusy, 0u);
}

TEST_F(ConsumerListenerTest, ReadsAgainOnceTheKeyboardIsBack) {
  StartReading();
  keyboard_->Unplug();
  sim_.Plug(keyboard_);
  ASSERT_TRUE(backend_.WaitForCalls(2, 20s));
  keyboard_->SendEvent(0x0402);
  EXPECT_TRUE(window_.WaitFor("timer 1053"));
}

TEST_F(ConsumerListenerTest, StopsAtOnceWhileReadingOrSearching) {
  for (const bool plugged : {true, false}) {
    SCOPED_TRACE(plugged ? "blocked in a read" : "searching");
    SimulatedHidBackend sim;
    test::RecordingHidBackend backend{sim};
    DeviceStateRecord state;
    test::RecordingWindowSide window;
    ConsumerListener listener{backend, state, window, {2ms, 1ms}};
    if (plugged) {
      sim.Plug(keyboard_);
    }
    listener.Start();
    if (plugged) {
      ASSERT_TRUE(backend.WaitForCalls(1, 20s));
    }
    listener.Stop();
    EXPECT_TRUE(listener.WaitForEnd(0ms));
  }
}

TEST_F(ConsumerListenerTest, StopEndsATrayChangeStillWaitingForItsTurn) {
  state_.TrayIconBusy = 1;  // another change holds the tray
  StartReading();
  keyboard_->SendEvent(0x1811);
  keyboard_->SendEvent(0x0401);
  ASSERT_TRUE(window_.WaitFor("timer 1051"));
  listener_.Stop();
  EXPECT_EQ(window_.Events(), (Events{"timer 1051"}));
  EXPECT_EQ(state_.TrayIconBusy, 1u);
}

TEST_F(ConsumerListenerTest, FailedEnumerationEndsTheThread) {
  sim_.SetEnumerationFails(true);
  listener_.Start();
  EXPECT_TRUE(listener_.WaitForEnd(20s));
  EXPECT_TRUE(window_.Events().empty());
}

}  // namespace
}  // namespace mvk
