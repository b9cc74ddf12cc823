// "Back to where they were": the files of a backup archive in a checkable
// list (name, original folder, size, date, what is at the place now), all
// ticked but those whose place is taken, and Put back and Close. A small
// window owned by the main window; the owner does the putting back.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "backup/PutBack.h"
#include "core/TextTable.h"
#include "core/win/Dpi.h"
#include "platform/win32/Scoped.h"

namespace bs {

class PutBackDialog {
public:
    enum TextId {
        TextName = 28,
        TextSize = 30,
        TextDate = 31,
        TextClose = 188,
        TextTitle = 236,
        TextPutBack = 237,
        TextFolder = 238,
        TextPlace = 239,
        TextFree = 240,
        TextTaken = 241,
        TextLink = 242,
        TextBadName = 243,
    };
    using DateText = std::function<std::string(int32_t dosDateTime)>;
    using PutBackHandler = std::function<void(const std::vector<std::string>& tickedPaths)>;

    PutBackDialog() = default;
    ~PutBackDialog();
    PutBackDialog(const PutBackDialog&) = delete;
    PutBackDialog& operator=(const PutBackDialog&) = delete;

    // Opens the window beside `owner` at `dpi` with the files of `archive`,
    // or shows them in the open one. False when it could not be made.
    bool Open(HWND owner, int dpi, const LocalTexts& texts, const std::string& archive,
              std::vector<PutBackRow> rows, DateText dateText, PutBackHandler onPutBack);
    // Shows the rows again, as after a put back: ticks as for a new list.
    void Fill(std::vector<PutBackRow> rows);
    void Close();
    void ApplyDpi(int dpi);
    void ApplyTexts(const LocalTexts& texts);

    HWND Handle() const { return hwnd_; }
    HWND lblArchive() const { return lblArchive_; }
    HWND lvFiles() const { return lvFiles_; }
    HWND btnPutBack() const { return btnPutBack_; }
    HWND btnClose() const { return btnClose_; }
    const std::string& Archive() const { return archive_; }
    const std::vector<PutBackRow>& Rows() const { return rows_; }
    bool Ticked(int row) const;
    void SetTicked(int row, bool ticked);
    std::vector<std::string> TickedPaths() const;

    // Hands the ticked files to the owner.
    void btnPutBackClick();

private:
    template <class Window> friend LRESULT CALLBACK WindowEntry(HWND, UINT, WPARAM, LPARAM);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void Layout();
    std::string PlaceText(PutBackPlace place) const;

    LocalTexts texts_;
    std::string archive_;
    std::vector<PutBackRow> rows_;
    DateText dateText_;
    PutBackHandler onPutBack_;
    Dpi dpi_;
    ScopedGdiObject font_;
    HWND hwnd_ = nullptr;
    HWND lblArchive_ = nullptr;
    HWND lvFiles_ = nullptr;
    HWND btnPutBack_ = nullptr;
    HWND btnClose_ = nullptr;
};

} // namespace bs
