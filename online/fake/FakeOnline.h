// Scripted online services for window tests: counts the update checks.
#pragma once

#include "online/OnlineServices.h"

namespace bs {

class FakeOnline : public OnlineServices {
public:
    bool online = false;
    bool updateDue = false;
    int checks = 0;

    bool IsOnline() override { return online; }
    bool CheckForUpdate() override {
        ++checks;
        return updateDue;
    }
};

} // namespace bs
