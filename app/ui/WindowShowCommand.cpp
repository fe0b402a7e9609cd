#include "WindowShowCommand.h"

namespace quillory {

Qt::WindowStates WindowStateForShowCommand(int showCommand) {
    switch (showCommand) {
    case kShowMaximized: return Qt::WindowMaximized;
    case kShowMinimized:
    case kMinimize:
    case kShowMinNoActive: return Qt::WindowMinimized;
    default: return Qt::WindowNoState;
    }
}

int ShowCommandForWindowState(Qt::WindowStates state) {
    if (state & Qt::WindowMinimized) return kShowMinimized;
    if (state & (Qt::WindowMaximized | Qt::WindowFullScreen)) return kShowMaximized;
    return kShowNormal;
}

}  // namespace quillory
