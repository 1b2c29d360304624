// SPDX-License-Identifier: GPL-3.0-or-later
// Find Object: search, icons, the three views, sorting, going to a row, deleting a problem file.
#include "FarArchive.h"
#include "FindTableModel.h"
#include "MainWindowHarness.h"
#include "frmFind.h"

#include <QHeaderView>
#include <QMenu>
#include <QSignalSpy>
#include <QTabBar>
#include <QTableView>

namespace
{

class FindWindowTest : public MainWindowHarness
{
protected:
    void SetUp() override
    {
        MainWindowHarness::SetUp();
        // Two objects, one of whose GUIDs the lamp and the game's sofa share; and a copy.
        const CatalogFixture sofas =
            object(object({}, 128, "Blue Sofa", "Soft\r\nseat", 10, {}, 0x1111AAAA), 129,
                   QByteArray("Caf\xe9\xa0") + "Chair", "Tall", 20, {}, 0x2222BBBB)
                .bmp(128, "icon");
        sofaFile = writeFile("a.iff", sofas);
        writeFile("a2.iff", sofas);
        writeFile("b.iff", object({}, 200, "Lamp", "Bright", 30, {}, 0x1111AAAA).bmp(200, "icon"));
        junkFile = gameFolder + "c.iff";
        WriteFile(junkFile, "not an object file\r\n");
        // A folder beside the game's, whose name starts as the game folder's does.
        outsideFile = gameFolder.chopped(1) + "-more/z.iff";
        MakeFile(outsideFile, object({}, 300, "Rug", "", 5).fileBytes());
        ProgramState.Folders << FolderEntry{QFileInfo(outsideFile).path() + '/', false};
        MakeFile(
            gameFolder + "GameData/Objects/Objects.far",
            FarArchive::Build(
                {{"Sofa.iff", object({}, 300, "Game Sofa", "", 40, {}, 0x1111AAAA).fileBytes()}}));
        openWindow();
        window->cmdFind->click();
        find = window->FindWindow();
        ASSERT_NE(find, nullptr);
        ASSERT_TRUE(QSignalSpy(find, &frmFind::scanFinished).wait(10000));
    }
    QStringList shown(FindTableModel::Column column, int role = Qt::DisplayRole) const
    {
        QStringList out;
        for (int row = 0; row < find->model->rowCount(); ++row)
            out << find->model->index(row, find->model->columnOf(column)).data(role).toString();
        return out;
    }
    // Opens Sort By with its Alt key and picks the column by its letter.
    void sortBy(Qt::Key letter)
    {
        find->activateWindow();
        ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == find; }));
        QTimer::singleShot(0, [letter] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget()))
                QTest::keyClick(menu, letter);
        });
        QTest::keyClick(find, Qt::Key_B, Qt::AltModifier); // the menu is open till a pick
        QTest::qWait(150); // the button looks pressed for 100 ms and opens nothing meanwhile
    }
    const QString chair = QString::fromUtf8("Café\u00a0Chair");
    const QString gameSofa = "GameData/Objects/Objects.far/Sofa.iff";
    QString sofaFile, junkFile, outsideFile;
    frmFind* find = nullptr;
};

TEST_F(FindWindowTest, SearchIconsSortsAndTheThreeViews)
{
    using C = FindTableModel::Column;
    const QList<QPair<const char*, QStringList>> cases = {
        {"CAFÉ", {chair, chair}}, // catalog name, decoded, any case
        {"lamp objd", {"Lamp"}},  // resource name, every word
        {"sofa lamp", {}},
        {"", {"Blue Sofa", chair, "Blue Sofa", chair, "Lamp", "Rug", "Game Sofa"}},
    };
    for (const auto& [typed, names] : cases) {
        find->txtSearch->setText(QString::fromUtf8(typed));
        EXPECT_EQ(shown(C::Name), names) << typed;
    }
    // Paths below the game folder shown from there, others whole; the tooltip has it whole.
    EXPECT_EQ(shown(C::File),
              (QStringList{"a.iff", "a.iff", "a2.iff", "a2.iff", "b.iff", outsideFile, gameSofa}));
    EXPECT_EQ(shown(C::File, Qt::ToolTipRole).mid(4),
              (QStringList{gameFolder + "b.iff", outsideFile,
                           gameFolder + gameSofa + "\n(in a game archive: it cannot be opened)"}));

    // The sofa's and the lamp's rows show their own icons once read, the chair a stand-in.
    const auto iconColour = [&](int row) {
        const QModelIndex cell = find->model->index(row, find->model->columnOf(C::Icon));
        const QImage icon = cell.data(Qt::DecorationRole).value<QPixmap>().toImage();
        return icon.isNull() ? QRgb(0) : icon.pixel(icon.width() / 2, icon.height() / 2);
    };
    const QRgb own = qRgb(200, 120, 40);
    EXPECT_TRUE(QTest::qWaitFor([&] { return iconColour(0) == own && iconColour(4) == own; }));
    EXPECT_NE(iconColour(1), own);
    EXPECT_FALSE(find->model->index(4, 1).data(Qt::DecorationRole).isValid()) << "only one icon";
    const auto caption = [&](int section) {
        return find->model->headerData(section, Qt::Horizontal);
    };
    EXPECT_EQ(caption(0).toString() + '|' + caption(1).toString(), "|Catalog Name");

    // Sort By from the keyboard; the same column again reverses. The selected row stays.
    find->tblResults->setCurrentIndex(find->model->index(6, 1)); // the game's sofa
    const std::tuple<Qt::Key, C, QStringList> sorts[] = {
        {Qt::Key_P, C::Price, {"5", "10", "10", "20", "20", "30", "40"}},
        {Qt::Key_P, C::Price, {"40", "30", "20", "20", "10", "10", "5"}},
        {Qt::Key_F,
         C::File,
         {outsideFile, "a.iff", "a.iff", "a2.iff", "a2.iff", "b.iff", gameSofa}},
        {Qt::Key_C, C::Name, {"Blue Sofa", "Blue Sofa", chair, chair, "Game Sofa", "Lamp", "Rug"}}};
    for (const auto& [letter, column, order] : sorts) {
        sortBy(letter);
        EXPECT_EQ(shown(column), order);
        EXPECT_EQ(shown(C::Name).value(find->tblResults->currentIndex().row()), "Game Sofa");
    }
    // The menu marks the column the rows are sorted by.
    QMenu* menu = find->cmdSortBy->menu();
    Q_EMIT menu->aboutToShow();
    QStringList marked;
    for (const QAction* action : menu->actions())
        if (action->isChecked())
            marked << action->text();
    EXPECT_EQ(marked, QStringList{"&Catalog Name"});

    // Conflicts grouped by GUID under any sort, copies marked; search by a file's whole path.
    find->setView(frmFind::Conflicts);
    find->tblResults->horizontalHeader()->setSortIndicator(find->model->columnOf(C::Price),
                                                           Qt::DescendingOrder);
    EXPECT_EQ(
        shown(C::Name) + shown(C::Copy),
        (QStringList{"Game Sofa", "Lamp", "Blue Sofa", "Blue Sofa", chair, chair, "", "",
                     "identical copy", "identical copy", "identical copy", "identical copy"}));
    EXPECT_FALSE(find->model->index(3, 1).data(Qt::BackgroundRole).isValid());
    EXPECT_TRUE(find->model->index(4, 1).data(Qt::BackgroundRole).isValid()) << "groups shaded";
    find->txtSearch->setText("GAME/A.IFF");
    EXPECT_EQ(shown(C::Name), (QStringList{"Blue Sofa", chair}));
    find->txtSearch->clear();
    find->setView(frmFind::ProblemFiles);
    EXPECT_EQ(shown(C::File) + shown(C::File, Qt::ToolTipRole), (QStringList{"c.iff", junkFile}));
    EXPECT_TRUE(shown(C::Problem).first().startsWith("not an object file"));
}

TEST_F(FindWindowTest, GoingToARowAsksAboutUnsavedEditsFirstAndTellsWhyItCannot)
{
    window->txtPrice->setText("77");
    prompt.queueAnswer(PromptAnswer::Yes);
    find->txtSearch->setText("lamp");
    QTest::keyClick(find->txtSearch, Qt::Key_Return); // the first row
    EXPECT_EQ(prompt.messages(), QStringList{kChanged});
    EXPECT_EQ(onDisk(sofaFile)->GetPrice(128), 77);
    EXPECT_EQ(panel() + "|" + SelectedTexts(window->lstFiles).join(','),
              "b.iff|Lamp|Bright|30||b.iff");

    // A double-click on another file's second object shows that object, as clicks would.
    find->txtSearch->clear();
    const QRect cell = find->tblResults->visualRect(find->model->index(3, 1)); // a2's chair
    QTest::mouseClick(find->tblResults->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(find->tblResults->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(window->CurrentFilePath(), gameFolder + "a2.iff");
    EXPECT_EQ(SelectedTexts(window->lstObjects), QStringList{"Caf\u00e9\u00a0Chair objd"});

    // Rows the main window cannot show since the scan: the file no longer holds the object
    // (once the unsaved edits are dealt with), or is no longer listed; and the game's own.
    const QString lost = gameFolder + "a.iff";
    const std::tuple<std::function<void()>, int, QString> cases[] = {
        {[&] {
             WriteFile(lost, object({}, 128, "Blue Sofa", "", 10).fileBytes());
             window->txtPrice->setText("78");
             prompt.queueAnswer(PromptAnswer::No);
         },
         1, lost + " no longer holds that object; Scan Again to bring the lists up to date."},
        {[&] {
             QFile::remove(outsideFile);
             window->cmdRefresh->click();
         },
         5, outsideFile + " is no longer in the main window's file list."},
        {[] {}, 6,
         gameSofa + " is in one of the game's archives: it is shown here but cannot be "
                    "opened."}};
    for (const auto& [prepare, row, told] : cases) {
        prepare();
        prompt.clearAsked();
        find->tblResults->setCurrentIndex(find->model->index(row, 1));
        // Enter in the search box goes to the chosen row too.
        QTest::keyClick(row == 5 ? static_cast<QWidget*>(find->txtSearch) : find->tblResults,
                        Qt::Key_Return);
        EXPECT_EQ(find->lblStatus->text(), told);
        EXPECT_EQ(find->cmdGoTo->isEnabled(), row != 6) << row;
    }
    EXPECT_EQ(prompt.messages(), QStringList{}) << "the refresh asks nothing";
    EXPECT_EQ(window->CurrentFilePath(), sofaFile);
}

TEST_F(FindWindowTest, AProblemFileGoesToTheTrashAsDeleteFileDoes)
{
    find->setView(frmFind::ProblemFiles);
    find->tblResults->setCurrentIndex(find->model->index(0, 0));
    ASSERT_TRUE(find->cmdDeleteFile->isEnabled());
    prompt.queueTrash(false);
    find->cmdDeleteFile->click();
    EXPECT_TRUE(QFile::exists(junkFile));

    prompt.queueTrash(true);
    QTest::keyClick(find->tblResults, Qt::Key_Delete);
    EXPECT_EQ(ReadFile(trashFolder() + "c.iff"), QByteArray("not an object file\r\n"));
    EXPECT_EQ(Rows(window->lstFiles), (QStringList{"a.iff", "a2.iff", "b.iff", "z.iff"}));
    EXPECT_EQ(window->CurrentFilePath(), sofaFile) << "the open file stays open";
    ASSERT_TRUE(QSignalSpy(find, &frmFind::scanFinished).wait(10000));
    EXPECT_EQ(find->model->rowCount(), 0);
    EXPECT_EQ(find->tabView->tabText(frmFind::ProblemFiles), "&Problem Files (0)");
}

} // namespace
