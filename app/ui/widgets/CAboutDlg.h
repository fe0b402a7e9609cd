// The About box: the program's icon, version, the maker's notice and the
// printer firmware this release was made for.
#ifndef QUILLORY_CABOUTDLG_H
#define QUILLORY_CABOUTDLG_H

#include <QDialog>

namespace quillory {

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent);
};

}  // namespace quillory

#endif
