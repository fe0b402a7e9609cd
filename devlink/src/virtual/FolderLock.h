// One connection at a time per printer folder, as a real printer lets one
// program claim its interface at a time. The hold is an advisory lock on a
// hidden file in the folder, so the system drops it with the process, however
// that ends.
#ifndef QV7_VIRTUAL_FOLDER_LOCK_H
#define QV7_VIRTUAL_FOLDER_LOCK_H

#include <string>

namespace qv7::virtualprinter {

constexpr char kLockFileName[] = ".lock";

class FolderLock {
public:
    enum class Result { Held, Busy, Unavailable };
    // A connection makes the folder and its lock file when they are missing;
    // someone only looking leaves the folder as it is and holds the lock only
    // when the file is there (no connection used the folder before otherwise).
    enum class Making { Missing, Nothing };

    FolderLock() = default;
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // Holds the folder (made first when missing) until this object goes.
    // Unavailable when no lock file can be had there (not a folder, a
    // read-only folder without one): the printer then goes unguarded, as it
    // would have before, and the folder's own checks say what is wrong.
    Result Hold(const std::string& folder, Making making = Making::Missing);

private:
    int descriptor_ = -1;
};

}  // namespace qv7::virtualprinter

#endif
