// Texts on their way to the terminal. Names and type names come from the
// printer, folder texts from whoever wrote the folder: any of them may carry
// escape sequences that clear the screen or retitle the window, or be far
// longer than a message line.
#ifndef QV7_CLI_TERMINALTEXT_H
#define QV7_CLI_TERMINALTEXT_H

#include <QByteArray>
#include <QString>

namespace qv7cli {

// The text in the terminal's encoding, with every character that does not
// print (control characters, C1 controls, bidirectional controls and other
// invisible formatting, tag characters above U+FFFF) shown as \xNN, \uNNNN or
// \UNNNNNNNN, as qv7 get shows unusable names. Line breaks stay. Beyond
// `limit` characters the text is cut and ends in "...".
QByteArray TerminalText(const QString& text, qsizetype limit = 500);

// The same for text already in the terminal's encoding.
QByteArray TerminalText(const std::string& localText, qsizetype limit = 500);

// JSON text whose strings may hold such characters, with them written as
// \uNNNN escapes: the same document, safe to show.
QByteArray TerminalSafeJson(const QByteArray& json);

}  // namespace qv7cli

#endif
