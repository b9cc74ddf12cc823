// Where the software tests put their uninstall entries: the machine's own
// view, its 32-bit view as a 64-bit Windows lays it out, and the user's.
#pragma once

#include <string>

#include "platform/Registry.h"

namespace bs::uninstall_keys {

inline const std::string Uninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
inline const std::string Uninstall32 =
    "Software\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
inline constexpr RegRoot Hklm = RegRoot::LocalMachine;
inline constexpr RegRoot Hkcu = RegRoot::CurrentUser;

} // namespace bs::uninstall_keys
