// A seam for the tests of long writes: named steps at which a test can make the process end as
// if it had been killed there, so that every step of an install or an edit is covered on every
// run instead of by chance of timing. The environment variable MORVELA_KILL_AT names the step
// ("install:copied"); when the running process reaches it, it kills itself with SIGKILL. Without
// the variable a step costs one comparison.
#pragma once

#include <string_view>

namespace morvela {

void KillPoint(std::string_view step);

}  // namespace morvela
