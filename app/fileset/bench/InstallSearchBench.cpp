// How long the install search takes over a tree of many folders, against
// `find DIR -name Quillory` on the same tree in the same run.
//   install_search_bench [FOLDERS] [SCRATCH]   (default 100000, the system's temporary folder)
// The installation (bin/Quillory, executable, and share/quillory/ with the
// file set schema) sits in the last folder the search visits, so both walk
// the whole tree. Each is run five times; the best time of each is compared.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "CInstallLookup.h"
#include "FileSetDocument.h"
#include "PromptPort.h"

namespace {

class SilentPrompt : public quillory::PromptPort {
public:
    quillory::MessageAnswer ShowMessage(const QString&, quillory::MessageIcon, quillory::MessageButtons) override {
        return quillory::MessageAnswer::Ok;
    }
};

// Ten folders per level, four levels deep, until the count is reached: wide
// and deep enough that neither walk profits from a lucky order.
int MakeTree(const QString& root, int folders) {
    int made = 0;
    QStringList level{root};
    while (made < folders) {
        QStringList next;
        for (const QString& parent : level) {
            for (int i = 0; i < 10 && made < folders; ++i, ++made) {
                const QString child = parent + QStringLiteral("/d%1").arg(i);
                QDir().mkdir(child);
                next << child;
            }
        }
        level = next;
    }
    return made;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int folders = argc > 1 ? std::atoi(argv[1]) : 100000;
    QTemporaryDir scratch(argc > 2 ? QString::fromLocal8Bit(argv[2]) + "/install-search-XXXXXX"
                                   : QDir::tempPath() + "/install-search-XXXXXX");
    if (!scratch.isValid()) return 1;
    const QString root = scratch.filePath("tree");
    QDir().mkdir(root);
    std::printf("making %d folders...\n", MakeTree(root, folders));

    // The program file in the folder the depth-first walk reaches last.
    QString last = root;
    while (true) {
        const QStringList children = QDir(last).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Unsorted);
        if (children.isEmpty()) break;
        last += '/' + children.back();
    }
    // Only a real installation ends the search: an executable program with
    // the schema in ../share/quillory beside it.
    QDir installation(last);
    QFile schema(last + "/share/quillory/" + quillory::kFileSetSchemaName);
    QFile program(last + "/bin/" + quillory::CInstallLookup::ProgramFileName());
    if (!installation.mkpath("share/quillory") || !installation.mkpath("bin") || !schema.open(QIODevice::WriteOnly) ||
        !program.open(QIODevice::WriteOnly) ||
        !program.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner)) {
        return 1;
    }
    schema.close();
    program.close();

    SilentPrompt prompt;
    qint64 searchBest = -1, findBest = -1;
    QString found;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer timer;
        timer.start();
        quillory::CInstallLookup lookup(prompt, [&] { return QStringList{root}; });
        lookup.SearchFixedDrives();
        const qint64 search = timer.nsecsElapsed();
        found = lookup.installDirectory();

        timer.restart();
        QProcess find;
        find.start("find", {root, "-name", quillory::CInstallLookup::ProgramFileName()});
        find.waitForFinished(-1);
        const qint64 findTime = timer.nsecsElapsed();
        searchBest = searchBest < 0 ? search : std::min(searchBest, search);
        findBest = findBest < 0 ? findTime : std::min(findBest, findTime);
    }
    std::printf("found: %s\n", qPrintable(found));
    std::printf("install search: %.1f ms, find: %.1f ms, ratio search/find: %.2f\n", searchBest / 1e6,
                findBest / 1e6, static_cast<double>(searchBest) / static_cast<double>(findBest));
    return found.isEmpty() ? 1 : 0;
}
