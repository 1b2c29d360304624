// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

struct CliContext;

// Commands over the whole collection; they start up like files and read the same folders.
// catalog [--csv]: every listed object of every file; conflicts: GUIDs held more than once,
// the game's archives included; check: the problem files (exit 1 when there is any).
int CmdCatalog(const CliContext& ctx);
int CmdConflicts(const CliContext& ctx);
int CmdCheck(const CliContext& ctx);
