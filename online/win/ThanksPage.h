// The Special Thanks pane of the information view: who translated the
// texts and which libraries the program is built with. The same English
// lines in every language.
#pragma once

#include <vector>

#include "core/win/Page.h"

namespace bs {

class ThanksPage : public Page {
public:
    static const std::vector<const char*>& Lines();
    std::vector<HWND> lblLines;

protected:
    bool CreateControls() override;
    void LayoutControls(const Look& look, int width, int height) override;
};

} // namespace bs
