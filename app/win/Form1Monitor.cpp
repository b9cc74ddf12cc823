// The memory commands of the main window: the monitor tick, the refresh and
// the before/after figures. The rules are the monitor's (memory/).
#include "app/win/Form1.h"

#include "app/win/Form1CommandScope.h"

namespace bs {

void TForm1::Timer1Timer() {
    // A tick can start a refresh and show its error box: a real close chosen
    // meanwhile waits until the tick has ended.
    CommandScope scope(*this, CommandScope::Lock::None);
    monitor_.Tick();
}

void TForm1::btnRefreshClick() {
    CommandScope scope(*this, CommandScope::Lock::None);
    monitor_.Refresh();
}

void TForm1::LabelMemInfo(bool after) {
    monitor_.LabelMemInfo(after);
}

} // namespace bs
