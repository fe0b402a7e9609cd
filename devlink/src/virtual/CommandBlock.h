// The command block as the device receives it: an 8-byte header (code, a
// reserved byte, two 16-bit parameters, a 16-bit length) and `length` bytes
// after it, all numbers least significant byte first.
//
// The emulated printer reads the wire format on its own and shares nothing
// with the library's encoder, on purpose: a device written apart from the
// host is what catches the host's encoding faults.
#ifndef QV7_VIRTUAL_COMMAND_BLOCK_H
#define QV7_VIRTUAL_COMMAND_BLOCK_H

#include <cstdint>

#include "LittleEndian.h"

namespace qv7::virtualprinter {

enum class Command : uint8_t {
    GiveFirmware = 1,
    GetFirmware = 2,
    GiveFile = 3,
    GetFile = 4,
    FileTypes = 5,
    FileTypeAttributes = 6,
    FileMax = 7,
    FileAttributes = 8,
    FileStatus = 9,
};

// Which control request carried the block.
enum class Channel { Give, Get };

constexpr uint32_t kHeaderLength = 8;

struct CommandBlock {
    Command code = Command::FileStatus;
    uint16_t parameter1 = 0;  // file type index where the command takes one
    uint16_t parameter2 = 0;  // slot index where the command takes one
    uint16_t length = 0;
    uint32_t payload = 0;     // the announced size of commands 1 and 3
};

// The number of bytes a command's reply has, or its payload for the two
// announcing commands.
uint16_t LengthFieldOf(Command code);

// Reads and checks a block: the code must belong to the channel, the length
// field must be the one the command has, and the block must be exactly header
// plus that length. Type and slot indexes are the device's to check.
bool ParseCommandBlock(Channel channel, const uint8_t* block, uint32_t blockLength, CommandBlock* parsed);

}  // namespace qv7::virtualprinter

#endif
