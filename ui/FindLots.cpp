// SPDX-License-Identifier: GPL-3.0-or-later
#include "FindLots.h"

#include "FindRow.h"
#include "LotUse.h"
#include "Neighbourhoods.h"

#include <QtConcurrent>

FindLots::FindLots(QObject* parent) : QObject(parent)
{
    connect(&m_watcher, &QFutureWatcher<LotScan>::finished, this, [this] {
        if (m_watcher.future().isValid() && m_watcher.future().resultCount() > 0)
            m_lots = m_watcher.result();
        Q_EMIT finished();
    });
}

FindLots::~FindLots()
{
    m_watcher.disconnect(this);
    m_watcher.waitForFinished();
}

void FindLots::start(const QString& gameFolder)
{
    if (m_watcher.isRunning())
        return; // the read under way sees the same folders
    m_watcher.setFuture(
        QtConcurrent::run([gameFolder] { return ScanLots(FindNeighbourhoods(gameFolder)); }));
}

QString FindLots::problemText() const
{
    const qsizetype count = m_lots.problems.size();
    if (count == 0)
        return QString();
    return count == 1 ? QStringLiteral("; 1 damaged lot file skipped")
                      : QStringLiteral("; %1 damaged lot files skipped").arg(count);
}

QString FindLots::problemDetails() const
{
    QStringList lines;
    for (const LotProblem& problem : m_lots.problems)
        lines << QStringLiteral("%1: %2").arg(problem.file, problem.reason);
    return lines.join(QLatin1Char('\n'));
}

void FindLots::describe(FindRow* row) const
{
    const QList<int> using_ = m_lots.lotsUsing(row->guid);
    row->lots = int(using_.size());
    row->lotNumbers.clear();
    QStringList labels;
    for (const int lot : using_) {
        labels << LotLabel(m_lots.lots[lot]);
        row->lotNumbers << LotNumber(m_lots.lots[lot].file);
    }
    row->lotsText = labels.join(QLatin1Char('\n'));
}
