#include "device/collection_match.h"

#include <gtest/gtest.h>

#include "platform/simulated_hid.h"
#include "support/hid_descriptors.h"
#include "support/recording_hid_backend.h"
#include "support/scripted_hid_device.h"

namespace mvk {
namespace {

using test::ScriptedHidDevice;

constexpr HidOpenOptions kReadWrite{true, true, true, false};

TEST(PathNumber, ReadsHexAfterTheKeyInAnyCase) {
  const struct {
    const char* path;
    const char* key;
    uint32_t number;
  } rows[] = {
      {"sim:kb&vid_320f&pid_505b&col02", "vid_", 0x320F},
      {"sim:kb&vid_320f&pid_505b&col02", "pid_", 0x505B},
      {"\\\\?\\HID#VID_320F&PID_505B&MI_01#7&1", "vid_", 0x320F},
      {"\\\\?\\HID#VID_320F&PID_505B&MI_01#7&1", "pid_", 0x505B},
      {"/dev/hidraw0", "vid_", 0},
      {"vid_&pid_505b", "vid_", 0},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(PathNumber(row.path, row.key), row.number) << row.path << " " << row.key;
  }
}

class CollectionMatchTest : public testing::Test {
 protected:
  void Plug(const std::string& name, std::vector<uint8_t> descriptor,
            HidAttributes attributes = {0x320F, 0x505B, 1}) {
    sim_.Plug(std::make_shared<ScriptedHidDevice>(name, std::move(descriptor), attributes));
  }

  bool Find(HidUsageId wanted) {
    EXPECT_TRUE(device_.EnumerateDevices());
    const bool found = OpenKeyboardCollection(device_, wanted, kReadWrite);
    device_.FreeDeviceList();
    return found;
  }

  SimulatedHidBackend sim_;
  test::RecordingHidBackend backend_{sim_};
  CHidDevice device_{backend_};
};

TEST_F(CollectionMatchTest, OpensTheWantedCollectionAndPassesOverTheOthers) {
  Plug("other", test::VendorCommandDescriptor(), {0x320F, 0x505C, 1});
  Plug("kb", test::KeyboardCompositeDescriptor());
  ASSERT_TRUE(Find(kCommandCollection));
  EXPECT_EQ(device_.DevicePath(), "sim:kb&vid_320f&pid_505b&col02");
  // The other product's path is never opened; the consumer collection is
  // opened, found wrong and closed.
  EXPECT_EQ(backend_.Opened(), (std::vector<std::string>{"sim:kb&vid_320f&pid_505b&col01",
                                                         "sim:kb&vid_320f&pid_505b&col02"}));
  ASSERT_TRUE(Find(kConsumerCollection));
  EXPECT_EQ(device_.DevicePath(), "sim:kb&vid_320f&pid_505b&col01");
}

TEST_F(CollectionMatchTest, MatchesPathsWrittenInCapitals) {
  Plug("kb", test::VendorCommandDescriptor());
  backend_.Alias("SIM:KB&VID_320F&PID_505B&COL01", "sim:kb&vid_320f&pid_505b&col01");
  ASSERT_TRUE(Find(kCommandCollection));
  EXPECT_EQ(device_.DevicePath(), "SIM:KB&VID_320F&PID_505B&COL01");
}

TEST_F(CollectionMatchTest, APathThatClaimsTheKeyboardIsCheckedOnceOpen) {
  Plug("impostor", test::VendorCommandDescriptor(), {0x1234, 0x505B, 1});
  backend_.Alias("sim:impostor&vid_320f&pid_505b&col01", "sim:impostor&vid_1234&pid_505b&col01");
  Plug("boot", test::BootKeyboardDescriptor());
  EXPECT_FALSE(Find(kCommandCollection));
  EXPECT_EQ(backend_.Opened().size(), 2u);
  EXPECT_FALSE(device_.IsOpen());
}

}  // namespace
}  // namespace mvk
