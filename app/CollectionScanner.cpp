#include "CollectionScanner.h"

#include "GameArchives.h"

#include <QElapsedTimer>
#include <QMutex>
#include <QPointer>
#include <QtConcurrent/QtConcurrentRun>

// One started scan: its cancel flag and the throttle of its progress reports.
struct CollectionScanner::Run {
    std::atomic<bool> cancel{false};
    QMutex mutex;
    QElapsedTimer sinceReport;
    QFutureWatcher<CollectionCatalog> watcher;
};

CollectionScanner::CollectionScanner(QObject* parent)
    : QObject(parent), m_cache(std::make_shared<ScanCache>())
{
}

CollectionScanner::~CollectionScanner()
{
    if (m_run) {
        m_run->cancel = true;
        m_run->watcher.disconnect(this);
        m_run->watcher.waitForFinished();
    }
}

void CollectionScanner::start(const QList<ObjectFile>& files, const QString& gameFolder)
{
    if (m_run) {
        // The old run finishes on its own; nothing of it reaches this scanner any more. It
        // still holds the cache, so the new run waits for it before using the cache.
        m_run->cancel = true;
        m_run->watcher.disconnect(this);
        m_run->watcher.waitForFinished();
    }
    auto run = std::make_shared<Run>();
    m_run = run;
    run->sinceReport.start();
    QPointer<CollectionScanner> self(this);
    Run* raw = run.get();
    const ScanProgress report = [self, raw](int done, int total) {
        {
            QMutexLocker lock(&raw->mutex);
            if (done < total && raw->sinceReport.elapsed() < 50)
                return;
            raw->sinceReport.restart();
        }
        QMetaObject::invokeMethod(
            self,
            [self, raw, done, total] {
                if (self && self->m_run.get() == raw)
                    Q_EMIT self->progress(done, total);
            },
            Qt::QueuedConnection);
    };
    connect(&run->watcher, &QFutureWatcherBase::finished, this, [this, run] { onFinished(run); });
    const std::shared_ptr<ScanCache> cache = m_cache;
    run->watcher.setFuture(QtConcurrent::run([files, gameFolder, cache, report, raw] {
        return ScanCollection(files, FindGameArchives(gameFolder), cache.get(), report,
                              &raw->cancel);
    }));
}

void CollectionScanner::cancel()
{
    if (m_run)
        m_run->cancel = true;
}

bool CollectionScanner::isRunning() const
{
    return m_run && m_run->watcher.isRunning();
}

void CollectionScanner::clearCache()
{
    if (m_run)
        m_run->watcher.waitForFinished();
    m_cache->clear();
}

void CollectionScanner::onFinished(const std::shared_ptr<Run>& run)
{
    if (m_run != run)
        return;
    m_catalog = run->watcher.result();
    m_run.reset();
    Q_EMIT finished(m_catalog.cancelled);
}
