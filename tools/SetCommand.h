// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

struct BatchResult;
struct CliContext;

// set FILE... | --match WORDS [FILE...] [--object ID] [--name T] [--description T] [--price N]
//     [--price-change PERCENT] [--disabled yes|no] [--hide] [--show]
//     [--sorts a,b,c,d,e,f,g,h,i] [--preset NAME] [--sort "GROUP=+FLAG,-FLAG"]... [--dry-run]
// Changes what is given of every listed object of each file (or the one --object names)
// through the batch engine the window uses, and prints the changes as JSON. A file that is
// refused is left as it was; the others are still done.
int CmdSet(const CliContext& ctx);
// One line on the error stream per file that failed.
void PrintFailures(const CliContext& ctx, const BatchResult& result);
