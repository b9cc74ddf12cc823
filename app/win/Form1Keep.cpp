// The results list's context menu (keep a row's file, folder, value or key;
// open a file's folder) and Tools > "Keep list…".
#include "app/win/Form1.h"

#include "clean/KeepList.h"
#include "platform/win32/Utf.h"

namespace bs {

namespace {

enum TextId {
    TextBadKeepLines = 180,
    TextKeepItem = 181,
    TextKeepFolder = 182,
    TextKeepValue = 183,
    TextKeepKey = 184,
    TextOpenFolder = 185,
    TextCannotSave = 189,
};

struct MenuEntry {
    int command;
    int text;
};

} // namespace

KeepListLoad TForm1::LoadKeepList() {
    KeepListLoad keep = ReadKeepList(services_.files, programDir_);
    if (auto lines = keepWarnings_.NewBadLines(keep))
        Ask(Texts()(TextBadKeepLines) + " " + *lines, KeepFilePath(programDir_),
            MbOk | MbIconWarning);
    return keep;
}

int TForm1::ContextRow() const {
    int focused = ListView_GetNextItem(c_.ListView1, -1, LVNI_FOCUSED | LVNI_SELECTED);
    return focused >= 0 ? focused : ListView_GetNextItem(c_.ListView1, -1, LVNI_SELECTED);
}

void TForm1::ListView1ContextPopup(POINT screen, bool fromKeyboard) {
    if (commandDepth_ > 0 || ContextRow() < 0)
        return;
    std::vector<MenuEntry> entries;
    if (cleanType_ == CleanType::Files)
        entries = {{IdKeepItem, TextKeepItem},
                   {IdKeepFolder, TextKeepFolder},
                   {0, 0},
                   {IdOpenFolder, TextOpenFolder}};
    else if (cleanType_ == CleanType::Registry)
        entries = {{IdKeepValue, TextKeepValue}, {IdKeepKey, TextKeepKey}};
    else
        return;
    ScopedMenu menu(CreatePopupMenu());
    if (!menu.Valid())
        return;
    for (const auto& entry : entries) {
        std::wstring text = Widen(Texts()(entry.text));
        AppendMenuW(menu.Get(), entry.command ? MF_STRING : MF_SEPARATOR,
                    static_cast<UINT_PTR>(entry.command), entry.command ? text.c_str() : nullptr);
    }
    if (fromKeyboard) {
        // The menu key: below the row it acts on.
        RECT row = {};
        ListView_GetItemRect(c_.ListView1, ContextRow(), &row, LVIR_LABEL);
        screen = {row.left, row.bottom};
        ClientToScreen(c_.ListView1, &screen);
    }
    int picked = menuTracker_
                     ? menuTracker_(menu.Get(), screen)
                     : TrackPopupMenu(menu.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                      screen.x, screen.y, 0, hwnd_, nullptr);
    if (picked != 0)
        OnCommand(picked, 0);
}

void TForm1::KeepRowClick(int commandId) {
    int index = ContextRow();
    if (index < 0 || commandDepth_ > 0)
        return;
    ListRow row = listView1_.Row(index);
    std::string entry;
    switch (commandId) {
    case IdKeepItem:
        entry = KeepEntryForFile(row);
        break;
    case IdKeepFolder:
        entry = KeepEntryForFolder(row);
        break;
    case IdKeepValue:
        entry = KeepEntryForValue(row);
        break;
    default:
        entry = KeepEntryForKey(row);
        break;
    }
    if (!AddKeepEntry(services_.files, programDir_, entry)) {
        Ask(Texts()(TextCannotSave) + " " + KeepFilePath(programDir_), "Tarn Brimsweep Pro",
            MbOk | MbIconError);
        return;
    }
    // Every row the new entry keeps goes at once, not only the one clicked.
    KeepList keep(services_.files);
    keep.Add(entry);
    if (cleanType_ == CleanType::Registry)
        RemoveKeptRegistryRows(listView1_, keep);
    else
        RemoveKeptFileRows(listView1_, keep);
}

void TForm1::OpenFolderClick() {
    int index = ContextRow();
    if (index < 0 || cleanType_ != CleanType::Files)
        return;
    ListRow row = listView1_.Row(index);
    if (!row.subItems.empty())
        services_.process.ShellOpen(row.subItems[0]);
}

void TForm1::KeepList1Click() {
    if (!keepListDialog_.Open(hwnd_, DpiValue(), programDir_, Texts(),
                              [this](const std::string& message) {
                                  Ask(message, "Tarn Brimsweep Pro", MbOk | MbIconError);
                              }))
        Ask("Cannot create the keep list window", "Tarn Brimsweep Pro", MbOk | MbIconError);
}

} // namespace bs
