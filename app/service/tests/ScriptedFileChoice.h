// File choices answered from a script: each question is recorded, and the
// answers are taken in order; an empty answer (or none left) cancels.
#ifndef QUILLORY_TESTS_SCRIPTED_FILE_CHOICE_H
#define QUILLORY_TESTS_SCRIPTED_FILE_CHOICE_H

#include <QString>

#include <deque>
#include <string>
#include <vector>

#include "FileChoicePort.h"

namespace quillorytest {

class ScriptedFileChoice : public quillory::FileChoicePort {
public:
    bool ChooseFileToOpen(const quillory::FileChoice& choice, QString* path) override {
        return Answer("open", choice, path);
    }
    bool ChooseFileToSave(const quillory::FileChoice& choice, QString* path) override {
        return Answer("save", choice, path);
    }

    // "open TITLE|FILTER|EXTENSION|PROPOSED NAME"
    std::vector<std::string> asked;
    std::deque<QString> answers;

private:
    bool Answer(const char* kind, const quillory::FileChoice& choice, QString* path) {
        asked.push_back(std::string(kind) + " " +
                        QStringList{choice.title, choice.filter, choice.defaultExtension, choice.proposedName}
                            .join(QLatin1Char('|'))
                            .toStdString());
        if (answers.empty()) return false;
        *path = answers.front();
        answers.pop_front();
        return !path->isEmpty();
    }
};

}  // namespace quillorytest

#endif
