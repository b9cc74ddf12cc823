// newsinfo.txt and version.txt (online/fuzz/StateFileProperty.h).
#include "online/fuzz/StateFileProperty.h"
#include "platform/fuzz/FuzzMain.h"

BRIM_FUZZ_PROPERTY(bs::fuzz::CheckStateFiles)
