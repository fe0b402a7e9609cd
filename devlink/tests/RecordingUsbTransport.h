// A USB transport that passes everything on to another one and writes down
// what crossed: the session steps, every control setup with its data, every
// bulk transfer with its time limit. It can also play a bus that misbehaves:
// a device that may not be opened, a kernel driver bound to the interface, a
// claim refused, a descriptor with other endpoints, a reply stage that fails.
#ifndef QV7_TESTS_RECORDING_USB_TRANSPORT_H
#define QV7_TESTS_RECORDING_USB_TRANSPORT_H

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "UsbTransport.h"

namespace qv7test {

struct RecordedControl {
    qv7::UsbSetup setup;
    std::vector<uint8_t> data;  // sent, or as received
    unsigned timeoutMs = 0;
};

struct RecordedBulk {
    uint8_t endpoint = 0;
    uint32_t asked = 0;
    uint32_t moved = 0;
    unsigned timeoutMs = 0;
};

class RecordingUsbTransport final : public qv7::UsbTransport {
public:
    explicit RecordingUsbTransport(std::shared_ptr<qv7::UsbTransport> inner) : inner_(std::move(inner)) {}

    // --- how the bus misbehaves ---
    int startError = 0;
    int listError = 0;
    int openError = 0;
    int claimError = 0;
    bool kernelDriverBound = false;
    // Rewrites interface 0's descriptor as the device reports it.
    std::function<void(qv7::UsbInterface*)> editDescriptor;
    int controlReadError = 0;
    // With controlReadError: only reply stages of this bRequest fail (0: all).
    uint8_t failingControlRequest = 0;

    // --- what crossed ---
    std::vector<std::string> steps;
    std::vector<RecordedControl> controls;
    std::vector<RecordedBulk> bulks;

    int Start() override { return startError ? startError : inner_->Start(); }

    int List(qv7::UsbIds ids, std::vector<qv7::UsbAddress>* found) override {
        found->clear();
        return listError ? listError : inner_->List(ids, found);
    }

    int Open(qv7::UsbAddress at, qv7::UsbIds ids, std::unique_ptr<qv7::UsbDevice>* out) override {
        char step[32];
        std::snprintf(step, sizeof step, "open %u-%u", unsigned{at.bus}, unsigned{at.address});
        steps.push_back(step);
        if (openError) return openError;
        std::unique_ptr<qv7::UsbDevice> device;
        const int error = inner_->Open(at, ids, &device);
        if (error == 0) *out = std::make_unique<Device>(*this, std::move(device));
        return error;
    }

    int Survey(std::vector<qv7::UsbDeviceSummary>* found) override {
        found->clear();
        steps.push_back("survey");
        return listError ? listError : inner_->Survey(found);
    }

private:
    class Device final : public qv7::UsbDevice {
    public:
        Device(RecordingUsbTransport& bus, std::unique_ptr<qv7::UsbDevice> inner)
            : bus_(bus), inner_(std::move(inner)) {}
        ~Device() override { bus_.steps.push_back("close"); }

        int DescribeInterface(uint8_t number, qv7::UsbInterface* out) override {
            const int error = inner_->DescribeInterface(number, out);
            if (error == 0 && bus_.editDescriptor) bus_.editDescriptor(out);
            return error;
        }
        int KernelDriverActive(uint8_t, bool* active) override {
            *active = bus_.kernelDriverBound;
            return 0;
        }
        int DetachKernelDriver(uint8_t number) override { return Step("detach", number, 0); }
        int AttachKernelDriver(uint8_t number) override { return Step("attach", number, 0); }
        int ClaimInterface(uint8_t number) override {
            return Step("claim", number, bus_.claimError ? bus_.claimError : inner_->ClaimInterface(number));
        }
        int ReleaseInterface(uint8_t number) override {
            return Step("release", number, inner_->ReleaseInterface(number));
        }

        int ControlWrite(const qv7::UsbSetup& setup, const uint8_t* data, unsigned timeoutMs,
                         uint32_t* transferred) override {
            bus_.controls.push_back({setup, std::vector<uint8_t>(data, data + setup.length), timeoutMs});
            return inner_->ControlWrite(setup, data, timeoutMs, transferred);
        }
        int ControlRead(const qv7::UsbSetup& setup, uint8_t* data, unsigned timeoutMs,
                        uint32_t* transferred) override {
            *transferred = 0;
            const bool fails = bus_.controlReadError &&
                               (bus_.failingControlRequest == 0 || bus_.failingControlRequest == setup.request);
            const int error = fails ? bus_.controlReadError : inner_->ControlRead(setup, data, timeoutMs, transferred);
            bus_.controls.push_back({setup, std::vector<uint8_t>(data, data + *transferred), timeoutMs});
            return error;
        }

        int BulkWrite(uint8_t endpoint, const uint8_t* data, uint32_t length, unsigned timeoutMs,
                      uint32_t* transferred) override {
            const int error = inner_->BulkWrite(endpoint, data, length, timeoutMs, transferred);
            bus_.bulks.push_back({endpoint, length, *transferred, timeoutMs});
            return error;
        }
        int BulkRead(uint8_t endpoint, uint8_t* data, uint32_t length, unsigned timeoutMs,
                     uint32_t* transferred) override {
            const int error = inner_->BulkRead(endpoint, data, length, timeoutMs, transferred);
            bus_.bulks.push_back({endpoint, length, *transferred, timeoutMs});
            return error;
        }

        int ClearHalt(uint8_t endpoint) override {
            return Step("clear-halt", endpoint, inner_->ClearHalt(endpoint));
        }

    private:
        int Step(const char* what, uint8_t number, int error) {
            bus_.steps.push_back(std::string(what) + " " + std::to_string(number) + (error ? " refused" : ""));
            if (error == 0 && std::string(what) == "detach") bus_.kernelDriverBound = false;
            if (error == 0 && std::string(what) == "attach") bus_.kernelDriverBound = true;
            return error;
        }

        RecordingUsbTransport& bus_;
        std::unique_ptr<qv7::UsbDevice> inner_;
    };

    std::shared_ptr<qv7::UsbTransport> inner_;
};

}  // namespace qv7test

#endif
