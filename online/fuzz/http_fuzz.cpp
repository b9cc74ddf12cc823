// HTTP answers over a scripted client (online/fuzz/HttpProperty.h).
#include "online/fuzz/HttpProperty.h"
#include "platform/fuzz/FuzzMain.h"

BRIM_FUZZ_PROPERTY(bs::fuzz::CheckHttpAnswers)
