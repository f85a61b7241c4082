// The main window's message numbers with the tags they must carry, its timer
// ids and periods, and the ids of its commands.
#pragma once

#include <cstdint>

#include "app/instance_request.h"
#include "app/language.h"

namespace mvk {

inline constexpr uint32_t kKillMessage = kQuitRequestMessage;  // tag "KILL"
inline constexpr uint32_t kKillTag = kQuitRequestTag;
inline constexpr uint32_t kOpenMessage = kOpenRequestMessage;  // tag "OPEN"
inline constexpr uint32_t kOpenTag = kOpenRequestTag;
inline constexpr uint32_t kInitMessage = 0x4D4E;
inline constexpr uint32_t kInitTag = 0x494E4954;  // "INIT"
inline constexpr uint32_t kProfilesMessage = 0x5452;
inline constexpr uint32_t kProfilesTag = 0x50524F46;  // "PROF"
inline constexpr uint32_t kLanguageMessage = kLanguageChangeMessage;
inline constexpr uint32_t kLanguageTag = kLanguageChangeTag;
inline constexpr uint32_t kDetachMessage = 0x4753;
inline constexpr uint32_t kDetachTag = 0;
inline constexpr uint32_t kSliderMessage = 0x28D1;
inline constexpr uint32_t kTrayNotifyMessage = 1725;


inline constexpr int kTrayMenuId = 140;
inline constexpr int kCommandOpen = 32771;
inline constexpr int kCommandAbout = 32773;
inline constexpr int kCommandExit = 32774;
inline constexpr int kCommandSystemAbout = 0x10;
inline constexpr int kCommandClose = 1124;
inline constexpr int kCommandMinimize = 1123;
inline constexpr int kCommandHelp = 1122;
inline constexpr int kCommandLink = 1121;
inline constexpr int kCommandWebSite = 1219;
inline constexpr int kCommandFacebook = 1220;
inline constexpr int kCommandTwitter = 1221;
inline constexpr int kCommandKeyboardTest = 1008;
inline constexpr int kCommandProfileMenuFirst = 9000;
inline constexpr int kCommandProfileMenuLast = 9200;
inline constexpr int kCommandProfileMenuBase = 9001;
inline constexpr int kCommandQuiet = 32779;
inline constexpr int kCommandFirmwareUpdate = 32780;

inline constexpr int kControlApply = 1006;
inline constexpr int kControlProfiles = 1005;
inline constexpr int kControlDefault = 1138;
inline constexpr int kControlOk = 1;
inline constexpr int kControlCancel = 2;

}  // namespace mvk
