// The host of the platform the launcher was built for; each platform's build
// links its own definition.
#ifndef QUILLORY_SETUP_PLATFORM_HOST_H
#define QUILLORY_SETUP_PLATFORM_HOST_H

#include <memory>

#include "SetupHost.h"
#include "SetupPorts.h"

namespace quillory::setup {

std::unique_ptr<SetupHost> MakePlatformSetupHost(MessagePort& messages);

}  // namespace quillory::setup

#endif
