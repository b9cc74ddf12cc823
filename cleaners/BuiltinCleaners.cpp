#include "cleaners/BuiltinCleaners.h"

#include "cleaners/CleanerLibrary.h"

namespace bs {

const CleanerLibrary& BuiltInCleaners() {
    static const CleanerLibrary library =
        ReadCleanerLibrary(BuiltInCleanersText(), CleanerOrigin::BuiltIn);
    return library;
}

} // namespace bs
