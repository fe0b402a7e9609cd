// The machine-wide settings the installer writes and every user of the
// machine reads: the installation folder ("dir") and the installed version
// ("Version"); the device link library reads the printer's USB ids ("UsbId")
// from the same file, looked for in the same order. The registry key HKEY_LOCAL_MACHINE\SOFTWARE\Orvale_Quillory on
// Windows; on Linux an INI file with top-level keys, Orvale/Orvale_Quillory.conf
// in the machine's configuration folders or in the installation's own
// (SearchOrder), or the file $QUILLORY_MACHINE_SETTINGS names (tests, a
// program run from its build tree).
#ifndef QUILLORY_MACHINE_SETTINGS_H
#define QUILLORY_MACHINE_SETTINGS_H

#include <QString>
#include <QStringList>

#include <optional>

namespace quillory {

class MachineSettings {
public:
    // Where the values live: the INI file on Linux, the key's name on Windows.
    // On Linux the first file of SearchOrder() that exists, or the first
    // place of it when none does.
    static QString Location();
    // Linux: $QUILLORY_MACHINE_SETTINGS alone when it is set; otherwise
    // Orvale/Orvale_Quillory.conf in each folder of $XDG_CONFIG_DIRS
    // (/etc/xdg when unset), then in <prefix>/etc/xdg, the prefix being the
    // running program's (what `cmake --install` provides). Windows: the key.
    static QStringList SearchOrder();

    // The value, or nothing when the key (the file on Linux) cannot be opened
    // or does not hold the value.
    static std::optional<QString> Read(const char* name, bool* keyOpened);

    // Writes into Location(), so a value read from a file goes back into
    // that file; creates the key (the file) if needed. False when it cannot
    // be written, as for a user without rights to a machine-wide file.
    static bool Write(const char* name, const QString& value);
};

namespace machine {
inline constexpr char kInstallFolder[] = "dir";
inline constexpr char kVersion[] = "Version";
}  // namespace machine

}  // namespace quillory

#endif
