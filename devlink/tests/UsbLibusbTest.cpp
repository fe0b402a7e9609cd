// The libusb transport on whatever bus this machine has. No device answers
// to the placeholder ids, and whether USB is usable here at all varies, so
// what is checked is that each way of not finding the printer is a clean
// refusal with an error number.
#include <gtest/gtest.h>

#include "LibusbTransport.h"
#include "UsbDriver.h"
#include "UsbIdSetting.h"

TEST(UsbLibusb, AbsentPrinterIsRefusedAtEveryStep) {
    qv7::UsbDriver driver(std::make_shared<qv7::LibusbTransport>(), qv7::kPlaceholderUsbIds);
    const qv7::FindResult found = driver.FindDevice();
    EXPECT_TRUE(found.step == qv7::FindStep::NoDevice || found.step == qv7::FindStep::NoInterfaceClass);
    EXPECT_EQ(driver.OpenDevice("usb:255-255"), nullptr);
    uint32_t errorNumber = 0;
    EXPECT_EQ(driver.OpenPipe("usb:255-255\\PIPE00", &errorNumber), nullptr);
    EXPECT_NE(errorNumber, 0u);
}
