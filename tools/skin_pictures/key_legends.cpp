#include "tools/skin_pictures/key_legends.h"

#include <QRegularExpression>
#include <algorithm>
#include <iterator>

namespace mvk::skin {
namespace {

struct Legend {
  KeyIndex index;
  const char* text;
};

// Caps whose printed symbols differ from the key's name.
constexpr Legend kLegends[] = {
    {0x02, "!\n1"},      {0x03, "@\n2"},      {0x04, "#\n3"},       {0x05, "$\n4"},
    {0x06, "%\n5"},      {0x07, "^\n6"},      {0x08, "&\n7"},       {0x09, "*\n8"},
    {0x0A, "(\n9"},      {0x0B, ")\n0"},      {0x0C, "_\n-"},       {0x0D, "+\n="},
    {0x1A, "{\n["},      {0x1B, "}\n]"},      {0x2B, "|\n\\"},      {0x27, ":\n;"},
    {0x28, "\"\n'"},     {0x29, "~\n`"},      {0x33, "<\n,"},       {0x34, ">\n."},
    {0x35, "?\n/"},      {0x56, "|\n\\"},     {0x39, ""},           {0x3A, "Caps"},
    {0xB7, "PrtSc"},     {0x46, "ScrLk"},     {0xD2, "Ins"},        {0xD3, "Del"},
    {0xC9, "PgUp"},      {0xD1, "PgDn"},      {0xC8, "\u2191"},     {0xD0, "\u2193"},
    {0xCB, "\u2190"},    {0xCD, "\u2192"},    {0xC5, "Num\nLock"},  {0xDD, "Menu"},
};

}  // namespace

QString KeyLegend(KeyIndex index) {
  const auto legend = std::find_if(std::begin(kLegends), std::end(kLegends),
                                   [index](const Legend& l) { return l.index == index; });
  if (legend != std::end(kLegends)) return QString::fromUtf8(legend->text);
  const char* label = KeyRecordAt(index).label;
  if (label == nullptr) return QString::number(index, 16).toUpper();
  // Keypad and right-hand keys carry the plain key's symbol.
  QString text = QString::fromUtf8(label);
  text.remove(QRegularExpression("^(Num |Right )"));
  return text;
}

std::optional<KeyIndex> KeyIndexOfSkinKey(const QString& skinKey) {
  static const QRegularExpression pattern("^KEY_([0-9A-F]{3})$",
                                          QRegularExpression::CaseInsensitiveOption);
  const QRegularExpressionMatch match = pattern.match(skinKey);
  if (!match.hasMatch()) return std::nullopt;
  return static_cast<KeyIndex>(match.captured(1).toUInt(nullptr, 16));
}

}  // namespace mvk::skin
