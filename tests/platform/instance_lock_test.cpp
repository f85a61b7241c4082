#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "platform/instance_lock.h"

namespace mvk {
namespace {

TEST(InstanceLock, OnlyOneHolderUntilReleased) {
  QTemporaryDir dir;
  const std::filesystem::path file = dir.filePath("RX73P28C").toStdString();

  InstanceLock first(file);
  EXPECT_EQ(first.state(), InstanceLock::State::Held);
  {
    InstanceLock second(file);
    EXPECT_EQ(second.state(), InstanceLock::State::HeldElsewhere);
  }
  first.Release();
  InstanceLock third(file);
  EXPECT_EQ(third.state(), InstanceLock::State::Held);
}

TEST(InstanceLock, FileThatCannotBeOpenedHoldsNothing) {
  QTemporaryDir dir;
  for (const std::filesystem::path& file :
       {std::filesystem::path(), std::filesystem::path(dir.filePath("missing/RX73P28C").toStdString())}) {
    InstanceLock lock(file);
    EXPECT_EQ(lock.state(), InstanceLock::State::Unavailable) << file;
  }
}

}  // namespace
}  // namespace mvk
