// Whether Caps Lock, Num Lock and Scroll Lock are on, for the status bar's
// three indicators. Qt has no portable query for it, so this is a platform
// seam: on Linux the keyboards' LEDs in sysfs, which the display server keeps
// in step with the lock state; elsewhere nothing is known and all read off.
#ifndef QUILLORY_KEY_LOCK_STATE_H
#define QUILLORY_KEY_LOCK_STATE_H

#include <QString>

namespace quillory {

struct KeyLocks {
    bool caps = false;
    bool num = false;
    bool scroll = false;
    bool operator==(const KeyLocks&) const = default;
};

// The locks as the platform reports them now.
KeyLocks ReadKeyLocks();

// The locks as the LED folders under ledsFolder show them ("input3::capslock/
// brightness" and its kin): a lock is on when any keyboard lights it.
KeyLocks ReadKeyLocksFromLeds(const QString& ledsFolder);

}  // namespace quillory

#endif
