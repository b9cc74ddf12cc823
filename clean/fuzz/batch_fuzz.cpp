// clean.bat's writer against deletebat's reader (clean/fuzz/BatchProperty.h).
#include "clean/fuzz/BatchProperty.h"
#include "platform/fuzz/FuzzMain.h"

BRIM_FUZZ_PROPERTY(bs::fuzz::CheckBatchRoundTrip)
