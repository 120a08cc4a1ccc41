// The program's start: the main window, shown maximized, and the event loop.
#pragma once

#include <functional>

namespace window {

class TApplication;
class TDistributionForm;
class TPlatform;

// Creates DistributionForm on `platform`, shows it maximized and runs the
// event loop until the window closes; answers the loop's exit code.
// `started` runs once, from the running loop, with the window shown (tests
// drive the real window through it).
int RunProbex(TApplication& app, TPlatform& platform,
              const std::function<void(TDistributionForm&)>& started = {});

}  // namespace window
