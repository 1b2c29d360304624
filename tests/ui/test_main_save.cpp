// SPDX-License-Identifier: GPL-3.0-or-later
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
        writeFile("other.iff", object({}, 300, "Lamp", "", 1));
        openWindow();
    }
    quint16 rawField(const QByteArray& objd, int field) const
    {
        const QByteArray body = onDisk(path)->Resource(objd).Body();
        return qFromLittleEndian<quint16>(body.constData() + field);
    }
    QString path;
};

TEST_F(MainSaveTest, LeavingAChangedObjectSavesOrAsksAndStaysWhenTheSaveFails)
{
    const QByteArray before = ReadFile(path);
    const QString gone = gameFolder.chopped(1) + ".gone";
    // Each way out, and where it leads once the edits are dealt with.
    const std::pair<std::function<void()>, QString> leaves[] = {
        {[&] { ClickRow(window->lstObjects, objectRow(129)); },
         "objects.iff|Sofa|Lie|300||Sofa objd|objects.iff"},
        {[&] { ClickRow(window->lstFiles, fileRow("other.iff")); },
         "other.iff|Lamp||1||Lamp objd|other.iff"},
        {[&] { window->cmdExit->click(); }, "closed"},
        {[&] { window->close(); }, "closed"}}; // the close box
    // Undone: edits changed back. Refused: text the catalog cannot hold. Failed: folder gone.
    enum Outcome { Undone, AutoSaved, No, Yes, Refused, Failed };
    const QString asked = Question(kChanged, PromptIcon::Exclamation, PromptButtons::YesNo, "");
    const QString failed = "The file " + path + " could not be saved: ";
    const QString told[] = {"", "", asked, asked, "The text contains a character", failed};
    const QString edited = QStringLiteral("Armchair \u00e9|Comfortable|91|D|1|1|128|0|0|0|0|0|1");
    const auto edit = [&](const QString& name, const char* description, const char* price,
                          bool disabled, const char* buildMode) {
        window->txtName->setText(name);
        window->txtDescript->setPlainText(description);
        window->txtPrice->setText(price);
        window->chkDisabled->setChecked(disabled);
        ClickCheckBox(window->lstSort[2], RowByText(window->lstSort[2], "Study"));
        ClickRow(window->lstSort[8], RowByText(window->lstSort[8], buildMode));
    };
    for (const auto& [leave, movedTo] : leaves) {
        for (const int outcome : {Undone, AutoSaved, No, Yes, Refused, Failed}) {
            WriteFile(path, before);
            openWindow();
            window->chkAutoSave->setChecked(outcome != No && outcome != Yes);
            edit(outcome == Refused ? QStringLiteral("Chair \u0141")
                                    : QStringLiteral("Armchair \u00e9"),
                 "Comfortable", "91", true, "Doors");
            if (outcome == Undone)
                edit("Chair", "Sit", "75", false, "None");
            if (outcome == Failed)
                ASSERT_TRUE(QDir().rename(gameFolder, gone));
            if (outcome == No || outcome == Yes)
                prompt.queueAnswer(outcome == Yes ? PromptAnswer::Yes : PromptAnswer::No);
            prompt.clearAsked();
            leave();
            QDir().rename(gone, gameFolder);
            const QStringList shown{panel(), SelectedTexts(window->lstObjects).join(','),
                                    SelectedTexts(window->lstFiles).join(',')};
            const QString where = window->isVisible() ? shown.join('|') : "closed";
            const bool stays = outcome == Refused || outcome == Failed;
            EXPECT_EQ(where, stays ? "objects.iff|" + window->txtName->text() +
                                         "|Comfortable|91|D|Chair objd|objects.iff"
                                   : movedTo)
                << outcome;
            EXPECT_EQ(Questions(prompt).size(), told[outcome].isEmpty() ? 0 : 1) << outcome;
            EXPECT_TRUE(Questions(prompt).value(0).contains(told[outcome])) << outcome;
            if (outcome == AutoSaved || outcome == Yes)
                EXPECT_EQ(stored(path, 128), edited) << outcome;
            else
                EXPECT_EQ(ReadFile(path), before) << outcome;
        }
        // The document still holds the whole file: once the folder is back, Save writes all.
        window->cmdSave->click();
        EXPECT_EQ(stored(path, 128) + stored(path, 129),
                  edited + "Sofa|Lie|300||1|4|0|0|0|0|0|0|0");
    }
}

TEST_F(MainSaveTest, OddValuesStayUntilChosenOverAndPricesAreBounded)
{
    // Sub-Function 128, Downtown 17 and Build Modes 9 and 300 have no row; Disabled 2 neither.
    ObjdSpec odd = CatalogObject(170, 1), cut = CatalogObject(160);
    odd.sorts = {1, 128, 0, 17, 0, 0, 0, 0, 9};
    odd.disabled = 2;
    cut.bodySize = 40; // holds Disabled and the price, not the sorts
    path = writeFile("odd.iff", object(CatalogFixture()
                                           .objd(170, "Odd", odd)
                                           .ctss(170, MakeCatalogCtss("M", "Two\r\nlines"))
                                           .objd(160, "Short", cut),
                                       171, "P", "", 1, {0, 0, 0, 0, 0, 0, 0, 0, 300}));
    window->cmdRefresh->click();
    ClickRow(window->lstFiles, fileRow("odd.iff"));
    // A price beyond 32 bits is saved as the nearest bound, cut to its low 16 bits.
    const std::pair<const char*, quint16> prices[] = {
        {"99999999999", 0xFFFF}, {"-", 0},           {"70000", 70000 & 0xFFFF}, {"-1", 0xFFFF},
        {"-12", 0x10000 - 12},   {"-99999999999", 0}}; // the last leaves 0, as "" and "-" read
    for (const auto& [typed, kept] : prices) {
        saveAt(typed);
        EXPECT_EQ(rawField("OBJD170", ObjdField::Price), kept) << typed;
        EXPECT_EQ(window->txtPrice->text(), QString::number(kept)) << "the box shows the file";
    }
    // "" and "-" are 0 and the unshown Sub-Function is not compared: no change. A save writes
    // what the rows show, and what nobody touched as it was.
    ClickCheckBox(window->lstSort[1], window->lstSort[1]->topLevelItem(0));
    for (const char* zero : {"", "-"}) {
        window->txtPrice->setText(zero);
        window->CheckSave();
    }
    EXPECT_TRUE(prompt.asked().isEmpty());
    saveAt("3");
    EXPECT_EQ(stored(path, 170), "M|Two\r\nlines|3||1|1|0|17|0|0|0|0|9");
    EXPECT_EQ(rawField("OBJD170", ObjdField::Disabled), 2);

    // "None" chosen by a preset or by a click replaces a Build Mode no row shows.
    ProgramState.Presets = {{"Plain", SortSet{}}};
    window->Form_Activate();
    for (const auto& [id, list] : {std::pair{171, window->lstPresets}, {170, window->lstSort[8]}}) {
        ClickRow(window->lstObjects, objectRow(id));
        prompt.clearAsked();
        ClickRow(list, list->topLevelItem(0));
        window->CheckSave();
        EXPECT_EQ(prompt.messages(), QStringList{kChanged}) << id;
        window->cmdSave->click();
        EXPECT_EQ(onDisk(path)->GetSorts(id)[8], 0) << id;
    }
    // A line break typed into the description is stored as CR LF beside the stored one.
    window->txtDescript->moveCursor(QTextCursor::End);
    QTest::keyClick(window->txtDescript, Qt::Key_Return);
    QTest::keyClicks(window->txtDescript, "3");
    window->cmdSave->click();
    EXPECT_EQ(onDisk(path)->GetDescription(170), QByteArray("Two\r\nlines\r\n3"));

    // A definition too short for a field: told, that field left alone, the rest saved.
    ClickRow(window->lstObjects, objectRow(160));
    window->txtPrice->setText("25");
    ClickCheckBox(window->lstSort[0], RowByText(window->lstSort[0], "Lighting"));
    prompt.clearAsked();
    window->cmdSave->click();
    ASSERT_EQ(prompt.messages().size(), 1);
    EXPECT_TRUE(prompt.messages()[0].contains("catalog sorts"));
    EXPECT_FALSE(prompt.messages()[0].contains("price"));
    EXPECT_EQ(onDisk(path)->GetPrice(160), 25);
    EXPECT_EQ(onDisk(path)->Resource("OBJD160").Body().size(), 40) << "nothing is extended";
    // The lists then show what the file holds, not the sorts that could not be stored.
    EXPECT_EQ(RowByText(window->lstSort[0], "Lighting")->checkState(0), Qt::Unchecked);
}

TEST_F(MainWindowHarness, CheckingAFunctionSavesTheSubFunctionItShows)
{
    // Sub-Function 128 and Downtown 17 have no row; Function 0 shows no Sub-Function row.
    const SortSet hidden{1, 4 | 128, 0, 17, 0, 0, 0, 0, 9}, bare{0, 4, 0, 17, 0, 0, 0, 0, 9};
    const std::tuple<SortSet, const char*, const char*> cases[] = {
        {hidden, "Surfaces", "3|4|0|17|0|0|0|0|9"}, // Sofas stays checked, the hidden bit goes
        {hidden, "Seating", "0|0|0|17|0|0|0|0|9"},  // unchecked: no Sub-Function rows remain
        {bare, "Seating", "1|0|0|17|0|0|0|0|9"}};
    for (const auto& [sorts, function, saved] : cases) {
        const QString path = writeFile("s.iff", object({}, 128, "Sofa", "Soft", 5, sorts));
        openWindow();
        ClickCheckBox(window->lstSort[0], RowByText(window->lstSort[0], function));
        window->cmdSave->click();
        EXPECT_EQ(stored(path, 128), QString("Sofa|Soft|5||") + saved) << function;
    }
}

} // namespace
