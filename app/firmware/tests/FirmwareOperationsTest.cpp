// The firmware commands over a virtual printer: the backup and what it keeps,
// the image the upgrade picks, the copy, the restore, and how each one ends
// when the printer or the files let it down.
#include <QSettings>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>

#include "FirmwareOperations.h"
#include "CPrinterService.h"
#include "FirmwareTexts.h"
#include "PlatformPaths.h"
#include "ScriptedFileChoice.h"
#include "ScriptedFirmwareChoices.h"
#include "ScriptedPorts.h"
#include "SettingsStore.h"
#include "StringTable.h"
#include "TempFolder.h"

namespace {

using namespace quillory;
using qv7test::Pattern;
using qv7test::ReadBytes;
using qv7test::WriteBytes;
using Bytes = std::vector<uint8_t>;

constexpr size_t kSize200 = 1048576;
constexpr size_t kSize300 = 1114112;

std::string Text(int id) {
    return LoadString(id).toStdString();
}

class Firmware : public ::testing::Test {
protected:
    void SetUp() override {
        qputenv("QUILLORY_DEVICE", ("virtual:" + folder / "printer").c_str());
        qunsetenv("QUILLORY_TRACE");
        qunsetenv("QUILLORY_FIRMWARE_DIR");
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(folder / "config"));
        PlatformPaths::SetRoots({QString::fromStdString(folder / "home"), QString::fromStdString(folder / "data"),
                                 QString::fromStdString(folder / "cache"), QString::fromStdString(folder / "prefix")});
        std::filesystem::create_directories(folder / "printer");
        std::filesystem::create_directories(ImageFolder());
        std::ofstream(folder / "printer/printer.txt") << "driver-version 3\ntype DAT 2\n";
        for (int generation : {1, 2}) {
            for (int model : {1, 2}) {
                WriteBytes(FirmwareImagePath(generation, model).toStdString(),
                           Pattern(generation == 1 ? kSize200 : kSize300, static_cast<uint8_t>(generation * 10 + model)));
            }
        }
    }
    void TearDown() override { PlatformPaths::SetRoots({}); }

    std::string ImageFolder() const { return folder / "prefix/share/quillory/QV7_Firmware"; }
    std::string Backup(int generation) const { return FirmwareBackupPath(generation).toStdString(); }
    std::string PrinterFirmware() const { return folder / "printer/firmware.bin"; }
    std::vector<std::string> BackupFolderEntries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder / "data/Quillory")) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }
    void Fault(const char* line) const { std::ofstream(folder / "printer/faults.txt") << line << "\n"; }

    qv7test::TempFolder folder;
    quillorytest::RecordingPrompt prompt;
    quillorytest::RecordingProgressWindows windows;
    quillorytest::ScriptedFileChoice files;
    quillorytest::ScriptedFirmwareChoices choices;
    CPrinterService service{prompt, windows};
    SettingsStore settings{QStringLiteral("Orvale"), QStringLiteral("Quillory")};
    FirmwareOperations firmware{service, files, choices, &settings};
};

TEST_F(Firmware, UpgradeKeepsOneBackupNamedAfterTheGenerationThenSendsTheImageOfModelAndGeneration) {
    struct Case {
        int generation;
        KeypadModel model;
        const char* image;
    };
    for (const Case& c :
         {Case{kGeneration300, kModelQV7EQ, "QV7EQ_300.bin"}, Case{kGeneration200, kModelQV7E, "QV7E_200.bin"}}) {
        const Bytes held = Pattern(c.generation == kGeneration200 ? kSize200 : kSize300, 99);
        WriteBytes(PrinterFirmware(), held);
        prompt.shown.clear();
        choices.model = c.model;
        EXPECT_TRUE(firmware.BackUpAndUpgrade(nullptr)) << c.image;
        EXPECT_EQ(ReadBytes(Backup(c.generation)), held);
        EXPECT_FALSE(std::filesystem::exists(Backup(3 - c.generation))) << "one backup, of the firmware held now";
        EXPECT_EQ(ReadBytes(PrinterFirmware()), ReadBytes(ImageFolder() + "/" + c.image));
        EXPECT_EQ(prompt.Texts().back(), Text(IDS_FIRMWARE_UPGRADE_DONE));
        EXPECT_EQ(windows.log.back(), "destroy");
    }
    EXPECT_FALSE(service.IsTransferInProgress());
    EXPECT_EQ(BackupFolderEntries(), std::vector<std::string>{"QV7_200_BK.bin"}) << "nothing else is left behind";
}

TEST_F(Firmware, UpgradeEndsQuietlyWithoutAModel) {
    const Bytes image = Pattern(kSize300, 5);
    WriteBytes(PrinterFirmware(), image);
    choices.model = kNoModel;
    EXPECT_FALSE(firmware.BackUpAndUpgrade(nullptr));
    EXPECT_EQ(ReadBytes(Backup(2)), image) << "the backup was taken before the model was asked";
    EXPECT_EQ(prompt.Texts().back(), firmwaretext::kBackupDone);
    EXPECT_EQ(ReadBytes(PrinterFirmware()), image);

    for (int generation : {kGenerationUnknown, kFetchFailed}) EXPECT_FALSE(firmware.UpgradeFirmware(nullptr, generation));
    EXPECT_EQ(choices.modelQuestions, 1) << "only generations 1 and 2 ask for a model";
}

// What killed runs leave: both generations (killed before the older was
// removed), an incoming backup of a process that is gone, and one by the
// name earlier versions used. The next backup run, even a failing one,
// keeps the newer backup only, as it was, and says why it failed.
TEST_F(Firmware, AFailedBackupFinishesWhatAKilledOneLeftAndKeepsTheOldBackupAsItWas) {
    WriteBytes(PrinterFirmware(), Pattern(kSize200, 3));
    const std::string backups = folder / "data/Quillory";
    std::filesystem::create_directories(backups);
    WriteBytes(Backup(1), Pattern(kSize200, 40));
    WriteBytes(Backup(2), Pattern(kSize300, 41));
    std::filesystem::last_write_time(Backup(1), std::filesystem::last_write_time(Backup(2)) - std::chrono::hours(1));
    WriteBytes(backups + "/.QV7_BK_incoming.bin", Pattern(kSize300, 42));
    EXPECT_EXIT(
        {
            WriteBytes(backups + "/.QV7_BK_incoming.bin.part-" + std::to_string(getpid()) + "-0", Pattern(10));
            std::raise(SIGKILL);
        },
        ::testing::KilledBySignal(SIGKILL), "");
    ASSERT_EQ(BackupFolderEntries().size(), 4u);
    Fault("short-read 1000 3");

    EXPECT_EQ(firmware.FetchFirmware(nullptr, kBackupBeforeUpgrade), kFetchFailed);
    EXPECT_THAT(prompt.shown.back().text, ::testing::StartsWith(Text(IDS_FIRMWARE_RECEIVE_FAILED) + "Read Failed, "));
    EXPECT_EQ(BackupFolderEntries(), std::vector<std::string>{"QV7_300_BK.bin"}) << "no half backup left behind";
    EXPECT_EQ(ReadBytes(Backup(2)), Pattern(kSize300, 41));
    EXPECT_TRUE(firmware.lastFetchedFile().isEmpty());
    EXPECT_FALSE(firmware.UpgradeFirmware(nullptr, kFetchFailed));
}

// The last good backup is the only one Restore can use: an unrecognised
// firmware is kept beside it and never replaces it.
TEST_F(Firmware, AnUnrecognisedFirmwareIsKeptApartFromTheGoodBackupAndNotUpgraded) {
    std::filesystem::create_directories(folder / "data/Quillory");
    WriteBytes(Backup(2), Pattern(kSize300, 41));
    WriteBytes(PrinterFirmware(), Pattern(4000, 8));
    choices.model = kModelQV7E;
    EXPECT_FALSE(firmware.BackUpAndUpgrade(nullptr));
    EXPECT_EQ(ReadBytes(folder / "data/Quillory/QV7_unrecognised_BK.bin"), Pattern(4000, 8));
    EXPECT_FALSE(std::filesystem::exists(Backup(1)));
    EXPECT_EQ(ReadBytes(Backup(2)), Pattern(kSize300, 41));
    EXPECT_EQ(prompt.Texts().back(), firmwaretext::kNotRecognised);
    EXPECT_EQ(choices.modelQuestions, 0);
    EXPECT_EQ(ReadBytes(PrinterFirmware()), Pattern(4000, 8));
}

TEST_F(Firmware, AnInstalledImageOfAnotherSizeThanItsGenerationsIsNeverSent) {
    WriteBytes(PrinterFirmware(), Pattern(kSize200, 3));
    choices.model = kModelQV7E;
    const std::string image = ImageFolder() + "/QV7E_200.bin";
    for (size_t size : {size_t{1}, kSize300}) {
        WriteBytes(image, Pattern(size, 7));
        prompt.shown.clear();
        EXPECT_FALSE(firmware.UpgradeFirmware(nullptr, kGeneration200)) << size;
        ASSERT_EQ(prompt.shown.size(), 1u);
        EXPECT_THAT(prompt.shown[0].text, ::testing::HasSubstr(image + " is " + std::to_string(size) + " bytes long"));
    }
    EXPECT_TRUE(windows.log.empty()) << "nothing was sent";
    EXPECT_EQ(ReadBytes(PrinterFirmware()), Pattern(kSize200, 3));
    EXPECT_FALSE(service.IsTransferInProgress());
}

TEST_F(Firmware, NoPrinterShowsTheConnectionTextWithTheLibrarysReason) {
    Fault("no-device");
    choices.model = kModelQV7E;
    const std::string expected = Text(IDS_FIRMWARE_CONNECT_FAILED) + "Invalid Device Instance";
    EXPECT_EQ(firmware.FetchFirmware(nullptr, kSaveToChosenFile), kFetchFailed);
    EXPECT_FALSE(firmware.UpgradeFirmware(nullptr, kGeneration200));
    files.answers = {QString::fromStdString(ImageFolder() + "/QV7E_200.bin")};
    EXPECT_FALSE(firmware.RestoreFirmware(nullptr));
    EXPECT_EQ(prompt.Texts().back(), expected);
    EXPECT_TRUE(windows.log.empty());
    EXPECT_FALSE(service.IsTransferInProgress());
}

TEST_F(Firmware, RestoreSendsTheChosenFileButRefusesOneThatCannotBeAnImage) {
    WriteBytes(PrinterFirmware(), Pattern(kSize200, 3));
    WriteBytes(folder / "empty.bin", Bytes{});
    for (const std::string& bad : {folder / "empty.bin", folder.path()}) {
        files.answers = {QString::fromStdString(bad)};
        prompt.shown.clear();
        EXPECT_FALSE(firmware.RestoreFirmware(nullptr));
        EXPECT_EQ(prompt.shown.back(), (quillorytest::ShownMessage{Text(IDS_FIRMWARE_UPGRADE_FAILED) +
                                                                       "Invalid file name:" + bad,
                                                                   MessageIcon::Stop, MessageButtons::Ok}));
    }
    EXPECT_TRUE(windows.log.empty()) << "nothing was sent";

    const QString image = QString::fromStdString(ImageFolder() + "/QV7EQ_300.bin");
    files.answers = {image};
    EXPECT_TRUE(firmware.RestoreFirmware(nullptr));
    EXPECT_EQ(ReadBytes(PrinterFirmware()), ReadBytes(image.toStdString()));
    EXPECT_EQ(settings.GetProfileString(setting::kFirmwareUpgradePath, QString()), image);

    choices.codeGiven = false;
    EXPECT_FALSE(firmware.RestoreFirmware(nullptr));
    EXPECT_EQ(files.asked.size(), 3u) << "no code, no file choice";
}

TEST_F(Firmware, NothingRunsWhileAnotherTransferHoldsTheService) {
    WriteBytes(PrinterFirmware(), Pattern(kSize200, 3));
    choices.model = kModelQV7E;
    {
        TransferBusyGuard running(service);
        EXPECT_EQ(firmware.FetchFirmware(nullptr, kBackupBeforeUpgrade), kGenerationUnknown);
        EXPECT_FALSE(firmware.UpgradeFirmware(nullptr, kGeneration200));
        EXPECT_FALSE(firmware.RestoreFirmware(nullptr));
    }
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_TRUE(windows.log.empty());
    EXPECT_TRUE(files.asked.empty());
    EXPECT_EQ(choices.codeQuestions, 1) << "the access code comes before the busy check";
    EXPECT_EQ(ReadBytes(PrinterFirmware()), Pattern(kSize200, 3));
}

TEST_F(Firmware, GetCurrentFirmwareProposesTheDriverVersionAndACancelEndsQuietly) {
    WriteBytes(PrinterFirmware(), Pattern(kSize300, 6));
    const QString target = QString::fromStdString(folder / "saved.bin");
    files.answers = {target, QString()};
    EXPECT_EQ(firmware.FetchFirmware(nullptr, kSaveToChosenFile), kGeneration300);
    EXPECT_EQ(files.asked.front().substr(files.asked.front().rfind('|')), "|QV7_3") << "the proposed name";
    EXPECT_EQ(ReadBytes(target.toStdString()), Pattern(kSize300, 6));
    EXPECT_EQ(prompt.Texts().back(), Text(IDS_FIRMWARE_RECEIVE_DONE));

    prompt.shown.clear();
    EXPECT_EQ(firmware.FetchFirmware(nullptr, kSaveToChosenFile), kGenerationUnknown) << "cancelled";
    EXPECT_EQ(prompt.Texts(), std::vector<std::string>{Text(IDS_FIRMWARE_POWER_STEPS)});
}

}  // namespace
