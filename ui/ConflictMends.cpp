// SPDX-License-Identifier: GPL-3.0-or-later
#include "ConflictMends.h"

#include "CollectionScan.h"
#include "DuplicateMend.h"
#include "FindLots.h"
#include "FindRow.h"
#include "GuidMend.h"
#include "LotUse.h"
#include "ProgramState.h"
#include "Prompt.h"
#include "ShownPath.h"
#include "clsIFF.h"
#include "frmMain.h"

#include <QDir>
#include <QPushButton>

namespace
{

QString Shown(const QString& path)
{
    return ShownGamePath(path, ProgramState.GameFolder);
}

} // namespace

ConflictMends::ConflictMends(QWidget* window, frmMain* main, FindLots* lots)
    : QObject(window), m_window(window), m_main(main), m_lots(lots)
{
    cmdKeepOne = new QPushButton(QStringLiteral("&Keep one, delete the others"), window);
    cmdNewGuid = new QPushButton(QStringLiteral("Give a &new GUID"), window);
    cmdKeepOne->hide();
    cmdNewGuid->hide();
}

void ConflictMends::update(const FindRow* row, bool shown)
{
    cmdKeepOne->setVisible(shown);
    cmdNewGuid->setVisible(shown);
    const bool fits = shown && row && m_catalog && row->canOpen && !row->isProblem();
    cmdKeepOne->setEnabled(fits && row->identicalCopy && looseCopies(*row) > 1);
    cmdNewGuid->setEnabled(fits && sharesWithAnother(*row));
}

QStringList ConflictMends::copiesOf(const FindRow& row) const
{
    if (!m_catalog)
        return {};
    // Only the groups of the row's file are read again; the file list is shared, not copied.
    CollectionCatalog groups;
    groups.files = m_catalog->files;
    for (const CatalogConflict& conflict : m_catalog->conflicts) {
        if (std::any_of(conflict.members.cbegin(), conflict.members.cend(),
                        [&row](const ConflictMember& m) { return m.file == row.file; }))
            groups.conflicts.append(conflict);
    }
    for (const QStringList& copies : IdenticalCopySets(groups, ReadCatalogFileBytes)) {
        if (copies.contains(row.path))
            return copies;
    }
    return {};
}

int ConflictMends::looseCopies(const FindRow& row) const
{
    for (const CatalogConflict& conflict : m_catalog->conflicts) {
        if (conflict.guid == row.guid)
            return int(std::count_if(
                conflict.members.cbegin(), conflict.members.cend(), [this](const auto& m) {
                    return m.identicalCopy && !m_catalog->files.at(m.file).inArchive;
                }));
    }
    return 0;
}

bool ConflictMends::sharesWithAnother(const FindRow& row) const
{
    for (const CatalogConflict& conflict : m_catalog->conflicts) {
        if (conflict.guid != row.guid)
            continue;
        // Another member that is not a copy of this very file.
        return std::any_of(conflict.members.cbegin(), conflict.members.cend(), [&](const auto& m) {
            return m.file != row.file && !(m.identicalCopy && row.identicalCopy);
        });
    }
    return false;
}

bool ConflictMends::keepOne(const FindRow& row, QString* status)
{
    const QStringList copies = copiesOf(row);
    if (copies.size() < 2) {
        ShowMessage(QStringLiteral("%1 has no identical copy outside the game's archives.")
                        .arg(Shown(row.path)));
        return false;
    }
    QStringList shown;
    for (const QString& path : copies)
        shown << Shown(path);
    const int keep = CurrentPrompt().chooseItem(
        QStringLiteral("These files are identical copies. Keep which one? The others go to the "
                       "trash; objects placed on lots stay, since the GUID stays."),
        QStringLiteral("Keep one, delete the others"), shown, DefaultCopyToKeep(copies));
    if (keep < 0)
        return false;
    QStringList others = copies;
    others.removeAt(keep);
    if (!m_main->CheckSaveBeforeBatch(others, true))
        return false;
    const ChangeInfo info{
        QStringLiteral("window"), QString(),
        QStringLiteral("Kept %1, deleted its identical copies").arg(copies[keep])};
    QStringList trashed;
    QString error;
    const bool done = KeepOneCopy(m_main->History(), copies, keep, info, &trashed, &error);
    if (!done)
        ShowMessage(
            QStringLiteral("The copies could not all be moved to the trash: %1").arg(error));
    if (!trashed.isEmpty()) {
        *status = QStringLiteral("Kept %1; moved to the trash: %2")
                      .arg(Shown(copies[keep]), trashed.join(QStringLiteral(", ")));
        m_main->ShowRestoredFiles(trashed);
    }
    return !trashed.isEmpty();
}

bool ConflictMends::giveNewGuid(const FindRow& row, QString* status)
{
    clsIFF doc;
    const auto read = [&] {
        doc.Clear();
        if (doc.LoadFile(row.path))
            return true;
        ShowMessage(
            QStringLiteral("%1 could not be read: %2").arg(Shown(row.path), doc.errorString()));
        return false;
    };
    if (!read())
        return false;
    const GuidMendPlan plan =
        PlanNewGuid(doc, quint16(row.objdId), GuidsInUse(*m_catalog, m_lots->lots()));
    if (!plan.error.isEmpty()) {
        ShowMessage(plan.error);
        return false;
    }
    QStringList changes, lots;
    for (const GuidChange& change : plan.changes) {
        changes << QStringLiteral("    Object %1: %2 becomes %3")
                       .arg(change.id)
                       .arg(GuidText(change.oldGuid), GuidText(change.newGuid));
        for (const int lot : m_lots->lots().lotsUsing(change.oldGuid))
            lots << QStringLiteral("    ") + LotLabel(m_lots->lots().lots[lot]);
    }
    lots.removeDuplicates();
    QString text = QStringLiteral("Give \"%1\" in %2 new GUIDs?\n%3")
                       .arg(row.name, Shown(row.path), changes.join(QLatin1Char('\n')));
    if (!lots.isEmpty())
        text += QStringLiteral("\n\nThese lots have the object placed by its old GUID:\n%1\n"
                               "The placements stay with that GUID, so they will show the object "
                               "that keeps it, never this one. We cannot tell which of the two "
                               "the game shows today.")
                    .arg(lots.join(QLatin1Char('\n')));
    if (plan.selfReference)
        text += QStringLiteral("\n\nThe old GUID also appears elsewhere in this file: the "
                               "object's own code may look for it, so the object may behave "
                               "differently.");
    if (CurrentPrompt().message(text, QStringLiteral("Give a new GUID"), PromptIcon::Question,
                                PromptButtons::YesNo) != PromptAnswer::Yes ||
        !m_main->CheckSaveBeforeBatch({row.path}))
        return false;
    // Saving the main window's edits may have just rewritten the file: the GUIDs go into what
    // it holds now.
    if (!read())
        return false;
    QStringList summary;
    for (const GuidChange& change : plan.changes)
        summary << GuidText(change.newGuid);
    const ChangeInfo info{QStringLiteral("window"), QString(),
                          QStringLiteral("New GUID for object %1 (was %2): %3")
                              .arg(row.objdId)
                              .arg(GuidText(row.guid), summary.join(QStringLiteral(", ")))};
    QString error;
    if (!ApplyNewGuid(m_main->History(), doc, row.path, plan, info, &error)) {
        ShowMessage(QStringLiteral("%1 could not be saved: %2").arg(row.path, error));
        return false;
    }
    *status = QStringLiteral("New GUIDs given in %1: %2")
                  .arg(Shown(row.path), summary.join(QStringLiteral(", ")));
    m_main->ShowRestoredFiles({row.path});
    return true;
}
