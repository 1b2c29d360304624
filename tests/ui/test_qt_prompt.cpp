// The window program's prompt: real message boxes and input boxes, answered by clicking.

#include "DialogDriver.h"
#include "GuiTestApp.h"
#include "QtPrompt.h"

#include <QAbstractButton>
#include <QInputDialog>
#include <QMessageBox>

namespace
{

TEST(QtPromptTest, MessageBoxesShowTextIconTitleAndButtonsAndTheTrashQuestion)
{
    EnsureGuiApp();
    QtPrompt prompt;
    auto ran = WhenModalOpens<QMessageBox>([](QMessageBox* box) {
        EXPECT_EQ(box->windowTitle(), "Kestrane") << "an empty title is the program's name";
        EXPECT_EQ(box->text(), "Remove it?");
        EXPECT_EQ(box->icon(), QMessageBox::Critical);
        EXPECT_EQ(box->buttons().size(), 2);
        box->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(prompt.message("Remove it?", QString(), PromptIcon::Critical, PromptButtons::YesNo),
              PromptAnswer::No);
    EXPECT_TRUE(*ran);

    ran = WhenModalOpens<QMessageBox>([](QMessageBox* box) {
        EXPECT_EQ(box->windowTitle(), "Other");
        EXPECT_EQ(box->icon(), QMessageBox::Warning);
        box->button(QMessageBox::Yes)->click();
    });
    EXPECT_EQ(prompt.message("Sure?", "Other", PromptIcon::Exclamation, PromptButtons::YesNo),
              PromptAnswer::Yes);
    EXPECT_TRUE(*ran);

    // The trash question names the file and defaults to No.
    ran = WhenModalOpens<QMessageBox>([](QMessageBox* box) {
        EXPECT_EQ(box->windowTitle(), "Delete File");
        EXPECT_EQ(box->text(), "Are you sure you want to move \"chair.iff\" to the Trash?");
        QTest::keyClick(box, Qt::Key_Return); // the default answer
    });
    EXPECT_FALSE(prompt.confirmTrash("/games/Sims/Downloads/chair.iff"));
    EXPECT_TRUE(*ran);

    ran = WhenModalOpens<QMessageBox>(
        [](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
    EXPECT_TRUE(prompt.confirmTrash("/games/Sims/Downloads/chair.iff"));
    EXPECT_TRUE(*ran);
}

TEST(QtPromptTest, InputBoxGivesTheTextOrNothingWhenCancelled)
{
    EnsureGuiApp();
    QtPrompt prompt;
    auto ran = WhenModalOpens<QInputDialog>([](QInputDialog* input) {
        EXPECT_EQ(input->windowTitle(), "Create Preset");
        EXPECT_EQ(input->labelText(), "Enter a new name for this preset:");
        EXPECT_EQ(input->textValue(), "Old");
        input->setTextValue("New");
        input->accept();
    });
    EXPECT_EQ(prompt.inputBox("Enter a new name for this preset:", "Create Preset", "Old"), "New");
    EXPECT_TRUE(*ran);

    ran = WhenModalOpens<QInputDialog>([](QInputDialog* input) { input->reject(); });
    EXPECT_TRUE(prompt.inputBox("Name:", "Create Preset", "Old").isEmpty());
    EXPECT_TRUE(*ran);
}

} // namespace
