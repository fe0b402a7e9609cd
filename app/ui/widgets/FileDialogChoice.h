// File choices answered by QFileDialog.
#ifndef QUILLORY_FILE_DIALOG_CHOICE_H
#define QUILLORY_FILE_DIALOG_CHOICE_H

#include <QStringList>

#include "FileChoicePort.h"

namespace quillory {

class FileDialogChoice : public FileChoicePort {
public:
    bool ChooseFileToOpen(const FileChoice& choice, QString* path) override;
    bool ChooseFileToSave(const FileChoice& choice, QString* path) override;
};

// "QV7 data files (*.dat)|*.dat|All Files (*.*)|*.*||" as QFileDialog's name
// filters: each description, with its patterns in brackets unless it already
// shows them.
QStringList NameFilters(const QString& filter);

}  // namespace quillory

#endif
