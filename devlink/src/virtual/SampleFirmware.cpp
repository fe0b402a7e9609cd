#include <cstring>

#include "SampleFiles.h"

namespace qv7::virtualprinter {

// A recognisable header, then bytes from a fixed-seed generator: the same
// image on every machine, yet with no pattern a transfer bug could hide in.
std::vector<uint8_t> SampleFirmware() {
    std::vector<uint8_t> image(kFirmwareSize);
    uint32_t state = 0x51A7E300u;
    for (uint8_t& byte : image) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        byte = static_cast<uint8_t>(state >> 24);
    }
    static const char header[] = "QV7E FIRMWARE 3.00 VIRTUAL";
    std::memcpy(image.data(), header, sizeof header);
    return image;
}

}  // namespace qv7::virtualprinter
