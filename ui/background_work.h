// Work for a thread beside the window: what it is given (the cancel flag, and a way to say how
// far it is). Free of Qt, so that the window models that hand such work over need no widgets.
#pragma once

#include <atomic>
#include <functional>
#include <string>

namespace morvela {

// How a worker says how far it is, from its own thread: `done` of `total` steps, and a line for
// the user. Safe to call at any time; the dialog shows the latest report.
using BackgroundProgress = std::function<void(int done, int total, const std::string& text)>;
using BackgroundWork =
    std::function<void(const std::atomic<bool>& cancel, const BackgroundProgress& progress)>;

}  // namespace morvela
