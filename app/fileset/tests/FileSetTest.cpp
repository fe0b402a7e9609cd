// Send file set and get all files over a virtual printer, with the schema
// the build ships and the dialogs answered from a script.
#include <sys/stat.h>

#include <xercesc/util/PlatformUtils.hpp>

#include <deque>

#include <xercesc/framework/MemBufInputSource.hpp>

#include "FileSetOperations.h"
#include "FileSetForms.h"
#include "FileSetLimits.h"
#include "VirtualPrinterService.h"

namespace {

using namespace quillory;
using quillorytest::ShownMessage;
const char kOverwrite[] = "This may overwrite files in this directory!  Continue?";

class XercesEnvironment : public ::testing::Environment {
public:
    void SetUp() override { xercesc::XMLPlatformUtils::Initialize(); }
    void TearDown() override { xercesc::XMLPlatformUtils::Terminate(); }
};
[[maybe_unused]] const auto* const kXerces = ::testing::AddGlobalTestEnvironment(new XercesEnvironment);

// Presses OK with each text in turn until the form takes one; then Cancel.
class ScriptedFileSetDialogs : public FileSetDialogPort {
public:
    bool RunSendFileSetDialog(SendFileSetForm& form, QWidget*) override { return Play(form); }
    bool RunGetAllFilesDialog(GetAllFilesForm& form, QWidget*) override { return Play(form); }
    std::deque<QString> presses;

private:
    template <typename Form>
    bool Play(Form& form) {
        while (!presses.empty()) {
            const QString text = presses.front();
            presses.pop_front();
            if (form.Accept(text)) return true;
        }
        return false;
    }
};

const char kSent[] = "File set sent sucessfully!";
const char kSendFailed[] = "An error occurred sending the file set!";
const char kInvalid[] = "Selected file set definition file is invalid!";
const char kAllReceived[] = "All files received successfully!";

class FileSets : public quillorytest::VirtualPrinterService {
protected:
    void SetUp() override {
        VirtualPrinterService::SetUp();
        MachineSettingsFile("dir=" QUILLORY_TEST_PROGRAM_DIR "\n");
        QDir().mkpath(Path("out"));
    }

    void EmptyPrinter() {
        for (const char* type : {"DAT", "QV7", "MAP"}) {
            QDir kindFolder(Path(QStringLiteral("printer/slots/") + type));
            for (const QString& name : kindFolder.entryList(QDir::Files)) kindFolder.remove(name);
        }
        ASSERT_TRUE(service.RebuildCatalog());
    }
    static QByteArray DataFile(char fill) {
        QByteArray bytes(40, fill);
        bytes[kDataFileMarkerOffset] = static_cast<char>(kDataFileMarker);
        return bytes;
    }
    static QByteArray Definition(const QByteArray& files) {
        return "<?xml version=\"1.0\"?>\n<quilloryFileSet xmlns=\"urn:orvale:quillory:fileset:1\">" + files +
               "</quilloryFileSet>\n";
    }
    static QByteArray File(const QByteArray& type, const QString& path, const QByteArray& slot) {
        return "<file xmlns=\"\"><type>" + type + "</type><path>" + path.toUtf8() + "</path><slot>" + slot +
               "</slot></file>";
    }
    bool SendSet(const QString& definition) {
        dialogs.presses = {definition};
        return sets.SendFileSet(dialogs, *settings, nullptr);
    }
    std::vector<std::string> WindowsCreated() const {
        std::vector<std::string> created;
        for (const std::string& entry : windows.log) {
            // "Sending data", "Receiving label": the kind and direction of each job.
            if (entry.rfind("create ", 0) == 0) {
                const std::string text = entry.substr(entry.find('|') + 1);
                created.push_back(text.substr(0, text.find(" file")));
            }
        }
        return created;
    }

    FileSetOperations sets{service};
    ScriptedFileSetDialogs dialogs;
};

TEST_F(FileSets, ReaderSendsWhatAValidDefinitionListsAndNothingFromAnInvalidOne) {
    const QString data = Path(QString::fromUtf8("Ann's files für 2025/prices.dat"));
    const QString label = Path("ship.qv7");
    Write(data, DataFile('d'));
    Write(label, "label bytes");
    const QString missing = Path("missing.dat");
    // A definition may point at nothing outside itself but the installed schema.
    const QString otherSchema = Path("other.xsd");
    Write(otherSchema, "<xs:schema xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" targetNamespace=\"urn:other\"/>");
    const QByteArray hint = "quilloryFileSet xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
                            "xsi:schemaLocation=\"urn:other file://" + otherSchema.toUtf8() + "\"";
    const QString pipe = Path("never-written");
    ASSERT_EQ(mkfifo(pipe.toUtf8().constData(), 0600), 0);
    // A hint for the file set namespace itself is passed over: were the pipe
    // opened, the send would wait for a writer for ever.
    const QByteArray ownHint = "quilloryFileSet xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
                               "xsi:schemaLocation=\"urn:orvale:quillory:fileset:1 " + pipe.toUtf8() + "\"";
    const QByteArray entity = "<!DOCTYPE quilloryFileSet [<!ENTITY e SYSTEM \"file://" + pipe.toUtf8() + "\">]>\n<";
    struct Row {
        const char* situation;
        QByteArray document;
        std::vector<std::string> messages;
        std::vector<std::string> windows;  // the transfer text of each job
        QByteArray data3;                  // data slot 3 afterwards ("" for unchanged)
    };
    const std::vector<std::string> invalid{kInvalid, kSendFailed};
    const Row rows[] = {
        {"data then label, in document order",
         Definition(File("data", data, "3") + File("label", label, "2")),
         {kSent},
         {"Sending data", "Sending label"},
         DataFile('d')},
        {"an unknown kind is skipped", Definition(File("symbol", label, "1") + File("data", data, "03")), {kSent},
         {"Sending data"}, DataFile('d')},
        {"a missing file fails the set, the others still go",
         Definition(File("data", missing, "1") + File("data", data, "3")),
         {kSendFailed},
         {"Sending data"},
         DataFile('d')},
        {"not well-formed", Definition(File("data", data, "3")).replace("</path>", ""), invalid, {}, ""},
        {"a slot past 255 would wrap into another", Definition(File("data", data, "259")), invalid, {}, ""},
        {"a hint at another schema", Definition(File("data", data, "3")).replace("<quilloryFileSet", "<" + hint),
         invalid, {}, ""},
        {"a hint at another file for the file set namespace",
         Definition(File("data", data, "3")).replace("<quilloryFileSet", "<" + ownHint), {kSent}, {"Sending data"},
         DataFile('d')},
        {"an entity that is a pipe nobody writes", Definition("&e;").replace("\n<", "\n" + entity), invalid, {}, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.situation);
        prompt.shown.clear();
        windows.log.clear();
        const QByteArray before = SlotBytes("DAT", 3);
        Write(Path("set.fsd"), row.document);
        EXPECT_EQ(SendSet(Path("set.fsd")), row.messages.back() == kSent);
        EXPECT_EQ(prompt.Texts(), row.messages);
        EXPECT_EQ(WindowsCreated(), row.windows);
        EXPECT_EQ(SlotBytes("DAT", 3), row.data3.isEmpty() ? before : row.data3);
        EXPECT_FALSE(service.IsTransferInProgress());
    }
    EXPECT_EQ(settings->GetProfileString(setting::kFileSetUploadPath, ""), Path("set.fsd"));
}

TEST_F(FileSets, WithoutTheSchemaOrFromAPipeEveryDefinitionIsInvalid) {
    ASSERT_EQ(mkfifo(Path("pipe.fsd").toUtf8().constData(), 0600), 0);
    EXPECT_FALSE(SendSet(Path("pipe.fsd")));
    MachineSettingsFile("dir=" + Path("nowhere/bin").toUtf8() + "\n");
    Write(Path("set.fsd"), Definition(""));
    EXPECT_FALSE(SendSet(Path("set.fsd")));
    EXPECT_EQ(prompt.Texts(), (std::vector<std::string>{kInvalid, kSendFailed, kInvalid, kSendFailed}));
}

// Far more than anyone lists is refused with its own words: by its size
// before it is parsed, by its entries as soon as the parse counts one too
// many. Nesting past any valid shape stops the parse there.
TEST_F(FileSets, DefinitionsPastTheLimitsAreRefusedWithTheirReason) {
    const QByteArray entry = "<file xmlns=\"\"><type>other</type><path>x</path><slot>1</slot></file>";
    QByteArray padded = Definition("");
    padded.insert(padded.indexOf("<quilloryFileSet"), QByteArray(kLargestDefinitionBytes + 1 - padded.size(), ' '));
    const std::pair<QByteArray, std::vector<std::string>> rows[] = {
        {Definition(entry.repeated(kMostDefinitionEntries)), {kSent}},
        {Definition(entry.repeated(kMostDefinitionEntries + 1)), {kDefinitionTooManyEntries, kSendFailed}},
        {padded, {kDefinitionTooLarge, kSendFailed}},
    };
    for (const auto& [document, messages] : rows) {
        prompt.shown.clear();
        Write(Path("set.fsd"), document);
        SendSet(Path("set.fsd"));
        EXPECT_EQ(prompt.Texts(), messages) << document.size() << " bytes";
    }

    const QByteArray deep = QByteArray("<a>").repeated(kDeepestDefinitionNesting + 1);
    xercesc::MemBufInputSource source(reinterpret_cast<const XMLByte*>(deep.constData()), deep.size(), u"deep");
    BoundedDefinitionParser parser;
    EXPECT_FALSE(parser.ParseWithinBounds(source));
    EXPECT_EQ(parser.bound(), BoundedDefinitionParser::Bound::TooDeep);
}

// A link planted under the definition's name is replaced, never followed.
TEST_F(FileSets, GetAllNamesEachFileAfterItsSlotAndListsItInTheDefinition) {
    EmptyPrinter();
    StoreSlot("DAT", 2, "PRICES", DataFile('p'));
    StoreSlot("QV7", 12, "SHIP", "ship label");
    ASSERT_TRUE(service.RebuildCatalog());

    // A link planted under the definition's name is replaced, never followed.
    Write(Path("victim.txt"), "the user's");
    ASSERT_TRUE(QFile::link(Path("victim.txt"), Path("out/allFiles.fsd")));

    prompt.answers = {MessageAnswer::No, MessageAnswer::Yes};
    dialogs.presses = {Path("out"), Path("out") + "/"};
    sets.GetAllFiles(dialogs, *settings, nullptr);
    EXPECT_EQ(prompt.shown, (std::vector<ShownMessage>{
                                {kOverwrite, MessageIcon::None, MessageButtons::YesNo},
                                {kOverwrite, MessageIcon::None, MessageButtons::YesNo},
                                {kAllReceived, MessageIcon::Information, MessageButtons::Ok}}));
    EXPECT_EQ(Read(Path("out/2_PRICES.dat")), DataFile('p'));
    EXPECT_EQ(Read(Path("out/12_SHIP.qv7")), "ship label");
    EXPECT_EQ(settings->GetProfileString(setting::kDownloadAllPath, ""), Path("out"));
    EXPECT_EQ(Read(Path("victim.txt")), "the user's");
    EXPECT_FALSE(QFileInfo(Path("out/allFiles.fsd")).isSymLink());
    const QByteArray written = Read(Path("out/allFiles.fsd"));
    const qsizetype data = written.indexOf(">data<"), label = written.indexOf(">label<");
    EXPECT_NE(data, -1);
    EXPECT_LT(data, label);
    EXPECT_LT(data, written.indexOf(">" + Path("out/2_PRICES.dat").toUtf8() + "</path>"));
    EXPECT_LT(label, written.indexOf(">" + Path("out/12_SHIP.qv7").toUtf8() + "</path>"));
    EXPECT_LT(label, written.indexOf(">12</slot>"));
}

TEST_F(FileSets, RoundTripFromARelativeFolderToAnEmptiedPrinterWithTheInstallationUnderAnyFolderName) {
    // An installation whose folder a file URI could name only percent-encoded.
    const QString prefix = Path(QString::fromUtf8("Zoë Programs/usr"));
    Write(prefix + "/share/quillory/quilloryFileSet.xsd",
          Read(QUILLORY_TEST_PROGRAM_DIR "/../share/quillory/quilloryFileSet.xsd"));
    MachineSettingsFile("dir=" + prefix.toUtf8() + "/bin\n");
    const QString folder = QString::fromUtf8("Fetched ünïcode");
    QDir().mkpath(Path("out/" + folder));
    const QByteArray data1 = SlotBytes("DAT", 1), data2 = SlotBytes("DAT", 2), label1 = SlotBytes("QV7", 1);

    // Fetched into a folder named relative to where the command was given,
    // sent from somewhere else.
    const QString started = QDir::currentPath();
    QDir::setCurrent(Path("out"));
    const bool fetched = sets.WriteAllFilesDefinition(folder, nullptr);
    QDir::setCurrent(Path("printer"));
    EmptyPrinter();
    const bool sent = SendSet(Path("out/" + folder + "/allFiles.fsd"));
    QDir::setCurrent(started);

    EXPECT_TRUE(fetched);
    EXPECT_TRUE(sent);
    EXPECT_EQ(prompt.Texts(), std::vector<std::string>{kSent});
    EXPECT_EQ(SlotBytes("DAT", 1), data1);
    EXPECT_EQ(SlotBytes("DAT", 2), data2);
    EXPECT_EQ(SlotBytes("QV7", 1), label1);
}

// A run that falls short says which files and why, and lists what came
// under a name of its own: the definition of an earlier run stays whole.
TEST_F(FileSets, AFailedDataFileStopsTheLabelsAndOneThatFailsTwiceThenSucceedsCountsAsFetched) {
    Write(Path("out/allFiles.fsd"), "an earlier run's definition");
    Write(Path("printer/faults.txt"), "download-fails\n");
    EXPECT_FALSE(sets.ReceiveAndReport(Path("out"), nullptr));
    const std::vector<std::string> created = WindowsCreated();
    ASSERT_FALSE(created.empty());
    EXPECT_EQ(created.size() % kReceiveTries, 0u);
    for (const std::string& text : created) EXPECT_EQ(text, "Receiving data");
    EXPECT_EQ(Read(Path("out/allFiles.fsd")), "an earlier run's definition");
    EXPECT_EQ(Read(Path("out/allFiles.incomplete.fsd")).indexOf("<file"), -1) << "it lists only what came";
    ASSERT_EQ(prompt.Texts().size(), 1u);
    const std::string summary = prompt.Texts().front();
    EXPECT_EQ(summary.rfind("One or more errors occurred while receiving files.\n"
                            "1_PRICES.dat: File Download Error\n",
                            0),
              0u)
        << summary;
    EXPECT_NE(summary.find("allFiles.fsd was not replaced"), std::string::npos) << summary;
    EXPECT_FALSE(service.IsTransferInProgress());

    EmptyPrinter();
    StoreSlot("DAT", 2, "PRICES", DataFile('p'));
    ASSERT_TRUE(service.RebuildCatalog());
    windows.log.clear();
    windows.onPump = [&] {
        if (WindowsCreated().size() == 3) QFile::remove(Path("printer/faults.txt"));
    };
    EXPECT_TRUE(sets.WriteAllFilesDefinition(Path("out"), nullptr));
    EXPECT_EQ(WindowsCreated().size(), 3u);
    EXPECT_EQ(Read(Path("out/2_PRICES.dat")), DataFile('p'));
    EXPECT_NE(Read(Path("out/allFiles.fsd")).indexOf("2_PRICES.dat"), -1);
    EXPECT_FALSE(QFile::exists(Path("out/allFiles.incomplete.fsd")));
}

// The catalogue is read on one connection, each file fetched on another:
// a file stored in between must not be saved under the old file's name.
TEST_F(FileSets, ASlotChangedSinceTheListWasReadIsNotSavedUnderItsOldName) {
    StoreSlot("DAT", 1, "STOCK", SlotBytes("DAT", 2));
    EXPECT_FALSE(sets.WriteAllFilesDefinition(Path("out"), nullptr));
    EXPECT_FALSE(QFile::exists(Path("out/1_PRICES.dat")));
    EXPECT_EQ(Read(Path("out/2_STOCK.dat")), SlotBytes("DAT", 2));
    ASSERT_FALSE(sets.receiveFailures().isEmpty());
    EXPECT_NE(sets.receiveFailures().front().indexOf("STOCK"), -1);
}

TEST_F(FileSets, AnEmptyPrinterGivesAnEmptyDefinitionThatReadsBackAndANameThatIsNoFileNameIsNeverFetched) {
    EmptyPrinter();
    Write(Path("out/allFiles.fsd"), "an older definition");
    EXPECT_TRUE(sets.WriteAllFilesDefinition(Path("out"), nullptr));
    EXPECT_EQ(Read(Path("out/allFiles.fsd")).indexOf("<file"), -1);
    EXPECT_TRUE(sets.SendFileSetDefinition(Path("out/allFiles.fsd"), nullptr));
    EXPECT_TRUE(prompt.shown.empty());

    StoreSlot("QV7", 1, "../x", "escaping label");
    ASSERT_TRUE(service.RebuildCatalog());
    EXPECT_FALSE(sets.WriteAllFilesDefinition(Path("out"), nullptr));
    EXPECT_TRUE(WindowsCreated().empty());
    EXPECT_FALSE(QFile::exists(Path("x.qv7")));
}

TEST_F(FileSets, NothingStartsWhileATransferRuns) {
    TransferBusyGuard busy(service);
    dialogs.presses = {Path("out")};
    EXPECT_FALSE(sets.SendFileSet(dialogs, *settings, nullptr));
    sets.GetAllFiles(dialogs, *settings, nullptr);
    EXPECT_EQ(dialogs.presses.size(), 1u) << "no dialog opened";
    EXPECT_TRUE(prompt.shown.empty());
}

}  // namespace
