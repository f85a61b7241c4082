// INI files with the semantics the program expects of private-profile files:
// sections and keys match without regard to case, the first of duplicate
// sections or keys counts, a missing file, section or key gives the default
// while a key with an empty value gives an empty text, values are kept as
// they stand apart from the surrounding blanks and one pair of enclosing
// quotes, and every call reads or writes the file afresh (no cache).
//
// Files are read as UTF-8 unless they start with a UTF-16 byte-order mark;
// a UTF-8 mark and CRLF line ends are understood. A write changes one line
// (or appends one key, or one section) and leaves every other line, comment
// and the order as they were; it goes to a new file that is then renamed
// over the old one, so a reader never sees a half-written file.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace mvk {

// Characters of an INI value including the terminator, as the program's
// fixed text buffers hold them.
inline constexpr size_t kIniTextCapacity = 260;

// The value of a key, or fallback when the file, the section or the key is
// missing. Either is cut to capacity - 1 characters.
std::u16string ReadIniString(const std::filesystem::path& file, std::u16string_view section,
                             std::u16string_view key, std::u16string_view fallback,
                             size_t capacity = kIniTextCapacity);

// Sets a key, creating the file and the section if needed. Refuses (false)
// names or values that would not read back as written: a line break
// anywhere, a section with ']', a key with '=' or an empty or blank name.
bool WriteIniString(const std::filesystem::path& file, std::u16string_view section,
                    std::u16string_view key, std::u16string_view value);

// The keys of a section in file order, as they are spelt there.
std::vector<std::u16string> ReadIniKeys(const std::filesystem::path& file,
                                        std::u16string_view section);

}  // namespace mvk
