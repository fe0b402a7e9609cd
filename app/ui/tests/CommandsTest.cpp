// The main frame's commands: the menu and toolbar as the user sees them, the
// CSV conversion, and the documents of the Help menu.
#include <QAction>
#include <QDesktopServices>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>

#include "CAboutDlg.h"
#include "PlatformPaths.h"
#include "ProgramFixture.h"
#include "StringTable.h"

namespace {

using namespace quillory;
using quillorytest::ProgramTest;

struct Item {
    const char* text;  // "-" for a separator
    int id;
    const char* prompt;
    bool enabled;  // while no transfer runs
};

// Every item with its status-bar prompt, and whether its feature exists yet.
const std::vector<std::pair<const char*, std::vector<Item>>> kMenus = {
    {"&File",
     {{"&Send data file...", 32781, "Sends a data file to the QV7E printer", false},
      {"&Get data file...", 32782, "Saves a data file from the QV7E printer to the PC", false},
      {"&Send label file...", 32784, "Sends a label file to the QV7E printer", false},
      {"&Get label file...", 32786, "Saves a label file from the QV7E printer to the PC", false},
      {"-", 0, nullptr, false},
      {"&Send file set...", 32810, "Sends a set of files to the QV7E printer", false},
      {"&Get all files...", 32811, "Gets all files from the QV7E printer", false},
      {"-", 0, nullptr, false},
      {"&Download symbol...", 32828, "Download a symbol to the QV7E printer", false},
      {"Get sym&bol...", 32829, "Save a symbol from the QV7E printer to the PC", false},
      {"-", 0, nullptr, false},
      {"Convert CSV to DAT...", 32820, "Converts a comma-seperated value file to an QV7E data file", true},
      {"-", 0, nullptr, false},
      {"E&xit", 57665, "Quit the application; prompts to save documents", true}}},
    {"&Firmware",
     {{"&Upgrade firmware...", 32773, "Upgrades the QV7E firmware", false},
      {"&Get current firmware...", 32774, "Retrieves the current firmware from the QV7E", false}}},
    {"&View",
     {{"&Toolbar", 59392, "Show or hide the toolbar", true},
      {"&Status Bar", 59393, "Show or hide the status bar", true},
      {"-", 0, nullptr, false},
      {"&Refresh", 32779, "Refreshes the QV7 file listing.", true}}},
    {"&Help",
     {{"&Help Topics", 57667, "List Help topics", true},
      {"&Read Me", 32823, "Link to the ReadMe file.", true},
      {"R&egister", 32824, "Register.", true},
      {"QV7E &Operator's  Manual", 32825, "Open QV7E Operator's Manual.", true},
      {"QV7E Quick Ref. Card", 32826, "Open QV7E Quick Ref. Card.", true},
      {"Orvale Website", 32827, nullptr, true},
      {"-", 0, nullptr, false},
      {"&About Quillory...", 57664, "Display program information, version number and copyright", true}}},
};

class Commands : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        Start();
    }
};

TEST_F(Commands, TheMenuHoldsEveryItemWithItsIdAndPrompt) {
    const QList<QAction*> menus = frame()->menuBar()->actions();
    ASSERT_EQ(menus.size(), static_cast<qsizetype>(kMenus.size()));
    for (size_t m = 0; m < kMenus.size(); ++m) {
        EXPECT_EQ(menus[m]->text(), kMenus[m].first);
        const QList<QAction*> items = menus[m]->menu()->actions();
        const std::vector<Item>& expected = kMenus[m].second;
        ASSERT_EQ(items.size(), static_cast<qsizetype>(expected.size())) << kMenus[m].first;
        for (size_t i = 0; i < expected.size(); ++i) {
            const Item& want = expected[i];
            SCOPED_TRACE(want.text);
            if (want.id == 0) {
                EXPECT_TRUE(items[i]->isSeparator());
                continue;
            }
            EXPECT_EQ(items[i]->text(), want.text);
            EXPECT_EQ(items[i]->data().toInt(), want.id);
            EXPECT_EQ(items[i], frame()->action(want.id));
            if (want.prompt) {
                EXPECT_EQ(items[i]->statusTip(), want.prompt);
            }
            EXPECT_FALSE(items[i]->statusTip().isEmpty());
            EXPECT_EQ(items[i]->isEnabled(), want.enabled);
        }
    }
    EXPECT_EQ(frame()->action(ID_VIEW_REFRESH)->shortcut(), QKeySequence(Qt::Key_F5));
    EXPECT_EQ(frame()->action(ID_VIEW_REFRESH)->toolTip(), "Refresh");
    EXPECT_EQ(frame()->action(ID_HELP)->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_EQ(frame()->action(ID_CONTEXT_HELP)->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_F1));
}

TEST_F(Commands, TheToolbarKeepsItsOrderAndTheStatusBarItsPanes) {
    std::vector<int> buttons;
    for (QAction* action : frame()->toolBar()->actions()) {
        buttons.push_back(action->isSeparator() ? 0 : action->data().toInt());
        if (!action->isSeparator()) {
            EXPECT_FALSE(action->icon().isNull()) << action->data().toInt();
        }
    }
    EXPECT_EQ(buttons, (std::vector<int>{32781, 32782, 0, 32784, 32786, 0, 32828, 32829, 0, 32773, 0, 32774, 0,
                                         57664}));
    EXPECT_EQ(frame()->toolBarArea(frame()->toolBar()), Qt::TopToolBarArea);
    EXPECT_TRUE(frame()->toolBar()->isMovable());

    const QList<QLabel*> panes = frame()->statusBar()->findChildren<QLabel*>();
    ASSERT_EQ(panes.size(), 4);
    EXPECT_EQ(panes[0]->text(), "For Help, press F1");
    const char* indicators[] = {"CAP", "NUM", "SCRL"};
    for (int i = 1; i < 4; ++i) {
        const QString indicator = indicators[i - 1];
        EXPECT_TRUE(panes[i]->text().isEmpty() || panes[i]->text() == indicator) << i;
        // A pane keeps its width while its lock is off and it stands blank.
        EXPECT_GT(panes[i]->minimumWidth(), panes[i]->fontMetrics().horizontalAdvance(indicator)) << i;
    }

    frame()->SendCommand(ID_VIEW_TOOLBAR);
    EXPECT_FALSE(frame()->toolBar()->isVisible());
    EXPECT_FALSE(frame()->action(ID_VIEW_TOOLBAR)->isChecked());
    frame()->SendCommand(ID_VIEW_STATUS_BAR);
    EXPECT_FALSE(frame()->statusBar()->isVisible());
    frame()->SendCommand(ID_VIEW_TOOLBAR);
    EXPECT_TRUE(frame()->toolBar()->isVisible());
}

TEST_F(Commands, ConvertCsvAsksForBothFilesThenWritesTheDataFile) {
    QFile csv(Path("Price list.csv"));
    ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
    csv.write("Apples,1.20,kg\r\nPears,0.95,kg\r\n");
    csv.close();
    files.answers = {csv.fileName(), Path("prices.dat")};

    frame()->SendCommand(ID_FILE_CONVERT_CSV);
    EXPECT_EQ(files.asked,
              (std::vector<std::string>{
                  "open Select CSV file to convert.|Comma-seperated value files (*.csv)|*.csv|||csv|",
                  "save Select target DAT file.|QV7 data files (*.dat)|*.dat|||dat|Price list"}));
    QFile written(Path("prices.dat"));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray bytes = written.readAll();
    EXPECT_EQ(bytes.size(), 26536);
    EXPECT_TRUE(bytes.contains("Apples"));
    EXPECT_TRUE(bytes.contains("Pears"));
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(Commands, ConvertCsvStopsAtEitherCancelAndReportsAnUnreadableFile) {
    frame()->SendCommand(ID_FILE_CONVERT_CSV);
    EXPECT_EQ(files.asked.size(), 1u) << "cancelling the CSV choice ends the command";

    files.asked.clear();
    files.answers = {Path("a.csv"), QString()};
    frame()->SendCommand(ID_FILE_CONVERT_CSV);
    EXPECT_EQ(files.asked.size(), 2u);
    EXPECT_TRUE(prompt.shown.empty());

    files.answers = {Path("missing.csv"), Path("out.dat")};
    frame()->SendCommand(ID_FILE_CONVERT_CSV);
    ASSERT_EQ(prompt.Texts(), (std::vector<std::string>{"Error opening CSV file."}));
    EXPECT_FALSE(QFile::exists(Path("out.dat")));
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

TEST_F(Commands, TheHelpMenuOpensTheDocumentsBesideTheInstallation) {
    OpenedUrls opened;
    for (int id : {ID_HELP_READ_ME, ID_HELP_OPERATORS_MANUAL, ID_HELP_QUICK_REFERENCE, ID_HELP_FINDER, ID_HELP}) {
        frame()->SendCommand(id);
    }
    const QString documents = PlatformPaths::InstallPrefix() + "/share/doc/quillory/";
    EXPECT_EQ(opened.urls, (QStringList{documents + "README.txt", documents + "QV7E Operators Manual.pdf",
                                        documents + "QV7 Quick Reference Card.pdf", documents + "Quillory.html",
                                        documents + "Quillory.html"}));

    opened.urls.clear();
    frame()->SendCommand(ID_HELP_REGISTER);
    frame()->SendCommand(ID_HELP_WEBSITE);
    ASSERT_EQ(opened.urls.size(), 2);
    EXPECT_TRUE(opened.urls[0].startsWith("https://"));
    EXPECT_TRUE(opened.urls[1].startsWith("https://"));
    EXPECT_NE(opened.urls[0], opened.urls[1]);
    EXPECT_TRUE(frame()->action(ID_HELP_WEBSITE)->statusTip().contains(QUrl(opened.urls[1]).host()))
        << "the Website prompt names the address it opens";
}

TEST(AboutBox, ShowsTheVersionAndTheFirmwareItWasMadeFor) {
    CAboutDlg about(nullptr);
    EXPECT_EQ(about.windowTitle(), "About Quillory");
    QStringList texts;
    for (QLabel* label : about.findChildren<QLabel*>()) {
        if (!label->text().isEmpty()) texts << label->text();
    }
    EXPECT_TRUE(texts.contains("Quillory Version 2.1.3"));
    EXPECT_TRUE(texts.contains("Firmware  OS309, OS215 Boot132"));
}

}  // namespace

#include "CommandsTest.moc"
