// SPDX-License-Identifier: GPL-3.0-or-later
#include "SyncAlongside.h"

#include <future>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

bool SyncAlongside(QFileDevice& file, const std::function<bool()>& work)
{
#ifdef Q_OS_UNIX
    const int fd = file.handle();
    if (fd >= 0) {
        // The result is not needed: the caller's commit syncs again and reports a failure.
        auto syncing = std::async(std::launch::async, [fd] { return ::fdatasync(fd); });
        const bool done = work();
        syncing.wait();
        return done;
    }
#else
    Q_UNUSED(file);
#endif
    return work();
}
