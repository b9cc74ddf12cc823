#include "platform/win32/Win32UiQueue.h"

namespace bs {

namespace {

const wchar_t ClassName[] = L"BrimsweepUiQueue";
constexpr UINT RunTasksMessage = WM_APP + 40;

bool RegisterQueueClass(WNDPROC procedure) {
    WNDCLASSEXW info = {};
    info.cbSize = sizeof info;
    info.lpfnWndProc = procedure;
    info.hInstance = GetModuleHandleW(nullptr);
    info.lpszClassName = ClassName;
    return RegisterClassExW(&info) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

} // namespace

Win32UiQueue::Win32UiQueue() {
    if (!RegisterQueueClass(&Win32UiQueue::WindowProc))
        return;
    window_ = CreateWindowExW(0, ClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    if (!window_)
        return;
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    postTarget_ = window_;
}

Win32UiQueue::~Win32UiQueue() {
    {
        std::lock_guard lock(mutex_);
        postTarget_ = nullptr;
        tasks_.clear();
    }
    if (window_) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
}

void Win32UiQueue::Post(std::function<void()> task) {
    std::lock_guard lock(mutex_);
    if (!postTarget_)
        return;
    tasks_.push_back(std::move(task));
    // Only queues a message: the worker never waits on a window. A full
    // message queue drops it; the next post or dispatch runs the task then.
    PostMessageW(postTarget_, RunTasksMessage, 0, 0);
}

void Win32UiQueue::DispatchWaiting() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    RunTasks();
}

void Win32UiQueue::RunTasks() {
    for (;;) {
        std::function<void()> task;
        {
            std::lock_guard lock(mutex_);
            if (tasks_.empty())
                return;
            task = std::move(tasks_.front());
            tasks_.pop_front();
        }
        task();
    }
}

LRESULT CALLBACK Win32UiQueue::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == RunTasksMessage) {
        if (auto* queue = reinterpret_cast<Win32UiQueue*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)))
            queue->RunTasks();
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace bs
