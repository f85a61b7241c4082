#include <gtest/gtest.h>

#include <fcntl.h>
#include <semaphore.h>
#include <unistd.h>

#include <string>

#include "platform/named_events.h"

namespace mvk {
namespace {

TEST(NamedEvents, AreNumberedWithAtLeastTwoDigits) {
  EXPECT_EQ(NamedEventName(kNamedEventPrefix, 1), "/Morvakin_Event_Main_01");
  EXPECT_EQ(NamedEventName(kNamedEventPrefix, 99), "/Morvakin_Event_Main_99");
  EXPECT_EQ(NamedEventName(kNamedEventPrefix, 212), "/Morvakin_Event_Main_212");
}

TEST(NamedEvents, AreCreatedUnsignalledAndRemovedOnClose) {
  const std::string prefix = "/MorvakinPlatformTest_" + std::to_string(getpid()) + "_";
  NamedEventSet events;
  ASSERT_EQ(events.Create(prefix), kNamedEventCount);
  sem_t* first = sem_open(NamedEventName(prefix, 1).c_str(), 0);
  ASSERT_NE(first, SEM_FAILED);
  int value = -1;
  sem_getvalue(first, &value);
  EXPECT_EQ(value, 0);
  sem_close(first);

  events.Close();
  EXPECT_EQ(events.OpenCount(), 0);
  EXPECT_EQ(sem_open(NamedEventName(prefix, 1).c_str(), 0), SEM_FAILED);
}

}  // namespace
}  // namespace mvk
