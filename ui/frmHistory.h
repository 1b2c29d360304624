// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class HistorySettings;
class HistoryStore;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class frmMain;

// The History window: the changes Kestrane made to object files, newest first, filtered by
// typed words; "Restore" puts a change's file, or every file of a batch, back as it was before
// it. Its settings say whether changes are kept and how much room the history may take.
class frmHistory : public QWidget
{
    Q_OBJECT

public:
    explicit frmHistory(frmMain* main);

    // Shows the window in front with the history as it now is.
    void showAndRefresh();
    // Reads the history again; the rows are rebuilt only when it changed.
    void refresh();
    // Restores the row's change, or its batch (Enter, the Restore button): asks first.
    void restoreRow(QTreeWidgetItem* row);

    // --- controls (public so that the tests can drive them) ---
    QLabel* lblNote = nullptr; // says when changes are not kept, or the history cannot be read
    QLineEdit* txtFilter = nullptr;
    QTreeWidget* lstChanges = nullptr;
    QLabel* lblStatus = nullptr;
    HistorySettings* settings = nullptr;
    QPushButton* cmdRestore = nullptr;
    QPushButton* cmdClose = nullptr;

protected:
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    bool openStore();
    void showNote();
    void showRows(bool force);
    void showSummary();
    void updateButtons();
    HistoryStore& store() const;

    frmMain* m_main;
    QString m_openError;
    QString m_shownState; // what the shown rows were made from: count and newest, oldest ID
    bool m_restoring = false;
};
