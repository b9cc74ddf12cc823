// The Restore command: brings back a backup archive into the fixed restore
// folder, or hands a registry backup to the system's registry editor.
#include "app/win/Form1.h"
#include "app/win/Form1CommandScope.h"

namespace bs {

namespace {
const char RestoreFolder[] = "C:\\restored_files";
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
    auto archive = services_.dialogs.OpenFile(owner, "Backup|*.bck", programDir_);
    if (!archive)
        return;
    CommandScope scope(*this);
    if (scope.Refused())
        return;
    // Without the folder nothing could be restored: end quietly, as on any
    // error raised while restoring.
    if (!services_.files.CreateFolders(RestoreFolder))
        return;
    SetProgressMax(100);
    // The archive component reports its own errors in its error box; the
    // closing message follows in any case.
    backupFile1_.Restore(*archive, RestoreFolder);
    SetProgressPosition(0);
    Ask(Texts()(96), "Tarn Brimsweep Pro", MbOk);
}

} // namespace bs
