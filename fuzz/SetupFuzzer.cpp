// The setup launcher's inputs from the machine: on Windows the registry (the
// installed version, the printer's ParentIdPrefix, its driver and port
// values), the system's version and folders and which programs start; on
// Linux the machine-wide settings file, the device list of the printing
// system and the USB access rule. The launcher is then clicked through from
// the input. Whatever the machine says, every program it starts is one of its
// own command lines, with the printer port the only part taken from the machine.
#include <iterator>
#include <set>

#include "FuzzSupport.h"
#include "HostileInput.h"
#include "LinuxSetupHost.h"
#include "SetupControls.h"
#include "SetupFakes.h"

namespace {

using namespace setuptest;
using qv7fuzz::HostileInput;

std::string Text(HostileInput& input) {
    std::string text(input.Byte() % 48, '\0');
    input.Fill(reinterpret_cast<uint8_t*>(text.data()), text.size());
    return text;
}

std::optional<std::string> MaybeText(HostileInput& input) {
    if (input.Byte() % 4 == 0) return std::nullopt;
    return Text(input);
}

std::set<std::string> OwnCommandLines(const std::set<std::uint32_t>& ports) {
    std::set<std::string> lines(win::OldPackageRemovals().begin(), win::OldPackageRemovals().end());
    for (PackageFamily family : {PackageFamily::Win9x, PackageFamily::XP, PackageFamily::NT}) {
        lines.insert(win::CurrentPackageRemoval(family));
        lines.insert(win::ApplicationInstall(family));
    }
    for (bool win9x : {false, true}) lines.insert(win::WindowsInstallerSetup(win9x));
    for (DriverBuild build : {DriverBuild::Windows7, DriverBuild::Vista}) {
        for (const auto& pair : {win::KernelDriverInstall(build), win::PrinterDriverPackage(build)}) {
            lines.insert(pair.first);
            lines.insert(pair.second);
        }
    }
    for (std::uint32_t port : ports) {
        for (const std::string& line : win::PrinterQueueCommands(win::UsbPortName(port))) lines.insert(line);
    }
    return lines;
}

void ClickThroughOnWindows(HostileInput& input) {
    LauncherOnWindows machine;
    FakeWinPlatform& platform = machine.platform;
    platform.version = input.Byte() % 8 ? std::optional<OsVersion>(OsVersion{input.Byte() % 8u, input.Byte() % 4u,
                                                                             input.Byte() % 3u})
                                        : std::nullopt;
    if (input.Byte() % 8 == 0) platform.windowsDirectory.reset();
    if (input.Byte() % 8 == 0) platform.systemDirectory.reset();
    if (auto version = MaybeText(input)) machine.SetInstalledVersion(*version);
    std::set<std::uint32_t> ports;
    if (auto prefix = MaybeText(input)) {
        const uint8_t port = input.Byte();
        std::optional<std::uint32_t> number;
        if (port % 2) number = input.Word32();
        if (port % 3) machine.ConnectPrinter(*prefix, number);
        if (number) ports.insert(*number);
        if (port % 5 == 0) {
            platform.texts[{win::FileTransferInterfaceKey(kHardwareId, *prefix), "Driver"}] =
                "{36fc9e60-c465-11cf-8056-444553540000}\\0012";
        }
    }
    const std::set<std::string> own = OwnCommandLines(ports);
    // One command line that fails to start: once, twice, or always.
    if (const uint8_t failing = input.Byte()) {
        platform.failuresLeft[*std::next(own.begin(), failing % own.size())] = input.Byte() % 3 - 1;
    }

    static const int kClickable[] = {id::kExit,          id::kCancel,        id::kInstallQuillory, id::kXpFileTransfer,
                                     id::kVistaDrivers,  id::kReadMe,        id::kRegister,        id::kOperatorsManual,
                                     id::kWebsite,       id::kQuickRefCard,  id::kXpScribeline,    id::kNext,
                                     id::kBack,          id::kInstall,       id::kHelp,            id::kXpUpgrade};
    machine.launcher.Initialize();
    for (int step = 0; step < 64 && !input.Empty() && !machine.launcher.CloseRequested(); ++step) {
        const uint8_t event = input.Byte();
        if (event % 4 == 0) {
            machine.Tick();
        } else {
            machine.launcher.OnButton(kClickable[event % std::size(kClickable)]);
        }
    }
    for (const std::string& line : platform.runs) {
        if (!own.count(line)) __builtin_trap();
    }
}

void ReadLinuxMachine(HostileInput& input) {
    static const std::string dir = qv7fuzz::ScratchFolder("qv7fuzz-setup");
    std::string settings(input.Byte() * 4u, '\0');
    input.Fill(reinterpret_cast<uint8_t*>(settings.data()), settings.size());
    qv7fuzz::WriteWhole(dir + "/machine.conf", settings.data(), settings.size());
    RecordedMessages messages;
    quillory::setup::linux_host::LinuxHostConfig config;
    config.mediumFolder = dir;
    config.machineSettingsFiles = {dir + "/machine.conf"};
    config.udevRulesFolders = {dir};
    quillory::setup::linux_host::LinuxSetupHost host(config, messages);
    static_cast<void>(host.InstalledVersion());

    std::string devices(input.Byte() * 4u, '\0');
    input.Fill(reinterpret_cast<uint8_t*>(devices.data()), devices.size());
    using quillory::setup::linux_host::LinuxSetupHost;
    const std::string uri = LinuxSetupHost::PrinterUriFrom(devices);
    if (!uri.empty() && (uri.rfind("usb://", 0) != 0 || devices.find(uri) == std::string::npos ||
                         uri.find_first_of(" \t\r\n") != std::string::npos)) {
        __builtin_trap();
    }
    // The same text read as a udev rule: every id handed to udevadm as root is
    // four lower-case hex digits, nothing else.
    for (const auto& [vendor, product] : LinuxSetupHost::UsbIdsInRule(devices)) {
        for (const std::string& id : {vendor, product}) {
            if (id.size() != 4 || id.find_first_not_of("0123456789abcdef") != std::string::npos) __builtin_trap();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    HostileInput input(data, size);
    ReadLinuxMachine(input);
    ClickThroughOnWindows(input);
    return 0;
}
