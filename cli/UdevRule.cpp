#include "UdevRule.h"

#include <cstdio>

#include "UsbIdSetting.h"

namespace qv7cli {

namespace {

std::string Hex4(uint16_t value) {
    char text[5];
    std::snprintf(text, sizeof text, "%04x", static_cast<unsigned>(value));
    return text;
}

}  // namespace

std::string UdevRuleLine(qv7::UsbIds ids) {
    return "SUBSYSTEM==\"usb\", ENV{DEVTYPE}==\"usb_device\", ATTR{idVendor}==\"" + Hex4(ids.vendor) +
           "\", ATTR{idProduct}==\"" + Hex4(ids.product) + "\", TAG+=\"uaccess\"";
}

std::string UdevApplyCommand(qv7::UsbIds ids) {
    return "sudo udevadm control --reload && sudo udevadm trigger --action=change --subsystem-match=usb "
           "--attr-match=idVendor=" +
           Hex4(ids.vendor) + " --attr-match=idProduct=" + Hex4(ids.product);
}

std::string UdevRuleFile(qv7::UsbIds ids) {
    return "# Gives the user at the seat the QV7E printer " + qv7::FormatUsbIds(ids) +
           ", so Quillory and qv7 run without root.\n"
           "# Put this file into " +
           kOwnUdevRuleFile + ", then run\n#   " + UdevApplyCommand(ids) + "\n" + UdevRuleLine(ids) + "\n";
}

}  // namespace qv7cli
