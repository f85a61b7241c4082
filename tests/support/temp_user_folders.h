// Points HOME and the per-user folders at a fresh temporary folder for the
// life of a test.
#pragma once

#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <filesystem>

#include "support/scoped_environment.h"

namespace mvk::test {

class TempUserFolders {
 public:
  TempUserFolders();

  std::filesystem::path Root() const;
  std::filesystem::path ConfigHome() const { return Root() / "config"; }
  std::filesystem::path RuntimeFolder() const { return Root() / "run"; }
  // The environment of a child process that should use these folders.
  QProcessEnvironment ChildEnvironment() const;

 private:
  QTemporaryDir dir_;
  ScopedEnvironment environment_;
};

}  // namespace mvk::test
