#pragma once

// A deliberately small INI reader for checking the shipped data files. It is
// stricter than the program's reader: every line must be a section, a comment,
// blank or key=value, and a key may appear only once in its section, so that
// a slip in a data file shows up as a problem instead of being read around.

#include <string>
#include <string_view>
#include <vector>

namespace mvk::testing {

struct IniEntry {
  std::string key;
  std::string rawValue;  // everything after '=', blanks included
  int line = 0;

  std::string Value() const;  // rawValue without surrounding blanks
};

struct IniSection {
  std::string name;
  std::vector<IniEntry> entries;

  // Keys are matched without regard to letter case, as the program does.
  const IniEntry* Find(std::string_view key) const;
};

struct IniDocument {
  std::vector<IniSection> sections;
  std::vector<std::string> problems;  // one text per faulty line

  const IniSection* Section(std::string_view name) const;
};

IniDocument ParseIni(std::string_view text);

bool EqualNoCase(std::string_view a, std::string_view b);
std::string_view TrimBlanks(std::string_view text);

}  // namespace mvk::testing
