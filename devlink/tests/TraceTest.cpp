// The trace a user sends in: one line per driver operation.
#include <cstdlib>

#include <gtest/gtest.h>

#include "ScriptedDriver.h"
#include "TempFolder.h"

namespace {

TEST(Trace, RecordsEveryOperationAndAppendsAcrossConnectionsWithTheirFailures) {
    qv7test::TempFolder folder;
    qv7test::ScriptedDriverScope scope;
    scope.driver->deviceBytes = qv7test::Pattern(20);
    scope.driver->readMoves = [](int call, uint32_t asked) { return call == 2 ? 1u : asked; };
    setenv("QUILLORY_TRACE", (folder / "trace.txt").c_str(), 1);
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
    unsetenv("QUILLORY_TRACE");

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
    setenv("QUILLORY_TRACE", trace.c_str(), 1);
    testing::internal::CaptureStderr();
    for (int connection = 0; connection < 2; ++connection) {
        CQV7_Sys_API printer;
        uint16_t types = 0;
        EXPECT_TRUE(printer.GetFileTypes(&types)) << printer.GetError();
    }
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(said, "Cannot write the trace to " + trace + ": No such file or directory\n");
    EXPECT_EQ(qv7::TraceProblem(), "Cannot write the trace to " + trace + ": No such file or directory");
    unsetenv("QUILLORY_TRACE");
    { CQV7_Sys_API untraced; }
    EXPECT_EQ(qv7::TraceProblem(), "");
}

}  // namespace
