// The fuzzer's bytes read front to back as a hostile party's answers, and the
// recorder that writes a real conversation in the same form, so that seeds
// start from what a sound printer says.
#ifndef QUILLORY_FUZZ_HOSTILE_INPUT_H
#define QUILLORY_FUZZ_HOSTILE_INPUT_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace qv7fuzz {

// An answer byte of this value means "the call fails".
constexpr uint8_t kFails = 0xFF;

class HostileInput {
public:
    HostileInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool Empty() const { return at_ >= size_; }
    // Past the end every answer is 0: a printer that has gone quiet.
    uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    uint32_t Word32() {
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i) value |= static_cast<uint32_t>(Byte()) << (8 * i);
        return value;
    }
    void Fill(uint8_t* out, size_t count) {
        const size_t available = at_ < size_ ? size_ - at_ : 0;
        const size_t taken = count < available ? count : available;
        if (taken) std::memcpy(out, data_ + at_, taken);
        if (count > taken) std::memset(out + taken, 0, count - taken);
        at_ += taken;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

class InputRecorder {
public:
    void Byte(uint8_t value) { bytes.push_back(value); }
    void Word32(uint32_t value) {
        for (int i = 0; i < 4; ++i) Byte(static_cast<uint8_t>(value >> (8 * i)));
    }
    void Fill(const uint8_t* data, size_t count) { bytes.insert(bytes.end(), data, data + count); }

    std::vector<uint8_t> bytes;
};

}  // namespace qv7fuzz

#endif
