// SPDX-License-Identifier: GPL-3.0-or-later
#include "FindIcons.h"

#include "CollectionScan.h"

#include <QMap>
#include <QTimer>

FindIcons::FindIcons(QImage placeholder, int height, QObject* parent)
    : QObject(parent), m_placeholder(std::move(placeholder)), m_height(height)
{
    // Icons are a nicety: they must not take the cores from a scan.
    m_pool.setMaxThreadCount(2);
}

FindIcons::~FindIcons()
{
    m_pool.clear();
    m_pool.waitForDone();
}

void FindIcons::setFiles(const QList<CatalogFile>& files)
{
    m_files = files;
    ++m_generation; // answers for the previous files are dropped
    m_icons.clear();
    m_requested.clear();
    m_pending.clear();
    m_pool.clear();
}

QPixmap FindIcons::icon(int file, int objdId)
{
    const Key key(file, objdId);
    const auto found = m_icons.constFind(key);
    if (found != m_icons.constEnd())
        return *found;
    if (file < 0 || file >= m_files.size() || m_requested.contains(key))
        return {};
    m_requested.insert(key);
    m_pending.append(key);
    if (!m_dispatchQueued) {
        // The view asks row by row while painting; the rows of one paint go out together.
        m_dispatchQueued = true;
        QTimer::singleShot(0, this, [this] { dispatch(); });
    }
    return {};
}

void FindIcons::dispatch()
{
    m_dispatchQueued = false;
    // One job per file, so that a file with many objects is read once.
    QMap<int, QList<int>> byFile;
    for (const Key& key : std::as_const(m_pending))
        byFile[key.first].append(key.second);
    m_pending.clear();
    for (auto it = byFile.cbegin(); it != byFile.cend(); ++it) {
        const int file = it.key();
        const QList<int> ids = it.value();
        const CatalogFile source = m_files.at(file);
        const QImage placeholder = m_placeholder;
        const quint64 generation = m_generation;
        m_pool.start([this, file, ids, source, placeholder, generation] {
            const QList<QImage> icons =
                LoadCatalogIcons(source, QList<quint16>(ids.cbegin(), ids.cend()), placeholder);
            QList<QPair<int, QImage>> images;
            for (qsizetype i = 0; i < ids.size(); ++i)
                images.append({ids.at(i), icons.at(i)});
            QMetaObject::invokeMethod(
                this, [this, generation, file, images] { receive(generation, file, images); },
                Qt::QueuedConnection);
        });
    }
}

void FindIcons::receive(quint64 generation, int file, const QList<QPair<int, QImage>>& images)
{
    if (generation != m_generation)
        return;
    for (const auto& [id, image] : images) {
        // An icon that cannot be decoded stays empty, and is not asked for again.
        m_icons.insert(Key(file, id), image.isNull() ? QPixmap()
                                                     : QPixmap::fromImage(image.scaledToHeight(
                                                           m_height, Qt::SmoothTransformation)));
    }
    Q_EMIT iconsArrived();
}
