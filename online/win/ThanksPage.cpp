#include "online/win/ThanksPage.h"

#include <algorithm>

#include "core/win/TextMeasure.h"
#include "core/win/WinText.h"

namespace bs {

const std::vector<const char*>& ThanksPage::Lines() {
    static const std::vector<const char*> lines = {
        "Special thanks to",
        "the translators of the Turkish, French and German texts,",
        "the translators of the Dutch, Romanian, Catalan and Slovak texts,",
        "zlib by Jean-loup Gailly and Mark Adler, which packs the backups,",
        "and GoogleTest, which runs the tests behind every build.",
    };
    return lines;
}

bool ThanksPage::CreateControls() {
    int id = 1;
    for (const char* line : Lines()) {
        HWND label = AddControl(L"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX, id++);
        if (!label)
            return false;
        SetText(label, line);
        lblLines.push_back(label);
    }
    return true;
}

void ThanksPage::LayoutControls(const Look& look, int width, int /*height*/) {
    const Dpi dpi = look.dpi;
    int left = dpi.Scale(20), top = dpi.Scale(20);
    int lineHeight = LineHeight(look.text) + dpi.Scale(4);
    for (size_t i = 0; i < lblLines.size(); ++i) {
        HFONT font = i == 0 ? look.title : look.text;
        int height = i == 0 ? LineHeight(look.title) + dpi.Scale(4) : lineHeight;
        SendMessageW(lblLines[i], WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        int textWidth = TextExtent(font, Lines()[i]).cx + dpi.Scale(4);
        MoveWindow(lblLines[i], left, top, std::min(textWidth, std::max(width - left, 1)), height,
                   TRUE);
        top += height + (i == 0 ? dpi.Scale(8) : dpi.Scale(2));
    }
}

} // namespace bs
