// The printer through its own Windows kernel driver: found by the driver's
// device-interface class, the device and its two bulk pipes opened as files.
#ifndef QV7_WIN32_DRIVER_H
#define QV7_WIN32_DRIVER_H

#include <map>
#include <memory>
#include <string>

#include "qv7/DeviceDriver.h"

namespace qv7 {

class CallWatch;

class Win32Driver final : public DeviceDriver {
public:
    Win32Driver();
    ~Win32Driver() override;

    FindResult FindDevice() override;
    DriverHandle OpenDevice(const std::string& path) override;
    bool Control(DriverHandle device, uint32_t controlCode, const uint8_t* input, uint32_t inputLength,
                 uint8_t* output, uint32_t outputLength, uint32_t* returned) override;
    DriverHandle OpenPipe(const std::string& pipePath, uint32_t* errorNumber) override;
    // Handed to the driver as comm time-outs, and also kept here: each pipe
    // call is cancelled once its limit has passed, so a driver that ignores
    // comm time-outs cannot hold the program.
    void SetPipeTimeouts(DriverHandle pipe, const PipeTimeouts& timeouts) override;
    bool WritePipe(DriverHandle pipe, const uint8_t* data, uint32_t length, uint32_t* moved) override;
    bool ReadPipe(DriverHandle pipe, uint8_t* data, uint32_t length, uint32_t* moved) override;
    void Close(DriverHandle handle) override;

private:
    std::map<DriverHandle, PipeTimeouts> timeouts_;
    std::unique_ptr<CallWatch> watch_;
};

}  // namespace qv7

#endif
