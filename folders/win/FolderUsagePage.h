// The Folder Usage page of the resources view (pnlPie). Its chart and drive
// box come with the folder statistics; until then it is an empty frame.
#pragma once

#include "core/win/Page.h"

namespace bs {

class FolderUsagePage : public Page {
protected:
    bool CreateControls() override { return true; }
    void LayoutControls(const Look&, int, int) override {}
};

} // namespace bs
