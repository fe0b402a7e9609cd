#include "CSystemImageList.h"

#include <QApplication>
#include <QStyle>

namespace quillory {

CSystemImageList::CSystemImageList() {
    QStyle* style = QApplication::style();
    icons_ = {style->standardIcon(QStyle::SP_DirClosedIcon), style->standardIcon(QStyle::SP_DirOpenIcon),
              style->standardIcon(QStyle::SP_FileIcon)};
}

int CSystemImageList::Append(const QIcon& icon) {
    icons_.append(icon);
    return static_cast<int>(icons_.size() - 1);
}

QIcon CSystemImageList::Icon(int index) const {
    return icons_.value(index);
}

}  // namespace quillory
