// Helpers shared by the virtual printer tests: a scratch folder, and the host
// side of the protocol spoken straight to a VirtualPrinter.
#ifndef QV7_VIRTUAL_PRINTER_TEST_H
#define QV7_VIRTUAL_PRINTER_TEST_H

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "TempFolder.h"
#include "qv7/VirtualPrinter.h"

namespace vptest {

using Bytes = std::vector<uint8_t>;

// A scratch folder with a printer folder in it that does not exist yet.
class ScratchFolder : public qv7test::TempFolder {
public:
    std::string Printer() const { return *this / "printer"; }
};

class VirtualPrinterTest : public ::testing::Test {
protected:
    ScratchFolder scratch;
};

inline void WriteFile(const std::string& path, const std::string& content) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << content;
}

using qv7test::Pattern;
using qv7test::ReadBytes;
using qv7test::ReadText;

// A hand-written printer: DAT 4 slots, QV7 3, MAP 2, driver version 7.
inline void WriteSmallPrinter(const std::string& dir) {
    WriteFile(dir + "/printer.txt", "driver-version 7\ntype DAT 4\ntype QV7 3\ntype MAP 2\n");
}

// A printer folder that does not open ends the test with the reason.
inline std::unique_ptr<qv7::VirtualPrinter> OpenPrinter(const std::string& dir) {
    std::string error;
    std::unique_ptr<qv7::VirtualPrinter> printer = qv7::VirtualPrinter::Open(dir, &error);
    if (!printer) throw std::runtime_error("the printer folder does not open: " + error);
    return printer;
}

// The block the host sends: header, then a 32-bit payload for the announcing
// commands or zeros as long as the reply for the others.
inline Bytes Block(uint8_t code, uint16_t type, uint16_t slot, uint16_t length, uint32_t payload = 0) {
    Bytes block = {code, 0, uint8_t(type), uint8_t(type >> 8), uint8_t(slot), uint8_t(slot >> 8), uint8_t(length),
                   uint8_t(length >> 8)};
    block.resize(8 + length, 0);
    if (code == 1 || code == 3) {
        for (int i = 0; i < 4; ++i) block[8 + i] = uint8_t(payload >> (8 * i));
    }
    return block;
}

// The device's answer to a reply-bearing block; ok is false when it refused
// the block. The reply buffer starts out as 0xEE so untouched bytes show.
struct Reply {
    bool ok = false;
    uint32_t given = 0;
    Bytes bytes;
};

inline Reply Ask(qv7::VirtualPrinter& printer, const Bytes& block, uint32_t capacity) {
    Reply reply;
    reply.ok = printer.TakeGetCommand(block.data(), uint32_t(block.size()));
    if (!reply.ok) return reply;
    reply.bytes.assign(capacity, 0xEE);
    reply.given = printer.ReadReply(reply.bytes.data(), capacity);
    return reply;
}

inline uint32_t Number(const Bytes& bytes, size_t width) {
    uint32_t value = 0;
    for (size_t i = 0; i < width; ++i) value |= uint32_t(bytes[i]) << (8 * i);
    return value;
}

inline uint16_t Status(qv7::VirtualPrinter& printer) {
    return uint16_t(Number(Ask(printer, Block(9, 0, 0, 2), 2).bytes, 2));
}

inline std::string StoredName(qv7::VirtualPrinter& printer, uint16_t type, uint16_t slot) {
    const Reply reply = Ask(printer, Block(8, type, slot, 9), 9);
    EXPECT_TRUE(reply.ok);
    EXPECT_EQ(reply.bytes[8], 0) << "the name record ends in a terminator";
    return std::string(reinterpret_cast<const char*>(reply.bytes.data()));
}

// Moves size bytes in calls of at most `chunk`; returns the bytes moved,
// stopping at the first short call as the host does.
template <typename Move>
uint32_t InChunks(uint32_t size, uint32_t chunk, Move move) {
    uint32_t done = 0;
    for (uint32_t asked = 1, moved = 1; done < size && moved == asked; done += moved) {
        asked = std::min(chunk, size - done);
        moved = move(done, asked);
    }
    return done;
}

inline uint32_t WriteChunks(qv7::VirtualPrinter& printer, const Bytes& data, uint32_t chunk) {
    return InChunks(uint32_t(data.size()), chunk,
                    [&](uint32_t at, uint32_t asked) { return printer.WriteBulk(data.data() + at, asked); });
}

inline Bytes ReadChunks(qv7::VirtualPrinter& printer, uint32_t size, uint32_t chunk) {
    Bytes data(size);
    data.resize(InChunks(size, chunk, [&](uint32_t at, uint32_t asked) { return printer.ReadBulk(data.data() + at, asked); }));
    return data;
}

// A whole give: announce, send, and poll until the upload bit clears.
// Returns the last status word.
inline uint16_t GiveFile(qv7::VirtualPrinter& printer, uint16_t type, uint16_t slot, const Bytes& data,
                         uint32_t chunk = 16) {
    const Bytes block = Block(3, type, slot, 4, uint32_t(data.size()));
    EXPECT_TRUE(printer.TakeGiveCommand(block.data(), uint32_t(block.size())));
    WriteChunks(printer, data, chunk);
    uint16_t status = 0;
    for (int poll = 0; poll < 10 && ((status = Status(printer)) & 0x0001); ++poll) {}
    return status;
}

// A whole get: announce, receive, and poll until the download bit clears.
inline Bytes GetFile(qv7::VirtualPrinter& printer, uint16_t type, uint16_t slot, uint32_t chunk = 16) {
    const Reply size = Ask(printer, Block(4, type, slot, 4), 4);
    EXPECT_TRUE(size.ok);
    const Bytes data = ReadChunks(printer, Number(size.bytes, 4), chunk);
    for (int poll = 0; poll < 10 && (Status(printer) & 0x0004); ++poll) {}
    return data;
}

}  // namespace vptest

#endif
