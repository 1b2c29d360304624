// SPDX-License-Identifier: GPL-3.0-or-later
#include "modMain.h"

#include "Prompt.h"
#include "frmMain.h"
#include "frmSplashScreen.h"

#include <QCoreApplication>

std::unique_ptr<frmMain> Main(const StartupOptions& options)
{
    frmSplashScreen splash;
    splash.show();
    splash.repaint();
    QCoreApplication::processEvents();

    if (RunStartup(options) == StartupResult::GameNotFound) {
        CurrentPrompt().message(QStringLiteral("The Sims directory could not be found."), QString(),
                                PromptIcon::None, PromptButtons::Ok);
        splash.close();
        return nullptr;
    }

    auto window = std::make_unique<frmMain>();
    window->show();
    splash.close();
    return window;
}
