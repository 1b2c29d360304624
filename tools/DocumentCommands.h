// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

struct CliContext;

// Commands that read one object file: resources FILE, formats FILE, objects FILE,
// strings FILE --object ID, and resave FILE [--output OUT].
int CmdResources(const CliContext& ctx);
int CmdFormats(const CliContext& ctx);
int CmdObjects(const CliContext& ctx);
int CmdStrings(const CliContext& ctx);
int CmdResave(const CliContext& ctx);
