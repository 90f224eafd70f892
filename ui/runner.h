#pragma once
// How the Qt layer runs an event of the shell: every handler, menu command, tick and drop goes
// through the program's one dispatch point, so no exception ever reaches Qt's event loop.

#include <functional>

namespace rv::ui {

// Runs `event`; returns false when it ended early (an error was reported, or it was aborted).
using Runner = std::function<bool(const std::function<void()>& event)>;

}  // namespace rv::ui
