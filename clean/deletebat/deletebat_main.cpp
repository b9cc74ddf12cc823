// deletebat.exe: clean.bat runs it at the start of Windows. It deletes the
// files listed in clean.lst beside it through the deletion door: only the very
// file each line names (same volume, file ID, size and time), by its exact
// name and never through a link. A file that has changed, moved or now lies
// behind a link stays. It shows no window and always ends with 0 so the batch
// goes on whatever happened.
#include <windows.h>

#include <string>

#include "clean/FileDeletionDoor.h"
#include "clean/PendingDeletions.h"
#include "platform/win32/ModulePath.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Win32FileSystem.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    try {
        std::wstring folder = bs::ExecutableFolder();
        if (folder.empty())
            return 0;
        const std::string programDir = bs::Narrow(folder);
        bs::Win32FileSystem files;
        bs::FileDeletionDoor door(files);
        for (const auto& file : bs::ReadPendingList(files, programDir))
            door.Delete(file.path, file.identity);
        // Done with, whatever became of each file: a file still held open at
        // the start of Windows is left, not retried at every start.
        files.RemoveFile(bs::PendingListPath(programDir));
    } catch (...) {
        // Out of memory at worst; the batch must still run on.
    }
    return 0;
}
