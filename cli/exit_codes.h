// What morvakinctl's exit status tells a script, and how failures reach the
// user: one line on standard error.
#pragma once

#include <string_view>

namespace mvk::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitUsage = 1;       // bad arguments
inline constexpr int kExitBadFile = 2;     // a file that is missing, damaged or not ours
inline constexpr int kExitNoKeyboard = 3;  // no keyboard, or it does not answer
inline constexpr int kExitRefused = 4;     // the keyboard answered with a refusal

// Prints "morvakinctl: <message>" on standard error and returns `exitCode`.
int Fail(int exitCode, std::string_view message);
// A note on standard error that does not change the outcome.
void Notice(std::string_view message);

}  // namespace mvk::cli
