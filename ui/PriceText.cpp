// SPDX-License-Identifier: GPL-3.0-or-later
#include "PriceText.h"

#include <limits>

qint32 PriceFromText(const QString& text)
{
    constexpr qint64 kHigh = std::numeric_limits<qint32>::max();
    constexpr qint64 kLow = std::numeric_limits<qint32>::min();
    const bool negative = text.startsWith(QLatin1Char('-'));
    qint64 value = 0;
    for (int i = negative ? 1 : 0; i < text.size(); ++i) {
        const int digit = text.at(i).digitValue();
        if (digit < 0)
            break;
        // Past the bound the value can only stay clamped; stop growing before it overflows.
        if (value <= kHigh + 1)
            value = value * 10 + digit;
    }
    if (negative)
        value = -value;
    if (value > kHigh)
        return qint32(kHigh);
    if (value < kLow)
        return qint32(kLow);
    return qint32(value);
}
