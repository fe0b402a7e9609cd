// A driver that plays a scripted printer and records every call, so the
// library's side of the conversation can be checked call by call.
#ifndef QV7_TESTS_SCRIPTED_DRIVER_H
#define QV7_TESTS_SCRIPTED_DRIVER_H

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "QV7_Sys_API.h"
#include "TempFolder.h"
#include "qv7/Clock.h"
#include "qv7/DeviceDriver.h"

namespace qv7test {

class ScriptedDriver : public qv7::DeviceDriver {
public:
    // --- what the printer does ---
    qv7::FindStep findStep = qv7::FindStep::Found;
    std::string path = "test:printer";
    bool openFails = false;
    bool controlFails = false;
    uint32_t version = 7;
    // Reply bytes per command code, as the device gives them (its length is
    // what the driver reports as returned). Missing: the right length of zeros.
    std::vector<uint8_t> replies[10];
    // Answers a get-code block before the tables above do: return true with
    // the reply bytes to give them, false to leave the block to the tables.
    std::function<bool(const uint8_t* block, std::vector<uint8_t>* reply)> onGetCommand;
    // File status words handed out one per status query; the last one repeats.
    std::deque<uint16_t> statusWords{0};
    // Bytes moved by the n-th write/read call (1-based); others move all.
    std::function<uint32_t(int call, uint32_t asked)> writeMoves;
    std::function<uint32_t(int call, uint32_t asked)> readMoves;
    // What the device sends on PIPE00.
    std::vector<uint8_t> deviceBytes;

    // --- what the library did ---
    std::vector<std::string> calls;  // "find", "open PATH", "control CODE HEX", "pipe NAME", "write N", "read N", "close"
    std::vector<uint8_t> received;   // everything written to PIPE01
    int openHandles = 0;
    int statusQueries = 0;

    qv7::FindResult FindDevice() override {
        calls.push_back("find");
        return {findStep, findStep == qv7::FindStep::Found ? path : std::string()};
    }

    qv7::DriverHandle OpenDevice(const std::string& devicePath) override {
        calls.push_back("open " + devicePath);
        if (openFails) return nullptr;
        ++openHandles;
        return &deviceToken_;
    }

    bool Control(qv7::DriverHandle, uint32_t code, const uint8_t* input, uint32_t inputLength, uint8_t* output,
                 uint32_t outputLength, uint32_t* returned) override {
        char head[32];
        std::snprintf(head, sizeof head, "control 0x%x ", code);
        calls.push_back(head + Hex(input, inputLength));
        *returned = 0;
        if (controlFails) return false;
        if (code == IOCTL_GET_VERSION) {
            std::memcpy(output, &version, 4);
            *returned = 4;
            return true;
        }
        if (code == IOCTL_GIVE_COMMAND) return true;
        const uint8_t command = input[0];
        std::vector<uint8_t> reply;
        if (onGetCommand && onGetCommand(input, &reply)) {
            std::memcpy(output, reply.data(), reply.size() < outputLength ? reply.size() : outputLength);
            *returned = static_cast<uint32_t>(reply.size());
            return true;
        }
        reply = replies[command];
        if (command == 9) {
            const uint16_t word = statusWords.front();
            if (statusWords.size() > 1) statusWords.pop_front();
            ++statusQueries;
            if (reply.empty()) reply = {static_cast<uint8_t>(word), static_cast<uint8_t>(word >> 8)};
        }
        if (reply.empty() && (command == 2 || command == 4) && !deviceBytes.empty()) {
            const uint32_t size = static_cast<uint32_t>(deviceBytes.size());
            reply.resize(4);
            std::memcpy(reply.data(), &size, 4);
        }
        if (reply.empty()) reply.assign(outputLength, 0);
        std::memcpy(output, reply.data(), reply.size() < outputLength ? reply.size() : outputLength);
        *returned = static_cast<uint32_t>(reply.size());
        return true;
    }

    qv7::DriverHandle OpenPipe(const std::string& pipePath, uint32_t* errorNumber) override {
        const std::string name = pipePath.substr(pipePath.find_last_of('\\') + 1);
        calls.push_back("pipe " + name);
        if (pipePath != path + "\\" + name) {
            *errorNumber = ENOENT;
            return nullptr;
        }
        ++openHandles;
        return name == "PIPE00" ? &inToken_ : &outToken_;
    }

    void SetPipeTimeouts(qv7::DriverHandle, const qv7::PipeTimeouts& timeouts) override { lastTimeouts = timeouts; }

    bool WritePipe(qv7::DriverHandle, const uint8_t* data, uint32_t length, uint32_t* moved) override {
        calls.push_back("write " + std::to_string(length));
        *moved = writeMoves ? writeMoves(++writeCalls_, length) : length;
        received.insert(received.end(), data, data + *moved);
        return true;
    }

    bool ReadPipe(qv7::DriverHandle, uint8_t* data, uint32_t length, uint32_t* moved) override {
        calls.push_back("read " + std::to_string(length));
        uint32_t available = static_cast<uint32_t>(deviceBytes.size() - readAt_);
        uint32_t want = readMoves ? readMoves(++readCalls_, length) : length;
        *moved = want < available ? want : available;
        std::memcpy(data, deviceBytes.data() + readAt_, *moved);
        readAt_ += *moved;
        return true;
    }

    void Close(qv7::DriverHandle) override {
        calls.push_back("close");
        --openHandles;
    }

    qv7::PipeTimeouts lastTimeouts{};

    // Calls whose text starts with prefix.
    std::vector<std::string> CallsStartingWith(const std::string& prefix) const {
        std::vector<std::string> found;
        for (const std::string& call : calls) {
            if (call.compare(0, prefix.size(), prefix) == 0) found.push_back(call);
        }
        return found;
    }

private:
    int deviceToken_ = 0, inToken_ = 0, outToken_ = 0;
    int writeCalls_ = 0, readCalls_ = 0;
    size_t readAt_ = 0;
};

// Installs a scripted driver for every connection made while it lives.
class ScriptedDriverScope {
public:
    ScriptedDriverScope() : driver(std::make_shared<ScriptedDriver>()) {
        std::shared_ptr<ScriptedDriver> shared = driver;
        qv7::SetDriverFactory([shared] { return shared; });
    }
    ~ScriptedDriverScope() { qv7::SetDriverFactory(nullptr); }
    std::shared_ptr<ScriptedDriver> driver;
};

// A clock that moves on by `stepMs` every time it is read, and when told to.
class SteppingClock : public qv7::Clock {
public:
    explicit SteppingClock(uint64_t stepMs) : stepMs_(stepMs) { qv7::SetClock(this); }
    ~SteppingClock() override { qv7::SetClock(nullptr); }
    uint64_t MonotonicMs() override { return now_ += stepMs_; }
    void Advance(uint64_t ms) { now_ += ms; }
    qv7::UtcDate TodayUtc() override { return today; }
    qv7::UtcDate today{2026, 3, 3};

private:
    uint64_t stepMs_;
    uint64_t now_ = 1000000;
};

// Progress reports of the transfer in flight; the callback is a plain function.
inline std::vector<std::pair<uint32_t, uint32_t>>& ProgressLog() {
    static std::vector<std::pair<uint32_t, uint32_t>> log;
    return log;
}
inline void RecordProgress(uint32_t done, uint32_t total) {
    ProgressLog().emplace_back(done, total);
}

}  // namespace qv7test

#endif
