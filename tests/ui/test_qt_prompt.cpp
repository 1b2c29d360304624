// The window program's prompt: real message boxes and input boxes, answered by the keyboard
// or by clicking.

#include "DialogDriver.h"
#include "GuiTestApp.h"
#include "QtPrompt.h"

#include <QAbstractButton>
#include <QInputDialog>
#include <QMessageBox>

namespace
{

TEST(QtPromptTest, BoxesShowTitleIconButtonsAndGiveTheAnswer)
{
    EnsureGuiApp();
    QtPrompt prompt;
    // Return takes the default button: Yes for a question, No for the trash.
    const auto answer = [](const QString& title, QMessageBox::Icon icon, int buttons, int key,
                           const std::function<void()>& ask) {
        auto ran = WhenModalOpens<QMessageBox>([=](QMessageBox* box) {
            EXPECT_EQ(box->windowTitle(), title);
            EXPECT_EQ(box->icon(), icon);
            EXPECT_EQ(box->buttons().size(), buttons);
            QTest::keyClick(box, Qt::Key(key));
        });
        ask();
        EXPECT_TRUE(*ran) << title.toStdString();
    };
    answer("Kestrane", QMessageBox::Critical, 2, Qt::Key_Escape, [&] {
        EXPECT_EQ(prompt.message("Remove?", "", PromptIcon::Critical, PromptButtons::YesNo),
                  PromptAnswer::No);
    });
    answer("Other", QMessageBox::Warning, 2, Qt::Key_Return, [&] {
        EXPECT_EQ(prompt.message("Sure?", "Other", PromptIcon::Exclamation, PromptButtons::YesNo),
                  PromptAnswer::Yes);
    });
    answer("Kestrane", QMessageBox::Information, 1, Qt::Key_Return, [&] {
        EXPECT_EQ(prompt.message("Done", "", PromptIcon::Information, PromptButtons::Ok),
                  PromptAnswer::Ok);
    });
    answer("Delete File", QMessageBox::Warning, 2, Qt::Key_Return,
           [&] { EXPECT_FALSE(prompt.confirmTrash("/games/Sims/Downloads/chair.iff")); });

    auto ran = WhenModalOpens<QMessageBox>([](QMessageBox* box) {
        EXPECT_EQ(box->text(), "Are you sure you want to move \"chair.iff\" to the Trash?");
        box->button(QMessageBox::Yes)->click();
    });
    EXPECT_TRUE(prompt.confirmTrash("/games/Sims/Downloads/chair.iff"));
    EXPECT_TRUE(*ran);
}

TEST(QtPromptTest, InputBoxGivesTheTextOrNothingWhenCancelled)
{
    EnsureGuiApp();
    QtPrompt prompt;
    for (const bool accept : {true, false}) {
        auto ran = WhenModalOpens<QInputDialog>([accept](QInputDialog* input) {
            EXPECT_EQ(input->windowTitle(), "Create Preset");
            EXPECT_EQ(input->labelText(), "Enter a new name for this preset:");
            EXPECT_EQ(input->textValue(), "Old");
            input->setTextValue("New");
            accept ? input->accept() : input->reject();
        });
        EXPECT_EQ(prompt.inputBox("Enter a new name for this preset:", "Create Preset", "Old"),
                  accept ? "New" : "");
        EXPECT_TRUE(*ran);
    }
}

} // namespace
