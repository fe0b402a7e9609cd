// Writes the fuzz targets' seed corpora: CSV texts, the folder of a freshly
// seeded virtual printer, and real conversations of the library with the
// virtual printer recorded in the form the hostile driver reads.
// Usage: fuzz_seeds DIR   (makes DIR/csv, DIR/virtual_folder, DIR/link, DIR/usb,
// DIR/bitmap, DIR/fileset, DIR/setup)
#include <cstdio>
#include <filesystem>

#include "BitmapFiles.h"
#include "FolderEntries.h"
#include "FuzzSupport.h"
#include "HostileDriver.h"
#include "LinkOperations.h"
#include "SampleFiles.h"
#include "qv7/VirtualPrinter.h"

namespace {

using namespace qv7fuzz;
namespace fs = std::filesystem;

void Save(const std::string& dir, const std::string& name, const std::vector<uint8_t>& bytes) {
    fs::create_directories(dir);
    WriteWhole(dir + "/" + name, bytes.data(), bytes.size());
}

void WriteCsvSeeds(const std::string& dir) {
    const char* const texts[] = {
        "Name,Price\r\nTea,2.50\r\n",
        "\"Quoted, with comma\",\"with \"\"quotes\"\"\"\nnext,line\rold mac\n",
        "a,b,c,d,e,f,g,h,i,j\n1,2,3,4,5,6,7,8,9,10\n",
        "exactly thirty-three characters!!,x\n",
        "\"open quote\nacross lines\",end\n",
        "\xEF\xBB\xBFName,Caf\xC3\xA9,\xE2\x82\xAC 2,\"\xE2\x80\x9Cquoted\xE2\x80\x9D\"\r\n",
        "Cr\xE8me,\x80 3\r\n \"x\" , y \r\n\r\nafter blank, z \r\n",
    };
    int number = 0;
    for (const char* text : texts) {
        Save(dir, "text" + std::to_string(++number), std::vector<uint8_t>(text, text + std::string(text).size()));
    }
    std::string hundred;
    for (int line = 0; line < 101; ++line) hundred += "item" + std::to_string(line) + ",1.00\n";
    Save(dir, "lines101", std::vector<uint8_t>(hundred.begin(), hundred.end()));
}

void WriteFolderSeeds(const std::string& dir, const std::string& scratch) {
    const std::string printer = scratch + "/seeded";
    std::string error;
    if (!qv7::VirtualPrinter::Open(printer, &error)) {
        std::fprintf(stderr, "fuzz_seeds: %s\n", error.c_str());
        return;
    }
    InputRecorder whole;
    for (size_t index = 0; index < FolderPaths().size(); ++index) {
        const std::string path = printer + "/" + FolderPaths()[index];
        if (fs::is_regular_file(path) && fs::file_size(path) < 65536) RecordFolderEntry(whole, index, ReadWhole(path));
    }
    whole.Byte(0);
    // Ask for the file types, then for data slot 1 and read a little of it.
    const uint8_t fileTypes[] = {5, 0, 0, 0, 0, 0, 2, 0, 0, 0};
    const uint8_t getFile[] = {4, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0, 0};
    whole.Byte(kGetBlock), whole.Byte(sizeof fileTypes), whole.Fill(fileTypes, sizeof fileTypes), whole.Byte(2);
    whole.Byte(kGetBlock), whole.Byte(sizeof getFile), whole.Fill(getFile, sizeof getFile), whole.Byte(4);
    whole.Byte(kReadBulk), whole.Byte(16);
    Save(dir, "seeded", whole.bytes);

    InputRecorder broken;
    RecordFolderEntry(broken, 0, "driver-version 1\ntype DAT 4\n");
    RecordFolderEntry(broken, 4, "stray bytes");
    RecordFolderEntry(broken, 10, "NEW\n");
    broken.Byte(0);
    Save(dir, "half-slots", broken.bytes);
}

void RecordLink(const std::string& dir, const std::string& name, const std::string& scratch,
                const std::vector<std::vector<uint8_t>>& operations) {
    InputRecorder record;
    auto driver = std::make_shared<RecordingDriver>(qv7::MakeDriver("virtual:" + scratch + "/printer"), record);
    qv7::SetDriverFactory([driver] { return driver; });
    LinkFolder folder{scratch, scratch + "/source.bin", scratch + "/target.bin"};
    const std::string source(40, 'S');
    WriteWhole(folder.source, source.data(), source.size());
    {
        CQV7_Sys_API connection;
        for (const std::vector<uint8_t>& operation : operations) {
            for (uint8_t byte : operation) record.Byte(byte);
            connection.GetError();
            RunLinkOperation(operation[0], operation[1], operation[2], connection, folder);
        }
    }
    qv7::SetDriverFactory(nullptr);
    Save(dir, name, record.bytes);
}

void WriteLinkSeeds(const std::string& dir, const std::string& scratch) {
    RecordLink(dir, "catalogue", scratch,
               {{kVersion, 0, 0}, {kFileTypes, 0, 0}, {kFileTypeAttributes, 1, 0}, {kFileMax, 1, 0},
                {kFileAttributes, 0, 0}});
    RecordLink(dir, "get-label", scratch, {{kGetFile, 1, 0}});
    RecordLink(dir, "get-symbol", scratch, {{kGetFile, 2, 0}});
    RecordLink(dir, "give-label", scratch, {{kGiveFile, 1, 2}, {kFileStatus, 0, 0}});
    RecordLink(dir, "give-firmware", scratch, {{kGiveFirmware, 0, 0}});
}

// A device with one bulk endpoint each way, asked for the type count, then a
// pipe opened and read.
void WriteUsbSeeds(const std::string& dir) {
    const std::vector<uint8_t> session = {
        0,                                  // start
        1, 1, 7, 0,                         // one device at 1-7
        0,                                  // opened
        0xFF, 2, 0x81, 0x02, 64, 0, 0x02, 0x02, 64, 0, 0,  // interface 0: bulk IN and OUT, 64-byte packets
        0, 0,                               // no kernel driver
        0,                                  // claimed
        0, 0,                               // halts cleared
        0, 0, 10, 5, 0, 0, 0, 0, 0, 2, 0, 0, 0, 2,  // control: the file-types block
        10, 0, 0,                           // ... sent
        2, 0, 3, 0, 0,                      // ... two reply bytes
        1, 0, 0, 0,                         // open PIPE00
        2, 1, 16,                           // read 16 from it
        64, 0};
    std::vector<uint8_t> bytes = session;
    bytes.resize(bytes.size() + 64, 0x41);
    bytes.push_back(0);
    Save(dir, "session", bytes);
}

// The printer's own symbols, and one small bitmap of every depth the reader
// knows, written by the symbol tests' generator.
void WriteBitmapSeeds(const std::string& dir) {
    for (const qv7::virtualprinter::SampleFile& symbol : qv7::virtualprinter::SampleSymbols()) {
        Save(dir, "symbol" + std::to_string(symbol.slotIndex), symbol.bytes);
    }
    using quillorytest::Bmp;
    using quillorytest::Table;
    const Bmp depths[] = {{9, 5, 1, Table(2), {0x80}},      {9, 5, 4, Table(16), {0x5A}},
                          {9, 5, 8, Table(256), {0, 200}},   {9, 5, 16, {}, {0x1F, 0x7C}},
                          {9, 5, 24, {}, {1, 2, 3}},         {9, 5, 32, {}, {1, 2, 3, 4}},
                          {3, 2, 1, Table(2), {0x80}, {0, 0, 0, 0, 0xFF, 0, 0, 0}}};
    int number = 0;
    for (const Bmp& bitmap : depths) Save(dir, "depth" + std::to_string(++number), bitmap.File());
}

// Definitions as the program writes them and as people edit them, naming the
// two files the file set target keeps in its folder.
void WriteFileSetSeeds(const std::string& dir) {
    const std::string head =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<quilloryFileSet xmlns=\"urn:orvale:quillory:fileset:1\">";
    const std::string tail = "</quilloryFileSet>\n";
    auto file = [](const std::string& type, const std::string& path, const std::string& slot) {
        return "<file xmlns=\"\"><type>" + type + "</type><path>" + path + "</path><slot>" + slot + "</slot></file>";
    };
    const std::string texts[] = {
        head + file("data", "PRICES.dat", "2") + file("label", "SHELF.lbl", "1") + tail,
        head + file("symbol", "PRICES.dat", "3") + file("data", "PRICES.dat", " 03 ") + tail,
        head + tail,
        head + file("label", "missing.lbl", "255") + tail,
    };
    int number = 0;
    for (const std::string& text : texts) {
        Save(dir, "set" + std::to_string(++number), std::vector<uint8_t>(text.begin(), text.end()));
    }
}

// Machines for the setup target: the settings file and the printing system's
// device list (read as a udev rule too), then a Windows machine and the clicks
// of a user.
void WriteSetupSeeds(const std::string& dir) {
    auto text = [](InputRecorder& record, const std::string& value, size_t quads) {
        record.Byte(static_cast<uint8_t>(quads));
        std::string padded = value;
        padded.resize(quads * 4, '\n');
        record.Fill(reinterpret_cast<const uint8_t*>(padded.data()), padded.size());
    };
    auto shortText = [](InputRecorder& record, const std::string& value) {
        record.Byte(1), record.Byte(static_cast<uint8_t>(value.size()));
        record.Fill(reinterpret_cast<const uint8_t*>(value.data()), value.size());
    };
    struct Machine {
        const char* name;
        uint8_t major, minor, platformId;
        const char* version;
        uint8_t port;  // odd: a port number; not a multiple of 3: the printer is there; of 5: its driver too
        std::vector<uint8_t> clicks;
    };
    const Machine machines[] = {
        {"windows7", 6, 1, 2, "2.01", 0x0B, {0, 0, 0, 1, 0, 13, 15}},
        {"vista-new", 6, 0, 2, "1.00", 0x01, {0, 0, 28, 0, 0, 13, 0, 13, 0}},
        {"xp", 5, 1, 2, "2.01", 0x0D, {0, 6, 0, 11, 10, 0, 2}},
        {"windows95", 4, 0, 1, "", 0x02, {0, 0, 0, 0, 1}},
    };
    for (const Machine& machine : machines) {
        InputRecorder record;
        text(record, "[General]\nVersion=2.1.3\ndir=/usr/bin\n", 8);
        text(record,
             "network ipp://h/p?usb://QV7E\ndirect usb://Tandor/QV7E?serial=0042 \"Tandor QV7E\"\n"
             "SUBSYSTEM==\"usb\", ATTR{idVendor}==\"FFFF\", ATTR{idProduct}==\"07e0\", TAG+=\"uaccess\"\n",
             48);
        record.Byte(1), record.Byte(machine.major), record.Byte(machine.minor), record.Byte(machine.platformId);
        record.Byte(1), record.Byte(1);
        shortText(record, machine.version);
        shortText(record, "7&2a4b3c&0");
        record.Byte(machine.port);
        if (machine.port % 2) record.Word32(3);
        record.Byte(0);
        record.Fill(machine.clicks.data(), machine.clicks.size());
        Save(dir, machine.name, record.bytes);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds DIR\n");
        return 2;
    }
    const std::string out = argv[1];
    const std::string scratch = ScratchFolder("qv7fuzz-seeds");
    WriteCsvSeeds(out + "/csv");
    WriteFolderSeeds(out + "/virtual_folder", scratch);
    WriteLinkSeeds(out + "/link", scratch);
    WriteUsbSeeds(out + "/usb");
    WriteBitmapSeeds(out + "/bitmap");
    WriteFileSetSeeds(out + "/fileset");
    WriteSetupSeeds(out + "/setup");
    std::error_code ignored;
    fs::remove_all(scratch, ignored);
    return 0;
}
