#include <cerrno>
#include <cstdlib>
#include <mutex>

#include "Backends.h"
#include "qv7/DeviceDriver.h"

namespace qv7 {

namespace {

constexpr char kVirtualPrefix[] = "virtual:";
constexpr size_t kVirtualPrefixLength = sizeof kVirtualPrefix - 1;

// On Windows the printer's own kernel driver is the first choice.
#if QV7_WITH_WIN32
constexpr char kDefaultDeviceName[] = "win32";
#else
constexpr char kDefaultDeviceName[] = "usb";
#endif

// What an unknown device name leads to: no interface class to look in.
class NoBackend final : public DeviceDriver {
public:
    FindResult FindDevice() override { return FindResult{FindStep::NoInterfaceClass, {}}; }
    DriverHandle OpenDevice(const std::string&) override { return nullptr; }
    bool Control(DriverHandle, uint32_t, const uint8_t*, uint32_t, uint8_t*, uint32_t, uint32_t* returned) override {
        *returned = 0;
        return false;
    }
    DriverHandle OpenPipe(const std::string&, uint32_t* errorNumber) override {
        *errorNumber = ENODEV;
        return nullptr;
    }
    void SetPipeTimeouts(DriverHandle, const PipeTimeouts&) override {}
    bool WritePipe(DriverHandle, const uint8_t*, uint32_t, uint32_t* moved) override {
        *moved = 0;
        return false;
    }
    bool ReadPipe(DriverHandle, uint8_t*, uint32_t, uint32_t* moved) override {
        *moved = 0;
        return false;
    }
    void Close(DriverHandle) override {}
};

std::mutex factoryMutex;
DriverFactory installedFactory;

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

// "~" and "~/..." stand for the home folder, as in a shell; a folder really
// named "~" in the current folder is one "rm -rf ~" away from disaster.
std::string ExpandHome(const std::string& dir) {
    if (dir != "~" && dir.rfind("~/", 0) != 0) return dir;
    const std::string home = Environment("HOME");
    if (home.empty()) return dir;
    return home + dir.substr(1);
}

}  // namespace

bool IsKnownDeviceName(const std::string& deviceName) {
#if QV7_WITH_WIN32
    if (deviceName == "win32") return true;
#endif
#if QV7_WITH_USB
    if (deviceName == "usb") return true;
#endif
    return deviceName.compare(0, kVirtualPrefixLength, kVirtualPrefix) == 0 &&
           deviceName.size() > kVirtualPrefixLength;
}

std::shared_ptr<DeviceDriver> MakeDriver(const std::string& deviceName) {
    if (!IsKnownDeviceName(deviceName)) return std::make_shared<NoBackend>();
#if QV7_WITH_WIN32
    if (deviceName == "win32") return MakeWin32Driver();
#endif
#if QV7_WITH_USB
    if (deviceName == "usb") return MakeUsbDriver();
#endif
    return MakeVirtualDriver(ExpandHome(deviceName.substr(kVirtualPrefixLength)));
}

std::unique_ptr<PlugWatch> WatchSelectedPrinter() {
    {
        std::lock_guard<std::mutex> lock(factoryMutex);
        if (installedFactory) return nullptr;
    }
#if QV7_WITH_USB
    // Only the usb backend's printer is plugged; a virtual one never is, and
    // making its driver could already create its folder.
    const std::string name = Environment("QUILLORY_DEVICE");
    if ((name.empty() ? std::string(kDefaultDeviceName) : name) == "usb") return MakeUsbDriver()->WatchPlugging();
#endif
    return nullptr;
}

void SetDriverFactory(DriverFactory factory) {
    std::lock_guard<std::mutex> lock(factoryMutex);
    installedFactory = std::move(factory);
}

std::shared_ptr<DeviceDriver> SelectDriver() {
    DriverFactory factory;
    {
        std::lock_guard<std::mutex> lock(factoryMutex);
        factory = installedFactory;
    }
    std::shared_ptr<DeviceDriver> driver;
    if (factory) {
        driver = factory();
    } else {
        const std::string name = Environment("QUILLORY_DEVICE");
        driver = MakeDriver(name.empty() ? kDefaultDeviceName : name);
    }
    if (!driver) driver = std::make_shared<NoBackend>();

    const std::string tracePath = Environment("QUILLORY_TRACE");
    if (tracePath.empty()) {
        ClearTraceProblem();
        return driver;
    }
    return MakeTracingDriver(std::move(driver), tracePath);
}

}  // namespace qv7
