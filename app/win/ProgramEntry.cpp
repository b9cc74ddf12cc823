#include "app/win/ProgramEntry.h"

#include "app/win/Form1.h"
#include "app/res/resource.h"
#include "app/win/Splash.h"
#include "online/win/NewsDialog.h"
#include "platform/win32/Utf.h"

namespace bs {

InstanceLock::InstanceLock(const std::string& title)
    : mutex_(CreateMutexW(nullptr, FALSE, Widen(title).c_str())) {
    bool existed = GetLastError() == ERROR_ALREADY_EXISTS;
    if (!mutex_.Valid()) {
        terminateRequested_ = true;
        return;
    }
    DWORD wait = WaitForSingleObject(mutex_.Get(), 100);
    if (existed || wait == WAIT_TIMEOUT)
        terminateRequested_ = true;
    // Released at once: only the open handle keeps the name alive, so any
    // later start finds it existing.
    if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED)
        ReleaseMutex(mutex_.Get());
}

void ShowOffersIfDue(const Services& services, TForm1& form) {
    ShowOffersIfDue(OffersContext{services.files, services.registry, services.process,
                                  services.dialogs, services.clock, services.online,
                                  form.ProgramDir(), IDI_BRIMSWEEP},
                    form.Handle());
}

int RunProgramEntry(Services services, const std::string& title,
                    const std::function<void(TForm1&)>& started) {
    InstanceLock lock(title);

    auto splash = std::make_unique<TfrmSplash>();
    ShowWindow(splash->Handle(), SW_SHOWNORMAL);
    UpdateWindow(splash->Handle());
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }

    // Declared before the form: the form's destructor still reports to it.
    bool loopEnded = false;
    TForm1 form(services);
    if (!form.Created()) {
        // Without its window the program could not be reached or ended.
        splash.reset();
        services.dialogs.Message(0, "Tarn Brimsweep Pro could not create its main window.",
                                 "Tarn Brimsweep Pro", MbOk | MbIconError);
        return 1;
    }
    form.SetOnFreed([&loopEnded] { loopEnded = true; });
    splash.reset();
    ShowOffersIfDue(services, form);
    form.Hide1Click();
    if (started)
        started(form);
    if (lock.TerminateRequested())
        return 0;

    while (!loopEnded && GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (form.PreTranslateMessage(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

} // namespace bs
