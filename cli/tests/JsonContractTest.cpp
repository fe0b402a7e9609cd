// qv7 --json as a script relies on it: one document on standard output, with
// the version of its shape, and the exit code the same command has without
// --json; and a printer that cannot be reached sends the user to qv7 doctor,
// whichever command reached for it.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "Commands.h"
#include "ProgramRun.h"
#include "TempFolder.h"

namespace {

using qv7test::Outcome;
using qv7test::ReadBytes;

constexpr char kDoctorHint[] = "'qv7 doctor' tells what stands in the way";

class Qv7Json : public ::testing::Test {
protected:
    void SetUp() override {
        // The file set schema lies beside the program in the build tree.
        std::ofstream(folder / "machine.conf") << "dir=" << QV7_BIN_DIR << "\n";
        std::filesystem::create_directory(folder / "images");
        std::filesystem::create_directory(folder / "all");
        std::ofstream(folder / "Shop.csv") << "Name,Price\r\nTea,2.50\r\n";
    }

    Outcome Qv7(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), QV7_PROGRAM);
        return qv7test::RunProgram(arguments, folder.path());
    }

    // The command with and without --json: the same exit code, and with it
    // stdout holds one document and nothing else.
    QJsonObject Document(const std::vector<std::string>& line) {
        std::string shown;
        for (const std::string& word : line) shown += " " + word;
        text = Qv7(line);
        std::vector<std::string> json = line;
        json.push_back("--json");
        const Outcome run = Qv7(json);
        EXPECT_EQ(run.code, text.code) << shown << ": " << run.err;
        QJsonParseError error{};
        const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(run.out), &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << shown << ": " << run.out;
        const QJsonObject object = document.object();
        EXPECT_EQ(object.value("qv7_json"), QJsonValue(1)) << shown;
        EXPECT_EQ(object.value("command").toString().toStdString(), line[0]) << shown;
        EXPECT_EQ(object.value("ok"), QJsonValue(run.code == 0)) << shown << ": " << run.err;
        return object;
    }

    Outcome text;  // the command's run without --json
    qv7test::TempFolder folder;
    qv7test::ScopedEnvironment environment{{"QUILLORY_DEVICE", "virtual:" + (folder / "printer")},
                                           {"XDG_DATA_HOME", folder / "data"},
                                           {"XDG_CONFIG_HOME", folder / "config"},
                                           {"QUILLORY_FIRMWARE_DIR", folder / "images"},
                                           {"QUILLORY_USB_ID", "ffff:7e07"},
                                           {"QUILLORY_MACHINE_SETTINGS", folder / "machine.conf"}};
};

TEST_F(Qv7Json, EveryCommandPrintsOneVersionedDocumentWithTheExitCodeOfItsText) {
    qv7test::WriteBytes(folder / "images/QV7E_200.bin", qv7test::Pattern(1048576));
    const std::vector<std::vector<std::string>> lines = {
        {"info"},
        {"list"},
        {"get", "data", "1", ".", "--yes"},
        {"get", "label", "3"},  // an empty slot
        {"send", "data", "6", "PRICES.dat"},
        {"convert", "Shop.csv"},
        {"convert", "missing.csv"},
        {"get-all", "all", "-y"},
        {"send-set", "all/allFiles.fsd"},
        {"firmware", "get", "firmware.bin", "--yes"},
        {"firmware", "backup", "--yes"},
        {"firmware", "upgrade", "--model", "QV7E", "--yes"},
        {"firmware", "restore", "firmware.bin", "--access-code", "mirabel", "--yes"},
        {"doctor"},
        {"doctor", "--candidates"},
        {"udev-rule"},
        {"paths"},
    };
    std::set<std::string> covered;
    for (const std::vector<std::string>& line : lines) {
        Document(line);
        covered.insert(line[0]);
    }
    for (const qv7cli::Command& command : qv7cli::AllCommands()) {
        EXPECT_EQ(covered.count(command.name), 1u) << "qv7 " << command.name << " --json is not tried";
    }

    // The printer gone: every command that reaches for it fails the same
    // way in both forms, and says where to turn.
    std::ofstream(folder / "printer/faults.txt") << "no-device\n";
    for (const std::vector<std::string>& line : std::vector<std::vector<std::string>>{
             {"info"},
             {"list"},
             {"get", "data", "1", ".", "--yes"},
             {"send", "data", "6", "PRICES.dat"},
             {"get-all", "all", "--yes"},
             {"send-set", "all/allFiles.fsd"},
             {"firmware", "get", "firmware.bin", "--yes"}}) {
        EXPECT_FALSE(Document(line).value("ok").toBool());
        EXPECT_NE(text.err.find(kDoctorHint), std::string::npos) << line[0] << ": " << text.err;
    }
}

TEST_F(Qv7Json, DocumentsCarryWhatThePrinterSaidAndWhereTheFilesWent) {
    ASSERT_EQ(Qv7({"list"}).code, 0);  // makes the printer
    std::ofstream(folder / "printer/printer.txt") << "driver-version 7\ntype DAT 16\ntype QV7 30\ntype MAP 10\n";
    const QJsonObject info = Document({"info"});
    EXPECT_EQ(info.value("driver_version"), QJsonValue(7));
    EXPECT_EQ(info.value("file_types").toArray().size(), 3);

    std::filesystem::create_directory(folder / "fetched");
    qv7test::WriteBytes(folder / "printer/slots/DAT/02.data", qv7test::Pattern(300));
    std::ofstream(folder / "printer/slots/DAT/02.name") << "STOCK\n";
    const QJsonObject got = Document({"get", "data", "2", "fetched", "--yes"});
    const std::filesystem::path path = std::filesystem::path(folder.path()) / got.value("path").toString().toStdString();
    EXPECT_EQ(path.filename(), "STOCK.dat");
    EXPECT_EQ(ReadBytes(path), qv7test::Pattern(300));
}

}  // namespace
