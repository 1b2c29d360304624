// SPDX-License-Identifier: GPL-3.0-or-later
// The window program's prompt: real message boxes and input boxes, answered by the keyboard.

#include "DialogDriver.h"
#include "QtPrompt.h"

#include <QAbstractButton>
#include <QInputDialog>
#include <QMessageBox>

namespace
{

// Answers the next box with a key and gives it in one line: title [icon/buttons] text.
std::shared_ptr<QString> AnswerWith(Qt::Key key)
{
    auto seen = std::make_shared<QString>();
    WhenModalOpens<QMessageBox>([=](QMessageBox* box) {
        *seen = box->windowTitle() +
                QString(" [%1/%2] ").arg(box->icon()).arg(box->buttons().size()) + box->text();
        QTest::keyClick(box, key);
    });
    return seen;
}

TEST(QtPromptTest, BoxesShowTitleIconAndButtonsReturnTakesTheDefaultInputGivesTextOrNothing)
{
    EnsureGuiApp();
    QtPrompt prompt;
    auto seen = AnswerWith(Qt::Key_Escape);
    EXPECT_EQ(prompt.message("Gone?", "", PromptIcon::Critical, PromptButtons::YesNo),
              PromptAnswer::No);
    EXPECT_EQ(*seen, "Kestrane [3/2] Gone?");
    seen = AnswerWith(Qt::Key_Return);
    EXPECT_EQ(prompt.message("Sure?", "Other", PromptIcon::Exclamation, PromptButtons::YesNo),
              PromptAnswer::Yes);
    EXPECT_EQ(*seen, "Other [2/2] Sure?");
    seen = AnswerWith(Qt::Key_Return); // the trash question's default is No
    EXPECT_FALSE(prompt.confirmTrash("/games/Sims/Downloads/chair.iff"));
    EXPECT_EQ(*seen, "Delete File [2/2] Are you sure you want to move \"chair.iff\" to the Trash?");
    WhenModalOpens<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
    EXPECT_TRUE(prompt.confirmTrash("/games/Sims/Downloads/chair.iff"));

    // An input box gives the text, or nothing when cancelled.
    for (const bool accept : {true, false}) {
        auto ran = WhenModalOpens<QInputDialog>([accept](QInputDialog* input) {
            EXPECT_EQ(input->windowTitle() + "|" + input->labelText() + "|" + input->textValue(),
                      "Create Preset|Enter a new name for this preset:|Old");
            input->setTextValue("New");
            accept ? input->accept() : input->reject();
        });
        EXPECT_EQ(prompt.inputBox("Enter a new name for this preset:", "Create Preset", "Old"),
                  accept ? "New" : "");
        EXPECT_TRUE(*ran);
    }
}

} // namespace
