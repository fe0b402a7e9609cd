// The little of USB that the usb backend needs, as an interface of our own:
// finding a device by its ids, opening it, taking interface 0 away from a
// kernel driver, control and bulk transfers. libusb stands behind it on a
// real machine; the loopback puts the emulated printer behind it, so the
// mapping of the driver seam onto USB is tested without a bus.
//
// Every operation answers 0 or an errno-style number (EIO, ETIMEDOUT, ...):
// numbers of a particular USB library never leave its implementation.
#ifndef QV7_USB_TRANSPORT_H
#define QV7_USB_TRANSPORT_H

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace qv7 {

struct UsbIds {
    uint16_t vendor = 0;
    uint16_t product = 0;
    friend bool operator==(const UsbIds&, const UsbIds&) = default;
};

// Where a device sits on the bus right now; good until it is unplugged.
struct UsbAddress {
    uint8_t bus = 0;
    uint8_t address = 0;
    friend bool operator==(const UsbAddress&, const UsbAddress&) = default;
};

// The setup stage of a control transfer. Bit 7 of requestType gives the
// direction of the data stage (set: device to host).
struct UsbSetup {
    uint8_t requestType = 0;
    uint8_t request = 0;
    uint16_t value = 0;
    uint16_t index = 0;
    uint16_t length = 0;
};

constexpr uint8_t kUsbDirectionIn = 0x80;
constexpr uint8_t kUsbTypeVendor = 0x40;
constexpr uint8_t kUsbRecipientInterface = 0x01;

constexpr uint8_t kUsbClassVendorSpecific = 0xFF;

constexpr uint8_t kUsbTransferTypeMask = 0x03;
constexpr uint8_t kUsbTransferTypeBulk = 0x02;

struct UsbEndpoint {
    uint8_t address = 0;     // bit 7 set: IN (device to host)
    uint8_t attributes = 0;  // low two bits: transfer type
    uint16_t maxPacketSize = 0;
};

// The payload of one packet: bits 10..0 of wMaxPacketSize (the bits above
// count extra transactions of high-bandwidth endpoints, never bulk ones).
constexpr uint16_t kUsbPacketSizeMask = 0x07FF;

// Alternate setting 0 of one interface of the active configuration.
struct UsbInterface {
    uint8_t number = 0;
    uint8_t interfaceClass = 0;
    std::vector<UsbEndpoint> endpoints;
};

// One present device as the system describes it from what it read when the
// device was plugged in: describing it sends the device nothing.
struct UsbDeviceSummary {
    UsbAddress at;
    UsbIds ids;
    std::string product;  // the device's own product text; empty when it gave none
    // Alternate setting 0 of each interface of the active configuration.
    std::vector<UsbInterface> interfaces;
};

// Devices plugged in and out, as the system tells of them. Used from one
// thread only.
class UsbPlugEvents {
public:
    virtual ~UsbPlugEvents() = default;
    // File descriptors that turn readable when there is news; the same for
    // the object's whole life.
    virtual std::vector<int> WaitHandles() const = 0;
    // Takes in the news without waiting: the ids of each device that came or
    // went since the last call, oldest first.
    virtual std::vector<UsbIds> Collect() = 0;
};

// One opened device. Closing happens when the object goes.
class UsbDevice {
public:
    virtual ~UsbDevice() = default;

    virtual int DescribeInterface(uint8_t interfaceNumber, UsbInterface* out) = 0;
    virtual int KernelDriverActive(uint8_t interfaceNumber, bool* active) = 0;
    virtual int DetachKernelDriver(uint8_t interfaceNumber) = 0;
    virtual int AttachKernelDriver(uint8_t interfaceNumber) = 0;
    virtual int ClaimInterface(uint8_t interfaceNumber) = 0;
    virtual int ReleaseInterface(uint8_t interfaceNumber) = 0;

    // Control transfers carry setup.length bytes in the direction that
    // setup.requestType names. *transferred is what moved, also when the
    // answer is an error.
    virtual int ControlWrite(const UsbSetup& setup, const uint8_t* data, unsigned timeoutMs,
                             uint32_t* transferred) = 0;
    virtual int ControlRead(const UsbSetup& setup, uint8_t* data, unsigned timeoutMs, uint32_t* transferred) = 0;
    // One bulk transfer on an OUT or IN endpoint; a timeout of 0 waits for
    // ever. Running out of time answers ETIMEDOUT with *transferred holding
    // what moved before.
    virtual int BulkWrite(uint8_t endpoint, const uint8_t* data, uint32_t length, unsigned timeoutMs,
                          uint32_t* transferred) = 0;
    // Reading IN: length should be a whole number of the endpoint's packets,
    // or a packet longer than the room left overflows (EOVERFLOW) and its
    // bytes are lost. A packet shorter than the endpoint's size ends the
    // transfer.
    virtual int BulkRead(uint8_t endpoint, uint8_t* data, uint32_t length, unsigned timeoutMs,
                         uint32_t* transferred) = 0;
    // Takes an endpoint out of its halted (stalled) state and resets its data
    // toggle.
    virtual int ClearHalt(uint8_t endpoint) = 0;
};

class UsbTransport {
public:
    virtual ~UsbTransport() = default;

    // Brings the USB stack up; called before anything else, perhaps more than once.
    virtual int Start() = 0;
    // Present devices with these ids, in the order the bus lists them.
    virtual int List(UsbIds ids, std::vector<UsbAddress>* found) = 0;
    // Opens the device at that address, provided it still has these ids.
    virtual int Open(UsbAddress at, UsbIds ids, std::unique_ptr<UsbDevice>* out) = 0;
    // Every present device, in the order the bus lists them, opened by none.
    virtual int Survey(std::vector<UsbDeviceSummary>* found) = 0;
    // Tells of devices plugged in and out from now on; null where the system
    // cannot tell.
    virtual std::unique_ptr<UsbPlugEvents> WatchPlugging() { return nullptr; }
};

}  // namespace qv7

#endif
