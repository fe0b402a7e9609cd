// Command blocks on the wire and how their replies are checked.
#include <gtest/gtest.h>

#include "ScriptedDriver.h"

namespace {

using qv7test::ScriptedDriverScope;

TEST(Commands, QueriesSendTheirBlocksAndTakeTheirReplies) {
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
    EXPECT_EQ(scope.driver->CallsStartingWith("control 0x220014"),
              (std::vector<std::string>{
                  "control 0x220014 0500000000000200" "0000",
                  "control 0x220014 0600020000000400" "00000000",
                  "control 0x220014 0700020000000200" "0000",
                  "control 0x220014 0800020000000900" "000000000000000000",
                  "control 0x220014 0900000000000200" "0000",
              }));
}

struct MismatchCase {
    int command;
    std::vector<uint8_t> reply;
    const char* text;
};

class ReplySizeMismatch : public ::testing::TestWithParam<MismatchCase> {};

TEST_P(ReplySizeMismatch, FailsTheQueryWithBothLengths) {
    ScriptedDriverScope scope;
    scope.driver->replies[GetParam().command] = GetParam().reply;
    CQV7_Sys_API printer;
    uint16_t value = 0;
    QV7_FILE_ATTRIBUTES file{};
    QV7_FILE_TYPE_ATTRIBUTES type{};
    bool ok = true;
    switch (GetParam().command) {
    case 5: ok = printer.GetFileTypes(&value); break;
    case 6: ok = printer.GetFileTypeAttributes(0, &type); break;
    case 7: ok = printer.GetFileMax(0, &value); break;
    case 8: ok = printer.GetFileAttributes(0, 0, &file); break;
    case 9: ok = printer.GetFileStatus(&value); break;
    }
    EXPECT_FALSE(ok);
    EXPECT_EQ(printer.GetError(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    EveryQuery, ReplySizeMismatch,
    ::testing::Values(
        MismatchCase{5, {1}, "Invalid Data Size Return from Get File Types Expected: 2 Got: 1"},
        MismatchCase{6, {'D', 'A', 'T'}, "Invalid Data Size Return from Get File Type Attributes Expected: 4 Got: 3"},
        MismatchCase{7, {1, 0, 0}, "Invalid Data Size Return from Get File Max Expected: 2 Got: 3"},
        MismatchCase{8, {'A', 0}, "Invalid Data Size Return from Get File Attributes Expected: 9 Got: 2"},
        MismatchCase{9, {0}, "Invalid Data Size Return from Get File Status Expected: 2 Got: 1"}));

}  // namespace
