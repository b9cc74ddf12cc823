// The About pane of the information view: the program icon, the product
// name and the version.
#pragma once

#include <string>

#include "core/win/Page.h"
#include "platform/win32/Scoped.h"

namespace bs {

class AboutPage : public Page {
public:
    // Controls, named as in the design.
    HWND ProgramIcon = nullptr;
    HWND ProductName = nullptr;
    HWND Version = nullptr;

    // "Ver " + the first line of version.txt.
    void SetVersion(const std::string& line);

protected:
    bool CreateControls() override;
    void LayoutControls(const Look& look, int width, int height) override;

private:
    ScopedIcon icon_;
    int iconSize_ = 0;
};

} // namespace bs
