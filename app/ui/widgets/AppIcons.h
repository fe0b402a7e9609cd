// The program's own icons, drawn rather than loaded so that they stay crisp
// at every size: the application icon (a label printer with a label coming
// out) and the toolbar's images (a page of the command's file kind with a
// green arrow to the printer or a blue arrow to the PC).
#ifndef QUILLORY_APP_ICONS_H
#define QUILLORY_APP_ICONS_H

#include <QIcon>

namespace quillory {

QIcon ApplicationIcon();

// The toolbar image of a command; a null icon for a command without a button.
QIcon CommandIcon(int commandId);

}  // namespace quillory

#endif
