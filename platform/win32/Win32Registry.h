// The registry through the Win32 wide-character API.
#pragma once

#include "platform/Registry.h"

namespace bs {

class Win32Registry : public Registry {
public:
    std::unique_ptr<RegistryKey> Open(RegRoot root, const std::string& path, RegAccess access,
                                      bool create) override;
    std::unique_ptr<RegistryKey> OpenInView(RegView view, RegRoot root, const std::string& path,
                                            RegAccess access, bool create) override;
};

} // namespace bs
