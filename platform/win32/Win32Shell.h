// Shell links through COM (IShellLinkW and IPersistFile).
#pragma once

#include "platform/Shell.h"

namespace bs {

class Win32Shell : public Shell {
public:
    bool CreateLink(const std::string& target, const std::string& linkPath) override;
};

} // namespace bs
