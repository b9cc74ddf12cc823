#include "app/tests/win/FormFixture.h"

#include "app/LanguageChoice.h"
#include "core/TextTable.h"

namespace bs {
namespace {

class LanguageWindow : public FormFixture {
protected:
    std::string SettingsPath() { return process.programDir + "language.txt"; }
    void ExitProgram() {
        Command(TForm1::IdExit1);
        ASSERT_TRUE(Form().Freed());
    }
};

TEST_F(LanguageWindow, SettingsFileStartsInGermanWithAlertsAndArchiveNumber) {
    files.AddFile(SettingsPath(), "3\r\n7\r\nY\r\n");
    TForm1& form = Form();
    EXPECT_EQ(form.LanguageIndex(), 3);
    EXPECT_EQ(ComboSelection(Ctl().cmbLanguage), 3);
    EXPECT_TRUE(Checked(Ctl().chkAlerts));
    EXPECT_EQ(form.BackupArchiveNumber(), 7);
    EXPECT_EQ(Caption(Ctl().rbtDosyalar), LocalText(3, 15));
    EXPECT_EQ(ComboItem(Ctl().ComboBox1, 0), LocalText(3, 32));
    ExitProgram();
    EXPECT_EQ(files.ReadAll(SettingsPath()), "3\r\n7\r\nY\r\n");
}

TEST_F(LanguageWindow, UntranslatedLanguagesShowTheNoticeOnceAndFallBackToEnglish) {
    SelectCombo(Ctl().cmbLanguage, 4);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, UntranslatedNotice());
    EXPECT_EQ(Caption(Ctl().btnBul), "Find");
    EXPECT_EQ(ComboItem(Ctl().cmbLanguage, ComboSelection(Ctl().cmbLanguage)), "* Spanish");
    SelectCombo(Ctl().cmbLanguage, 7);
    EXPECT_EQ(dialogs.shown.size(), 1u) << "the notice shows once per run";
    EXPECT_EQ(Form().LanguageSetting(), "1");
    ExitProgram();
    EXPECT_EQ(files.ReadAll(SettingsPath()).substr(0, 3), "1\r\n");
}

TEST_F(LanguageWindow, EveryLanguageRecaptionsTheWindow) {
    const int translated[] = {0, 1, 2, 3, 5, 6, 8, 9};
    for (int language : translated) {
        SelectCombo(Ctl().cmbLanguage, language);
        EXPECT_EQ(Caption(Ctl().rbtSistemKayit), LocalText(language, 16)) << language;
        EXPECT_EQ(Text(Ctl().GroupBox2), LocalText(language, 13)) << language;
        EXPECT_EQ(Caption(Ctl().btnSil), LocalText(language, 27)) << language;
        EXPECT_EQ(Caption(Ctl().JetButton2), LocalText(language, 24)) << language;
        EXPECT_EQ(ColumnCaption(Ctl().ListView1, 1), LocalText(language, 29)) << language;
        EXPECT_EQ(TabText(Ctl().tabSystem, 3), LocalText(language, 128)) << language;
        EXPECT_EQ(MenuText(Ctl().MainMenu, 0, true), LocalText(language, 125)) << language;
        EXPECT_EQ(Form().ControlHints().Get(Ctl().JetButton2), LocalText(language, 119));
        EXPECT_EQ(Form().ControlHints().GetToolButton(TForm1::IdBtnResources),
                  LocalText(language, 118))
            << "the later of two texts for one control stands";
        EXPECT_EQ(Text(Form().Handle()), "Tarn Brimsweep Pro");
        EXPECT_EQ(Text(Ctl().RxLabel1), "Brimsweep Pro");
    }
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(Form().ControlHints().Get(Ctl().chkIntCache), LocalText(9, 62));
}

TEST_F(LanguageWindow, SoftwareThenFilesBringsBackFindAndDeleteInTheLanguage) {
    SelectCombo(Ctl().cmbLanguage, 2);
    Click(Ctl().rbtSoftware);
    EXPECT_EQ(Caption(Ctl().btnBul), LocalText(2, 100));
    Click(Ctl().rbtDosyalar);
    EXPECT_EQ(Caption(Ctl().btnBul), LocalText(2, 26));
    EXPECT_EQ(Caption(Ctl().btnSil), LocalText(2, 27));
}

TEST_F(LanguageWindow, ScreenshotsInTurkishAndGerman) {
    Form().Show1Click();
    SelectCombo(Ctl().cmbLanguage, 0);
    Screenshot("main-turkish");
    SelectCombo(Ctl().cmbLanguage, 3);
    Screenshot("main-german");
    // Unicode controls keep letters that no single ANSI code page holds.
    SelectCombo(Ctl().cmbLanguage, 0);
    EXPECT_EQ(Text(Ctl().GroupBox2), LocalText(0, 13));
}

} // namespace
} // namespace bs
