// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CollectionScan.h"

#include <QFutureWatcher>
#include <QObject>
#include <atomic>
#include <memory>

// Runs ScanCollection off the calling (interface) thread, with progress and cancel, and keeps
// the cache so that a re-scan reads only what changed. Signals arrive on the thread that owns
// the scanner.
class CollectionScanner : public QObject
{
    Q_OBJECT
public:
    explicit CollectionScanner(QObject* parent = nullptr);
    // Cancels a running scan and waits for it to stop.
    ~CollectionScanner() override;

    // Starts scanning files (the file list, in its order) and the archives of gameFolder
    // (empty: no archives). A scan still running is cancelled first; only the last started
    // scan reports finished().
    void start(const QList<ObjectFile>& files, const QString& gameFolder);
    // Asks the running scan to stop; returns at once. finished() follows.
    void cancel();
    bool isRunning() const;
    // The result of the last finished scan (partial, with cancelled set, when it was
    // cancelled); empty before the first.
    const CollectionCatalog& catalog() const { return m_catalog; }
    // Forgets what earlier scans read, so the next scan reads every file again.
    void clearCache();

Q_SIGNALS:
    // done of total files and archives; sent at most every few milliseconds.
    void progress(int done, int total);
    // The scan ended; catalog() holds its result.
    void finished(bool cancelled);

private:
    struct Run;
    void onFinished();

    QFutureWatcher<CollectionCatalog> m_watcher;
    std::shared_ptr<Run> m_run; // the scan last started, while it runs
    int m_generation = 0;       // tells a stale progress report from the present scan's
    std::shared_ptr<ScanCache> m_cache;
    CollectionCatalog m_catalog;
};
