// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <functional>

class QGroupBox;
class QPushButton;
class QTreeWidget;

// "Modify Folders": the folder list of ProgramState with Add, Edit and Remove. When it closes
// after a change, the main window gathers its files again through loadIffs.
class frmFolders : public QDialog
{
    Q_OBJECT

public:
    explicit frmFolders(std::function<void()> loadIffs, QWidget* parent = nullptr);

    bool Changed = false;

    QGroupBox* fraFolders = nullptr;
    QTreeWidget* lstFolders = nullptr;
    QPushButton* cmdAdd = nullptr;
    QPushButton* cmdEdit = nullptr;
    QPushButton* cmdRemove = nullptr;
    QPushButton* cmdOk = nullptr;

    void BuildFolderList();
    // Rebuilds the list keeping the selected row; runs when the window is first shown and
    // after each of its dialogs closes.
    void Form_Activate();
    void cmdAdd_Click();
    void cmdEdit_Click();
    void cmdRemove_Click();
    void cmdOk_Click();

    // Index in ProgramState.Folders of the selected row's entry; -1 when there is none.
    int SelectedFolder() const;

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::function<void()> m_loadIffs;
    bool m_activated = false;
    bool m_closed = false;
};
