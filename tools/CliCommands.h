// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

class QTextStream;

// Runs one kestrane-cli command line (arguments[0] is the program's name): results go to out,
// messages to err, one line each. Returns the exit code: 0 done, 1 the work could not be
// done, 2 the command line is wrong.
int RunCli(const QStringList& arguments, QTextStream& out, QTextStream& err);
