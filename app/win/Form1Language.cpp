// Captions and hints of the main window from the text table, in the order
// the language is applied (a control set twice keeps the later text).
#include "app/win/Form1.h"

#include <commctrl.h>

#include "app/LanguageChoice.h"
#include "clean/Software.h"
#include "core/Mnemonics.h"
#include "core/win/Controls.h"
#include "core/win/WinText.h"
#include "platform/win32/Utf.h"

namespace bs {

namespace {

constexpr int ToolsMenuTextId = 460;

} // namespace

void TForm1::SetCaption(HWND control, int textId) {
    SetText(control, Texts()(textId));
}

void TForm1::AssignAccessKeys() {
    // The bottom panel's captioned controls in tab order; the drive box is
    // reached through its label. Group boxes take no key, nor do buttons
    // this clean type hides: their letters go to those shown, and they get
    // theirs again when the type that shows them is chosen. The Folder
    // Usage page shows beside the panel, so its captions come after and take
    // the letters left: the panel's keys stay the same whichever view is
    // shown.
    std::vector<HWND> controls;
    for (HWND child = GetWindow(c_.Panel2, GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t className[16] = {};
        GetClassNameW(child, className, 16);
        const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
        const bool button =
            lstrcmpiW(className, WC_BUTTONW) == 0 && (style & BS_TYPEMASK) != BS_GROUPBOX;
        if (!button && child != c_.Label3)
            continue;
        if (style & WS_VISIBLE)
            controls.push_back(child);
        else
            SetText(child, WithoutMnemonic(GetText(child)));
    }
    for (HWND control : folderUsagePage_.KeyedControls())
        controls.push_back(control);
    std::vector<std::string> captions;
    for (HWND control : controls)
        captions.push_back(WithoutMnemonic(GetText(control)));
    const std::vector<std::string> marked = WithMnemonics(captions);
    for (size_t i = 0; i < controls.size(); ++i)
        SetText(controls[i], marked[i]);
}

void TForm1::SetMenuText(int commandId, int textId) {
    std::wstring text = Widen(Texts()(textId));
    ModifyMenuW(c_.MainMenu, static_cast<UINT>(commandId), MF_BYCOMMAND | MF_STRING,
                static_cast<UINT_PTR>(commandId), text.c_str());
}

void TForm1::ApplyLanguage() {
    int selected = ComboBox(c_.cmbLanguage).Selection();
    LanguageChoice choice = ChooseLanguage(
        selected < 0 ? std::nullopt : std::optional<int>(selected), untranslatedNoticeShown_);
    // With no block for the chosen language English stands in; the box keeps
    // showing the user's choice.
    languageIndex_ = choice.languageIndex;
    languageSetting_ = choice.languageSetting;
    if (choice.showUntranslatedNotice) {
        services_.dialogs.Message(reinterpret_cast<uintptr_t>(hwnd_), UntranslatedNotice(),
                                  "Tarn Brimsweep Pro", MbOk | MbIconInformation);
        untranslatedNoticeShown_ = true;
    }
    LocalTexts text = Texts();

    SetCaption(c_.rbtDosyalar, 15);
    SetCaption(c_.rbtSistemKayit, 16);
    SetCaption(c_.rbtHafiza, 17);
    SetCaption(c_.rbtSoftware, 18);
    SetCaption(c_.GroupBox2, 13);
    SetCaption(c_.GroupBox1, 19);
    const std::pair<HWND, std::pair<int, int>> options[] = {
        {c_.chkIntCache, {20, 62}},   {c_.chkIntCookies, {104, 63}}, {c_.chkRecent, {21, 64}},
        {c_.chkIntHistory, {22, 65}}, {c_.chkBackup, {23, 66}},      {c_.chkAlerts, {133, 134}}};
    for (const auto& [control, ids] : options) {
        SetCaption(control, ids.first);
        hints_->Set(control, text(ids.second));
    }
    SetCaption(c_.btnCleaners, 270);
    SetCaption(c_.Label3, 34);
    SetCaption(c_.btnBul, 26);
    SetCaption(c_.btnSil, 27);
    SetCaption(c_.btnRefresh, 25);
    hints_->SetToolButton(IdBtnInformation, text(127));
    hints_->SetToolButton(IdBtnHelp, text(5));
    hints_->SetToolButton(IdBtnResources, text(126));
    if (cleanType_ == CleanType::Software)
        listView1_.SetColumnCaptions(SoftwareColumnCaptions);
    else
        listView1_.SetColumnCaptions({text(28), text(29), text(30), text(31)});
    listView1_.SetColumnCaption(5, text(281));
    const int aboutTabs[] = {0, 3, 4, 5, 6};
    for (int tab = 0; tab < 5; ++tab)
        TabControl(c_.tabAbout).SetText(tab, text(aboutTabs[tab]));
    const int systemTabs[] = {33, 34, 35, 128};
    for (int tab = 0; tab < 4; ++tab)
        TabControl(c_.tabSystem).SetText(tab, text(systemTabs[tab]));
    const int topMenus[] = {125, ToolsMenuTextId, 126, 127};
    for (int position = 0; position < 4; ++position) {
        std::wstring caption = Widen(text(topMenus[position]));
        MENUITEMINFOW item = {};
        item.cbSize = sizeof item;
        item.fMask = MIIM_STRING;
        item.dwTypeData = caption.data();
        SetMenuItemInfoW(c_.MainMenu, static_cast<UINT>(position), TRUE, &item);
    }
    SetMenuText(IdKeepList1, 186);
    SetMenuText(IdUndoLastClean, 234);
    SetMenuText(IdSchedule, ScheduleDialog::TextMenu);
    SetMenuText(IdFolderUsage, 128);
    SetMenuText(IdCPU1, 33);
    SetMenuText(IdDrive1, 34);
    SetMenuText(IdMemory1, 35);
    SetMenuText(IdAbout1, 0);
    SetMenuText(IdHelp1, 5);
    if (hwnd_)
        DrawMenuBar(hwnd_);

    FillDriveList();

    SetCaption(c_.JetButton2, 24);
    SetCaption(c_.btnSil, 27);
    // The Software list keeps its own buttons and hints in every language.
    if (cleanType_ == CleanType::Software)
        SetCommandButtons(cleanType_);
    hints_->SetToolButton(IdBtnMonitor, text(117));
    hints_->SetToolButton(IdBtnResources, text(118));
    hints_->Set(c_.JetButton2, text(119));
    hints_->Set(c_.btnRefresh, text(120));
    for (Page* page : {static_cast<Page*>(&about_), static_cast<Page*>(&updatePage_),
                       static_cast<Page*>(&cpuPage_), static_cast<Page*>(&drivePage_),
                       static_cast<Page*>(&memoryPage_), static_cast<Page*>(&folderUsagePage_)})
        page->ApplyLanguage(text);
    // After the pages: their captions are keyed with the panel's.
    AssignAccessKeys();
    keepListDialog_.ApplyTexts(text);
    putBackDialog_.ApplyTexts(text);
    cleanersDialog_.ApplyTexts(text);
    if (scheduleDialog_)
        scheduleDialog_->ApplyTexts(text);
    // The handlers' items carry their reasons as text: made anew in the
    // new language.
    if (cleanersDialog_.Handle() && cleanupList_)
        if (const CleanerCatalog* catalog = LoadCleaners())
            cleanersDialog_.ReplaceGroups(CleanerGroups(*catalog));
}

void TForm1::cmbLanguageClick() {
    ApplyLanguage();
}

} // namespace bs
