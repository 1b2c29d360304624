// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

// Asks the system to back the buffer's allocated storage with huge pages. Whole-file buffers
// (tens of megabytes) otherwise take one page fault per 4 KB on first touch, which costs more
// than the copy itself on some virtual machines. Call it before the storage is written.
// Does nothing where huge pages are not available.
void AdviseHugePages(QByteArray& buffer);
