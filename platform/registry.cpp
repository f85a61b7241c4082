#include "platform/registry.h"

#include <QFile>
#include <QSaveFile>
#include <QString>
#include <QStringDecoder>

#include <charconv>
#include <mutex>
#include <system_error>
#include <vector>

// File format, UTF-8: a header line, then one value per line as four
// tab-separated fields: key path, name, "number" or "text", value. Backslash,
// tab, carriage return and line feed inside a field are escaped as \\ \t \r \n.
// A file that does not follow this format in every line reads as empty.

namespace mvk {
namespace {

constexpr std::string_view kHeader = "morvakin-settings 1";
constexpr std::string_view kNumberType = "number";
constexpr std::string_view kTextType = "text";
constexpr char kFieldSeparator = '\t';
constexpr std::size_t kFieldCount = 4;
// A settings file holds a few dozen short values; anything far larger is not ours.
constexpr qint64 kMaxFileBytes = 1 << 20;

struct Entry {
  std::string keyPath;
  std::string name;
  bool isNumber = false;
  uint32_t number = 0;
  std::u16string text;
};
using Entries = std::vector<Entry>;

enum class FileState { Missing, Unreadable, Corrupt, Loaded };

struct LoadResult {
  FileState state = FileState::Missing;
  Entries entries;
};

// Read-modify-write of the file is kept whole between threads of this program.
std::mutex& FileMutex() {
  static std::mutex mutex;
  return mutex;
}

QString ToQString(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QString NativePath(const std::filesystem::path& path) { return QFile::decodeName(path.c_str()); }

bool SameName(std::string_view a, std::string_view b) {
  return ToQString(a).compare(ToQString(b), Qt::CaseInsensitive) == 0;
}

std::optional<QString> DecodeUtf8(std::string_view bytes) {
  QStringDecoder decoder(QStringDecoder::Utf8);
  QString text = decoder(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
  if (decoder.hasError()) return std::nullopt;
  return text;
}

bool IsValidUtf8(std::string_view bytes) { return DecodeUtf8(bytes).has_value(); }

std::string Escape(std::string_view raw) {
  std::string out;
  out.reserve(raw.size());
  for (char c : raw) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      default: out += c;
    }
  }
  return out;
}

std::optional<std::string> Unescape(std::string_view field) {
  std::string out;
  out.reserve(field.size());
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] != '\\') {
      out += field[i];
      continue;
    }
    if (++i == field.size()) return std::nullopt;
    switch (field[i]) {
      case '\\': out += '\\'; break;
      case 't': out += '\t'; break;
      case 'n': out += '\n'; break;
      case 'r': out += '\r'; break;
      default: return std::nullopt;
    }
  }
  return out;
}

std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = line.find(kFieldSeparator, start);
    fields.push_back(line.substr(start, end - start));
    if (end == std::string_view::npos) return fields;
    start = end + 1;
  }
}

Entry* FindEntry(Entries& entries, std::string_view keyPath, std::string_view name) {
  for (Entry& entry : entries) {
    if (SameName(entry.keyPath, keyPath) && SameName(entry.name, name)) return &entry;
  }
  return nullptr;
}

// Keeps the spelling of a value that already exists, as the registry does.
void Upsert(Entries& entries, Entry entry) {
  if (Entry* existing = FindEntry(entries, entry.keyPath, entry.name)) {
    existing->isNumber = entry.isNumber;
    existing->number = entry.number;
    existing->text = std::move(entry.text);
    return;
  }
  entries.push_back(std::move(entry));
}

std::optional<Entry> ParseLine(std::string_view line) {
  const auto fields = SplitFields(line);
  if (fields.size() != kFieldCount) return std::nullopt;
  auto keyPath = Unescape(fields[0]);
  auto name = Unescape(fields[1]);
  auto value = Unescape(fields[3]);
  if (!keyPath || !name || !value) return std::nullopt;

  Entry entry{std::move(*keyPath), std::move(*name), false, 0, {}};
  if (fields[2] == kNumberType) {
    const char* first = value->data();
    const char* last = first + value->size();
    const auto [end, error] = std::from_chars(first, last, entry.number);
    if (error != std::errc{} || end != last || value->empty()) return std::nullopt;
    entry.isNumber = true;
  } else if (fields[2] == kTextType) {
    const auto text = DecodeUtf8(*value);
    if (!text) return std::nullopt;
    entry.text = text->toStdU16String();
  } else {
    return std::nullopt;
  }
  return entry;
}

std::optional<Entries> ParseFile(std::string_view content) {
  if (content.empty()) return Entries{};
  const auto lines = [&] {
    std::vector<std::string_view> out;
    std::size_t start = 0;
    while (start < content.size()) {
      const std::size_t end = content.find('\n', start);
      out.push_back(content.substr(start, end == std::string_view::npos ? end : end - start));
      if (end == std::string_view::npos) break;
      start = end + 1;
    }
    return out;
  }();
  if (lines.empty() || lines.front() != kHeader) return std::nullopt;

  Entries entries;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    if (lines[i].empty()) continue;
    auto entry = ParseLine(lines[i]);
    if (!entry) return std::nullopt;
    Upsert(entries, std::move(*entry));
  }
  return entries;
}

LoadResult Load(const std::filesystem::path& path) {
  QFile file(NativePath(path));
  if (!file.exists()) return {FileState::Missing, {}};
  if (!file.open(QIODevice::ReadOnly)) return {FileState::Unreadable, {}};
  if (file.size() > kMaxFileBytes) return {FileState::Corrupt, {}};
  // The file's own size and one byte more, not the whole limit, is allocated.
  const QByteArray content = file.read(file.size() + 1);
  if (content.size() > kMaxFileBytes) return {FileState::Corrupt, {}};
  auto entries = ParseFile(std::string_view(content.constData(), content.size()));
  if (!entries) return {FileState::Corrupt, {}};
  return {FileState::Loaded, std::move(*entries)};
}

std::string Serialise(const Entries& entries) {
  std::string out(kHeader);
  out += '\n';
  for (const Entry& entry : entries) {
    out += Escape(entry.keyPath) + kFieldSeparator + Escape(entry.name) + kFieldSeparator;
    if (entry.isNumber) {
      out += std::string(kNumberType) + kFieldSeparator + std::to_string(entry.number);
    } else {
      const QByteArray utf8 = QString::fromStdU16String(entry.text).toUtf8();
      out += std::string(kTextType) + kFieldSeparator +
             Escape(std::string_view(utf8.constData(), utf8.size()));
    }
    out += '\n';
  }
  return out;
}

// The new content goes to a temporary file that replaces the old one only
// once it is complete, so a crash mid-write never leaves half a file.
bool Save(const std::filesystem::path& path, const Entries& entries) {
  std::error_code error;
  std::filesystem::create_directories(path.parent_path(), error);
  if (error) return false;
  QSaveFile file(NativePath(path));
  if (!file.open(QIODevice::WriteOnly)) return false;
  const std::string content = Serialise(entries);
  if (file.write(content.data(), static_cast<qint64>(content.size())) !=
      static_cast<qint64>(content.size())) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

// Applies `change` to the file's values and writes them back. A file that
// exists but cannot be read is left alone; a corrupt one is kept beside the
// new file under the suffix ".bad" before it is replaced.
template <typename Change>
bool Modify(const std::filesystem::path& path, Change change) {
  if (path.empty()) return false;
  std::lock_guard lock(FileMutex());
  LoadResult loaded = Load(path);
  if (loaded.state == FileState::Unreadable) return false;
  if (!change(loaded.entries)) return false;
  if (loaded.state == FileState::Corrupt) {
    std::error_code ignored;
    std::filesystem::copy_file(path, std::filesystem::path(path) += ".bad",
                               std::filesystem::copy_options::overwrite_existing, ignored);
  }
  return Save(path, loaded.entries);
}

std::optional<Entry> Lookup(const std::filesystem::path& path, std::string_view keyPath,
                            std::string_view name) {
  if (path.empty()) return std::nullopt;
  std::lock_guard lock(FileMutex());
  LoadResult loaded = Load(path);
  if (Entry* entry = FindEntry(loaded.entries, keyPath, name)) return std::move(*entry);
  return std::nullopt;
}

}  // namespace

RegistryStore::RegistryStore(std::filesystem::path file) : file_(std::move(file)) {}

bool RegistryStore::IsOpen() const { return !file_.empty(); }

std::optional<uint32_t> RegistryStore::GetNumber(std::string_view keyPath,
                                                 std::string_view name) const {
  const auto entry = Lookup(file_, keyPath, name);
  if (!entry || !entry->isNumber) return std::nullopt;
  return entry->number;
}

std::optional<std::u16string> RegistryStore::GetText(std::string_view keyPath,
                                                     std::string_view name) const {
  auto entry = Lookup(file_, keyPath, name);
  if (!entry || entry->isNumber) return std::nullopt;
  return std::move(entry->text);
}

bool RegistryStore::SetNumber(std::string_view keyPath, std::string_view name, uint32_t value) {
  if (!IsValidUtf8(keyPath) || !IsValidUtf8(name)) return false;
  return Modify(file_, [&](Entries& entries) {
    Upsert(entries, Entry{std::string(keyPath), std::string(name), true, value, {}});
    return true;
  });
}

bool RegistryStore::SetText(std::string_view keyPath, std::string_view name,
                            std::u16string_view value) {
  // A lone surrogate has no UTF-8 form; storing it would change the text.
  if (!IsValidUtf8(keyPath) || !IsValidUtf8(name) || !QStringView(value).isValidUtf16()) {
    return false;
  }
  return Modify(file_, [&](Entries& entries) {
    Upsert(entries, Entry{std::string(keyPath), std::string(name), false, 0, std::u16string(value)});
    return true;
  });
}

bool RegistryStore::DeleteValue(std::string_view keyPath, std::string_view name) {
  return Modify(file_, [&](Entries& entries) {
    const auto before = entries.size();
    std::erase_if(entries, [&](const Entry& entry) {
      return SameName(entry.keyPath, keyPath) && SameName(entry.name, name);
    });
    return entries.size() != before;
  });
}

}  // namespace mvk
