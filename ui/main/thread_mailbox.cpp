#include "ui/main/thread_mailbox.h"

#include <QMetaObject>
#include <QThread>

#include <condition_variable>
#include <memory>
#include <utility>

namespace mvk {
namespace {

// Shared by the waiting thread and the queued call, which may outlive the
// wait when the waiter was stopped.
struct PendingCall {
  std::mutex mutex;
  std::condition_variable_any finished;
  bool started = false;
  bool done = false;
  bool abandoned = false;
};

}  // namespace

void ThreadMailbox::Post(std::function<void()> work) {
  {
    std::lock_guard lock(lock_);
    queue_.push_back(std::move(work));
  }
  // By name, so the wake-up carries nothing of ours.
  QMetaObject::invokeMethod(this, "Drain", Qt::QueuedConnection);
}

void ThreadMailbox::Drain() {
  std::deque<std::function<void()>> ready;
  {
    std::lock_guard lock(lock_);
    ready.swap(queue_);
  }
  for (auto& work : ready) work();
}

void ThreadMailbox::Call(std::stop_token stop, std::function<void()> work) {
  if (QThread::currentThread() == thread()) {
    work();
    return;
  }
  auto call = std::make_shared<PendingCall>();
  Post([call, work = std::move(work)] {
    {
      std::lock_guard lock(call->mutex);
      if (call->abandoned) return;
      call->started = true;
    }
    work();
    std::lock_guard lock(call->mutex);
    call->done = true;
    call->finished.notify_all();
  });
  std::unique_lock lock(call->mutex);
  if (!call->finished.wait(lock, stop, [&] { return call->done; })) call->abandoned = true;
}

}  // namespace mvk
