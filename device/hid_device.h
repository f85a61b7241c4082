// The program's HID device object: lists HID collections, opens one by path,
// describes its reports, reads and writes with a time-out that another
// thread can cut short, and unpacks input reports into usages and values.
// It is also the packet channel through which the keyboard's commands go.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/hid.h"
#include "platform/hid_descriptor.h"
#include "protocol/keyboard_link.h"

namespace mvk {

// Parser status words as the Windows HID parser gives them; data items carry
// the last one.
inline constexpr uint32_t kHidpStatusSuccess = 0x00110000;
inline constexpr uint32_t kHidpStatusNull = 0x80110001;
inline constexpr uint32_t kHidpStatusUsageNotFound = 0xC0110004;
inline constexpr uint32_t kHidpStatusBadLogPhyValues = 0xC0110006;

// The top-level capabilities of an open collection.
struct HidCaps {
  uint16_t usage = 0;
  uint16_t usagePage = 0;
  // Bytes, report id included; 0 when the collection has no report of a kind.
  uint16_t inputReportByteLength = 0;
  uint16_t outputReportByteLength = 0;
  uint16_t featureReportByteLength = 0;
  uint16_t numberInputButtonCaps = 0;
  uint16_t numberInputValueCaps = 0;
  uint16_t numberOutputButtonCaps = 0;
  uint16_t numberOutputValueCaps = 0;
  uint16_t numberFeatureButtonCaps = 0;
  uint16_t numberFeatureValueCaps = 0;
};

// One button capability, or one usage of a value capability, with what the
// last unpacked report held for it.
struct HidDataItem {
  bool isButtonData = false;
  uint16_t usagePage = 0;
  uint32_t status = kHidpStatusSuccess;
  uint32_t reportId = 0;
  bool isDataSet = false;

  // Button items: the usage range, how many usages can be pressed at once,
  // and the pressed ones in report order, ended by a 0 when fewer.
  uint32_t usageMin = 0;
  uint32_t usageMax = 0;
  uint32_t maxUsageLength = 0;
  std::vector<uint16_t> usages;

  // Value items: the usage, its raw value and its value read as the field's
  // signed or unsigned logical value.
  uint16_t usage = 0;
  uint32_t value = 0;
  int32_t scaledValue = 0;
};

// What Open builds for each kind of report.
struct HidReportSet {
  std::vector<uint8_t> reportBuffer;  // zeroed, of the kind's report length
  std::vector<HidCapability> buttonCaps;
  std::vector<HidCapability> valueCaps;
  std::vector<HidDataItem> dataItems;
};

class CHidDevice final : public PacketChannel {
 public:
  explicit CHidDevice(HidBackend& backend);
  ~CHidDevice() override;
  CHidDevice(const CHidDevice&) = delete;
  CHidDevice& operator=(const CHidDevice&) = delete;

  // The device list belongs to the thread that walks it.
  bool EnumerateDevices();
  std::optional<std::string> NextDevicePath();
  void FreeDeviceList();

  // Opens (or re-opens) a collection. A read or write waiting on the old one
  // ends at once. Paths have no length limit here.
  bool Open(const std::string& path, const HidOpenOptions& options);
  // False when nothing was open.
  bool Close();
  bool IsOpen() const;
  std::string DevicePath() const;

  // Any thread; a transferred count of nullptr is allowed. False on failure,
  // time-out, or when Close or Open cut the wait short.
  bool Read(std::span<uint8_t> buffer, std::size_t* transferred, uint32_t timeoutMs) override;
  bool Write(std::span<const uint8_t> data, std::size_t* transferred,
             uint32_t timeoutMs) override;
  void DiscardInput() override;

  // Unpacks a report of the kind into the items of its report id; items of
  // other ids are left as they were. False when a value cannot be had; the
  // items before it keep what was unpacked.
  static bool UnpackReport(std::span<const uint8_t> report, HidReportKind kind,
                           std::span<HidDataItem> items, const HidCollection& description);

  HidAttributes Attributes() const;
  HidCaps Capabilities() const;
  // The parsed description of the open collection. It and the report sets
  // below are rebuilt by Open: use them on the thread that opens.
  const HidCollection& Description() const { return description_; }
  const HidReportSet& Reports(HidReportKind kind) const {
    return reports_[static_cast<std::size_t>(kind)];
  }
  std::span<uint8_t> InputReportBuffer() { return InputReports().reportBuffer; }
  std::span<HidDataItem> InputDataItems() { return InputReports().dataItems; }

 private:
  struct OpenConnection;

  HidReportSet& InputReports() { return reports_[static_cast<std::size_t>(HidReportKind::Input)]; }
  bool BuildDescription(const HidConnection& connection);
  void ReleaseDescription();
  std::shared_ptr<OpenConnection> BeginIo(bool write);
  void EndIo(OpenConnection& open, bool write);

  HidBackend& backend_;

  std::vector<std::string> deviceList_;
  std::size_t cursor_ = 0;

  mutable std::mutex mutex_;  // guards open_ and the fields below it
  std::shared_ptr<OpenConnection> open_;
  std::string devicePath_;
  HidAttributes attributes_;
  HidCaps caps_;

  HidCollection description_;
  HidReportSet reports_[kHidReportKinds];
};

}  // namespace mvk
