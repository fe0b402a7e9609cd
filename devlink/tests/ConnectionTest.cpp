// Finding and opening the printer, the latched error, the version query,
// copies of a connection, command blocks on the wire and how their replies are
// checked, and the trace a user sends in: one line per driver operation.
#include <gtest/gtest.h>

#include "ScriptedDriver.h"
#include "TempFolder.h"

namespace {

using qv7test::ScriptedDriverScope;

TEST(Connection, EachDiscoveryFailureLatchesItsTextAndLeavesANotOpenConnection) {
    struct Case {
        qv7::FindStep step;
        bool openFails;
        const char* text;
    } const cases[] = {
        {qv7::FindStep::NoInterfaceClass, false, "Invalid GUID/CLASS"},
        {qv7::FindStep::NoDevice, false, "Invalid Device Instance"},
        {qv7::FindStep::Found, true, "Invalid Device Handle Created"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ScriptedDriverScope scope;
        scope.driver->findStep = c.step;
        scope.driver->openFails = c.openFails;
        {
            CQV7_Sys_API printer;
            EXPECT_TRUE(printer.IsError());
            EXPECT_EQ(printer.GetError(), c.text);
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
}

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

// ---- command blocks ----------------------------------------------------------------

TEST(Commands, QueriesTakeTheirReplies) {
    ScriptedDriverScope scope;
    scope.driver->replies[5] = {3, 0};
    scope.driver->replies[6] = {'M', 'A', 'P', 0};
    scope.driver->replies[7] = {0x2c, 0x01};
    scope.driver->replies[8] = {'B', 't', 'm', 'a', 'p', '0', '1', 0, 0};
    scope.driver->statusWords = {0x0005};

    CQV7_Sys_API printer;
    uint16_t types = 0, slots = 0, status = 0;
    QV7_FILE_TYPE_ATTRIBUTES type{};
    QV7_FILE_ATTRIBUTES file{};
    ASSERT_TRUE(printer.GetFileTypes(&types));
    ASSERT_TRUE(printer.GetFileTypeAttributes(2, &type));
    ASSERT_TRUE(printer.GetFileMax(2, &slots));
    ASSERT_TRUE(printer.GetFileAttributes(2, 0, &file));
    ASSERT_TRUE(printer.GetFileStatus(&status));
    EXPECT_FALSE(printer.IsError());

    EXPECT_EQ(types, 3);
    EXPECT_STREQ(type.typeName, "MAP");
    EXPECT_EQ(slots, 300);
    EXPECT_STREQ(file.fileName, "Btmap01");
    EXPECT_EQ(status, 0x0005);
}

// Those of Get File Types, Get File and Get File Status are met through the
// virtual printer's faults (LinkOverVirtualPrinterTest.cpp) and qv7 doctor.
TEST(Commands, AReplyOfTheWrongSizeFailsTheQueryWithBothLengths) {
    struct Case {
        int command;
        std::vector<uint8_t> reply;
        const char* text;
    } const cases[] = {
        {6, {'D', 'A', 'T'}, "Invalid Data Size Return from Get File Type Attributes Expected: 4 Got: 3"},
        {7, {1, 0, 0}, "Invalid Data Size Return from Get File Max Expected: 2 Got: 3"},
        {8, {'A', 0}, "Invalid Data Size Return from Get File Attributes Expected: 9 Got: 2"},
    };
    for (const Case& c : cases) {
        ScriptedDriverScope scope;
        scope.driver->replies[c.command] = c.reply;
        CQV7_Sys_API printer;
        uint16_t value = 0;
        QV7_FILE_ATTRIBUTES file{};
        QV7_FILE_TYPE_ATTRIBUTES type{};
        const bool ok = c.command == 6   ? printer.GetFileTypeAttributes(0, &type)
                        : c.command == 7 ? printer.GetFileMax(0, &value)
                                         : printer.GetFileAttributes(0, 0, &file);
        EXPECT_FALSE(ok) << c.text;
        EXPECT_EQ(printer.GetError(), c.text);
    }
}

// ---- the trace -----------------------------------------------------------------------

TEST(Trace, RecordsEveryOperationAndAppendsAcrossConnectionsWithTheirFailures) {
    qv7test::TempFolder folder;
    qv7test::ScriptedDriverScope scope;
    scope.driver->deviceBytes = qv7test::Pattern(20);
    scope.driver->readMoves = [](int call, uint32_t asked) { return call == 2 ? 1u : asked; };
    qv7test::ScopedEnvironment environment{{"QUILLORY_TRACE", folder / "trace.txt"}};
    {
        CQV7_Sys_API printer;
        QV7_FILE_ATTRIBUTES file{};
        printer.GetFileAttributes(2, 0, &file);
        printer.GetFirmware(folder / "fw.bin", nullptr);
    }
    scope.driver->openFails = true;
    { CQV7_Sys_API second; }
    scope.driver->findStep = qv7::FindStep::NoDevice;
    { CQV7_Sys_API third; }

    EXPECT_EQ(qv7test::ReadText(folder / "trace.txt"),
              "find ok\n"
              "open test:printer ok\n"
              "control 0x220014 in=0800020000000900000000000000000000 out=9 returned=9 ok\n"
              "control 0x220014 in=020000000000040000000000 out=4 returned=4 ok\n"
              "pipe PIPE00 ok\n"
              "read 16 moved=16\n"
              "read 4 moved=1\n"
              "close\n"
              "close\n"
              "find ok\n"
              "open test:printer failed\n"
              "find failed\n");
}

TEST(Trace, AFileThatCannotBeWrittenIsToldOnceAndThePrinterStillWorks) {
    qv7test::TempFolder folder;
    qv7test::ScriptedDriverScope scope;
    const std::string trace = folder / "missing/trace.txt";
    qv7test::ScopedEnvironment environment{{"QUILLORY_TRACE", trace}};
    testing::internal::CaptureStderr();
    for (int connection = 0; connection < 2; ++connection) {
        CQV7_Sys_API printer;
        uint16_t types = 0;
        EXPECT_TRUE(printer.GetFileTypes(&types)) << printer.GetError();
    }
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(said, "Cannot write the trace to " + trace + ": No such file or directory\n");
    EXPECT_EQ(qv7::TraceProblem(), "Cannot write the trace to " + trace + ": No such file or directory");
    environment.Unset("QUILLORY_TRACE");
    { CQV7_Sys_API untraced; }
    EXPECT_EQ(qv7::TraceProblem(), "");
}

}  // namespace
