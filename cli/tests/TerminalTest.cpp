// What qv7 leaves on the terminal while a transfer draws its bar.
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "TerminalProgress.h"
#include "TerminalPrompt.h"
#include "TerminalText.h"

namespace {

std::string Contents(std::FILE* file) {
    std::fflush(file);
    std::rewind(file);
    std::string text;
    for (int c; (c = std::fgetc(file)) != EOF;) text.push_back(static_cast<char>(c));
    return text;
}

TEST(Terminal, AMessageDuringATransferStartsOnALineOfItsOwn) {
    std::FILE* screen = std::tmpfile();
    ASSERT_NE(screen, nullptr);
    {
        qv7cli::TerminalProgressWindow window("Initializing...", "Sending label file L.qv7...", screen, true);
        window.Open();
        quillory::TransferProgress(16, 40);
        qv7cli::TerminalPrompt prompt(stdin, screen);
        prompt.ShowMessage("Write Failed, 24 Bytes Remaining", quillory::MessageIcon::Exclamation,
                           quillory::MessageButtons::Ok);
        window.Close();
    }
    const std::string text = Contents(screen);
    std::fclose(screen);
    EXPECT_NE(text.find(" 40 B  40% \nWrite Failed, 24 Bytes Remaining\n"), std::string::npos) << text;
    EXPECT_EQ(text.substr(text.size() - 2), "g\n") << "no empty line after the message: " << text;
}

TEST(Terminal, TextsFromThePrinterCannotDriveTheTerminal) {
    // A tag character (U+E0001) lies above U+FFFF; an emoji beside it is seen.
    EXPECT_EQ(qv7cli::TerminalText(QString::fromUtf8("\x1b]0;owned\x07 \xc2\x9b" "2J caf\xc3\xa9\nnext \u202e"
                                                     "\U000E0001\U0001F600")),
              QByteArray("\\x1b]0;owned\\x07 \\x9b2J caf\xc3\xa9\nnext \\u202e\\U000e0001\xf0\x9f\x98\x80"));
    const QByteArray cut = qv7cli::TerminalText(QString(5000, QLatin1Char('A')), 40);
    EXPECT_EQ(cut, QByteArray(40, 'A') + "...");
}

}  // namespace
