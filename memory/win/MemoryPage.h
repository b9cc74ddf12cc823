// The Memory page of the resources view (FlatPanel3). Its rows and gauges
// come with the memory monitor; until then it is an empty frame.
#pragma once

#include "core/win/Page.h"

namespace bs {

class MemoryPage : public Page {
protected:
    bool CreateControls() override { return true; }
    void LayoutControls(const Look&, int, int) override {}
};

} // namespace bs
