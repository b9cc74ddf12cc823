// Every caption of the main window fits its control, and no two controls
// overlap, at the common DPIs and in every translated language.
#include "app/tests/win/FormFixture.h"

#include <sstream>
#include <vector>

#include "app/res/resource.h"
#include "app/win/ControlIds.h"
#include "backup/fake/Latin1ArchiveText.h"
#include "core/win/TextMeasure.h"
#include "online/win/NewsDialog.h"
#include "schedule/ScheduledClean.h"

namespace bs {
namespace {

std::string ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return Narrow(name);
}

RECT RectIn(HWND window, HWND parent) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

bool Contains(const RECT& outer, const RECT& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// Group boxes and etched frames frame controls, tab controls their pages.
bool IsFrame(HWND window) {
    std::string kind = ClassOf(window);
    LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    return kind == "SysTabControl32" ||
           (kind == "Button" && (style & BS_TYPEMASK) == BS_GROUPBOX) ||
           (kind == "Static" && (style & SS_TYPEMASK) == SS_ETCHEDFRAME);
}

// The room a caption needs beyond its text: a check box's glyph, a push
// button's edges, a group box's indent.
SIZE ChromeOf(HWND control, const Dpi& dpi) {
    if (ClassOf(control) != "Button")
        return {0, 0};
    switch (GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK) {
    case BS_GROUPBOX:
        return {dpi.Scale(10), 0};
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
        return {dpi.Scale(13) + dpi.Scale(4), 0};
    default:
        return {dpi.Scale(8), dpi.Scale(4)};
    }
}

class LayoutFit : public FormFixture {
protected:
    // Collects every caption that does not fit, every control that leaves
    // its parent, and every overlap between controls that are shown.
    std::vector<std::string> Problems(const std::string& where) {
        return Problems(Form().Handle(), Form().DpiValue(), where);
    }
    std::vector<std::string> Problems(HWND root, int dpiValue, const std::string& where) {
        std::vector<std::string> problems;
        std::vector<HWND> all;
        EnumChildWindows(
            root,
            [](HWND child, LPARAM list) {
                reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&all));
        Dpi dpi{dpiValue};
        for (HWND control : all) {
            std::string kind = ClassOf(control);
            LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
            bool captioned = kind == "Button" || (kind == "Static" && !(style & SS_ICON));
            if (!captioned)
                continue;
            std::string text = GetText(control);
            if (text.empty())
                continue;
            auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
            SIZE extent = TextExtent(font, text);
            SIZE chrome = ChromeOf(control, dpi);
            RECT client = {};
            GetClientRect(control, &client);
            if (extent.cx + chrome.cx > client.right || extent.cy + chrome.cy > client.bottom) {
                std::ostringstream problem;
                problem << where << ": \"" << text << "\" needs " << extent.cx + chrome.cx << "x"
                        << extent.cy + chrome.cy << ", has " << client.right << "x"
                        << client.bottom;
                problems.push_back(problem.str());
            }
        }
        for (HWND control : all) {
            if (!(GetWindowLongPtrW(control, GWL_STYLE) & WS_VISIBLE))
                continue;
            HWND parent = GetParent(control);
            RECT area = {};
            GetClientRect(parent, &area);
            RECT rect = RectIn(control, parent);
            if (!Contains(area, rect))
                problems.push_back(where + ": \"" + GetText(control) + "\" (" + ClassOf(control) +
                                   ") reaches outside its parent");
            for (HWND other : all) {
                if (other <= control || GetParent(other) != parent ||
                    !(GetWindowLongPtrW(other, GWL_STYLE) & WS_VISIBLE))
                    continue;
                RECT otherRect = RectIn(other, parent), common = {};
                if (!IntersectRect(&common, &rect, &otherRect))
                    continue;
                // A frame may hold what lies wholly inside it, other frames too.
                if ((IsFrame(control) && Contains(rect, otherRect)) ||
                    (IsFrame(other) && Contains(otherRect, rect)))
                    continue;
                problems.push_back(where + ": \"" + GetText(control) + "\" (" + ClassOf(control) +
                                   ") overlaps \"" + GetText(other) + "\" (" + ClassOf(other) +
                                   ")");
            }
        }
        return problems;
    }
};

TEST_F(LayoutFit, EveryCaptionFitsAtEveryDpiInEveryLanguage) {
    TForm1& form = Form();
    for (int dpi : {96, 120, 144, 192}) {
        form.ApplyDpi(dpi);
        ASSERT_EQ(form.DpiValue(), dpi);
        for (int language : TranslatedLanguages()) {
            SelectCombo(Ctl().cmbLanguage, language);
            std::string where = std::to_string(dpi) + " dpi, language " + std::to_string(language);
            // Find and Delete read "List" and "Uninstall" for installed software;
            // Memory shows its page and Refresh.
            for (HWND type : {Ctl().rbtDosyalar, Ctl().rbtSoftware, Ctl().rbtHafiza}) {
                Click(type);
                for (const std::string& problem : Problems(where))
                    ADD_FAILURE() << problem;
            }
            Click(Ctl().rbtDosyalar);
        }
    }
}

TEST_F(LayoutFit, TheFolderUsagePageFitsAtEveryDpiInEveryLanguage) {
    files.AddFile("c:\\windows\\system\\k.dll", std::string(8192, 'x'));
    TForm1& form = Form();
    dialogs.answers.push_back(AnswerOk);
    Command(TForm1::IdFolderUsage);
    ASSERT_TRUE(Shown(form.FolderUsage().Panel()));
    for (int dpi : {96, 120, 144, 192}) {
        form.ApplyDpi(dpi);
        for (int language : TranslatedLanguages()) {
            SelectCombo(Ctl().cmbLanguage, language);
            // Each view in turn, the list's note of its floor included.
            for (auto view : {FolderUsagePage::View::Pie, FolderUsagePage::View::Treemap,
                              FolderUsagePage::View::Largest, FolderUsagePage::View::Types}) {
                form.FolderUsage().ShowView(view);
                if (view == FolderUsagePage::View::Largest) {
                    SetText(form.FolderUsage().lblListNote, LocalText(language, 416) + " 999MB");
                    ShowWindow(form.FolderUsage().lblListNote, SW_SHOW);
                }
                for (const std::string& problem :
                     Problems(std::to_string(dpi) + " dpi, language " + std::to_string(language) +
                              ", view " + std::to_string(static_cast<int>(view))))
                    ADD_FAILURE() << problem;
            }
            form.FolderUsage().ShowView(FolderUsagePage::View::Pie);
        }
    }
}

TEST_F(LayoutFit, TheKeepListDialogFitsAtEveryDpiInEveryLanguage) {
    files.AddFile(Form().ProgramDir() + "keep.txt",
                  "c:\\users\\someone\\appdata\\local\\a rather long folder name\\*.tmp\r\n"
                  "HKEY_CURRENT_USER\\Software\\Maker\\Tool\\\\InstallPath\r\n");
    TForm1& form = Form();
    KeepListDialog& dialog = form.KeepListWindow();
    // Opened as the window opens it, then re-captioned and rescaled in
    // place: a dialog that closes costs Wine two seconds.
    Command(TForm1::IdKeepList1);
    ASSERT_TRUE(dialog.Handle()) << "the menu command opens it";
    for (int dpi : {96, 120, 144, 192}) {
        dialog.ApplyDpi(dpi);
        for (int language : TranslatedLanguages()) {
            dialog.ApplyTexts(LocalTexts(language));
            std::string where =
                "keep list, " + std::to_string(dpi) + " dpi, language " + std::to_string(language);
            for (const std::string& problem : Problems(dialog.Handle(), dpi, where))
                ADD_FAILURE() << problem;
            if ((dpi == 96 || dpi == 144) && (language == 1 || language == 3)) {
                SendMessageW(dialog.lstEntries(), LB_SETCURSEL, 0, 0);
                SaveScreenshot(dialog.Handle(), "keep-" + std::to_string(dpi) + "-" +
                                                    (language == 1 ? "english" : "german"));
            }
        }
    }
    dialog.Close();
}

TEST_F(LayoutFit, TheCleanersDialogFitsAtEveryDpiInEveryLanguage) {
    // A detected community cleaner with a long name and a warning, beside
    // whatever of ours the fake machine has.
    files.AddFile(Form().ProgramDir() + "winapp2.ini",
                  "[A Cleaner With A Rather Long Name For Its Line *]\r\n"
                  "LangSecRef=3023\r\nDetectFile=%LocalAppData%\\Tool\r\n"
                  "Warning=Forgets the recent list.\r\n"
                  "FileKey1=%LocalAppData%\\Tool\\Cache|*.*\r\n");
    files.AddFile("c:\\Users\\alice\\AppData\\Local\\Tool\\Cache\\x.bin", "x");
    // Windows' cleanup handlers: one measured, one that did not answer.
    process.elevated = true;
    cleanupHandlers.Add("Temporary Files", "Temporary files", 5 << 20);
    FakeCleanupHandlers::Script& hung =
        cleanupHandlers.Add("Hung", "A handler that never answered its call", 0);
    hung.scan.state = CleanupState::NotAnswering;
    hung.scan.fault = {"GetSpaceUsed", 0};
    TForm1& form = Form();
    CleanersDialog& dialog = form.CleanersWindow();
    SendMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(IdBtnCleaners, BN_CLICKED),
                 reinterpret_cast<LPARAM>(Ctl().btnCleaners));
    Pump();
    ASSERT_TRUE(dialog.Handle()) << "the button opens it";
    ASSERT_TRUE(dialog.FindNode("Temporary files")) << "the Windows cleanup group is shown";
    HTREEITEM node = dialog.FindNode("A Cleaner");
    ASSERT_TRUE(node);
    TreeView(dialog.tvCleaners()).Select(node);
    for (int dpi : {96, 120, 144, 192}) {
        dialog.ApplyDpi(dpi);
        for (int language : TranslatedLanguages()) {
            dialog.ApplyTexts(LocalTexts(language));
            TreeView(dialog.tvCleaners()).Select(dialog.FindNode("A Cleaner"));
            std::string where =
                "cleaners, " + std::to_string(dpi) + " dpi, language " + std::to_string(language);
            for (const std::string& problem : Problems(dialog.Handle(), dpi, where))
                ADD_FAILURE() << problem;
            if ((dpi == 96 || dpi == 144) && (language == 1 || language == 3))
                SaveScreenshot(dialog.Handle(), "cleaners-" + std::to_string(dpi) + "-" +
                                                    (language == 1 ? "english" : "german"));
        }
    }
    dialog.Close();
}

TEST_F(LayoutFit, TheScheduleDialogFitsAtEveryDpiInEveryLanguage) {
    files.AddFile(Form().ProgramDir() + "brimclean.log",
                  "2026-12-09 03:00, clean files, 1,234 files, 2.3 GB, exit 0\r\n");
    scheduler.tasks[ScheduledTaskName] = ScheduledCleanTask(
        ScheduledChoice{}, {ScheduleWhen::Weekly, 3, 0, 3}, Form().ProgramDir(), false);
    Command(TForm1::IdSchedule);
    ScheduleDialog* dialog = Form().ScheduleWindow();
    ASSERT_TRUE(dialog && dialog->Handle()) << "the menu command opens it";
    for (int dpi : {96, 120, 144, 192}) {
        dialog->ApplyDpi(dpi);
        for (int language : TranslatedLanguages()) {
            dialog->ApplyTexts(LocalTexts(language));
            std::string where =
                "schedule, " + std::to_string(dpi) + " dpi, language " + std::to_string(language);
            for (const std::string& problem : Problems(dialog->Handle(), dpi, where))
                ADD_FAILURE() << problem;
            if ((dpi == 96 || dpi == 144) && (language == 1 || language == 3))
                SaveScreenshot(dialog->Handle(), "schedule-" + std::to_string(dpi) + "-" +
                                                     (language == 1 ? "english" : "german"));
        }
    }
    dialog->Close();
}

TEST_F(LayoutFit, TheWindowGrowsWithTheDpiAndShrinksBack) {
    TForm1& form = Form();
    RECT at96 = {}, at144 = {}, back = {};
    GetWindowRect(form.Handle(), &at96);
    form.ApplyDpi(144);
    GetWindowRect(form.Handle(), &at144);
    // Text does not grow quite in proportion: the window may widen a little
    // more to keep every caption whole.
    EXPECT_GE(at144.right - at144.left, (at96.right - at96.left) * 3 / 2 - 2);
    EXPECT_NEAR(at144.bottom - at144.top, (at96.bottom - at96.top) * 3 / 2, 2);
    EXPECT_EQ(at144.left, at96.left) << "the window keeps its place";
    LOGFONTW font = {};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Ctl().btnBul, WM_GETFONT, 0, 0)), sizeof font,
               &font);
    EXPECT_EQ(font.lfHeight, MessageFontAt(Dpi{144}).lfHeight);

    // The way Windows moves the window to a 96-DPI monitor.
    RECT suggested = at96;
    SendMessageW(form.Handle(), WM_DPICHANGED, MAKEWPARAM(96, 96),
                 reinterpret_cast<LPARAM>(&suggested));
    GetWindowRect(form.Handle(), &back);
    EXPECT_EQ(back.right - back.left, at96.right - at96.left);
    EXPECT_EQ(form.DpiValue(), 96);
}

TEST_F(LayoutFit, NoHorizontalScrollBarBesideTheList) {
    for (int file = 0; file < 200; ++file)
        files.AddFile("c:\\temp\\f" + std::to_string(file) + ".tmp", "x");
    TForm1& form = Form();
    for (int dpi : {96, 144}) {
        form.ApplyDpi(dpi);
        Click(Ctl().btnBul);
        ASSERT_GT(form.Results().RowCount(), 100);
        EXPECT_TRUE(GetWindowLongPtrW(Ctl().ListView1, GWL_STYLE) & WS_VSCROLL) << dpi;
        EXPECT_FALSE(GetWindowLongPtrW(Ctl().ListView1, GWL_STYLE) & WS_HSCROLL) << dpi;
    }
}

TEST_F(LayoutFit, ScreenshotsAt96And144DpiInEnglishAndGerman) {
    Form().Show1Click();
    for (int dpi : {96, 144}) {
        Form().ApplyDpi(dpi);
        for (auto [language, name] : {std::pair{1, "english"}, std::pair{3, "german"}}) {
            SelectCombo(Ctl().cmbLanguage, language);
            Screenshot("main-" + std::to_string(dpi) + "-" + name);
        }
    }
    EXPECT_EQ(Form().DpiValue(), 144);
}

TEST_F(LayoutFit, SpecialOffersFitsAtEveryDpi) {
    TdlgNews news(
        {files, registry, process, dialogs, clock, online, process.programDir, IDI_BRIMSWEEP});
    ASSERT_TRUE(news.Create(nullptr));
    ShowWindow(news.Handle(), SW_SHOWNOACTIVATE);
    for (int dpi : {96, 120, 144, 192}) {
        news.ApplyDpi(dpi);
        RECT client = {};
        GetClientRect(news.Handle(), &client);
        EXPECT_EQ(client.right, Dpi{dpi}.Scale(574));
        for (const std::string& problem :
             Problems(news.Handle(), dpi, "offers at " + std::to_string(dpi) + " dpi"))
            ADD_FAILURE() << problem;
        // Its texts are the same in every language.
        if (dpi == 96 || dpi == 144)
            SaveScreenshot(news.Handle(), "offers-" + std::to_string(dpi));
    }
}

TEST_F(LayoutFit, ScreenshotsOfTheUpdateAndThanksPanes) {
    Form().Show1Click();
    for (int dpi : {96, 144}) {
        Form().ApplyDpi(dpi);
        for (auto [language, name] : {std::pair{1, "english"}, std::pair{3, "german"}}) {
            SelectCombo(Ctl().cmbLanguage, language);
            Form().btnInformationClick();
            for (auto [tab, pane] : {std::pair{4, "update"}, std::pair{5, "thanks"}}) {
                TabControl(Ctl().tabAbout).Select(tab);
                Form().pnlAboutTabChanged();
                Screenshot(std::string(pane) + "-" + std::to_string(dpi) + "-" + name);
            }
        }
    }
    EXPECT_EQ(Form().DpiValue(), 144);
}

TEST_F(LayoutFit, ThePutBackDialogFitsAtEveryDpiInEveryLanguage) {
    const std::string archive = Form().ProgramDir() + "tb12.bck";
    files.AddFile("c:\\temp\\cookie.txt", "c");
    files.AddFile("c:\\users\\someone\\appdata\\local\\a rather long folder name\\index.dat",
                  std::string(20000, 'i'));
    {
        TBackupFile writer(files, clock);
        writer.TextCodec = Latin1ArchiveText();
        ASSERT_TRUE(writer.Backup(
            {"c:\\temp\\cookie.txt",
             "c:\\users\\someone\\appdata\\local\\a rather long folder name\\index.dat"},
            archive));
    }
    files.RemoveFile("c:\\temp\\cookie.txt");
    TForm1& form = Form();
    form.OpenPutBack(archive);
    PutBackDialog& dialog = form.PutBackWindow();
    ASSERT_TRUE(dialog.Handle());
    for (int dpi : {96, 120, 144, 192}) {
        dialog.ApplyDpi(dpi);
        for (int language : TranslatedLanguages()) {
            dialog.ApplyTexts(LocalTexts(language));
            std::string where =
                "put back, " + std::to_string(dpi) + " dpi, language " + std::to_string(language);
            for (const std::string& problem : Problems(dialog.Handle(), dpi, where))
                ADD_FAILURE() << problem;
            if ((dpi == 96 || dpi == 144) && (language == 1 || language == 3))
                SaveScreenshot(dialog.Handle(), "putback-" + std::to_string(dpi) + "-" +
                                                    (language == 1 ? "english" : "german"));
        }
    }
    dialog.Close();
}

} // namespace
} // namespace bs
