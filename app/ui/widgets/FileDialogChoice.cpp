#include "FileDialogChoice.h"

#include <QApplication>
#include <QFileDialog>

namespace quillory {

namespace {

bool Choose(const FileChoice& choice, QFileDialog::AcceptMode mode, QString* path) {
    QFileDialog dialog(QApplication::activeWindow(), choice.title);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilters(NameFilters(choice.filter));
    dialog.setDefaultSuffix(choice.defaultExtension);
    if (!choice.startFolder.isEmpty()) dialog.setDirectory(choice.startFolder);
    if (!choice.proposedName.isEmpty()) dialog.selectFile(choice.proposedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    *path = dialog.selectedFiles().constFirst();
    return true;
}

}  // namespace

bool FileDialogChoice::ChooseFileToOpen(const FileChoice& choice, QString* path) {
    return Choose(choice, QFileDialog::AcceptOpen, path);
}

bool FileDialogChoice::ChooseFileToSave(const FileChoice& choice, QString* path) {
    // QFileDialog asks before an existing file is replaced.
    return Choose(choice, QFileDialog::AcceptSave, path);
}

QStringList NameFilters(const QString& filter) {
    QStringList filters;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        if (description.isEmpty()) break;
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        const QString shown = QLatin1Char('(') + patterns + QLatin1Char(')');
        filters << (description.contains(shown) ? description : description + QLatin1Char(' ') + shown);
    }
    return filters;
}

}  // namespace quillory
