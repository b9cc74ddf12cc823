// The scheduled task's XML (schedule/fuzz/TaskXmlProperty.h).
#include "platform/fuzz/FuzzMain.h"
#include "schedule/fuzz/TaskXmlProperty.h"

BRIM_FUZZ_PROPERTY(bs::fuzz::CheckTaskXml)
