// keep.txt's entries and the rows they keep (clean/fuzz/KeepProperty.h).
#include "clean/fuzz/KeepProperty.h"
#include "platform/fuzz/FuzzMain.h"

BRIM_FUZZ_PROPERTY(bs::fuzz::CheckKeepList)
