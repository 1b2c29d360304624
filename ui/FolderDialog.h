// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class frmFolders;

// The most folders folders.dat can hold: its count is a 16-bit signed number.
inline constexpr int kMaxFolders = 32767;
// The longest folder path folders.dat can hold: its length is an unsigned 16-bit number.
inline constexpr int kMaxFolderPathBytes = 65535;

// What the Add Folder and Edit Folder dialogs share: the path box, the folder picker, the
// subfolder flag and the checks made on OK. The two differ in which entry the duplicate test
// skips and in what OK stores.
class FolderDialog : public QDialog
{
    Q_OBJECT

public:
    QLabel* Label1 = nullptr;
    QLineEdit* txtFolder = nullptr;
    QPushButton* cmdBrowse = nullptr;
    QCheckBox* chkSubfolders = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancel = nullptr;

    void cmdBrowse_Click();
    void cmdOk_Click();
    void cmdCancel_Click();

protected:
    FolderDialog(const QString& caption, frmFolders* owner);

    // The entry the duplicate test skips; -1 for none.
    virtual int IndexToIgnore() const = 0;
    // Stores the accepted path (ending in "/") and flag.
    virtual void Store(const QString& path, bool includeSubfolders) = 0;

    frmFolders* m_owner;
};
