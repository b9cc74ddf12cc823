// The platform services the main window works with. The program passes the
// Win32 implementations; window tests pass fakes.
#pragma once

#include "clean/BatchCodePage.h"
#include "cleaners/CleanerFolders.h"
#include "cleaners/CleanupHandlers.h"
#include "online/OnlineServices.h"
#include "platform/BlockAllocator.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/MachineProbe.h"
#include "platform/Process.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "schedule/TaskScheduler.h"

namespace bs {

struct Services {
    FileSystem& files;
    Registry& registry;
    Clock& clock;
    Process& process;
    Dialogs& dialogs;
    // Processor, memory and disk-geometry queries.
    MachineProbe& machine;
    Shell& shell;
    // The memory refresh's block.
    BlockAllocator& memoryBlock;
    // Connection test and update check.
    OnlineServices& online;
    // How clean.bat spells paths: the OEM code page in the program, ASCII in
    // window tests.
    BatchCodePage& batchCodePage;
    // Window tests leave the icon out: removing one costs Wine's tray about
    // two seconds per window.
    bool notificationIcon = true;
    // The folders behind the cleaners' environment names; without them the
    // cleaners are not offered.
    CleanerFolders* cleanerFolders = nullptr;
    // The Task Scheduler, for scheduled cleaning; without it "Schedule..."
    // does nothing.
    TaskScheduler* scheduler = nullptr;
    // Windows' own cleanup handlers; without them the "Windows cleanup"
    // group is not offered.
    CleanupHandlers* cleanupHandlers = nullptr;
};

} // namespace bs
