// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CatalogTypes.h"

#include <QHash>
#include <QImage>
#include <QObject>
#include <QPixmap>
#include <QSet>
#include <QThreadPool>
#include <memory>

// Catalog icons of the Find Object window, read only when a row is painted: a request is
// queued, the files are read on worker threads (one document each), and iconsArrived()
// tells when more are at hand.
class FindIcons : public QObject
{
    Q_OBJECT

public:
    FindIcons(QImage placeholder, int height, QObject* parent = nullptr);
    // Waits for the files being read.
    ~FindIcons() override;

    // The files of the catalog the icons come from; forgets the icons of the previous one.
    void setFiles(const QList<CatalogFile>& files);
    // The icon, or a null pixmap while it is being read.
    QPixmap icon(int file, int objdId);

Q_SIGNALS:
    void iconsArrived();

private:
    using Key = QPair<int, int>;
    void dispatch();
    void receive(quint64 generation, int file, const QList<QPair<int, QImage>>& images);

    QImage m_placeholder;
    int m_height;
    QList<CatalogFile> m_files;
    quint64 m_generation = 0;
    QHash<Key, QPixmap> m_icons;
    QSet<Key> m_requested;
    QList<Key> m_pending;
    bool m_dispatchQueued = false;
    QThreadPool m_pool; // last: destroyed first, so no worker outlives the rest
};
