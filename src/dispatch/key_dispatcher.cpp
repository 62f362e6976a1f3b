// The PollTimer procedure.
#include "dispatch/key_dispatcher.h"

#include "receiver/receiver_access.h"

void DispatchKey(platform::WindowHandle, std::uint32_t, std::uintptr_t, std::uint32_t) {
    if (!IsKeyReady()) return;
    ReadKeyCode();
}
