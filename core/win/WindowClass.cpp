#include "core/win/WindowClass.h"

namespace bs {

bool RegisterWindowClassOnce(const WindowClassArgs& args) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    if (GetClassInfoExW(instance, args.name, &windowClass))
        return true;
    windowClass.style = args.style;
    windowClass.lpfnWndProc = args.procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = args.icon;
    windowClass.hCursor = LoadCursorW(nullptr, args.cursor);
    windowClass.hbrBackground = args.background;
    windowClass.lpszClassName = args.name;
    return RegisterClassExW(&windowClass) != 0;
}

} // namespace bs
