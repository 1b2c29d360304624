// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class FindLots;
class QPushButton;
class QWidget;
class frmMain;
struct CollectionCatalog;
struct FindRow;

// The repairs the Conflicts view of Find Object offers for the group of the chosen row:
// "Keep one, delete the others" for identical copies, and "Give a new GUID" for a downloaded
// object that shares its GUID with a different one. Each is one change in the history.
class ConflictMends : public QObject
{
    Q_OBJECT

public:
    // The buttons are made as children of window, hidden until show(true).
    ConflictMends(QWidget* window, frmMain* main, FindLots* lots);

    QPushButton* cmdKeepOne = nullptr;
    QPushButton* cmdNewGuid = nullptr;

    void setCatalog(const CollectionCatalog* catalog) { m_catalog = catalog; }
    // Shows the buttons (in the Conflicts view) and enables those that fit row (nullptr: none).
    void update(const FindRow* row, bool shown);

    // Asks which copy to keep and moves the others to the trash. False when nothing changed.
    bool keepOne(const FindRow& row, QString* status);
    // Asks, naming the lots that placed the old GUID, and gives the object new GUIDs.
    bool giveNewGuid(const FindRow& row, QString* status);

private:
    // The loose identical copies of row's file, by path; empty when it has none.
    QStringList copiesOf(const FindRow& row) const;
    bool sharesWithAnother(const FindRow& row) const;
    // How many loose files of the row's group are marked as identical copies.
    int looseCopies(const FindRow& row) const;

    QWidget* m_window;
    frmMain* m_main;
    FindLots* m_lots;
    const CollectionCatalog* m_catalog = nullptr;
};
