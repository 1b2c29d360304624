// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "LotScan.h"

#include <QFutureWatcher>
#include <QObject>

struct FindRow;

// The player's lots for the Find Object window: read off the interface thread whenever the
// window scans, and described on each row that holds a GUID.
class FindLots : public QObject
{
    Q_OBJECT

public:
    explicit FindLots(QObject* parent = nullptr);
    // Waits for a running read.
    ~FindLots() override;

    // Reads the lots of the neighbourhoods the game in gameFolder plays.
    void start(const QString& gameFolder);
    bool isRunning() const { return m_watcher.isRunning(); }
    // The last lots read; empty before the first read ends.
    const LotScan& lots() const { return m_lots; }
    // Fills the row's count of lots placing its GUID, their tooltip and their numbers.
    void describe(FindRow* row) const;
    // "; N damaged lot files skipped" for the status line, and those files with the reasons,
    // one a line; empty when every lot was read.
    QString problemText() const;
    QString problemDetails() const;

Q_SIGNALS:
    void finished();

private:
    QFutureWatcher<LotScan> m_watcher;
    LotScan m_lots;
};
