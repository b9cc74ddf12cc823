// Registering clean.bat to run once at the next start of Windows.
#pragma once

#include <string>

#include "platform/Registry.h"

namespace bs {

inline constexpr const char* RunOnceKey = "\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
inline constexpr const char* RunOnceValueName = "Brimsweep";
inline constexpr const char* RunOnceFailedMessage = "Failed to set data for 'Brimsweep'";

enum class StartOnceRoot { LocalMachine, CurrentUser, None };

// Writes the string value "Brimsweep" = `batchPath` in double quotes under the
// RunOnce key of HKEY_LOCAL_MACHINE (the key created when missing). The value
// is a command line: unquoted, "C:\Program Files\..." would start
// "C:\Program.exe" whenever such a file exists. A standard user may not
// write there; the value then goes under HKEY_CURRENT_USER's RunOnce key,
// which runs at that user's next log-on. None when both fail: show
// RunOnceFailedMessage. Without `machineWide` (the batch's folder may be
// changed by users other than the administrators, who could put their own
// deletebat.exe there) only the user's own RunOnce key is written: what
// runs then has no more rights than the user who could have changed it,
// and a machine-wide value an earlier Delete left for the same batch goes.
StartOnceRoot RegisterStartOnce(Registry& registry, const std::string& batchPath,
                                bool machineWide = true);

} // namespace bs
