// What the connection monitor and the event listener ask of the main window.
// They never touch window data: they call this interface, which the main
// window implements by delivering the request to its own thread.
#pragma once

#include <stop_token>
#include <string_view>

namespace mvk {

// Tray icon resources.
inline constexpr int kTrayIconNoKeyboard = 128;
inline constexpr int kTrayIconAttached = 141;
inline constexpr int kTrayIconAlternate = 142;

// Window timers armed from other threads (interval 0, one shot).
inline constexpr int kTimerLightingChanged = 1051;
inline constexpr int kTimerKeyboardReset = 1053;

class WindowSide {
 public:
  virtual ~WindowSide() = default;

  // Synchronous: return once the window has handled the notice, or at once
  // when `stop` is requested (the program is shutting down), so a waiting
  // thread can always be joined.
  virtual void SendDetachNotice(std::stop_token stop) = 0;    // message 0x4753
  virtual void SendProfilesNotice(std::stop_token stop) = 0;  // message 0x5452, tag "PROF"
  // Posted: returns at once.
  virtual void PostOpenRequest() = 0;                         // message 0x5350, tag "OPEN"
  virtual void HideWindow() = 0;
  virtual void ArmTimer(int timerId) = 0;
  // Mode 0 with an icon shows and remembers it; mode 0 with icon 0 shows the
  // remembered one again; mode 1 shows icon 142 without remembering it.
  virtual void SetTrayIcon(int mode, int iconId) = 0;
  // A message box with the language text of `key` and an OK button;
  // returns when it is closed or when `stop` is requested.
  virtual void ShowMessage(std::string_view key, std::stop_token stop) = 0;
};

}  // namespace mvk
