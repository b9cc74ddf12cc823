// The .reg backup writer against an independent reader (clean/fuzz/RegProperty.h).
#include "clean/fuzz/RegProperty.h"
#include "platform/fuzz/FuzzMain.h"

BRIM_FUZZ_PROPERTY(bs::fuzz::CheckRegBackupRoundTrip)
