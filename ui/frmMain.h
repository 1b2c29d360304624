#pragma once

#include "SortLists.h"

#include <QImage>
#include <QWidget>
#include <memory>

class clsIFF;
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
    void Form_Unload();
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
    void cmdSave_Click();
    void CheckSave();
    void cmdPresetNew_Click();
    void lstPresets_ItemClick(QTreeWidgetItem* Item);

    // The full path of the open file; empty when its row is gone or no file is open.
    QString CurrentFilePath() const;
    // The picture shown for an object without a catalog icon.
    QImage NoIconPicture() const { return m_noIcon; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void ConnectHandlers();
    clsIFF& Doc();
    QTreeWidgetItem* FileRow(int number) const;
    void OpenRowAfterRemoval(int removedIndex);
    void ShowCatalogText(QWidget* box, const QByteArray& text);
    void ShowIcon(const QImage& image);

    QImage m_noIcon;
    bool m_unloaded = false;
};
