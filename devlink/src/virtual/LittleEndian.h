// The printer's numbers travel least significant byte first.
#ifndef QV7_VIRTUAL_LITTLE_ENDIAN_H
#define QV7_VIRTUAL_LITTLE_ENDIAN_H

#include <cstdint>

namespace qv7::virtualprinter {

inline uint16_t ReadLittleEndian16(const uint8_t* at) {
    return static_cast<uint16_t>(at[0] | (at[1] << 8));
}

inline uint32_t ReadLittleEndian32(const uint8_t* at) {
    return static_cast<uint32_t>(at[0]) | (static_cast<uint32_t>(at[1]) << 8) | (static_cast<uint32_t>(at[2]) << 16) |
           (static_cast<uint32_t>(at[3]) << 24);
}

inline void WriteLittleEndian16(uint8_t* at, uint16_t value) {
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
}

inline void WriteLittleEndian32(uint8_t* at, uint32_t value) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace qv7::virtualprinter

#endif
