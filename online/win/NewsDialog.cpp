// Creation, layout, DPI and the modal loop of the offers dialog.
#include "online/win/NewsDialog.h"

#include <commctrl.h>

#include <algorithm>

#include "core/win/Dpi.h"
#include "core/win/TextMeasure.h"
#include "core/win/WinText.h"
#include "core/win/WindowClass.h"
#include "online/OffersDue.h"

namespace bs {

namespace {

const wchar_t ClassName[] = L"TdlgNews";
constexpr UINT CloseMessage = WM_APP + 41;
constexpr COLORREF Face = RGB(215, 215, 200);
// Without WS_CLIPCHILDREN: the group boxes and the bevel paint only their
// frames and rely on the dialog to paint the face behind them.
constexpr DWORD Style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD ExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT | WS_EX_APPWINDOW;
// The design's client area.
constexpr int ClientWidth = 574, ClientHeight = 474;

enum : int {
    IdBevel1 = 100,
    IdGrpInstall,
    IdImgEbates,
    IdMemEbates,
    IdChkEbates,
    IdBtnEbates,
    IdChkAgree,
    IdGrpNews,
    IdLblEmail,
    IdEdtEmail,
    IdChkProductNews,
    IdImgProductNews,
    IdLblProductNews,
    IdChkMakerNews,
    IdImgMakerNews,
    IdLblMakerNews,
    IdLblPrivacy,
};

// The face colour as the stock DC brush of `dc`. A brush of our own, handed
// to the controls, did not survive them under every system; a stock object
// cannot be deleted.
HBRUSH FaceBrush(HDC dc) {
    SetDCBrushColor(dc, Face);
    return static_cast<HBRUSH>(GetStockObject(DC_BRUSH));
}

const char PartnerDescription[] =
    "Ebates Money Maker is a free shopping companion from our partner Ebates. While you shop "
    "online it shows the cash-back offers and coupons of thousands of stores, and Ebates pays "
    "the cash back to you.\r\n\r\n"
    "It is installed only when this box is ticked and you have read and accepted its terms and "
    "conditions. You can remove it at any time from the list of installed programs.";

} // namespace

TdlgNews::TdlgNews(OffersContext context)
    : context_(std::move(context)), httpGet1_(context_.online.Web(), ui_) {
    httpGet1_.AcceptTypes = "*/*";
    httpGet1_.BinaryData = false;
    httpGet1_.UseCache = false;
    httpGet1_.WaitThread = true;
    httpGet1_.URL = context_.online.Addresses().NewsSubscription();
    // No answer within the post's own limit ends it at the platform level too.
    httpGet1_.Timeout = SendLimitSeconds * 1000;
    httpGet1_.OnProgress = [this](THTTPGet& sender, int64_t total, int64_t readed) {
        HTTPGet1Progress(sender, total, readed);
    };
    httpGet1_.OnDoneString = [this](THTTPGet& sender, const std::string& result) {
        HTTPGet1DoneString(sender, result);
    };
    httpGet1_.OnError = [this](THTTPGet& sender) { HTTPGet1Error(sender); };
}

TdlgNews::~TdlgNews() {
    if (hwnd_)
        DestroyWindow(hwnd_);
}

bool TdlgNews::Create(HWND owner) {
    if (created_)
        return hwnd_ != nullptr;
    created_ = true;
    owner_ = owner;
    INITCOMMONCONTROLSEX link = {sizeof link, ICC_LINK_CLASS};
    InitCommonControlsEx(&link);
    // The face is painted from this dialog's own brush: a class brush would
    // outlive the first dialog that made it.
    if (!RegisterWindowClassOnce({.name = ClassName, .procedure = &WindowEntry<TdlgNews>}))
        return false;
    CreateWindowExW(ExStyle, ClassName, L"Special Offers", Style, 0, 0, 100, 100, owner, nullptr,
                    GetModuleHandleW(nullptr), this);
    if (!hwnd_)
        return false;
    if (!CreateControls()) {
        DestroyWindow(hwnd_);
        return false;
    }
    ApplyDpi((owner ? DpiOfWindow(owner) : SystemDpi()).value);
    FormCreate();
    return true;
}

int TdlgNews::ShowModal(HWND owner) {
    if (!Create(owner))
        return 0;
    if (owner_)
        EnableWindow(owner_, FALSE);
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    SetFocus(chkEbates);
    if (OnShown)
        OnShown(*this);
    MSG message;
    while (hwnd_) {
        BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            // The program is ending: hand the quit on to the outer loop.
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (got < 0)
            break;
        if (!IsDialogMessageW(hwnd_, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    if (hwnd_)
        DestroyWindow(hwnd_);
    return modalResult_;
}

void TdlgNews::Close(int result) {
    if (closing_)
        return;
    closing_ = true;
    modalResult_ = result;
    // Closed from a message of its own: the handler that asked may still be
    // on the stack, inside the fetch component's report.
    PostMessageW(hwnd_, CloseMessage, 0, 0);
}

bool TdlgNews::CreateControls() {
    auto add = [this](const wchar_t* kind, DWORD style, int id, DWORD exStyle = 0) {
        return CreateWindowExW(exStyle, kind, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10,
                               hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               GetModuleHandleW(nullptr), nullptr);
    };
    Bevel1 = add(WC_STATICW, SS_ETCHEDFRAME, IdBevel1);
    grpInstall = add(WC_BUTTONW, BS_GROUPBOX, IdGrpInstall);
    imgEbates = add(WC_STATICW, SS_ICON, IdImgEbates);
    memEbates = add(WC_EDITW, ES_MULTILINE | ES_READONLY, IdMemEbates);
    chkEbates = add(WC_BUTTONW, WS_TABSTOP | WS_GROUP | BS_AUTOCHECKBOX, IdChkEbates);
    btnEbates = add(WC_LINK, WS_TABSTOP, IdBtnEbates);
    chkAgree = add(WC_BUTTONW, WS_TABSTOP | BS_AUTOCHECKBOX | BS_MULTILINE, IdChkAgree);
    grpNews = add(WC_BUTTONW, BS_GROUPBOX, IdGrpNews);
    lblEmail = add(WC_STATICW, SS_NOPREFIX, IdLblEmail);
    edtEmail = add(WC_EDITW, WS_TABSTOP | ES_AUTOHSCROLL, IdEdtEmail, WS_EX_CLIENTEDGE);
    chkProductNews = add(WC_BUTTONW, WS_TABSTOP | BS_AUTOCHECKBOX, IdChkProductNews);
    imgProductNews = add(WC_STATICW, SS_ICON, IdImgProductNews);
    lblProductNews = add(WC_STATICW, SS_NOPREFIX | SS_NOTIFY, IdLblProductNews);
    chkMakerNews = add(WC_BUTTONW, WS_TABSTOP | BS_AUTOCHECKBOX, IdChkMakerNews);
    imgMakerNews = add(WC_STATICW, SS_ICON, IdImgMakerNews);
    lblMakerNews = add(WC_STATICW, SS_NOPREFIX | SS_NOTIFY, IdLblMakerNews);
    lblPrivacy = add(WC_STATICW, SS_NOPREFIX, IdLblPrivacy);
    OKBtn = add(WC_BUTTONW, WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, IDOK);
    CancelBtn = add(WC_BUTTONW, WS_TABSTOP | BS_PUSHBUTTON, IDCANCEL);
    for (HWND control :
         {Bevel1, grpInstall, imgEbates, memEbates, chkEbates, btnEbates, chkAgree, grpNews,
          lblEmail, edtEmail, chkProductNews, imgProductNews, lblProductNews, chkMakerNews,
          imgMakerNews, lblMakerNews, lblPrivacy, OKBtn, CancelBtn})
        if (!control)
            return false;

    SetText(grpInstall, "Optional Installation");
    SetText(memEbates, PartnerDescription);
    SetText(btnEbates, "<a>Read Terms and Conditions</a>");
    SetText(chkAgree, "I have read the terms and conditions and I aggree with the agreement.");
    SetText(grpNews, "Receive Free Information");
    SetText(lblEmail, "Your email address:");
    SetText(lblProductNews, "Keep me informed of Tarn Brimsweep Pro");
    SetText(lblMakerNews, "Keep me informed of other OSTRAND products");
    SetText(lblPrivacy, "Privacy Policy: Your e-mail will not be sent to any other companies nor "
                        "to other third parties");
    SetText(OKBtn, "OK");
    SetText(CancelBtn, "Remind Me Later");
    SendMessageW(edtEmail, EM_SETLIMITTEXT, 254, 0);
    for (HWND box : {chkEbates, chkProductNews, chkMakerNews})
        SendMessageW(box, BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(chkAgree, BM_SETCHECK, BST_UNCHECKED, 0);
    return true;
}

void TdlgNews::LoadIcons() {
    int size = Dpi{dpi_}.Scale(32);
    // The system's own icons (OIC_INFORMATION, OIC_SAMPLE), drawn at the
    // size asked for; a missing one leaves its place empty.
    auto system = [size](int id) {
        return static_cast<HICON>(
            LoadImageW(nullptr, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
    };
    ebatesIcon_.Reset(system(32516));
    productIcon_.Reset(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr),
                                                     MAKEINTRESOURCEW(context_.programIconId),
                                                     IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
    makerIcon_.Reset(system(32512));
    const std::pair<HWND, HICON> pictures[] = {{imgEbates, ebatesIcon_.Get()},
                                               {imgProductNews, productIcon_.Get()},
                                               {imgMakerNews, makerIcon_.Get()}};
    for (auto [control, icon] : pictures)
        SendMessageW(control, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
}

void TdlgNews::ApplyDpi(int dpi) {
    dpi_ = dpi;
    Dpi scale{dpi};
    LOGFONTW message = MessageFontAt(scale);
    font_.Reset(CreateFontIndirectW(&message));
    // The privacy note: Arial of 9 pixels at the design's DPI.
    noteFont_.Reset(CreateFontW(-scale.Scale(9), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Arial"));
    LoadIcons();
    RECT frame = {0, 0, scale.Scale(ClientWidth), scale.Scale(ClientHeight)};
    AdjustWindowRectEx(&frame, Style, FALSE, ExStyle);
    int width = frame.right - frame.left, height = frame.bottom - frame.top;
    RECT work = {0, 0, 1024, 768};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    SetWindowPos(hwnd_, nullptr, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    Layout();
}

void TdlgNews::Layout() {
    const Dpi dpi{dpi_};
    auto font = static_cast<HFONT>(font_.Get());
    auto noteFont = static_cast<HFONT>(noteFont_.Get());
    for (HWND control :
         {grpInstall, memEbates, chkEbates, btnEbates, chkAgree, grpNews, lblEmail, edtEmail,
          chkProductNews, lblProductNews, chkMakerNews, lblMakerNews, OKBtn, CancelBtn})
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageW(lblPrivacy, WM_SETFONT, reinterpret_cast<WPARAM>(noteFont), FALSE);

    int line = LineHeight(font);
    auto place = [&dpi](HWND control, int left, int top, int width, int height) {
        MoveWindow(control, dpi.Scale(left), dpi.Scale(top), dpi.Scale(width), dpi.Scale(height),
                   TRUE);
    };
    // A text control is as tall as the design says or as its font needs.
    auto placeText = [&](HWND control, int left, int top, int width, int height, int pad) {
        MoveWindow(control, dpi.Scale(left), dpi.Scale(top), dpi.Scale(width),
                   std::max(dpi.Scale(height), line + dpi.Scale(pad)), TRUE);
    };
    auto textWidth = [&dpi](HWND control, HFONT inFont) {
        return static_cast<int>(TextExtent(inFont, GetText(control)).cx) + dpi.Scale(4);
    };
    int box = dpi.Scale(16);

    place(Bevel1, 8, 8, 561, 425);
    // The first group at 16, 16; its controls are placed from its corner.
    place(grpInstall, 16, 16, 529, 249);
    place(imgEbates, 16 + 34, 16 + 21, 32, 32);
    place(memEbates, 16 + 72, 16 + 16, 453, 177);
    MoveWindow(chkEbates, dpi.Scale(16 + 8), dpi.Scale(16 + 22), box, box, TRUE);
    placeText(btnEbates, 16 + 72, 16 + 195, 453, 17, 2);
    placeText(chkAgree, 16 + 72, 16 + 219, 451, 17, 4);

    // The second group at 16, 280.
    place(grpNews, 16, 280, 529, 145);
    int emailLabelWidth = textWidth(lblEmail, font);
    MoveWindow(lblEmail, dpi.Scale(16 + 5), dpi.Scale(280 + 28) - dpi.Scale(2), emailLabelWidth,
               line + dpi.Scale(2), TRUE);
    int emailLeft =
        std::max(dpi.Scale(16 + 104), dpi.Scale(16 + 5) + emailLabelWidth + dpi.Scale(4));
    MoveWindow(edtEmail, emailLeft, dpi.Scale(280 + 22) - dpi.Scale(3),
               std::max(dpi.Scale(121), dpi.Scale(16 + 104 + 121) - emailLeft),
               std::max(dpi.Scale(19), line + dpi.Scale(7)), TRUE);
    MoveWindow(chkProductNews, dpi.Scale(16 + 16), dpi.Scale(280 + 54), box, box, TRUE);
    place(imgProductNews, 16 + 42, 280 + 53, 32, 32);
    MoveWindow(lblProductNews, dpi.Scale(16 + 88), dpi.Scale(280 + 64),
               textWidth(lblProductNews, font), line + dpi.Scale(2), TRUE);
    MoveWindow(chkMakerNews, dpi.Scale(16 + 16), dpi.Scale(280 + 94), box, box, TRUE);
    place(imgMakerNews, 16 + 42, 280 + 93, 32, 32);
    MoveWindow(lblMakerNews, dpi.Scale(16 + 88), dpi.Scale(280 + 96), textWidth(lblMakerNews, font),
               line + dpi.Scale(2), TRUE);
    MoveWindow(lblPrivacy, dpi.Scale(16 + 6), dpi.Scale(280 + 131) - dpi.Scale(2),
               textWidth(lblPrivacy, noteFont), LineHeight(noteFont) + dpi.Scale(1), TRUE);

    int buttonHeight = std::max(dpi.Scale(25), line + dpi.Scale(10));
    int okWidth = std::max(dpi.Scale(75), textWidth(OKBtn, font) + dpi.Scale(16));
    int cancelWidth = std::max(dpi.Scale(98), textWidth(CancelBtn, font) + dpi.Scale(16));
    MoveWindow(OKBtn, dpi.Scale(207), dpi.Scale(444), okWidth, buttonHeight, TRUE);
    MoveWindow(CancelBtn, dpi.Scale(207) + okWidth + dpi.Scale(5), dpi.Scale(444), cancelWidth,
               buttonHeight, TRUE);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

LRESULT TdlgNews::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->hwndFrom == btnEbates &&
            (header->code == NM_CLICK || header->code == NM_RETURN)) {
            btnEbatesClick();
            return 0;
        }
        break;
    }
    case WM_ERASEBKGND: {
        RECT client;
        GetClientRect(hwnd_, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, FaceBrush(reinterpret_cast<HDC>(wParam)));
        return TRUE;
    }
    case DM_GETDEFID:
        return MAKELRESULT(IDOK, DC_HASDEFID);
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        // Labels, check boxes, groups and the memo take the dialog's face.
        SetBkColor(reinterpret_cast<HDC>(wParam), Face);
        return reinterpret_cast<LRESULT>(FaceBrush(reinterpret_cast<HDC>(wParam)));
    case WM_SETCURSOR:
        if (sending_) {
            SetCursor(LoadCursorW(nullptr, IDC_WAIT));
            return TRUE;
        }
        break;
    case WM_DPICHANGED:
        ApplyDpi(HIWORD(wParam));
        return 0;
    case WM_CLOSE:
        // The close box ends the dialog without an answer.
        Close(0);
        return 0;
    case CloseMessage:
        if (owner_)
            EnableWindow(owner_, TRUE);
        DestroyWindow(hwnd_);
        return 0;
    case WM_NCDESTROY:
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        hwnd_ = nullptr;
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void ShowOffersIfDue(OffersContext context, HWND owner,
                     const std::function<void(TdlgNews&)>& shown) {
    if (!OffersDue(context.online, context.files, context.programDir))
        return;
    TdlgNews dialog(std::move(context));
    dialog.OnShown = shown;
    dialog.ShowModal(owner);
}

} // namespace bs
