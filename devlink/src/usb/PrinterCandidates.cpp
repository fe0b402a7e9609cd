#include "PrinterCandidates.h"

namespace qv7 {

bool HasPrinterInterface(const UsbDeviceSummary& device) {
    for (const UsbInterface& interface : device.interfaces) {
        if (interface.interfaceClass != kUsbClassVendorSpecific) continue;
        int bulkIn = 0;
        int bulkOut = 0;
        for (const UsbEndpoint& endpoint : interface.endpoints) {
            if ((endpoint.attributes & kUsbTransferTypeMask) != kUsbTransferTypeBulk) continue;
            if (endpoint.address & kUsbDirectionIn) {
                ++bulkIn;
            } else {
                ++bulkOut;
            }
        }
        if (bulkIn == 1 && bulkOut == 1) return true;
    }
    return false;
}

int FindPrinterCandidates(UsbTransport& transport, std::vector<UsbDeviceSummary>* found) {
    found->clear();
    std::vector<UsbDeviceSummary> devices;
    if (const int error = transport.Survey(&devices)) return error;
    for (UsbDeviceSummary& device : devices) {
        if (HasPrinterInterface(device)) found->push_back(std::move(device));
    }
    return 0;
}

}  // namespace qv7
