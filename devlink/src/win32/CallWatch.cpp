#include "CallWatch.h"

#include <windows.h>

namespace qv7 {

namespace {

// How soon a cancel is repeated: one that lands just before the call has
// reached the driver cancels nothing.
constexpr std::chrono::milliseconds kRepeat{20};

}  // namespace

CallWatch::~CallWatch() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    if (watcher_.joinable()) watcher_.join();
    if (caller_) CloseHandle(caller_);
}

void CallWatch::Begin(uint32_t limitMs) {
    if (limitMs == 0) return;
    std::lock_guard<std::mutex> lock(mutex_);
    const DWORD id = GetCurrentThreadId();
    if (!caller_ || callerId_ != id) {
        if (caller_) CloseHandle(caller_);
        caller_ = OpenThread(THREAD_TERMINATE, FALSE, id);
        callerId_ = id;
        if (!caller_) return;
    }
    deadline_ = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    inFlight_ = true;
    if (!watcher_.joinable()) {
        watcher_ = std::thread(&CallWatch::Watch, this);
    } else if (idle_) {
        wake_.notify_one();
    }
}

void CallWatch::End() {
    // Under the lock: a cancel issued for this call is issued before the call is over.
    std::lock_guard<std::mutex> lock(mutex_);
    inFlight_ = false;
}

void CallWatch::Watch() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (!stopping_) {
        if (!inFlight_) {
            idle_ = true;
            wake_.wait(lock);
            idle_ = false;
        } else if (std::chrono::steady_clock::now() < deadline_) {
            // Later calls move the deadline on; the check above follows them.
            wake_.wait_until(lock, deadline_);
        } else {
            CancelSynchronousIo(static_cast<HANDLE>(caller_));
            wake_.wait_for(lock, kRepeat);
        }
    }
}

}  // namespace qv7
