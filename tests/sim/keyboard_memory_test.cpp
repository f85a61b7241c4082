#include "sim/keyboard_memory.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <set>
#include <tuple>

#include "model/default_matrix.h"

namespace mvk::sim {
namespace {

TEST(FactoryMemory, DefaultMatrixAgreesWithTheProgramsCopyAndNamesEveryKey) {
  const auto& factory = FactoryDefaultMatrix();
  const KeyMatrix& builtIn = BuiltInDefaultMatrix();
  std::set<std::tuple<uint8_t, uint8_t, uint8_t>> keys;
  int gKeys = 0;
  for (std::size_t position = 0; position < 126; ++position) {
    const uint8_t* own = factory.data() + 3 * position;
    const uint8_t* known = builtIn.data() + 3 * position;
    if (known[0] != 0) {
      EXPECT_TRUE(std::equal(own, own + 3, known)) << "position " << position;
    }
    if (own[0] == 0x02) {
      EXPECT_TRUE(keys.emplace(own[0], own[1], own[2]).second) << "position " << position;
    }
    if (own[0] == 0x06 && own[1] == 0xA2) {
      EXPECT_EQ(own[2], ++gKeys) << "G keys in order, position " << position;
    }
  }
  EXPECT_EQ(keys.size(), 106u) << "one position for each key the main window shows";
  EXPECT_EQ(gKeys, 9);
}

TEST(FactoryMemory, HoldsTheFactorySettingsOfEveryArea) {
  const KeyboardMemory memory = FactoryMemory();
  EXPECT_EQ(memory.settings[kSettingsActiveProfile], 0);
  EXPECT_EQ(memory.settings[kSettingsMacroCapacity], 64);
  const uint8_t modes[32] = {1,  2,  3,  4,  5,  6,  7,  8,  9, 10, 11,
                             12, 13, 14, 15, 16, 17, 18, 20};
  EXPECT_TRUE(std::equal(std::begin(modes), std::end(modes),
                         memory.settings.begin() + kSettingsLightingModes));
  const uint8_t lighting[35] = {1, 5, 2, 0, 0xFF, 0xFF, 0xFF, 0xFF};
  for (std::size_t profile = 0; profile < kProfiles; ++profile) {
    EXPECT_TRUE(std::equal(std::begin(lighting), std::end(lighting),
                           memory.lighting.begin() + 42 * profile));
    EXPECT_TRUE(std::equal(memory.defaultMatrix.begin(), memory.defaultMatrix.end(),
                           memory.keyMaps.begin() + 512 * profile));
  }
  ASSERT_EQ(memory.macros.size(), 64u * 128);
  const uint8_t header[16] = {0xAA, 0x55, 0x10, 0x00, 0x00, 0x00, 0x01, 0x00};
  EXPECT_TRUE(std::equal(std::begin(header), std::end(header), memory.macros.begin()));
}

class MemoryFileTest : public ::testing::Test {
 protected:
  std::filesystem::path File() const { return dir_.filePath("keyboard.mvks").toStdString(); }
  QTemporaryDir dir_;
};

TEST_F(MemoryFileTest, SavedMemoryLoadsBackEqual) {
  KeyboardMemory memory = FactoryMemory(3);
  memory.settings[kSettingsActiveProfile] = 2;
  memory.keyColours[700] = 0x12;
  memory.macros.back() = 0x34;
  ASSERT_TRUE(SaveMemory(memory, File()));
  EXPECT_EQ(LoadMemory(File()), memory);
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files).size(), 1) << "no temporary file left";
}

TEST_F(MemoryFileTest, DamagedFilesAreNotTaken) {
  ASSERT_TRUE(SaveMemory(FactoryMemory(), File()));
  QFile file(QString::fromStdString(File().string()));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray good = file.readAll();
  file.close();

  const struct {
    const char* name;
    QByteArray bytes;
  } rows[] = {
      {"empty", QByteArray()},
      {"cut short", good.left(good.size() - 1)},
      {"one bit flipped", QByteArray(good).replace(100, 1, QByteArray(1, good[100] ^ 0x10))},
      {"other magic", QByteArray(good).replace(0, 1, "X")},
      {"trailing bytes", good + QByteArray(1, 0)},
  };
  for (const auto& row : rows) {
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(row.bytes);
    file.close();
    EXPECT_EQ(LoadMemory(File()), std::nullopt) << row.name;
  }
  EXPECT_EQ(LoadMemory(dir_.filePath("missing").toStdString()), std::nullopt);
}

}  // namespace
}  // namespace mvk::sim
