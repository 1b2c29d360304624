// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Startup.h"

#include <memory>

class frmMain;

// The window program's start: shows the splash screen while the core starts up, then shows
// the main window and closes the splash. Without a game folder it says so and gives no
// window; the program then ends.
std::unique_ptr<frmMain> Main(const StartupOptions& options);
