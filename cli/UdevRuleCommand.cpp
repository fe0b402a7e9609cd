// qv7 udev-rule: the udev rule that gives the user at the seat the printer
// with the ids set now.
#include <cstdio>

#include "Commands.h"
#include "UdevRule.h"
#include "UsbIdSetting.h"

namespace qv7cli {

namespace {

const char kNoIdsSet[] =
    "no printer ids are set: ffff:07e0 is the built-in placeholder, whose rule the package installs already. "
    "'qv7 doctor --candidates' lists the devices that may be the printer; set UsbId as 'qv7 udev-rule --help' says";

}  // namespace

int RunUdevRule(Invocation& invocation) {
    const qv7::UsbIdSetting setting = qv7::ReadUsbIdSetting();
    if (!setting.ids) {
        std::fprintf(stderr, "qv7: the printer's ids %s cannot be used: %s\n", setting.written.c_str(),
                     setting.problem.c_str());
        return kExitFailed;
    }
    if (setting.source == qv7::UsbIdSource::Placeholder) {
        std::fprintf(stderr, "qv7: %s\n", kNoIdsSet);
        return kExitFailed;
    }
    if (invocation.json()) {
        invocation.result.insert("ids", QString::fromStdString(qv7::FormatUsbIds(*setting.ids)));
        invocation.result.insert("file", kOwnUdevRuleFile);
        invocation.result.insert("rule", QString::fromStdString(UdevRuleLine(*setting.ids)));
        invocation.result.insert("apply", QString::fromStdString(UdevApplyCommand(*setting.ids)));
    } else {
        std::fputs(UdevRuleFile(*setting.ids).c_str(), stdout);
    }
    return kExitSuccess;
}

}  // namespace qv7cli
