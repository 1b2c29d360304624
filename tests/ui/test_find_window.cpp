// The Find Object window: search, icons, the three views, going to a row, deleting a problem file.
#include "FarArchive.h"
#include "FindTableModel.h"
#include "MainWindowHarness.h"
#include "frmFind.h"

#include <QHeaderView>
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
                   "Caf\xe9\xa0"
                   "Chair",
                   "Tall", 20, {}, 0x2222BBBB);
        sofaFile = writeFile("a.iff", sofas);
        writeFile("a2.iff", sofas);
        writeFile("b.iff", object({}, 200, "Lamp", "Bright", 30, {}, 0x1111AAAA).bmp(200, "icon"));
        junkFile = gameFolder + "c.iff";
        WriteFile(junkFile, "not an object file\r\n");
        QDir(gameFolder).mkpath("GameData/Objects");
        WriteFile(
            gameFolder + "GameData/Objects/Objects.far",
            FarArchive::Build(
                {{"Sofa.iff", object({}, 300, "Game Sofa", "", 40, {}, 0x1111AAAA).fileBytes()}}));
        openWindow();
        window->cmdFind->click();
        find = window->FindWindow();
        ASSERT_NE(find, nullptr);
        ASSERT_TRUE(QSignalSpy(find, &frmFind::scanFinished).wait(10000));
    }
    QStringList shown(FindTableModel::Column column) const
    {
        QStringList out;
        for (int row = 0; row < find->model->rowCount(); ++row)
            out << find->model->index(row, find->model->columnOf(column)).data().toString();
        return out;
    }
    QString sofaFile, junkFile;
    frmFind* find = nullptr;
};

TEST_F(FindWindowTest, SearchIconsSortsAndTheThreeViews)
{
    using C = FindTableModel::Column;
    const QString chair = QString::fromUtf8("Café\u00a0Chair");
    const QList<QPair<const char*, QStringList>> cases = {
        {"", {"Blue Sofa", chair, "Blue Sofa", chair, "Lamp", "Game Sofa"}},
        {"CAFÉ", {chair, chair}}, // catalog name, decoded, any case
        {"lamp objd", {"Lamp"}},  // resource name, every word
        {"sofa lamp", {}},
    };
    for (const auto& [typed, names] : cases) {
        find->txtSearch->setText(QString::fromUtf8(typed));
        EXPECT_EQ(shown(C::Name), names) << typed;
    }
    find->txtSearch->clear();

    // The lamp's row shows its catalog icon once read. A sort keeps the selected row.
    const QModelIndex lamp = find->model->index(4, find->model->columnOf(C::Icon));
    const auto iconColour = [&] {
        const QImage icon = lamp.data(Qt::DecorationRole).value<QPixmap>().toImage();
        return icon.isNull() ? QRgb(0) : icon.pixel(icon.width() / 2, icon.height() / 2);
    };
    EXPECT_TRUE(QTest::qWaitFor([&] { return iconColour() == qRgb(200, 120, 40); }));
    EXPECT_FALSE(lamp.siblingAtColumn(1).data(Qt::DecorationRole).isValid()) << "only one icon";
    find->tblResults->setCurrentIndex(find->model->index(5, 1)); // the game's sofa
    QHeaderView* header = find->tblResults->horizontalHeader();
    header->setSortIndicator(find->model->columnOf(C::Price), Qt::DescendingOrder);
    EXPECT_EQ(shown(C::Price), (QStringList{"40", "30", "20", "20", "10", "10"}));
    EXPECT_EQ(shown(C::Name).value(find->tblResults->currentIndex().row()), "Game Sofa");
    header->setSortIndicator(find->model->columnOf(C::Name), Qt::AscendingOrder);
    EXPECT_EQ(shown(C::Name),
              (QStringList{"Blue Sofa", "Blue Sofa", chair, chair, "Game Sofa", "Lamp"}));

    // Conflicts stay grouped by GUID under any sort; identical copies are marked.
    find->setView(frmFind::Conflicts);
    header->setSortIndicator(find->model->columnOf(C::Price), Qt::DescendingOrder);
    EXPECT_EQ(
        shown(C::Name) + shown(C::Copy),
        (QStringList{"Game Sofa", "Lamp", "Blue Sofa", "Blue Sofa", chair, chair, "", "",
                     "identical copy", "identical copy", "identical copy", "identical copy"}));
    EXPECT_FALSE(find->model->index(3, 1).data(Qt::BackgroundRole).isValid());
    EXPECT_TRUE(find->model->index(4, 1).data(Qt::BackgroundRole).isValid()) << "groups shaded";
    find->setView(frmFind::ProblemFiles);
    EXPECT_EQ(shown(C::File), QStringList{junkFile});
    EXPECT_TRUE(shown(C::Problem).first().startsWith("not an object file"));
}

TEST_F(FindWindowTest, GoingToARowAsksAboutUnsavedEditsFirst)
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
    const int row =
        shown(FindTableModel::Column::Name).indexOf(QString::fromUtf8("Café\u00a0Chair"));
    const QRect cell = find->tblResults->visualRect(find->model->index(row, 1));
    QTest::mouseClick(find->tblResults->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(find->tblResults->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(window->CurrentFilePath(), sofaFile);
    EXPECT_EQ(SelectedTexts(window->lstObjects), QStringList{"Caf\u00e9\u00a0Chair objd"});

    // The game's own objects are shown but cannot be opened.
    find->txtSearch->setText("game sofa");
    QTest::keyClick(find->txtSearch, Qt::Key_Return);
    EXPECT_FALSE(find->cmdGoTo->isEnabled());
    EXPECT_TRUE(find->lblStatus->text().endsWith("cannot be opened."));
    EXPECT_EQ(window->CurrentObject, 129);
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
    EXPECT_EQ(Rows(window->lstFiles), (QStringList{"a.iff", "a2.iff", "b.iff"}));
    EXPECT_EQ(window->CurrentFilePath(), sofaFile) << "the open file stays open";
    ASSERT_TRUE(QSignalSpy(find, &frmFind::scanFinished).wait(10000));
    EXPECT_EQ(find->model->rowCount(), 0);
    EXPECT_EQ(find->tabView->tabText(frmFind::ProblemFiles), "&Problem Files (0)");
}

} // namespace
