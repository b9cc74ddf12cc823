// The information view's tabs run their actions and show their panes.
#include "app/tests/win/FormFixture.h"
#include "app/win/ControlIds.h"

namespace bs {
namespace {

class AboutTabs : public FormFixture {
protected:
    // As a click on the tab does it.
    void ChooseTab(int index) {
        TabControl(Ctl().tabAbout).Select(index);
        NMHDR header = {Ctl().tabAbout, static_cast<UINT_PTR>(IdTabAbout), TCN_SELCHANGE};
        SendMessageW(Ctl().pnlAbout, WM_NOTIFY, IdTabAbout, reinterpret_cast<LPARAM>(&header));
        Pump();
    }
};

TEST_F(AboutTabs, EmailTabOpensTheSupportPageOnlyByModemOrProxy) {
    online.endpoints.SupportPage = "http://127.0.0.1:9/tarn/untsupport.php3";
    Form().btnInformationClick();
    ChooseTab(1);
    ASSERT_EQ(dialogs.shown.size(), 1u) << "not connected";
    EXPECT_EQ(dialogs.shown[0].text,
              "Internet connection is needed in order to go to support page. Please connect to "
              "internet and try again. Or visit our site later at "
              "http://127.0.0.1:9/tarn/untsupport.php3");
    EXPECT_TRUE(process.opened.empty());

    online.connection = ConnectionState{true, ConnectionLan};
    ChooseTab(0);
    ChooseTab(1);
    EXPECT_EQ(dialogs.shown.size(), 1u) << "the local network alone does nothing";
    EXPECT_TRUE(process.opened.empty());

    online.connection = ConnectionState{true, ConnectionProxy | ConnectionLan};
    ChooseTab(1);
    EXPECT_EQ(process.opened, std::vector<std::string>{"http://127.0.0.1:9/tarn/untsupport.php3"});
    for (HWND pane :
         {Form().About().Panel(), Form().UpdatePane().Panel(), Form().ThanksPane().Panel()})
        EXPECT_FALSE(Shown(pane));
}

TEST_F(AboutTabs, WebAndHelpTabsOpenTheHomePageAndTheHelpPage) {
    online.endpoints.HomePage = "http://127.0.0.1:9/";
    Form().btnInformationClick();
    ChooseTab(2);
    ChooseTab(3);
    EXPECT_EQ(process.opened, (std::vector<std::string>{"http://127.0.0.1:9/",
                                                        process.programDir + "brimsweep.html"}));
    EXPECT_TRUE(dialogs.shown.empty());
    Command(TForm1::IdHelp1);
    EXPECT_EQ(process.opened.size(), 3u) << "the Help menu selects the Help tab";
}

TEST_F(AboutTabs, UpdateTabStartsTheUpdaterBesideTheProgram) {
    TForm1& form = Form();
    form.Show1Click();
    form.btnInformationClick();
    ChooseTab(4);
    const UpdatePage& pane = form.UpdatePane();
    EXPECT_TRUE(Visible(pane.Panel()));
    EXPECT_FALSE(Shown(form.About().Panel()));
    EXPECT_EQ(Text(pane.lblUpdate),
              "To update Brimsweep Pro to newest version from our web site, please click Update");
    EXPECT_EQ(Text(pane.btnUpdate), "Update");
    Click(pane.btnUpdate);
    EXPECT_EQ(process.startedHidden, std::vector<std::string>{process.programDir + "update.exe"});
    EXPECT_TRUE(process.runs.empty()) << "never started through a search";

    SelectCombo(Ctl().cmbLanguage, 3);
    EXPECT_EQ(Text(pane.btnUpdate), form.Texts()(6));
    EXPECT_EQ(Text(pane.lblUpdate), form.Texts()(105));
}

TEST_F(AboutTabs, SpecialThanksNamesTheTranslatorsAndLibrariesInEveryLanguage) {
    TForm1& form = Form();
    form.Show1Click();
    form.btnInformationClick();
    ChooseTab(5);
    const ThanksPage& pane = form.ThanksPane();
    EXPECT_TRUE(Visible(pane.Panel()));
    std::string all;
    for (HWND line : pane.lblLines)
        all += Text(line) + "\n";
    for (const char* name : {"Turkish", "French", "German", "Dutch", "Romanian", "Catalan",
                             "Slovak", "zlib", "GoogleTest"})
        EXPECT_NE(all.find(name), std::string::npos) << name;
    SelectCombo(Ctl().cmbLanguage, 3);
    EXPECT_EQ(TabText(Ctl().tabAbout, 5), "Special Thanks");
    EXPECT_EQ(Text(pane.lblLines[1]), ThanksPage::Lines()[1]);
    ChooseTab(0);
    EXPECT_FALSE(Shown(pane.Panel()));
    EXPECT_TRUE(Shown(form.About().Panel()));
}

} // namespace
} // namespace bs
