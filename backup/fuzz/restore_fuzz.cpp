// libFuzzer entry: built by scripts/fuzz-archive.sh, not by CMake.
#include "backup/fuzz/RestoreHarness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    bs::fuzz::RestoreArchiveBytes(data, size);
    return 0;
}
