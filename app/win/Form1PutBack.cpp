// "Back to where they were" and "Undo last clean": the files of a backup
// archive in the put-back dialog, and the ticked ones put back at their
// original places.
#include "app/win/Form1.h"
#include "app/win/Form1CommandScope.h"

#include "platform/DateConv.h"

namespace bs {

namespace {

enum TextId {
    TextTaken = 241,
    TextLink = 242,
    TextBadName = 243,
    TextNoArchive = 235,
    TextPutBackCount = 244,
    TextNotPutBack = 245,
    TextNoFolder = 246,
    TextNotWritten = 247,
    TextDamaged = 248,
    TextStopped = 249,
};

// The failures named in the closing message; the rest are counted.
constexpr size_t ListedFailures = 20;

int FailureTextId(RestoreFailure why) {
    switch (why) {
    case RestoreFailure::BadName:
        return TextBadName;
    case RestoreFailure::LinkOnTheWay:
        return TextLink;
    case RestoreFailure::NoFolder:
        return TextNoFolder;
    case RestoreFailure::CannotCreate:
        return TextNotWritten;
    case RestoreFailure::Damaged:
        return TextDamaged;
    case RestoreFailure::Stopped:
        return TextStopped;
    case RestoreFailure::Taken:
        return TextTaken;
    }
    return TextNotWritten;
}

} // namespace

void TForm1::RestoreBackClick() {
    auto archive =
        services_.dialogs.OpenFile(reinterpret_cast<uintptr_t>(hwnd_), "Backup|*.bck", programDir_);
    if (archive)
        OpenPutBack(*archive);
}

void TForm1::UndoLastCleanClick() {
    std::string archive = NewestBackupArchive(services_.files, programDir_);
    if (archive.empty()) {
        Ask(Texts()(TextNoArchive), "Tarn Brimsweep Pro", MbOk | MbIconInformation);
        return;
    }
    OpenPutBack(archive);
}

void TForm1::OpenPutBack(const std::string& archive) {
    PutBackList list = ListPutBack(services_.files, backupFile1_.TextCodec, archive);
    if (!list.complete) {
        // What can be read before the damage may still go back.
        Ask(BackupErrorMessage(beCannotReadArchive) + "\r\n" + archive + ": " + list.damage,
            "Tarn Brimsweep Pro", MbOk | MbIconError);
        if (list.rows.empty())
            return;
    }
    auto dateText = [this](int32_t dos) {
        auto local = DosToDateTime(static_cast<uint32_t>(dos));
        return local ? services_.clock.FormatDateTime(*local).value_or("-") : std::string("-");
    };
    if (!putBackDialog_.Open(
            hwnd_, DpiValue(), Texts(), archive, std::move(list.rows), dateText,
            [this](const std::vector<std::string>& ticked) { PutBackTicked(ticked); }))
        Ask("Cannot create the put-back window", "Tarn Brimsweep Pro", MbOk | MbIconError);
}

void TForm1::PutBackTicked(const std::vector<std::string>& ticked) {
    // A second click while the first put back pumps the window's messages.
    if (backupFile1_.Busy())
        return;
    const std::string archive = putBackDialog_.Archive();
    {
        CommandScope scope(*this);
        if (scope.Refused())
            return;
        SetProgressMax(100);
        PutBackResult result = PutBack(backupFile1_, services_.files, archive, ticked);
        SetProgressPosition(0);
        folderUsagePage_.FiguresChanged();
        LocalTexts texts = Texts();
        std::string message =
            texts(TextPutBackCount) + " " + std::to_string(result.restored.size());
        if (!result.failed.empty()) {
            message += "\r\n\r\n" + texts(TextNotPutBack);
            for (size_t i = 0; i < result.failed.size() && i < ListedFailures; ++i)
                message += "\r\n" + result.failed[i].path + ": " +
                           texts(FailureTextId(result.failed[i].why));
            if (result.failed.size() > ListedFailures)
                message += "\r\n+ " + std::to_string(result.failed.size() - ListedFailures);
        }
        if (!result.archiveError.empty())
            message += "\r\n\r\n" + result.archiveError;
        bool whole = result.failed.empty() && result.archiveError.empty();
        Ask(message, "Tarn Brimsweep Pro", MbOk | (whole ? MbIconInformation : MbIconWarning));
    }
    // What is at the places now: those that came back are taken.
    if (putBackDialog_.Handle())
        putBackDialog_.Fill(ListPutBack(services_.files, backupFile1_.TextCodec, archive).rows);
}

} // namespace bs
