// The program entry: one instance only, the splash, the main window, the
// special-offers step, then hidden in the notification area until Exit.
#pragma once

#include <functional>
#include <string>

#include "app/win/Services.h"
#include "platform/win32/Scoped.h"

namespace bs {

class TForm1;

// A named mutex held for the whole run. A second instance finds it existing
// and is asked to terminate after its start-up steps.
class InstanceLock {
public:
    explicit InstanceLock(const std::string& title);
    bool TerminateRequested() const { return terminateRequested_; }

private:
    ScopedKernelHandle mutex_;
    bool terminateRequested_ = false;
};

// Shows the special-offers dialog over the main window when it is due:
// online, and not yet answered.
void ShowOffersIfDue(const Services& services, TForm1& form);

// Runs the program entry with `services`; `title` names the instance lock.
// `started` (for tests) is called with the main window just before the
// event loop. Returns the exit code.
int RunProgramEntry(Services services, const std::string& title,
                    const std::function<void(TForm1&)>& started = {});

} // namespace bs
