// SPDX-License-Identifier: GPL-3.0-or-later
#include "DeleteLotsWarning.h"

#include "CollectionScan.h"
#include "GameArchives.h"
#include "LotUse.h"
#include "Neighbourhoods.h"
#include "ProgramState.h"
#include "Prompt.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QProgressDialog>
#include <QTreeWidget>
#include <QtConcurrent>

namespace
{

struct LotLoss {
    LotScan lots;
    QList<int> losing;
};

LotLoss FindLotLoss(const QStringList& paths, const QList<ObjectFile>& files)
{
    // Files unchanged since the last check are not read again.
    static ScanCache cache;
    LotLoss loss;
    loss.lots = ScanLots(FindNeighbourhoods(ProgramState.GameFolder));
    bool placed = false;
    for (const QString& path : paths) {
        const CatalogFile file = ScanObjectFile(path);
        placed = placed || std::any_of(file.guids.cbegin(), file.guids.cend(), [&](const auto& g) {
                     return !loss.lots.lotsUsing(g.guid).isEmpty();
                 });
    }
    if (!placed)
        return loss;
    QList<ObjectFile> all = files;
    for (const QString& path : paths) // counted even when not listed
        all.append(ObjectFile{QFileInfo(path).fileName(), path});
    const CollectionCatalog catalog =
        ScanCollection(all, FindGameArchives(ProgramState.GameFolder), &cache);
    loss.losing = LotsLosingObjects(catalog, loss.lots, paths);
    return loss;
}

} // namespace

bool ConfirmLotsLoseObjects(QWidget* parent, const QStringList& paths,
                            const QTreeWidget* listedFiles)
{
    QList<ObjectFile> files;
    for (int i = 0; i < listedFiles->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* row = listedFiles->topLevelItem(i);
        if (std::none_of(paths.cbegin(), paths.cend(), [row](const QString& path) {
                return QFileInfo(row->text(1)) == QFileInfo(path);
            }))
            files.append(ObjectFile{row->text(0), row->text(1)});
    }
    QFutureWatcher<LotLoss> watcher;
    QProgressDialog progress(QStringLiteral("Looking for the lots that use the file..."), QString(),
                             0, 0, parent);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(400);
    QEventLoop loop;
    QObject::connect(&watcher, &QFutureWatcher<LotLoss>::finished, &loop, &QEventLoop::quit);
    watcher.setFuture(QtConcurrent::run([paths, files] { return FindLotLoss(paths, files); }));
    if (!watcher.isFinished())
        loop.exec();
    progress.reset();
    const LotLoss loss = watcher.result();
    if (loss.losing.isEmpty())
        return true;
    QStringList labels;
    for (const int lot : loss.losing)
        labels << QStringLiteral("    ") + LotLabel(loss.lots.lots[lot]);
    const QString text =
        QStringLiteral("Objects of %1 are placed on these lots:\n%2\n\nNo other copy of them "
                       "remains, so the game will remove them from each of these lots the next "
                       "time the lot is saved.\n\nDelete %3 all the same?")
            .arg(paths.size() == 1 ? QStringLiteral("\"%1\"").arg(QFileInfo(paths[0]).fileName())
                                   : QStringLiteral("these %1 files").arg(paths.size()),
                 labels.join(QLatin1Char('\n')),
                 paths.size() == 1 ? QStringLiteral("the file") : QStringLiteral("them"));
    return CurrentPrompt().message(text, QStringLiteral("Delete File"), PromptIcon::Exclamation,
                                   PromptButtons::YesNo) == PromptAnswer::Yes;
}
