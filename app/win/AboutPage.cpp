#include "app/win/AboutPage.h"

#include <algorithm>

#include "BrimVersion.h"

#include "app/res/resource.h"
#include "core/win/TextMeasure.h"
#include "core/win/WinText.h"

namespace bs {

namespace {

enum : int { IdProgramIcon = 1, IdProductName, IdVersion };
const char ProductNameText[] = "Brimsweep Pro";

} // namespace

void AboutPage::SetVersion(const std::string& line) {
    SetText(Version, "Ver " + line);
}

bool AboutPage::CreateControls() {
    ProgramIcon = AddControl(L"STATIC", SS_ICON, IdProgramIcon);
    ProductName = AddControl(L"STATIC", SS_NOPREFIX, IdProductName);
    Version = AddControl(L"STATIC", SS_NOPREFIX, IdVersion);
    if (!ProgramIcon || !ProductName || !Version)
        return false;
    SetText(ProductName, ProductNameText);
    // The built version until version.txt, the update server's text, says
    // otherwise.
    SetVersion(BRIM_VERSION_TEXT);
    return true;
}

void AboutPage::LayoutControls(const Look& look, int width, int /*height*/) {
    const Dpi dpi = look.dpi;
    int iconSize = dpi.Scale(32);
    if (iconSize != iconSize_) {
        // An icon drawn at its own size stays sharp; a stretched one blurs.
        icon_.Reset(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr),
                                                  MAKEINTRESOURCEW(IDI_BRIMSWEEP), IMAGE_ICON,
                                                  iconSize, iconSize, LR_DEFAULTCOLOR)));
        SendMessageW(ProgramIcon, STM_SETICON, reinterpret_cast<WPARAM>(icon_.Get()), 0);
        iconSize_ = iconSize;
    }
    int left = dpi.Scale(20), top = dpi.Scale(20);
    MoveWindow(ProgramIcon, left, top, iconSize, iconSize, TRUE);

    int textLeft = left + iconSize + dpi.Scale(18);
    int textWidth = std::max(width - textLeft - dpi.Scale(10), dpi.Scale(40));
    SendMessageW(ProductName, WM_SETFONT, reinterpret_cast<WPARAM>(look.title), FALSE);
    SendMessageW(Version, WM_SETFONT, reinterpret_cast<WPARAM>(look.text), FALSE);
    int titleHeight = LineHeight(look.title) + dpi.Scale(2);
    int titleWidth =
        std::min<int>(TextExtent(look.title, ProductNameText).cx + dpi.Scale(8), textWidth);
    MoveWindow(ProductName, textLeft, top + dpi.Scale(2), titleWidth, titleHeight, TRUE);
    MoveWindow(Version, textLeft, top + dpi.Scale(2) + titleHeight + dpi.Scale(6), textWidth,
               LineHeight(look.text) + dpi.Scale(2), TRUE);
}

} // namespace bs
