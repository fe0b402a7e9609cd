// The two firmware dialogs, shown offscreen and clicked as a user would.
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include "CPasswordDialog.h"
#include "CSelectModelDialog.h"
#include "FirmwareTexts.h"
#include "ScriptedPorts.h"

namespace {

using namespace quillory;
using quillory::MessageAnswer;

TEST(SelectModelDialog, AskedNoStaysOpenYesClosesWithThatModelAndTheCloseBoxCancels) {
    quillorytest::RecordingPrompt prompt;
    for (const KeypadModel model : {kModelQV7E, kModelQV7EQ}) {
        CSelectModelDialog dialog(prompt);
        dialog.show();
        prompt.shown.clear();
        prompt.answers = {MessageAnswer::No, MessageAnswer::Yes};
        QPushButton* button = model == kModelQV7E ? dialog.qv7eButton() : dialog.qv7eqButton();
        button->click();
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.selectedModel(), kNoModel);
        button->click();
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.selectedModel(), model);
        EXPECT_EQ(prompt.shown.size(), 2u);
    }
    CSelectModelDialog closed(prompt);
    closed.show();
    closed.close();
    EXPECT_EQ(closed.result(), QDialog::Rejected);
    EXPECT_EQ(closed.selectedModel(), kNoModel);
    EXPECT_EQ(prompt.shown.size(), 2u) << "the close box asks nothing";
}

TEST(PasswordDialog, HidesTheCodeAndStaysOpenUntilItIsRight) {
    quillorytest::RecordingPrompt prompt;
    CPasswordDialog dialog(prompt);
    dialog.show();
    EXPECT_EQ(dialog.passwordEdit()->echoMode(), QLineEdit::Password);

    for (const char* wrong : {"MIRABEL", "mirabel "}) {
        dialog.passwordEdit()->setText(QLatin1String(wrong));
        dialog.okButton()->click();
        EXPECT_TRUE(dialog.isVisible()) << wrong;
    }
    EXPECT_EQ(prompt.Texts(), std::vector<std::string>(2, firmwaretext::kInvalidPassword));

    dialog.passwordEdit()->setText(QStringLiteral("mirabel"));
    dialog.okButton()->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(prompt.shown.size(), 2u);
}

}  // namespace
