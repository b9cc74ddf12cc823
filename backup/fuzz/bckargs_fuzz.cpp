// bck.exe's command line (backup/fuzz/BckArgumentsProperty.h).
#include "backup/fuzz/BckArgumentsProperty.h"
#include "platform/fuzz/FuzzMain.h"

BRIM_FUZZ_PROPERTY(bs::fuzz::CheckBckArguments)
