// SPDX-License-Identifier: GPL-3.0-or-later
#include "HugePages.h"

#include <QtGlobal>
#include <cstdint>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif

void AdviseHugePages(QByteArray& buffer)
{
#if defined(Q_OS_LINUX) && defined(MADV_HUGEPAGE)
    constexpr std::uintptr_t kHuge = 2 * 1024 * 1024;
    if (buffer.capacity() < qsizetype(2 * kHuge))
        return;
    const auto begin = reinterpret_cast<std::uintptr_t>(buffer.data());
    const std::uintptr_t first = (begin + kHuge - 1) & ~(kHuge - 1);
    const std::uintptr_t last = (begin + std::uintptr_t(buffer.capacity())) & ~(kHuge - 1);
    // Only whole huge pages inside the buffer; a refusal is harmless.
    if (last > first)
        madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
    Q_UNUSED(buffer);
#endif
}
