// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPair>
#include <QSet>
#include <QWidget>
#include <memory>

class CatalogFilter;
class CollectionScanner;
class ConflictMends;
class FindLots;
struct CollectionCatalog;
class FindActions;
class FindIcons;
class FindTableModel;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QTabBar;
class QTableView;
class frmMain;
struct FindRow;

// The Find Object window: every object of the collection, the GUID conflicts and the problem
// files, found by a scan that runs off the interface thread. A row opens its file and object
// in the main window; a problem file can go to the trash.
class frmFind : public QWidget
{
    Q_OBJECT

public:
    enum View { AllObjects, Conflicts, ProblemFiles };

    explicit frmFind(frmMain* main);
    // Cancels a running scan and waits for it.
    ~frmFind() override;

    // Shows the window in front and scans the main window's files again (only files that
    // changed are read again).
    void showAndScan();
    bool isScanning() const;
    View view() const;
    void setView(View view);
    const CollectionCatalog& catalog() const;
    // Goes to the row's file and object in the main window (Enter, double-click).
    void goToRow(int row);
    // Moves the problem row's file to the trash, confirmed as Delete File is.
    void deleteRowFile(int row);
    // The chosen rows and the current one, by file (with its archive entry) and OBJD, so that
    // they can be chosen again once the rows are shown anew.
    using RowKey = QPair<QString, int>;
    QSet<RowKey> chosenRows(RowKey* current = nullptr) const;
    void chooseRows(const QSet<RowKey>& rows, const RowKey& current = {});

    // --- controls (public so that the tests can drive them) ---
    QLineEdit* txtSearch = nullptr;
    QTabBar* tabView = nullptr;
    QTableView* tblResults = nullptr;
    FindTableModel* model = nullptr;
    QProgressBar* prgScan = nullptr;
    QLabel* lblStatus = nullptr;
    QPushButton* cmdGoTo = nullptr;
    QPushButton* cmdDeleteFile = nullptr;
    QPushButton* cmdSortBy = nullptr;  // the columns, to sort by them from the keyboard
    QPushButton* cmdActions = nullptr; // acts on the selected rows (also their context menu)
    FindActions* actions = nullptr;
    QPushButton* cmdRescan = nullptr;
    QPushButton* cmdClose = nullptr;
    ConflictMends* mends = nullptr; // the Conflicts view's repair buttons

Q_SIGNALS:
    // A scan ended and its rows are shown.
    void scanFinished(bool cancelled);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void startScan();
    void onScanFinished(bool cancelled);
    void showRows();
    void fillSortMenu(QMenu* menu);
    void sortBy(int column);
    void updateButtons();
    void showSummary();
    int currentRow() const;
    QList<FindRow> objectRows() const;
    QList<FindRow> conflictRows() const;
    QList<FindRow> problemRows() const;

    frmMain* m_main;
    CollectionScanner* m_scanner = nullptr;
    FindIcons* m_icons = nullptr;
    FindLots* m_lots = nullptr;
    std::unique_ptr<CatalogFilter> m_filter;
    bool m_stopped = false; // the last scan was cancelled: its lists are partial
};
