// Environment names for the engine tests: a Windows 10 user "alice" on C:,
// changeable per test.
#pragma once

#include <map>

#include "cleaners/CleanerFolders.h"
#include "platform/Text.h"

namespace bs {

class FakeCleanerFolders : public CleanerFolders {
public:
    FakeCleanerFolders() {
        Set("UserProfile", {"c:\\Users\\alice"});
        Set("AppData", {"c:\\Users\\alice\\AppData\\Roaming"});
        Set("LocalAppData", {"c:\\Users\\alice\\AppData\\Local"});
        Set("LocalLowAppData", {"c:\\Users\\alice\\AppData\\LocalLow"});
        Set("Temp", {"c:\\Users\\alice\\AppData\\Local\\Temp"});
        Set("Documents", {"c:\\Users\\alice\\Documents"});
        Set("ProgramData", {"c:\\ProgramData"});
        Set("CommonAppData", {"c:\\ProgramData"});
        Set("WinDir", {"c:\\Windows"});
        Set("SystemRoot", {"c:\\Windows"});
        Set("SystemDrive", {"c:"});
        Set("ProgramFiles", {"c:\\Program Files", "c:\\Program Files (x86)"});
        Set("CommonProgramFiles",
            {"c:\\Program Files\\Common Files", "c:\\Program Files (x86)\\Common Files"});
        Set("Public", {"c:\\Users\\Public"});
        Set("UserName", {"alice"});
    }

    void Set(std::string_view variable, std::vector<std::string> folders) {
        folders_[UpperAscii(variable)] = std::move(folders);
    }

    std::vector<std::string> Folders(std::string_view variable) override {
        ++asked;
        auto it = folders_.find(UpperAscii(variable));
        return it == folders_.end() ? std::vector<std::string>{} : it->second;
    }

    int asked = 0;

private:
    std::map<std::string, std::vector<std::string>> folders_;
};

} // namespace bs
