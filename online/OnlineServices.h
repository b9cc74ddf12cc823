// What the main window asks of the online services: the connection test and
// the update check that the memory monitor runs on its update tick.
#pragma once

namespace bs {

class OnlineServices {
public:
    virtual ~OnlineServices() = default;
    // Connected by modem or through a proxy; the local network alone, or a
    // failing query, is not online.
    virtual bool IsOnline() = 0;
    // True when the server's version text differs from the one kept locally.
    virtual bool CheckForUpdate() = 0;
};

// Until the program has an update server: never online, never an update.
class OfflineServices : public OnlineServices {
public:
    bool IsOnline() override { return false; }
    bool CheckForUpdate() override { return false; }
};

} // namespace bs
