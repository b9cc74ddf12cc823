// The Windows shell: links (.lnk files) and folder windows.
#pragma once

#include <string>

namespace bs {

class Shell {
public:
    virtual ~Shell() = default;
    // Saves a link at `linkPath` whose only property is `target`, replacing
    // a link of that name. False when it could not be made.
    virtual bool CreateLink(const std::string& target, const std::string& linkPath) = 0;
    // Opens a window on the folder of the file at `path` with the file
    // selected. False when the shell could not.
    virtual bool ShowInFolder(const std::string& path) = 0;
};

} // namespace bs
