#include "platform/ini.h"

#include <QFile>
#include <QSaveFile>
#include <QString>
#include <QStringConverter>
#include <QStringList>
#include <algorithm>
#include <mutex>
#include <optional>
#include <system_error>

namespace mvk {
namespace {

// Settings and language files are a few kilobytes; anything far larger is
// not one of ours and is neither read nor rewritten.
constexpr qint64 kMaxIniBytes = 16 * 1024 * 1024;
constexpr char16_t kByteOrderMark = 0xFEFF;

struct IniText {
  QStringList lines;  // without their line ends
  QStringConverter::Encoding encoding = QStringConverter::Utf8;
  bool byteOrderMark = false;
  bool crlf = false;
};

struct IniLine {
  enum Kind { kOther, kSection, kEntry };
  Kind kind = kOther;
  QString name;
  QString value;
};

// Two writers in this process must not interleave their read-modify-write.
std::mutex& WriteMutex() {
  static std::mutex mutex;
  return mutex;
}

QString ToQString(std::u16string_view text) {
  return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

bool SameName(const QString& a, std::u16string_view b) {
  return QString::compare(a, ToQString(b), Qt::CaseInsensitive) == 0;
}

QString PathText(const std::filesystem::path& file) { return QFile::decodeName(file.c_str()); }

std::optional<IniText> LoadIni(const std::filesystem::path& file) {
  QFile in(PathText(file));
  if (!in.open(QIODevice::ReadOnly)) return std::nullopt;
  // Ask for the file's own size and one byte more: asking for the whole
  // limit allocates it, and every key read opens the file anew.
  const QByteArray bytes = in.read(std::min(in.size(), kMaxIniBytes) + 1);
  if (bytes.size() > kMaxIniBytes || in.error() != QFileDevice::NoError) return std::nullopt;

  IniText ini;
  if (const auto encoding = QStringConverter::encodingForData(bytes)) {
    ini.encoding = *encoding;
    ini.byteOrderMark = true;
  }
  QStringDecoder decode(ini.encoding);
  QString text = decode(bytes);
  if (text.startsWith(QChar(kByteOrderMark))) text.remove(0, 1);
  ini.crlf = text.contains(QLatin1String("\r\n"));
  if (text.endsWith(QLatin1Char('\n'))) text.chop(1);
  if (!text.isEmpty()) ini.lines = text.split(QLatin1Char('\n'));
  for (QString& line : ini.lines) {
    if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
  }
  return ini;
}

// One pair of matching quotes around a value is not part of it.
QString Unquote(const QString& value) {
  if (value.size() >= 2 && value.front() == value.back() &&
      (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\''))) {
    return value.mid(1, value.size() - 2);
  }
  return value;
}

IniLine ParseLine(const QString& raw) {
  const QString line = raw.trimmed();
  if (line.startsWith(QLatin1Char('['))) {
    const qsizetype close = line.indexOf(QLatin1Char(']'));
    return {IniLine::kSection, line.mid(1, close < 0 ? -1 : close - 1).trimmed(), {}};
  }
  if (line.startsWith(QLatin1Char(';'))) return {};
  const qsizetype equals = line.indexOf(QLatin1Char('='));
  if (equals <= 0) return {};
  const QString name = line.left(equals).trimmed();
  if (name.isEmpty()) return {};
  return {IniLine::kEntry, name, Unquote(line.mid(equals + 1).trimmed())};
}

// Lines [begin, end) of the first section of that name, the header excluded.
struct SectionRange {
  qsizetype header = -1;
  qsizetype end = -1;
};

std::optional<SectionRange> FindSection(const QStringList& lines, std::u16string_view section) {
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const IniLine line = ParseLine(lines[i]);
    if (line.kind != IniLine::kSection || !SameName(line.name, section)) continue;
    qsizetype end = i + 1;
    while (end < lines.size() && ParseLine(lines[end]).kind != IniLine::kSection) ++end;
    return SectionRange{i, end};
  }
  return std::nullopt;
}

std::optional<qsizetype> FindEntry(const QStringList& lines, SectionRange range,
                                   std::u16string_view key) {
  for (qsizetype i = range.header + 1; i < range.end; ++i) {
    const IniLine line = ParseLine(lines[i]);
    if (line.kind == IniLine::kEntry && SameName(line.name, key)) return i;
  }
  return std::nullopt;
}

std::u16string CutTo(std::u16string text, size_t capacity) {
  if (capacity == 0) return {};
  if (text.size() > capacity - 1) {
    text.resize(capacity - 1);
    // Never leave half of a surrogate pair at the end.
    if (!text.empty() && QChar::isHighSurrogate(text.back())) text.pop_back();
  }
  return text;
}

bool HasLineBreak(std::u16string_view text) {
  return text.find_first_of(u"\r\n") != std::u16string_view::npos;
}

bool IsWritable(std::u16string_view section, std::u16string_view key, std::u16string_view value) {
  const QString keyName = ToQString(key).trimmed();
  return !HasLineBreak(section) && !HasLineBreak(key) && !HasLineBreak(value) &&
         section.find(u']') == std::u16string_view::npos &&
         key.find(u'=') == std::u16string_view::npos && !keyName.isEmpty() &&
         !keyName.startsWith(QLatin1Char('[')) && !keyName.startsWith(QLatin1Char(';'));
}

// Quotes keep blanks at either end, or a quoted value, as they were
// written: the reader removes exactly one pair.
QString EncodeValue(std::u16string_view value) {
  const QString text = ToQString(value);
  const bool needsQuotes = !text.isEmpty() && (text.trimmed() != text || Unquote(text) != text);
  return needsQuotes ? QLatin1Char('"') + text + QLatin1Char('"') : text;
}

void SetEntry(QStringList& lines, std::u16string_view section, std::u16string_view key,
              std::u16string_view value) {
  const QString encoded = EncodeValue(value);
  const auto range = FindSection(lines, section);
  if (!range) {
    if (!lines.isEmpty() && !lines.back().trimmed().isEmpty()) lines.append(QString());
    lines.append(QLatin1Char('[') + ToQString(section).trimmed() + QLatin1Char(']'));
    lines.append(ToQString(key).trimmed() + QLatin1Char('=') + encoded);
    return;
  }
  if (const auto entry = FindEntry(lines, *range, key)) {
    lines[*entry] = ParseLine(lines[*entry]).name + QLatin1Char('=') + encoded;
    return;
  }
  qsizetype insertAt = range->end;
  while (insertAt > range->header + 1 && lines[insertAt - 1].trimmed().isEmpty()) --insertAt;
  lines.insert(insertAt, ToQString(key).trimmed() + QLatin1Char('=') + encoded);
}

bool SaveIni(const std::filesystem::path& file, const IniText& ini) {
  const QString newline = ini.crlf ? QStringLiteral("\r\n") : QStringLiteral("\n");
  const QString text = ini.lines.join(newline) + newline;
  QStringEncoder encode(ini.encoding, ini.byteOrderMark ? QStringConverter::Flag::WriteBom
                                                        : QStringConverter::Flag::Default);
  const QByteArray bytes = encode(text);
  QSaveFile out(PathText(file));
  if (!out.open(QIODevice::WriteOnly)) return false;
  if (out.write(bytes) != bytes.size()) {
    out.cancelWriting();
    return false;
  }
  return out.commit();
}

}  // namespace

std::u16string ReadIniString(const std::filesystem::path& file, std::u16string_view section,
                             std::u16string_view key, std::u16string_view fallback,
                             size_t capacity) {
  const auto ini = LoadIni(file);
  if (ini) {
    if (const auto range = FindSection(ini->lines, section)) {
      if (const auto entry = FindEntry(ini->lines, *range, key)) {
        return CutTo(ParseLine(ini->lines[*entry]).value.toStdU16String(), capacity);
      }
    }
  }
  return CutTo(std::u16string(fallback), capacity);
}

bool WriteIniString(const std::filesystem::path& file, std::u16string_view section,
                    std::u16string_view key, std::u16string_view value) {
  if (!IsWritable(section, key, value)) return false;
  const std::lock_guard lock(WriteMutex());
  std::optional<IniText> ini = LoadIni(file);
  if (!ini) {
    // A file that is there but cannot be read is not replaced by one key.
    std::error_code error;
    if (std::filesystem::exists(file, error) || error) return false;
    ini.emplace();
  }
  SetEntry(ini->lines, section, key, value);
  return SaveIni(file, *ini);
}

std::vector<std::u16string> ReadIniKeys(const std::filesystem::path& file,
                                        std::u16string_view section) {
  std::vector<std::u16string> keys;
  const auto ini = LoadIni(file);
  if (!ini) return keys;
  const auto range = FindSection(ini->lines, section);
  if (!range) return keys;
  for (qsizetype i = range->header + 1; i < range->end; ++i) {
    const IniLine line = ParseLine(ini->lines[i]);
    if (line.kind == IniLine::kEntry) keys.push_back(line.name.toStdU16String());
  }
  return keys;
}

}  // namespace mvk
