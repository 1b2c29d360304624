// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The set-up of the window benchmarks: an offscreen application (unless the environment names
// a platform), a prompt that answers nothing, and a temporary root that is the program folder.

#include "ProgramState.h"
#include "ScriptedPrompt.h"
#include "modConvert.h"

#include <QApplication>
#include <QTemporaryDir>

struct OffscreenPlatform {
    OffscreenPlatform()
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
    }
};

struct GuiBench : OffscreenPlatform {
    GuiBench(int& argc, char** argv) : app(argc, argv)
    {
        InitConvert();
        ProgramState.ProgramFolder = root.path() + QLatin1Char('/');
    }
    QApplication app;
    ScriptedPrompt prompt;
    PromptScope scope{prompt};
    QTemporaryDir root;
};
