#include "support/scoped_environment.h"

#include <QtGlobal>

namespace mvk::test {

ScopedEnvironment::~ScopedEnvironment() {
  for (const auto& [name, value] : saved_) {
    if (value) {
      qputenv(name.constData(), *value);
    } else {
      qunsetenv(name.constData());
    }
  }
}

void ScopedEnvironment::Remember(const char* name) {
  if (saved_.contains(name)) return;
  saved_[name] = qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt;
}

void ScopedEnvironment::Set(const char* name, const QByteArray& value) {
  Remember(name);
  qputenv(name, value);
}

void ScopedEnvironment::Unset(const char* name) {
  Remember(name);
  qunsetenv(name);
}

}  // namespace mvk::test
