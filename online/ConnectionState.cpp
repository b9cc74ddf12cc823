#include "online/ConnectionState.h"

namespace bs {

bool IsOnlineState(const ConnectionState& state) {
    return state.connected && (state.flags & (ConnectionModem | ConnectionProxy)) != 0;
}

SupportPageStep SupportPageStepFor(const ConnectionState& state) {
    if (!state.connected)
        return SupportPageStep::ShowMessage;
    return IsOnlineState(state) ? SupportPageStep::OpenPage : SupportPageStep::Nothing;
}

} // namespace bs
