// Checks the data files shipped beside the program: the language file, the
// skin geometry files, the lighting mode template and the help page.

#include <gtest/gtest.h>

#include <QStringDecoder>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>

#include "simple_ini.h"

namespace mvk::testing {
namespace {

namespace fs = std::filesystem;

// The build copies resources/ beside the program; test that copy when it is
// there, else the source tree.
fs::path ResourceRoot() {
  const fs::path built(MORVAKIN_BUILD_DIR);
  if (fs::exists(built / "Lang0409.ini")) {
    return built;
  }
  return fs::path(MORVAKIN_FIXTURES).parent_path().parent_path() / "resources";
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

IniDocument LoadIni(const fs::path& relative) {
  const auto path = ResourceRoot() / relative;
  EXPECT_TRUE(fs::exists(path)) << path;
  return ParseIni(ReadFile(path));
}

std::vector<int> SplitInts(std::string_view text) {
  std::vector<int> numbers;
  while (true) {
    int n = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (ec != std::errc{}) {
      return {};
    }
    numbers.push_back(n);
    text.remove_prefix(static_cast<size_t>(end - text.data()));
    if (text.empty()) {
      return numbers;
    }
    if (text.front() != ',') {
      return {};
    }
    text.remove_prefix(1);
  }
}

std::optional<int> ParseInt(std::string_view text) {
  const auto numbers = SplitInts(text);
  return numbers.size() == 1 ? std::optional(numbers[0]) : std::nullopt;
}

const char* const kIniFiles[] = {"Lang0409.ini",          "Skins/Main.ini",    "Skins/Composite.ini",
                                 "Skins/Profile.ini",     "Skins/UpdateDlg.ini",
                                 "Skins/UserDengColor_3.userd"};

TEST(ResourceFiles, AreUtf8WithUnixLineEndsAndParse) {
  for (const char* name : kIniFiles) {
    SCOPED_TRACE(name);
    const auto text = ReadFile(ResourceRoot() / name);
    ASSERT_FALSE(text.empty());
    EXPECT_FALSE(text.starts_with("\xEF\xBB\xBF")) << "byte-order mark";
    EXPECT_EQ(text.find('\r'), std::string::npos) << "CR line end";
    EXPECT_TRUE(text.ends_with('\n'));
    QStringDecoder utf8(QStringDecoder::Utf8);
    [[maybe_unused]] const QString decoded = utf8(QByteArrayView(text));
    EXPECT_FALSE(utf8.hasError()) << "not UTF-8";
    const auto doc = ParseIni(text);
    for (const auto& problem : doc.problems) {
      ADD_FAILURE() << problem;
    }
    EXPECT_FALSE(doc.sections.empty());
  }
}

// ---------------------------------------------------------------- language

// The conversions of one printf format, in order: "%s" gives 's', "%03X" 'X'.
// "%%" counts as a conversion too: no text here prints a percent sign.
std::string Conversions(std::string_view text) {
  std::string found;
  for (auto pos = text.find('%'); pos != std::string_view::npos; pos = text.find('%', pos + 1)) {
    const auto spec = text.find_first_not_of("-+ #0123456789.hlLqjzt", pos + 1);
    found += spec == std::string_view::npos ? '?' : text[spec];
    if (spec != std::string_view::npos) {
      pos = spec;
    }
  }
  return found;
}

TEST(LanguageFile, PrintfConversionsAreExactlyTheFormatsArguments) {
  const auto doc = LoadIni("Lang0409.ini");
  struct Format {
    const char* key;
    const char* conversions;  // "int" for any one integer conversion
  };
  const Format formats[] = {{"PROFILE_FORMAT_ERROR", "s"},
                            {"PROFILE_NEW_FAILED", "s"},
                            {"MACRO_ERR_MAX", "d"},
                            {"MACRO_ACTION_ERR_DELAY_MAX", "d"},
                            {"UNKNOWN_KEY", "int"}};
  const auto* text = doc.Section("TEXT");
  ASSERT_NE(text, nullptr);
  for (const auto& f : formats) {
    const auto* entry = text->Find(f.key);
    ASSERT_NE(entry, nullptr) << f.key;
    const auto found = Conversions(entry->Value());
    if (std::string_view(f.conversions) == "int") {
      const bool oneInteger = found.size() == 1 && std::string_view("diuxXo").find(found[0]) != std::string_view::npos;
      EXPECT_TRUE(oneInteger) << f.key << ": " << found;
    } else {
      EXPECT_EQ(found, f.conversions) << f.key;
    }
  }
  for (const auto& section : doc.sections) {
    for (const auto& entry : section.entries) {
      const bool isFormat = section.name == "TEXT" && std::ranges::any_of(formats, [&](const Format& f) {
                              return EqualNoCase(f.key, entry.key);
                            });
      if (!isFormat) {
        EXPECT_EQ(entry.rawValue.find('%'), std::string::npos) << section.name << "/" << entry.key;
      }
    }
  }
}

TEST(LanguageFile, TextsFitTheLookupBufferAndKeepTheirBlanks) {
  const auto doc = LoadIni("Lang0409.ini");
  for (const auto& section : doc.sections) {
    for (const auto& entry : section.entries) {
      SCOPED_TRACE(section.name + "/" + entry.key);
      // The lookup reads at most 259 UTF-16 units; blanks around a value are
      // dropped by the reader, so a text must not rely on them.
      EXPECT_LE(QString::fromUtf8(entry.rawValue).size(), 259);
      EXPECT_FALSE(entry.Value().empty());
      EXPECT_EQ(entry.Value(), entry.rawValue);
    }
  }
}

TEST(LanguageFile, NamesEveryLightingEffectAndPanelLabel) {
  const auto doc = LoadIni("Lang0409.ini");
  const auto* modes = doc.Section("MODE");
  const auto* light = doc.Section("LIGHT");
  ASSERT_NE(modes, nullptr);
  ASSERT_NE(light, nullptr);
  ASSERT_NE(doc.Section("TEXT"), nullptr);
  for (int code = 1; code <= 20; ++code) {
    EXPECT_NE(modes->Find(std::to_string(code)), nullptr) << "effect " << code;
  }
  EXPECT_EQ(modes->entries.size(), 20u);
  for (const char* label : {"Deng", "Light", "FX", "Speed", "Color", "JColor", "DC", "Tool", "Usb"}) {
    EXPECT_NE(light->Find(label), nullptr) << label;
  }
}

// -------------------------------------------------------------------- skins

struct Rect {
  int x, y, w, h;
  bool Overlaps(const Rect& o) const { return x < o.x + o.w && o.x < x + w && y < o.y + o.h && o.y < y + h; }
  bool operator==(const Rect&) const = default;
};

std::optional<Rect> ParseRect(std::string_view value) {
  const auto n = SplitInts(value);
  if (n.size() != 4) {
    return std::nullopt;
  }
  return Rect{n[0], n[1], n[2], n[3]};
}

const char* const kSkinFiles[] = {"Skins/Main.ini", "Skins/Composite.ini", "Skins/Profile.ini",
                                  "Skins/UpdateDlg.ini"};

TEST(SkinFiles, EveryControlLiesInsideItsWindow) {
  for (const char* name : kSkinFiles) {
    SCOPED_TRACE(name);
    const auto doc = LoadIni(name);
    const auto* screen = doc.Section("SCREEN");
    const auto* buttons = doc.Section("BUTTONINFO");
    ASSERT_NE(screen, nullptr);
    ASSERT_NE(buttons, nullptr);
    for (const char* picture : {"Main", "Mask"}) {
      const auto* entry = screen->Find(picture);
      EXPECT_TRUE(entry != nullptr && !entry->Value().empty()) << picture;
    }
    const auto* widthEntry = screen->Find("Width");
    const auto* heightEntry = screen->Find("Height");
    ASSERT_TRUE(widthEntry != nullptr && heightEntry != nullptr);
    const auto width = ParseInt(widthEntry->Value());
    const auto height = ParseInt(heightEntry->Value());
    ASSERT_TRUE(width && height && *width > 0 && *height > 0);
    for (const auto& entry : buttons->entries) {
      const auto r = ParseRect(entry.Value());
      ASSERT_TRUE(r) << entry.key << "=" << entry.Value();
      EXPECT_TRUE(r->w > 0 && r->h > 0) << entry.key;
      EXPECT_TRUE(r->x >= 0 && r->y >= 0 && r->x + r->w <= *width && r->y + r->h <= *height) << entry.key;
      // A control placed at (1, 1) is taken as missing and disabled.
      EXPECT_FALSE(r->x == 1 && r->y == 1) << entry.key;
    }
    if (const auto* origins = doc.Section("BUTTONINFO2")) {
      for (const auto& entry : origins->entries) {
        const auto r = ParseRect(entry.Value());
        EXPECT_TRUE(r && r->x >= 0 && r->y >= 0 && r->w > 0 && r->h > 0) << entry.key;
      }
    }
  }
}

// Controls that are never shown together may share space: the pages of the
// assignment dialog, and the alternative places of the direction controls.
std::string PageOf(std::string_view key) {
  const struct {
    const char* prefix;
    const char* page;
  } pages[] = {{"TISHI_SINGLE_STATIC", "key"},  {"FUNC_KEY_", "key"},
               {"MEDIA_SETTING_TISHI", "media"}, {"FUNC_MEDIA_", "media"},
               {"FUNCTION_KEY_SETTING_TISHI", "function"}, {"FUNC_FUNCTION_", "function"},
               {"MARCO_NAME_SETTING", "macro"},  {"FUNC_MACRO_", "macro"}};
  for (const auto& p : pages) {
    if (key.starts_with(p.prefix)) {
      return p.page;
    }
  }
  return {};
}

std::string PlaceFamily(std::string_view key) {
  if (key.starts_with("CONTROL_BLFX") && (key.ends_with('2') || key.ends_with('3'))) {
    key.remove_suffix(1);
  }
  return std::string(key);
}

bool MayShareSpace(const IniEntry& a, const IniEntry& b) {
  const auto pageA = PageOf(a.key);
  const auto pageB = PageOf(b.key);
  if (!pageA.empty() && !pageB.empty() && pageA != pageB) {
    return true;
  }
  return PlaceFamily(a.key) == PlaceFamily(b.key) && ParseRect(a.Value()) == ParseRect(b.Value());
}

TEST(SkinFiles, ControlsShownTogetherDoNotOverlap) {
  for (const char* name : kSkinFiles) {
    SCOPED_TRACE(name);
    const auto doc = LoadIni(name);
    const auto* buttons = doc.Section("BUTTONINFO");
    ASSERT_NE(buttons, nullptr);
    const auto& e = buttons->entries;
    for (size_t i = 0; i < e.size(); ++i) {
      for (size_t j = i + 1; j < e.size(); ++j) {
        const auto a = ParseRect(e[i].Value());
        const auto b = ParseRect(e[j].Value());
        if (a && b && a->Overlaps(*b) && !MayShareSpace(e[i], e[j])) {
          ADD_FAILURE() << e[i].key << " overlaps " << e[j].key;
        }
      }
    }
  }
}

TEST(SkinFiles, MainWindowPlacesEveryKeyOfAFullSizeKeyboard) {
  // The key buttons' codes, keyed "KEY_%03X" by key index: the letters and
  // digits, the punctuation, the function row, the modifiers, the navigation
  // block and the keypad, plus the extra key beside left Shift.
  const int codes[] = {
      0x001, 0x002, 0x003, 0x004, 0x005, 0x006, 0x007, 0x008, 0x009, 0x00A, 0x00B, 0x00C, 0x00D, 0x00E, 0x00F,
      0x010, 0x011, 0x012, 0x013, 0x014, 0x015, 0x016, 0x017, 0x018, 0x019, 0x01A, 0x01B, 0x01C, 0x01D, 0x01E,
      0x01F, 0x020, 0x021, 0x022, 0x023, 0x024, 0x025, 0x026, 0x027, 0x028, 0x029, 0x02A, 0x02B, 0x02C, 0x02D,
      0x02E, 0x02F, 0x030, 0x031, 0x032, 0x033, 0x034, 0x035, 0x036, 0x037, 0x038, 0x039, 0x03A, 0x03B, 0x03C,
      0x03D, 0x03E, 0x03F, 0x040, 0x041, 0x042, 0x043, 0x044, 0x045, 0x046, 0x047, 0x048, 0x049, 0x04A, 0x04B,
      0x04C, 0x04D, 0x04E, 0x04F, 0x050, 0x051, 0x052, 0x053, 0x056, 0x057, 0x058, 0x11C, 0x11D, 0x135, 0x137,
      0x138, 0x145, 0x147, 0x148, 0x149, 0x14B, 0x14D, 0x14F, 0x150, 0x151, 0x152, 0x153, 0x15B, 0x15C, 0x15D};
  const auto doc = LoadIni("Skins/Main.ini");
  const auto* buttons = doc.Section("BUTTONINFO");
  ASSERT_NE(buttons, nullptr);
  std::set<std::string> expected;
  for (int code : codes) {
    const int index = code < 0x100 ? code : code - 0x80;
    char key[16];
    std::snprintf(key, sizeof key, "KEY_%03X", index);
    expected.insert(key);
  }
  ASSERT_EQ(expected.size(), 105u);
  expected.insert("KEY_FN");
  for (int g = 1; g <= 9; ++g) {
    expected.insert("FUNC_G" + std::to_string(g));
  }
  for (const auto& key : expected) {
    EXPECT_NE(buttons->Find(key), nullptr) << key;
  }
  // No other key button: in particular the hidden key beside right Shift
  // stays off the skin.
  for (const auto& entry : buttons->entries) {
    if (entry.key.starts_with("KEY_") || entry.key.starts_with("FUNC_G")) {
      EXPECT_TRUE(expected.contains(entry.key)) << entry.key;
    }
  }
}

// ------------------------------------------------------ lighting templates

bool IsColour(std::string_view value, size_t parts) {
  const auto n = SplitInts(value);
  return n.size() == parts && std::ranges::all_of(n, [](int c) { return c >= 0 && c <= 255; });
}

TEST(LightingModeTemplate, HoldsTenWellFormedUserModes) {
  const auto doc = LoadIni("Skins/UserDengColor_3.userd");
  const auto* present = doc.Section("PRESENTMODE");
  const auto* names = doc.Section("MODENAME");
  ASSERT_TRUE(present != nullptr && names != nullptr);
  const auto* mode = present->Find("mode");
  ASSERT_NE(mode, nullptr);
  const auto current = ParseInt(mode->Value());
  EXPECT_TRUE(current && *current >= 0 && *current <= 9);
  for (int m = 0; m <= 9; ++m) {
    SCOPED_TRACE("mode " + std::to_string(m));
    EXPECT_NE(names->Find(std::to_string(m)), nullptr);
    const auto* section = doc.Section("Mode" + std::to_string(m));
    ASSERT_NE(section, nullptr);
    const auto* tool = section->Find("tool");
    ASSERT_NE(tool, nullptr);
    EXPECT_TRUE(tool->Value() == "0" || tool->Value() == "1");
    for (const auto& entry : section->entries) {
      if (EqualNoCase(entry.key, "jcolor") || EqualNoCase(entry.key, "color")) {
        EXPECT_TRUE(IsColour(entry.Value(), 3)) << entry.key;
      } else if (!EqualNoCase(entry.key, "tool")) {
        // Keys only: the G keys' shared LED 125 is not kept per user mode.
        const auto led = ParseInt(entry.key);
        EXPECT_TRUE(led && *led >= 0 && *led < 125) << "LED " << entry.key;
        const auto n = SplitInts(entry.Value());
        EXPECT_TRUE(IsColour(entry.Value(), 4) && (n[3] == 0 || n[3] == 1)) << "LED " << entry.key;
      }
    }
  }
}

// --------------------------------------------------------------------- help

TEST(HelpPage, IsOneSelfContainedPage) {
  const auto path = ResourceRoot() / "Help" / "index.html";
  ASSERT_TRUE(fs::exists(path));
  const auto page = ReadFile(path);
  EXPECT_NE(page.find("<html"), std::string::npos);
  EXPECT_NE(page.find("</html>"), std::string::npos);
  for (const char* external : {"<script", "<link", "<img", "src=", "url(", "@import"}) {
    EXPECT_EQ(page.find(external), std::string::npos) << external;
  }
}

}  // namespace
}  // namespace mvk::testing
