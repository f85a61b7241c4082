#include "support/temp_user_folders.h"

#include <QFile>

namespace mvk::test {
namespace {

const char* const kVariables[][2] = {
    {"HOME", "home"},
    {"XDG_CONFIG_HOME", "config"},
    {"XDG_DATA_HOME", "data"},
    {"XDG_RUNTIME_DIR", "run"},
};

}  // namespace

TempUserFolders::TempUserFolders() {
  for (const auto& [variable, folder] : kVariables) {
    const auto path = Root() / folder;
    std::filesystem::create_directories(path);
    std::filesystem::permissions(path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::replace);
    environment_.Set(variable, QFile::encodeName(QString::fromStdString(path.string())));
  }
}

std::filesystem::path TempUserFolders::Root() const { return dir_.path().toStdString(); }

QProcessEnvironment TempUserFolders::ChildEnvironment() const {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const auto& [variable, folder] : kVariables) {
    environment.insert(variable, QString::fromStdString((Root() / folder).string()));
  }
  return environment;
}

}  // namespace mvk::test
