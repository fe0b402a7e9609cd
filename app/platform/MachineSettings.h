// The machine-wide settings the installer writes and every user of the
// machine reads: the installation folder ("dir") and the installed version
// ("Version"). The registry key HKEY_LOCAL_MACHINE\SOFTWARE\Orvale_Quillory on
// Windows; on Linux an INI file with top-level keys,
// /etc/xdg/Orvale/Orvale_Quillory.conf, or the file $QUILLORY_MACHINE_SETTINGS
// names (tests, a program run from its build tree).
#ifndef QUILLORY_MACHINE_SETTINGS_H
#define QUILLORY_MACHINE_SETTINGS_H

#include <QString>

#include <optional>

namespace quillory {

class MachineSettings {
public:
    // Where the values live: the INI file on Linux, the key's name on Windows.
    static QString Location();

    // The value, or nothing when the key (the file on Linux) cannot be opened
    // or does not hold the value.
    static std::optional<QString> Read(const char* name, bool* keyOpened);

    // Creates the key (the file) if needed. False when it cannot be written,
    // as for a user without rights to a machine-wide file.
    static bool Write(const char* name, const QString& value);
};

namespace machine {
inline constexpr char kInstallFolder[] = "dir";
inline constexpr char kVersion[] = "Version";
}  // namespace machine

}  // namespace quillory

#endif
