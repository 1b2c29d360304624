// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmFind.h"

#include "CatalogFilter.h"
#include "CollectionScanner.h"
#include "ConflictMends.h"
#include "Cp1252.h"
#include "FindActions.h"
#include "FindIcons.h"
#include "FindLots.h"
#include "FindTableModel.h"
#include "ProgramState.h"
#include "ShownPath.h"
#include "WindowStyle.h"
#include "frmMain.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QTabBar>
#include <QTableView>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <numeric>

namespace
{

using Column = FindTableModel::Column;
constexpr int kIconHeight = 22;
const QByteArray kNoText = QByteArrayLiteral("*NONE*");

// Catalog text on one line of a table cell.
QString Shown(const QByteArray& text)
{
    if (text == kNoText)
        return QString();
    QString shown = DecodeCp1252(text);
    shown.replace(QLatin1String("\r\n"), QLatin1String(" "));
    shown.replace(QLatin1Char('\n'), QLatin1Char(' '));
    shown.replace(QLatin1Char('\r'), QLatin1Char(' '));
    return shown;
}

int ColumnWidth(Column column)
{
    switch (column) {
    case Column::Icon:
        return 56;
    case Column::Name:
        return 210;
    case Column::Price:
        return 64;
    case Column::File:
        return 330;
    case Column::Guid:
        return 96;
    case Column::Copy:
        return 100;
    case Column::Problem:
        return 360;
    case Column::Lots:
        return 48;
    }
    return 100;
}

// Fills in the row's file: whole, and as shown, below the game folder when it lies there.
void SetFile(FindRow* row, const CatalogFile& file)
{
    row->canOpen = file.canOpen();
    row->path = file.path;
    row->wholePath = file.displayPath();
    row->fileText = ShownGamePath(row->wholePath, ProgramState.GameFolder);
}

} // namespace

frmFind::frmFind(frmMain* main) : QWidget(main, Qt::Window), m_main(main)
{
    setWindowTitle(QStringLiteral("Find Object"));
    // Closing the main window ends the program even while this one is open.
    setAttribute(Qt::WA_QuitOnClose, false);
    ApplyWindowStyle(this);
    m_scanner = new CollectionScanner(this);
    m_icons = new FindIcons(main->NoIconPicture(), kIconHeight, this);
    m_lots = new FindLots(this);
    buildControls();
    connect(m_lots, &FindLots::finished, this, [this] {
        if (isScanning())
            return;
        // The lots come after the rows: the rows the person has chosen stay chosen.
        RowKey current;
        const QSet<RowKey> chosen = chosenRows(&current);
        showRows();
        chooseRows(chosen, current);
    });

    connect(m_scanner, &CollectionScanner::progress, this, [this](int done, int total) {
        prgScan->setRange(0, total);
        prgScan->setValue(done);
        lblStatus->setText(QStringLiteral("Scanning: %1 of %2 files").arg(done).arg(total));
    });
    connect(m_scanner, &CollectionScanner::finished, this,
            [this](bool cancelled) { onScanFinished(cancelled); });
    connect(m_icons, &FindIcons::iconsArrived, model, &FindTableModel::iconReady);
    model->setIconSource(
        [this](const FindRow& row) { return m_icons->icon(row.file, row.objdId); });
}

frmFind::~frmFind()
{
    // The scanner waits for its workers; nothing of it may reach this half-destroyed window.
    m_scanner->disconnect(this);
    delete m_scanner;
    m_icons->disconnect();
    delete m_icons;
}

void frmFind::buildControls()
{
    auto* searchLabel = new QLabel(QStringLiteral("&Search:"), this);
    txtSearch = new QLineEdit(this);
    txtSearch->setPlaceholderText(
        QStringLiteral("Catalog name, resource name, file, description or GUID"));
    txtSearch->setClearButtonEnabled(true);
    searchLabel->setBuddy(txtSearch);

    tabView = new QTabBar(this);
    tabView->addTab(QStringLiteral("&All Objects"));
    tabView->addTab(QStringLiteral("&Conflicts"));
    tabView->addTab(QStringLiteral("&Problem Files"));
    tabView->setExpanding(false);
    tabView->setDrawBase(false);

    model = new FindTableModel(this);
    tblResults = new QTableView(this);
    tblResults->setModel(model);
    tblResults->setSelectionBehavior(QAbstractItemView::SelectRows);
    // Shift and Ctrl with clicks and arrows, and Ctrl+A, choose the rows the Actions act on.
    tblResults->setSelectionMode(QAbstractItemView::ExtendedSelection);
    tblResults->setContextMenuPolicy(Qt::CustomContextMenu);
    tblResults->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblResults->setTabKeyNavigation(false);
    tblResults->setWordWrap(false);
    // Paths are long and their ends tell most: the file's own name.
    tblResults->setTextElideMode(Qt::ElideMiddle);
    tblResults->setIconSize(QSize(2 * kIconHeight + 4, kIconHeight));
    tblResults->verticalHeader()->hide();
    tblResults->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    tblResults->verticalHeader()->setDefaultSectionSize(kIconHeight + 4);
    tblResults->horizontalHeader()->setStretchLastSection(true);
    tblResults->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    tblResults->setSortingEnabled(true);
    tblResults->setAutoFillBackground(true);

    prgScan = new QProgressBar(this);
    prgScan->setRange(0, 0);
    prgScan->setMaximumWidth(220);
    prgScan->hide();
    lblStatus = new QLabel(this);

    cmdGoTo = new QPushButton(QStringLiteral("&Go To Object"), this);
    cmdDeleteFile = new QPushButton(QStringLiteral("&Delete File"), this);
    cmdSortBy = new QPushButton(QStringLiteral("Sort &By"), this);
    auto* sortMenu = new QMenu(cmdSortBy);
    cmdSortBy->setMenu(sortMenu);
    actions = new FindActions(this, m_main);
    cmdActions = new QPushButton(QStringLiteral("Ac&tions"), this);
    cmdActions->setMenu(actions->menu());
    cmdRescan = new QPushButton(QStringLiteral("Scan &Again"), this);
    cmdClose = new QPushButton(QStringLiteral("Close"), this);

    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(searchLabel);
    searchRow->addWidget(txtSearch, 1);
    auto* statusRow = new QHBoxLayout;
    statusRow->addWidget(prgScan);
    statusRow->addWidget(lblStatus, 1);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addWidget(cmdGoTo);
    buttonRow->addWidget(cmdDeleteFile);
    buttonRow->addWidget(cmdSortBy);
    buttonRow->addWidget(cmdActions);
    mends = new ConflictMends(this, m_main, m_lots);
    buttonRow->addWidget(mends->cmdKeepOne);
    buttonRow->addWidget(mends->cmdNewGuid);
    buttonRow->addStretch(1);
    buttonRow->addWidget(cmdRescan);
    buttonRow->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(searchRow);
    layout->addWidget(tabView);
    layout->addWidget(tblResults, 1);
    layout->addLayout(statusRow);
    layout->addLayout(buttonRow);
    resize(920, 520);

    connect(txtSearch, &QLineEdit::textChanged, this, [this](const QString& text) {
        model->setFilter(text);
        showSummary();
        updateButtons();
    });
    connect(tabView, &QTabBar::currentChanged, this, [this] { showRows(); });
    connect(tblResults, &QTableView::doubleClicked, this,
            [this](const QModelIndex& index) { goToRow(index.row()); });
    connect(tblResults->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { updateButtons(); });
    connect(model, &QAbstractItemModel::modelReset, this, [this] { updateButtons(); });
    connect(cmdGoTo, &QPushButton::clicked, this, [this] { goToRow(currentRow()); });
    connect(cmdDeleteFile, &QPushButton::clicked, this, [this] { deleteRowFile(currentRow()); });
    connect(sortMenu, &QMenu::aboutToShow, this, [this, sortMenu] { fillSortMenu(sortMenu); });
    connect(tblResults, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        actions->menu()->exec(tblResults->viewport()->mapToGlobal(at));
    });
    connect(cmdRescan, &QPushButton::clicked, this, [this] { startScan(); });
    for (QPushButton* mend : {mends->cmdKeepOne, mends->cmdNewGuid})
        connect(mend, &QPushButton::clicked, this, [this, mend] {
            const FindRow* row = model->rowAt(currentRow());
            QString status;
            if (row && (mend == mends->cmdKeepOne ? mends->keepOne(*row, &status)
                                                  : mends->giveNewGuid(*row, &status)))
                lblStatus->setText(status);
        });
    connect(cmdClose, &QPushButton::clicked, this, [this] { close(); });
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            [this] { close(); });
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F), this), &QShortcut::activated, this,
            [this] {
                txtSearch->setFocus();
                txtSearch->selectAll();
            });
    txtSearch->installEventFilter(this);
    tblResults->installEventFilter(this);
    updateButtons();
}

void frmFind::showAndScan()
{
    show();
    raise();
    activateWindow();
    txtSearch->setFocus();
    startScan();
}

bool frmFind::isScanning() const
{
    return m_scanner->isRunning();
}

frmFind::View frmFind::view() const
{
    return View(tabView->currentIndex());
}

void frmFind::setView(View view)
{
    tabView->setCurrentIndex(int(view));
}

const CollectionCatalog& frmFind::catalog() const
{
    return m_scanner->catalog();
}

void frmFind::startScan()
{
    // Exactly the files of the main window's list, in its order, so that every row found can
    // be opened there.
    QList<ObjectFile> files;
    QTreeWidget* list = m_main->lstFiles;
    files.reserve(list->topLevelItemCount());
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        files.append(ObjectFile{list->topLevelItem(i)->text(0), list->topLevelItem(i)->text(1)});
    prgScan->setRange(0, 0);
    prgScan->show();
    lblStatus->setText(QStringLiteral("Scanning..."));
    m_scanner->start(files, ProgramState.GameFolder);
    m_lots->start(ProgramState.GameFolder);
}

void frmFind::onScanFinished(bool cancelled)
{
    m_stopped = cancelled;
    prgScan->hide();
    m_filter = std::make_unique<CatalogFilter>(catalog());
    mends->setCatalog(&catalog());
    m_icons->setFiles(catalog().files);
    const CollectionCatalog& found = catalog();
    tabView->setTabText(AllObjects, QStringLiteral("&All Objects (%1)").arg(found.rows.size()));
    tabView->setTabText(Conflicts, QStringLiteral("&Conflicts (%1)").arg(found.conflicts.size()));
    tabView->setTabText(ProblemFiles,
                        QStringLiteral("&Problem Files (%1)").arg(found.problems.size()));
    showRows();
    Q_EMIT scanFinished(cancelled);
}

void frmFind::showRows()
{
    tblResults->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    switch (view()) {
    case AllObjects:
        model->setMatcher([this](const QString& text) {
            return m_filter ? m_filter->match(text) : QList<int>();
        });
        model->setRows(
            objectRows(),
            {Column::Icon, Column::Name, Column::Price, Column::Lots, Column::File, Column::Guid},
            false);
        break;
    case Conflicts:
        model->setMatcher({});
        model->setRows(conflictRows(),
                       {Column::Icon, Column::Name, Column::Price, Column::Lots, Column::File,
                        Column::Guid, Column::Copy},
                       true);
        break;
    case ProblemFiles:
        model->setMatcher({});
        model->setRows(problemRows(), {Column::File, Column::Problem}, false);
        break;
    }
    for (int column = 0; column < model->columnCount(); ++column)
        tblResults->setColumnWidth(column, ColumnWidth(model->columnAt(column)));
    if (view() == ProblemFiles) // two columns only: room for the whole path
        tblResults->setColumnWidth(0, 2 * ColumnWidth(Column::File));
    showSummary();
    updateButtons();
}

QList<FindRow> frmFind::objectRows() const
{
    const CollectionCatalog& found = catalog();
    QList<FindRow> fileParts(found.files.size()); // computed once per file, then shared
    QList<FindRow> rows;
    rows.reserve(found.rows.size());
    for (const CatalogRow& at : found.rows) {
        const CatalogFile& file = found.files.at(at.file);
        const CatalogObject& object = file.objects.at(at.object);
        if (fileParts.at(at.file).file < 0) {
            fileParts[at.file].file = at.file;
            SetFile(&fileParts[at.file], file);
        }
        FindRow row = fileParts.at(at.file);
        row.objdId = object.id;
        row.listed = true;
        row.name = Shown(object.name);
        row.price = object.price;
        row.guid = object.guid;
        m_lots->describe(&row);
        rows.append(std::move(row));
    }
    return rows;
}

QList<FindRow> frmFind::conflictRows() const
{
    const CollectionCatalog& found = catalog();
    QList<int> order(found.conflicts.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&found](int a, int b) {
        return found.conflicts.at(a).guid < found.conflicts.at(b).guid;
    });
    QList<FindRow> rows;
    for (int group = 0; group < order.size(); ++group) {
        const CatalogConflict& conflict = found.conflicts.at(order.at(group));
        for (const ConflictMember& member : conflict.members) {
            const CatalogFile& file = found.files.at(member.file);
            const auto object =
                std::find_if(file.objects.cbegin(), file.objects.cend(),
                             [&member](const CatalogObject& o) { return o.id == member.id; });
            FindRow row;
            row.file = member.file;
            row.objdId = member.id;
            row.listed = object != file.objects.cend();
            SetFile(&row, file);
            // An OBJD the object list does not show (a tile of a larger object) goes by its
            // resource name.
            row.name = row.listed ? Shown(object->name)
                                  : QStringLiteral("%1 (tile)").arg(Shown(member.resourceName));
            row.price = row.listed ? object->price : 0;
            row.guid = conflict.guid;
            row.group = group;
            row.identicalCopy = member.identicalCopy;
            m_lots->describe(&row);
            row.search = QStringList{row.name, Shown(member.resourceName), row.wholePath,
                                     row.listed ? Shown(object->description) : QString(),
                                     GuidText(conflict.guid)}
                             .join(QLatin1Char('\n'))
                             .toCaseFolded();
            rows.append(std::move(row));
        }
    }
    return rows;
}

QList<FindRow> frmFind::problemRows() const
{
    const CollectionCatalog& found = catalog();
    QList<FindRow> rows;
    for (int index : found.problems) {
        const CatalogFile& file = found.files.at(index);
        FindRow row;
        row.file = index;
        SetFile(&row, file);
        row.problem = file.reason;
        row.search = (row.wholePath + QLatin1Char('\n') + row.problem).toCaseFolded();
        rows.append(std::move(row));
    }
    return rows;
}

void frmFind::showSummary()
{
    if (isScanning())
        return;
    const CollectionCatalog& found = catalog();
    QString text = QStringLiteral("%1 objects in %2 files, %3 conflicts, %4 problem files")
                       .arg(found.rows.size())
                       .arg(found.files.size())
                       .arg(found.conflicts.size())
                       .arg(found.problems.size());
    if (!model->filter().isEmpty())
        text = QStringLiteral("%1 of %2 rows shown; ")
                   .arg(model->rowCount())
                   .arg(model->allRowCount()) +
               text;
    if (m_stopped)
        text += QStringLiteral(" (the scan was stopped: the lists are incomplete)");
    text += m_lots->problemText();
    lblStatus->setText(text);
    lblStatus->setToolTip(m_lots->problemDetails());
}

int frmFind::currentRow() const
{
    const QModelIndex current = tblResults->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void frmFind::updateButtons()
{
    const FindRow* row = model->rowAt(currentRow());
    cmdGoTo->setEnabled(row && row->canOpen);
    cmdDeleteFile->setEnabled(row && row->canOpen && row->isProblem());
    mends->update(row, view() == Conflicts);
}

void frmFind::closeEvent(QCloseEvent* event)
{
    m_scanner->cancel();
    event->accept();
}
