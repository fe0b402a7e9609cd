// Writing a file the program owns, such as allFiles.fsd, into a folder the
// user chose, where anything may already stand under its name.
#ifndef QUILLORY_REPLACING_WRITE_H
#define QUILLORY_REPLACING_WRITE_H

#include <QByteArray>
#include <QString>

namespace quillory {

// Writes the bytes into a hidden temporary file beside path and renames it
// over the name itself: a symbolic link standing there is replaced, never
// followed, and a failure leaves whatever was there as it was. The file keeps
// the permissions of a regular file it replaces. False, with the system's
// reason in *reason, when it could not be written.
bool WriteReplacingName(const QString& path, const QByteArray& bytes, QString* reason);

}  // namespace quillory

#endif
