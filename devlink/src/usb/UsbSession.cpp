#include "UsbSession.h"

namespace qv7 {

namespace {

// The first bulk endpoint of the wanted direction; the printer has one each way.
std::optional<UsbEndpoint> FirstBulkEndpoint(const UsbInterface& described, bool in) {
    for (const UsbEndpoint& endpoint : described.endpoints) {
        const bool bulk = (endpoint.attributes & kUsbTransferTypeMask) == kUsbTransferTypeBulk;
        const bool isIn = (endpoint.address & kUsbDirectionIn) != 0;
        if (bulk && isIn == in) return endpoint;
    }
    return std::nullopt;
}

}  // namespace

int UsbSession::Open(UsbTransport& transport, UsbAddress at, UsbIds ids, std::shared_ptr<UsbSession>* out) {
    out->reset();
    std::unique_ptr<UsbDevice> device;
    if (const int error = transport.Open(at, ids, &device)) return error;

    UsbInterface described;
    if (const int error = device->DescribeInterface(kPrinterInterface, &described)) return error;

    // Some systems bind a generic kernel driver to a vendor interface; it has
    // to let go before the interface can be claimed. Where the question cannot
    // be asked, no driver is assumed.
    bool active = false;
    bool detached = false;
    if (device->KernelDriverActive(kPrinterInterface, &active) == 0 && active) {
        if (const int error = device->DetachKernelDriver(kPrinterInterface)) return error;
        detached = true;
    }
    if (const int error = device->ClaimInterface(kPrinterInterface)) {
        if (detached) device->AttachKernelDriver(kPrinterInterface);
        return error;
    }
    out->reset(new UsbSession(std::move(device), detached, described));
    // A program killed mid-transfer can leave an endpoint stalled, and every
    // transfer after it would fail. A device that cannot clear a halt has
    // none to clear: the transfers themselves will tell.
    UsbSession& session = **out;
    for (const std::optional<UsbEndpoint>& endpoint : {session.bulkIn_, session.bulkOut_}) {
        if (endpoint) session.device_->ClearHalt(endpoint->address);
    }
    return 0;
}

UsbSession::UsbSession(std::unique_ptr<UsbDevice> device, bool detached, const UsbInterface& described)
    : device_(std::move(device)),
      detached_(detached),
      bulkIn_(FirstBulkEndpoint(described, true)),
      bulkOut_(FirstBulkEndpoint(described, false)) {}

UsbSession::~UsbSession() {
    device_->ReleaseInterface(kPrinterInterface);
    if (detached_) device_->AttachKernelDriver(kPrinterInterface);
}

}  // namespace qv7
