// Finding and opening the printer, the latched error, the version query and
// copies of a connection.
#include <gtest/gtest.h>

#include "ScriptedDriver.h"

namespace {

using qv7test::ScriptedDriverScope;

struct DiscoveryCase {
    qv7::FindStep step;
    bool openFails;
    const char* text;
};

class DiscoveryFailure : public ::testing::TestWithParam<DiscoveryCase> {};

TEST_P(DiscoveryFailure, LatchesItsTextAndLeavesANotOpenConnection) {
    ScriptedDriverScope scope;
    scope.driver->findStep = GetParam().step;
    scope.driver->openFails = GetParam().openFails;

    {
        CQV7_Sys_API printer;
        EXPECT_TRUE(printer.IsError());
        EXPECT_EQ(printer.GetError(), GetParam().text);
        EXPECT_FALSE(printer.IsError());
        EXPECT_EQ(printer.GetError(), "") << "a collected error is not returned twice";

        // Every command of a not-open connection stops before the device hears anything.
        const size_t callsBefore = scope.driver->calls.size();
        uint16_t count = 99;
        EXPECT_FALSE(printer.GetFileTypes(&count));
        EXPECT_EQ(printer.GetError(), "Device not open");
        uint32_t version = 0;
        EXPECT_FALSE(printer.GetVersion(&version));
        EXPECT_EQ(printer.GetError(), "Device Handle was Invalid");
        EXPECT_EQ(scope.driver->calls.size(), callsBefore);
        EXPECT_EQ(count, 99) << "the caller's buffer is untouched";
    }
    EXPECT_TRUE(scope.driver->CallsStartingWith("close").empty()) << "a connection never opened closes nothing";
}

INSTANTIATE_TEST_SUITE_P(
    EveryStep, DiscoveryFailure,
    ::testing::Values(DiscoveryCase{qv7::FindStep::NoInterfaceClass, false, "Invalid GUID/CLASS"},
                      DiscoveryCase{qv7::FindStep::NoDevice, false, "Invalid Device Instance"},
                      DiscoveryCase{qv7::FindStep::NoDetailLength, false,
                                    "Unable to obtain Symbolic Link Name String Length"},
                      DiscoveryCase{qv7::FindStep::NoDetail, false, "Unable to obtain Symbolic Link Name"},
                      DiscoveryCase{qv7::FindStep::Found, true, "Invalid Device Handle Created"}));

TEST(Connection, AFailedCommandIsLatchedAndANewErrorReplacesAnUncollectedOne) {
    ScriptedDriverScope scope;
    scope.driver->controlFails = true;
    CQV7_Sys_API printer;
    uint32_t version = 0;
    EXPECT_FALSE(printer.GetVersion(&version));
    EXPECT_EQ(printer.GetError(), "Unable To Get Driver Version");
    uint16_t value = 0;
    printer.GetFileTypes(&value);
    printer.GetFileStatus(&value);
    EXPECT_EQ(printer.GetError(), "Device Failed To Send Get File Status Command");
}

TEST(Connection, OpensTheFoundPathOnceForItsCopiesAndClosesItWithTheLast) {
    ScriptedDriverScope scope;
    {
        CQV7_Sys_API first;
        EXPECT_FALSE(first.IsError());
        uint32_t version = 0;
        EXPECT_TRUE(first.GetVersion(&version));
        EXPECT_EQ(version, 7u);
        CQV7_Sys_API second(first);
        CQV7_Sys_API third;
        third = second;
        third = third;
        uint16_t count = 0;
        EXPECT_TRUE(third.GetFileTypes(&count));
        EXPECT_EQ(scope.driver->openHandles, 1) << "the third connection's own handle was released on assignment";
    }
    EXPECT_EQ(scope.driver->openHandles, 0);
    EXPECT_EQ(scope.driver->CallsStartingWith("open"), (std::vector<std::string>{"open test:printer", "open test:printer"}));
    EXPECT_EQ(scope.driver->CallsStartingWith("close").size(), 2u);
}

}  // namespace
