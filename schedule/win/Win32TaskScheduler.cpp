#include "schedule/win/Win32TaskScheduler.h"

#include <windows.h>

#include <oleauto.h>
#include <taskschd.h>

#include <cstdio>

#include "platform/DateConv.h"
#include "platform/win32/ComScope.h"
#include "platform/win32/PrivateFolder.h"
#include "platform/win32/Scoped.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Win32Clock.h"
#include "schedule/TaskXml.h"

namespace bs {

namespace {

class ScopedBstr {
public:
    ScopedBstr() = default;
    explicit ScopedBstr(const std::string& text) : text_(SysAllocString(Widen(text).c_str())) {}
    ~ScopedBstr() { SysFreeString(text_); }
    ScopedBstr(const ScopedBstr&) = delete;
    ScopedBstr& operator=(const ScopedBstr&) = delete;
    BSTR Get() const { return text_; }
    BSTR* Receive() { return &text_; }
    std::string Text() const { return text_ ? Narrow(text_) : std::string(); }

private:
    BSTR text_ = nullptr;
};

std::string Failure(const char* call, HRESULT result) {
    switch (static_cast<unsigned long>(result)) {
    case 0x80041315UL: // SCHED_E_SERVICE_NOT_RUNNING
        return "the Task Scheduler service is not running";
    case static_cast<unsigned long>(E_ACCESSDENIED):
        return "the Task Scheduler refused access";
    default:
        break;
    }
    char text[96];
    std::snprintf(text, sizeof text, "the Task Scheduler failed (%s, 0x%08lX)", call,
                  static_cast<unsigned long>(result));
    return text;
}

bool NotThere(HRESULT result) {
    return result == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) ||
           result == HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
}

// The scheduler's root folder, or why it could not be reached.
std::string OpenRootFolder(ComPointer<ITaskService>& service, ComPointer<ITaskFolder>& root) {
    HRESULT result = CoCreateInstance(CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_ITaskService, service.ReceiveVoid());
    if (FAILED(result))
        return Failure("CoCreateInstance", result);
    VARIANT none;
    VariantInit(&none);
    if (result = service->Connect(none, none, none, none); FAILED(result))
        return Failure("Connect", result);
    ScopedBstr slash("\\");
    if (result = service->GetFolder(slash.Get(), root.Receive()); FAILED(result))
        return Failure("GetFolder", result);
    return {};
}

} // namespace

TaskLookup Win32TaskScheduler::Find(const std::string& name) {
    TaskLookup lookup;
    ComScope com;
    ComPointer<ITaskService> service;
    ComPointer<ITaskFolder> root;
    if (!com.Usable() || !(lookup.error = OpenRootFolder(service, root)).empty()) {
        if (lookup.error.empty())
            lookup.error = "COM is not available";
        return lookup;
    }
    ScopedBstr taskName(name);
    ComPointer<IRegisteredTask> task;
    HRESULT result = root->GetTask(taskName.Get(), task.Receive());
    if (NotThere(result))
        return lookup;
    if (FAILED(result)) {
        lookup.error = Failure("GetTask", result);
        return lookup;
    }
    lookup.found = true;
    lookup.task.name = name;
    ScopedBstr xml;
    if (SUCCEEDED(task->get_Xml(xml.Receive())))
        if (auto read = ReadTaskXml(xml.Text())) {
            lookup.readable = true;
            lookup.task = *read;
            lookup.task.name = name;
        }
    return lookup;
}

std::string Win32TaskScheduler::Create(const ScheduledTask& task) {
    ComScope com;
    if (!com.Usable())
        return "COM is not available";
    ComPointer<ITaskService> service;
    ComPointer<ITaskFolder> root;
    if (std::string error = OpenRootFolder(service, root); !error.empty())
        return error;
    // The task runs as the user who makes it, in that user's session, with
    // that user's rights; the trigger counts from today.
    const std::string user = Narrow(ProcessUserSid());
    if (user.empty())
        return "the user's account cannot be read";
    Win32Clock clock;
    auto local = clock.UtcToLocal(clock.NowUtc());
    const DateTime today = local ? FileTimeToDateTime(*local) : DateTime{2026, 1, 1};
    ScopedBstr taskName(task.name);
    ScopedBstr xml(TaskXmlText(task, user, today));
    VARIANT none;
    VariantInit(&none);
    ComPointer<IRegisteredTask> registered;
    HRESULT result =
        root->RegisterTask(taskName.Get(), xml.Get(), TASK_CREATE_OR_UPDATE, none, none,
                           TASK_LOGON_INTERACTIVE_TOKEN, none, registered.Receive());
    return FAILED(result) ? Failure("RegisterTask", result) : std::string();
}

std::string Win32TaskScheduler::Remove(const std::string& name) {
    ComScope com;
    if (!com.Usable())
        return "COM is not available";
    ComPointer<ITaskService> service;
    ComPointer<ITaskFolder> root;
    if (std::string error = OpenRootFolder(service, root); !error.empty())
        return error;
    ScopedBstr taskName(name);
    HRESULT result = root->DeleteTask(taskName.Get(), 0);
    if (FAILED(result) && !NotThere(result))
        return Failure("DeleteTask", result);
    return {};
}

} // namespace bs
