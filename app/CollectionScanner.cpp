// SPDX-License-Identifier: GPL-3.0-or-later
#include "CollectionScanner.h"

#include "GameArchives.h"

#include <QElapsedTimer>
#include <QMutex>
#include <QPointer>
#include <QtConcurrent/QtConcurrentRun>

// One started scan: its cancel flag and the throttle of its progress reports, shared with the
// worker that runs it.
struct CollectionScanner::Run {
    std::atomic<bool> cancel{false};
    QMutex mutex;
    QElapsedTimer sinceReport;
};

CollectionScanner::CollectionScanner(QObject* parent)
    : QObject(parent), m_cache(std::make_shared<ScanCache>())
{
    connect(&m_watcher, &QFutureWatcherBase::finished, this, &CollectionScanner::onFinished);
}

CollectionScanner::~CollectionScanner()
{
    cancel();
    m_watcher.disconnect(this);
    m_watcher.waitForFinished();
}

void CollectionScanner::start(const QList<ObjectFile>& files, const QString& gameFolder)
{
    // At most one scan at a time: the one running shares the cache. Cancelled, it stops
    // within a file; setFuture below drops its pending finished report.
    cancel();
    m_watcher.waitForFinished();
    auto run = std::make_shared<Run>();
    m_run = run;
    run->sinceReport.start();
    const int generation = ++m_generation;
    QPointer<CollectionScanner> self(this);
    const ScanProgress report = [self, run, generation](int done, int total) {
        {
            QMutexLocker lock(&run->mutex);
            if (done < total && run->sinceReport.elapsed() < 50)
                return;
            run->sinceReport.restart();
        }
        QMetaObject::invokeMethod(
            self.data(),
            [self, generation, done, total] {
                if (self && self->m_generation == generation && self->m_run)
                    Q_EMIT self->progress(done, total);
            },
            Qt::QueuedConnection);
    };
    const std::shared_ptr<ScanCache> cache = m_cache;
    m_watcher.setFuture(QtConcurrent::run([files, gameFolder, cache, report, run] {
        return ScanCollection(files, FindGameArchives(gameFolder), cache.get(), report,
                              &run->cancel);
    }));
}

void CollectionScanner::cancel()
{
    if (m_run)
        m_run->cancel = true;
}

bool CollectionScanner::isRunning() const
{
    return m_run != nullptr;
}

void CollectionScanner::clearCache()
{
    m_watcher.waitForFinished();
    m_cache->clear();
}

void CollectionScanner::onFinished()
{
    // A report of a scan replaced meanwhile finds the new one still running.
    if (!m_run || !m_watcher.isFinished())
        return;
    m_catalog = m_watcher.result();
    m_run.reset();
    Q_EMIT finished(m_catalog.cancelled);
}
