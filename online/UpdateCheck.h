// The update check: fetch the server's version file into version.txt beside
// the program and tell whether its first line differs from the one kept
// before. The text is opaque and compared exactly, so any change counts.
#pragma once

#include <optional>
#include <string>

#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/Http.h"

namespace bs {

class UpdateCheck {
public:
    // The whole check, connecting included, ends within this time.
    static constexpr uint32_t TimeoutMs = 5000;
    // A version file is one short line; a bigger answer is not one.
    static constexpr uint64_t MaxVersionFileSize = 4096;

    // `versionAddress`: the whole address of the server's version file.
    UpdateCheck(FileSystem& files, Http& http, Clock& clock, std::string programDir,
                std::string versionAddress);

    // True when the fetched first line differs from LocalVersion. Only a
    // complete answer with a 2xx status replaces version.txt, in one step;
    // every failure leaves the file as it was and gives false.
    bool CheckForUpdate();
    // The first line of version.txt just before the last check, "0" when
    // there was none.
    const std::string& LocalVersion() const { return localVersion_; }

private:
    std::optional<std::string> FirstLineOfVersionFile();

    FileSystem& files_;
    Http& http_;
    Clock& clock_;
    std::string programDir_;
    std::string versionAddress_;
    std::string localVersion_ = "0";
};

} // namespace bs
