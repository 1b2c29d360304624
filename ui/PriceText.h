// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The price a price box stands for: a leading minus and digits, as the box filter leaves
// them. The empty text and a lone minus are 0; a value beyond the 32-bit range is the
// nearest 32-bit bound.
qint32 PriceFromText(const QString& text);
