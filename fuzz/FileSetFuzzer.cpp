// A file set definition (.fsd) from anywhere: parsed and validated against
// the schema the build ships, then every listed data and label file sent to a
// virtual printer. The definition names files by paths relative to the
// target's folder (PRICES.dat, SHELF.lbl), and the target's folder holds
// nothing the definition could name but those. Sending reads the user's
// files and never changes them. The target works in its own folder, so the
// corpus folders given to it must be absolute paths.
#include <stdlib.h>
#include <unistd.h>

#include <QString>

#include <xercesc/util/PlatformUtils.hpp>

#include "FileSetOperations.h"
#include "CPrinterService.h"
#include "FuzzSupport.h"
#include "SampleFiles.h"
#include "ScriptedPorts.h"
#include "qv7/VirtualPrinter.h"

namespace {

struct Folder {
    std::string root;
    std::string prices;
    std::string shelf;
};

Folder MakeFolder() {
    Folder folder{qv7fuzz::ScratchFolder("qv7fuzz-fileset"), {}, {}};
    const std::string settings = folder.root + "/machine.conf";
    const std::string install = "dir=" QUILLORY_FUZZ_PROGRAM_DIR "\n";
    qv7fuzz::WriteWhole(settings, install.data(), install.size());
    setenv("QUILLORY_MACHINE_SETTINGS", settings.c_str(), 1);
    const std::string printer = folder.root + "/printer";
    setenv("QUILLORY_DEVICE", ("virtual:" + printer).c_str(), 1);
    std::string error;
    if (!qv7::VirtualPrinter::Open(printer, &error)) __builtin_trap();
    const auto data = qv7::virtualprinter::SampleDataFiles().front().bytes;
    const auto label = qv7::virtualprinter::SampleLabelFiles().front().bytes;
    qv7fuzz::WriteWhole(folder.root + "/PRICES.dat", data.data(), data.size());
    qv7fuzz::WriteWhole(folder.root + "/SHELF.lbl", label.data(), label.size());
    folder.prices = qv7fuzz::ReadWhole(folder.root + "/PRICES.dat");
    folder.shelf = qv7fuzz::ReadWhole(folder.root + "/SHELF.lbl");
    if (chdir(folder.root.c_str()) != 0) __builtin_trap();
    xercesc::XMLPlatformUtils::Initialize();
    return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const Folder folder = MakeFolder();
    const std::string definition = folder.root + "/set.fsd";
    qv7fuzz::WriteWhole(definition, data, size);

    quillorytest::RecordingPrompt prompt;
    quillorytest::RecordingProgressWindows windows;
    quillory::CPrinterService service(prompt, windows);
    quillory::FileSetOperations sets(service, [] { return QStringList(); });
    const bool sent = sets.SendFileSetDefinition(QString::fromStdString(definition), nullptr);

    if (sent && !prompt.shown.empty()) __builtin_trap();
    if (qv7fuzz::ReadWhole(folder.root + "/PRICES.dat") != folder.prices) __builtin_trap();
    if (qv7fuzz::ReadWhole(folder.root + "/SHELF.lbl") != folder.shelf) __builtin_trap();
    const std::vector<std::string> expected = {"PRICES.dat", "SHELF.lbl", "machine.conf", "printer", "set.fsd"};
    if (qv7fuzz::Listing(folder.root) != expected) __builtin_trap();
    return 0;
}
