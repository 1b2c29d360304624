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

LotLoss FindLotLoss(const QString& path, const QList<ObjectFile>& files)
{
    // Files unchanged since the last check are not read again.
    static ScanCache cache;
    LotLoss loss;
    loss.lots = ScanLots(FindNeighbourhoods(ProgramState.GameFolder));
    const CatalogFile file = ScanObjectFile(path);
    const bool placed = std::any_of(file.guids.cbegin(), file.guids.cend(), [&](const auto& g) {
        return !loss.lots.lotsUsing(g.guid).isEmpty();
    });
    if (!placed)
        return loss;
    QList<ObjectFile> all = files;
    all.append(ObjectFile{QFileInfo(path).fileName(), path}); // counted even when not listed
    const CollectionCatalog catalog =
        ScanCollection(all, FindGameArchives(ProgramState.GameFolder), &cache);
    loss.losing = LotsLosingObjects(catalog, loss.lots, {path});
    return loss;
}

} // namespace

bool ConfirmLotsLoseObjects(QWidget* parent, const QString& path, const QTreeWidget* listedFiles)
{
    QList<ObjectFile> files;
    for (int i = 0; i < listedFiles->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* row = listedFiles->topLevelItem(i);
        if (QFileInfo(row->text(1)) != QFileInfo(path))
            files.append(ObjectFile{row->text(0), row->text(1)});
    }
    QFutureWatcher<LotLoss> watcher;
    QProgressDialog progress(QStringLiteral("Looking for the lots that use the file..."), QString(),
                             0, 0, parent);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(400);
    QEventLoop loop;
    QObject::connect(&watcher, &QFutureWatcher<LotLoss>::finished, &loop, &QEventLoop::quit);
    watcher.setFuture(QtConcurrent::run([path, files] { return FindLotLoss(path, files); }));
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
        QStringLiteral("Objects of \"%1\" are placed on these lots:\n%2\n\nNo other copy of them "
                       "remains, so the game will remove them from each of these lots the next "
                       "time the lot is saved.\n\nDelete the file all the same?")
            .arg(QFileInfo(path).fileName(), labels.join(QLatin1Char('\n')));
    return CurrentPrompt().message(text, QStringLiteral("Delete File"), PromptIcon::Exclamation,
                                   PromptButtons::YesNo) == PromptAnswer::Yes;
}
