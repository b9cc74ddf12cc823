// A plain container window. Child controls send WM_COMMAND and WM_NOTIFY to
// their parent; a panel offers them to the page that owns it first and passes
// what the page leaves on to its own parent, up to the form.
#pragma once

#include <windows.h>

namespace bs {

class Page;

// `owner` may be null: the panel only groups controls then.
HWND CreatePanel(HWND parent, Page* owner = nullptr);

} // namespace bs
