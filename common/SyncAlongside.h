// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFileDevice>
#include <functional>

// Flushes a complete file's bytes to the disk on another thread while work() runs, and waits
// for both. A save that must make something else durable before it replaces the file (the
// history's copy) then waits for one disk flush, not two in a row. The file's own later sync
// (QSaveFile::commit) finds nothing left to write.
bool SyncAlongside(QFileDevice& file, const std::function<bool()>& work);
