// Thin typed wrappers over the common controls. Each holds only the HWND,
// reads like the API and takes and gives UTF-8, so that raw CB_/PBM_/SB_/TCM_
// messages and fixed-size buffers stay in this one file.
#pragma once

#include <windows.h>

#include <string>

namespace bs {

class ComboBox {
public:
    explicit ComboBox(HWND window = nullptr) : window_(window) {}
    HWND Handle() const { return window_; }
    int Add(const std::string& text) const;
    void Clear() const;
    int Count() const;
    // -1 when nothing is selected.
    int Selection() const;
    // -1 selects nothing.
    void Select(int index) const;
    std::string Item(int index) const;

private:
    HWND window_;
};

// A check box or radio button.
class CheckBox {
public:
    explicit CheckBox(HWND window = nullptr) : window_(window) {}
    HWND Handle() const { return window_; }
    bool Checked() const;
    void SetChecked(bool checked) const;

private:
    HWND window_;
};

class ProgressBar {
public:
    explicit ProgressBar(HWND window = nullptr) : window_(window) {}
    HWND Handle() const { return window_; }
    void SetRange(int minimum, int maximum) const;
    int Maximum() const;
    void SetPosition(int position) const;
    int Position() const;
    void SetStep(int step) const;
    void Step() const;

private:
    HWND window_;
};

class StatusBar {
public:
    explicit StatusBar(HWND window = nullptr) : window_(window) {}
    HWND Handle() const { return window_; }
    void SetText(const std::string& text, int part = 0) const;
    std::string Text(int part = 0) const;

private:
    HWND window_;
};

// A tool bar of check-style buttons with the common controls' own images.
class ToolBar {
public:
    struct Button {
        int command;
        int image;
        bool hidden = false;
        bool checked = false;
    };
    explicit ToolBar(HWND window = nullptr) : window_(window) {}
    HWND Handle() const { return window_; }
    // Loads the standard images at 16 or 24 pixels and adds grouped
    // check buttons, one for each entry.
    void AddCheckButtons(const Button* buttons, int count, bool largeImages) const;
    void SetChecked(int command, bool checked) const;
    bool Checked(int command) const;
    int ButtonWidth() const;

private:
    HWND window_;
};

class TabControl {
public:
    explicit TabControl(HWND window = nullptr) : window_(window) {}
    HWND Handle() const { return window_; }
    void Add(const std::string& text) const;
    void SetText(int index, const std::string& text) const;
    std::string Text(int index) const;
    int Count() const;
    int Selection() const;
    void Select(int index) const;
    // The area a page takes inside a tab control of the given size.
    RECT PageArea(int width, int height) const;

private:
    HWND window_;
};

} // namespace bs
