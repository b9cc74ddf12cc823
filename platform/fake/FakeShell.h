// Records the links a test made the program create and the files it showed.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/Shell.h"

namespace bs {

class FakeShell : public Shell {
public:
    // Link path -> target.
    std::map<std::string, std::string> links;
    bool linkResult = true;
    std::vector<std::string> shownInFolder;

    bool CreateLink(const std::string& target, const std::string& linkPath) override {
        if (linkResult)
            links[linkPath] = target;
        return linkResult;
    }
    bool ShowInFolder(const std::string& path) override {
        shownInFolder.push_back(path);
        return true;
    }
};

} // namespace bs
