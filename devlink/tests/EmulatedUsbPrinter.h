// A QV7E on the kernel's USB interface, for tests. umockdev puts the printer
// into an emulated sysfs (bus 1, device 7: the descriptors of one vendor-
// specific interface with a bulk IN and a bulk OUT endpoint) and answers the
// usbdevfs requests that libusb makes on its /dev/bus/usb node: claims, control
// and bulk URBs, halts. Behind the requests sits the virtual printer kept in a
// folder, reached through the loopback's decoding of the vendor requests, so
// the device answers as the virtual backend does. It can also misbehave the
// way real hardware does: stall, vanish, fall silent, send short or too much.
//
// Only a program that runs with umockdev's preload library sees the emulated
// device (and its children, which inherit the library and UMOCKDEV_DIR); any
// other program sees the machine's own USB.
#ifndef QV7_TESTS_EMULATED_USB_PRINTER_H
#define QV7_TESTS_EMULATED_USB_PRINTER_H

#include <cstdint>
#include <memory>
#include <string>

#include "LoopbackUsbTransport.h"
#include "TempFolder.h"

namespace qv7test {

// Ids the emulated printer answers to, and how programs are told them.
inline constexpr qv7::UsbIds kEmulatedUsbIds{0xFFFF, 0x7E07};
inline constexpr const char* kEmulatedUsbIdSetting = "ffff:7e07";
// The printer's device path: bus 1, address 7.
inline constexpr const char* kEmulatedUsbPath = "usb:001-007";
// The product text the system keeps for it. A device's texts are its own
// business: this one tries to retitle the terminal it is shown in.
inline constexpr const char* kEmulatedProductText = "QV7E Label Printer\x1b]0;owned\x07";

// Its endpoints: the loopback's, whose decoding answers for the device.
inline constexpr uint8_t kEmulatedBulkIn = qv7::kLoopbackBulkIn;
inline constexpr uint8_t kEmulatedBulkOut = qv7::kLoopbackBulkOut;
inline constexpr uint8_t kEmulatedControl = 0x00;

// What the device does to one transfer, as a broken cable, a firmware bug or a
// pulled plug would.
enum class UsbFault {
    Stall,        // the endpoint halts: this transfer and every later one on it fail until the host clears it
    Unplug,       // the printer is gone: this transfer ends as the host's controller ends it, and so does all after
    Silence,      // the device NAKs for ever: only the host's time limit ends the transfer
    ShortPacket,  // IN: a packet of fewer bytes than the endpoint's size, where a full one was due
    Babble,       // IN: the device sends past the end of the packet (an overflow)
};

// Sets QUILLORY_DEVICE and QUILLORY_USB_ID so the programs (and their
// children) take the emulated printer; clears them again. Given an
// environment scope, they are set for as long as it lives.
void ChooseEmulatedUsbPrinter();
void ForgetEmulatedUsbPrinter();
void ChooseEmulatedUsbPrinter(ScopedEnvironment& environment);

class EmulatedUsbPrinter {
public:
    // The printer kept in folder (seeded when missing or empty), its bulk
    // endpoints moving packets of packetSize bytes: 64 at full speed, 512 at
    // high speed.
    EmulatedUsbPrinter(const std::string& folder, uint16_t packetSize);
    ~EmulatedUsbPrinter();
    EmulatedUsbPrinter(const EmulatedUsbPrinter&) = delete;
    EmulatedUsbPrinter& operator=(const EmulatedUsbPrinter&) = delete;

    // Why this program cannot reach the emulated printer (it does not run with
    // umockdev's preload library, or the folder holds no printer); empty when
    // it can.
    const std::string& Unavailable() const;

    // The nth transfer from now on endpoint (1: the next one; endpoint 0
    // counts control transfers) meets the fault. A short packet carries
    // packetBytes.
    void Inject(UsbFault fault, uint8_t endpoint, unsigned nth = 1, uint16_t packetBytes = 10);
    // An endpoint left halted, as a transfer broken off by a killed program leaves it.
    void Halt(uint8_t endpoint);
    // The cable pulled: the device answers nothing more and leaves the bus,
    // and the system tells of it (a "remove" uevent).
    void Unplug();
    // Plugged in again after Unplug(), at the same address, and told of
    // ("add"); what programs had open of it before stays gone. False when
    // umockdev refuses.
    bool PlugIn();
    // How many times a program opened the device's node.
    unsigned Openings() const;

    struct Device;

private:
    std::unique_ptr<Device> device_;
};

}  // namespace qv7test

#endif
