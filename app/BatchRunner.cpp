// SPDX-License-Identifier: GPL-3.0-or-later
#include "BatchRunner.h"

#include "HistoryStore.h"

#include <QtConcurrent>

BatchRunner::BatchRunner(QObject* parent) : QObject(parent)
{
    m_pool.setMaxThreadCount(1);
    connect(&m_watcher, &QFutureWatcher<BatchResult>::finished, this,
            [this] { Q_EMIT finished(m_watcher.result()); });
}

BatchRunner::~BatchRunner()
{
    m_watcher.disconnect(this);
    cancel();
    m_watcher.waitForFinished();
}

void BatchRunner::start(const QString& dataFolder, Work work)
{
    m_cancel = std::make_shared<std::atomic<bool>>(false);
    const std::shared_ptr<std::atomic<bool>> cancel = m_cancel;
    const std::function<void(int)> afterFile = m_afterFile;
    m_watcher.setFuture(QtConcurrent::run(&m_pool, [this, cancel, afterFile, dataFolder, work] {
        HistoryStore store(dataFolder); // the store belongs to the thread that opens it
        const BatchProgress report = [this, afterFile](int done, int total) {
            // The runner outlives the work (its destructor waits), and a report still queued
            // when it goes is dropped with it.
            QMetaObject::invokeMethod(
                this, [this, done, total] { Q_EMIT progress(done, total); }, Qt::QueuedConnection);
            if (afterFile)
                afterFile(done);
        };
        return work(store, report, cancel.get());
    }));
}

void BatchRunner::cancel()
{
    if (m_cancel)
        m_cancel->store(true);
}

bool BatchRunner::isRunning() const
{
    return m_watcher.isRunning();
}
