// The driver seam played by the fuzzer: every reply, returned count, moved
// count and status word comes from the input. It counts the handles it gives
// out, so the library can be held to closing each one.
#ifndef QUILLORY_FUZZ_HOSTILE_DRIVER_H
#define QUILLORY_FUZZ_HOSTILE_DRIVER_H

#include <cerrno>
#include <memory>
#include <set>

#include "HostileInput.h"
#include "qv7/DeviceDriver.h"

namespace qv7fuzz {

class HostileDriver final : public qv7::DeviceDriver {
public:
    explicit HostileDriver(HostileInput& input) : input_(input) {}

    qv7::FindResult FindDevice() override {
        const uint8_t step = input_.Byte() % 5;
        return {static_cast<qv7::FindStep>(step), step == 0 ? "fuzz:printer" : ""};
    }
    qv7::DriverHandle OpenDevice(const std::string&) override {
        heldElsewhere_ = false;
        const uint8_t answer = input_.Byte();
        if (answer == kFails) return nullptr;
        heldElsewhere_ = answer == kFails - 1;
        if (heldElsewhere_) return nullptr;
        return Give();
    }
    bool Control(qv7::DriverHandle device, uint32_t, const uint8_t*, uint32_t, uint8_t* output,
                 uint32_t outputLength, uint32_t* returned) override {
        *returned = 0;
        if (!open_.count(device) || input_.Byte() == kFails) return false;
        *returned = input_.Byte();
        const uint32_t given = *returned < outputLength ? *returned : outputLength;
        if (output) input_.Fill(output, given);
        return true;
    }
    qv7::DriverHandle OpenPipe(const std::string&, uint32_t* errorNumber) override {
        if (input_.Byte() == kFails) {
            *errorNumber = input_.Byte();
            return nullptr;
        }
        return Give();
    }
    void SetPipeTimeouts(qv7::DriverHandle, const qv7::PipeTimeouts&) override {}
    bool WritePipe(qv7::DriverHandle pipe, const uint8_t*, uint32_t length, uint32_t* moved) override {
        *moved = 0;
        const uint8_t answer = input_.Byte();
        if (!open_.count(pipe) || answer == kFails) return false;
        *moved = answer < length ? answer : length;
        return true;
    }
    bool ReadPipe(qv7::DriverHandle pipe, uint8_t* data, uint32_t length, uint32_t* moved) override {
        *moved = 0;
        const uint8_t answer = input_.Byte();
        if (!open_.count(pipe) || answer == kFails) return false;
        *moved = answer < length ? answer : length;
        input_.Fill(data, *moved);
        return true;
    }
    void Close(qv7::DriverHandle handle) override {
        if (!open_.erase(handle)) __builtin_trap();  // closed twice, or never given
    }
    bool HeldElsewhere() const override { return heldElsewhere_; }

    size_t OpenHandles() const { return open_.size(); }

private:
    qv7::DriverHandle Give() {
        auto* handle = reinterpret_cast<qv7::DriverHandle>(++next_);
        open_.insert(handle);
        return handle;
    }

    HostileInput& input_;
    std::set<qv7::DriverHandle> open_;
    uintptr_t next_ = 0x1000;
    bool heldElsewhere_ = false;
};

// A sound driver's answers, written down in the form HostileDriver reads.
class RecordingDriver final : public qv7::DeviceDriver {
public:
    RecordingDriver(std::shared_ptr<qv7::DeviceDriver> inner, InputRecorder& record)
        : inner_(std::move(inner)), record_(record) {}

    qv7::FindResult FindDevice() override {
        qv7::FindResult found = inner_->FindDevice();
        record_.Byte(static_cast<uint8_t>(found.step));
        return found;
    }
    qv7::DriverHandle OpenDevice(const std::string& path) override {
        qv7::DriverHandle handle = inner_->OpenDevice(path);
        record_.Byte(handle ? 0 : kFails);
        return handle;
    }
    bool Control(qv7::DriverHandle device, uint32_t code, const uint8_t* input, uint32_t inputLength,
                 uint8_t* output, uint32_t outputLength, uint32_t* returned) override {
        const bool ok = inner_->Control(device, code, input, inputLength, output, outputLength, returned);
        record_.Byte(ok ? 0 : kFails);
        if (!ok) return false;
        record_.Byte(static_cast<uint8_t>(*returned));
        if (output) record_.Fill(output, *returned < outputLength ? *returned : outputLength);
        return true;
    }
    qv7::DriverHandle OpenPipe(const std::string& path, uint32_t* errorNumber) override {
        qv7::DriverHandle handle = inner_->OpenPipe(path, errorNumber);
        record_.Byte(handle ? 0 : kFails);
        if (!handle) record_.Byte(static_cast<uint8_t>(*errorNumber));
        return handle;
    }
    void SetPipeTimeouts(qv7::DriverHandle pipe, const qv7::PipeTimeouts& timeouts) override {
        inner_->SetPipeTimeouts(pipe, timeouts);
    }
    bool WritePipe(qv7::DriverHandle pipe, const uint8_t* data, uint32_t length, uint32_t* moved) override {
        const bool ok = inner_->WritePipe(pipe, data, length, moved);
        record_.Byte(ok ? static_cast<uint8_t>(*moved) : kFails);
        return ok;
    }
    bool ReadPipe(qv7::DriverHandle pipe, uint8_t* data, uint32_t length, uint32_t* moved) override {
        const bool ok = inner_->ReadPipe(pipe, data, length, moved);
        record_.Byte(ok ? static_cast<uint8_t>(*moved) : kFails);
        if (ok) record_.Fill(data, *moved);
        return ok;
    }
    void Close(qv7::DriverHandle handle) override { inner_->Close(handle); }

private:
    std::shared_ptr<qv7::DeviceDriver> inner_;
    InputRecorder& record_;
};

}  // namespace qv7fuzz

#endif
