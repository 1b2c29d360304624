// SPDX-License-Identifier: GPL-3.0-or-later
#include "HistoryRows.h"

#include "ShownPath.h"

#include <QHash>
#include <QTreeWidget>
#include <algorithm>

namespace
{

constexpr int kSummaryRowLimit = 3; // summaries a batch row repeats before "…"

QString TimeText(const QDateTime& time)
{
    return time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString SummaryText(const HistoryChange& change)
{
    if (!change.summary.isEmpty())
        return change.summary;
    if (change.kind == QLatin1String("delete"))
        return QStringLiteral("Moved to the trash");
    if (change.kind == QLatin1String("restore"))
        return QStringLiteral("Restored");
    return QStringLiteral("Saved");
}

QTreeWidgetItem* ChangeRow(const HistoryChange& change, const QString& gameFolder)
{
    auto* row = new QTreeWidgetItem;
    row->setText(kTimeColumn, TimeText(change.time));
    row->setText(kFileColumn, ShownGamePath(change.file, gameFolder));
    row->setToolTip(kFileColumn, change.file);
    row->setText(kSummaryColumn, SummaryText(change));
    row->setToolTip(kSummaryColumn, SummaryText(change));
    row->setData(0, kChangeIdRole, change.id);
    return row;
}

// The row of a batch of several changes, made from its first (newest) row.
void MakeBatchRow(QTreeWidgetItem* row, const QString& batch)
{
    QStringList files, fullPaths, summaries;
    for (int i = 0; i < row->childCount(); ++i) {
        const QTreeWidgetItem* change = row->child(i);
        if (!files.contains(change->text(kFileColumn))) {
            files << change->text(kFileColumn);
            fullPaths << change->toolTip(kFileColumn);
        }
        summaries << change->text(kSummaryColumn);
    }
    row->setText(kTimeColumn, row->child(0)->text(kTimeColumn));
    row->setText(kFileColumn,
                 files.size() == 1 ? files.first() : QStringLiteral("%1 files").arg(files.size()));
    row->setToolTip(kFileColumn, fullPaths.join('\n'));
    QString summary = summaries.mid(0, kSummaryRowLimit).join(QStringLiteral("; "));
    if (summaries.size() > kSummaryRowLimit)
        summary += QStringLiteral("; …");
    row->setText(kSummaryColumn, summary);
    row->setToolTip(kSummaryColumn, summaries.join('\n'));
    row->setData(0, kChangeIdRole, QVariant());
    row->setData(0, kBatchRole, batch);
}

bool HoldsAll(const QTreeWidgetItem* row, const QStringList& words)
{
    const QString text =
        (row->text(kTimeColumn) + '\n' + row->text(kFileColumn) + '\n' + row->text(kSummaryColumn))
            .toCaseFolded();
    return std::all_of(words.cbegin(), words.cend(),
                       [&text](const QString& word) { return text.contains(word); });
}

} // namespace

QList<QTreeWidgetItem*> MakeHistoryRows(const QList<HistoryChange>& changes,
                                        const QString& gameFolder)
{
    // A batch takes the place of its newest change, even when another program's changes came
    // in between.
    QList<QTreeWidgetItem*> rows;
    QHash<QString, QTreeWidgetItem*> batches;
    for (const HistoryChange& change : changes) {
        QTreeWidgetItem* batch = batches.value(change.batch);
        if (!batch) {
            QTreeWidgetItem* row = ChangeRow(change, gameFolder);
            rows.append(row);
            if (!change.batch.isEmpty())
                batches.insert(change.batch, row);
            continue;
        }
        // The second change of the batch: the row becomes the batch's, holding both.
        if (batch->childCount() == 0)
            batch->addChild(batch->clone());
        batch->addChild(ChangeRow(change, gameFolder));
    }
    for (auto it = batches.cbegin(); it != batches.cend(); ++it) {
        if (it.value()->childCount() > 0)
            MakeBatchRow(it.value(), it.key());
    }
    return rows;
}

int FilterHistoryRows(QTreeWidget* list, const QString& typed)
{
    const QStringList words = typed.toCaseFolded().split(' ', Qt::SkipEmptyParts);
    int shown = 0;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* row = list->topLevelItem(i);
        const bool whole = HoldsAll(row, words);
        bool anyChild = false;
        for (int c = 0; c < row->childCount(); ++c) {
            const bool holds = whole || HoldsAll(row->child(c), words);
            row->child(c)->setHidden(!holds);
            anyChild = anyChild || holds;
        }
        row->setHidden(!whole && !anyChild);
        shown += row->isHidden() ? 0 : 1;
    }
    return shown;
}
