// The window layer's widget-free parts: the command line and file dialog
// filters.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "CommandLine.h"
#include "FileDialogChoice.h"

namespace {

using namespace quillory;

TEST(CommandLineOptions, TakeADeviceAndATraceInEitherFormAndRefuseAnUnknownDevice) {
    auto parse = [](std::vector<const char*> args) {
        args.insert(args.begin(), "Quillory");
        return ParseCommandLine(static_cast<int>(args.size()), args.data());
    };
    CommandLine line = parse({"--device", "virtual:/tmp/p"});
    EXPECT_TRUE(line.deviceGiven);
    EXPECT_EQ(line.device, "virtual:/tmp/p");
    EXPECT_TRUE(line.error.empty());

    line = parse({"-platform", "offscreen", "--device=usb"});
    EXPECT_EQ(line.device, "usb");
    EXPECT_TRUE(line.error.empty()) << "options meant for Qt are left alone";

    EXPECT_FALSE(parse({}).deviceGiven);
    EXPECT_TRUE(parse({"--help"}).help);
    EXPECT_TRUE(parse({"-h"}).help);
    for (const auto& refused : std::vector<std::vector<const char*>>{
             {"--device"}, {"--device", "serial"}, {"--device=virtual:"}, {"--trace="}, {"--devcie", "usb"}}) {
        EXPECT_FALSE(parse(refused).error.empty()) << refused[0];
    }

    line = parse({"--trace", "/tmp/t.txt", "--device", "usb"});
    EXPECT_TRUE(line.traceGiven);
    EXPECT_EQ(line.trace, "/tmp/t.txt");
    EXPECT_TRUE(parse({"--style=fusion", "--version"}).version);
}

TEST(FileDialogFilters, BecomeQtNameFilters) {
    EXPECT_EQ(NameFilters(QStringLiteral("Comma-seperated value files (*.csv)|*.csv||")),
              (QStringList{"Comma-seperated value files (*.csv)"}));
    EXPECT_EQ(NameFilters(QStringLiteral("QV7 Data Files (*.dat)|*.dat|All Files (*.*)|*.*||")),
              (QStringList{"QV7 Data Files (*.dat)", "All Files (*.*)"}));
    EXPECT_EQ(NameFilters(QStringLiteral("Pictures|*.bmp;*.dib||")), (QStringList{"Pictures (*.bmp *.dib)"}));
    EXPECT_TRUE(NameFilters(QString()).isEmpty());
}

}  // namespace
