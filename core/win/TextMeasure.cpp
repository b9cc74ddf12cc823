#include "core/win/TextMeasure.h"

#include <algorithm>

#include "core/TextTable.h"
#include "platform/win32/Scoped.h"
#include "platform/win32/Utf.h"

namespace bs {

namespace {

std::wstring WithoutMnemonics(const std::string& text) {
    std::wstring wide = Widen(text), shown;
    for (size_t i = 0; i < wide.size(); ++i) {
        if (wide[i] == L'&' && i + 1 < wide.size())
            ++i;
        shown.push_back(wide[i]);
    }
    return shown;
}

} // namespace

SIZE TextExtent(HFONT font, const std::string& text) {
    ScopedGetDc screen(nullptr);
    ScopedSelectObject selected(screen.Get(), font);
    std::wstring shown = WithoutMnemonics(text);
    SIZE size = {0, 0};
    if (!GetTextExtentPoint32W(screen.Get(), shown.c_str(), static_cast<int>(shown.size()), &size))
        return {0, 0};
    return size;
}

int WidestText(HFONT font, std::initializer_list<int> ids) {
    int widest = 0;
    for (int language : TranslatedLanguages())
        for (int id : ids)
            widest = std::max<int>(widest, TextExtent(font, LocalText(language, id)).cx);
    return widest;
}

int LineHeight(HFONT font) {
    ScopedGetDc screen(nullptr);
    ScopedSelectObject selected(screen.Get(), font);
    TEXTMETRICW metrics = {};
    if (!GetTextMetricsW(screen.Get(), &metrics))
        return 16;
    return metrics.tmHeight;
}

} // namespace bs
