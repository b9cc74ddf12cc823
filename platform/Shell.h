// The Windows shell's links (.lnk files).
#pragma once

#include <string>

namespace bs {

class Shell {
public:
    virtual ~Shell() = default;
    // Saves a link at `linkPath` whose only property is `target`, replacing
    // a link of that name. False when it could not be made.
    virtual bool CreateLink(const std::string& target, const std::string& linkPath) = 0;
};

} // namespace bs
