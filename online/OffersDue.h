// Whether the special-offers dialog is due at this start.
#pragma once

#include <string>

#include "online/OnlineServices.h"
#include "platform/FileSystem.h"

namespace bs {

// Only while online, and only until newsinfo.txt says "1": a missing,
// unreadable or empty file, or any other first line, means never answered.
bool OffersDue(OnlineServices& online, FileSystem& files, const std::string& programDir);

} // namespace bs
