#include "device/hid_device.h"

#include <gtest/gtest.h>

#include <future>

#include "platform/simulated_hid.h"
#include "support/hid_descriptors.h"
#include "support/recording_hid_backend.h"
#include "support/scripted_hid_device.h"

namespace mvk {
namespace {

using test::ScriptedHidDevice;

constexpr HidOpenOptions kReadWrite{true, true, true, false};
constexpr const char* kConsumerPath = "sim:kb&vid_320f&pid_505b&col01";
constexpr const char* kCommandPath = "sim:kb&vid_320f&pid_505b&col02";

// A small gamepad: report 1 holds four buttons, padding, then X and Y as
// signed bytes.
std::vector<uint8_t> GamepadDescriptor() {
  return {
      0x05, 0x01, 0x09, 0x05, 0xA1, 0x01, 0x85, 0x01,  // Gamepad, report 1
      0x05, 0x09, 0x19, 0x01, 0x29, 0x04, 0x15, 0x00, 0x25, 0x01,
      0x75, 0x01, 0x95, 0x04, 0x81, 0x02,              // buttons 1 to 4
      0x95, 0x04, 0x81, 0x01,                          // padding
      0x05, 0x01, 0x09, 0x30, 0x09, 0x31, 0x15, 0x81, 0x25, 0x7F,
      0x75, 0x08, 0x95, 0x02, 0x81, 0x02,              // X, Y
      0xC0,
  };
}

class HidDeviceTest : public testing::Test {
 protected:
  void SetUp() override { sim_.Plug(keyboard_); }

  std::shared_ptr<ScriptedHidDevice> keyboard_ =
      std::make_shared<ScriptedHidDevice>("kb", test::KeyboardCompositeDescriptor());
  SimulatedHidBackend sim_;
  test::RecordingHidBackend backend_{sim_};
  CHidDevice device_{backend_};
};

TEST_F(HidDeviceTest, WalksTheListOfPathsInOrder) {
  for (int i = 0; i < 10; ++i) {
    sim_.Plug(std::make_shared<ScriptedHidDevice>("pad" + std::to_string(i), GamepadDescriptor(),
                                                  HidAttributes{0x1111, 0x2222, 1}));
  }
  ASSERT_TRUE(device_.EnumerateDevices());
  std::vector<std::string> walked;
  while (const auto path = device_.NextDevicePath()) {
    walked.push_back(*path);
  }
  ASSERT_EQ(walked.size(), 12u);
  EXPECT_EQ(walked[0], kConsumerPath);
  EXPECT_EQ(walked[1], kCommandPath);
  EXPECT_EQ(walked[11], "sim:pad9&vid_1111&pid_2222&col01");

  ASSERT_TRUE(device_.EnumerateDevices());  // starts again from the first
  EXPECT_EQ(device_.NextDevicePath(), kConsumerPath);
  device_.FreeDeviceList();
  EXPECT_FALSE(device_.NextDevicePath().has_value());

  sim_.SetEnumerationFails(true);
  EXPECT_FALSE(device_.EnumerateDevices());
  EXPECT_FALSE(device_.NextDevicePath().has_value());
}

TEST_F(HidDeviceTest, NoDevicesGiveAnEmptyList) {
  keyboard_->UnplugSelf();
  EXPECT_TRUE(device_.EnumerateDevices());
  EXPECT_FALSE(device_.NextDevicePath().has_value());
}

TEST_F(HidDeviceTest, OpenDescribesTheCollection) {
  ASSERT_TRUE(device_.Open(kCommandPath, kReadWrite));
  EXPECT_TRUE(device_.IsOpen());
  EXPECT_EQ(device_.DevicePath(), kCommandPath);
  EXPECT_EQ(device_.Attributes().vendorId, 0x320F);
  const HidCaps caps = device_.Capabilities();
  EXPECT_EQ(caps.usagePage, 0xFF1C);
  EXPECT_EQ(caps.usage, 0x92);
  EXPECT_EQ(caps.inputReportByteLength, 64);
  EXPECT_EQ(caps.outputReportByteLength, 64);
  EXPECT_EQ(caps.featureReportByteLength, 0);
  EXPECT_EQ(caps.numberInputValueCaps, 1);
  EXPECT_EQ(caps.numberInputButtonCaps, 0);
  EXPECT_EQ(device_.InputReportBuffer().size(), 64u);
  ASSERT_EQ(device_.InputDataItems().size(), 1u);
  EXPECT_FALSE(device_.InputDataItems()[0].isButtonData);
  EXPECT_EQ(device_.InputDataItems()[0].reportId, 4u);

  // Re-opening describes the new collection.
  ASSERT_TRUE(device_.Open(kConsumerPath, {true, false, true, false}));
  EXPECT_EQ(device_.Capabilities().usagePage, 0x0C);
  ASSERT_EQ(device_.InputDataItems().size(), 1u);
  const HidDataItem& item = device_.InputDataItems()[0];
  EXPECT_TRUE(item.isButtonData);
  EXPECT_EQ(item.maxUsageLength, 2u);
  EXPECT_EQ(item.usages, (std::vector<uint16_t>{0, 0}));
  EXPECT_EQ(item.status, kHidpStatusSuccess);
}

TEST_F(HidDeviceTest, FailedOpenLeavesTheDeviceClosed) {
  ASSERT_TRUE(device_.Open(kCommandPath, kReadWrite));
  EXPECT_FALSE(device_.Open("sim:none&vid_320f&pid_505b&col01", kReadWrite));
  EXPECT_FALSE(device_.IsOpen());
  EXPECT_EQ(device_.Capabilities().usagePage, 0);
  EXPECT_TRUE(device_.InputDataItems().empty());
  std::vector<uint8_t> buffer(64);
  std::size_t got = 7;
  EXPECT_FALSE(device_.Read(buffer, &got, 0));
  EXPECT_EQ(got, 0u);
  EXPECT_FALSE(device_.Close());
}

TEST_F(HidDeviceTest, PathsOfAnyLengthAreAccepted) {
  const std::string name(300, 'k');
  sim_.Plug(std::make_shared<ScriptedHidDevice>(name, test::VendorCommandDescriptor()));
  EXPECT_TRUE(device_.Open("sim:" + name + "&vid_320f&pid_505b&col01", kReadWrite));
  EXPECT_FALSE(device_.Open("sim:" + std::string(400, 'x') + "&vid_320f&pid_505b&col01",
                            kReadWrite));
}

TEST_F(HidDeviceTest, ReadsAndWritesReports) {
  keyboard_->SetResponder(test::EchoReply);
  ASSERT_TRUE(device_.Open(kCommandPath, kReadWrite));
  std::vector<uint8_t> request(64, 0x21);
  request[0] = 4;
  std::size_t sent = 0;
  EXPECT_TRUE(device_.Write(request, &sent, 1000));
  EXPECT_EQ(sent, 64u);
  std::vector<uint8_t> reply(64);
  EXPECT_TRUE(device_.Read(reply, nullptr, 1000));
  EXPECT_EQ(reply, request);
  std::size_t got = 9;
  EXPECT_FALSE(device_.Read(reply, &got, 0));  // nothing more: time-out
  EXPECT_EQ(got, 0u);
}

TEST_F(HidDeviceTest, CloseOrReopenEndsAWaitingReadAtOnce) {
  for (const bool reopen : {false, true}) {
    ASSERT_TRUE(device_.Open(kCommandPath, kReadWrite));
    auto waiting = std::async(std::launch::async, [this] {
      std::vector<uint8_t> reply(64);
      return device_.Read(reply, nullptr, kHidWaitForever);
    });
    ASSERT_TRUE(backend_.WaitForCalls(reopen ? 2 : 1, std::chrono::seconds(30)));
    if (reopen) {
      EXPECT_TRUE(device_.Open(kConsumerPath, kReadWrite));
    } else {
      EXPECT_TRUE(device_.Close());
    }
    EXPECT_FALSE(waiting.get()) << "reopen " << reopen;
  }
}

TEST_F(HidDeviceTest, UnpacksButtonUsagesOfTheReportsId) {
  ASSERT_TRUE(device_.Open(kConsumerPath, {true, false, true, false}));
  std::vector<HidDataItem> items(device_.InputDataItems().begin(),
                                 device_.InputDataItems().end());
  const HidCollection& description = device_.Description();

  EXPECT_TRUE(CHidDevice::UnpackReport(std::vector<uint8_t>{4, 0x01, 0x04, 0, 0},
                                       HidReportKind::Input, items, description));
  EXPECT_FALSE(items[0].isDataSet);  // another report id: untouched

  const struct {
    std::vector<uint8_t> report;
    std::vector<uint16_t> usages;
  } rows[] = {
      {{3, 0x11, 0x18, 0x00, 0x00}, {0x1811, 0}},
      {{3, 0x01, 0x04, 0x02, 0x04}, {0x0401, 0x0402}},
      {{3, 0x00, 0x00, 0x00, 0x00}, {0, 0}},  // nothing pressed after a press
  };
  for (const auto& row : rows) {
    EXPECT_TRUE(CHidDevice::UnpackReport(row.report, HidReportKind::Input, items, description));
    EXPECT_TRUE(items[0].isDataSet);
    EXPECT_EQ(items[0].usages, row.usages);
    EXPECT_EQ(items[0].status, kHidpStatusSuccess);
  }
}

TEST_F(HidDeviceTest, UnpacksSignedValuesAndStopsAtOneItCannotHave) {
  sim_.Plug(std::make_shared<ScriptedHidDevice>("pad", GamepadDescriptor(),
                                                HidAttributes{0x1111, 0x2222, 1}));
  ASSERT_TRUE(device_.Open("sim:pad&vid_1111&pid_2222&col01", {true, false, true, false}));
  std::vector<HidDataItem> items(device_.InputDataItems().begin(),
                                 device_.InputDataItems().end());
  ASSERT_EQ(items.size(), 3u);  // the buttons, X, Y
  EXPECT_EQ(items[1].usage, 0x30);
  EXPECT_EQ(items[2].usage, 0x31);
  const HidCollection& description = device_.Description();

  ASSERT_TRUE(CHidDevice::UnpackReport(std::vector<uint8_t>{1, 0x05, 0xFF, 0x10},
                                       HidReportKind::Input, items, description));
  EXPECT_EQ(items[0].usages, (std::vector<uint16_t>{1, 3, 0, 0}));
  EXPECT_EQ(items[1].value, 0xFFu);
  EXPECT_EQ(items[1].scaledValue, -1);
  EXPECT_EQ(items[2].scaledValue, 16);

  // 0x80 lies outside -127..127: the raw value is had, the logical one is not.
  ASSERT_TRUE(CHidDevice::UnpackReport(std::vector<uint8_t>{1, 0x00, 0x80, 0x10},
                                       HidReportKind::Input, items, description));
  EXPECT_EQ(items[1].value, 0x80u);
  EXPECT_EQ(items[1].status, kHidpStatusNull);

  // Y lies past the end of a short report: X keeps what it got.
  for (HidDataItem& item : items) {
    item.isDataSet = false;
  }
  EXPECT_FALSE(CHidDevice::UnpackReport(std::vector<uint8_t>{1, 0x02, 0x05},
                                        HidReportKind::Input, items, description));
  EXPECT_EQ(items[0].usages, (std::vector<uint16_t>{2, 0, 0, 0}));
  EXPECT_EQ(items[1].scaledValue, 5);
  EXPECT_TRUE(items[1].isDataSet);
  EXPECT_EQ(items[2].status, kHidpStatusUsageNotFound);
  EXPECT_FALSE(items[2].isDataSet);
}

}  // namespace
}  // namespace mvk
