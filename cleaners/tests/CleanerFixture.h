// A fake machine for the cleaner tests: drive C: with alice's profile, the
// registry, the folders behind the environment names and the process list.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "clean/tests/ScanTestSupport.h"
#include "cleaners/CleanerEnvironment.h"
#include "cleaners/CleanerLibrary.h"
#include "cleaners/CleanerScan.h"
#include "cleaners/fake/FakeCleanerFolders.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeProcess.h"
#include "platform/fake/FakeRegistry.h"

namespace bs {

class CleanerFixture {
public:
    CleanerFixture() { files.AddDrive('c', DriveType::Fixed); }

    CleanerEnvironment Environment() {
        return CleanerEnvironment{files, registry, folders, process, elevated, now};
    }

    CleanerFindResult Find(const std::vector<const CleanerEntry*>& ticked) {
        auto environment = Environment();
        ScanPacer pacer(clock, ui);
        return FindCleanerFiles(environment, pacer, ticked);
    }

    // One community entry read from `ini`, found alone.
    CleanerFindResult FindIni(const std::string& ini) {
        library = ReadCleanerLibrary(ini, CleanerOrigin::Community);
        std::vector<const CleanerEntry*> ticked;
        for (const auto& entry : library.entries)
            ticked.push_back(&entry);
        return Find(ticked);
    }

    static std::vector<std::string> Listed(const CleanerFindResult& result) {
        std::vector<std::string> paths;
        for (const auto& file : result.files)
            paths.push_back(file.file.path);
        return paths;
    }

    static bool Lists(const CleanerFindResult& result, const std::string& path) {
        auto paths = Listed(result);
        return std::find(paths.begin(), paths.end(), path) != paths.end();
    }

    FakeFileSystem files;
    FakeRegistry registry;
    FakeCleanerFolders folders;
    FakeProcess process;
    FakeClock clock;
    RecordingUi ui;
    bool elevated = false;
    FileTime now = 0;
    CleanerLibrary library;
};

} // namespace bs
