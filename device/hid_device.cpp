#include "device/hid_device.h"

#include <algorithm>

namespace mvk {

// The open connection with the reads and writes now waiting on it. A waiting
// call holds its own reference, so Close or a re-open on another thread can
// drop the connection without pulling it from under the call.
struct CHidDevice::OpenConnection {
  std::shared_ptr<HidConnection> connection;
  int readers = 0;  // guarded by CHidDevice::mutex_
  int writers = 0;
};

namespace {

HidReportSet BuildReportSet(const HidCollection& collection, HidReportKind kind) {
  HidReportSet set;
  set.reportBuffer.assign(collection.ReportLength(kind), 0);
  const auto ofKind = [kind](const HidCapability& cap) { return cap.kind == kind; };
  std::copy_if(collection.buttonCaps.begin(), collection.buttonCaps.end(),
               std::back_inserter(set.buttonCaps), ofKind);
  std::copy_if(collection.valueCaps.begin(), collection.valueCaps.end(),
               std::back_inserter(set.valueCaps), ofKind);

  for (const HidCapability& cap : set.buttonCaps) {
    HidDataItem item;
    item.isButtonData = true;
    item.usagePage = cap.usagePage;
    item.reportId = cap.reportId;
    item.usageMin = cap.usageMin;
    item.usageMax = cap.usageMax;
    item.maxUsageLength = MaxUsageListLength(collection, kind, cap.usagePage);
    item.usages.assign(item.maxUsageLength, 0);
    set.dataItems.push_back(std::move(item));
  }
  for (const HidCapability& cap : set.valueCaps) {
    for (uint32_t usage = cap.usageMin; usage <= cap.usageMax; ++usage) {
      HidDataItem item;
      item.usagePage = cap.usagePage;
      item.reportId = cap.reportId;
      item.usage = static_cast<uint16_t>(usage);
      set.dataItems.push_back(std::move(item));
    }
  }
  return set;
}

void UnpackButtons(std::span<const uint8_t> report, HidReportKind kind, HidDataItem& item,
                   const HidCollection& description) {
  std::vector<uint16_t> pressed = ReportUsages(description, kind, item.usagePage, report);
  std::erase_if(pressed, [&item](uint16_t u) { return u < item.usageMin || u > item.usageMax; });
  // Keep the list as long as built; what no usage fills is 0, so the first 0
  // ends the pressed usages.
  item.usages.assign(item.maxUsageLength, 0);
  std::copy_n(pressed.begin(), std::min<std::size_t>(pressed.size(), item.maxUsageLength),
              item.usages.begin());
  item.status = kHidpStatusSuccess;
}

bool UnpackValue(std::span<const uint8_t> report, HidReportKind kind, HidDataItem& item,
                 const HidCollection& description) {
  const auto cap = std::find_if(
      description.valueCaps.begin(), description.valueCaps.end(), [&](const HidCapability& c) {
        return c.kind == kind && c.reportId == item.reportId && c.usagePage == item.usagePage &&
               item.usage >= c.usageMin && item.usage <= c.usageMax;
      });
  const auto raw = cap == description.valueCaps.end() ? std::nullopt
                                                      : ReportValue(*cap, item.usage, report);
  if (!raw) {
    item.status = kHidpStatusUsageNotFound;
    return false;
  }
  item.value = *raw;
  if (cap->logicalMin >= cap->logicalMax) {
    item.status = kHidpStatusBadLogPhyValues;
    return true;
  }
  const int64_t logical = cap->logicalMin < 0 ? SignExtend(*raw, cap->bitSize) : int64_t{*raw};
  if (logical < cap->logicalMin || logical > cap->logicalMax) {
    item.status = kHidpStatusNull;  // the field's "no value"
    return true;
  }
  item.scaledValue = static_cast<int32_t>(logical);
  item.status = kHidpStatusSuccess;
  return true;
}

}  // namespace

CHidDevice::CHidDevice(HidBackend& backend) : backend_(backend) {}

CHidDevice::~CHidDevice() { Close(); }

bool CHidDevice::EnumerateDevices() {
  auto paths = backend_.Enumerate();
  cursor_ = 0;
  if (!paths) {
    deviceList_.clear();
    return false;
  }
  deviceList_ = std::move(*paths);
  return true;
}

std::optional<std::string> CHidDevice::NextDevicePath() {
  if (cursor_ >= deviceList_.size()) {
    return std::nullopt;
  }
  return deviceList_[cursor_++];
}

void CHidDevice::FreeDeviceList() {
  deviceList_.clear();
  cursor_ = 0;
}

bool CHidDevice::Open(const std::string& path, const HidOpenOptions& options) {
  Close();
  std::shared_ptr<HidConnection> connection = backend_.Open(path, options);
  if (!connection || !BuildDescription(*connection)) {
    return false;
  }
  std::lock_guard lock(mutex_);
  devicePath_ = path;
  attributes_ = connection->Attributes();
  open_ = std::make_shared<OpenConnection>();
  open_->connection = std::move(connection);
  return true;
}

bool CHidDevice::Close() {
  std::shared_ptr<OpenConnection> closing;
  {
    std::lock_guard lock(mutex_);
    closing.swap(open_);
    if (closing) {
      // One stop per waiting call: each signal ends exactly one wait.
      for (int i = 0; i < closing->readers + closing->writers; ++i) {
        closing->connection->Stop();
      }
    }
    attributes_ = {};
    caps_ = {};
  }
  ReleaseDescription();
  return closing != nullptr;
}

bool CHidDevice::IsOpen() const {
  std::lock_guard lock(mutex_);
  return open_ != nullptr;
}

std::string CHidDevice::DevicePath() const {
  std::lock_guard lock(mutex_);
  return devicePath_;
}

bool CHidDevice::BuildDescription(const HidConnection& connection) {
  const auto collections = ParseReportDescriptor(connection.ReportDescriptor());
  const std::size_t index = connection.CollectionIndex();
  if (!collections || index >= collections->size()) {
    return false;
  }
  description_ = (*collections)[index];
  for (std::size_t kind = 0; kind < kHidReportKinds; ++kind) {
    reports_[kind] = BuildReportSet(description_, static_cast<HidReportKind>(kind));
  }
  const auto count = [this](HidReportKind kind, bool buttons) {
    const HidReportSet& set = Reports(kind);
    return static_cast<uint16_t>(buttons ? set.buttonCaps.size() : set.valueCaps.size());
  };
  HidCaps caps;
  caps.usage = description_.usage;
  caps.usagePage = description_.usagePage;
  caps.inputReportByteLength = static_cast<uint16_t>(description_.ReportLength(HidReportKind::Input));
  caps.outputReportByteLength =
      static_cast<uint16_t>(description_.ReportLength(HidReportKind::Output));
  caps.featureReportByteLength =
      static_cast<uint16_t>(description_.ReportLength(HidReportKind::Feature));
  caps.numberInputButtonCaps = count(HidReportKind::Input, true);
  caps.numberInputValueCaps = count(HidReportKind::Input, false);
  caps.numberOutputButtonCaps = count(HidReportKind::Output, true);
  caps.numberOutputValueCaps = count(HidReportKind::Output, false);
  caps.numberFeatureButtonCaps = count(HidReportKind::Feature, true);
  caps.numberFeatureValueCaps = count(HidReportKind::Feature, false);
  std::lock_guard lock(mutex_);
  caps_ = caps;
  return true;
}

void CHidDevice::ReleaseDescription() {
  description_ = {};
  for (HidReportSet& set : reports_) {
    set = {};
  }
}

std::shared_ptr<CHidDevice::OpenConnection> CHidDevice::BeginIo(bool write) {
  std::lock_guard lock(mutex_);
  if (open_) {
    ++(write ? open_->writers : open_->readers);
  }
  return open_;
}

void CHidDevice::EndIo(OpenConnection& open, bool write) {
  std::lock_guard lock(mutex_);
  --(write ? open.writers : open.readers);
}

// Reads wait in poll() (or on a condition) inside the backend, so when the
// time-out passes nothing stays queued that could later fill `buffer`.
bool CHidDevice::Read(std::span<uint8_t> buffer, std::size_t* transferred, uint32_t timeoutMs) {
  if (transferred != nullptr) {
    *transferred = 0;
  }
  const auto open = BeginIo(false);
  if (!open) {
    return false;
  }
  std::size_t got = 0;
  const HidIoStatus status = open->connection->Read(buffer, got, timeoutMs);
  EndIo(*open, false);
  if (status != HidIoStatus::Ok) {
    return false;
  }
  if (transferred != nullptr) {
    *transferred = got;
  }
  return true;
}

bool CHidDevice::Write(std::span<const uint8_t> data, std::size_t* transferred,
                       uint32_t timeoutMs) {
  if (transferred != nullptr) {
    *transferred = 0;
  }
  const auto open = BeginIo(true);
  if (!open) {
    return false;
  }
  std::size_t sent = 0;
  const HidIoStatus status = open->connection->Write(data, sent, timeoutMs);
  EndIo(*open, true);
  if (status != HidIoStatus::Ok) {
    return false;
  }
  if (transferred != nullptr) {
    *transferred = sent;
  }
  return true;
}

void CHidDevice::DiscardInput() {
  std::shared_ptr<OpenConnection> open;
  {
    std::lock_guard lock(mutex_);
    open = open_;
  }
  if (open) {
    open->connection->DiscardInput();
  }
}

bool CHidDevice::UnpackReport(std::span<const uint8_t> report, HidReportKind kind,
                              std::span<HidDataItem> items, const HidCollection& description) {
  if (report.empty()) {
    return false;
  }
  for (HidDataItem& item : items) {
    if (item.reportId != report[0]) {
      continue;
    }
    if (item.isButtonData) {
      UnpackButtons(report, kind, item, description);
    } else if (!UnpackValue(report, kind, item, description)) {
      return false;
    }
    item.isDataSet = true;
  }
  return true;
}

HidAttributes CHidDevice::Attributes() const {
  std::lock_guard lock(mutex_);
  return attributes_;
}

HidCaps CHidDevice::Capabilities() const {
  std::lock_guard lock(mutex_);
  return caps_;
}

}  // namespace mvk
