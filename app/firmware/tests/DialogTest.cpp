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

TEST(SelectModelDialog, AskedNoStaysOpenAndYesClosesWithThatModel) {
    quillorytest::RecordingPrompt prompt;
    CSelectModelDialog dialog(prompt);
    dialog.show();
    prompt.answers = {MessageAnswer::No, MessageAnswer::Yes};
    dialog.qv7eButton()->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.selectedModel(), kNoModel);
    dialog.qv7eButton()->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.selectedModel(), kModelQV7E);
    EXPECT_EQ(prompt.Texts(), (std::vector<std::string>(2, firmwaretext::kConfirmQV7E)));
    EXPECT_EQ(prompt.shown[0].buttons, MessageButtons::YesNo);

    CSelectModelDialog other(prompt);
    other.show();
    prompt.answers = {MessageAnswer::Yes};
    other.qv7eqButton()->click();
    EXPECT_EQ(other.selectedModel(), kModelQV7EQ);
    EXPECT_EQ(prompt.Texts().back(), firmwaretext::kConfirmQV7EQ);
}

TEST(SelectModelDialog, TheCloseBoxCancels) {
    quillorytest::RecordingPrompt prompt;
    CSelectModelDialog dialog(prompt);
    dialog.show();
    dialog.close();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.selectedModel(), kNoModel);
    EXPECT_TRUE(prompt.shown.empty());
}

TEST(PasswordDialog, HidesTheCodeAndStaysOpenUntilItIsRight) {
    quillorytest::RecordingPrompt prompt;
    CPasswordDialog dialog(prompt);
    dialog.show();
    EXPECT_EQ(dialog.passwordEdit()->echoMode(), QLineEdit::Password);

    dialog.passwordEdit()->setText(QStringLiteral("MIRABEL"));
    dialog.okButton()->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(prompt.Texts(), std::vector<std::string>{firmwaretext::kInvalidPassword});

    dialog.passwordEdit()->setText(QStringLiteral("mirabel"));
    dialog.okButton()->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(prompt.shown.size(), 1u);
}

}  // namespace
