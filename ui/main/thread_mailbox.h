// Work for the thread that created the mailbox, handed over from any other
// thread. The work travels in a queue under a standard mutex and the
// receiving thread is only woken through its event loop, so everything the
// posting thread prepared is published by that mutex, a hand-over that
// thread checkers can follow (Qt's own event queue is opaque to them).
#pragma once

#include <QObject>

#include <deque>
#include <functional>
#include <mutex>
#include <stop_token>

namespace mvk {

class ThreadMailbox : public QObject {
  Q_OBJECT

 public:
  ThreadMailbox() = default;

  // Queues `work` for this object's thread and returns at once; work posted
  // from one thread runs in the order posted.
  void Post(std::function<void()> work);
  // Runs `work` on this object's thread and waits for it; when `stop` comes
  // first, the work is dropped if it has not started yet. On this object's
  // own thread the work runs at once.
  void Call(std::stop_token stop, std::function<void()> work);

 private:
  Q_INVOKABLE void Drain();

  std::mutex lock_;
  std::deque<std::function<void()>> queue_;
};

}  // namespace mvk
