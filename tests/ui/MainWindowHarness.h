// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The window tests: a temporary game folder, data folder and trash; a scripted prompt.

#include "CatalogFixture.h"
#include "DialogDriver.h"
#include "clsIFF.h"
#include "frmMain.h"
#include "modConvert.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

inline const QString kChanged = "This objects has changed. Would you like to save the changes?";

class MainWindowHarness : public ::testing::Test
{
    // Before the window, so that it goes first.
    QTemporaryDir m_root;
    EnvVarScope m_xdg{"XDG_DATA_HOME", m_root.filePath("xdg")},
        m_home{"HOME", m_root.filePath("home")};

protected:
    void SetUp() override
    {
        EnsureGuiApp();
        InitConvert();
        ASSERT_TRUE(m_root.isValid());
        for (const char* sub : {"game", "data", "xdg", "home"})
            QDir(m_root.path()).mkpath(sub);
        ProgramState.ProgramFolder = dataFolder;
        ProgramState.GameFolder = gameFolder;
        ProgramState.Folders = {FolderEntry{gameFolder, false}};
    }

    QString trashFolder() const { return m_root.filePath("xdg/Trash/files/"); }

    // Writes an object file into the game folder and gives its full path.
    QString writeFile(const QString& name, const CatalogFixture& fixture)
    {
        WriteFile(gameFolder + name, fixture.fileBytes());
        return gameFolder + name;
    }

    // Adds a catalog object (OBJD and CTSS of one ID) with text, price, sorts, GUID unless 0.
    static CatalogFixture object(CatalogFixture fixture, quint16 id, const QByteArray& name,
                                 const QByteArray& description, quint16 price,
                                 const SortSet& sorts = {}, quint32 guid = 0)
    {
        ObjdSpec spec = CatalogObject(id, price);
        spec.sorts = sorts;
        if (guid != 0)
            spec.guid = guid;
        return fixture.objd(id, name + " objd", spec).ctss(id, MakeCatalogCtss(name, description));
    }

    void openWindow()
    {
        window = std::make_unique<frmMain>();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    // Types a price into the panel and saves.
    void saveAt(const QString& price)
    {
        window->txtPrice->setText(price);
        window->cmdSave->click();
    }
    QTreeWidgetItem* fileRow(const QString& name) const
    {
        return RowByText(window->lstFiles, name);
    }
    QTreeWidgetItem* objectRow(int id) const
    {
        return window->lstObjects->findItems(QString::number(id), Qt::MatchExactly, 1).value(0);
    }
    // The panel: file (below the game folder)|name|description|price|"D" when Disabled.
    QString panel() const
    {
        return QStringList{QString(window->lblFilePath->text()).replace(gameFolder, ""),
                           window->txtName->text(), window->txtDescript->toPlainText(),
                           window->txtPrice->text(), window->chkDisabled->isChecked() ? "D" : ""}
            .join('|');
    }
    // The sort lists in one line: the checked rows of each, the chosen Build Mode last.
    QString shownSorts() const
    {
        QStringList lists;
        for (int k = 0; k < 8; ++k)
            lists << CheckedTexts(window->lstSort[k]).join(',');
        return (lists << SelectedTexts(window->lstSort[8])).join('|');
    }
    static std::unique_ptr<clsIFF> onDisk(const QString& path)
    {
        auto doc = std::make_unique<clsIFF>();
        EXPECT_TRUE(doc->LoadFile(path));
        return doc;
    }
    // An object as its file holds it: name|description|price|"D" when Disabled|sorts.
    static QString stored(const QString& path, quint16 id)
    {
        const auto doc = onDisk(path);
        QStringList fields{QString::fromLatin1(doc->GetName(id) + '|' + doc->GetDescription(id)),
                           QString::number(doc->GetPrice(id)), doc->GetDisabled(id) ? "D" : ""};
        for (const qint32 sort : doc->GetSorts(id))
            fields << QString::number(sort);
        return fields.join('|');
    }

    const QString gameFolder = m_root.filePath("game") + '/';
    const QString dataFolder = m_root.filePath("data") + '/';
    StateGuard stateGuard;
    ScriptedPrompt prompt;
    PromptScope promptScope{prompt};
    std::unique_ptr<frmMain> window;
};
