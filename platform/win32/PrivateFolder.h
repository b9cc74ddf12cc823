// A folder only its maker and the administrators may open: restored files
// (cookies, history) must not become readable to every user of the machine
// through the rights a folder inherits below C:\.
#pragma once

#include <string>

namespace bs {

// Creates the one folder `path` (the parent must exist) with a protected
// access list that grants full control to the user of this process and to
// the Administrators group only, inherited by everything created inside.
// False when anything is already at `path` or the folder cannot be made.
bool CreatePrivateFolderW32(const std::wstring& path);

// The string form (S-1-5-...) of the process user's SID; empty on failure.
std::wstring ProcessUserSid();

} // namespace bs
