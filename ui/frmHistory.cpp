// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmHistory.h"

#include "HistoryRestore.h"
#include "HistoryRows.h"
#include "HistorySettings.h"
#include "HistoryStore.h"
#include "ProgramState.h"
#include "Prompt.h"
#include "RestoreQuestion.h"
#include "ShownPath.h"
#include "WindowStyle.h"
#include "frmMain.h"
#include "modConvert.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QSet>
#include <QShortcut>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace
{

bool IsEnter(const QKeyEvent* key)
{
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

// What a row stands for, kept apart from the row, which a refresh may replace.
struct RowTarget {
    qint64 changeId = 0;
    QString batch;
};

RowTarget TargetOf(const QTreeWidgetItem* row)
{
    return row ? RowTarget{row->data(0, kChangeIdRole).toLongLong(),
                           row->data(0, kBatchRole).toString()}
               : RowTarget{};
}

QList<RestoreItem> PlanFor(const HistoryStore& store, const RowTarget& target)
{
    if (!target.batch.isEmpty())
        return PlanBatchRestore(store, target.batch);
    if (const std::optional<RestoreItem> item = PlanRestore(store, target.changeId))
        return {*item};
    return {};
}

QString HistoryKey(const QTreeWidgetItem* row)
{
    const RowTarget target = TargetOf(row);
    return target.batch.isEmpty() ? QString::number(target.changeId) : target.batch;
}

QTreeWidgetItem* FirstShownRow(const QTreeWidget* list)
{
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        if (!list->topLevelItem(i)->isHidden())
            return list->topLevelItem(i);
    }
    return nullptr;
}

} // namespace

frmHistory::frmHistory(frmMain* main) : QWidget(main, Qt::Window), m_main(main)
{
    setWindowTitle(QStringLiteral("History"));
    // Closing the main window ends the program even while this one is open.
    setAttribute(Qt::WA_QuitOnClose, false);
    ApplyWindowStyle(this);
    buildControls();
}

HistoryStore& frmHistory::store() const
{
    return m_main->History();
}

void frmHistory::buildControls()
{
    lblNote = new QLabel(this);
    lblNote->setWordWrap(true);
    lblNote->hide();

    auto* filterLabel = new QLabel(QStringLiteral("&Filter:"), this);
    txtFilter = new QLineEdit(this);
    txtFilter->setPlaceholderText(QStringLiteral("Time, file or what changed"));
    txtFilter->setClearButtonEnabled(true);
    filterLabel->setBuddy(txtFilter);

    lstChanges = new QTreeWidget(this);
    lstChanges->setHeaderLabels(
        {QStringLiteral("Time"), QStringLiteral("File"), QStringLiteral("What changed")});
    lstChanges->setSelectionMode(QAbstractItemView::SingleSelection);
    lstChanges->setAllColumnsShowFocus(true);
    lstChanges->setUniformRowHeights(true);
    lstChanges->setTextElideMode(Qt::ElideRight); // the tooltips hold the whole texts
    lstChanges->setColumnWidth(kTimeColumn, 150);
    lstChanges->setColumnWidth(kFileColumn, 250);
    lstChanges->header()->setStretchLastSection(true);
    lstChanges->setAutoFillBackground(true);

    lblStatus = new QLabel(this);
    settings = new HistorySettings([this]() -> HistoryStore& { return store(); }, this);
    cmdRestore = new QPushButton(QStringLiteral("&Restore"), this);
    cmdClose = new QPushButton(QStringLiteral("Close"), this);

    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(filterLabel);
    filterRow->addWidget(txtFilter, 1);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addWidget(cmdRestore);
    buttonRow->addWidget(lblStatus, 1);
    buttonRow->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblNote);
    layout->addLayout(filterRow);
    layout->addWidget(lstChanges, 1);
    layout->addLayout(buttonRow);
    layout->addWidget(settings);
    resize(900, 480);

    connect(txtFilter, &QLineEdit::textChanged, this, [this] {
        FilterHistoryRows(lstChanges, txtFilter->text());
        showSummary();
        updateButtons();
    });
    connect(lstChanges, &QTreeWidget::currentItemChanged, this, [this] { updateButtons(); });
    connect(lstChanges, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* row) { restoreRow(row); });
    connect(cmdRestore, &QPushButton::clicked, this,
            [this] { restoreRow(lstChanges->currentItem()); });
    connect(cmdClose, &QPushButton::clicked, this, [this] { close(); });
    connect(settings, &HistorySettings::keepingChanged, this, [this] { showNote(); });
    connect(settings, &HistorySettings::forgotten, this, [this] { showRows(true); });
    for (const QKeySequence keys :
         {QKeySequence(Qt::CTRL | Qt::Key_F), QKeySequence(Qt::CTRL | Qt::Key_H)}) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, [this] {
            txtFilter->setFocus();
            txtFilter->selectAll();
        });
    }
    txtFilter->installEventFilter(this);
    lstChanges->installEventFilter(this);
    updateButtons();
}

void frmHistory::showAndRefresh()
{
    show();
    raise();
    activateWindow();
    txtFilter->setFocus();
    refresh();
}

bool frmHistory::openStore()
{
    m_openError.clear();
    return store().isOpen() || store().open(&m_openError);
}

void frmHistory::refresh()
{
    if (m_restoring)
        return;
    if (!openStore()) {
        showNote();
        lstChanges->clear();
        m_shownState.clear();
        settings->setEnabled(false);
        updateButtons();
        return;
    }
    settings->setEnabled(true);
    settings->refresh();
    showNote();
    showRows(false);
}

void frmHistory::showNote()
{
    QString note;
    if (!m_openError.isEmpty())
        note = QStringLiteral("The history cannot be read: %1").arg(m_openError);
    else if (!store().enabled())
        note = QStringLiteral("Changes are not being kept. Files are saved without a copy in "
                              "the history, so what is changed now cannot be restored.");
    lblNote->setText(note);
    lblNote->setVisible(!note.isEmpty());
}

void frmHistory::showRows(bool force)
{
    const QList<HistoryChange> changes = store().changes();
    const QString state = changes.isEmpty() ? QStringLiteral("0")
                                            : QStringLiteral("%1 %2 %3")
                                                  .arg(changes.size())
                                                  .arg(changes.first().id)
                                                  .arg(changes.last().id);
    if (!force && state == m_shownState)
        return;
    m_shownState = state;

    // The chosen row and the open batches stay as they were.
    const QString current = HistoryKey(lstChanges->currentItem());
    QSet<QString> expanded;
    for (int i = 0; i < lstChanges->topLevelItemCount(); ++i) {
        if (lstChanges->topLevelItem(i)->isExpanded())
            expanded.insert(HistoryKey(lstChanges->topLevelItem(i)));
    }
    lstChanges->setUpdatesEnabled(false);
    lstChanges->clear();
    lstChanges->addTopLevelItems(MakeHistoryRows(changes, ProgramState.GameFolder));
    for (int i = 0; i < lstChanges->topLevelItemCount(); ++i) {
        QTreeWidgetItem* row = lstChanges->topLevelItem(i);
        if (expanded.contains(HistoryKey(row)))
            row->setExpanded(true);
        if (!current.isEmpty() && HistoryKey(row) == current)
            lstChanges->setCurrentItem(row);
    }
    FilterHistoryRows(lstChanges, txtFilter->text());
    // The newest row is chosen until the person chooses another, so Restore is at hand.
    if (!lstChanges->currentItem())
        lstChanges->setCurrentItem(FirstShownRow(lstChanges));
    lstChanges->setUpdatesEnabled(true);
    showSummary();
    updateButtons();
}

void frmHistory::showSummary()
{
    int changes = 0;
    for (int i = 0; i < lstChanges->topLevelItemCount(); ++i)
        changes += qMax(1, lstChanges->topLevelItem(i)->childCount());
    QString text =
        changes == 1 ? QStringLiteral("1 change") : QStringLiteral("%1 changes").arg(changes);
    if (!txtFilter->text().trimmed().isEmpty()) {
        int shown = 0;
        for (int i = 0; i < lstChanges->topLevelItemCount(); ++i)
            shown += lstChanges->topLevelItem(i)->isHidden() ? 0 : 1;
        text = QStringLiteral("%1 of %2 rows shown; ")
                   .arg(shown)
                   .arg(lstChanges->topLevelItemCount()) +
               text;
    }
    lblStatus->setText(text);
}

void frmHistory::updateButtons()
{
    const QTreeWidgetItem* row = lstChanges->currentItem();
    cmdRestore->setEnabled(row && !row->isHidden() && m_openError.isEmpty());
}

void frmHistory::restoreRow(QTreeWidgetItem* row)
{
    const RowTarget target = TargetOf(row);
    if (!row || (target.changeId == 0 && target.batch.isEmpty()) || !openStore())
        return;
    m_restoring = true;
    const auto done = qScopeGuard([this] {
        m_restoring = false;
        refresh();
    });
    // An open file with unsaved edits is asked about first, as leaving it would be.
    if (!m_main->CheckSaveBeforeRestore(PlanFor(store(), target)))
        return;
    // Planned again: a save just made changes what the file now holds.
    const QList<RestoreItem> plan = PlanFor(store(), target);
    QList<RestoreItem> restorable;
    for (const RestoreItem& item : plan) {
        if (item.copyAvailable)
            restorable << item;
    }
    const QString gameFolder = ProgramState.GameFolder;
    if (restorable.isEmpty()) {
        ShowMessage(
            plan.isEmpty()
                ? QStringLiteral("This change is no longer in the history: its copy was pruned "
                                 "to keep the history under its size limit, or the "
                                 "history was forgotten.")
                : CannotRestoreText(plan, gameFolder));
        return;
    }
    const bool elsewhere = std::any_of(plan.cbegin(), plan.cend(), [](const RestoreItem& item) {
        return item.copyAvailable && item.changedElsewhere;
    });
    if (CurrentPrompt().message(RestoreQuestion(plan, gameFolder), QString(),
                                elsewhere ? PromptIcon::Exclamation : PromptIcon::Question,
                                PromptButtons::YesNo) != PromptAnswer::Yes)
        return;

    QList<RestoreOutcome> outcomes;
    BeginBusy();
    RestoreFiles(store(), restorable, ChangeInfo{QStringLiteral("window"), QString(), QString()},
                 &outcomes);
    EndBusy();
    QStringList files, failures, restored;
    for (const RestoreOutcome& outcome : outcomes) {
        files << outcome.file;
        const QString shown = ShownGamePath(outcome.file, gameFolder);
        if (outcome.restored)
            restored << shown;
        else
            failures << QStringLiteral("%1: %2").arg(shown, outcome.error);
    }
    m_main->ShowRestoredFiles(files);
    m_restoring = false;
    refresh();
    if (!restored.isEmpty())
        lblStatus->setText(restored.size() == 1
                               ? QStringLiteral("Restored %1.").arg(restored.first())
                               : QStringLiteral("Restored %1 files.").arg(restored.size()));
    if (!failures.isEmpty())
        ShowMessage(QStringLiteral("Not everything could be restored:\n\n%1")
                        .arg(failures.join(QStringLiteral("\n"))));
}

void frmHistory::keyPressEvent(QKeyEvent* event)
{
    // Escape reaches the window from any control that has no use for it.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)
        close();
    else
        QWidget::keyPressEvent(event);
}

void frmHistory::changeEvent(QEvent* event)
{
    // Saves made in the main window since show up when this window is next in front.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        refresh();
    QWidget::changeEvent(event);
}

bool frmHistory::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (watched == lstChanges && IsEnter(key)) {
        restoreRow(lstChanges->currentItem());
        return true;
    }
    if (watched == txtFilter && (IsEnter(key) || key->key() == Qt::Key_Down)) {
        // From the filter box: Enter restores the chosen row (the first shown when none is),
        // the arrow keys move into the list.
        QTreeWidgetItem* current = lstChanges->currentItem();
        if (!current || current->isHidden()) {
            current = FirstShownRow(lstChanges);
            lstChanges->setCurrentItem(current);
        }
        if (IsEnter(key))
            restoreRow(current);
        else
            lstChanges->setFocus();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
