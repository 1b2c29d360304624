// SPDX-License-Identifier: GPL-3.0-or-later
#include "HistoryTypes.h"

#include <QUuid>

QString NewBatchId()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}
