// The driver seam: the seven operations the link library needs of whatever
// reaches the printer (the USB stack, the emulated printer, a Windows kernel
// driver). CQV7_Sys_API talks to nothing else.
#ifndef QV7_DEVICE_DRIVER_H
#define QV7_DEVICE_DRIVER_H

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qv7 {

// A backend's own handle of an open device or pipe.
using DriverHandle = void*;

// Which step of device discovery gave out (the library words each one).
enum class FindStep {
    Found,
    NoInterfaceClass,  // the set of devices of the interface class is unavailable
    NoDevice,          // no device of the class is present
    NoDetailLength,    // the size of the device's path record could not be had
    NoDetail,          // the device's path record could not be read
};

struct FindResult {
    FindStep step = FindStep::NoDevice;
    std::string path;  // the first present device's path when step is Found
};

// Per-call time limits of a pipe, in the five values the library sets.
struct PipeTimeouts {
    uint32_t readInterval = 0;
    uint32_t readTotalMultiplier = 0;
    uint32_t readTotalConstant = 0;
    uint32_t writeTotalMultiplier = 0;
    uint32_t writeTotalConstant = 0;
};

// Tells when a backend's printer is plugged in or out. Used from one thread.
class PlugWatch {
public:
    virtual ~PlugWatch() = default;
    // File descriptors that turn readable when there is news; the same for
    // the watch's whole life.
    virtual std::vector<int> WaitHandles() const = 0;
    // Takes in the news without waiting: true when the printer came or went
    // since the last call.
    virtual bool TakeChanges() = 0;
};

class DeviceDriver {
public:
    virtual ~DeviceDriver() = default;

    // Path of the first present printer; only the first is ever used.
    virtual FindResult FindDevice() = 0;
    // Null when the device cannot be opened.
    virtual DriverHandle OpenDevice(const std::string& path) = 0;
    // One control request, complete on return. For a request with a reply,
    // *returned is the number of reply bytes the device gave.
    virtual bool Control(DriverHandle device, uint32_t controlCode, const uint8_t* input, uint32_t inputLength,
                         uint8_t* output, uint32_t outputLength, uint32_t* returned) = 0;
    // A pipe path is the device path, a backslash and the pipe name ("PIPE00"
    // device to host, "PIPE01" host to device). Null on failure, with the
    // platform's error number in *errorNumber.
    virtual DriverHandle OpenPipe(const std::string& pipePath, uint32_t* errorNumber) = 0;
    // Advisory: the caller goes on whatever the backend makes of it.
    virtual void SetPipeTimeouts(DriverHandle pipe, const PipeTimeouts& timeouts) = 0;
    // One chunk each way; false (or fewer bytes moved) is a shortfall.
    virtual bool WritePipe(DriverHandle pipe, const uint8_t* data, uint32_t length, uint32_t* moved) = 0;
    virtual bool ReadPipe(DriverHandle pipe, uint8_t* data, uint32_t length, uint32_t* moved) = 0;
    // Closes a device or pipe handle.
    virtual void Close(DriverHandle handle) = 0;

    // True when the last OpenDevice failed because another program holds the
    // printer (its interface claimed, its folder in use): a printer serves
    // one program at a time, and the user should hear that rather than that
    // the device could not be opened.
    virtual bool HeldElsewhere() const { return false; }

    // A watch on the printer being plugged in or out; null for a backend
    // whose printer is never plugged (the virtual one), or where the system
    // cannot tell.
    virtual std::unique_ptr<PlugWatch> WatchPlugging() { return nullptr; }
};

// The backend named by a device name: "usb", "virtual:DIR" or, on Windows, "win32".
// An unknown device name gives a backend that finds no interface class.
std::shared_ptr<DeviceDriver> MakeDriver(const std::string& deviceName);

// True when deviceName names a backend built into this library ("usb",
// "virtual:DIR" with DIR not empty, "win32" on Windows).
bool IsKnownDeviceName(const std::string& deviceName);

// The backend a new connection uses: the installed factory if there is one,
// else the one named by QUILLORY_DEVICE (default "win32" on Windows, "usb"
// elsewhere); wrapped in a trace when QUILLORY_TRACE names a file. Read
// afresh for every connection.
std::shared_ptr<DeviceDriver> SelectDriver();

// A plug watch on the printer of the backend QUILLORY_DEVICE names; null
// while a factory is installed (its program chose the backend) and for
// backends without one.
std::unique_ptr<PlugWatch> WatchSelectedPrinter();

// Replaces the environment's choice of backend (tests, embedding). An empty
// factory restores it.
using DriverFactory = std::function<std::shared_ptr<DeviceDriver>()>;
void SetDriverFactory(DriverFactory factory);

// Wraps a backend so that every operation appends one line to tracePath. A
// trace file that cannot be opened leaves the backend untraced: the first time
// for each file, stderr says so and why.
std::shared_ptr<DeviceDriver> MakeTracingDriver(std::shared_ptr<DeviceDriver> inner, const std::string& tracePath);

// Why the trace file of the newest connection could not be opened, in one
// line naming the file; empty when it could, or when no trace was asked for.
std::string TraceProblem();

}  // namespace qv7

#endif
