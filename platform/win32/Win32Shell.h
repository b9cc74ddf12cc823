// Shell links through COM (IShellLinkW and IPersistFile); folder windows
// with a file selected.
#pragma once

#include "platform/Shell.h"

namespace bs {

class Win32Shell : public Shell {
public:
    bool CreateLink(const std::string& target, const std::string& linkPath) override;
    bool ShowInFolder(const std::string& path) override;
};

} // namespace bs
