#include "HistoryTypes.h"

#include <QUuid>

QString NewBatchId()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}
