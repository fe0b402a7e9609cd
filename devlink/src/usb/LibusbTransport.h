// The USB transport of a real machine, on libusb-1.0.
#ifndef QV7_LIBUSB_TRANSPORT_H
#define QV7_LIBUSB_TRANSPORT_H

#include <memory>

#include "UsbTransport.h"

namespace qv7 {

class LibusbTransport final : public UsbTransport {
public:
    LibusbTransport();
    ~LibusbTransport() override;

    int Start() override;
    int List(UsbIds ids, std::vector<UsbAddress>* found) override;
    int Open(UsbAddress at, UsbIds ids, std::unique_ptr<UsbDevice>* out) override;
    int Survey(std::vector<UsbDeviceSummary>* found) override;
    // On a libusb context of its own, for as long as the watch lives.
    std::unique_ptr<UsbPlugEvents> WatchPlugging() override;

    // The library's own context; opened devices keep it alive.
    struct Context;

private:
    std::shared_ptr<Context> context_;
};

}  // namespace qv7

#endif
