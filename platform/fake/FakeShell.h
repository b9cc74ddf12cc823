// Records the links a test made the program create.
#pragma once

#include <map>
#include <string>

#include "platform/Shell.h"

namespace bs {

class FakeShell : public Shell {
public:
    // Link path -> target.
    std::map<std::string, std::string> links;
    bool linkResult = true;

    bool CreateLink(const std::string& target, const std::string& linkPath) override {
        if (linkResult)
            links[linkPath] = target;
        return linkResult;
    }
};

} // namespace bs
