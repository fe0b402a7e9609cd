// The trace: one line per driver operation, appended to a file, whatever the
// backend. It is what a user sends in when a real printer misbehaves, and the
// tests read it to check the bytes on the wire.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <set>
#include <string>

#include "Backends.h"
#include "qv7/DeviceDriver.h"

namespace qv7 {

namespace {

const char* Outcome(bool ok) {
    return ok ? "ok" : "failed";
}

std::string Hex(const uint8_t* bytes, uint32_t length) {
    static const char digits[] = "0123456789abcdef";
    std::string text;
    text.reserve(length * 2);
    for (uint32_t i = 0; bytes && i < length; ++i) {
        text.push_back(digits[bytes[i] >> 4]);
        text.push_back(digits[bytes[i] & 0x0F]);
    }
    return text;
}

std::string PipeName(const std::string& pipePath) {
    const size_t backslash = pipePath.find_last_of('\\');
    return backslash == std::string::npos ? pipePath : pipePath.substr(backslash + 1);
}

std::mutex problemMutex;
std::string lastProblem;
std::set<std::string> reportedPaths;

// Opens the trace for appending. The trace is how a user diagnoses a real
// printer, so a trace that cannot be written must not pass unnoticed; but the
// printer works without one, so the connection goes on.
FILE* OpenTrace(const std::string& tracePath) {
    FILE* trace = std::fopen(tracePath.c_str(), "ab");
    const int error = errno;
    std::lock_guard<std::mutex> lock(problemMutex);
    if (trace) {
        lastProblem.clear();
        return trace;
    }
    lastProblem = "Cannot write the trace to " + tracePath + ": " + std::strerror(error);
    if (reportedPaths.insert(tracePath).second) std::fprintf(stderr, "%s\n", lastProblem.c_str());
    return nullptr;
}

class TracingDriver final : public DeviceDriver {
public:
    // Lines end in a bare line feed on every platform, so one reader serves all traces.
    TracingDriver(std::shared_ptr<DeviceDriver> inner, const std::string& tracePath)
        : inner_(std::move(inner)), trace_(OpenTrace(tracePath)) {}

    ~TracingDriver() override {
        if (trace_) std::fclose(trace_);
    }

    FindResult FindDevice() override {
        FindResult found = inner_->FindDevice();
        Line("find " + std::string(Outcome(found.step == FindStep::Found)));
        return found;
    }

    DriverHandle OpenDevice(const std::string& path) override {
        DriverHandle handle = inner_->OpenDevice(path);
        Line("open " + path + " " + Outcome(handle != nullptr));
        return handle;
    }

    bool Control(DriverHandle device, uint32_t controlCode, const uint8_t* input, uint32_t inputLength,
                 uint8_t* output, uint32_t outputLength, uint32_t* returned) override {
        *returned = 0;
        const bool ok = inner_->Control(device, controlCode, input, inputLength, output, outputLength, returned);
        char code[16];
        std::snprintf(code, sizeof code, "0x%x", controlCode);
        Line("control " + std::string(code) + " in=" + Hex(input, inputLength) + " out=" +
             std::to_string(outputLength) + " returned=" + std::to_string(*returned) + " " + Outcome(ok));
        return ok;
    }

    DriverHandle OpenPipe(const std::string& pipePath, uint32_t* errorNumber) override {
        DriverHandle handle = inner_->OpenPipe(pipePath, errorNumber);
        Line("pipe " + PipeName(pipePath) + " " + Outcome(handle != nullptr));
        return handle;
    }

    void SetPipeTimeouts(DriverHandle pipe, const PipeTimeouts& timeouts) override {
        inner_->SetPipeTimeouts(pipe, timeouts);
    }

    bool WritePipe(DriverHandle pipe, const uint8_t* data, uint32_t length, uint32_t* moved) override {
        *moved = 0;
        const bool ok = inner_->WritePipe(pipe, data, length, moved);
        Line("write " + std::to_string(length) + " moved=" + std::to_string(ok ? *moved : 0));
        return ok;
    }

    bool ReadPipe(DriverHandle pipe, uint8_t* data, uint32_t length, uint32_t* moved) override {
        *moved = 0;
        const bool ok = inner_->ReadPipe(pipe, data, length, moved);
        Line("read " + std::to_string(length) + " moved=" + std::to_string(ok ? *moved : 0));
        return ok;
    }

    void Close(DriverHandle handle) override {
        inner_->Close(handle);
        Line("close");
    }

    bool HeldElsewhere() const override { return inner_->HeldElsewhere(); }

private:
    void Line(const std::string& text) {
        if (!trace_) return;
        std::fputs(text.c_str(), trace_);
        std::fputc('\n', trace_);
        // Flushed line by line: the trace matters most when the program dies mid-transfer.
        std::fflush(trace_);
    }

    std::shared_ptr<DeviceDriver> inner_;
    FILE* trace_;
};

}  // namespace

std::shared_ptr<DeviceDriver> MakeTracingDriver(std::shared_ptr<DeviceDriver> inner, const std::string& tracePath) {
    return std::make_shared<TracingDriver>(std::move(inner), tracePath);
}

void ClearTraceProblem() {
    std::lock_guard<std::mutex> lock(problemMutex);
    lastProblem.clear();
}

std::string TraceProblem() {
    std::lock_guard<std::mutex> lock(problemMutex);
    return lastProblem;
}

}  // namespace qv7
