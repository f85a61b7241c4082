// The keyboard as the tool reaches it: the backend that the simulate choice
// selects, the command collection opened through the program's own device
// object, and the packet trace. Keyboard failures become exit statuses here.
#pragma once

#include <memory>
#include <string_view>

#include "app/command_line.h"
#include "device/hid_device.h"
#include "model/default_matrix.h"
#include "platform/hid.h"
#include "protocol/keyboard_link.h"
#include "protocol/trace.h"

namespace mvk {
namespace sim {
class SimulatedKeyboard;
}

namespace cli {

// Passes packets through and remembers whether the last write or read went
// unanswered, so that a failed operation can tell a silent keyboard from
// one that refused.
class WatchedChannel final : public PacketChannel {
 public:
  explicit WatchedChannel(PacketChannel& inner) : inner_(inner) {}
  bool Write(std::span<const uint8_t> data, std::size_t* transferred, uint32_t timeoutMs) override;
  bool Read(std::span<uint8_t> buffer, std::size_t* transferred, uint32_t timeoutMs) override;
  void DiscardInput() override { inner_.DiscardInput(); }
  bool LastExchangeUnanswered() const { return unanswered_; }

 private:
  PacketChannel& inner_;
  bool unanswered_ = false;
};

class KeyboardSession {
 public:
  KeyboardSession(const SimulateChoice& simulate, bool trace);
  ~KeyboardSession();
  KeyboardSession(const KeyboardSession&) = delete;
  KeyboardSession& operator=(const KeyboardSession&) = delete;

  HidBackend& Backend() { return *backend_; }
  CHidDevice& Device() { return device_; }
  KeyboardLink& Link() { return link_; }

  // Opens the keyboard's command collection; kExitOk, or kExitNoKeyboard
  // with a message when no keyboard is found.
  int Open(std::string_view notFoundMessage);

  // The exit status and message for a failed keyboard operation: a result
  // code when there is one, else what the last exchange showed.
  int Failure(int resultCode, std::string_view what) const;
  int Failure(std::string_view what) const;

  // The keyboard's default matrix; the built-in copy, with a notice, when
  // the keyboard does not give it (as the program does on attach).
  KeyMatrix ReadDefaultMatrix(std::string_view fallbackNotice);

 private:
  std::shared_ptr<sim::SimulatedKeyboard> keyboard_;
  std::unique_ptr<HidBackend> backend_;
  std::unique_ptr<PacketTrace> trace_;
  CHidDevice device_;
  WatchedChannel channel_;
  KeyboardLink link_;
};

}  // namespace cli
}  // namespace mvk
