#include "platform/named_events.h"

#include <fcntl.h>

#include <cstdio>

namespace mvk {

std::string NamedEventName(std::string_view prefix, int number) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%02d", number);
  return std::string(prefix) + "Main_" + digits;
}

NamedEventSet::~NamedEventSet() { Close(); }

int NamedEventSet::Create(std::string_view prefix) {
  Close();
  for (int number = 1; number <= kNamedEventCount; ++number) {
    std::string name = NamedEventName(prefix, number);
    // Without O_EXCL a leftover of a copy that crashed is taken over.
    sem_t* handle = sem_open(name.c_str(), O_CREAT, 0600, 0);
    if (handle != SEM_FAILED) events_.push_back({std::move(name), handle});
  }
  return OpenCount();
}

void NamedEventSet::Close() {
  for (const Event& event : events_) {
    sem_close(event.handle);
    sem_unlink(event.name.c_str());
  }
  events_.clear();
}

}  // namespace mvk
