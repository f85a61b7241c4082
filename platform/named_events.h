// The named events the main window holds for other processes: POSIX named
// semaphores, not signalled, that nobody in this program waits on or posts.
#pragma once

#include <semaphore.h>

#include <string>
#include <string_view>
#include <vector>

namespace mvk {

inline constexpr std::string_view kNamedEventPrefix = "/Morvakin_Event_";
inline constexpr int kNamedEventCount = 212;

// prefix + "Main_" + the number with at least two digits.
std::string NamedEventName(std::string_view prefix, int number);

class NamedEventSet {
 public:
  NamedEventSet() = default;
  NamedEventSet(const NamedEventSet&) = delete;
  NamedEventSet& operator=(const NamedEventSet&) = delete;
  ~NamedEventSet();

  // Creates (or, when a copy that crashed left them behind, reopens) the
  // events 1 to 212. Returns how many could be opened; failures are not
  // fatal, since no part of this program depends on them.
  int Create(std::string_view prefix);
  // Closes and removes every event this set opened.
  void Close();
  int OpenCount() const { return static_cast<int>(events_.size()); }

 private:
  struct Event {
    std::string name;
    sem_t* handle;
  };
  std::vector<Event> events_;
};

}  // namespace mvk
