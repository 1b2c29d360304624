// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

struct CliContext;

// Commands that start up like the window: files, presets, game-folder; and make-demo DIR.
int CmdFiles(const CliContext& ctx);
int CmdPresets(const CliContext& ctx);
int CmdGameFolder(const CliContext& ctx);
int CmdMakeDemo(const CliContext& ctx);
