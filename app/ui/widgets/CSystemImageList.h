// The small icons the tree view draws with: the platform's folder (closed and
// open) and plain-file icons, to which the view appends the application icon.
// The application owns one and lends it to the view.
#ifndef QUILLORY_CSYSTEMIMAGELIST_H
#define QUILLORY_CSYSTEMIMAGELIST_H

#include <QIcon>
#include <QList>

namespace quillory {

class CSystemImageList {
public:
    CSystemImageList();

    int ClosedFolderIndex() const { return 0; }
    int OpenFolderIndex() const { return 1; }
    // The icon of a file without extension.
    int FileIndex() const { return 2; }

    // Appends an icon and gives back its index.
    int Append(const QIcon& icon);
    QIcon Icon(int index) const;

private:
    QList<QIcon> icons_;
};

}  // namespace quillory

#endif
