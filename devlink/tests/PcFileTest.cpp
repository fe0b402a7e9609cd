// Files on the PC replaced through a temporary file with a name, as on a file
// system without unnamed files: nothing of it is left after a commit, after
// giving up, or when SIGTERM ends the program in the middle.
#ifndef _WIN32
#include <csignal>

#include "PcFile.h"
#include "VirtualPrinterTest.h"

namespace vptest {
namespace {

TEST(NamedTemporaryFile, LeavesOnlyTheTarget) {
    ScratchFolder scratch;
    const std::string target = scratch / "label.qv7";
    WriteFile(target, "old");
    using Replacement = qv7::PcFileReplacement;
    {
        Replacement replacement(target, Replacement::Temporary::Named);
        ASSERT_TRUE(replacement.Begin());
        const std::vector<std::string> during = scratch.Entries();
        ASSERT_EQ(during.size(), 2u);
        EXPECT_EQ(during[0].rfind(".label.qv7.part-", 0), 0u);
        const std::string bytes = "new";
        EXPECT_TRUE(replacement.Commit(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
    }
    {
        Replacement abandoned(target, Replacement::Temporary::Named);
        ASSERT_TRUE(abandoned.Begin());
    }
    EXPECT_EXIT(
        {
            Replacement killed(target, Replacement::Temporary::Named);
            if (killed.Begin()) std::raise(SIGTERM);
        },
        ::testing::KilledBySignal(SIGTERM), "");
    EXPECT_EQ(scratch.Entries(), std::vector<std::string>{"label.qv7"});
    EXPECT_EQ(ReadText(target), "new");
}

}  // namespace
}  // namespace vptest
#endif
