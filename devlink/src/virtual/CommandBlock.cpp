#include "CommandBlock.h"

namespace qv7::virtualprinter {

uint16_t LengthFieldOf(Command code) {
    switch (code) {
    case Command::GiveFirmware:
    case Command::GetFirmware:
    case Command::GiveFile:
    case Command::GetFile:
        return 4;
    case Command::FileTypes:
    case Command::FileMax:
    case Command::FileStatus:
        return 2;
    case Command::FileTypeAttributes:
        return 4;
    case Command::FileAttributes:
        return 9;
    }
    return 0;
}

namespace {

bool BelongsTo(Channel channel, uint8_t code) {
    const bool announcesUpload = code == static_cast<uint8_t>(Command::GiveFirmware) ||
                                 code == static_cast<uint8_t>(Command::GiveFile);
    if (channel == Channel::Give) return announcesUpload;
    return code >= 1 && code <= 9 && !announcesUpload;
}

}  // namespace

bool ParseCommandBlock(Channel channel, const uint8_t* block, uint32_t blockLength, CommandBlock* parsed) {
    if (!block || blockLength < kHeaderLength) return false;
    if (!BelongsTo(channel, block[0])) return false;

    CommandBlock result;
    result.code = static_cast<Command>(block[0]);
    result.parameter1 = ReadLittleEndian16(block + 2);
    result.parameter2 = ReadLittleEndian16(block + 4);
    result.length = ReadLittleEndian16(block + 6);
    // A length that differs from the command's own would leave the two sides
    // disagreeing on the size of the reply, so the device will not guess.
    if (result.length != LengthFieldOf(result.code)) return false;
    if (blockLength != kHeaderLength + result.length) return false;
    if (channel == Channel::Give) result.payload = ReadLittleEndian32(block + kHeaderLength);

    *parsed = result;
    return true;
}

}  // namespace qv7::virtualprinter
