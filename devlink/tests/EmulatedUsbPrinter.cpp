#include "EmulatedUsbPrinter.h"

// The usbdevfs header uses the ioctl macros without including them.
#include <linux/ioctl.h>
#include <linux/usbdevice_fs.h>
#include <umockdev.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <vector>

#include "LoopbackUsbTransport.h"
#include "qv7/VirtualPrinter.h"

namespace qv7test {

namespace {

constexpr const char* kDeviceNode = "/dev/bus/usb/001/007";
constexpr const char* kSysfsPath = "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-3";
constexpr uint32_t kSetupLength = 8;

// What a current kernel tells libusb it can do: whole transfers in one URB,
// and URBs reaped after a disconnect.
constexpr uint32_t kCapabilities = USBDEVFS_CAP_ZERO_PACKET | USBDEVFS_CAP_BULK_CONTINUATION |
                                   USBDEVFS_CAP_NO_PACKET_SIZE_LIM | USBDEVFS_CAP_BULK_SCATTER_GATHER |
                                   USBDEVFS_CAP_REAP_AFTER_DISCONNECT;

void Append16(std::vector<uint8_t>& bytes, uint16_t value) {
    bytes.push_back(static_cast<uint8_t>(value));
    bytes.push_back(static_cast<uint8_t>(value >> 8));
}

// Device, configuration, interface and endpoint descriptors, as the kernel
// shows them in sysfs and libusb reads them from there.
std::string DescriptorsHex(uint16_t packetSize) {
    std::vector<uint8_t> bytes{18, 1};
    Append16(bytes, 0x0200);  // USB 2.0
    bytes.insert(bytes.end(), {0, 0, 0, 64});
    Append16(bytes, kEmulatedUsbIds.vendor);
    Append16(bytes, kEmulatedUsbIds.product);
    Append16(bytes, 0x0100);
    bytes.insert(bytes.end(), {0, 0, 0, 1});
    // One configuration: one interface of class 0xFF with one bulk endpoint each way.
    bytes.insert(bytes.end(), {9, 2, 32, 0, 1, 1, 0, 0x80, 50});
    bytes.insert(bytes.end(), {9, 4, 0, 0, 2, 0xFF, 0, 0, 0});
    for (const uint8_t endpoint : {kEmulatedBulkIn, kEmulatedBulkOut}) {
        bytes.insert(bytes.end(), {7, 5, endpoint, qv7::kUsbTransferTypeBulk});
        Append16(bytes, packetSize);
        bytes.push_back(0);
    }
    return Hex(bytes.data(), bytes.size());
}

std::string SysfsRecord(uint16_t packetSize) {
    char ids[64];
    std::snprintf(ids, sizeof ids, "A: idVendor=%04x\\n\nA: idProduct=%04x\\n\n", kEmulatedUsbIds.vendor,
                  kEmulatedUsbIds.product);
    return std::string("P: ") + (kSysfsPath + 4) + "\n" + "N: " + (kDeviceNode + 5) + "\n" +
           "E: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\nE: DRIVER=usb\nE: BUSNUM=001\nE: DEVNUM=007\n" +
           "E: DEVNAME=" + kDeviceNode + "\n" + "A: busnum=1\\n\nA: devnum=7\\n\nA: bConfigurationValue=1\\n\n" +
           "A: speed=" + (packetSize > qv7::kFullSpeedBulkPacket ? "480" : "12") + "\\n\n" + ids +
           "H: descriptors=" + DescriptorsHex(packetSize) + "\n";
}

struct DataUnref {
    void operator()(UMockdevIoctlData* data) const { umockdev_ioctl_data_unref(data); }
};
using IoctlData = std::unique_ptr<UMockdevIoctlData, DataUnref>;

IoctlData Resolve(UMockdevIoctlData* data, size_t offset, size_t length) {
    return IoctlData(umockdev_ioctl_data_resolve(data, offset, length, nullptr));
}

usbdevfs_urb& UrbOf(const IoctlData& data) {
    return *reinterpret_cast<usbdevfs_urb*>(data->data);
}

// How the device ends one URB: a status, the bytes moved, or no answer yet.
struct Completion {
    int error = 0;
    uint32_t moved = 0;
    bool waits = false;
};

}  // namespace

void ChooseEmulatedUsbPrinter() {
    setenv("QUILLORY_DEVICE", "usb", 1);
    setenv("QUILLORY_USB_ID", kEmulatedUsbIdSetting, 1);
}

void ForgetEmulatedUsbPrinter() {
    unsetenv("QUILLORY_DEVICE");
    unsetenv("QUILLORY_USB_ID");
}

void ChooseEmulatedUsbPrinter(ScopedEnvironment& environment) {
    environment.Set("QUILLORY_DEVICE", "usb");
    environment.Set("QUILLORY_USB_ID", kEmulatedUsbIdSetting);
}

struct EmulatedUsbPrinter::Device {
    // One open file of the device node: one libusb device handle.
    struct Opener {
        UMockdevIoctlClient* client = nullptr;
        std::unique_ptr<qv7::UsbDevice> device;
        std::deque<IoctlData> reapable;  // done, for the host to reap
        std::vector<IoctlData> waiting;  // the device has not answered them
    };
    struct Fault {
        UsbFault fault;
        uint8_t endpoint;
        unsigned left;
        uint16_t packetBytes;
    };

    std::mutex mutex;
    std::string unavailable;
    uint16_t packetSize = 0;
    std::shared_ptr<qv7::VirtualPrinter> printer;
    std::shared_ptr<qv7::LoopbackUsbTransport> bus;
    UMockdevTestbed* testbed = nullptr;
    UMockdevIoctlBase* handler = nullptr;
    std::map<UMockdevIoctlClient*, Opener> openers;
    std::vector<Fault> faults;
    bool gone = false;
    unsigned openings = 0;

    static void Connected(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer self) {
        static_cast<Device*>(self)->Connect(client);
    }
    static gboolean HandleIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer self) {
        return static_cast<Device*>(self)->Answer(client);
    }

    void Connect(UMockdevIoctlClient* client) {
        const std::lock_guard<std::mutex> lock(mutex);
        ++openings;
        Opener& opener = openers[client];
        opener.client = static_cast<UMockdevIoctlClient*>(g_object_ref(client));
        bus->Open(qv7::kLoopbackAddress, kEmulatedUsbIds, &opener.device);
    }

    // A program that closed the node, or ended, has let go of its claim, as
    // the kernel sees to. umockdev tells of a closed node only when asked.
    void ForgetClosed() {
        for (auto it = openers.begin(); it != openers.end();) {
            if (umockdev_ioctl_client_get_connected(it->first)) {
                ++it;
                continue;
            }
            g_object_unref(it->second.client);
            it = openers.erase(it);
        }
    }

    // Runs on umockdev's own thread, one request at a time.
    gboolean Answer(UMockdevIoctlClient* client) {
        const std::lock_guard<std::mutex> lock(mutex);
        const auto found = openers.find(client);
        if (found == openers.end()) return FALSE;
        Opener& opener = found->second;
        UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
        const unsigned long request = umockdev_ioctl_client_get_request(client);
        int error = 0;
        switch (request) {
        // Reaping still works after a disconnect, until nothing is left.
        case USBDEVFS_REAPURB:
        case USBDEVFS_REAPURBNDELAY: error = Reap(opener, arg); break;
        default:
            if (gone || !opener.device) {
                error = ENODEV;
                break;
            }
            switch (request) {
            case USBDEVFS_GET_CAPABILITIES: error = Capabilities(arg); break;
            // No kernel driver ever binds the printer's interface.
            case USBDEVFS_GETDRIVER:
            case USBDEVFS_IOCTL: error = ENODATA; break;
            case USBDEVFS_CLAIMINTERFACE:
                ForgetClosed();
                error = Interface(*opener.device, request, arg);
                break;
            case USBDEVFS_RELEASEINTERFACE:
            case USBDEVFS_CLEAR_HALT: error = Interface(*opener.device, request, arg); break;
            case USBDEVFS_SUBMITURB: error = Submit(opener, arg); break;
            case USBDEVFS_DISCARDURB: error = Discard(opener, arg); break;
            default: return FALSE;  // umockdev answers ENOTTY, as for a request the kernel does not know
            }
        }
        umockdev_ioctl_client_complete(client, error ? -1 : 0, error);
        return TRUE;
    }

    static int Capabilities(UMockdevIoctlData* arg) {
        const IoctlData capabilities = Resolve(arg, 0, sizeof(uint32_t));
        if (!capabilities) return EFAULT;
        *reinterpret_cast<uint32_t*>(capabilities->data) = kCapabilities;
        return 0;
    }

    // Claim, release and clear halt, each naming an interface or endpoint.
    static int Interface(qv7::UsbDevice& device, unsigned long request, UMockdevIoctlData* arg) {
        const IoctlData number = Resolve(arg, 0, sizeof(unsigned int));
        if (!number) return EFAULT;
        const unsigned int value = *reinterpret_cast<unsigned int*>(number->data);
        if (value > 0xFF) return EINVAL;
        const auto n = static_cast<uint8_t>(value);
        if (request == USBDEVFS_CLAIMINTERFACE) return device.ClaimInterface(n);
        if (request == USBDEVFS_RELEASEINTERFACE) return device.ReleaseInterface(n) ? EINVAL : 0;
        return device.ClearHalt(n);
    }

    int Submit(Opener& opener, UMockdevIoctlData* arg) {
        IoctlData urbData = Resolve(arg, 0, sizeof(usbdevfs_urb));
        if (!urbData) return EFAULT;
        usbdevfs_urb& urb = UrbOf(urbData);
        if (urb.buffer_length < 0) return EINVAL;
        const auto length = static_cast<uint32_t>(urb.buffer_length);
        const IoctlData buffer = length ? Resolve(urbData.get(), offsetof(usbdevfs_urb, buffer), length) : nullptr;
        if (length && !buffer) return EFAULT;
        uint8_t* bytes = buffer ? buffer->data : nullptr;

        Completion completion;
        if (urb.type == USBDEVFS_URB_TYPE_CONTROL) {
            if (length < kSetupLength) return EINVAL;
            completion = Control(*opener.device, bytes, length);
        } else if (urb.type == USBDEVFS_URB_TYPE_BULK) {
            if (urb.endpoint != kEmulatedBulkIn && urb.endpoint != kEmulatedBulkOut) return ENOENT;
            completion = Bulk(opener, urb.endpoint, bytes, length);
        } else {
            return EINVAL;
        }
        urb.actual_length = static_cast<int>(completion.moved);
        urb.status = -completion.error;
        if (completion.waits) {
            opener.waiting.push_back(std::move(urbData));
        } else {
            opener.reapable.push_back(std::move(urbData));
        }
        return 0;
    }

    // The setup packet comes first in the buffer; actual_length counts only
    // the data stage after it.
    Completion Control(qv7::UsbDevice& device, uint8_t* bytes, uint32_t length) {
        qv7::UsbSetup setup{bytes[0], bytes[1], static_cast<uint16_t>(bytes[2] | bytes[3] << 8),
                            static_cast<uint16_t>(bytes[4] | bytes[5] << 8),
                            static_cast<uint16_t>(bytes[6] | bytes[7] << 8)};
        setup.length = static_cast<uint16_t>(std::min<uint32_t>(setup.length, length - kSetupLength));
        if (const std::optional<Fault> fault = TakeFault(kEmulatedControl)) return Misbehave(*fault, nullptr, 0);
        uint32_t moved = 0;
        const int error = (setup.requestType & qv7::kUsbDirectionIn)
                              ? device.ControlRead(setup, bytes + kSetupLength, 0, &moved)
                              : device.ControlWrite(setup, bytes + kSetupLength, 0, &moved);
        return {error, moved, false};
    }

    // A transfer the device cannot finish (no room, nothing to send) is NAKed
    // until the host gives up and discards it.
    Completion Bulk(Opener& opener, uint8_t endpoint, uint8_t* bytes, uint32_t length) {
        if (const std::optional<Fault> fault = TakeFault(endpoint)) return Misbehave(*fault, bytes, length);
        uint32_t moved = 0;
        const int error = endpoint == kEmulatedBulkOut ? opener.device->BulkWrite(endpoint, bytes, length, 0, &moved)
                                                       : opener.device->BulkRead(endpoint, bytes, length, 0, &moved);
        if (error == ETIMEDOUT) return {0, moved, true};
        return {error, moved, false};
    }

    Completion Misbehave(const Fault& fault, uint8_t* bytes, uint32_t length) {
        switch (fault.fault) {
        // A bulk endpoint stays halted; a stalled control request clears
        // itself with the next setup packet.
        case UsbFault::Stall: bus->Halt(fault.endpoint); return {EPIPE, 0, false};
        case UsbFault::Unplug:
            Disconnect();
            // The host controller ends what was on the wire as it shuts the port down.
            return {ESHUTDOWN, 0, false};
        case UsbFault::Silence: return {0, 0, true};
        case UsbFault::ShortPacket:
            return {0, printer->ReadBulk(bytes, std::min<uint32_t>(length, fault.packetBytes)), false};
        case UsbFault::Babble:
            printer->ReadBulk(bytes, std::min<uint32_t>(length, packetSize));
            return {EOVERFLOW, length, false};
        }
        return {EIO, 0, false};
    }

    std::optional<Fault> TakeFault(uint8_t endpoint) {
        for (auto it = faults.begin(); it != faults.end(); ++it) {
            if (it->endpoint != endpoint || --it->left > 0) continue;
            const Fault due = *it;
            faults.erase(it);
            return due;
        }
        return std::nullopt;
    }

    // The device's sysfs record, which also tells of it ("add").
    bool Add(GError** error) {
        if (!umockdev_testbed_add_from_string(testbed, SysfsRecord(packetSize).c_str(), error)) return false;
        umockdev_testbed_set_attribute(testbed, kSysfsPath, "product", (std::string(kEmulatedProductText) + "\n").c_str());
        return true;
    }

    // Every URB still on the wire ends as the port shuts down.
    void Disconnect() {
        gone = true;
        for (auto& [client, opener] : openers) {
            for (IoctlData& urb : opener.waiting) {
                UrbOf(urb).status = -ESHUTDOWN;
                opener.reapable.push_back(std::move(urb));
            }
            opener.waiting.clear();
        }
    }

    int Reap(Opener& opener, UMockdevIoctlData* arg) {
        if (opener.reapable.empty()) return gone ? ENODEV : EAGAIN;
        const IoctlData pointer = Resolve(arg, 0, sizeof(void*));
        if (!pointer) return EFAULT;
        const IoctlData urb = std::move(opener.reapable.front());
        opener.reapable.pop_front();
        umockdev_ioctl_data_set_ptr(pointer.get(), 0, urb.get());
        return 0;
    }

    // The argument is the URB's address in the host's memory.
    static int Discard(Opener& opener, UMockdevIoctlData* arg) {
        const gulong address = *reinterpret_cast<gulong*>(arg->data);
        const auto found = std::find_if(opener.waiting.begin(), opener.waiting.end(),
                                        [address](const IoctlData& urb) { return urb->client_addr == address; });
        if (found == opener.waiting.end()) return EINVAL;
        UrbOf(*found).status = -ENOENT;
        opener.reapable.push_back(std::move(*found));
        opener.waiting.erase(found);
        return 0;
    }
};

EmulatedUsbPrinter::EmulatedUsbPrinter(const std::string& folder, uint16_t packetSize)
    : device_(std::make_unique<Device>()) {
    Device& device = *device_;
    device.packetSize = packetSize;
    device.printer = qv7::VirtualPrinter::Open(folder, &device.unavailable);
    if (!device.printer) return;
    device.bus = std::make_shared<qv7::LoopbackUsbTransport>(device.printer, kEmulatedUsbIds, packetSize);

    device.testbed = umockdev_testbed_new();
    // Without the preload library the testbed is made all the same, but
    // libusb would look at this machine's own devices.
    if (!umockdev_in_mock_environment()) {
        device.unavailable =
            "not run with umockdev's preload library (LD_PRELOAD=libumockdev-preload.so.0): "
            "libusb would see this machine's own USB devices";
        return;
    }
    device.handler = umockdev_ioctl_base_new();
    g_signal_connect(device.handler, "client-connected", G_CALLBACK(Device::Connected), &device);
    g_signal_connect(device.handler, "handle-ioctl", G_CALLBACK(Device::HandleIoctl), &device);
    // The handler first, so the node answers from the moment the device appears.
    GError* error = nullptr;
    if (!umockdev_testbed_attach_ioctl(device.testbed, kDeviceNode, device.handler, &error) || !device.Add(&error)) {
        device.unavailable = std::string("umockdev refused the emulated printer: ") + error->message;
        g_error_free(error);
    }
}

EmulatedUsbPrinter::~EmulatedUsbPrinter() {
    Device& device = *device_;
    if (device.testbed) g_object_unref(device.testbed);
    {
        const std::lock_guard<std::mutex> lock(device.mutex);
        for (auto& [client, opener] : device.openers) g_object_unref(opener.client);
        device.openers.clear();
    }
    if (device.handler) g_object_unref(device.handler);
}

const std::string& EmulatedUsbPrinter::Unavailable() const {
    return device_->unavailable;
}

void EmulatedUsbPrinter::Inject(UsbFault fault, uint8_t endpoint, unsigned nth, uint16_t packetBytes) {
    const std::lock_guard<std::mutex> lock(device_->mutex);
    device_->faults.push_back({fault, endpoint, std::max(nth, 1u), packetBytes});
}

void EmulatedUsbPrinter::Halt(uint8_t endpoint) {
    const std::lock_guard<std::mutex> lock(device_->mutex);
    device_->bus->Halt(endpoint);
}

void EmulatedUsbPrinter::Unplug() {
    {
        const std::lock_guard<std::mutex> lock(device_->mutex);
        device_->Disconnect();
    }
    umockdev_testbed_uevent(device_->testbed, kSysfsPath, "remove");
    umockdev_testbed_remove_device(device_->testbed, kSysfsPath);
}

bool EmulatedUsbPrinter::PlugIn() {
    {
        const std::lock_guard<std::mutex> lock(device_->mutex);
        // Whatever programs held of the old device went with it, claims included.
        for (auto& [client, opener] : device_->openers) opener.device.reset();
        device_->gone = false;
    }
    GError* error = nullptr;
    if (device_->Add(&error)) return true;
    g_error_free(error);
    return false;
}

unsigned EmulatedUsbPrinter::Openings() const {
    const std::lock_guard<std::mutex> lock(device_->mutex);
    return device_->openings;
}

}  // namespace qv7test
