#include "ui/assign/macro_editing.h"

#include <QString>

#include <algorithm>
#include <array>

namespace mvk {
namespace {

// Scan codes that the window system reports only as releases: Sys Req, two
// language keys and Print Screen.
constexpr std::array<KeyCode, 4> kReleaseOnlyKeys = {0x054, 0x071, 0x072, 0x137};

QString ToQString(std::u16string_view text) {
  return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

}  // namespace

std::optional<std::size_t> InsertActionRow(std::vector<MacroEvent>& rows,
                                           std::optional<std::size_t> selected,
                                           MacroEvent event, bool afterSelection, bool loading) {
  if (rows.size() >= kMaxMacroEvents) return std::nullopt;
  if (event.action > kMacroRelease) event.action = kMacroPress;
  std::size_t position = rows.size();
  if (afterSelection && selected && *selected < rows.size()) position = *selected + 1;
  if (!loading) {
    const uint32_t waitBefore = event.delay;
    if (position == 0) {
      event.delay = 0;
    } else {
      event.delay = rows[position - 1].delay;
      rows[position - 1].delay = waitBefore;
    }
  }
  rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(position), event);
  return position;
}

std::size_t MoveActionRow(std::vector<MacroEvent>& rows, std::size_t from, std::size_t to) {
  if (from >= rows.size()) return from;
  to = std::min(to, rows.size() - 1);
  const MacroEvent moved = rows[from];
  rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(from));
  rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(to), moved);
  return to;
}

int ParseLoopCount(std::u16string_view text) {
  bool ok = false;
  const qlonglong value = ToQString(text).trimmed().toLongLong(&ok, 10);
  if (!ok) return 0;
  return static_cast<int>(std::clamp<qlonglong>(value, -1, kMaxLoopCount + 1));
}

std::optional<int> CorrectedLoopCount(int value) {
  if (value < kMinLoopCount) return kMinLoopCount;
  if (value > kMaxLoopCount) return kMaxLoopCount;
  return std::nullopt;
}

TypedDelay CutTypedDelay(std::u16string_view digits) {
  bool ok = false;
  const qulonglong value = ToQString(digits).toULongLong(&ok, 10);
  TypedDelay result;
  if (!ok && !digits.empty()) {
    result.overLimit = true;
    result.delayMs = kMaxTypedDelayMs;
    return result;
  }
  result.overLimit = value > kMaxTypedDelayMs;
  const auto limited = static_cast<uint32_t>(std::min<qulonglong>(value, kMaxTypedDelayMs));
  result.delayMs = limited - limited % kDelayStepMs;
  return result;
}

std::u16string NewMacroName(std::u16string_view prefix, int counter) {
  return (ToQString(prefix) + QString::number(counter)).toStdU16String();
}

int NextNameCounter(std::u16string_view prefix, int counter,
                    const std::vector<std::u16string>& existingNames) {
  const auto taken = [&](int candidate) {
    const QString name = ToQString(NewMacroName(prefix, candidate));
    return std::any_of(existingNames.begin(), existingNames.end(), [&](const std::u16string& existing) {
      return ToQString(existing).startsWith(name, Qt::CaseInsensitive);
    });
  };
  int candidate = counter + 1;
  while (taken(candidate)) ++candidate;
  return candidate;
}

uint32_t RecordedDelay(uint32_t recordDelaysFlag, uint32_t measuredMs) {
  if (recordDelaysFlag == 1) return measuredMs;
  if (recordDelaysFlag == 0) return kFixedRecordDelayMs;
  return 0;
}

bool IsReleaseOnlyKey(KeyCode code) {
  return std::find(kReleaseOnlyKeys.begin(), kReleaseOnlyKeys.end(), code) != kReleaseOnlyKeys.end();
}

bool IsMultimediaCode(KeyCode code) {
  const auto list = MultimediaList();
  return std::any_of(list.begin(), list.end(),
                     [code](const MultimediaEntry& entry) { return entry.code == code; });
}

KeyCode MouseCodeOfItem(int item) {
  const auto list = MouseList();
  if (item < 0 || static_cast<std::size_t>(item) >= list.size()) return list[0].code;
  return list[static_cast<std::size_t>(item)].code;
}

int MouseItemOfCode(KeyCode code) {
  const auto list = MouseList();
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (list[i].code == code) return static_cast<int>(i);
  }
  return -1;
}

uint32_t NormalisedRecordDelays(std::optional<std::u16string> stored) {
  return stored && *stored == u"1" ? 1 : 0;
}

}  // namespace mvk
