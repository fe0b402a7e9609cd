// Where the program's files are on this platform. The program was first laid
// out on Windows (the system drive's root, C:\Program Files\Quillory, the
// Windows directory, the folder of Quillory.exe); on Linux the same roles go to
// the home folder, the XDG data and cache folders and the install prefix.
// docs/settings.md lists every path.
#ifndef QUILLORY_PLATFORM_PATHS_H
#define QUILLORY_PLATFORM_PATHS_H

#include <QString>

namespace quillory {

// The four folders every other path is built on. An empty member stands for
// the platform's own answer, so a test can move one root and keep the rest.
struct PlatformRoots {
    QString home;           // the user's home folder
    QString dataHome;       // $XDG_DATA_HOME
    QString cacheHome;      // $XDG_CACHE_HOME
    QString installPrefix;  // the folder above the one holding the program
};

class PlatformPaths {
public:
    // Moves the roots for the rest of the process (tests, a program run from
    // its build tree); SetRoots({}) puts the platform's answers back.
    static void SetRoots(const PlatformRoots& roots);

    // Where folders chosen for saving start: "C:\" on Windows, the home folder on Linux.
    static QString DriveRoot();

    // The program's own folders for the user: files it keeps between runs
    // (firmware backups, the symbol folder) and files it may lose (the symbol
    // preview). Neither is created here.
    static QString UserDataFolder();
    static QString CacheFolder();
    // What an installation ships beside the program (schema, sample symbols,
    // firmware images): <prefix>/share/quillory on Linux, the program's folder
    // on Windows.
    static QString SharedDataFolder();
    // The same for the installation whose program is in programFolder; a
    // relative folder gives a path relative to it.
    static QString SharedDataFolderOf(const QString& programFolder);

    // The firmware images installed with the program (QV7E_200.bin, ...):
    // SharedDataFolder()/QV7_Firmware, unless QUILLORY_FIRMWARE_DIR names
    // another folder holding them (a support engineer's images, a test).
    static QString FirmwareImageFolder();
    // Where the backup taken before an upgrade is kept. It must be writable
    // by the user, so it is the user's data folder, not the program's.
    static QString FirmwareBackupFolder();

    // The symbol folder that every start puts back into the symbol settings:
    // "C:\Program Files\Quillory\Downloadable_Symbols" on Windows,
    // $XDG_DATA_HOME/Quillory/Downloadable_Symbols on Linux (the program
    // saves fetched symbols there, so it must be the user's own).
    static QString SymbolFolder();
    // The same with a trailing separator, as the symbol upload path holds it.
    static QString SymbolFolderWithSeparator();

    // The read-me of the Help menu: "<Windows directory>\Quillory\README.txt",
    // or <prefix>/share/doc/quillory/README.txt.
    static QString ReadMeFile();
    // A document shipped with the program ("QV7E Operators Manual.pdf"): on
    // Windows the program's path with "Quillory.exe" replaced by
    // "Documentation\" and the name, on Linux <prefix>/share/doc/quillory/NAME.
    static QString ProgramDocument(const QString& name);
    // The application's help file, named after the program.
    static QString HelpFile();

    // The program file this platform runs: "Quillory.exe" or "Quillory".
    static QString ProgramFileName();

    // Where the program is installed: the folder above the one holding the
    // program, so that an installation can be moved as a whole.
    static QString InstallPrefix();

    // The separator of the paths above.
    static QChar Separator();
    // folder + separator + name, with exactly one separator between them.
    static QString Join(const QString& folder, const QString& name);
};

}  // namespace quillory

#endif
