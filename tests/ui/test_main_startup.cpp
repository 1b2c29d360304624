// The window program's start and the About box.
#include "GuiTestApp.h"
#include "ProgramState.h"
#include "ScriptedPrompt.h"
#include "frmAbout.h"
#include "frmMain.h"
#include "frmSplashScreen.h"
#include "modMain.h"

#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace
{

class MainStartupTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        EnsureGuiApp();
        ASSERT_TRUE(root.isValid());
        for (const char* name : {"WINEPREFIX", "HOME", "XDG_DATA_HOME"})
            saved.append(qgetenv(name));
        qputenv("WINEPREFIX", QFile::encodeName(root.filePath("wine")));
        qputenv("HOME", QFile::encodeName(root.path()));
        qputenv("XDG_DATA_HOME", QFile::encodeName(root.filePath("xdg")));
        QDir(root.path()).mkpath("data");
        QDir(root.path()).mkpath("game");
        options.dataDir = root.filePath("data");
    }
    void TearDown() override
    {
        const char* names[] = {"WINEPREFIX", "HOME", "XDG_DATA_HOME"};
        for (int i = 0; i < 3; ++i)
            qputenv(names[i], saved[i]);
        ProgramState.Presets.clear();
        ProgramState.Folders.clear();
    }
    static int visibleSplashes()
    {
        int count = 0;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (qobject_cast<frmSplashScreen*>(widget) && widget->isVisible())
                ++count;
        }
        return count;
    }

    QTemporaryDir root;
    QList<QByteArray> saved;
    StartupOptions options;
    ScriptedPrompt prompt;
    PromptScope scope{prompt};
};

TEST_F(MainStartupTest, NoGameFolderIsToldAndNoWindowOpens)
{
    options.gameDir = root.filePath("no-such-game");
    const std::unique_ptr<frmMain> window = Main(options);
    EXPECT_EQ(window, nullptr);
    ASSERT_EQ(prompt.asked().size(), 1);
    EXPECT_EQ(prompt.asked().first().text, "The Sims directory could not be found.");
    EXPECT_EQ(prompt.asked().first().icon, PromptIcon::None);
    EXPECT_EQ(prompt.asked().first().buttons, PromptButtons::Ok);
    EXPECT_EQ(visibleSplashes(), 0);
    EXPECT_TRUE(QDir(root.filePath("data")).entryList(QDir::Files).isEmpty());
}

TEST_F(MainStartupTest, AGameFolderOpensTheMainWindowAndClosesTheSplash)
{
    options.gameDir = root.filePath("game");
    const std::unique_ptr<frmMain> window = Main(options);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(visibleSplashes(), 0);
    // Without folders.dat the default folders are listed; none exists in this game folder.
    EXPECT_EQ(ProgramState.FolderCount(), 12);
    EXPECT_EQ(window->fraFile->title(), "Select a file: (0 found)");
    EXPECT_EQ(window->size(), QSize(794, 575));
    window->close();
}

TEST_F(MainStartupTest, AboutShowsTheVersionAndOpensTheHomePage)
{
    ProgramState.VersionText = "1.00";
    frmAbout about;
    EXPECT_EQ(about.windowTitle(), "About");
    EXPECT_EQ(about.lblVersion->text(), "v1.00");
    EXPECT_TRUE(about.lblAbout[0]->text().isEmpty());
    EXPECT_FALSE(about.lblAbout[1]->text().isEmpty());
    about.cmdWeb->click();
    ASSERT_EQ(prompt.asked().size(), 1);
    EXPECT_EQ(prompt.asked().first().kind, ScriptedPrompt::Kind::Url);
    EXPECT_EQ(prompt.asked().first().text, QString::fromLatin1(kHomePage));
}

TEST_F(MainStartupTest, ReturningFromAboutRebuildsThePresetList)
{
    options.gameDir = root.filePath("game");
    const std::unique_ptr<frmMain> window = Main(options);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->lstPresets->topLevelItemCount(), 0);

    bool sawAbout = false;
    QTimer::singleShot(0, [&] {
        auto* about = qobject_cast<frmAbout*>(QApplication::activeModalWidget());
        sawAbout = about != nullptr;
        ProgramState.Presets = {Preset{"Added", {}}, Preset{"Later", {}}};
        if (about)
            about->cmdOK->click();
    });
    window->cmdAbout->click();
    EXPECT_TRUE(sawAbout);
    ASSERT_EQ(window->lstPresets->topLevelItemCount(), 2);
    EXPECT_EQ(window->lstPresets->topLevelItem(0)->text(0), "Added");
    EXPECT_TRUE(window->lstPresets->topLevelItem(0)->isSelected());
    window->close();
}

} // namespace
