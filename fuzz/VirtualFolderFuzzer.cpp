// The virtual printer over a hostile folder: its texts (printer.txt,
// faults.txt, names), files where folders belong and the other way round,
// stray and staged slot halves; then a host conversation from the input. The
// printer may refuse the folder but touches nothing outside it; looking at
// the folder first (as qv7 doctor does) changes nothing in it at all.
#include <algorithm>
#include <filesystem>

#include "FolderEntries.h"
#include "FuzzSupport.h"
#include "qv7/VirtualPrinter.h"

namespace {

using namespace qv7fuzz;
namespace fs = std::filesystem;

void WriteEntry(const std::string& root, const std::string& path, const std::string& content) {
    std::error_code ignored;
    fs::create_directories(fs::path(root + "/" + path).parent_path(), ignored);
    WriteWhole(root + "/" + path, content.data(), content.size());
}

// A folder starts as a small printer, so that an input which writes no
// printer.txt does not cost the seeding of a whole sample printer each run.
void BuildFolder(HostileInput& input, const std::string& root) {
    WriteEntry(root, "printer.txt", "driver-version 1\ntype DAT 4\ntype QV7 2\ntype MAP 2\n");
    for (int entry = 0; entry < 24; ++entry) {
        const uint8_t which = input.Byte();
        if (which == 0) return;
        const size_t index = (which - 1u) % (FolderPaths().size() + 1);
        std::string path;
        if (index < FolderPaths().size()) {
            path = FolderPaths()[index];
        } else {
            std::string name(input.Byte() % 16, '\0');
            input.Fill(reinterpret_cast<uint8_t*>(name.data()), name.size());
            for (char& c : name) {
                if (c == '/' || c == '\0') c = '_';
            }
            if (name.empty() || name == "." || name == "..") continue;
            path = "slots/DAT/" + name;
        }
        const size_t length = input.Byte() | (input.Byte() << 8);
        std::string content(length, '\0');
        input.Fill(reinterpret_cast<uint8_t*>(content.data()), content.size());
        WriteEntry(root, path, content);
    }
}

void Converse(HostileInput& input, qv7::VirtualPrinter& printer) {
    uint8_t buffer[96];
    for (int step = 0; step < 48 && !input.Empty(); ++step) {
        const uint8_t operation = input.Byte() % kFolderOperationCount;
        const uint32_t length = input.Byte() % sizeof buffer;
        switch (operation) {
        case kGiveBlock:
            input.Fill(buffer, length);
            printer.TakeGiveCommand(buffer, length);
            break;
        case kGetBlock:
            input.Fill(buffer, length);
            if (printer.TakeGetCommand(buffer, length)) printer.ReadReply(buffer, input.Byte() % sizeof buffer);
            break;
        case kWriteBulk:
            input.Fill(buffer, length);
            if (printer.WriteBulk(buffer, length) > length) __builtin_trap();
            break;
        default:
            if (printer.ReadBulk(buffer, length) > length) __builtin_trap();
            break;
        }
    }
}

// Every path below root with its size (folders as -1).
std::vector<std::pair<std::string, std::intmax_t>> Tree(const std::string& root) {
    std::vector<std::pair<std::string, std::intmax_t>> tree;
    std::error_code failure;
    for (fs::recursive_directory_iterator entry(root, failure), end; !failure && entry != end;
         entry.increment(failure)) {
        std::error_code sizeFailure;
        const bool file = entry->is_regular_file(sizeFailure);
        tree.emplace_back(entry->path().string(), file ? std::intmax_t(entry->file_size(sizeFailure)) : -1);
    }
    std::sort(tree.begin(), tree.end());
    return tree;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string scratch = ScratchFolder("qv7fuzz-folder");
    const std::string root = scratch + "/printer";
    std::error_code ignored;
    fs::remove_all(root, ignored);
    fs::create_directory(root, ignored);

    HostileInput input(data, size);
    BuildFolder(input, root);
    const auto before = Tree(root);
    qv7::VirtualPrinter::Inspect(root);
    if (Tree(root) != before) __builtin_trap();
    std::string error;
    std::unique_ptr<qv7::VirtualPrinter> printer = qv7::VirtualPrinter::Open(root, &error);
    if (printer) Converse(input, *printer);
    printer.reset();
    if (Listing(scratch) != std::vector<std::string>{"printer"}) __builtin_trap();
    return 0;
}
