#include "PlatformHost.h"

#include "Win32Platform.h"
#include "WindowsSetupHost.h"

namespace quillory::setup {

namespace {

// Keeps the Win32 services alive as long as the host that uses them.
class OwningWindowsHost : public win::WindowsSetupHost {
public:
    explicit OwningWindowsHost(std::unique_ptr<win::WinPlatform> platform)
        : WindowsSetupHost(*platform), platform_(std::move(platform)) {}

private:
    std::unique_ptr<win::WinPlatform> platform_;
};

}  // namespace

std::unique_ptr<SetupHost> MakePlatformSetupHost(MessagePort& /*messages*/) {
    return std::make_unique<OwningWindowsHost>(win::MakeWin32Platform());
}

}  // namespace quillory::setup
