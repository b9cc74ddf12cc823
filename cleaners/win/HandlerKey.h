// A cleanup handler's key under VolumeCaches: its class and the names it
// gives in case the handler itself gives none.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/win32/Scoped.h"

namespace bs {

inline constexpr const wchar_t* VolumeCachesPath =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\VolumeCaches";

// The sub-key names under HKLM\...\VolumeCaches; empty when it is missing.
std::vector<std::wstring> VolumeCacheKeyNames();

// Opens one handler's key, writable where our rights allow (handlers keep
// their state there), else for reading. The error code when neither works.
ScopedKey OpenVolumeCacheKey(const std::wstring& name, LONG& error);

// A REG_SZ or REG_EXPAND_SZ value as stored (not expanded); nullopt when
// missing or of another type. "" reads the default value.
std::optional<std::wstring> ReadKeyString(HKEY key, const wchar_t* name);

// A Display or Description value as a user reads it: "@file,-id" strings
// are loaded from the file's resources. Empty when missing or unloadable.
std::wstring ReadKeyText(HKEY key, const wchar_t* name);

} // namespace bs
