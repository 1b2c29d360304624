#pragma once

// The main window's tests: a game folder of generated object files in a temporary folder, the
// program's data folder, a private trash and a scripted prompt.

#include "CatalogFixture.h"
#include "DialogDriver.h"
#include "GuiTestApp.h"
#include "ScriptedPrompt.h"
#include "clsIFF.h"
#include "frmMain.h"
#include "modConvert.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <memory>

inline const QString kChanged = "This objects has changed. Would you like to save the changes?";

class MainWindowHarness : public ::testing::Test
{
protected:
    void SetUp() override
    {
        EnsureGuiApp();
        InitConvert();
        ASSERT_TRUE(m_root.isValid());
        for (const char* sub : {"game", "data", "xdg", "home"})
            QDir(m_root.path()).mkpath(sub);
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_root.filePath("xdg")));
        qputenv("HOME", QFile::encodeName(m_root.filePath("home")));
        gameFolder = m_root.filePath("game") + '/';
        dataFolder = m_root.filePath("data") + '/';
        ProgramState.ProgramFolder = dataFolder;
        ProgramState.GameFolder = gameFolder;
        ProgramState.Folders = {FolderEntry{gameFolder, false}};
        ProgramState.Presets.clear();
    }

    void TearDown() override
    {
        window.reset();
        qputenv("XDG_DATA_HOME", m_savedXdg);
        qputenv("HOME", m_savedHome);
    }

    QString trashFolder() const { return m_root.filePath("xdg/Trash/files/"); }

    // Writes an object file into the game folder and gives its full path.
    QString writeFile(const QString& name, const CatalogFixture& fixture)
    {
        QFile file(gameFolder + name);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(fixture.fileBytes());
        return file.fileName();
    }

    // Adds a catalog object with text, price, sorts and a GUID unless 0; its CTSS and OBJD
    // share the ID.
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

    QTreeWidgetItem* fileRow(const QString& name) const
    {
        return RowByText(window->lstFiles, name);
    }
    QTreeWidgetItem* objectRow(int id) const
    {
        for (int i = 0; i < window->lstObjects->topLevelItemCount(); ++i)
            if (window->lstObjects->topLevelItem(i)->text(1).toInt() == id)
                return window->lstObjects->topLevelItem(i);
        return nullptr;
    }
    // The panel in one line: file (below the game folder), name, description, price, and
    // "D" when Disabled is checked.
    QString panel() const
    {
        return QStringList{QString(window->lblFilePath->text()).replace(gameFolder, ""),
                           window->txtName->text(), window->txtDescript->toPlainText(),
                           window->txtPrice->text(), window->chkDisabled->isChecked() ? "D" : ""}
            .join('|');
    }
    // What the file on disk holds now.
    static std::unique_ptr<clsIFF> onDisk(const QString& path)
    {
        auto doc = std::make_unique<clsIFF>();
        EXPECT_TRUE(doc->LoadFile(path));
        return doc;
    }
    static QByteArray bytesOf(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    QString gameFolder;
    QString dataFolder;
    ProgramStateGuard stateGuard;
    ScriptedPrompt prompt;
    PromptScope promptScope{prompt};
    std::unique_ptr<frmMain> window;

private:
    QTemporaryDir m_root;
    QByteArray m_savedXdg = qgetenv("XDG_DATA_HOME");
    QByteArray m_savedHome = qgetenv("HOME");
};
