// The udev rule that gives the user at the seat the printer with given ids,
// in the form of the rule the package installs (60-quillory.rules), and the
// commands that make udev apply a new rule to a printer already plugged in.
#ifndef QV7_CLI_UDEV_RULE_H
#define QV7_CLI_UDEV_RULE_H

#include <string>

#include "UsbTransport.h"

namespace qv7cli {

// Where a rule of the user's own goes: it takes precedence over the installed
// file of the same name.
inline constexpr char kOwnUdevRuleFile[] = "/etc/udev/rules.d/60-quillory.rules";

// The rule's one line, without a line break.
std::string UdevRuleLine(qv7::UsbIds ids);

// Reloads the rules and tells udev of the printer's devices only: an event for
// every USB device would run every other package's rules again too.
std::string UdevApplyCommand(qv7::UsbIds ids);

// A whole rules file: comments saying where it goes and what to run after,
// then the rule.
std::string UdevRuleFile(qv7::UsbIds ids);

}  // namespace qv7cli

#endif
