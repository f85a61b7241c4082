// The keyboard's command set: one function per command. Each returns the
// first result code other than kResultOk that it meets (see packet.h).
#pragma once

#include <cstddef>
#include <cstdint>

#include "protocol/keyboard_link.h"
#include "protocol/packet.h"

namespace mvk {

inline constexpr std::size_t kSettingsBlockSize = 44;
inline constexpr std::size_t kKeyMatrixSize = 378;
inline constexpr int kProfileCount = 3;

int KbBeginUpdate(KeyboardLink& link);                                   // 1
int KbEndUpdate(KeyboardLink& link);                                     // 2, after 10 ms
int KbReadSettings(KeyboardLink& link, uint8_t* dest44);                 // 3
int KbWriteSettings(KeyboardLink& link, const uint8_t* block44);         // 4
int KbReadMemory(KeyboardLink& link, uint8_t* dest56, uint8_t length, uint16_t offset);  // 5
int KbWriteMemory(KeyboardLink& link, const uint8_t* bytes, uint8_t length,
                  uint16_t offset);                                      // 6
int KbReadKeyMap(KeyboardLink& link, uint8_t* dest378, int bank);        // 7
int KbWriteKeyMap(KeyboardLink& link, const uint8_t* source378, int bank);  // 8
int KbReadMacroMemory(KeyboardLink& link, uint8_t* dest, std::size_t count);         // 9
int KbWriteMacroMemory(KeyboardLink& link, const uint8_t* source, std::size_t count);  // 10
int KbCommand11(KeyboardLink& link);                                     // 11
int KbCommand12(KeyboardLink& link);                                     // 12, after 10 ms
int KbTest(KeyboardLink& link);                                          // 13
int KbCommand14(KeyboardLink& link);                                     // 14
int KbReadDefaultMatrix(KeyboardLink& link, uint8_t* dest378);           // 15
int KbReadKeyColours(KeyboardLink& link, uint8_t* dest56, uint8_t length, int ledIndex,
                     int bank);                                          // 16
// Command 17 writes into the bank of the shown profile.
int KbWriteKeyColours(KeyboardLink& link, const uint8_t* bytes, uint8_t length, int ledIndex,
                      int shownProfile);                                 // 17
int KbEnterBootMode(KeyboardLink& link);                                 // 0xEE, no reply

}  // namespace mvk
