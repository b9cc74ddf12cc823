// Monitor > "Keep list…": the entries of keep.txt in a list, with Remove and
// Close. A small window owned by the main window; it reads keep.txt when it
// opens and writes it at every Remove.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "core/TextTable.h"
#include "core/win/Dpi.h"
#include "core/win/WindowClass.h"
#include "platform/FileSystem.h"
#include "platform/win32/Scoped.h"

namespace bs {

class KeepListDialog {
public:
    // Text IDs of its captions, and of the message when keep.txt cannot be
    // written.
    enum TextId { TextRemove = 187, TextClose = 188, TextCannotSave = 189, TextTitle = 190 };

    explicit KeepListDialog(FileSystem& files) : files_(files) {}
    ~KeepListDialog();
    KeepListDialog(const KeepListDialog&) = delete;
    KeepListDialog& operator=(const KeepListDialog&) = delete;

    // Opens the window beside `owner` at `dpi` (the owner's) with the
    // keep.txt of `programDir`, or brings it to the front when it is open.
    // `showError` shows a message to the user. False when it could not be
    // made.
    bool Open(HWND owner, int dpi, const std::string& programDir, const LocalTexts& texts,
              std::function<void(const std::string&)> showError);
    void Close();
    // Lays the window out again at `dpi` (as on WM_DPICHANGED).
    void ApplyDpi(int dpi);
    // Re-captions the window in the language of `texts`.
    void ApplyTexts(const LocalTexts& texts);

    HWND Handle() const { return hwnd_; }
    HWND lstEntries() const { return lstEntries_; }
    HWND btnRemove() const { return btnRemove_; }
    HWND btnClose() const { return btnClose_; }
    // The entries the list shows.
    std::vector<std::string> Entries() const { return entries_; }

    // Removes the selected entry from keep.txt and the list.
    void btnRemoveClick();

private:
    template <class Window> friend LRESULT CALLBACK WindowEntry(HWND, UINT, WPARAM, LPARAM);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void Fill();
    void Layout();
    void UpdateButtons();

    FileSystem& files_;
    std::string programDir_;
    LocalTexts texts_;
    std::function<void(const std::string&)> showError_;
    Dpi dpi_;
    ScopedGdiObject font_;
    std::vector<std::string> entries_;
    HWND hwnd_ = nullptr;
    HWND lstEntries_ = nullptr;
    HWND btnRemove_ = nullptr;
    HWND btnClose_ = nullptr;
};

} // namespace bs
