// Clock and locale-dependent date formatting through Win32.
#pragma once

#include "platform/Clock.h"

namespace bs {

class Win32Clock : public Clock {
public:
    FileTime NowUtc() override;
    uint64_t TickMilliseconds() override;
    std::optional<FileTime> UtcToLocal(FileTime utc) override;
    std::optional<FileTime> LocalToUtc(FileTime local) override;
    std::optional<std::string> FormatDateTime(const DateTime& local) override;
    DateTimeSeparators LocaleSeparators() override;
};

} // namespace bs
