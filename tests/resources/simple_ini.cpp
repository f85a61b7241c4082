#include "simple_ini.h"

#include <algorithm>
#include <cctype>

namespace mvk::testing {

bool EqualNoCase(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](unsigned char x, unsigned char y) {
    return std::tolower(x) == std::tolower(y);
  });
}

std::string_view TrimBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) {
    return {};
  }
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string IniEntry::Value() const { return std::string(TrimBlanks(rawValue)); }

const IniEntry* IniSection::Find(std::string_view key) const {
  const auto it = std::ranges::find_if(entries, [&](const IniEntry& e) { return EqualNoCase(e.key, key); });
  return it == entries.end() ? nullptr : &*it;
}

const IniSection* IniDocument::Section(std::string_view name) const {
  const auto it = std::ranges::find_if(sections, [&](const IniSection& s) { return EqualNoCase(s.name, name); });
  return it == sections.end() ? nullptr : &*it;
}

namespace {

struct Parser {
  IniDocument doc;
  int lineNumber = 0;

  void Problem(const std::string& what) {
    doc.problems.push_back("line " + std::to_string(lineNumber) + ": " + what);
  }

  void OpenSection(std::string_view line) {
    const std::string name(TrimBlanks(line.substr(1, line.size() - 2)));
    if (name.empty()) {
      Problem("empty section name");
    } else if (doc.Section(name) != nullptr) {
      Problem("section [" + name + "] appears twice");
    }
    doc.sections.push_back({name, {}});
  }

  void AddEntry(std::string_view line) {
    const auto eq = line.find('=');
    const std::string key(TrimBlanks(line.substr(0, eq)));
    if (eq == std::string_view::npos || key.empty()) {
      Problem("neither a section, a comment nor key=value");
      return;
    }
    if (doc.sections.empty()) {
      Problem("key " + key + " outside any section");
      return;
    }
    IniSection& section = doc.sections.back();
    if (section.Find(key) != nullptr) {
      Problem("key " + key + " appears twice in [" + section.name + "]");
      return;
    }
    section.entries.push_back({key, std::string(line.substr(eq + 1)), lineNumber});
  }

  void Feed(std::string_view raw) {
    ++lineNumber;
    const auto line = TrimBlanks(raw);
    if (line.empty() || line.front() == ';') {
      return;
    }
    if (line.front() == '[') {
      if (line.back() != ']') {
        Problem("section header without ']'");
        return;
      }
      OpenSection(line);
      return;
    }
    AddEntry(line);
  }
};

}  // namespace

IniDocument ParseIni(std::string_view text) {
  Parser parser;
  while (!text.empty()) {
    const auto end = text.find('\n');
    parser.Feed(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
  }
  return std::move(parser.doc);
}

}  // namespace mvk::testing
