// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

struct CliContext;
struct LotScan;

// The player's lots and the mends of GUID conflicts.
// lots: every lot of the neighbourhoods with the GUIDs it placed; new-guid FILE --object ID
// [--guid 0x...] [--dry-run]: new GUIDs for an object and its tiles; dedupe [--dry-run]: keeps
// one of each set of identical copies and moves the others to the trash.
int CmdLots(const CliContext& ctx);
int CmdNewGuid(const CliContext& ctx);
int CmdDedupe(const CliContext& ctx);

// The neighbourhoods the game plays and those --userdata adds; their lots, damaged lot files
// reported on the error stream.
LotScan ScanCliLots(const CliContext& ctx);
