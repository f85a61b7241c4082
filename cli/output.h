// Printing results: plain text lines, or one JSON document with --json.
#pragma once

#include <QJsonValue>

#include <string_view>

namespace mvk::cli {

void PrintLine(std::string_view text);
// Indented JSON on standard output.
void PrintJson(const QJsonValue& value);

}  // namespace mvk::cli
