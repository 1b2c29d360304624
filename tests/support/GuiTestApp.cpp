#include "GuiTestApp.h"

// Only GUI tests call this; they link the widgets module through the window library.
#include <QtWidgets/QApplication>

QApplication* EnsureGuiApp()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "kestrane-gui-test";
    static char* argv[] = {name, nullptr};
    // Kept for the whole process: widgets made by tests may outlive any one test.
    static auto* app = new QApplication(argc, argv);
    return app;
}
