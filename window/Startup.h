// The program's start: the main window, shown as the last run left it
// (maximized the first time), the hidden about box, and the event loop.
#pragma once

#include <functional>
#include <string>

#include "window/VersionCheck.h"

namespace window {

class TApplication;
class TDistributionForm;
class TPlatform;

// Creates the about box (hidden) and DistributionForm on `platform`, shows
// the window as remembered and runs the event loop until the window closes;
// answers the loop's exit code.  The version check asks `versionHost`.
// `started` runs once, from the running loop, with the window shown (tests
// drive the real window through it).
int RunProbex(TApplication& app, TPlatform& platform,
              const std::function<void(TDistributionForm&)>& started = {},
              const std::string& versionHost = DefaultVersionHost());

// The program: one window per user (SingleInstance.h), whose later starts
// bring it to the front and end, then RunProbex.
int RunProgram(TApplication& app, TPlatform& platform);

}  // namespace window
