// The Update button of a program folder without an update server: the public results site
// instead (update/public_source.h). The fetch runs on a worker thread behind the window's
// background-check dialog, with its own connection to the database and the folder's writer
// lock; the summary is shown on the window thread once it is done.
#pragma once

#include <atomic>
#include <functional>

#include "ui/background_work.h"

namespace morvela {

struct Program;

// True when the settings name no update server (the default placeholder address), so that
// there are no packages to install and the public source is the way to new data.
bool NoUpdateServerSet(const Program& p);

// Starts `work` off the window thread and `done` on it afterwards (MainWindow::StartCheck).
using StartBackground = std::function<void(BackgroundWork work, std::function<void()> done)>;

// Asks whether to fetch; on Yes fetches with `start`, then shows the summary (or "nothing
// new", or the failure with its reason) and runs `changed` so that the windows show the new
// data. The demo database is refused: real results are not mixed into invented seasons.
void OfferPublicFetch(Program& p, const StartBackground& start, std::function<void()> changed);

}  // namespace morvela
