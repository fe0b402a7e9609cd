#include "Win32Driver.h"

#include <windows.h>
#include <setupapi.h>

#include <cstddef>
#include <cstring>
#include <memory>
#include <new>

#include "CallWatch.h"

#include "Backends.h"

namespace qv7 {

namespace {

// The device-interface class the printer's kernel driver registers.
constexpr GUID kInterfaceClass = {0x41B5E2D7, 0xC320, 0x4985, {0x99, 0x76, 0xA3, 0x0D, 0x07, 0x53, 0x0B, 0x80}};

class DeviceSet {
public:
    explicit DeviceSet(HDEVINFO set) : set_(set) {}
    ~DeviceSet() {
        if (set_ != INVALID_HANDLE_VALUE) SetupDiDestroyDeviceInfoList(set_);
    }
    DeviceSet(const DeviceSet&) = delete;
    DeviceSet& operator=(const DeviceSet&) = delete;
    HDEVINFO get() const { return set_; }

private:
    HDEVINFO set_;
};

HANDLE AsFile(DriverHandle handle) {
    return static_cast<HANDLE>(handle);
}

// Null stands for "no handle" above the seam; the platform's own failure value is not null.
DriverHandle FromFile(HANDLE file) {
    return file == INVALID_HANDLE_VALUE ? nullptr : static_cast<DriverHandle>(file);
}

HANDLE OpenReadWrite(const std::string& path, DWORD attributes) {
    return CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, attributes, nullptr);
}

// The limit of one pipe call in the manner of comm time-outs: a total constant
// plus a multiplier per byte, where the largest multiplier means "return as
// soon as anything has arrived" and adds nothing. 0 means no limit.
DWORD CallLimitMs(uint32_t totalConstant, uint32_t totalMultiplier, uint32_t length) {
    uint64_t limit = totalConstant;
    if (totalMultiplier != MAXDWORD) limit += static_cast<uint64_t>(totalMultiplier) * length;
    return limit >= MAXDWORD ? MAXDWORD - 1 : static_cast<DWORD>(limit);
}

}  // namespace

Win32Driver::Win32Driver() : watch_(std::make_unique<CallWatch>()) {}

Win32Driver::~Win32Driver() = default;

FindResult Win32Driver::FindDevice() {
    DeviceSet devices(SetupDiGetClassDevsA(&kInterfaceClass, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE));
    if (devices.get() == INVALID_HANDLE_VALUE) return {FindStep::NoInterfaceClass, {}};

    SP_DEVICE_INTERFACE_DATA first{};
    first.cbSize = sizeof first;
    if (!SetupDiEnumDeviceInterfaces(devices.get(), nullptr, &kInterfaceClass, 0, &first)) {
        return {FindStep::NoDevice, {}};
    }

    // The size query fails by design; only the size it names counts. A size
    // that cannot even hold the record's header would have the header written
    // past the buffer, so it counts as no size at all.
    DWORD required = 0;
    SetupDiGetDeviceInterfaceDetailA(devices.get(), &first, nullptr, 0, &required, nullptr);
    if (required < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A)) return {FindStep::NoDetailLength, {}};
    std::unique_ptr<uint8_t[]> buffer(new (std::nothrow) uint8_t[required]());
    if (!buffer) return {FindStep::NoDetailLength, {}};

    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A*>(buffer.get());
    detail->cbSize = sizeof *detail;
    if (!SetupDiGetDeviceInterfaceDetailA(devices.get(), &first, detail, required, nullptr, nullptr)) {
        return {FindStep::NoDetail, {}};
    }
    // Read no further than the buffer, terminator or not.
    const size_t room = required - offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_A, DevicePath);
    return {FindStep::Found, std::string(detail->DevicePath, strnlen(detail->DevicePath, room))};
}

DriverHandle Win32Driver::OpenDevice(const std::string& path) {
    return FromFile(OpenReadWrite(path, FILE_ATTRIBUTE_NORMAL));
}

bool Win32Driver::Control(DriverHandle device, uint32_t controlCode, const uint8_t* input, uint32_t inputLength,
                          uint8_t* output, uint32_t outputLength, uint32_t* returned) {
    DWORD bytes = 0;
    const BOOL ok = DeviceIoControl(AsFile(device), controlCode, const_cast<uint8_t*>(input), inputLength, output,
                                    outputLength, &bytes, nullptr);
    *returned = ok ? bytes : 0;
    return ok != FALSE;
}

DriverHandle Win32Driver::OpenPipe(const std::string& pipePath, uint32_t* errorNumber) {
    const HANDLE pipe = OpenReadWrite(pipePath, 0);
    if (pipe == INVALID_HANDLE_VALUE) {
        *errorNumber = GetLastError();
        return nullptr;
    }
    return FromFile(pipe);
}

void Win32Driver::SetPipeTimeouts(DriverHandle pipe, const PipeTimeouts& timeouts) {
    COMMTIMEOUTS comm{};
    comm.ReadIntervalTimeout = timeouts.readInterval;
    comm.ReadTotalTimeoutMultiplier = timeouts.readTotalMultiplier;
    comm.ReadTotalTimeoutConstant = timeouts.readTotalConstant;
    comm.WriteTotalTimeoutMultiplier = timeouts.writeTotalMultiplier;
    comm.WriteTotalTimeoutConstant = timeouts.writeTotalConstant;
    SetCommTimeouts(AsFile(pipe), &comm);
    timeouts_[pipe] = timeouts;
}

bool Win32Driver::WritePipe(DriverHandle pipe, const uint8_t* data, uint32_t length, uint32_t* moved) {
    const PipeTimeouts& limits = timeouts_[pipe];
    DWORD bytes = 0;
    watch_->Begin(CallLimitMs(limits.writeTotalConstant, limits.writeTotalMultiplier, length));
    const BOOL ok = WriteFile(AsFile(pipe), data, length, &bytes, nullptr);
    watch_->End();
    *moved = ok ? bytes : 0;
    return ok != FALSE;
}

bool Win32Driver::ReadPipe(DriverHandle pipe, uint8_t* data, uint32_t length, uint32_t* moved) {
    const PipeTimeouts& limits = timeouts_[pipe];
    DWORD bytes = 0;
    watch_->Begin(CallLimitMs(limits.readTotalConstant, limits.readTotalMultiplier, length));
    const BOOL ok = ReadFile(AsFile(pipe), data, length, &bytes, nullptr);
    watch_->End();
    *moved = ok ? bytes : 0;
    return ok != FALSE;
}

void Win32Driver::Close(DriverHandle handle) {
    timeouts_.erase(handle);
    CloseHandle(AsFile(handle));
}

std::shared_ptr<DeviceDriver> MakeWin32Driver() {
    return std::make_shared<Win32Driver>();
}

}  // namespace qv7
