#include "CliCommands.h"

#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    // The window's name: both find the same per-user data folder when installed.
    QCoreApplication::setApplicationName(QStringLiteral("Kestrane"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int code = RunCli(QCoreApplication::arguments(), out, err);
    out.flush();
    err.flush();
    return code;
}
