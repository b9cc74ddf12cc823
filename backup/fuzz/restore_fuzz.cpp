// The archive reader: arbitrary bytes restored into an empty destination and
// into one that already holds files (backup/fuzz/RestoreHarness.h).
#include "backup/fuzz/RestoreHarness.h"
#include "platform/fuzz/FuzzMain.h"

BRIM_FUZZ_PROPERTY(bs::fuzz::CheckRestoreArchive)
