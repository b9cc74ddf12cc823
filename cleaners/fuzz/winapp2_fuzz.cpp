// The winapp2.ini reader (cleaners/fuzz/Winapp2Property.h).
#include "cleaners/fuzz/Winapp2Property.h"
#include "platform/fuzz/FuzzMain.h"

BRIM_FUZZ_PROPERTY(bs::fuzz::CheckWinapp2Reader)
