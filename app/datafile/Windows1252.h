// The data file's 8-bit character set: Windows-1252, the code page of the
// Windows program whose data files the printer reads. Every byte stands for
// one character: the five bytes the code page leaves unassigned stand for the
// control characters of the same numbers, as the Windows conversion has them,
// so any data file can be shown and written back unchanged.
#ifndef QUILLORY_WINDOWS1252_H
#define QUILLORY_WINDOWS1252_H

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace quillory {

// The byte of a character (a Unicode code point); false for a character the
// code page does not have.
bool Windows1252Byte(char32_t character, char* byte);

// The text in the code page; a character it does not have becomes '?'.
QByteArray ToWindows1252(const QString& text);

QString FromWindows1252(QByteArrayView bytes);

}  // namespace quillory

#endif
