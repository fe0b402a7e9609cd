// Devices on the bus that may be a QV7E whose ids the user does not know yet:
// what the printer's interface looks like, found from what the system keeps
// of each device, so that nothing is sent to devices that are no printer.
#ifndef QV7_PRINTER_CANDIDATES_H
#define QV7_PRINTER_CANDIDATES_H

#include <vector>

#include "UsbTransport.h"

namespace qv7 {

// A vendor-specific interface with exactly one bulk IN and one bulk OUT
// endpoint, as the printer's interface is.
bool HasPrinterInterface(const UsbDeviceSummary& device);

// The present devices that have such an interface, in the order the bus
// lists them; 0 or an errno number when the bus cannot be read.
int FindPrinterCandidates(UsbTransport& transport, std::vector<UsbDeviceSummary>* found);

}  // namespace qv7

#endif
