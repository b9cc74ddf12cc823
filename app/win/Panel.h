// A plain container window. Child controls send WM_COMMAND and WM_NOTIFY to
// their parent; a panel passes them on to the top-level window so that one
// place handles every control of the form.
#pragma once

#include <windows.h>

namespace bs {

HWND CreatePanel(HWND parent, int x, int y, int width, int height);

} // namespace bs
