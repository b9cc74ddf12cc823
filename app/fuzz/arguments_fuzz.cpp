// brimclean's and uninstall.exe's command lines (app/fuzz/ArgumentsProperty.h).
#include "app/fuzz/ArgumentsProperty.h"
#include "platform/fuzz/FuzzMain.h"

BRIM_FUZZ_PROPERTY(bs::fuzz::CheckCommandLines)
