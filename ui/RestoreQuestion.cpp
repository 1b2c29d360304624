// SPDX-License-Identifier: GPL-3.0-or-later
#include "RestoreQuestion.h"

#include "ShownPath.h"

#include <QStringList>
#include <functional>

namespace
{

constexpr int kNamesShown = 10; // a batch of hundreds names the first few

QStringList Names(const QList<RestoreItem>& plan, const QString& gameFolder,
                  const std::function<bool(const RestoreItem&)>& which)
{
    QStringList names;
    for (const RestoreItem& item : plan) {
        if (item.copyAvailable && which(item))
            names << ShownGamePath(item.file, gameFolder);
    }
    return names;
}

QString Listed(const QStringList& names, const QString& separator)
{
    QString text = names.mid(0, kNamesShown).join(separator);
    if (names.size() > kNamesShown)
        text += separator + QStringLiteral("and %1 more").arg(names.size() - kNamesShown);
    return text;
}

// One sentence about the named files: one text for one file (%1 its name), another for several
// (%1 the names).
QString Sentence(const QStringList& names, const QString& one, const QString& several)
{
    if (names.isEmpty())
        return QString();
    return names.size() == 1 ? one.arg(names.first())
                             : several.arg(Listed(names, QStringLiteral(", ")));
}

} // namespace

QString CannotRestoreText(const QList<RestoreItem>& plan, const QString& gameFolder)
{
    QStringList names;
    for (const RestoreItem& item : plan) {
        if (!item.copyAvailable)
            names << ShownGamePath(item.file, gameFolder);
    }
    return Sentence(names,
                    QStringLiteral("%1 cannot be restored: its copy from before this change is "
                                   "no longer in the history."),
                    QStringLiteral("These files cannot be restored: %1. Their copies from "
                                   "before this change are no longer in the history."));
}

QString RestoreQuestion(const QList<RestoreItem>& plan, const QString& gameFolder)
{
    const auto all = [](const RestoreItem&) { return true; };
    const QStringList files = Names(plan, gameFolder, all);
    if (files.isEmpty())
        return QString();
    QStringList parts;
    parts << (files.size() == 1
                  ? QStringLiteral("Restore %1 as it was before this change?").arg(files.first())
                  : QStringLiteral("Restore these %1 files as they were before this change?\n%2")
                        .arg(files.size())
                        .arg(Listed(files, QStringLiteral("\n"))));
    parts << Sentence(
        Names(plan, gameFolder, [](const RestoreItem& item) { return item.changedElsewhere; }),
        QStringLiteral("%1 was changed since by something other than Kestrane. "
                       "What it holds now is kept in the history first, so that "
                       "this restore can be undone too."),
        QStringLiteral("These files were changed since by something other than "
                       "Kestrane: %1. What they hold now is kept in the history "
                       "first, so that this restore can be undone too."));
    const auto gone = [](const RestoreItem& item) {
        return !item.fileExists && !item.targetHash.isEmpty();
    };
    parts << Sentence(
        Names(plan, gameFolder,
              [&](const RestoreItem& item) { return gone(item) && !item.trashPath.isEmpty(); }),
        QStringLiteral("%1 is gone; it comes back from the trash."),
        QStringLiteral("These files are gone; they come back from the trash: %1."));
    parts << Sentence(
        Names(plan, gameFolder,
              [&](const RestoreItem& item) { return gone(item) && item.trashPath.isEmpty(); }),
        QStringLiteral("%1 is gone; it comes back from the history."),
        QStringLiteral("These files are gone; they come back from the history: "
                       "%1."));
    parts << Sentence(Names(plan, gameFolder,
                            [](const RestoreItem& item) {
                                return item.folderMissing && !item.targetHash.isEmpty();
                            }),
                      QStringLiteral("The folder of %1 is gone and is made again."),
                      QStringLiteral("The folders of these files are gone and are made again: "
                                     "%1."));
    parts << Sentence(
        Names(plan, gameFolder,
              [](const RestoreItem& item) { return item.fileExists && item.targetHash.isEmpty(); }),
        QStringLiteral("%1 did not exist before this change, so it goes to the "
                       "trash."),
        QStringLiteral("These files did not exist before this change, so they go "
                       "to the trash: %1."));
    parts << CannotRestoreText(plan, gameFolder);
    parts.removeAll(QString());
    return parts.join(QStringLiteral("\n\n"));
}
