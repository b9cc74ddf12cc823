#include "platform/ReplaceFile.h"

namespace bs {

bool ReplaceFileContent(FileSystem& files, const std::string& path, std::string_view content) {
    // A fixed name rather than a unique one: a write cut short by a crash
    // leaves at most one stray file, which the next write reuses.
    const std::string temporary = path + ".tmp";
    bool written = false;
    {
        auto stream = files.Create(temporary);
        if (!stream)
            return false;
        written = stream->Write(content.data(), content.size()) && stream->Flush();
    } // closed here: a file still open cannot be moved
    if (written && files.MoveReplace(temporary, path))
        return true;
    files.RemoveFile(temporary);
    return false;
}

} // namespace bs
