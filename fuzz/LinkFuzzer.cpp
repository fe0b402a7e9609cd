// The device link library facing a hostile printer through the driver seam.
// Whatever the printer says: no file appears beside the target, a failed get
// leaves the target as it was, and every handle given out is closed.
#include "FuzzSupport.h"
#include "HostileDriver.h"
#include "LinkOperations.h"
#include "RacingClock.h"

namespace {

using namespace qv7fuzz;

const LinkFolder& Folder() {
    static const LinkFolder folder = [] {
        LinkFolder made;
        made.dir = ScratchFolder("qv7fuzz-link");
        made.source = made.dir + "/source.bin";
        made.target = made.dir + "/target.bin";
        const std::string bytes(40, 'S');
        WriteWhole(made.source, bytes.data(), bytes.size());
        return made;
    }();
    return folder;
}

const std::vector<std::string> kExpectedListing = {"source.bin", "target.bin"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static RacingClock clock;
    qv7::SetClock(&clock);
    const LinkFolder& folder = Folder();
    std::string before = "what the user had";
    WriteWhole(folder.target, before.data(), before.size());

    HostileInput input(data, size);
    auto driver = std::make_shared<HostileDriver>(input);
    qv7::SetDriverFactory([driver] { return driver; });
    {
        CQV7_Sys_API connection;
        for (int step = 0; step < 6 && !input.Empty(); ++step) {
            const uint8_t operation = input.Byte();
            const uint8_t type = input.Byte();
            const uint8_t slot = input.Byte();
            connection.GetError();  // each operation on its own, not stopped by the last one's error
            const bool wroteTarget = RunLinkOperation(operation, type, slot, connection, folder);
            const std::string after = ReadWhole(folder.target);
            if (wroteTarget && connection.IsError() && after != before) __builtin_trap();
            before = after;
            if (Listing(folder.dir) != kExpectedListing) __builtin_trap();
        }
    }
    if (driver->OpenHandles() != 0) __builtin_trap();
    qv7::SetDriverFactory(nullptr);
    return 0;
}
