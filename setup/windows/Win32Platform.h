#ifndef QUILLORY_SETUP_WIN32_PLATFORM_H
#define QUILLORY_SETUP_WIN32_PLATFORM_H

#include <memory>

#include "WinPlatform.h"

namespace quillory::setup::win {

std::unique_ptr<WinPlatform> MakeWin32Platform();

}  // namespace quillory::setup::win

#endif
