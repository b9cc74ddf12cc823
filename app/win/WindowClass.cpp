#include "app/win/WindowClass.h"

namespace bs {

void RegisterWindowClassOnce(const WindowClassArgs& args) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    if (GetClassInfoExW(instance, args.name, &windowClass))
        return;
    windowClass.lpfnWndProc = args.procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = args.icon;
    windowClass.hCursor = LoadCursorW(nullptr, args.cursor);
    windowClass.hbrBackground = args.background;
    windowClass.lpszClassName = args.name;
    RegisterClassExW(&windowClass);
}

} // namespace bs
