#include "sysinfo/Memory.h"

namespace bs {

void TMemory::QueryStatus() {
    // A failed query reads as all zeros, as the zeroed status record would.
    status_ = machine_.GetMemoryStatus().value_or(MemoryStatus{});
    info_ = machine_.SystemInfo();
}

} // namespace bs
