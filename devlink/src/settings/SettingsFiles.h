// The settings files on Linux, found and read without Qt: the library links
// no Qt, yet the usb backend takes the printer's ids from the same files the
// program keeps its settings in. The program's platform room asks here too
// for the order in which the machine-wide file is looked for, so there is one
// order, not two that could drift apart.
#ifndef QV7_SETTINGS_FILES_H
#define QV7_SETTINGS_FILES_H

#include <string>
#include <vector>

namespace qv7 {

// The places of the machine-wide settings file, in the order they are looked
// at: the file $QUILLORY_MACHINE_SETTINGS names, alone, when it is set;
// otherwise Orvale/Orvale_Quillory.conf in each absolute folder of
// $XDG_CONFIG_DIRS (/etc/xdg when there is none), then in
// <installPrefix>/etc/xdg, where `cmake --install` puts the installation's own.
std::vector<std::string> MachineSettingsSearchOrder(const std::string& installPrefix);

// The folder above the one holding the running program (/usr for
// /usr/bin/qv7), from the kernel's link to the program's file; empty when the
// system cannot tell.
std::string RunningProgramPrefix();

// The machine-wide settings file of the running program: the first place of
// the search order that exists; empty when none does.
std::string MachineSettingsFile();

// The user's own settings file, where QSettings keeps the program's settings:
// $XDG_CONFIG_HOME/Orvale/Quillory.conf, ~/.config/... when that is unset.
std::string UserSettingsFile();

// The section of an INI file that holds the keys outside any group.
inline constexpr char kTopLevelSection[] = "General";

// One value of an INI file as QSettings writes it: quoted when it holds a
// comma, a semicolon, an equals sign or blanks at its ends; backslash escapes
// inside; an unquoted comma makes a list and a semicolon starts a comment.
struct IniValue {
    enum class State { Absent, Found, Malformed };
    State state = State::Absent;
    std::string text;     // Found: the value, unquoted and unescaped
    std::string written;  // Found or Malformed: the value as the file has it
    std::string problem;  // Malformed: what is wrong with it
};

// The last value of key in section. A file that is missing, cannot be read,
// is not a regular file or is far too big for a settings file holds no value.
IniValue ReadIniValue(const std::string& file, const std::string& section, const std::string& key);

}  // namespace qv7

#endif
