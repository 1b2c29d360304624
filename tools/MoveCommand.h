// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

struct CliContext;

// move FILE... --to DIR [--keep-both] [--dry-run]: moves the files into DIR, recorded in the
// history so that restore moves them back. A file whose name DIR already holds is skipped
// (exit 1), or with --keep-both moved under a free name.
int CmdMove(const CliContext& ctx);
