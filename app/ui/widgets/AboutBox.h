// The About box: the program's icon, version, the maker's notice and the
// printer firmware this release was made for.
#ifndef QUILLORY_ABOUT_BOX_H
#define QUILLORY_ABOUT_BOX_H

#include <QDialog>

namespace quillory {

class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* parent);
};

}  // namespace quillory

#endif
