#include "fuzz/fuzz_entries.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <system_error>

#include "device/hid_device.h"
#include "model/lighting.h"
#include "model/macro.h"
#include "model/settings_block.h"
#include "platform/hid_descriptor.h"
#include "platform/ini.h"
#include "platform/registry.h"
#include "storage/config_file.h"

namespace mvk::fuzz {
namespace {

// Shared memory when there is some: the writers flush their files to disk,
// which on a disk would make each input take many milliseconds.
std::filesystem::path ScratchFolder() {
  std::error_code error;
  return std::filesystem::is_directory("/dev/shm", error)
             ? std::filesystem::path("/dev/shm")
             : std::filesystem::temp_directory_path();
}

// Parsers that read files get the input through a file of their own; one
// per process, removed when the process ends.
class ScratchFile {
 public:
  explicit ScratchFile(std::string_view name)
      : path_(ScratchFolder() /
              ("morvakin-fuzz-" + std::to_string(::getpid()) + "-" + std::string(name))) {}
  ~ScratchFile() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
  }
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;

  const std::filesystem::path& Write(std::span<const uint8_t> data) const {
    std::ofstream out(path_, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    return path_;
  }

 private:
  std::filesystem::path path_;
};

class SilentFilePrompts final : public FilePrompts {
 public:
  std::optional<std::filesystem::path> AskOpenFile(const FileDialogOptions&) override {
    return std::nullopt;
  }
  std::optional<std::filesystem::path> AskSaveFile(const FileDialogOptions&) override {
    return std::nullopt;
  }
  void ShowMessage(std::string_view, std::u16string_view) override {}
};

// A loaded file must save again into a file that loads and validates.
bool ConfigFile(std::span<const uint8_t> data) {
  static const ScratchFile file("config.cfg");
  SilentFilePrompts prompts;
  const auto& path = file.Write(data);
  ValidateConfigFile(path, prompts);
  auto store = std::make_unique<ConfigStore>();
  if (!LoadConfigFile(path, *store)) {
    return true;
  }
  const auto encoded = EncodeConfigFile(*store);
  if (!encoded) {
    return false;
  }
  auto again = std::make_unique<ConfigStore>();
  return DecodeConfigFile(*encoded, *again) &&
         ValidateConfigFile(file.Write(*encoded), prompts) == kConfigFileValid;
}

bool MacroArea(std::span<const uint8_t> data) {
  MacroList records;
  const std::size_t count = DecodeMacroArea(data, u"Macro", records);
  if (count != records.size() || count > kMaxMacros) {
    return false;
  }
  return std::ranges::all_of(records, [](const MacroRecord& record) {
    return record.eventCount <= kMaxMacroEvents;
  });
}

// A node that shows the fuzzed descriptor; nothing is ever read or written.
class DescriptorConnection final : public HidConnection {
 public:
  DescriptorConnection(std::vector<uint8_t> descriptor, std::size_t index)
      : descriptor_(std::move(descriptor)), index_(index) {}
  HidAttributes Attributes() const override { return {0x320F, 0x505B, 0x0100}; }
  std::vector<uint8_t> ReportDescriptor() const override { return descriptor_; }
  std::size_t CollectionIndex() const override { return index_; }
  HidIoStatus Read(std::span<uint8_t>, std::size_t& transferred, uint32_t) override {
    transferred = 0;
    return HidIoStatus::Failed;
  }
  HidIoStatus Write(std::span<const uint8_t>, std::size_t& transferred, uint32_t) override {
    transferred = 0;
    return HidIoStatus::Failed;
  }
  void Stop() override {}
  void DiscardInput() override {}

 private:
  std::vector<uint8_t> descriptor_;
  std::size_t index_;
};

class DescriptorBackend final : public HidBackend {
 public:
  explicit DescriptorBackend(std::vector<uint8_t> descriptor) : descriptor_(std::move(descriptor)) {}
  std::optional<std::vector<std::string>> Enumerate() override { return std::nullopt; }
  std::unique_ptr<HidConnection> Open(const std::string& path, const HidOpenOptions&) override {
    return std::make_unique<DescriptorConnection>(descriptor_, std::stoul(path));
  }

 private:
  std::vector<uint8_t> descriptor_;
};

// Input: the descriptor's length (two bytes, little-endian), the descriptor,
// then one input report that every collection unpacks.
bool HidReport(std::span<const uint8_t> data) {
  if (data.size() < 2) {
    return true;
  }
  const std::size_t length = std::min<std::size_t>(data[0] | (data[1] << 8), data.size() - 2);
  const std::vector<uint8_t> descriptor(data.begin() + 2, data.begin() + 2 + length);
  const auto report = data.subspan(2 + length);
  const auto collections = ParseReportDescriptor(descriptor);
  if (!collections) {
    return true;
  }
  DescriptorBackend backend(descriptor);
  // Each open parses the descriptor again: a few collections show every
  // path through the device object without making large inputs slow.
  const std::size_t opened = std::min<std::size_t>(collections->size(), 4);
  for (std::size_t index = 0; index < opened; ++index) {
    CHidDevice device(backend);
    if (!device.Open(std::to_string(index), {.read = true, .write = true})) {
      return false;
    }
    const HidCollection& description = device.Description();
    for (HidReportKind kind : {HidReportKind::Input, HidReportKind::Feature}) {
      ReportUsages(description, kind, description.usagePage, report);
      MaxUsageListLength(description, kind, description.usagePage);
    }
    CHidDevice::UnpackReport(report, HidReportKind::Input, device.InputDataItems(), description);
  }
  return true;
}

// A key written into any file reads back as written.
bool IniFile(std::span<const uint8_t> data) {
  static const ScratchFile file("file.ini");
  const auto& path = file.Write(data);
  for (const std::u16string& key : ReadIniKeys(path, u"TEXT")) {
    ReadIniString(path, u"TEXT", key, u"");
  }
  ReadIniString(path, u"MAIN", u"CONTROL_OK", u"0,0,0,0");
  ReadIniString(path, u"", u"", u"");
  if (!WriteIniString(path, u"TEXT", u"FUZZ_KEY", u"written")) {
    return true;  // the writer may refuse a file it cannot read
  }
  return ReadIniString(path, u"text", u"fuzz_key", u"") == u"written";
}

// Values set in any store read back as set.
bool RegistryFile(std::span<const uint8_t> data) {
  static const ScratchFile file("registry");
  RegistryStore store(file.Write(data));
  store.GetNumber("", "Language");
  store.GetText("PROFILES", "Current");
  if (store.SetNumber("", "FuzzNumber", 0x12345678) &&
      store.GetNumber("", "fuzznumber") != 0x12345678u) {
    return false;
  }
  return !store.SetText("PROFILES", "FuzzText", u"text") ||
         store.GetText("profiles", "FUZZTEXT") == u"text";
}

// Every byte of the block is kept, so that it is written back as read.
bool SettingsBlockBytes(std::span<const uint8_t> data) {
  if (data.size() < kSettingsBlockSize) {
    return true;
  }
  const auto bytes = data.first<kSettingsBlockSize>();
  const SettingsBlock block = DecodeSettingsBlock(bytes);
  std::array<uint8_t, kSettingsBlockSize> encoded{};
  EncodeSettingsBlock(block, encoded);
  LightingModeList(block);
  return std::ranges::equal(encoded, bytes) &&
         MacroCapacityBytes(block) == block.macroCapacity * kMacroCapacityUnit;
}

bool LightingRecordBytes(std::span<const uint8_t> data) {
  if (data.size() < kLightingRecordSize) {
    return true;
  }
  LightingRecord record{};
  std::ranges::copy(data.first<kLightingRecordSize>(), record.begin());
  LightingState state;
  DecodeLightingRecord(record, state);
  return state.reportRate <= 3 && state.effectOption <= 3;
}

constexpr std::array kTargets = {
    FuzzTarget{"config_file", ConfigFile},
    FuzzTarget{"macro_area", MacroArea},
    FuzzTarget{"hid_report", HidReport},
    FuzzTarget{"ini_file", IniFile},
    FuzzTarget{"registry_file", RegistryFile},
    FuzzTarget{"settings_block", SettingsBlockBytes},
    FuzzTarget{"lighting_record", LightingRecordBytes},
};

}  // namespace

std::span<const FuzzTarget> FuzzTargets() { return kTargets; }

const FuzzTarget* FindFuzzTarget(std::string_view name) {
  const auto found = std::ranges::find(kTargets, name, &FuzzTarget::name);
  return found == kTargets.end() ? nullptr : &*found;
}

}  // namespace mvk::fuzz
