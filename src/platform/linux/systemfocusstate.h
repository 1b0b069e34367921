#pragma once

#include "platform/focusstate.h"

#include <memory>

namespace SystemFocusState {
// GNOME's setting on a GNOME desktop whose schema is installed; elsewhere the
// notification server's inhibition, which also waits for a server that is
// not there yet.
[[nodiscard]] std::unique_ptr<FocusState> create();
} // namespace SystemFocusState
