// Backup, read-back check and restore over random trees, names, sizes and
// volume sizes: the bytes come back equal (backup/fuzz/RoundTripHarness.h).
#include "backup/fuzz/RoundTripHarness.h"
#include "platform/fuzz/FuzzMain.h"

BRIM_FUZZ_PROPERTY(bs::fuzz::CheckBackupRoundTrip)
