// The Delete command's branches and the backup component of the main window.
#include "app/win/Form1.h"

#include "app/LanguageSettings.h"
#include "backup/win/AnsiText.h"
#include "core/win/Controls.h"
#include "clean/FilesDelete.h"
#include "clean/RegistryDelete.h"
#include "clean/Software.h"

namespace bs {

void TForm1::SetUpBackupFile1() {
    SetUpDeletionBackup(backupFile1_);
    backupFile1_.OnProgress = [this](TBackupFile& sender, const std::string& name, int percent,
                                     bool& go) { BackupFile1Progress(sender, name, percent, go); };
    // Its error box and volume prompt belong to this window; its blocks keep
    // the window alive.
    backupFile1_.MessageDialogs = &services_.dialogs;
    backupFile1_.DialogOwner = reinterpret_cast<uintptr_t>(hwnd_);
    backupFile1_.ProcessMessages = [this] { PumpEvents(); };
    backupFile1_.TextCodec = AnsiArchiveText();
}

void TForm1::BackupFile1Progress(TBackupFile&, const std::string&, int Percent, bool&) {
    SetProgressPosition(Percent);
    SetStatus(Texts()(99));
}

TForm1::DeleteOutcome TForm1::RunDeleteBranch() {
    LocalTexts texts = Texts();
    if (cleanType_ == CleanType::Registry) {
        RegistryDeleteContext context(registryCursor_, services_.files, *this, listView1_, texts);
        context.backupRegistry = CheckBox(c_.chkBackup).Checked();
        context.programDir = programDir_;
        context.toAnsi = Utf8ToAnsiExact;
        RegistryDeleteResult result = RunRegistryDelete(context);
        return {!result.stopped, result.deleted > 0};
    }
    if (cleanType_ == CleanType::Software) {
        SoftwareContext context(services_.registry, services_.files, services_.process, *this,
                                listView1_, texts);
        SoftwareUninstallResult result = RunSoftwareUninstall(context);
        return {!result.stopped, result.rowsUninstalled > 0 || result.entriesRemoved > 0};
    }
    // Memory has no Delete.
    if (cleanType_ != CleanType::Files)
        return {true, false};
    // The command holds the cleaning lock: the number brimclean.exe may have
    // moved on in language.txt is the one to take, and the next one goes
    // back at once, so that neither program takes it again.
    const int number = ReadLanguageSettings(services_.files, programDir_).backupArchiveNumber;
    backupArchiveNumber_ = number;
    FilesDeleteContext context(services_.files, services_.registry, *this, listView1_, texts,
                               services_.batchCodePage, backupFile1_, backupArchiveNumber_);
    context.backupFiles = CheckBox(c_.chkBackup).Checked();
    context.programDir = programDir_;
    context.saveNextNumber = [this](int next) {
        const int taken = backupArchiveNumber_;
        backupArchiveNumber_ = next;
        const bool saved = SaveSettings();
        backupArchiveNumber_ = taken;
        return saved;
    };
    FilesDeleteResult result = RunFilesDelete(context);
    bool purged = false;
    if (result.confirmed && !result.stopped) {
        RemoveCleanerFolders();
        DeleteCleanerValues();
        // Last, and asked for on their own: nothing they remove is in the
        // backup just written.
        purged = PurgeTickedHandlers();
    }
    if (backupArchiveNumber_ != number)
        SaveSettings();
    return {!result.stopped, result.deleted > 0 || purged};
}

} // namespace bs
