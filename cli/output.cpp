#include "cli/output.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <iostream>

#include "cli/exit_codes.h"

namespace mvk::cli {

int Fail(int exitCode, std::string_view message) {
  std::cerr << "morvakinctl: " << message << '\n';
  return exitCode;
}

void Notice(std::string_view message) { std::cerr << "morvakinctl: " << message << '\n'; }

void PrintLine(std::string_view text) { std::cout << text << '\n'; }

void PrintJson(const QJsonValue& value) {
  const QJsonDocument document =
      value.isArray() ? QJsonDocument(value.toArray()) : QJsonDocument(value.toObject());
  std::cout << document.toJson(QJsonDocument::Indented).toStdString();
}

}  // namespace mvk::cli
