// How the core asks the user for a file to open or a file to save. The
// program answers with file dialogs, tests from a script.
#ifndef QUILLORY_FILE_CHOICE_PORT_H
#define QUILLORY_FILE_CHOICE_PORT_H

#include <QString>

namespace quillory {

struct FileChoice {
    QString title;
    // Pairs of description and pattern, each part ended by '|' and the whole
    // by "||": "QV7 data files (*.dat)|*.dat||".
    QString filter;
    // Added to a typed name that has no extension; without the dot.
    QString defaultExtension;
    // The name the dialog starts with; empty for none.
    QString proposedName;
    // The folder the dialog opens in; empty for wherever the dialog likes.
    QString startFolder = QString();
};

class FileChoicePort {
public:
    virtual ~FileChoicePort() = default;
    // True with the chosen file's full path; false when the user cancels.
    virtual bool ChooseFileToOpen(const FileChoice& choice, QString* path) = 0;
    // As above; the user has already agreed to replace an existing file.
    virtual bool ChooseFileToSave(const FileChoice& choice, QString* path) = 0;
};

}  // namespace quillory

#endif
