// The window program's start and the About box.
#include "MainWindowHarness.h"
#include "frmAbout.h"
#include "frmSplashScreen.h"
#include "modMain.h"

namespace
{

class MainStartupTest : public MainWindowHarness
{
protected:
    void SetUp() override
    {
        MainWindowHarness::SetUp();
        qputenv("WINEPREFIX", QFile::encodeName(dataFolder + "wine"));
        options = {dataFolder, gameFolder};
    }
    void TearDown() override
    {
        MainWindowHarness::TearDown();
        qputenv("WINEPREFIX", m_savedWine);
    }
    static int visibleSplashes()
    {
        int count = 0;
        for (QWidget* widget : QApplication::topLevelWidgets())
            count += qobject_cast<frmSplashScreen*>(widget) && widget->isVisible();
        return count;
    }
    StartupOptions options;

private:
    QByteArray m_savedWine = qgetenv("WINEPREFIX");
};

TEST_F(MainStartupTest, AGameFolderOpensTheMainWindowOrItsAbsenceIsTold)
{
    const StartupOptions noGame{dataFolder, gameFolder + "no-such-game"};
    EXPECT_EQ(Main(noGame), nullptr);
    ASSERT_EQ(prompt.asked().size(), 1);
    EXPECT_EQ(prompt.asked()[0].text, "The Sims directory could not be found.");
    EXPECT_EQ(prompt.asked()[0].icon, PromptIcon::None);
    EXPECT_EQ(prompt.asked()[0].buttons, PromptButtons::Ok);
    EXPECT_TRUE(QDir(dataFolder).entryList(QDir::Files).isEmpty());

    window = Main(options);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(visibleSplashes(), 0);
    // Without folders.dat the default folders are listed; none exists in this game folder.
    EXPECT_EQ(ProgramState.FolderCount(), 12);
    EXPECT_EQ(window->fraFile->title(), "Select a file: (0 found)");
    EXPECT_EQ(window->size(), QSize(794, 608)); // 575, and a strip for Find Object
}

TEST_F(MainStartupTest, AboutShowsTheVersionAndTheHomePageAndPresetsAreRelistedAfter)
{
    ProgramState.VersionText = "1.00";
    openWindow();
    EXPECT_EQ(window->lstPresets->topLevelItemCount(), 0);
    auto ran = WhenModalOpens<frmAbout>([](frmAbout* about) {
        EXPECT_EQ(about->windowTitle(), "About");
        EXPECT_EQ(about->lblVersion->text(), "v1.00");
        ProgramState.Presets = {Preset{"Added", {}}, Preset{"Later", {}}};
        about->cmdOK->click();
    });
    window->cmdAbout->click();
    EXPECT_TRUE(*ran);
    EXPECT_EQ(RowTexts(window->lstPresets), (QStringList{"Added", "Later"}));
    EXPECT_EQ(SelectedTexts(window->lstPresets), QStringList{"Added"});

    // The web button shows and opens the home page only when there is one.
    for (const QString& home : {QString(), QStringLiteral("https://example.org/kestrane/")}) {
        prompt.clearAsked();
        frmAbout about(nullptr, home);
        about.show();
        EXPECT_EQ(about.cmdWeb->isVisible(), !home.isEmpty());
        EXPECT_EQ(about.cmdOK->geometry(), QRect(232, 152, 152, 25)) << "OK keeps its place";
        about.cmdWeb_Click();
        ASSERT_EQ(prompt.asked().size(), home.isEmpty() ? 0 : 1);
        if (!home.isEmpty())
            EXPECT_EQ(prompt.asked()[0].text, home);
    }
}

} // namespace
