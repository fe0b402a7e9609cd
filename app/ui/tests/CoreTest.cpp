// The program's command line, read without a window.
#include <gtest/gtest.h>

#include "CommandLine.h"

namespace {

using namespace quillory;

TEST(CommandLineOptions, TakeADeviceAndATraceInEitherFormAndRefuseAnUnknownDevice) {
    auto parse = [](std::vector<const char*> args) {
        args.insert(args.begin(), "Quillory");
        return ParseCommandLine(static_cast<int>(args.size()), args.data());
    };
    CommandLine line = parse({"-platform", "offscreen", "--device=usb", "--trace", "/tmp/t.txt"});
    EXPECT_TRUE(line.error.empty()) << "options meant for Qt are left alone";
    EXPECT_EQ(line.device, "usb");
    EXPECT_EQ(line.trace, "/tmp/t.txt");
    for (const auto& refused : std::vector<std::vector<const char*>>{
             {"--device"}, {"--device", "serial"}, {"--device=virtual:"}, {"--trace="}, {"--devcie", "usb"}}) {
        EXPECT_FALSE(parse(refused).error.empty()) << refused[0];
    }
}

}  // namespace
