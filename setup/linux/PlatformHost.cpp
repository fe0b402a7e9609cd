#include "PlatformHost.h"

#include "LinuxSetupHost.h"

namespace quillory::setup {

std::unique_ptr<SetupHost> MakePlatformSetupHost(MessagePort& messages) {
    return std::make_unique<linux_host::LinuxSetupHost>(linux_host::DefaultLinuxHostConfig(), messages);
}

}  // namespace quillory::setup
