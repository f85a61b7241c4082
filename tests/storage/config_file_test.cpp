#include "storage/config_file.h"

#include <gtest/gtest.h>

#include <ostream>
#include <signal.h>
#include <sys/resource.h>

#include <QTemporaryDir>
#include <array>
#include <memory>
#include <mutex>

#include "model/little_endian.h"
#include "storage/file_bytes.h"
#include "support/scripted_file_prompts.h"

namespace mvk {
namespace {

using test::ReadFileBytes;
using test::WriteFileBytes;

constexpr std::size_t kSlotBytesOffset = 64;

std::size_t SlotOffset(int profile, int keyIndex) {
  return kSlotBytesOffset + profile * kProfileBlockSize + keyIndex * key_slot::kSize;
}

void FixChecksum(std::vector<uint8_t>& bytes) {
  bytes[file_header::kChecksum] = HeaderChecksum(std::span(bytes).first<file_header::kSize>());
}

MacroRecord MakeMacro(uint16_t id, std::u16string_view name, int events) {
  MacroRecord macro;
  macro.id = id;
  macro.cycles = 3;
  macro.reserved504 = 7;
  macro.SetName(name);
  macro.eventCount = static_cast<uint16_t>(events);
  for (int e = 0; e < events; ++e) {
    macro.events[e] = {static_cast<uint32_t>(10 * e), static_cast<KeyCode>(0x1E + e),
                       static_cast<uint16_t>(e % 2)};
  }
  return macro;
}

class ConfigFileTest : public ::testing::Test {
 protected:
  std::filesystem::path File(const char* name) const {
    return std::filesystem::path(dir_.path().toStdString()) / name;
  }

  QTemporaryDir dir_;
  test::ScriptedFilePrompts prompts_;
  std::recursive_mutex configLock_;
  std::recursive_mutex macroLock_;
  std::unique_ptr<ConfigState> config_ = std::make_unique<ConfigState>(configLock_, macroLock_);
};

TEST_F(ConfigFileTest, DefaultFileHasItsExactBytes) {
  const auto path = File("default.mvk");
  ASSERT_TRUE(CreateDefaultConfig(path));
  const auto bytes = ReadFileBytes(path);
  ASSERT_EQ(bytes.size(), 32832u);

  std::vector<uint8_t> header = {0x46, 0x44, 0x20, 0x00, 0x03, 0x00, 0x01, 0x00, 0x40, 0x80,
                                 0x00, 0x00, 0x00, 0x08, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
  header.resize(31, 0x00);
  header.push_back(0x76);
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 32), header);

  const std::vector<uint8_t> keyHeader = {
      0x4B, 0x48, 0x20, 0x00, 0x20, 0x80, 0x00, 0x00, 0x04, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x00,
      0x0F, 0x32, 0x5B, 0x50, 0x4F, 0x1C, 0x0E, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 32, bytes.begin() + 64), keyHeader);

  // G words in the G key slots of profile 0 only.
  EXPECT_EQ(le::Get16(bytes, SlotOffset(0, 0x100) + key_slot::kExtra), 0x0301);
  EXPECT_EQ(le::Get16(bytes, SlotOffset(0, 0x111) + key_slot::kExtra), 0x1309);
  EXPECT_EQ(le::Get16(bytes, SlotOffset(1, 0x100) + key_slot::kExtra), 0);
  ASSERT_EQ(ValidateConfigFile(path, prompts_), kConfigFileValid);
  EXPECT_TRUE(prompts_.messages.empty());
}

struct HeaderCase {
  const char* name;
  std::size_t offset;
  uint8_t value;
  bool fixChecksum;
  int expected;
  friend void PrintTo(const HeaderCase& c, std::ostream* os) { *os << c.name; }
};

class HeaderValidationTest : public ConfigFileTest,
                             public ::testing::WithParamInterface<HeaderCase> {};

TEST_P(HeaderValidationTest, ChecksHeaderAgainstItself) {
  const HeaderCase& c = GetParam();
  const auto path = File("case.mvk");
  ASSERT_TRUE(CreateDefaultConfig(path));
  auto bytes = ReadFileBytes(path);
  bytes[c.offset] = c.value;
  if (c.fixChecksum) {
    FixChecksum(bytes);
  }
  WriteFileBytes(path, bytes);

  EXPECT_EQ(ValidateConfigFile(path, prompts_), c.expected);
  if (c.expected == kConfigFileValid) {
    EXPECT_TRUE(prompts_.messages.empty());
  } else {
    ASSERT_EQ(prompts_.messages, std::vector<std::string>{"PROFILE_FORMAT_ERROR"});
    EXPECT_EQ(prompts_.arguments[0], path.u16string());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Fields, HeaderValidationTest,
    ::testing::Values(HeaderCase{"Magic", 0, 0x47, true, kConfigFileInvalid},
                      HeaderCase{"HeaderSize", 2, 0x21, true, kConfigFileInvalid},
                      HeaderCase{"ProfileCount", 4, 4, true, kConfigFileInvalid},
                      HeaderCase{"Version", 6, 2, true, kConfigFileInvalid},
                      HeaderCase{"TotalSize", 8, 0x41, true, kConfigFileInvalid},
                      HeaderCase{"SlotCount", 13, 0x09, true, kConfigFileInvalid},
                      HeaderCase{"MacroCountAgainstTotal", 14, 1, true, kConfigFileInvalid},
                      HeaderCase{"StringBytesAgainstTotal", 16, 2, true, kConfigFileInvalid},
                      HeaderCase{"FlagOne", 30, 1, true, kConfigFileValid},
                      HeaderCase{"FlagTwo", 30, 2, true, kConfigFileInvalid},
                      HeaderCase{"ReservedWithChecksum", 20, 5, true, kConfigFileValid},
                      HeaderCase{"ReservedWithoutChecksum", 20, 5, false, kConfigFileInvalid},
                      HeaderCase{"Checksum", 31, 0x77, false, kConfigFileInvalid}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConfigFileTest, AnyHeaderByteChangedWithoutItsChecksumIsRefused) {
  const auto path = File("default.mvk");
  ASSERT_TRUE(CreateDefaultConfig(path));
  const auto good = ReadFileBytes(path);
  for (std::size_t offset = 0; offset < 30; ++offset) {
    auto bytes = good;
    bytes[offset] ^= 0x01;
    WriteFileBytes(path, bytes);
    EXPECT_EQ(ValidateConfigFile(path, prompts_), kConfigFileInvalid) << "byte " << offset;
  }
  EXPECT_EQ(prompts_.messages.size(), 30u);
}

TEST_F(ConfigFileTest, HeaderAnnouncingTooManyMacrosIsRefused) {
  const auto path = File("many.mvk");
  ASSERT_TRUE(CreateDefaultConfig(path));
  auto bytes = ReadFileBytes(path);
  le::Put16(bytes, file_header::kMacroCount, 101);
  le::Put32(bytes, file_header::kTotalSize, 32832 + 101 * 32512);
  FixChecksum(bytes);
  WriteFileBytes(path, bytes);
  EXPECT_EQ(ValidateConfigFile(path, prompts_), kConfigFileInvalid);
  EXPECT_EQ(prompts_.messages, std::vector<std::string>{"PROFILE_FORMAT_ERROR"});
}

TEST_F(ConfigFileTest, MissingOrShortFileIsRefusedWithoutFormatMessage) {
  const auto path = File("short.mvk");
  EXPECT_EQ(ValidateConfigFile(path, prompts_), kConfigFileInvalid);
  ASSERT_TRUE(CreateDefaultConfig(path));
  auto bytes = ReadFileBytes(path);
  bytes.pop_back();
  WriteFileBytes(path, bytes);
  EXPECT_EQ(ValidateConfigFile(path, prompts_), kConfigFileInvalid);
  EXPECT_EQ(ValidateConfigFile(File(""), prompts_), kConfigFileInvalid) << "a folder";
  EXPECT_TRUE(prompts_.messages.empty());
  ConfigStore store;
  EXPECT_FALSE(LoadConfigFile(path, store));
}

TEST_F(ConfigFileTest, SaveAndLoadKeepMacrosAndHostStrings) {
  ConfigStore& working = config_->working;
  working.macros = {MakeMacro(4, u"First", 3), MakeMacro(9, u"Second", 4000)};
  working.image.profiles[0][0x1E] = {kAssignLaunch, 0, 0, 1, 0};
  working.image.profiles[2][0x30] = {kAssignText, 0, 0, 0, 0};
  working.image.profiles[1][0x10] = {kAssignMacro, 5, 9, 0, 0};
  working.hostStrings.Set(HostStringTable::EntryOf(0, 0x1E), u"/usr/bin/true");
  working.hostStrings.Set(HostStringTable::EntryOf(2, 0x30), u"Grüße");
  const auto path = File("round.mvk");
  ASSERT_TRUE(SaveConfigFile(*config_, path));

  const uint32_t strings = (13 + 1) * 2 + (5 + 1) * 2;
  EXPECT_EQ(ReadFileBytes(path).size(), 32832u + 2 * 32512 + strings);
  ASSERT_EQ(ValidateConfigFile(path, prompts_), kConfigFileValid);
  auto loaded = std::make_unique<ConfigStore>();
  ASSERT_TRUE(LoadConfigFile(path, *loaded));
  EXPECT_EQ(loaded->image, working.image);
  EXPECT_EQ(loaded->image.header.macroCount, 2);
  EXPECT_EQ(loaded->image.header.stringBytes, strings);
  EXPECT_EQ(loaded->image.profiles[2][0x30].value, 28u) << "second text after the first";
  EXPECT_EQ(loaded->macros, working.macros);
  EXPECT_EQ(loaded->hostStrings.Text(HostStringTable::EntryOf(0, 0x1E)), u"/usr/bin/true");
  EXPECT_EQ(loaded->hostStrings.Text(HostStringTable::EntryOf(2, 0x30)), u"Grüße");
  EXPECT_EQ(loaded->hostStrings.Total(), strings);
}

TEST_F(ConfigFileTest, StringAreaHoldsOnlyTextsOfLaunchAndTextSlots) {
  ConfigStore& working = config_->working;
  working.image.profiles[0][5] = {kAssignText, 0, 0x1234, 0, 0};
  working.image.profiles[0][6] = {kAssignKey, 0, 0x1234, 0, 0};
  working.hostStrings.Set(5, u"ABCDEFGHI");       // 20 bytes
  working.hostStrings.Set(6, u"abcdefghijklmn");  // 30 bytes
  const auto path = File("strings.mvk");
  ASSERT_TRUE(SaveConfigFile(*config_, path));

  const auto bytes = ReadFileBytes(path);
  ASSERT_EQ(bytes.size(), 32832u + 50);
  EXPECT_EQ(le::Get32(bytes, file_header::kStringBytes), 50u);
  std::vector<uint8_t> area(50, 0);
  for (int i = 0; i < 9; ++i) {
    area[2 * i] = static_cast<uint8_t>('A' + i);
  }
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 32832, bytes.end()), area);
  EXPECT_EQ(le::Get32(bytes, SlotOffset(0, 5) + key_slot::kValue), 0u);
  EXPECT_EQ(le::Get32(bytes, SlotOffset(0, 6) + key_slot::kValue), 0x1234u);
}

// A file with one text slot pointing into a string area of its own making.
std::vector<uint8_t> FileWithStringArea(uint32_t offset, std::vector<uint8_t> area) {
  ConfigStore store;
  store.image.profiles[1][7] = {kAssignLaunch, 0, 0, 0, 0};
  auto bytes = *EncodeConfigFile(store);
  le::Put32(bytes, SlotOffset(1, 7) + key_slot::kValue, offset);
  le::Put32(bytes, file_header::kStringBytes, static_cast<uint32_t>(area.size()));
  le::Put32(bytes, file_header::kTotalSize, static_cast<uint32_t>(bytes.size() + area.size()));
  FixChecksum(bytes);
  bytes.insert(bytes.end(), area.begin(), area.end());
  return bytes;
}

struct StringAreaCase {
  const char* name;
  uint32_t offset;
  std::vector<uint8_t> area;
  std::u16string text;
  friend void PrintTo(const StringAreaCase& c, std::ostream* os) { *os << c.name; }
};

class StringAreaTest : public ConfigFileTest,
                       public ::testing::WithParamInterface<StringAreaCase> {};

TEST_P(StringAreaTest, TextsStayInsideTheArea) {
  const StringAreaCase& c = GetParam();
  ConfigStore store;
  ASSERT_TRUE(DecodeConfigFile(FileWithStringArea(c.offset, c.area), store));
  const std::size_t entry = HostStringTable::EntryOf(1, 7);
  EXPECT_EQ(store.hostStrings.Text(entry), c.text);
  EXPECT_EQ(store.hostStrings.Size(entry), (c.text.size() + 1) * 2);
}

INSTANTIATE_TEST_SUITE_P(
    Offsets, StringAreaTest,
    ::testing::Values(
        StringAreaCase{"Terminated", 2, {'x', 0, 'a', 0, 'b', 0, 0, 0}, u"ab"},
        StringAreaCase{"OddOffsetRoundsDown", 3, {'x', 0, 'a', 0, 'b', 0, 0, 0}, u"ab"},
        StringAreaCase{"NoTerminatorEndsWithArea", 0, {'a', 0, 'b', 0, 'c'}, u"ab"},
        StringAreaCase{"OffsetPastArea", 8, {'a', 0, 0, 0}, u""},
        StringAreaCase{"HugeOffset", 0xFFFFFFFF, {'a', 0, 0, 0}, u""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConfigFileTest, FileShorterThanDeclaredIsRefusedAndStoreKept) {
  config_->working.macros = {MakeMacro(1, u"M", 2)};
  const auto path = File("cut.mvk");
  ASSERT_TRUE(SaveConfigFile(*config_, path));
  auto bytes = ReadFileBytes(path);
  bytes.resize(bytes.size() - 100);
  WriteFileBytes(path, bytes);
  ASSERT_EQ(ValidateConfigFile(path, prompts_), kConfigFileValid) << "the header alone is sound";

  ConfigStore store;
  store.macros = {MakeMacro(3, u"Kept", 1)};
  const ConfigStore before = store;
  EXPECT_FALSE(LoadConfigFile(path, store));
  EXPECT_EQ(store.macros, before.macros);
  EXPECT_EQ(store.image, before.image);
}

TEST_F(ConfigFileTest, RecordWithTooManyEventsIsRefused) {
  config_->working.macros = {MakeMacro(1, u"M", 2)};
  const auto path = File("events.mvk");
  ASSERT_TRUE(SaveConfigFile(*config_, path));
  auto bytes = ReadFileBytes(path);
  le::Put16(bytes, kConfigImageSize + macro_record::kEventCount, 4001);
  ConfigStore store;
  EXPECT_FALSE(DecodeConfigFile(bytes, store));
  EXPECT_TRUE(store.macros.empty());
}

TEST_F(ConfigFileTest, ReadOnlyFileValidatesAndLoads) {
  const auto path = File("readonly.mvk");
  config_->working.macros = {MakeMacro(2, u"RO", 1)};
  ASSERT_TRUE(SaveConfigFile(*config_, path));
  std::filesystem::permissions(path, std::filesystem::perms::owner_read);
  EXPECT_EQ(ValidateConfigFile(path, prompts_), kConfigFileValid);
  ConfigStore store;
  ASSERT_TRUE(LoadConfigFile(path, store));
  EXPECT_EQ(store.macros.size(), 1u);
}

// Lets writes past `limit` bytes fail with EFBIG instead of a signal.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t limit) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    oldHandler_ = signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved_;
    limited.rlim_cur = limit;
    setrlimit(RLIMIT_FSIZE, &limited);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    signal(SIGXFSZ, oldHandler_);
  }

 private:
  rlimit saved_{};
  sighandler_t oldHandler_{};
};

TEST_F(ConfigFileTest, SaveFailingPartWayLeavesOldFileIntact) {
  const auto path = File("old.mvk");
  ASSERT_TRUE(CreateDefaultConfig(path));
  const auto old = ReadFileBytes(path);
  config_->working.macros = {MakeMacro(1, u"Big", 4000)};
  {
    FileSizeLimit limit(40000);
    EXPECT_FALSE(SaveConfigFile(*config_, path));
  }
  EXPECT_EQ(ReadFileBytes(path), old);
  std::size_t files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(path.parent_path())) {
    ++files;
  }
  EXPECT_EQ(files, 1u) << "nothing left beside the file";
  EXPECT_FALSE(SaveConfigFile(*config_, File("missing/folder.mvk")));
}

TEST_F(ConfigFileTest, WorkingFileIsSavedOnlyOnceItExists) {
  const ConfigFolder folder{File("config"), File("no-template")};
  EXPECT_FALSE(SaveWorkingFile(*config_, folder));
  EXPECT_FALSE(std::filesystem::exists(WorkingFilePath(folder)));
  ASSERT_TRUE(CreateDefaultConfig(WorkingFilePath(folder)));
  config_->working.macros = {MakeMacro(1, u"W", 1)};
  ASSERT_TRUE(SaveWorkingFile(*config_, folder));
  EXPECT_EQ(ReadFileBytes(WorkingFilePath(folder)).size(), 32832u + 32512);
}

}  // namespace
}  // namespace mvk
