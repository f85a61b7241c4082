#include "sim/keyboard_memory.h"

#include <QByteArray>
#include <QFile>
#include <QSaveFile>
#include <algorithm>

namespace mvk::sim {
namespace {

// The lighting record every profile starts with: effect 1, full
// brightness, middle speed, multi-colour white.
constexpr uint8_t kFactoryLighting[] = {1, 5, 2, 0, 0xFF, 0xFF, 0xFF, 0xFF};

// Codes 1 to 18 and 20 (the per-key colour effect).
constexpr uint8_t kOfferedLightingModes[] = {1,  2,  3,  4,  5,  6,  7,  8,  9, 10,
                                             11, 12, 13, 14, 15, 16, 17, 18, 20};

// An empty macro area: magic AA 55, total size 16, no macros, names flag 1.
constexpr uint8_t kEmptyMacroHeader[kMacroHeaderSize] = {0xAA, 0x55, 0x10, 0x00, 0x00, 0x00,
                                                         0x01, 0x00};

// Memory file: magic, version, the areas in a fixed order, the macro area's
// length, its bytes, and a CRC-16 of everything before it. Little-endian.
constexpr char kFileMagic[4] = {'M', 'V', 'K', 'S'};
constexpr uint16_t kFileVersion = 1;

void AppendU16(QByteArray& out, uint16_t value) {
  out.append(static_cast<char>(value & 0xFF));
  out.append(static_cast<char>(value >> 8));
}

uint16_t ReadU16(const QByteArray& in, qsizetype at) {
  return static_cast<uint16_t>(static_cast<uint8_t>(in[at]) |
                               static_cast<uint8_t>(in[at + 1]) << 8);
}

template <std::size_t N>
void AppendArea(QByteArray& out, const std::array<uint8_t, N>& area) {
  out.append(reinterpret_cast<const char*>(area.data()), static_cast<qsizetype>(N));
}

template <std::size_t N>
qsizetype TakeArea(const QByteArray& in, qsizetype at, std::array<uint8_t, N>& area) {
  std::copy_n(in.constData() + at, N, reinterpret_cast<char*>(area.data()));
  return at + static_cast<qsizetype>(N);
}

constexpr qsizetype kFixedPartSize = sizeof(kFileMagic) + 2 + kSettingsSize +
                                     kLightingAreaSize + 2 * kBankedAreaSize + 2;

}  // namespace

KeyboardMemory FactoryMemory(uint8_t macroCapacity) {
  KeyboardMemory memory;
  memory.settings[kSettingsMacroCapacity] = macroCapacity;
  std::ranges::copy(kOfferedLightingModes, memory.settings.begin() + kSettingsLightingModes);
  for (std::size_t profile = 0; profile < kProfiles; ++profile) {
    std::ranges::copy(kFactoryLighting, memory.lighting.begin() + profile * kLightingRecordSize);
    const auto& matrix = FactoryDefaultMatrix();
    std::ranges::copy(matrix, memory.keyMaps.begin() + profile * kBankSize);
    std::fill_n(memory.keyColours.begin() + profile * kBankSize, kLedCount * 3, 0xFF);
  }
  memory.defaultMatrix = FactoryDefaultMatrix();
  memory.macros.assign(std::size_t{macroCapacity} * kMacroUnit, 0);
  std::copy_n(kEmptyMacroHeader, std::min(kMacroHeaderSize, memory.macros.size()),
              memory.macros.begin());
  return memory;
}

bool SaveMemory(const KeyboardMemory& memory, const std::filesystem::path& file) {
  QByteArray bytes;
  bytes.append(kFileMagic, sizeof(kFileMagic));
  AppendU16(bytes, kFileVersion);
  AppendArea(bytes, memory.settings);
  AppendArea(bytes, memory.lighting);
  AppendArea(bytes, memory.keyMaps);
  AppendArea(bytes, memory.keyColours);
  AppendU16(bytes, static_cast<uint16_t>(memory.macros.size()));
  bytes.append(reinterpret_cast<const char*>(memory.macros.data()),
               static_cast<qsizetype>(memory.macros.size()));
  AppendU16(bytes, qChecksum(bytes));

  // QSaveFile writes a new file and renames it over the old one on commit,
  // so a run that stops half-way leaves the previous state intact.
  QSaveFile out(QString::fromStdString(file.string()));
  return out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size() && out.commit();
}

std::optional<KeyboardMemory> LoadMemory(const std::filesystem::path& file) {
  QFile in(QString::fromStdString(file.string()));
  if (!in.open(QIODevice::ReadOnly)) {
    return std::nullopt;
  }
  // Anything larger than the largest valid file is not ours.
  constexpr qsizetype kLargestFile = kFixedPartSize + 255 * kMacroUnit + 2;
  const QByteArray bytes = in.read(kLargestFile + 1);
  if (bytes.size() < kFixedPartSize + 2 || bytes.size() > kLargestFile ||
      !bytes.startsWith(QByteArrayView(kFileMagic, sizeof(kFileMagic))) ||
      ReadU16(bytes, sizeof(kFileMagic)) != kFileVersion) {
    return std::nullopt;
  }
  const qsizetype crcAt = bytes.size() - 2;
  if (qChecksum(QByteArrayView(bytes.constData(), crcAt)) != ReadU16(bytes, crcAt)) {
    return std::nullopt;
  }
  KeyboardMemory memory;
  qsizetype at = sizeof(kFileMagic) + 2;
  at = TakeArea(bytes, at, memory.settings);
  at = TakeArea(bytes, at, memory.lighting);
  at = TakeArea(bytes, at, memory.keyMaps);
  at = TakeArea(bytes, at, memory.keyColours);
  const std::size_t macroSize = ReadU16(bytes, at);
  at += 2;
  if (macroSize != memory.settings[kSettingsMacroCapacity] * kMacroUnit ||
      at + static_cast<qsizetype>(macroSize) != crcAt ||
      memory.settings[kSettingsActiveProfile] >= kProfiles) {
    return std::nullopt;
  }
  memory.macros.assign(bytes.constData() + at, bytes.constData() + crcAt);
  memory.defaultMatrix = FactoryDefaultMatrix();
  return memory;
}

}  // namespace mvk::sim
