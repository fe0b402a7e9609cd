// How the usb backend reads the ids a user names and the paths it hands out.
#include <gtest/gtest.h>

#include <cstdlib>

#include "UsbDevicePath.h"
#include "UsbIdSetting.h"

namespace {

using qv7::UsbAddress;
using qv7::UsbIds;

TEST(UsbIds, OnlyTwoHexNumbersOfAtMostFourDigitsAreRead) {
    struct Case {
        const char* text;
        std::optional<UsbIds> expected;
    } const cases[] = {
        {"04b8:0e03", UsbIds{0x04B8, 0x0E03}},
        {"FFFF:07E0", UsbIds{0xFFFF, 0x07E0}},
        {"1:2", UsbIds{0x0001, 0x0002}},
        {"04b8", std::nullopt},
        {"04b8:", std::nullopt},
        {":0e03", std::nullopt},
        {"104b8:0e03", std::nullopt},
        {"0x4b8:0e03", std::nullopt},
        {"04b8:0e03:1", std::nullopt},
        {"04b8-0e03", std::nullopt},
        {" 04b8:0e03", std::nullopt},
        {"04g8:0e03", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(qv7::ParseUsbIds(c.text), c.expected) << c.text;
}

TEST(UsbIds, EnvironmentNamesTheIdsAndOnlyAnUnsetOneMeansThePlaceholder) {
    const char* before = std::getenv("QUILLORY_USB_ID");
    const std::string saved = before ? before : "";

    unsetenv("QUILLORY_USB_ID");
    EXPECT_EQ(qv7::UsbIdsFromEnvironment(), qv7::kPlaceholderUsbIds);
    setenv("QUILLORY_USB_ID", "", 1);
    EXPECT_EQ(qv7::UsbIdsFromEnvironment(), qv7::kPlaceholderUsbIds);
    setenv("QUILLORY_USB_ID", "1d6b:0104", 1);
    EXPECT_EQ(qv7::UsbIdsFromEnvironment(), (UsbIds{0x1D6B, 0x0104}));
    setenv("QUILLORY_USB_ID", "printer", 1);
    EXPECT_EQ(qv7::UsbIdsFromEnvironment(), std::nullopt);

    if (before) setenv("QUILLORY_USB_ID", saved.c_str(), 1);
    else unsetenv("QUILLORY_USB_ID");
}

TEST(UsbDevicePath, OnlyBusAndAddressUpTo255AreTakenAndWhatIsHandedOutReadsBack) {
    struct Case {
        const char* path;
        std::optional<UsbAddress> expected;
    } const cases[] = {
        {"usb:1-7", UsbAddress{1, 7}},
        {"usb:256-1", std::nullopt},
        {"usb:1-0256", std::nullopt},
        {"usb:001-007x", std::nullopt},
        {"usb:-7", std::nullopt},
        {"usb:1-", std::nullopt},
        {"usb:1", std::nullopt},
        {"USB:1-7", std::nullopt},
        {"virtual:1-7", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(qv7::ParseUsbDevicePath(c.path), c.expected) << c.path;
    // What is handed out reads back.
    for (const UsbAddress at : {UsbAddress{0, 0}, UsbAddress{3, 42}, UsbAddress{255, 255}}) {
        EXPECT_EQ(qv7::ParseUsbDevicePath(qv7::FormatUsbDevicePath(at)), at) << qv7::FormatUsbDevicePath(at);
    }
    EXPECT_EQ(qv7::FormatUsbDevicePath(UsbAddress{3, 42}), "usb:003-042");
}

}  // namespace
