#include "support/CByteCursor.h"

#include <string>

#include "core/ModGSCore.h"

namespace vellcfgrdr {

CByteCursor::CByteCursor(std::span<const uint8_t> bytes, std::string name, int32_t errorNumber)
    : CByteCursor(bytes, std::move(name), errorNumber, 0) {}

CByteCursor::CByteCursor(std::span<const uint8_t> bytes, std::string name, int32_t errorNumber,
                         size_t base)
    : bytes_(bytes), name_(std::move(name)), errorNumber_(errorNumber), base_(base) {}

void CByteCursor::Fail(const std::string& what) const {
    ModGSCore::RaiseError(name_.empty() ? what : name_ + ": " + what, errorNumber_);
}

size_t CByteCursor::Take(int64_t count) {
    if (count < 0 || static_cast<uint64_t>(count) > Remaining()) {
        Fail(std::to_string(count) + " bytes wanted at offset " + std::to_string(base_ + pos_) +
             ", " + std::to_string(Remaining()) + " present");
    }
    const size_t at = pos_;
    pos_ += static_cast<size_t>(count);
    return at;
}

void CByteCursor::Seek(int64_t offset) {
    if (offset < 0 || static_cast<uint64_t>(offset) > bytes_.size()) {
        Fail("offset " + std::to_string(offset) + " is outside the " +
             std::to_string(bytes_.size()) + " bytes from offset " + std::to_string(base_));
    }
    pos_ = static_cast<size_t>(offset);
}

void CByteCursor::Skip(int64_t count) {
    Take(count);
}

uint8_t CByteCursor::U8() {
    return bytes_[Take(1)];
}

int8_t CByteCursor::I8() {
    return static_cast<int8_t>(U8());
}

uint16_t CByteCursor::U16(ByteOrder order) {
    const size_t at = Take(2);
    const unsigned b0 = bytes_[at];
    const unsigned b1 = bytes_[at + 1];
    return static_cast<uint16_t>(order == ByteOrder::Little ? (b1 << 8) | b0 : (b0 << 8) | b1);
}

int16_t CByteCursor::I16(ByteOrder order) {
    return static_cast<int16_t>(U16(order));
}

uint32_t CByteCursor::U32(ByteOrder order) {
    const size_t at = Take(4);
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) {
        const size_t index = order == ByteOrder::Little ? at + 3 - i : at + i;
        value = (value << 8) | bytes_[index];
    }
    return value;
}

int32_t CByteCursor::I32(ByteOrder order) {
    return static_cast<int32_t>(U32(order));
}

std::span<const uint8_t> CByteCursor::Bytes(int64_t count) {
    const size_t at = Take(count);
    return bytes_.subspan(at, static_cast<size_t>(count));
}

CByteCursor CByteCursor::Sub(int64_t count) {
    const size_t at = Take(count);
    return CByteCursor(bytes_.subspan(at, static_cast<size_t>(count)), name_, errorNumber_,
                       base_ + at);
}

std::vector<int16_t> CByteCursor::I16Array(int64_t count, ByteOrder order) {
    CheckCount(count, 2);
    std::vector<int16_t> words;
    words.reserve(static_cast<size_t>(count));
    for (int64_t i = 0; i < count; ++i)
        words.push_back(I16(order));
    return words;
}

size_t CByteCursor::CheckCount(int64_t count, int64_t size) const {
    // Divide rather than multiply: a hostile count times a size may overflow.
    const bool fits =
        count >= 0 && size >= 0 &&
        (size == 0 || static_cast<uint64_t>(count) <= Remaining() / static_cast<uint64_t>(size));
    if (!fits) {
        Fail(std::to_string(count) + " items of " + std::to_string(size) +
             " bytes wanted at offset " + std::to_string(base_ + pos_) + ", " +
             std::to_string(Remaining()) + " bytes present");
    }
    return static_cast<size_t>(count) * static_cast<size_t>(size);
}

}  // namespace vellcfgrdr
