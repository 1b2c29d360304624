// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

struct CliContext;

// history [FILE...] [--csv]: the recorded changes, newest first, as JSON (or CSV).
// history --forget [--older-than DAYS]: forgets them (all, or those older than DAYS days).
int CmdHistory(const CliContext& ctx);
// restore FILE [--change ID | --original] [--force]: puts the file back as it was before its
// latest change, before change ID, or before Kestrane first changed it.
int CmdRestore(const CliContext& ctx);
