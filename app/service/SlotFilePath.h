// The one place where a name the printer reports becomes part of a path on
// this PC. Printer names are untrusted: a name that is not a plain file name
// must never lead outside the folder the user chose.
#ifndef QUILLORY_SLOT_FILE_PATH_H
#define QUILLORY_SLOT_FILE_PATH_H

#include <QString>

#include "FileKind.h"

namespace quillory {

// Shown when a stored name cannot be used; %1 is the name as the printer gave it.
extern const char kUnusableStoredName[];

// True for a name that is a file name and nothing more: not empty, not "."
// or "..", no "/" or "\", and nothing that is not seen yet changes how the
// name looks: no control character (C0, DEL, C1), no format character
// (bidirectional overrides, zero-width and tag characters), no half of a
// surrogate pair.
bool IsPlainFileName(const QString& name);

// folder + separator + storedName + the kind's extension, into *path. False, with
// nothing built, when the stored name is not a plain file name.
bool BuildSlotFilePath(const QString& folder, const QString& storedName, FileKind kind, QString* path);

// A character as its code point, the way it is shown where it must not
// act: \x9b, \u202e, \U000e0001.
QString EscapedCodePoint(char32_t c);

// The name with every character IsPlainFileName refuses shown as its code
// point (\x9b, \u202e, \U000e0001), so that it can neither garble nor
// disguise the text it is shown in.
QString VisibleName(const QString& name);

// The refusal text for a stored name BuildSlotFilePath would not use.
QString UnusableStoredNameMessage(const QString& storedName);

}  // namespace quillory

#endif
