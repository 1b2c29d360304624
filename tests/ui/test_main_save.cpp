// Saving the shown object and the unsaved-changes check of the main window.
#include "MainWindowHarness.h"
#include "ObjdLayout.h"

#include <QTextCursor>
#include <QtEndian>

namespace
{

class MainSaveTest : public MainWindowHarness
{
protected:
    void SetUp() override
    {
        MainWindowHarness::SetUp();
        path = writeFile("objects.iff", object(object({}, 128, "Chair", "Sit", 75, {1, 1}), 129,
                                               "Sofa", "Lie", 300, {1, 4}));
        openWindow();
    }
    // Opens another file of the window's folder after writing it.
    void openOther(const QString& name, const CatalogFixture& fixture)
    {
        path = writeFile(name, fixture);
        window->cmdRefresh->click();
        ClickRow(window->lstFiles, fileRow(name));
    }
    quint16 rawPrice() const
    {
        const QByteArray body = onDisk(path)->Resource("OBJD128").Body();
        return qFromLittleEndian<quint16>(body.constData() + ObjdField::Price);
    }
    QString path;
};

TEST_F(MainSaveTest, SaveWritesEveryFieldOfThePanelOrRefusesUnstorableText)
{
    const QByteArray before = bytesOf(path);
    window->txtName->setText(QString::fromUtf8("Chair 日本"));
    window->txtPrice->setText("5");
    window->cmdSave->click();
    EXPECT_EQ(prompt.messages().size(), 1);
    EXPECT_EQ(bytesOf(path), before);
    EXPECT_EQ(window->txtName->text(), QString::fromUtf8("Chair 日本")) << "the edits stay";

    window->txtName->setText(QString::fromUtf8("Armchair é"));
    window->txtDescript->setPlainText("Comfortable");
    window->txtPrice->setText("120");
    window->chkDisabled->setChecked(true);
    ClickCheckBox(window->lstSort[2], RowByText(window->lstSort[2], "Study"));
    ClickRow(window->lstSort[8], RowByText(window->lstSort[8], "Doors"));
    window->cmdSave->click();
    const auto doc = onDisk(path);
    EXPECT_EQ(doc->GetName(128), QByteArray("Armchair \xe9"));
    EXPECT_EQ(doc->GetDescription(128), QByteArray("Comfortable"));
    EXPECT_EQ(doc->GetPrice(128), 120);
    EXPECT_TRUE(doc->GetDisabled(128));
    EXPECT_EQ(doc->GetSorts(128), (SortSet{1, 1, 128, 0, 0, 0, 0, 0, 1}));
    EXPECT_EQ(doc->GetName(129), QByteArray("Sofa"));
    EXPECT_EQ(prompt.asked().size(), 1) << "no message after a good save";
}

TEST_F(MainSaveTest, LeavingAChangedObjectOrClosingSavesOrAsks)
{
    const QString other = writeFile("other.iff", object({}, 300, "Lamp", "", 1));
    window->cmdRefresh->click();
    window->chkAutoSave->setChecked(true);
    window->txtPrice->setText("80");
    ClickRow(window->lstObjects, objectRow(129));
    EXPECT_TRUE(prompt.asked().isEmpty());
    EXPECT_EQ(onDisk(path)->GetPrice(128), 80);

    window->chkAutoSave->setChecked(false);
    window->txtDescript->setPlainText("Never mind");
    prompt.queueAnswer(PromptAnswer::No);
    ClickRow(window->lstObjects, objectRow(128));
    EXPECT_EQ(Questions(prompt),
              QStringList{Question(kChanged, PromptIcon::Exclamation, PromptButtons::YesNo, "")});
    EXPECT_EQ(onDisk(path)->GetDescription(129), QByteArray("Lie"));
    EXPECT_EQ(panel(), "objects.iff|Chair|Sit|80|");

    window->txtPrice->setText("81");
    prompt.queueAnswer(PromptAnswer::Yes);
    ClickRow(window->lstFiles, fileRow("other.iff")); // leaving the file asks too
    EXPECT_EQ(prompt.messages().size(), 2);
    EXPECT_EQ(onDisk(path)->GetPrice(128), 81);
    EXPECT_EQ(panel(), "other.iff|Lamp||1|");

    // Closing the window asks as well.
    window->txtPrice->setText("13");
    prompt.queueAnswer(PromptAnswer::Yes);
    window->cmdExit->click();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(prompt.messages().size(), 3);
    EXPECT_EQ(prompt.messages().last(), kChanged);
    EXPECT_EQ(onDisk(other)->GetPrice(300), 13);
}

TEST_F(MainSaveTest, ChangingAndChangingBackOrReclickingIsNoChange)
{
    const QByteArray before = bytesOf(path);
    window->txtPrice->setText("76");
    window->txtPrice->setText("75");
    QTreeWidget* room = window->lstSort[2];
    ClickCheckBox(room, room->topLevelItem(0));
    ClickCheckBox(room, room->topLevelItem(0));
    window->txtName->setText("X");
    window->txtName->setText("Chair");
    ClickRow(window->lstObjects, objectRow(129));
    EXPECT_TRUE(prompt.asked().isEmpty());
    EXPECT_EQ(bytesOf(path), before);

    window->txtPrice->setText("9");
    ClickRow(window->lstObjects, objectRow(129)); // the shown object: edits stay
    EXPECT_EQ(panel(), "objects.iff|Sofa|Lie|9|");
    EXPECT_TRUE(prompt.asked().isEmpty());
}

TEST_F(MainSaveTest, ValuesTheListsCannotShowSurviveViewing)
{
    // Downtown 16 and Sub-Function 128 have no row, Build Mode 9 is beyond the list.
    openOther("odd.iff", object(object(object({}, 140, "Odd", "", 1, {1, 1, 0, 17, 0, 0, 0, 0, 9}),
                                       141, "Next", "", 1),
                                142, "Sub", "", 1, {1, 128}));
    // The unshown Sub-Function bit is not compared, yet a save writes what the rows show.
    ClickRow(window->lstObjects, objectRow(142));
    ClickCheckBox(window->lstSort[1], window->lstSort[1]->topLevelItem(0));
    window->CheckSave();
    EXPECT_TRUE(prompt.asked().isEmpty());
    window->cmdSave->click();
    EXPECT_EQ(onDisk(path)->GetSorts(142)[1], 1);

    ClickRow(window->lstObjects, objectRow(140));
    window->chkAutoSave->setChecked(true);
    const QByteArray before = bytesOf(path);
    ClickRow(window->lstObjects, objectRow(141));
    EXPECT_EQ(bytesOf(path), before);

    // A real edit writes the unshown values back as they were...
    ClickRow(window->lstObjects, objectRow(140));
    window->txtPrice->setText("2");
    window->cmdSave->click();
    EXPECT_EQ(onDisk(path)->GetSorts(140), (SortSet{1, 1, 0, 17, 0, 0, 0, 0, 9}));
    // ...and a Build Mode chosen by hand replaces the value, "None" included, by a click or
    // by a preset.
    ClickRow(window->lstSort[8], RowByText(window->lstSort[8], "Stairs"));
    window->cmdSave->click();
    EXPECT_EQ(onDisk(path)->GetSorts(140)[8], 3);

    ProgramState.Presets = {{"Plain", SortSet{}}};
    window->Form_Activate();
    window->chkAutoSave->setChecked(false);
    for (const quint16 odd : {9, 300}) {
        for (QTreeWidget* list : {window->lstSort[8], window->lstPresets}) { // "None", a preset
            ObjdSpec mode = CatalogObject(170, 1);
            mode.sorts = {0, 0, 0, 0, 0, 0, 0, 0, odd};
            mode.disabled = 2;
            openOther("mode.iff", CatalogFixture()
                                      .objd(170, "Mode", mode)
                                      .ctss(170, MakeCatalogCtss("M", "Two\r\nlines")));
            window->txtPrice->setText("3"); // Disabled 2 and the text stay as they are
            window->cmdSave->click();
            const QByteArray body = onDisk(path)->Resource("OBJD170").Body();
            EXPECT_EQ(qFromLittleEndian<quint16>(body.constData() + ObjdField::Disabled), 2);
            EXPECT_EQ(onDisk(path)->GetSorts(170)[8], odd);
            prompt.clearAsked();
            ClickRow(list, list->topLevelItem(0));
            window->CheckSave();
            EXPECT_EQ(prompt.messages(), QStringList{kChanged}) << odd;
            window->cmdSave->click();
            EXPECT_EQ(onDisk(path)->GetSorts(170)[8], 0) << odd;
        }
    }
    // A line break typed into the description is stored as CR LF beside the stored one.
    window->txtDescript->moveCursor(QTextCursor::End);
    QTest::keyClick(window->txtDescript, Qt::Key_Return);
    QTest::keyClicks(window->txtDescript, "3");
    window->cmdSave->click();
    EXPECT_EQ(onDisk(path)->GetDescription(170), QByteArray("Two\r\nlines\r\n3"));
}

TEST_F(MainSaveTest, PriceBeyond32BitsSavesAsTheNearestBound)
{
    const std::pair<const char*, quint16> cases[] = {
        {"99999999999", 0xFFFF}, // low 16 bits of 2147483647
        {"-99999999999", 0},     // low 16 bits of -2147483648
        {"-", 0},
        {"70000", 70000 & 0xFFFF}};
    for (const auto& [typed, stored] : cases) {
        window->txtPrice->setText(typed);
        window->cmdSave->click();
        EXPECT_EQ(rawPrice(), stored) << typed;
        EXPECT_EQ(window->txtPrice->text(), QString::number(stored)) << "the box shows the file";
    }
    openOther("free.iff", object({}, 150, "Free", "", 0));
    for (const char* zero : {"", "-"}) {
        window->txtPrice->setText(zero);
        window->CheckSave();
    }
    EXPECT_TRUE(prompt.asked().isEmpty());
}

TEST_F(MainSaveTest, FieldsAShortDefinitionCannotHoldAreToldAndLeftAlone)
{
    ObjdSpec spec = CatalogObject(160, 10);
    spec.bodySize = 40; // holds Disabled and the price, not the sorts
    openOther("short.iff", CatalogFixture().objd(160, "Short", spec));
    window->txtPrice->setText("25");
    ClickCheckBox(window->lstSort[0], RowByText(window->lstSort[0], "Lighting"));
    window->cmdSave->click();
    ASSERT_EQ(prompt.messages().size(), 1);
    EXPECT_TRUE(prompt.messages().at(0).contains("catalog sorts"));
    EXPECT_FALSE(prompt.messages().at(0).contains("price"));
    const auto doc = onDisk(path);
    EXPECT_EQ(doc->GetPrice(160), 25);
    EXPECT_EQ(doc->Resource("OBJD160").Body().size(), 40) << "nothing is extended";
}

TEST_F(MainSaveTest, ASaveRefusedOrFailedWhileLeavingStaysOnTheObject)
{
    const QByteArray before = bytesOf(path);
    const QString gone = gameFolder.chopped(1) + ".gone";
    // Refused: text the catalog cannot hold. Failed: the folder has gone (a stick pulled out).
    const std::function<void()> breakSave[] = {
        [&] { window->txtName->setText(QString::fromUtf8("Chair \u0141")); },
        [&] { ASSERT_TRUE(QDir().rename(gameFolder, gone)); }};
    const std::function<void()> leaves[] = {
        [&] { ClickRow(window->lstObjects, objectRow(129)); },
        [&] { ClickRow(window->lstFiles, fileRow("objects2.iff")); },
        [&] { window->cmdExit->click(); }};
    writeFile("objects2.iff", object({}, 300, "Lamp", "", 1));
    window->cmdRefresh->click();
    window->chkAutoSave->setChecked(true);
    for (int kind = 0; kind < 2; ++kind) {
        for (const auto& leave : leaves) {
            prompt.clearAsked();
            window->txtPrice->setText("91");
            breakSave[kind]();
            leave();
            QDir().rename(gone, gameFolder);
            EXPECT_TRUE(window->isVisible());
            EXPECT_EQ(window->CurrentObject, 128);
            EXPECT_EQ(SelectedTexts(window->lstObjects) + SelectedTexts(window->lstFiles),
                      (QStringList{"Chair objd", "objects.iff"}));
            EXPECT_EQ(window->txtPrice->text(), "91");
            ASSERT_EQ(prompt.messages().size(), 1) << kind;
            EXPECT_TRUE(prompt.messages()[0].startsWith(kind == 0 ? "The text contains a character"
                                                                  : "The file " + path +
                                                                        " could not be saved: "))
                << kind;
            EXPECT_EQ(bytesOf(path), before);
            window->txtName->setText("Chair");
        }
    }
    // The document still holds the whole file: once the folder is back, Save writes all of it.
    window->cmdSave->click();
    const auto doc = onDisk(path);
    EXPECT_EQ(doc->GetPrice(128), 91);
    EXPECT_EQ(doc->GetName(128) + doc->GetName(129) + doc->GetDescription(129), "ChairSofaLie");
}

} // namespace
