// Sets environment variables for the life of a test and restores them after.
#pragma once

#include <QByteArray>

#include <map>
#include <optional>

namespace mvk::test {

class ScopedEnvironment {
 public:
  ScopedEnvironment() = default;
  ~ScopedEnvironment();
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  void Set(const char* name, const QByteArray& value);
  void Unset(const char* name);

 private:
  void Remember(const char* name);
  std::map<QByteArray, std::optional<QByteArray>> saved_;
};

}  // namespace mvk::test
