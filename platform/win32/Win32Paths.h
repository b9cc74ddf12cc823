// The form in which the Win32 backend hands a path to the file system.
#pragma once

#include <string>

namespace bs {

// The "\\?\" form of a drive or UNC path, which the system takes exactly as
// written: no trailing dot or blank stripped, no device name such as "nul"
// or "COM1" looked up, up to 32,767 characters. Without it "C:\T\secret.txt."
// opens "C:\T\secret.txt" and "C:\T\nul.tmp" may open the device. A path
// with "/" or a "." or ".." segment keeps its usual form, so the system
// still resolves those; the walks behind Find resolve them before they start
// (ResolveDotSegments) and never hand over such a path.
std::wstring ExactPathForm(const std::string& path);

} // namespace bs
