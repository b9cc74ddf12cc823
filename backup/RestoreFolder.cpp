#include "backup/RestoreFolder.h"

#include <cstdio>

#include "backup/RestorePath.h"
#include "platform/DateConv.h"
#include "platform/Text.h"

namespace bs {

std::string RestoreFolderName(const std::string& archive, const DateTime& now) {
    std::string name = ExtractFileName(archive);
    if (size_t dot = name.find_last_of('.'); dot != std::string::npos && dot > 0)
        name.resize(dot);
    char time[32];
    std::snprintf(time, sizeof time, " %04d-%02d-%02d %02d.%02d", now.year, now.month, now.day,
                  now.hour, now.minute);
    return name + time;
}

RestoreFolder MakeRestoreFolder(FileSystem& files, Clock& clock, const std::string& root,
                                const std::string& archive) {
    std::string base = WithBackslash(root);
    std::string rootPath = base.substr(0, base.size() - 1);
    if (LinkOnTheWay(files, rootPath))
        return {RestoreFolder::Fault::Link, base};
    auto entry = files.Entry(rootPath);
    if (!entry && !files.CreatePrivateFolder(rootPath) && !files.Entry(rootPath))
        return {RestoreFolder::Fault::CannotCreate, base};
    // Made by someone else between the two looks: judged again.
    if (LinkOnTheWay(files, rootPath))
        return {RestoreFolder::Fault::Link, base};
    if (entry && !entry->IsDirectory())
        return {RestoreFolder::Fault::CannotCreate, base};

    DateTime now;
    if (auto local = clock.UtcToLocal(clock.NowUtc()))
        now = FileTimeToDateTime(*local);
    const std::string name = RestoreFolderName(archive, now);
    for (int attempt = 1; attempt <= 100; ++attempt) {
        std::string folder = base + name;
        if (attempt > 1)
            folder += " (" + std::to_string(attempt) + ")";
        if (files.CreatePrivateFolder(folder))
            return {RestoreFolder::Fault::None, folder + "\\"};
        // Taken (by an earlier restore in the same minute, or by anyone):
        // the next name; anything else cannot be made at all.
        if (!files.Entry(folder))
            return {RestoreFolder::Fault::CannotCreate, folder + "\\"};
    }
    return {RestoreFolder::Fault::CannotCreate, base + name + "\\"};
}

} // namespace bs
