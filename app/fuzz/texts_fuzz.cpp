// language.txt, the software origin and the registry row caption
// (app/fuzz/TextsProperty.h).
#include "app/fuzz/TextsProperty.h"
#include "platform/fuzz/FuzzMain.h"

BRIM_FUZZ_PROPERTY(bs::fuzz::CheckTexts)
