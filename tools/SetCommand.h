// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

struct CliContext;

// set FILE --object ID [--name T] [--description T] [--price N] [--disabled yes|no]
//     [--sorts a,b,c,d,e,f,g,h,i] [--preset NAME]
// Changes only what is given, through the accessors the window saves with, then saves.
// Any refusal leaves the file as it was.
int CmdSet(const CliContext& ctx);
