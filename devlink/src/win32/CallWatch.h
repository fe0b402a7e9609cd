// Ends a synchronous pipe call that outlives its time limit. One watcher
// thread per driver sleeps until the limit of the call in flight and cancels
// the call if it is still running; a call costs two short locks, not a timer.
#ifndef QV7_CALL_WATCH_H
#define QV7_CALL_WATCH_H

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

namespace qv7 {

class CallWatch {
public:
    CallWatch() = default;
    ~CallWatch();
    CallWatch(const CallWatch&) = delete;
    CallWatch& operator=(const CallWatch&) = delete;

    // Around one blocking call of the calling thread; a limit of 0 ms is none.
    void Begin(uint32_t limitMs);
    void End();

private:
    void Watch();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::thread watcher_;
    bool stopping_ = false;
    bool inFlight_ = false;
    bool idle_ = false;
    std::chrono::steady_clock::time_point deadline_;
    void* caller_ = nullptr;  // the calling thread, opened for cancelling
    unsigned long callerId_ = 0;
};

}  // namespace qv7

#endif
