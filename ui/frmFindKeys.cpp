// SPDX-License-Identifier: GPL-3.0-or-later
// The Find Object window from the keyboard and towards the main window: Enter and the arrow
// keys, Sort By, going to a row's object and deleting a problem file.
#include "FindRow.h"
#include "FindTableModel.h"
#include "frmFind.h"
#include "frmMain.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTreeWidget>
#include <algorithm>

namespace
{

bool IsEnter(const QKeyEvent* key)
{
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

} // namespace

void frmFind::fillSortMenu(QMenu* menu)
{
    menu->clear();
    const int sorted = tblResults->horizontalHeader()->sortIndicatorSection();
    QString taken; // each entry gets a letter of its own
    for (int column = 0; column < model->columnCount(); ++column) {
        QString caption = model->headerData(column, Qt::Horizontal).toString();
        const auto letter = std::find_if(caption.cbegin(), caption.cend(), [&taken](QChar c) {
            return c.isLetter() && !taken.contains(c.toLower());
        });
        if (letter == caption.cend())
            continue; // the icon column has no caption and no order of its own
        taken += letter->toLower();
        caption.insert(letter - caption.cbegin(), QLatin1Char('&'));
        QAction* action = menu->addAction(caption, this, [this, column] { sortBy(column); });
        action->setCheckable(true);
        action->setChecked(column == sorted);
    }
}

void frmFind::sortBy(int column)
{
    // The column sorted by already: the other way round.
    QHeaderView* header = tblResults->horizontalHeader();
    const bool again = header->sortIndicatorSection() == column &&
                       header->sortIndicatorOrder() == Qt::AscendingOrder;
    header->setSortIndicator(column, again ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void frmFind::goToRow(int row)
{
    const FindRow* found = model->rowAt(row);
    if (!found)
        return;
    if (!found->canOpen) {
        lblStatus->setText(QStringLiteral("%1 is in one of the game's archives: it is shown here "
                                          "but cannot be opened.")
                               .arg(found->fileText));
        return;
    }
    const QString path = found->path;
    const int objd = found->listed ? found->objdId : -1;
    if (m_main->GoToObject(path, objd)) {
        m_main->raise();
        m_main->activateWindow();
        return;
    }
    // Kept by the unsaved-changes check: the person chose that, nothing to tell.
    if (m_main->CurrentFilePath() == path)
        lblStatus->setText(QStringLiteral("%1 no longer holds that object; Scan Again to "
                                          "bring the lists up to date.")
                               .arg(path));
    else if (m_main->lstFiles->findItems(path, Qt::MatchExactly, 1).isEmpty())
        lblStatus->setText(
            QStringLiteral("%1 is no longer in the main window's file list.").arg(path));
}

void frmFind::deleteRowFile(int row)
{
    const FindRow* found = model->rowAt(row);
    if (!found || !found->isProblem() || !found->canOpen)
        return;
    const QString path = found->path;
    if (!m_main->DeleteListedFile(path))
        return;
    startScan(); // the lists follow the main window's, which no longer has the file
    lblStatus->setText(QStringLiteral("Moved to the trash: %1").arg(path));
}

bool frmFind::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (watched == tblResults) {
        if (IsEnter(key)) {
            goToRow(currentRow());
            return true;
        }
        if (key->key() == Qt::Key_Delete && cmdDeleteFile->isEnabled()) {
            deleteRowFile(currentRow());
            return true;
        }
    } else if (watched == txtSearch) {
        // From the search box: Enter goes to the chosen row (the first when none is), the
        // arrow keys move into the table.
        if (IsEnter(key) || key->key() == Qt::Key_Down) {
            if (currentRow() < 0 && model->rowCount() > 0)
                tblResults->setCurrentIndex(model->index(0, 0));
            if (IsEnter(key))
                goToRow(currentRow());
            else
                tblResults->setFocus();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
