// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmMain.h"

#include "DataFiles.h"
#include "GameLanguages.h"
#include "HistoryStore.h"
#include "Pictures.h"
#include "ProgramState.h"
#include "Prompt.h"
#include "RowSignals.h"
#include "WindowStyle.h"
#include "clsIFF.h"
#include "frmAbout.h"
#include "frmFolders.h"
#include "frmPresets.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <limits>

namespace
{

QPushButton* MakeButton(QWidget* parent, const QString& caption, int left, int top, int width,
                        int height)
{
    auto* button = new QPushButton(caption, parent);
    PlaceTwips(button, left, top, width, height);
    return button;
}

QLabel* MakeLabel(QWidget* parent, const QString& caption, int left, int top, int width, int height)
{
    auto* label = new QLabel(caption, parent);
    PlaceTwips(label, left, top, width, height);
    return label;
}

QCheckBox* MakeCheckBox(QWidget* parent, const QString& caption, int left, int top, int width,
                        int height)
{
    auto* box = new QCheckBox(caption, parent);
    PlaceTwips(box, left, top, width, height);
    return box;
}

} // namespace

frmMain::frmMain(QWidget* parent) : QWidget(parent)
{
    setWindowTitle(QStringLiteral("Kestrane"));
    // Taller than the original 8625 by a strip for the Find Object button.
    setFixedSize(Twips(11910), Twips(9120));
    ApplyWindowStyle(this);
    m_noIcon = NoIconImage();
    BuildControls();
    ConnectHandlers();
    // Ctrl+S is seen before the focused control gets the key, wherever the focus is.
    qApp->installEventFilter(this);
    Form_Load();
    Form_Activate();
}

frmMain::~frmMain() = default;

void frmMain::BuildControls()
{
    fraFile = MakeFrame(this, QStringLiteral("Select a file:"), 120, 120, 3615, 6495);
    lstFiles = MakeListView(fraFile, {QStringLiteral("FileName"), QStringLiteral("FilePath")}, 120,
                            240, 3375, 5175);
    cmdDelete = MakeButton(fraFile, QStringLiteral("Delete File"), 120, 5520, 3375, 375);
    cmdBrowse = MakeButton(fraFile, QStringLiteral("Modify Folders..."), 120, 6000, 1612, 375);
    cmdRefresh = MakeButton(fraFile, QStringLiteral("Refresh List"), 1860, 6000, 1635, 375);

    fraObject = MakeFrame(this, QStringLiteral("Select an object:"), 120, 6720, 3615, 1575);
    lstObjects = MakeListView(fraObject, {QStringLiteral("Name"), QStringLiteral("ID")}, 120, 240,
                              3375, 1215);
    picNoObjects = new QWidget(fraObject);
    PlaceTwips(picNoObjects, 120, 240, 3375, 1215);
    {
        QPalette palette = picNoObjects->palette();
        palette.setColor(QPalette::Window, QApplication::palette().color(QPalette::Base));
        picNoObjects->setPalette(palette);
        picNoObjects->setAutoFillBackground(true);
    }
    lblNoObjects = MakeLabel(picNoObjects, QStringLiteral(" No objects were found in this file!"),
                             0, 0, 3015, 255);
    {
        QPalette palette = lblNoObjects->palette();
        palette.setColor(QPalette::WindowText, Qt::red);
        lblNoObjects->setPalette(palette);
    }
    picNoObjects->raise();

    fraProperties = MakeFrame(this, QStringLiteral("Properties:"), 3960, 120, 5175, 2055);
    if (ProgramState.GameLanguage == GameLanguages::kUsEnglish) {
        lblName = MakeLabel(fraProperties, QStringLiteral("Name:"), 120, 240, 495, 255);
    } else {
        // The label names the language the texts are shown in; it runs up to "Disabled".
        lblName = MakeLabel(fraProperties, QString(), 120, 240, 2370, 255);
        SetFittedText(
            lblName,
            QStringLiteral("Name (%1):").arg(GameLanguages::Name(ProgramState.GameLanguage)));
    }
    txtName = new QLineEdit(fraProperties);
    PlaceTwips(txtName, 120, 480, 3375, 285);
    // A box cut at its default 32767 characters would show, and save, a shorter name.
    txtName->setMaxLength(std::numeric_limits<int>::max());
    chkDisabled = MakeCheckBox(fraProperties, QStringLiteral("Disabled"), 2520, 240, 975, 225);
    lblPrice = MakeLabel(fraProperties, QStringLiteral("Price:"), 3600, 240, 495, 255);
    txtPrice = new QLineEdit(fraProperties);
    PlaceTwips(txtPrice, 3600, 480, 735, 285);
    picIcon = MakeLabel(fraProperties, QString(), 4455, 210, 555, 675);
    picIcon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblDescript = MakeLabel(fraProperties, QStringLiteral("Description:"), 120, 840, 1215, 255);
    // The name row is full, so the note stands between the name box and the description box.
    lblLanguageNote = MakeLabel(fraProperties, QString(), 1335, 840, 3720, 255);
    lblLanguageNote->hide();
    txtDescript = new QPlainTextEdit(fraProperties);
    txtDescript->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    PlaceTwips(txtDescript, 120, 1080, 4935, 825);

    fraSorts = CreateSortFrame(this, 3960, 2280, lstSort, picSort);

    fraPresets = MakeFrame(this, QStringLiteral("Presets:"), 9360, 2280, 2415, 3855);
    lstPresets = MakeListView(fraPresets, {QStringLiteral("Name")}, 120, 240, 2175, 2535);
    cmdPresetEdit = MakeButton(fraPresets, QStringLiteral("Edit Presets..."), 120, 2880, 2175, 375);
    cmdPresetNew =
        MakeButton(fraPresets, QStringLiteral("Create From Current"), 120, 3360, 2175, 375);

    fraButtons = MakeFrame(this, QString(), 9360, 6240, 2415, 2055);
    chkAutoSave = MakeCheckBox(fraButtons, QStringLiteral("Auto-Save"), 1080, 240, 1110, 225);
    cmdSave = MakeButton(fraButtons, QStringLiteral("Save"), 240, 600, 1935, 375);
    cmdAbout = MakeButton(fraButtons, QStringLiteral("About"), 240, 1080, 1935, 375);
    cmdExit = MakeButton(fraButtons, QStringLiteral("E&xit"), 240, 1560, 1935, 375);

    Picture1 = MakeLabel(this, QString(), 9360, 120, 2415, 2055);
    Picture1->setPixmap(QPixmap::fromImage(LogoImage(Picture1->size())));
    picNoIcon = MakeLabel(this, QString(), 9480, 120, 615, 615);
    picNoIcon->setPixmap(QPixmap::fromImage(m_noIcon));
    picNoIcon->hide();

    lblFilePath = MakeLabel(this, QStringLiteral("FilePath"), 120, 8355, 11655, 255);
    cmdFind = MakeButton(this, QStringLiteral("Find Object... (Ctrl+F)"), 9360, 8640, 2415, 375);
    cmdHistory = MakeButton(this, QStringLiteral("History... (Ctrl+H)"), 6840, 8640, 2415, 375);
}

void frmMain::ConnectHandlers()
{
    connect(cmdExit, &QPushButton::clicked, this, [this] { cmdExit_Click(); });
    connect(cmdAbout, &QPushButton::clicked, this, [this] { cmdAbout_Click(); });
    connect(cmdBrowse, &QPushButton::clicked, this, [this] { cmdBrowse_Click(); });
    connect(cmdPresetEdit, &QPushButton::clicked, this, [this] { cmdPresetEdit_Click(); });
    connect(cmdPresetNew, &QPushButton::clicked, this, [this] { cmdPresetNew_Click(); });
    connect(cmdRefresh, &QPushButton::clicked, this, [this] { cmdRefresh_Click(); });
    connect(cmdDelete, &QPushButton::clicked, this, [this] { cmdDelete_Click(); });
    connect(cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
    connect(txtPrice, &QLineEdit::textChanged, this, [this] { txtPrice_Change(); });
    connect(cmdFind, &QPushButton::clicked, this, [this] { cmdFind_Click(); });
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F), this), &QShortcut::activated, this,
            [this] { cmdFind_Click(); });
    connect(cmdHistory, &QPushButton::clicked, this, [this] { cmdHistory_Click(); });
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_H), this), &QShortcut::activated, this,
            [this] { cmdHistory_Click(); });
    // The handlers ignore the row already open or shown, so a click that also moves the
    // selection is handled once.
    OnRowClick(lstFiles, [this](QTreeWidgetItem* item) { lstFiles_ItemClick(item); });
    OnRowClick(lstObjects, [this](QTreeWidgetItem* item) { lstObjects_ItemClick(item); });
    OnRowClick(lstPresets, [this](QTreeWidgetItem* item) { lstPresets_ItemClick(item); });
    for (int index = 0; index < 9; ++index) {
        OnRowCheck(lstSort[index],
                   [this, index](QTreeWidgetItem* item) { lstSort_ItemCheck(index, item); });
        OnRowClick(lstSort[index],
                   [this, index](QTreeWidgetItem* item) { lstSort_ItemClick(index, item); });
    }
}

void frmMain::Form_Load()
{
    SetupSortLists(lstSort);
    CurrentFile = -1;
    CurrentObject = -1;
    for (QTreeWidget* list : {lstFiles, lstObjects, lstPresets})
        list->setColumnWidth(0, list->width() - Twips(270));
    LoadIffs();
}

bool frmMain::Form_KeyDown(int KeyCode, Qt::KeyboardModifiers Shift)
{
    const Qt::KeyboardModifiers held =
        Shift & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (KeyCode != Qt::Key_S || held != Qt::ControlModifier)
        return false;
    cmdSave_Click();
    return true;
}

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
        // A key the focused control ignores travels on to its parents as the same event;
        // only its first stop counts, so a key is seen once.
        auto* widget = static_cast<QWidget*>(watched);
        QWidget* first = focusWidget() ? focusWidget() : this;
        if (widget == first && widget->window() == this) {
            const auto* key = static_cast<QKeyEvent*>(event);
            Form_KeyDown(key->key(), key->modifiers());
        }
    }
    return QWidget::eventFilter(watched, event); // no key is consumed
}

void frmMain::closeEvent(QCloseEvent* event)
{
    // Edits that could not be saved keep the window open; the message said why.
    if (Form_Unload())
        event->accept();
    else
        event->ignore();
}

bool frmMain::Form_Unload()
{
    if (m_unloaded)
        return true;
    if (CurrentFile != -1 && !CheckSave())
        return false;
    m_unloaded = true;
    // Both files are written even when nothing changed; a failure is told but never keeps
    // the window open.
    QString error;
    if (!SavePresets(&error)) {
        ShowMessage(QStringLiteral("The presets could not be saved to %1: %2")
                        .arg(ProgramState.ProgramFolder + QStringLiteral("presets.dat"), error));
    }
    error.clear();
    if (!SaveFolders(&error)) {
        ShowMessage(QStringLiteral("The folder list could not be saved to %1: %2")
                        .arg(ProgramState.ProgramFolder + QStringLiteral("folders.dat"), error));
    }
    return true;
}

void frmMain::cmdExit_Click()
{
    close();
}

void frmMain::cmdAbout_Click()
{
    frmAbout about(this);
    about.exec();
    Form_Activate();
}

void frmMain::cmdBrowse_Click()
{
    frmFolders folders([this] { LoadIffs(); }, this);
    folders.exec();
    Form_Activate();
}

void frmMain::cmdPresetEdit_Click()
{
    frmPresets presets(this);
    presets.exec();
    Form_Activate();
}

void frmMain::EnableControls(bool Enabled, bool ClearAll)
{
    if (lstObjects->isEnabled() == Enabled)
        return;
    if (ClearAll) {
        {
            const QSignalBlocker blocker(lstObjects);
            lstObjects->clear();
        }
        txtName->clear();
        txtPrice->clear();
        txtDescript->clear();
        txtName->setToolTip(QString());
        txtDescript->setToolTip(QString());
        lblLanguageNote->hide();
        chkDisabled->setChecked(false);
        ShowIcon(m_noIcon);
        for (int k = 0; k < 8; ++k) {
            const QSignalBlocker blocker(lstSort[k]);
            for (int row = 0; row < lstSort[k]->topLevelItemCount(); ++row)
                lstSort[k]->topLevelItem(row)->setCheckState(0, Qt::Unchecked);
        }
        {
            const QSignalBlocker blocker(lstSort[8]);
            lstSort[8]->clearSelection();
            if (QTreeWidgetItem* none = lstSort[8]->topLevelItem(0)) {
                lstSort[8]->setCurrentItem(none);
                none->setSelected(true);
                lstSort[8]->scrollToItem(none);
            }
        }
    }
    for (QWidget* control : {static_cast<QWidget*>(lstObjects), static_cast<QWidget*>(txtName),
                             static_cast<QWidget*>(txtPrice), static_cast<QWidget*>(txtDescript),
                             static_cast<QWidget*>(chkDisabled), static_cast<QWidget*>(lstPresets),
                             static_cast<QWidget*>(cmdSave)})
        control->setEnabled(Enabled);
    for (QTreeWidget* list : lstSort)
        list->setEnabled(Enabled);
}

clsIFF& frmMain::Doc()
{
    if (!Document)
        Document = std::make_unique<clsIFF>();
    return *Document;
}

void frmMain::ShowIcon(const QImage& image)
{
    if (image.isNull())
        picIcon->clear();
    else
        picIcon->setPixmap(QPixmap::fromImage(image));
}
