// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "BatchEngine.h"

#include <QFutureWatcher>
#include <QObject>
#include <QThreadPool>
#include <atomic>
#include <functional>
#include <memory>

// Runs one batch (ApplyBatch, MoveBatch, TrashBatch) on a worker thread with a history store
// of its own, so that the window stays responsive; reports progress and the result on the
// thread that made it.
class BatchRunner : public QObject
{
    Q_OBJECT
public:
    // The work, given the worker's store, the progress to report and the cancel flag.
    using Work =
        std::function<BatchResult(HistoryStore&, const BatchProgress&, const std::atomic<bool>*)>;

    explicit BatchRunner(QObject* parent = nullptr);
    // Cancels a running batch and waits for the file in hand.
    ~BatchRunner() override;

    // dataFolder: where the history is kept. Nothing else may run.
    void start(const QString& dataFolder, Work work);
    // Stops before the next file; returns at once. finished() follows.
    void cancel();
    bool isRunning() const;
    // Called on the worker after each file, before it looks at the cancel flag (tests pause
    // the batch there).
    void setAfterFile(std::function<void(int done)> hook) { m_afterFile = std::move(hook); }

Q_SIGNALS:
    void progress(int done, int total);
    void finished(const BatchResult& result);

private:
    // A thread of its own: a long batch never holds up the scans and icon loads of the
    // shared pool, which the interface thread may wait for.
    QThreadPool m_pool;
    QFutureWatcher<BatchResult> m_watcher;
    std::shared_ptr<std::atomic<bool>> m_cancel;
    std::function<void(int)> m_afterFile;
};
