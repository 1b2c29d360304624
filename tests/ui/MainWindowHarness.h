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
#include <fcntl.h>
#include <linux/fs.h>
#include <memory>
#include <sys/ioctl.h>
#include <unistd.h>

// Sets the immutable flag of a folder for its lifetime: nothing can be created in, renamed out
// of or removed from it, not even by root. locked() is false where the file system cannot.
class FolderLock
{
public:
    explicit FolderLock(const QString& folder)
        : m_fd(::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY))
    {
        m_locked = set(true);
    }
    ~FolderLock()
    {
        if (m_locked)
            set(false);
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    bool locked() const { return m_locked; }

private:
    bool set(bool on) const
    {
        int flags = 0;
        if (m_fd < 0 || ::ioctl(m_fd, FS_IOC_GETFLAGS, &flags) != 0)
            return false;
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        return ::ioctl(m_fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    int m_fd;
    bool m_locked = false;
};

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

    // Adds a catalog object with text, price and sorts; its CTSS and OBJD share the ID.
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
        return RowByText(window->lstFiles, name);
    }
    QTreeWidgetItem* objectRow(int id) const
    {
        for (int i = 0; i < window->lstObjects->topLevelItemCount(); ++i)
            if (window->lstObjects->topLevelItem(i)->text(1).toInt() == id)
                return window->lstObjects->topLevelItem(i);
        return nullptr;
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
