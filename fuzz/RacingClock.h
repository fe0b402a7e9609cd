// A clock for targets that face a printer stuck busy.
#ifndef QUILLORY_FUZZ_RACING_CLOCK_H
#define QUILLORY_FUZZ_RACING_CLOCK_H

#include <cstdint>

#include "qv7/Clock.h"

namespace qv7fuzz {

// Every read moves a second on: a printer stuck busy costs twenty polls, not
// twenty seconds.
class RacingClock final : public qv7::Clock {
public:
    uint64_t MonotonicMs() override { return now_ += 1000; }
    qv7::UtcDate TodayUtc() override { return {2026, 3, 3}; }

private:
    uint64_t now_ = 0;
};

}  // namespace qv7fuzz

#endif
