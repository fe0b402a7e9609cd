// The only place that speaks libusb. Its error codes are turned into errno
// numbers here, so no user ever sees one.
#include "LibusbTransport.h"

#include <libusb.h>

#include <cerrno>
#include <climits>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>

namespace qv7 {

namespace {

int ErrnoFrom(int libusbError) {
    switch (libusbError) {
    case LIBUSB_SUCCESS: return 0;
    case LIBUSB_ERROR_IO: return EIO;
    case LIBUSB_ERROR_INVALID_PARAM: return EINVAL;
    case LIBUSB_ERROR_ACCESS: return EACCES;
    case LIBUSB_ERROR_NO_DEVICE: return ENODEV;
    case LIBUSB_ERROR_NOT_FOUND: return ENOENT;
    case LIBUSB_ERROR_BUSY: return EBUSY;
    case LIBUSB_ERROR_TIMEOUT: return ETIMEDOUT;
    case LIBUSB_ERROR_OVERFLOW: return EOVERFLOW;
    case LIBUSB_ERROR_PIPE: return EPIPE;
    case LIBUSB_ERROR_INTERRUPTED: return EINTR;
    case LIBUSB_ERROR_NO_MEM: return ENOMEM;
    case LIBUSB_ERROR_NOT_SUPPORTED: return ENOTSUP;
    default: return EIO;
    }
}

// Frees a device list however the walk through it ends.
class DeviceList {
public:
    explicit DeviceList(libusb_context* context) : count_(libusb_get_device_list(context, &devices_)) {}
    ~DeviceList() {
        if (count_ >= 0) libusb_free_device_list(devices_, 1);
    }
    DeviceList(const DeviceList&) = delete;
    DeviceList& operator=(const DeviceList&) = delete;

    int Error() const { return count_ < 0 ? ErrnoFrom(static_cast<int>(count_)) : 0; }
    ssize_t Count() const { return count_ < 0 ? 0 : count_; }
    libusb_device* operator[](ssize_t i) const { return devices_[i]; }

private:
    libusb_device** devices_ = nullptr;
    ssize_t count_;
};

bool HasIds(libusb_device* device, UsbIds ids) {
    libusb_device_descriptor descriptor{};
    if (libusb_get_device_descriptor(device, &descriptor) != LIBUSB_SUCCESS) return false;
    return descriptor.idVendor == ids.vendor && descriptor.idProduct == ids.product;
}

UsbAddress AddressOf(libusb_device* device) {
    return UsbAddress{libusb_get_bus_number(device), libusb_get_device_address(device)};
}

// Alternate setting 0 of each interface of the active configuration, from the
// descriptors the system read when the device was plugged in.
int InterfacesOf(libusb_device* device, std::vector<UsbInterface>* interfaces) {
    interfaces->clear();
    libusb_config_descriptor* config = nullptr;
    if (const int error = libusb_get_active_config_descriptor(device, &config)) return ErrnoFrom(error);
    for (uint8_t i = 0; i < config->bNumInterfaces; ++i) {
        const libusb_interface& choices = config->interface[i];
        if (choices.num_altsetting < 1) continue;
        const libusb_interface_descriptor& setting = choices.altsetting[0];
        UsbInterface described{setting.bInterfaceNumber, setting.bInterfaceClass, {}};
        for (uint8_t e = 0; e < setting.bNumEndpoints; ++e) {
            const libusb_endpoint_descriptor& endpoint = setting.endpoint[e];
            described.endpoints.push_back(
                UsbEndpoint{endpoint.bEndpointAddress, endpoint.bmAttributes, endpoint.wMaxPacketSize});
        }
        interfaces->push_back(std::move(described));
    }
    libusb_free_config_descriptor(config);
    return 0;
}

// The first line of a small sysfs attribute; empty when there is none.
std::string SysfsLine(const std::filesystem::path& file) {
    constexpr size_t kLongestLine = 256;
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    if (line.size() > kLongestLine) line.resize(kLongestLine);
    return line;
}

// The product text the kernel asked of the device when it was plugged in and
// keeps in sysfs: reading it there sends the device nothing, where libusb
// would ask the device again.
std::string ProductText(UsbAddress at) {
    namespace fs = std::filesystem;
    std::error_code error;
    for (fs::directory_iterator entry("/sys/bus/usb/devices", error), end; !error && entry != end;
         entry.increment(error)) {
        const fs::path folder = entry->path();
        if (SysfsLine(folder / "busnum") == std::to_string(at.bus) &&
            SysfsLine(folder / "devnum") == std::to_string(at.address)) {
            return SysfsLine(folder / "product");
        }
    }
    return {};
}

// libusb's hot-plug notification on a context of its own, which never opens a
// device: its only descriptors are libusb's event and timer descriptors, and
// handling its events runs the callback in the caller's thread.
class LibusbPlugEvents final : public UsbPlugEvents {
public:
    LibusbPlugEvents() = default;
    ~LibusbPlugEvents() override {
        if (!context_) return;
        if (registered_) libusb_hotplug_deregister_callback(context_, callback_);
        libusb_exit(context_);
    }
    LibusbPlugEvents(const LibusbPlugEvents&) = delete;
    LibusbPlugEvents& operator=(const LibusbPlugEvents&) = delete;

    // False where libusb cannot tell of plugging (or cannot be waited on
    // through descriptors, as on Windows).
    bool Start() {
        if (!libusb_has_capability(LIBUSB_CAP_HAS_HOTPLUG) || libusb_init(&context_) != LIBUSB_SUCCESS) {
            context_ = nullptr;
            return false;
        }
        const auto events =
            static_cast<libusb_hotplug_event>(LIBUSB_HOTPLUG_EVENT_DEVICE_ARRIVED | LIBUSB_HOTPLUG_EVENT_DEVICE_LEFT);
        registered_ = libusb_hotplug_register_callback(context_, events, static_cast<libusb_hotplug_flag>(0),
                                                       LIBUSB_HOTPLUG_MATCH_ANY, LIBUSB_HOTPLUG_MATCH_ANY,
                                                       LIBUSB_HOTPLUG_MATCH_ANY, &Plugged, this,
                                                       &callback_) == LIBUSB_SUCCESS;
        const libusb_pollfd** pollfds = libusb_get_pollfds(context_);
        // All of them are waited on for reading (libusb's event and timer descriptors).
        for (size_t i = 0; pollfds && pollfds[i]; ++i) handles_.push_back(pollfds[i]->fd);
        libusb_free_pollfds(pollfds);
        return registered_ && !handles_.empty();
    }

    std::vector<int> WaitHandles() const override { return handles_; }

    std::vector<UsbIds> Collect() override {
        timeval now{0, 0};
        libusb_handle_events_timeout_completed(context_, &now, nullptr);
        return std::exchange(changed_, {});
    }

private:
    static int LIBUSB_CALL Plugged(libusb_context*, libusb_device* device, libusb_hotplug_event, void* self) {
        // A device that has left still has the descriptor it came with.
        libusb_device_descriptor descriptor{};
        if (libusb_get_device_descriptor(device, &descriptor) == LIBUSB_SUCCESS) {
            static_cast<LibusbPlugEvents*>(self)->changed_.push_back(UsbIds{descriptor.idVendor, descriptor.idProduct});
        }
        return 0;  // stay registered
    }

    libusb_context* context_ = nullptr;
    libusb_hotplug_callback_handle callback_ = 0;
    bool registered_ = false;
    std::vector<int> handles_;
    std::vector<UsbIds> changed_;
};

}  // namespace

struct LibusbTransport::Context {
    libusb_context* usb = nullptr;
    ~Context() {
        if (usb) libusb_exit(usb);
    }
};

namespace {

class LibusbDevice final : public UsbDevice {
public:
    LibusbDevice(std::shared_ptr<LibusbTransport::Context> context, libusb_device_handle* handle)
        : context_(std::move(context)), handle_(handle) {}
    ~LibusbDevice() override { libusb_close(handle_); }

    LibusbDevice(const LibusbDevice&) = delete;
    LibusbDevice& operator=(const LibusbDevice&) = delete;

    int DescribeInterface(uint8_t interfaceNumber, UsbInterface* out) override {
        std::vector<UsbInterface> interfaces;
        if (const int error = InterfacesOf(libusb_get_device(handle_), &interfaces)) return error;
        for (UsbInterface& described : interfaces) {
            if (described.number != interfaceNumber) continue;
            *out = std::move(described);
            return 0;
        }
        return ENOENT;
    }

    int KernelDriverActive(uint8_t interfaceNumber, bool* active) override {
        *active = false;
        const int answer = libusb_kernel_driver_active(handle_, interfaceNumber);
        if (answer == LIBUSB_ERROR_NOT_SUPPORTED) return 0;
        if (answer < 0) return ErrnoFrom(answer);
        *active = answer == 1;
        return 0;
    }

    int DetachKernelDriver(uint8_t interfaceNumber) override {
        return ErrnoFrom(libusb_detach_kernel_driver(handle_, interfaceNumber));
    }

    int AttachKernelDriver(uint8_t interfaceNumber) override {
        return ErrnoFrom(libusb_attach_kernel_driver(handle_, interfaceNumber));
    }

    int ClaimInterface(uint8_t interfaceNumber) override {
        return ErrnoFrom(libusb_claim_interface(handle_, interfaceNumber));
    }

    int ReleaseInterface(uint8_t interfaceNumber) override {
        return ErrnoFrom(libusb_release_interface(handle_, interfaceNumber));
    }

    int ControlWrite(const UsbSetup& setup, const uint8_t* data, unsigned timeoutMs, uint32_t* transferred) override {
        // libusb takes one buffer type for both directions; an OUT stage only reads it.
        return Control(setup, const_cast<uint8_t*>(data), timeoutMs, transferred);
    }

    int ControlRead(const UsbSetup& setup, uint8_t* data, unsigned timeoutMs, uint32_t* transferred) override {
        return Control(setup, data, timeoutMs, transferred);
    }

    int BulkWrite(uint8_t endpoint, const uint8_t* data, uint32_t length, unsigned timeoutMs,
                  uint32_t* transferred) override {
        return Bulk(endpoint, const_cast<uint8_t*>(data), length, timeoutMs, transferred);
    }

    int BulkRead(uint8_t endpoint, uint8_t* data, uint32_t length, unsigned timeoutMs,
                 uint32_t* transferred) override {
        return Bulk(endpoint, data, length, timeoutMs, transferred);
    }

    int ClearHalt(uint8_t endpoint) override { return ErrnoFrom(libusb_clear_halt(handle_, endpoint)); }

private:
    int Control(const UsbSetup& setup, uint8_t* data, unsigned timeoutMs, uint32_t* transferred) {
        *transferred = 0;
        const int answer = libusb_control_transfer(handle_, setup.requestType, setup.request, setup.value,
                                                   setup.index, data, setup.length, timeoutMs);
        if (answer < 0) return ErrnoFrom(answer);
        *transferred = static_cast<uint32_t>(answer);
        return 0;
    }

    int Bulk(uint8_t endpoint, uint8_t* data, uint32_t length, unsigned timeoutMs, uint32_t* transferred) {
        *transferred = 0;
        if (length > INT_MAX) return EINVAL;
        int actual = 0;
        const int answer = libusb_bulk_transfer(handle_, endpoint, data, static_cast<int>(length), &actual, timeoutMs);
        *transferred = actual > 0 ? static_cast<uint32_t>(actual) : 0;
        return ErrnoFrom(answer);
    }

    std::shared_ptr<LibusbTransport::Context> context_;
    libusb_device_handle* handle_;
};

}  // namespace

LibusbTransport::LibusbTransport() = default;
LibusbTransport::~LibusbTransport() = default;

int LibusbTransport::Start() {
    if (context_) return 0;
    auto context = std::make_shared<Context>();
    if (const int error = libusb_init(&context->usb)) {
        context->usb = nullptr;
        return ErrnoFrom(error);
    }
    context_ = std::move(context);
    return 0;
}

int LibusbTransport::List(UsbIds ids, std::vector<UsbAddress>* found) {
    found->clear();
    if (const int error = Start()) return error;
    const DeviceList devices(context_->usb);
    if (const int error = devices.Error()) return error;
    for (ssize_t i = 0; i < devices.Count(); ++i) {
        if (HasIds(devices[i], ids)) found->push_back(AddressOf(devices[i]));
    }
    return 0;
}

int LibusbTransport::Open(UsbAddress at, UsbIds ids, std::unique_ptr<UsbDevice>* out) {
    out->reset();
    if (const int error = Start()) return error;
    const DeviceList devices(context_->usb);
    if (const int error = devices.Error()) return error;
    for (ssize_t i = 0; i < devices.Count(); ++i) {
        if (!(AddressOf(devices[i]) == at)) continue;
        // The address may have passed to another device since it was found.
        if (!HasIds(devices[i], ids)) return ENODEV;
        libusb_device_handle* handle = nullptr;
        if (const int error = libusb_open(devices[i], &handle)) return ErrnoFrom(error);
        *out = std::make_unique<LibusbDevice>(context_, handle);
        return 0;
    }
    return ENODEV;
}

int LibusbTransport::Survey(std::vector<UsbDeviceSummary>* found) {
    found->clear();
    if (const int error = Start()) return error;
    const DeviceList devices(context_->usb);
    if (const int error = devices.Error()) return error;
    for (ssize_t i = 0; i < devices.Count(); ++i) {
        libusb_device_descriptor descriptor{};
        if (libusb_get_device_descriptor(devices[i], &descriptor) != LIBUSB_SUCCESS) continue;
        const UsbAddress at = AddressOf(devices[i]);
        UsbDeviceSummary device{at, UsbIds{descriptor.idVendor, descriptor.idProduct}, ProductText(at), {}};
        // An unconfigured device has no interfaces to show, which is all it says.
        InterfacesOf(devices[i], &device.interfaces);
        found->push_back(std::move(device));
    }
    return 0;
}

std::unique_ptr<UsbPlugEvents> LibusbTransport::WatchPlugging() {
    auto events = std::make_unique<LibusbPlugEvents>();
    if (!events->Start()) return nullptr;
    return events;
}

}  // namespace qv7
