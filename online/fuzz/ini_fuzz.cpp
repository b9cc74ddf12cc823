// brimsweep.ini's addresses (online/fuzz/IniProperty.h).
#include "online/fuzz/IniProperty.h"
#include "platform/fuzz/FuzzMain.h"

BRIM_FUZZ_PROPERTY(bs::fuzz::CheckIniEndpoints)
