// The Task Scheduler service of the test prefix: a fresh Wine prefix has it
// stopped, and the tests start it as Windows would have it running.
#pragma once

#include <windows.h>

#include "platform/win32/Scoped.h"

namespace bs {

struct ServiceTraits {
    using Handle = SC_HANDLE;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(Handle handle) { return handle != nullptr; }
    static void Close(Handle handle) { CloseServiceHandle(handle); }
};
using ScopedService = ScopedHandle<ServiceTraits>;

inline bool SchedulerRunning() {
    ScopedService manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
    ScopedService service(manager.Valid() ? OpenServiceW(manager.Get(), L"Schedule",
                                                         SERVICE_START | SERVICE_QUERY_STATUS)
                                          : nullptr);
    if (!service.Valid())
        return false;
    StartServiceW(service.Get(), 0, nullptr);
    for (int wait = 0; wait < 100; ++wait) {
        SERVICE_STATUS status = {};
        if (QueryServiceStatus(service.Get(), &status) && status.dwCurrentState == SERVICE_RUNNING)
            return true;
        Sleep(100);
    }
    return false;
}

} // namespace bs
