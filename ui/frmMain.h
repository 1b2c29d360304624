// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "HistoryTypes.h"
#include "ShownCatalogText.h"
#include "SortLists.h"

#include <QImage>
#include <QPointer>
#include <QWidget>
#include <array>
#include <memory>
#include <optional>

class HistoryStore;
class clsIFF;
class frmFind;
class frmHistory;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// The main window: the object files, the objects of the open file, their catalog
// properties and sorts, the presets, and saving.
class frmMain : public QWidget
{
    Q_OBJECT

public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // --- controls (public so that the tests can drive them) ---
    QGroupBox* fraFile = nullptr;
    QTreeWidget* lstFiles = nullptr;
    QPushButton* cmdDelete = nullptr;
    QPushButton* cmdBrowse = nullptr;
    QPushButton* cmdRefresh = nullptr;
    QGroupBox* fraObject = nullptr;
    QTreeWidget* lstObjects = nullptr;
    QWidget* picNoObjects = nullptr;
    QLabel* lblNoObjects = nullptr;
    QGroupBox* fraProperties = nullptr;
    QLabel* lblName = nullptr;
    QLineEdit* txtName = nullptr;
    QCheckBox* chkDisabled = nullptr;
    QLabel* lblPrice = nullptr;
    QLineEdit* txtPrice = nullptr;
    QLabel* picIcon = nullptr;
    QLabel* lblDescript = nullptr;
    // "(US English: no text for French)" while the shown texts are not the game language's.
    QLabel* lblLanguageNote = nullptr;
    QPlainTextEdit* txtDescript = nullptr;
    QGroupBox* fraSorts = nullptr;
    SortHolders picSort{};
    SortLists lstSort{};
    QGroupBox* fraPresets = nullptr;
    QTreeWidget* lstPresets = nullptr;
    QPushButton* cmdPresetEdit = nullptr;
    QPushButton* cmdPresetNew = nullptr;
    QGroupBox* fraButtons = nullptr;
    QCheckBox* chkAutoSave = nullptr;
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdAbout = nullptr;
    QPushButton* cmdExit = nullptr;
    QLabel* Picture1 = nullptr;
    QLabel* picNoIcon = nullptr;
    QLabel* lblFilePath = nullptr;

    // --- window state ---
    std::unique_ptr<clsIFF> Document;
    int CurrentFile = -1;   // number N of the open file's row ("File<N>"); -1: none
    int CurrentObject = -1; // ID of the shown OBJD; -1: none

    // --- operations and handlers ---
    void LoadIffs();
    void EnableControls(bool Enabled, bool ClearAll);
    void Form_Load();
    void Form_Activate();
    // True when the key was Ctrl+S alone (the save then ran, or did nothing while disabled).
    bool Form_KeyDown(int KeyCode, Qt::KeyboardModifiers Shift);
    // False when the shown object's edits could not be saved: the window then stays open.
    bool Form_Unload();
    void cmdExit_Click();
    void cmdAbout_Click();
    void cmdBrowse_Click();
    void cmdPresetEdit_Click();
    void cmdRefresh_Click();
    void cmdDelete_Click();
    void lstFiles_ItemClick(QTreeWidgetItem* Item);
    void lstObjects_ItemClick(QTreeWidgetItem* Item);
    void lstSort_ItemCheck(int Index, QTreeWidgetItem* Item);
    void lstSort_ItemClick(int Index, QTreeWidgetItem* Item);
    void txtPrice_Change();
    // False when the save was refused or failed; the edits then stay in the panel.
    bool cmdSave_Click();
    // The unsaved-changes check before the shown object is left. False when the object's edits
    // were to be saved and could not be: the caller then stays on the object.
    bool CheckSave();
    void cmdPresetNew_Click();
    void lstPresets_ItemClick(QTreeWidgetItem* Item);

    // The full path of the open file; empty when its row is gone or no file is open.
    QString CurrentFilePath() const;
    // The picture shown for an object without a catalog icon.
    QImage NoIconPicture() const { return m_noIcon; }

    // --- Find Object window (frmMainFind.cpp) ---
    QPushButton* cmdFind = nullptr;
    void cmdFind_Click(); // also Ctrl+F
    frmFind* FindWindow() const;
    // Opens the listed file and shows the object as clicks on their rows do, unsaved-changes
    // check included; ObjdID -1 opens the file alone. False when the file is not listed, the
    // object is not in it, or the check kept the shown object.
    bool GoToObject(const QString& path, int ObjdID);
    // Delete File for a file that need not be open: the same confirmation, the row removed
    // when the file went to the trash. True when the file is gone.
    bool DeleteListedFile(const QString& path);
    // Before Find Object's Actions or repairs change files (or, removed, move or delete them):
    // the unsaved-changes check when the open file is among them or the list will be read
    // again. False when the check kept the object.
    bool CheckSaveBeforeBatch(const QStringList& files, bool removed = false);

    // --- history of changes (frmMainSave.cpp) ---
    // The history kept in the data folder (ProgramState.ProgramFolder), made on first use.
    // Every save and Delete File of this window goes through it.
    HistoryStore& History();

    // --- History window (frmMainHistory.cpp) ---
    QPushButton* cmdHistory = nullptr;
    void cmdHistory_Click(); // also Ctrl+H
    frmHistory* HistoryWindow() const;
    // Before a restore: the unsaved-changes check, when the open file is among the plan's files
    // or the file list must be read again. False when the check kept the object.
    bool CheckSaveBeforeRestore(const QList<RestoreItem>& plan);
    // After a restore: the file list, the open file (read again, the shown object kept where it
    // still exists) and the Find Object window show the files as they now are.
    void ShowRestoredFiles(const QStringList& files);

private:
    QPointer<frmFind> m_find; // made on first use and kept, with the cache of its scans
    std::unique_ptr<HistoryStore> m_history;
    QPointer<frmHistory> m_historyWindow;
    bool ListingChangesWith(const QStringList& files) const;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // What the panel holds that differs from the document, field by field.
    struct PanelEdits {
        std::optional<QByteArray> name;
        std::optional<QByteArray> description;
        std::optional<qint32> price;
        std::optional<bool> disabled;
        std::optional<SortSet> sorts;
        QString textError; // set when a text box holds text the catalog cannot store
        bool any() const
        {
            return name || description || price || disabled || sorts || !textError.isEmpty();
        }
    };

    void BuildControls();
    void ConnectHandlers();
    clsIFF& Doc();
    QTreeWidgetItem* FileRow(int number) const;
    void OpenRowAfterRemoval(int removedIndex);
    void ShowCatalogText(QWidget* box, const QByteArray& text);
    void ShowIcon(const QImage& image);
    QString DescriptionText() const;
    // Throws IffError when the document no longer holds the shown object. forCheck leaves out
    // what the unsaved-changes check does not compare.
    PanelEdits ReadPanelEdits(bool forCheck) const;
    // After a save: the panel shows what the file now holds.
    void ShowSavedValues();
    void SelectQuietly(QTreeWidget* list, QTreeWidgetItem* item);
    QTreeWidgetItem* ObjectRow(int id) const;

    QImage m_noIcon;
    bool m_unloaded = false;
    // The shown object's catalog text as read, and the sort slots the person changed since it
    // was shown: a slot nobody touched is saved as it was, even where no row can show it.
    ShownCatalogText m_shownName;
    ShownCatalogText m_shownDescription;
    std::array<bool, 9> m_sortTouched{};
    // The person agreed to save the open file although its load found damage.
    bool m_damageAccepted = false;
    // Asks before the first save of a damaged file; false when the person declined.
    bool AgreeToDropDamage();
};
