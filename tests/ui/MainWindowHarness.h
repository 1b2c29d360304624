#pragma once

// Shared set-up for the main window's tests: a game folder of generated object files in a
// temporary folder, the program's data folder, a private trash and a scripted prompt.

#include "CatalogFixture.h"
#include "GuiTestApp.h"
#include "ProgramState.h"
#include "ScriptedPrompt.h"
#include "SortVocabulary.h"
#include "clsIFF.h"
#include "frmMain.h"
#include "modConvert.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <memory>

class MainWindowHarness : public ::testing::Test
{
protected:
    void SetUp() override
    {
        EnsureGuiApp();
        InitConvert();
        ASSERT_TRUE(m_root.isValid());
        m_savedXdg = qgetenv("XDG_DATA_HOME");
        m_savedHome = qgetenv("HOME");
        QDir(m_root.path()).mkpath(QStringLiteral("game"));
        QDir(m_root.path()).mkpath(QStringLiteral("data"));
        QDir(m_root.path()).mkpath(QStringLiteral("xdg"));
        QDir(m_root.path()).mkpath(QStringLiteral("home"));
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_root.filePath(QStringLiteral("xdg"))));
        qputenv("HOME", QFile::encodeName(m_root.filePath(QStringLiteral("home"))));
        gameFolder = m_root.filePath(QStringLiteral("game")) + QLatin1Char('/');
        dataFolder = m_root.filePath(QStringLiteral("data")) + QLatin1Char('/');
        ProgramState.ProgramFolder = dataFolder;
        ProgramState.GameFolder = gameFolder;
        ProgramState.Folders = {FolderEntry{gameFolder, false}};
        ProgramState.Presets.clear();
        ProgramState.FileKeyCounter = 0;
    }

    void TearDown() override
    {
        window.reset();
        ProgramState.Presets.clear();
        ProgramState.Folders.clear();
        qputenv("XDG_DATA_HOME", m_savedXdg);
        qputenv("HOME", m_savedHome);
    }

    QString trashFolder() const { return m_root.filePath(QStringLiteral("xdg/Trash/files")); }

    // Writes an object file into the game folder and gives its full path.
    QString writeFile(const QString& name, const CatalogFixture& fixture)
    {
        const QString path = gameFolder + name;
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(fixture.fileBytes());
        return path;
    }

    // A catalog object with text, price and sorts; its CTSS and OBJD share the ID.
    static CatalogFixture object(CatalogFixture fixture, quint16 id, const QByteArray& name,
                                 const QByteArray& description, quint16 price,
                                 const SortSet& sorts = {})
    {
        ObjdSpec spec = CatalogObject(id, price);
        spec.sorts = sorts;
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
        for (int i = 0; i < window->lstFiles->topLevelItemCount(); ++i) {
            if (window->lstFiles->topLevelItem(i)->text(0) == name)
                return window->lstFiles->topLevelItem(i);
        }
        return nullptr;
    }

    QTreeWidgetItem* objectRow(int id) const
    {
        for (int i = 0; i < window->lstObjects->topLevelItemCount(); ++i) {
            if (window->lstObjects->topLevelItem(i)->text(1).toInt() == id)
                return window->lstObjects->topLevelItem(i);
        }
        return nullptr;
    }

    // Clicks a row the way a person does (the list's own signals run the handlers).
    static void clickRow(QTreeWidget* list, QTreeWidgetItem* row);
    // Checks or unchecks a row the way a person does.
    static void setChecked(QTreeWidget* list, QTreeWidgetItem* row, bool checked);

    static QStringList rowTexts(const QTreeWidget* list)
    {
        QStringList texts;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            texts << list->topLevelItem(i)->text(0);
        return texts;
    }
    static QStringList checkedTexts(const QTreeWidget* list)
    {
        QStringList texts;
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            if (list->topLevelItem(i)->checkState(0) == Qt::Checked)
                texts << list->topLevelItem(i)->text(0);
        }
        return texts;
    }
    static QTreeWidgetItem* rowWithText(const QTreeWidget* list, const QString& text)
    {
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            if (list->topLevelItem(i)->text(0) == text)
                return list->topLevelItem(i);
        }
        return nullptr;
    }

    QString gameFolder;
    QString dataFolder;
    ScriptedPrompt prompt;
    PromptScope promptScope{prompt};
    std::unique_ptr<frmMain> window;

private:
    QTemporaryDir m_root;
    QByteArray m_savedXdg;
    QByteArray m_savedHome;
};

inline void MainWindowHarness::clickRow(QTreeWidget* list, QTreeWidgetItem* row)
{
    ASSERT_NE(row, nullptr);
    list->scrollToItem(row);
    const QRect rect = list->visualItemRect(row);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
}

inline void MainWindowHarness::setChecked(QTreeWidget* list, QTreeWidgetItem* row, bool checked)
{
    ASSERT_NE(row, nullptr);
    // Same path as the check box: the item's data changes and the list reports itemChanged.
    Q_UNUSED(list);
    row->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
}
