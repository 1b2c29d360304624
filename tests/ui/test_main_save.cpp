// Saving the shown object and the unsaved-changes check of the main window.
#include "MainWindowHarness.h"
#include "ObjdLayout.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtEndian>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace
{

const QString kChangedQuestion =
    QStringLiteral("This objects has changed. Would you like to save the changes?");

SortSet Sorts(std::initializer_list<qint32> values)
{
    SortSet sorts{};
    int i = 0;
    for (qint32 v : values)
        sorts[i++] = v;
    return sorts;
}

class MainSaveTest : public MainWindowHarness
{
protected:
    void SetUp() override
    {
        MainWindowHarness::SetUp();
        path = writeFile("objects.iff", object(object({}, 128, "Chair", "Sit", 75, Sorts({1, 1})),
                                               129, "Sofa", "Lie", 300, Sorts({1, 4})));
        openWindow();
    }

    // What the file on disk holds now.
    std::unique_ptr<clsIFF> disk() const
    {
        auto doc = std::make_unique<clsIFF>();
        EXPECT_TRUE(doc->LoadFile(path));
        return doc;
    }
    QByteArray fileBytes() const
    {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }
    quint16 rawPrice(quint16 id) const
    {
        const QByteArray body =
            disk()->Resource(QByteArray("OBJD") + QByteArray::number(id)).Body();
        return qFromLittleEndian<quint16>(body.constData() + ObjdField::Price);
    }

    QString path;
};

TEST_F(MainSaveTest, SaveWritesEveryFieldOfThePanel)
{
    window->txtName->setText(QString::fromUtf8("Armchair é"));
    window->txtDescript->setPlainText("Comfortable");
    window->txtPrice->setText("120");
    window->chkDisabled->setChecked(true);
    setChecked(window->lstSort[2], rowWithText(window->lstSort[2], "Study"), true);
    clickRow(window->lstSort[8], rowWithText(window->lstSort[8], "Doors"));
    window->cmdSave->click();

    const auto doc = disk();
    EXPECT_EQ(doc->GetName(128), QByteArray("Armchair \xe9"));
    EXPECT_EQ(doc->GetDescription(128), QByteArray("Comfortable"));
    EXPECT_EQ(doc->GetPrice(128), 120);
    EXPECT_TRUE(doc->GetDisabled(128));
    EXPECT_EQ(doc->GetSorts(128), Sorts({1, 1, 128, 0, 0, 0, 0, 0, 1}));
    // The other object is untouched and no message is shown after a good save.
    EXPECT_EQ(doc->GetName(129), QByteArray("Sofa"));
    EXPECT_TRUE(prompt.asked().isEmpty());
}

TEST_F(MainSaveTest, UnstorableTextIsRefusedAndTheEditsStay)
{
    const QByteArray before = fileBytes();
    window->txtName->setText(QString::fromUtf8("Chair 日本"));
    window->txtPrice->setText("5");
    window->cmdSave->click();
    ASSERT_EQ(prompt.messages().size(), 1);
    EXPECT_EQ(fileBytes(), before);
    EXPECT_EQ(window->txtName->text(), QString::fromUtf8("Chair 日本"));
    EXPECT_EQ(window->txtPrice->text(), "5");
}

TEST_F(MainSaveTest, AutoSaveSavesWhenLeavingTheObject)
{
    window->chkAutoSave->setChecked(true);
    window->txtPrice->setText("80");
    clickRow(window->lstObjects, objectRow(129));
    EXPECT_TRUE(prompt.asked().isEmpty());
    EXPECT_EQ(disk()->GetPrice(128), 80);
    EXPECT_EQ(window->txtName->text(), "Sofa");
}

TEST_F(MainSaveTest, AnsweringYesSavesAndNoDropsTheEdits)
{
    window->txtPrice->setText("81");
    prompt.queueAnswer(PromptAnswer::Yes);
    clickRow(window->lstObjects, objectRow(129));
    ASSERT_EQ(prompt.messages(), QStringList{kChangedQuestion});
    EXPECT_EQ(prompt.asked().first().buttons, PromptButtons::YesNo);
    EXPECT_EQ(prompt.asked().first().icon, PromptIcon::Exclamation);
    EXPECT_EQ(disk()->GetPrice(128), 81);

    prompt.clearAsked();
    window->txtDescript->setPlainText("Never mind");
    prompt.queueAnswer(PromptAnswer::No);
    clickRow(window->lstObjects, objectRow(128));
    EXPECT_EQ(prompt.messages(), QStringList{kChangedQuestion});
    EXPECT_EQ(disk()->GetDescription(129), QByteArray("Lie"));
    EXPECT_EQ(window->txtName->text(), "Chair");
}

TEST_F(MainSaveTest, ChangingAndChangingBackIsNoChange)
{
    const QByteArray before = fileBytes();
    window->txtPrice->setText("76");
    window->txtPrice->setText("75");
    QTreeWidget* room = window->lstSort[2];
    setChecked(room, room->topLevelItem(0), true);
    setChecked(room, room->topLevelItem(0), false);
    window->txtName->setText("X");
    window->txtName->setText("Chair");
    clickRow(window->lstObjects, objectRow(129));
    EXPECT_TRUE(prompt.asked().isEmpty());
    EXPECT_EQ(fileBytes(), before);
}

TEST_F(MainSaveTest, ClickingTheShownObjectKeepsTheEdits)
{
    window->txtPrice->setText("9");
    clickRow(window->lstObjects, objectRow(128));
    EXPECT_EQ(window->txtPrice->text(), "9");
    EXPECT_TRUE(prompt.asked().isEmpty());
}

TEST_F(MainSaveTest, LeavingTheFileRunsTheCheck)
{
    writeFile("other.iff", object({}, 300, "Lamp", "", 1));
    window->cmdRefresh->click();
    window->chkAutoSave->setChecked(true);
    window->txtPrice->setText("12");
    clickRow(window->lstFiles, fileRow("other.iff"));
    EXPECT_EQ(disk()->GetPrice(128), 12);
    EXPECT_EQ(window->txtName->text(), "Lamp");
}

TEST_F(MainSaveTest, ClosingWithEditsSavesOrAsks)
{
    window->txtPrice->setText("13");
    prompt.queueAnswer(PromptAnswer::Yes);
    window->cmdExit->click();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(prompt.messages(), QStringList{kChangedQuestion});
    EXPECT_EQ(disk()->GetPrice(128), 13);
}

TEST_F(MainSaveTest, SubFunction128IsNotComparedButStillSaved)
{
    path = writeFile("odd.iff", object({}, 140, "Odd", "", 1, Sorts({1, 128})));
    window->cmdRefresh->click();
    clickRow(window->lstFiles, fileRow("odd.iff"));
    ASSERT_EQ(window->CurrentObject, 140);
    // No Sub-Function row stands for 128; checking one is not noticed on leaving...
    setChecked(window->lstSort[1], window->lstSort[1]->topLevelItem(0), true);
    window->CheckSave();
    EXPECT_TRUE(prompt.asked().isEmpty());
    // ...but Save writes it.
    window->cmdSave->click();
    EXPECT_EQ(disk()->GetSorts(140)[1], 1);
}

TEST_F(MainSaveTest, ValuesTheListsCannotShowSurviveAutoSave)
{
    // Downtown 16 has no row, Build Mode 9 is beyond the list: viewing must not change them.
    path = writeFile("odd.iff",
                     object(object({}, 140, "Odd", "", 1, Sorts({1, 1, 0, 16 | 1, 0, 0, 0, 0, 9})),
                            141, "Next", "", 1));
    window->cmdRefresh->click();
    clickRow(window->lstFiles, fileRow("odd.iff"));
    window->chkAutoSave->setChecked(true);
    const QByteArray before = fileBytes();
    clickRow(window->lstObjects, objectRow(141));
    EXPECT_EQ(fileBytes(), before);

    // A real edit saves, and the unshown values are written back as they were.
    clickRow(window->lstObjects, objectRow(140));
    window->txtPrice->setText("2");
    window->cmdSave->click();
    EXPECT_EQ(disk()->GetSorts(140), Sorts({1, 1, 0, 17, 0, 0, 0, 0, 9}));
    // Choosing a Build Mode by hand does replace the value.
    clickRow(window->lstSort[8], rowWithText(window->lstSort[8], "Stairs"));
    window->cmdSave->click();
    EXPECT_EQ(disk()->GetSorts(140)[8], 3);
}

TEST_F(MainSaveTest, PriceOutsideThe32BitRangeSavesAsTheNearestBound)
{
    window->txtPrice->setText("99999999999");
    window->cmdSave->click();
    EXPECT_EQ(rawPrice(128), 0xFFFF); // low 16 bits of 2147483647
    window->txtPrice->setText("-99999999999");
    window->cmdSave->click();
    EXPECT_EQ(rawPrice(128), 0x0000); // low 16 bits of -2147483648
    window->txtPrice->setText("-");
    window->cmdSave->click();
    EXPECT_EQ(rawPrice(128), 0);
    window->txtPrice->setText("70000");
    window->cmdSave->click();
    EXPECT_EQ(rawPrice(128), 70000 & 0xFFFF);
}

TEST_F(MainSaveTest, EmptyPriceCountsAsZeroInTheCheck)
{
    path = writeFile("free.iff", object({}, 150, "Free", "", 0));
    window->cmdRefresh->click();
    clickRow(window->lstFiles, fileRow("free.iff"));
    window->txtPrice->setText("");
    window->CheckSave();
    window->txtPrice->setText("-");
    window->CheckSave();
    EXPECT_TRUE(prompt.asked().isEmpty());
}

// Marks a folder immutable so that nothing can be created in it, not even by root.
class ImmutableFolder
{
public:
    explicit ImmutableFolder(const QString& folder)
    {
        m_fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
        int flags = 0;
        if (m_fd >= 0 && ::ioctl(m_fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags |= FS_IMMUTABLE_FL;
            m_set = ::ioctl(m_fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
    }
    ~ImmutableFolder()
    {
        int flags = 0;
        if (m_set && ::ioctl(m_fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags &= ~FS_IMMUTABLE_FL;
            ::ioctl(m_fd, FS_IOC_SETFLAGS, &flags);
        }
        if (m_fd >= 0)
            ::close(m_fd);
    }
    bool active() const { return m_set; }

private:
    int m_fd = -1;
    bool m_set = false;
};

TEST_F(MainSaveTest, AFailedSaveIsToldAndTheEditsStayUnsaved)
{
    const QByteArray before = fileBytes();
    window->txtPrice->setText("500");
    {
        ImmutableFolder locked(gameFolder);
        if (!locked.active())
            GTEST_SKIP() << "this file system cannot lock a folder";
        window->cmdSave->click();
        ASSERT_EQ(prompt.messages().size(), 1);
        EXPECT_TRUE(
            prompt.messages().first().startsWith("The file " + path + " could not be saved: "))
            << prompt.messages().first().toStdString();
        EXPECT_EQ(fileBytes(), before);

        // The document was read back, so leaving the object offers the edits again.
        prompt.clearAsked();
        prompt.queueAnswer(PromptAnswer::No);
        clickRow(window->lstObjects, objectRow(129));
        EXPECT_EQ(prompt.messages(), QStringList{kChangedQuestion});
    }
    // Once the folder can be written again, saving works as before.
    clickRow(window->lstObjects, objectRow(128));
    window->txtPrice->setText("501");
    window->cmdSave->click();
    EXPECT_EQ(disk()->GetPrice(128), 501);
}

} // namespace
