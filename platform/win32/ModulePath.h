// Where the running executable lives.
#pragma once

#include <string>

namespace bs {

// The full path of the running executable; empty on failure.
std::wstring ExecutablePath();
// The folder of the running executable, ending in "\"; empty on failure.
std::wstring ExecutableFolder();

} // namespace bs
