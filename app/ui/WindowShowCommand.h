// The window's show state as "placementShowCmd" stores it: the Windows show
// command numbers, so that a settings store carried over from the program's
// Windows days still reads right.
#ifndef QUILLORY_WINDOW_SHOW_COMMAND_H
#define QUILLORY_WINDOW_SHOW_COMMAND_H

#include <Qt>

namespace quillory {

enum ShowCommand : int {
    kShowNormal = 1,
    kShowMinimized = 2,
    kShowMaximized = 3,
    kShow = 5,  // the default: show as the window is
    kMinimize = 6,
    kShowMinNoActive = 7,
};

// The state the first show of the frame gives it. Unknown numbers show normally.
Qt::WindowStates WindowStateForShowCommand(int showCommand);

// What a closing window stores for its state.
int ShowCommandForWindowState(Qt::WindowStates state);

}  // namespace quillory

#endif
