// SPDX-License-Identifier: GPL-3.0-or-later
#include "CliCommands.h"
#include "Startup.h"

#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    SetProgramName();
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int code = RunCli(QCoreApplication::arguments(), out, err);
    out.flush();
    err.flush();
    return code;
}
