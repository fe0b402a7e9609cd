// The ways a virtual printer can be told to misbehave (faults.txt).
#ifndef QV7_VIRTUAL_DEVICE_FAULTS_H
#define QV7_VIRTUAL_DEVICE_FAULTS_H

#include <array>
#include <cstdint>
#include <string>

namespace qv7::virtualprinter {

constexpr uint32_t kNoReplySizeFault = UINT32_MAX;

struct DeviceFaults {
    bool noDevice = false;
    // Per command code: the byte count the device answers with instead of the
    // reply's own length.
    std::array<uint32_t, 10> replySize = [] {
        std::array<uint32_t, 10> sizes{};
        sizes.fill(kNoReplySizeFault);
        return sizes;
    }();
    // The K-th call (1-based, counted from the moment the printer was loaded)
    // on a pipe moves only so many bytes; call 0 means never.
    uint32_t shortReadCall = 0;
    uint32_t shortReadBytes = 0;
    uint32_t shortWriteCall = 0;
    uint32_t shortWriteBytes = 0;
    bool uploadBusyForever = false;
    bool downloadBusyForever = false;
    bool uploadFails = false;
    bool downloadFails = false;
    // Every slot's stored name reads "Blank40 ", as an old firmware has it.
    bool oldFirmware = false;
};

// The text of faults.txt. False with a reason naming the line when a line is
// not one of the faults or its numbers are out of range.
bool ParseFaults(const std::string& text, DeviceFaults* faults, std::string* error);

}  // namespace qv7::virtualprinter

#endif
