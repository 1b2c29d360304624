#pragma once

class QApplication;

// The one QApplication of a GUI test process, made on first use (offscreen unless the
// environment names another platform). Call it at the start of every GUI test.
QApplication* EnsureGuiApp();
