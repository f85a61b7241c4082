// An application-wide event filter that can be installed and removed, in
// place of a window-system hook: it sees the events of every window of the
// program before they reach their widgets, and may swallow them.
#pragma once

#include <QObject>

#include <functional>

namespace mvk {

class ApplicationHook : public QObject {
 public:
  // Returns true to swallow the event.
  using Procedure = std::function<bool(QObject* watched, QEvent* event)>;

  explicit ApplicationHook(Procedure procedure) : procedure_(std::move(procedure)) {}
  ~ApplicationHook() override { Remove(); }

  // Hooks installed later see events first. Installing twice does nothing.
  void Install();
  void Remove();
  bool Installed() const { return installed_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Procedure procedure_;
  bool installed_ = false;
};

}  // namespace mvk
