// TdlgNews, the "Special Offers" dialog: the optional partner installation
// and the news subscription, posted by HTTPGet1 on its worker thread. The
// texts are fixed English; sizes are the design's and scale with the DPI.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "core/win/WindowClass.h"
#include "online/HttpGet.h"
#include "online/OnlineServices.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/Process.h"
#include "platform/Registry.h"
#include "platform/win32/Scoped.h"
#include "platform/win32/Win32UiQueue.h"

namespace bs {

// What the dialog works with.
struct OffersContext {
    FileSystem& files;
    Registry& registry;
    Process& process;
    Dialogs& dialogs;
    Clock& clock;
    OnlineServices& online;
    std::string programDir;
    // The program's icon in its resources, shown beside the product news.
    int programIconId = 0;
};

class TdlgNews {
public:
    static constexpr const char* PartnerInstaller = "EbatesMoeMoneyMaker9.exe";
    // A post still running this long after it started is stopped at its
    // next chunk.
    static constexpr int SendLimitSeconds = 10;

    explicit TdlgNews(OffersContext context);
    // A request still running is cancelled and never reported.
    ~TdlgNews();
    TdlgNews(const TdlgNews&) = delete;
    TdlgNews& operator=(const TdlgNews&) = delete;

    // Creates the dialog, hidden, and runs FormCreate. False when a window
    // could not be made.
    bool Create(HWND owner);
    // Creates it unless done, shows it and returns when it closes, with
    // the modal result (AnswerOk, AnswerCancel, or 0 for the close box).
    int ShowModal(HWND owner);
    // Called once the modal dialog is shown (tests drive it from here).
    std::function<void(TdlgNews&)> OnShown;

    HWND Handle() const { return hwnd_; }
    bool Closed() const { return closing_ || (created_ && !hwnd_); }
    int ModalResult() const { return modalResult_; }
    bool Sending() const { return sending_; }
    THTTPGet& HTTPGet1() { return httpGet1_; }
    int DpiValue() const { return dpi_; }
    // Rescales fonts, icons and layout to `dpi`, centred on the screen.
    void ApplyDpi(int dpi);

    // --- handlers -----------------------------------------------------------
    void FormCreate();
    void OKBtnClick();
    void CancelBtnClick();
    void btnEbatesClick();
    void HTTPGet1Progress(THTTPGet& Sender, int64_t TotalSize, int64_t Readed);
    void HTTPGet1DoneString(THTTPGet& Sender, const std::string& Result);
    void HTTPGet1Error(THTTPGet& Sender);

    // Controls, named as in the design.
    HWND Bevel1 = nullptr, grpInstall = nullptr, imgEbates = nullptr, memEbates = nullptr,
         chkEbates = nullptr, btnEbates = nullptr, chkAgree = nullptr;
    HWND grpNews = nullptr, lblEmail = nullptr, edtEmail = nullptr, chkProductNews = nullptr,
         imgProductNews = nullptr, lblProductNews = nullptr, chkMakerNews = nullptr,
         imgMakerNews = nullptr, lblMakerNews = nullptr, lblPrivacy = nullptr;
    HWND OKBtn = nullptr, CancelBtn = nullptr;

private:
    template <class Window> friend LRESULT CALLBACK WindowEntry(HWND, UINT, WPARAM, LPARAM);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool CreateControls();
    void Layout();
    void LoadIcons();
    void OnCommand(int id, int code);
    // Ends the dialog with `result` once the current handler has returned.
    void Close(int result);
    void WriteState(bool answered);
    void Message(const std::string& text);

    OffersContext context_;
    // Declared before the component, so that it outlives it.
    Win32UiQueue ui_;
    THTTPGet httpGet1_;
    HWND hwnd_ = nullptr;
    HWND owner_ = nullptr;
    int dpi_ = 96;
    bool created_ = false;
    bool closing_ = false;
    bool sending_ = false;
    int modalResult_ = 0;
    FileTime sendStart_ = 0;
    ScopedGdiObject font_, noteFont_;
    ScopedIcon ebatesIcon_, productIcon_, makerIcon_;
};

// Shows the dialog modally when it is due (online, and newsinfo.txt not
// "1"), over `owner`. `shown` is handed on to the dialog's OnShown.
void ShowOffersIfDue(OffersContext context, HWND owner,
                     const std::function<void(TdlgNews&)>& shown = {});

} // namespace bs
