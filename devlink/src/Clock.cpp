#include "qv7/Clock.h"

#include <chrono>
#include <ctime>

namespace qv7 {

namespace {

class SystemClock final : public Clock {
public:
    // On Windows (mingw-w64, posix threads) steady_clock reads QueryPerformanceCounter.
    uint64_t MonotonicMs() override {
        using namespace std::chrono;
        return static_cast<uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    }

    UtcDate TodayUtc() override {
        const std::time_t now = std::time(nullptr);
        std::tm parts{};
#ifdef _WIN32
        gmtime_s(&parts, &now);
#else
        gmtime_r(&now, &parts);
#endif
        return UtcDate{parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday};
    }
};

SystemClock systemClock;
Clock* installedClock = nullptr;

}  // namespace

Clock& CurrentClock() {
    return installedClock ? *installedClock : systemClock;
}

void SetClock(Clock* clock) {
    installedClock = clock;
}

}  // namespace qv7
