// The Restore command: brings back a backup archive into a new folder of its
// own below the restore folder or, through the put-back dialog, to where its
// files were; or hands a registry backup to the system's registry editor.
#include "app/win/Form1.h"
#include "app/win/Form1CommandScope.h"

#include "backup/RestoreFolder.h"
#include "platform/win32/Utf.h"

namespace bs {

namespace {

enum TextId {
    TextRestoredFiles = 96,
    TextRestoreFolderIsLink = 230,
    TextCannotMakeRestoreFolder = 231,
    TextRestoreInto = 232,
    TextRestoreBack = 233,
};

} // namespace

void TForm1::JetButton2Click() {
    auto owner = reinterpret_cast<uintptr_t>(hwnd_);
    if (cleanType_ == CleanType::Registry) {
        if (auto file = services_.dialogs.OpenFile(owner, "Registry|*.reg", programDir_))
            // The registry editor asks its own question and merges the file;
            // a failure to start it is the system's to report.
            services_.process.ShellOpen(*file);
        return;
    }
    if (cleanType_ != CleanType::Files)
        return;
    switch (ChooseRestore()) {
    case IdRestoreInto:
        if (auto archive = services_.dialogs.OpenFile(owner, "Backup|*.bck", programDir_))
            RestoreIntoFolder(*archive);
        break;
    case IdRestoreBack:
        RestoreBackClick();
        break;
    default:
        break;
    }
}

int TForm1::ChooseRestore() {
    ScopedMenu menu(CreatePopupMenu());
    if (!menu.Valid())
        return 0;
    for (auto [command, text] :
         {std::pair{IdRestoreInto, TextRestoreInto}, std::pair{IdRestoreBack, TextRestoreBack}}) {
        std::wstring caption = Widen(Texts()(text));
        AppendMenuW(menu.Get(), MF_STRING, static_cast<UINT_PTR>(command), caption.c_str());
    }
    // Below the button, as a drop-down.
    RECT button = {};
    GetWindowRect(c_.JetButton2, &button);
    POINT screen = {button.left, button.bottom};
    return menuTracker_ ? menuTracker_(menu.Get(), screen)
                        : TrackPopupMenu(menu.Get(), TPM_RETURNCMD | TPM_LEFTBUTTON | TPM_NONOTIFY,
                                         screen.x, screen.y, 0, hwnd_, nullptr);
}

void TForm1::RestoreIntoFolder(const std::string& archive) {
    CommandScope scope(*this);
    if (scope.Refused())
        return;
    RestoreFolder folder =
        MakeRestoreFolder(services_.files, services_.clock, RestoreRootFolder, archive);
    if (folder.fault != RestoreFolder::Fault::None) {
        int text = folder.fault == RestoreFolder::Fault::Link ? TextRestoreFolderIsLink
                                                              : TextCannotMakeRestoreFolder;
        Ask(Texts()(text) + " " + folder.path, "Tarn Brimsweep Pro", MbOk | MbIconError);
        return;
    }
    // Each file below its drive and folders, as it was: two files of one
    // name both come back, and nothing there is replaced.
    backupFile1_.RestoreFullPath = true;
    backupFile1_.RestoreDriveFolder = true;
    backupFile1_.RestoreMode = rmNoOverwrite;
    backupFile1_.OnRestoreFile = nullptr;
    SetProgressMax(100);
    try {
        // The archive component reports the files it could not bring back
        // in its own error box; the closing message follows in any case.
        backupFile1_.Restore(archive, folder.path);
        folderUsagePage_.FiguresChanged();
    } catch (const EBackupError& error) {
        folderUsagePage_.FiguresChanged();
        // A damaged archive (empty, cut short, not an archive at all) ends
        // the restore, not the program; what came back before stays.
        SetProgressPosition(0);
        Ask(error.what(), "Tarn Brimsweep Pro", MbOk | MbIconError);
        if (backupFile1_.FilesDone() == 0)
            return;
    }
    SetProgressPosition(0);
    Ask(Texts()(TextRestoredFiles) + "\r\n" + folder.path, "Tarn Brimsweep Pro", MbOk);
}

} // namespace bs
