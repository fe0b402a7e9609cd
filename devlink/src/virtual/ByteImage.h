// One stored file or firmware image in memory: a single buffer of exactly its
// size. The device keeps at most one of these per direction.
#ifndef QV7_VIRTUAL_BYTE_IMAGE_H
#define QV7_VIRTUAL_BYTE_IMAGE_H

#include <cstdint>
#include <memory>
#include <new>

namespace qv7::virtualprinter {

struct ByteImage {
    std::unique_ptr<uint8_t[]> bytes;
    uint32_t size = 0;

    // False when the memory cannot be had; sizes come from the host and from
    // files on disk, so a failure is an answer, not a crash.
    bool Allocate(uint32_t newSize) {
        bytes.reset(new (std::nothrow) uint8_t[newSize == 0 ? 1 : newSize]);
        size = bytes ? newSize : 0;
        return bytes != nullptr;
    }

    void Release() {
        bytes.reset();
        size = 0;
    }
};

}  // namespace qv7::virtualprinter

#endif
