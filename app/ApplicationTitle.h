// The application title: the executable's file name without its extension,
// every character after the first in lower case. It also names the
// single-instance lock.
#pragma once

#include <string>

namespace bs {

std::string ApplicationTitle(const std::string& executablePath);

} // namespace bs
