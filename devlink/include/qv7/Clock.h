// The clock seam: a monotonic clock for time limits and the UTC calendar date
// for file headers. Tests install a clock of their own so nothing sleeps.
#ifndef QV7_CLOCK_H
#define QV7_CLOCK_H

#include <cstdint>

namespace qv7 {

struct UtcDate {
    int year = 1970;  // e.g. 2026
    int month = 1;    // 1-12
    int day = 1;      // 1-31
};

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds on a clock that never goes back; only differences mean anything.
    virtual uint64_t MonotonicMs() = 0;
    virtual UtcDate TodayUtc() = 0;
};

// The clock in use: the system clock unless one was installed.
Clock& CurrentClock();
// Installs a clock (not owned); null restores the system clock.
void SetClock(Clock* clock);

}  // namespace qv7

#endif
