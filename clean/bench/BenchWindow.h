// What the benchmarks share: wall and CPU clocks, and a window with the
// status bar, progress bar and list view that the main window gives the
// engine, so that a benchmark pays what a Find pays.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/ResultsList.h"
#include "platform/UiPort.h"
#include "platform/win32/Utf.h"

namespace bench {

inline double Seconds() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// A recursive FindFirstFileExW walk that only counts entries: the floor any
// Find over the tree stands on.
inline long long BareWalk(const std::wstring& folder) {
    long long count = 0;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileExW((folder + L"*.*").c_str(), FindExInfoBasic, &data,
                                   FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    do {
        if (data.cFileName[0] == L'.')
            continue;
        ++count;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            count += BareWalk(folder + data.cFileName + L"\\");
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return count;
}

inline double CpuSeconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto value = [](const FILETIME& t) {
        return static_cast<double>((static_cast<uint64_t>(t.dwHighDateTime) << 32) |
                                   t.dwLowDateTime) /
               1e7;
    };
    return value(kernel) + value(user);
}

// What the main window does for the engine: a status bar set and repainted at
// once, a progress bar, a pump of pending messages.
class WindowUi : public bs::UiPort {
public:
    WindowUi(HWND status, HWND progress) : status_(status), progress_(progress) {}
    void SetStatus(const std::string& text) override {
        SendMessageW(status_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(bs::Widen(text).c_str()));
        UpdateWindow(status_);
    }
    void SetProgressMax(int maximum) override {
        SendMessageW(progress_, PBM_SETRANGE32, 0, maximum);
    }
    void SetProgressPosition(int position) override {
        SendMessageW(progress_, PBM_SETPOS, static_cast<WPARAM>(position), 0);
    }
    void StepProgress() override { SendMessageW(progress_, PBM_STEPIT, 0, 0); }
    void PumpEvents() override {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    bool StopRequested() const override { return false; }
    int Ask(const std::string&, const std::string&, unsigned) override { return bs::AnswerYes; }

private:
    HWND status_;
    HWND progress_;
};

// Rows go into a real report-style list view, painting suspended meanwhile.
class ListViewResults : public bs::ResultsList {
public:
    explicit ListViewResults(HWND list) : list_(list) {}
    void Clear() override {
        ListView_DeleteAllItems(list_);
        rows_ = 0;
    }
    void SetColumnCaptions(const std::vector<std::string>& captions) override {
        while (ListView_DeleteColumn(list_, 0)) {
        }
        for (size_t i = 0; i < captions.size(); ++i) {
            std::wstring text = bs::Widen(captions[i]);
            LVCOLUMNW column = {};
            column.mask = LVCF_TEXT | LVCF_WIDTH;
            column.cx = 140;
            column.pszText = text.data();
            SendMessageW(list_, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
        }
    }
    void BeginUpdate() override { SendMessageW(list_, WM_SETREDRAW, FALSE, 0); }
    void EndUpdate() override {
        SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(list_, nullptr, TRUE);
    }
    void AddRow(const bs::ListRow& row) override {
        std::wstring caption = bs::Widen(row.caption);
        LVITEMW item = {};
        item.mask = LVIF_TEXT;
        item.iItem = rows_;
        item.pszText = caption.data();
        int index = static_cast<int>(
            SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        for (size_t i = 0; i < row.subItems.size(); ++i) {
            std::wstring text = bs::Widen(row.subItems[i]);
            LVITEMW sub = {};
            sub.iSubItem = static_cast<int>(i + 1);
            sub.pszText = text.data();
            SendMessageW(list_, LVM_SETITEMTEXTW, static_cast<WPARAM>(index),
                         reinterpret_cast<LPARAM>(&sub));
        }
        ++rows_;
    }
    int RowCount() const override { return rows_; }
    bs::ListRow Row(int) const override { return {}; }
    void SetChecked(int, bool) override {}
    void RemoveRow(int) override {}
    void Repaint() override { UpdateWindow(list_); }

private:
    HWND list_;
    int rows_ = 0;
};

// No window at all: what the engine's walk costs by itself.
class NullUi : public bs::UiPort {
public:
    void SetStatus(const std::string&) override {}
    void SetProgressMax(int) override {}
    void SetProgressPosition(int) override {}
    void StepProgress() override {}
    void PumpEvents() override {}
    bool StopRequested() const override { return false; }
    int Ask(const std::string&, const std::string&, unsigned) override { return bs::AnswerYes; }
};

struct BenchWindow {
    HWND frame = nullptr, status = nullptr, progress = nullptr, list = nullptr;
    BenchWindow() {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"BrimScanBench";
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        RegisterClassW(&windowClass);
        frame = CreateWindowExW(0, L"BrimScanBench", L"scan bench", WS_OVERLAPPEDWINDOW, 0, 0, 800,
                                600, nullptr, nullptr, windowClass.hInstance, nullptr);
        list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 800,
                               500, frame, nullptr, windowClass.hInstance, nullptr);
        ListView_SetExtendedListViewStyle(list, LVS_EX_CHECKBOXES | LVS_EX_GRIDLINES);
        progress = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, 0, 500, 800, 20,
                                   frame, nullptr, windowClass.hInstance, nullptr);
        SendMessageW(progress, PBM_SETSTEP, 1, 0);
        status = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, frame,
                                 nullptr, windowClass.hInstance, nullptr);
        ShowWindow(frame, SW_SHOWNOACTIVATE);
        UpdateWindow(frame);
    }
    ~BenchWindow() { DestroyWindow(frame); }
};

} // namespace bench
