// Hints (tool tips) of the form's controls, kept in one tool-tip window.
#pragma once

#include <windows.h>

#include <map>
#include <string>

namespace bs {

class Hints {
public:
    explicit Hints(HWND owner);
    ~Hints();
    Hints(const Hints&) = delete;
    Hints& operator=(const Hints&) = delete;

    void Set(HWND control, const std::string& text);
    // A tool-bar button has no window of its own: its hint is kept here and
    // handed out through TTN_GETDISPINFO.
    void SetToolButton(int commandId, const std::string& text);
    std::string Get(HWND control) const;
    std::string GetToolButton(int commandId) const;

private:
    HWND owner_;
    HWND tooltip_ = nullptr;
    std::map<HWND, std::wstring> texts_;
    std::map<int, std::string> toolButtonTexts_;
};

} // namespace bs
