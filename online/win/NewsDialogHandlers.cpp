// What the offers dialog does with its buttons and with the post's end.
#include "online/win/NewsDialog.h"

#include "core/win/Controls.h"
#include "core/win/WinText.h"
#include "online/NewsForm.h"
#include "platform/UiPort.h"

namespace bs {

namespace {
const char EmailAccountKey[] = "SOFTWARE\\Microsoft\\Internet Account Manager\\Accounts\\00000001";
// FILETIME counts 100-ns steps.
constexpr int64_t TicksPerSecond = 10'000'000;
} // namespace

void TdlgNews::FormCreate() {
    SetText(edtEmail, ReadRegistryString(context_.registry, RegRoot::CurrentUser, EmailAccountKey,
                                         "SMTP Email Address"));
}

void TdlgNews::Message(const std::string& text) {
    context_.dialogs.Message(reinterpret_cast<uintptr_t>(hwnd_), text, "Special Offers", MbOk);
}

void TdlgNews::WriteState(bool answered) {
    // A state that cannot be written only means the offers come again.
    WriteOffersState(context_.files, context_.programDir, answered);
}

void TdlgNews::OnCommand(int id, int code) {
    if (closing_ || sending_)
        return;
    if (code == BN_CLICKED && id == IDOK)
        OKBtnClick();
    else if (code == BN_CLICKED && id == IDCANCEL)
        CancelBtnClick();
    else if (code == STN_CLICKED && GetDlgItem(hwnd_, id) == lblProductNews)
        SendMessageW(chkProductNews, BM_CLICK, 0, 0);
    else if (code == STN_CLICKED && GetDlgItem(hwnd_, id) == lblMakerNews)
        SendMessageW(chkMakerNews, BM_CLICK, 0, 0);
}

void TdlgNews::OKBtnClick() {
    NewsChoice choice{GetText(edtEmail), CheckBox(chkEbates).Checked(),
                      CheckBox(chkProductNews).Checked(), CheckBox(chkMakerNews).Checked()};
    bool news = choice.productNews || choice.makerNews;
    if (choice.partner && !CheckBox(chkAgree).Checked()) {
        Message("You must check the box stating you agree with the EBates agreement.");
        return;
    }
    if (news && !AcceptableEmailText(choice.email)) {
        Message("An e-mail address cannot hold a line break. Please enter it on one line.");
        return;
    }
    if (choice.partner)
        // A missing installer fails silently; the rest goes on.
        context_.process.ShellOpen(context_.programDir + PartnerInstaller);
    EnableWindow(OKBtn, FALSE);
    EnableWindow(CancelBtn, FALSE);
    sending_ = true;
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    httpGet1_.PostQuery = NewsPostBody(choice);
    bool online = context_.online.IsOnline();
    if (online && news) {
        sendStart_ = context_.clock.NowUtc();
        httpGet1_.StartFetch();
        return;
    }
    sending_ = false;
    if (!news) {
        WriteState(true);
        Close(AnswerOk);
        return;
    }
    Message("Cannot connect to web. You will be reminded later.");
    WriteState(false);
    Close(AnswerOk);
}

void TdlgNews::CancelBtnClick() {
    WriteState(false);
    Close(AnswerCancel);
}

void TdlgNews::btnEbatesClick() {
    // The browser reports its own failures.
    context_.process.ShellOpen(context_.online.Addresses().PartnerTerms);
}

void TdlgNews::HTTPGet1Progress(THTTPGet& Sender, int64_t, int64_t) {
    auto elapsed = static_cast<int64_t>(context_.clock.NowUtc() - sendStart_);
    if (elapsed > SendLimitSeconds * TicksPerSecond)
        Sender.CancelFetch();
}

void TdlgNews::HTTPGet1DoneString(THTTPGet&, const std::string&) {
    if (closing_)
        return;
    sending_ = false;
    WriteState(true);
    Close(AnswerOk);
}

void TdlgNews::HTTPGet1Error(THTTPGet& Sender) {
    if (closing_)
        return;
    sending_ = false;
    WriteState(true);
    Sender.CancelFetch();
    Close(AnswerOk);
}

} // namespace bs
