// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "BatchRunner.h"

#include <QObject>
#include <QSet>
#include <QStringList>

class QMenu;
class QProgressDialog;
class frmFind;
class frmMain;

// The Actions of the Find Object window: catalog sorts, price, hiding, moving and deleting
// for the selected rows at once. Everything is confirmed once, the main window's unsaved
// edits are asked about first, and the work runs on a worker thread through the batch engine
// with a progress dialog and Cancel; a summary follows.
class FindActions : public QObject
{
    Q_OBJECT
public:
    FindActions(frmFind* find, frmMain* main);

    QMenu* menu() const { return m_menu; }
    BatchRunner* runner() const { return m_runner; }
    QProgressDialog* progressDialog() const { return m_progress; }

    void applyPreset(int index);
    void editSorts();
    void setPrice();
    void setHidden(bool hidden);
    void moveFiles();
    void deleteFiles();

Q_SIGNALS:
    // A batch ended, the main window and the rows are brought up to date, its summary shown.
    void batchFinished(const BatchResult& result);

private:
    struct Chosen {
        BatchSelection selection; // the objects of loose files, the game's own left alone
        QStringList files;        // the loose files of the selected rows
        int objectsInFiles = 0;   // every listed object of those files
    };
    Chosen chosen() const;
    void fillMenu();
    void editObjects(const ObjectEdit& edit, const QString& what);
    // removes: the files leave their place (moved or deleted).
    void run(const QStringList& files, bool removes, BatchRunner::Work work);
    void finish(const BatchResult& result);
    void reselect();

    frmFind* m_find;
    frmMain* m_main;
    QMenu* m_menu;
    BatchRunner* m_runner;
    QProgressDialog* m_progress = nullptr;
    QSet<QPair<QString, int>> m_reselect; // the rows chosen for a batch
};
