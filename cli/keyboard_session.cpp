#include "cli/keyboard_session.h"

#include <filesystem>
#include <string>
#include <system_error>

#include "app/program_services.h"
#include "cli/exit_codes.h"
#include "device/collection_match.h"
#include "protocol/commands.h"
#include "sim/simulated_keyboard.h"

namespace mvk::cli {
namespace {

SimulateChoice WithMemoryFile(SimulateChoice simulate) {
  if (simulate.enabled && simulate.memoryFile.empty()) {
    simulate.memoryFile = DefaultSimulatedKeyboardFile();
  }
  // The emulator keeps its memory only where its folder exists.
  if (!simulate.memoryFile.empty() && simulate.memoryFile.has_parent_path()) {
    std::error_code error;
    std::filesystem::create_directories(simulate.memoryFile.parent_path(), error);
  }
  return simulate;
}

std::string ResultText(int resultCode) {
  switch (resultCode) {
    case kResultNoReply: return "the keyboard did not answer";
    case kResultWriteFailed: return "the keyboard could not be written to";
    case kResultRefused: return "the keyboard refused (status 0xFF)";
    case kResultFailed: return "the keyboard reported a failure (status 0xFE)";
    default: return "the keyboard refused (result " + std::to_string(resultCode) + ")";
  }
}

}  // namespace

bool WatchedChannel::Write(std::span<const uint8_t> data, std::size_t* transferred,
                           uint32_t timeoutMs) {
  unanswered_ = !inner_.Write(data, transferred, timeoutMs);
  return !unanswered_;
}

bool WatchedChannel::Read(std::span<uint8_t> buffer, std::size_t* transferred, uint32_t timeoutMs) {
  unanswered_ = !inner_.Read(buffer, transferred, timeoutMs);
  return !unanswered_;
}

KeyboardSession::KeyboardSession(const SimulateChoice& simulate, bool trace)
    : keyboard_(MakeSimulatedKeyboard(WithMemoryFile(simulate))),
      backend_(MakeHidBackend(keyboard_)),
      trace_(trace ? PacketTrace::ToStandardError() : nullptr),
      device_(*backend_),
      channel_(device_),
      link_(channel_) {
  link_.trace = trace_.get();
}

KeyboardSession::~KeyboardSession() { device_.Close(); }

int KeyboardSession::Open(std::string_view notFoundMessage) {
  device_.EnumerateDevices();
  const bool found =
      OpenKeyboardCollection(device_, kCommandCollection, {.read = true, .write = true});
  device_.FreeDeviceList();
  if (!found) {
    return Fail(kExitNoKeyboard, notFoundMessage);
  }
  link_.DeviceConnected = 1;
  return kExitOk;
}

int KeyboardSession::Failure(int resultCode, std::string_view what) const {
  const bool silent = resultCode == kResultNoReply || resultCode == kResultWriteFailed;
  return Fail(silent ? kExitNoKeyboard : kExitRefused,
              std::string(what) + ": " + ResultText(resultCode));
}

int KeyboardSession::Failure(std::string_view what) const {
  if (channel_.LastExchangeUnanswered()) {
    return Failure(kResultNoReply, what);
  }
  return Fail(kExitRefused, std::string(what) + ": the keyboard refused");
}

KeyMatrix KeyboardSession::ReadDefaultMatrix(std::string_view fallbackNotice) {
  KeyMatrix matrix{};
  if (KbReadDefaultMatrix(link_, matrix.data()) != kResultOk) {
    Notice(fallbackNotice);
    return BuiltInDefaultMatrix();
  }
  return matrix;
}

}  // namespace mvk::cli
