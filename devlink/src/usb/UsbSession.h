// The printer opened for use: interface 0 claimed (taken from a kernel
// driver first if one had bound it), its two bulk endpoints known and taken
// out of any halt a broken-off transfer of an earlier program left them in. The
// device handle and the pipes opened below it share one session, because a
// USB interface has only one claimer at a time.
#ifndef QV7_USB_SESSION_H
#define QV7_USB_SESSION_H

#include <memory>
#include <optional>

#include "UsbDevicePath.h"
#include "UsbTransport.h"

namespace qv7 {

constexpr uint8_t kPrinterInterface = 0;

class UsbSession {
public:
    // 0 with *out set, or an errno number; nothing is left claimed or
    // detached after a failure.
    static int Open(UsbTransport& transport, UsbAddress at, UsbIds ids, std::shared_ptr<UsbSession>* out);

    // Releases the interface and hands it back to the kernel driver it was
    // taken from.
    ~UsbSession();

    UsbSession(const UsbSession&) = delete;
    UsbSession& operator=(const UsbSession&) = delete;

    UsbDevice& Device() { return *device_; }
    // The bulk endpoint that carries the pipe; nothing when the interface has none.
    std::optional<UsbEndpoint> Endpoint(UsbPipe pipe) const { return pipe == UsbPipe::In ? bulkIn_ : bulkOut_; }

private:
    UsbSession(std::unique_ptr<UsbDevice> device, bool detached, const UsbInterface& described);

    std::unique_ptr<UsbDevice> device_;
    bool detached_;
    std::optional<UsbEndpoint> bulkIn_;
    std::optional<UsbEndpoint> bulkOut_;
};

}  // namespace qv7

#endif
