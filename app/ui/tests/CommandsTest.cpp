// The main frame's commands: the menu and toolbar as the user sees them, the
// CSV conversion, and the documents of the Help menu.
#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>

#include "PlatformPaths.h"
#include "ProgramFixture.h"
#include "StringTable.h"

namespace {

using namespace quillory;
class Commands : public quillorytest::RunningProgramTest {};

TEST_F(Commands, ConvertCsvStopsAtEitherCancelOrAsksForBothFilesAndWritesTheDataFile) {
    frame()->SendCommand(ID_FILE_CONVERT_CSV);
    EXPECT_EQ(files.asked.size(), 1u) << "cancelling the CSV choice ends the command";
    files.answers = {Path("missing.csv"), QString()};
    frame()->SendCommand(ID_FILE_CONVERT_CSV);
    EXPECT_EQ(files.asked.size(), 3u);
    EXPECT_TRUE(prompt.shown.empty()) << "nothing is read before the data file is chosen";

    WritePrinterFile("../Price list.csv", "Apples,1.20,kg\r\nPears,0.95,kg\r\n");
    files.asked.clear();
    files.answers = {Path("Price list.csv"), Path("prices.dat")};
    frame()->SendCommand(ID_FILE_CONVERT_CSV);
    ASSERT_EQ(files.asked.size(), 2u);
    EXPECT_TRUE(files.asked[1].ends_with("|Price list")) << "the data file is proposed under the CSV file's name";
    EXPECT_TRUE(Read(Path("prices.dat")).contains("Pears"));
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(Commands, SaveAsCsvWritesTheSelectedDataSlotsRecords) {
    view()->setCurrentItem(folderItem(FileKind::Data)->child(1));
    files.answers = {Path("stock.csv")};
    frame()->SendCommand(ID_SAVE_SLOT_DATA_AS_CSV);
    EXPECT_TRUE(Read(Path("stock.csv")).startsWith("A-0101,Hex bolt M6x30,250,Aisle 1,Bin 4\r\n"));
    EXPECT_TRUE(prompt.shown.empty());
}

// Records what the program asks the desktop to open.
class OpenedUrls : public QObject {
    Q_OBJECT
public:
    OpenedUrls() {
        for (const char* scheme : {"file", "https"}) QDesktopServices::setUrlHandler(scheme, this, "Open");
    }
    ~OpenedUrls() override {
        for (const char* scheme : {"file", "https"}) QDesktopServices::unsetUrlHandler(scheme);
    }
    QStringList urls;

public slots:
    void Open(const QUrl& url) { urls << (url.isLocalFile() ? url.toLocalFile() : url.toString()); }
};

TEST_F(Commands, TheHelpMenuOpensTheDocumentsBesideTheInstallationAndSaysWhichOneIsMissing) {
    PlatformRoots roots;
    roots.installPrefix = Path("prefix");
    PlatformPaths::SetRoots(roots);
    const QString documents = Path("prefix") + "/share/doc/quillory/";
    QDir().mkpath(documents);
    for (const char* name : {"README.txt", "QV7E Operators Manual.pdf", "Quillory.html"}) {
        QFile(documents + name).open(QIODevice::WriteOnly);
    }
    OpenedUrls opened;
    for (int id : {ID_HELP_READ_ME, ID_HELP_OPERATORS_MANUAL, ID_HELP_QUICK_REFERENCE, ID_HELP_FINDER, ID_HELP}) {
        frame()->SendCommand(id);
    }
    PlatformPaths::SetRoots({});
    EXPECT_EQ(opened.urls, (QStringList{documents + "README.txt", documents + "QV7E Operators Manual.pdf",
                                        documents + "Quillory.html", documents + "Quillory.html"}));
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].text,
              ("Cannot open " + documents + "QV7 Quick Reference Card.pdf: the file is not there.").toStdString());
    EXPECT_EQ(prompt.shown[0].icon, MessageIcon::Exclamation);

    opened.urls.clear();
    frame()->SendCommand(ID_HELP_REGISTER);
    frame()->SendCommand(ID_HELP_WEBSITE);
    ASSERT_EQ(opened.urls.size(), 2);
    EXPECT_TRUE(opened.urls[0].startsWith("https://") && opened.urls[1].startsWith("https://"));
}

}  // namespace

#include "CommandsTest.moc"
