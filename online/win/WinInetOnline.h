// The program's online services: the platform's connection query, the
// update check and requests over WinInet, and the addresses from
// brimsweep.ini beside the program.
#pragma once

#include <memory>
#include <string>

#include "online/OnlineServices.h"
#include "online/UpdateCheck.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"

namespace bs {

class WinInetOnline : public OnlineServices {
public:
    WinInetOnline(FileSystem& files, Clock& clock, const std::string& programDir);

    bool IsOnline() override;
    bool CheckForUpdate() override;
    ConnectionState Connection() override;
    const Endpoints& Addresses() override { return endpoints_; }
    std::shared_ptr<Http> Web() override { return http_; }

private:
    Endpoints endpoints_;
    std::shared_ptr<Http> http_;
    UpdateCheck updateCheck_;
};

} // namespace bs
