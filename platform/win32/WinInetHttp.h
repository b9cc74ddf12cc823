// HTTP through WinInet: one session, connection and request per Send, all
// closed with the response. Safe to use from any thread.
#pragma once

#include "platform/Http.h"

namespace bs {

class WinInetHttp : public Http {
public:
    std::unique_ptr<HttpResponse> Send(const HttpRequest& request) override;
};

} // namespace bs
