// The information view's tabs: About, Email, Web, Help, Update and Special
// Thanks, and the Update button.
#include "app/win/Form1.h"

#include "core/win/Controls.h"
#include "online/ConnectionState.h"

namespace bs {

namespace {
enum AboutTab : int { TabAbout, TabEmail, TabWeb, TabHelp, TabUpdate, TabThanks };
} // namespace

void TForm1::pnlAboutTabChanged() {
    int index = TabControl(c_.tabAbout).Selection();
    about_.Show(index == TabAbout);
    updatePage_.Show(index == TabUpdate);
    thanksPage_.Show(index == TabThanks);
    switch (index) {
    case TabEmail:
        tbsEmailShow();
        break;
    case TabWeb:
        tbsWebShow();
        break;
    case TabHelp:
        TabSheet4Show();
        break;
    default:
        break;
    }
}

void TForm1::tbsEmailShow() {
    const std::string& page = services_.online.Addresses().SupportPage;
    switch (SupportPageStepFor(services_.online.Connection())) {
    case SupportPageStep::ShowMessage:
        Ask("Internet connection is needed in order to go to support page. Please connect to "
            "internet and try again. Or visit our site later at " +
                page,
            "Tarn Brimsweep Pro", MbOk);
        break;
    case SupportPageStep::OpenPage:
        // A browser that does not start shows nothing either way.
        services_.process.ShellOpen(page);
        break;
    case SupportPageStep::Nothing:
        break;
    }
}

void TForm1::tbsWebShow() {
    // As with the support page: nothing to add when no browser starts.
    services_.process.ShellOpen(services_.online.Addresses().HomePage);
}

void TForm1::TabSheet4Show() {
    // The help page lies beside the program; a missing viewer is the
    // system's to report.
    services_.process.ShellOpen(programDir_ + "brimsweep.html");
}

void TForm1::btnUpdateClick() {
    // The updater beside the program, by its full path: never one found by
    // a search. It gives no feedback when it cannot start.
    services_.process.StartHidden(programDir_ + "update.exe");
}

} // namespace bs
