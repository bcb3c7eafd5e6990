#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/ErrNum.h"

namespace vellcfgrdr {

// A read position over a byte image (a file loaded into memory, a table cut
// out of one) that cannot read, seek or skip past the bytes present. It is
// what the binary readers use instead of indexing buffers themselves.
//
//   CByteCursor cur(image, "Quern image");            // name used in errors
//   const int32_t version = cur.I32(ByteOrder::Little);
//   cur.Seek(292);
//   const auto words = cur.I16Array(128, ByteOrder::Little);
//   cur.CheckCount(records, 14);                       // before reserving
//   CByteCursor table = cur.Sub(length);               // a window, same errors
//
// Every failure raises a CVellError through ModGSCore::RaiseError with the
// cursor's error number (62 "Input past end of file" unless another is given)
// and a description that names the image and the absolute offset, for
// example "Input past end of file - Quern image: 4 bytes wanted at offset
// 290, 2 present". A reader that reports its own status (321 for a broken
// file) catches it and maps the number; nothing has been consumed by a read
// that failed.
//
// Offsets, counts and sizes are taken as int64_t so that a negative value
// computed from a signed word of the file is refused instead of wrapping.
// The cursor only views the bytes: they must outlive it and every Sub and
// Bytes span taken from it.
enum class ByteOrder { Little, Big };

class CByteCursor {
  public:
    explicit CByteCursor(std::span<const uint8_t> bytes, std::string name = {},
                         int32_t errorNumber = ErrNum::kPastEnd);

    size_t Size() const noexcept { return bytes_.size(); }
    size_t Offset() const noexcept { return pos_; }
    size_t Remaining() const noexcept { return bytes_.size() - pos_; }
    bool AtEnd() const noexcept { return pos_ == bytes_.size(); }
    // Offset of this cursor's byte 0 in the image it was cut from (0 for a
    // cursor made from a whole image); error texts name base + offset.
    size_t Base() const noexcept { return base_; }
    const std::string& Name() const noexcept { return name_; }
    int32_t ErrorNumber() const noexcept { return errorNumber_; }

    // Offset 0 to Size() inclusive (the end itself is a valid position).
    void Seek(int64_t offset);
    void Skip(int64_t count);

    uint8_t U8();
    int8_t I8();
    uint16_t U16(ByteOrder order);
    int16_t I16(ByteOrder order);
    uint32_t U32(ByteOrder order);
    int32_t I32(ByteOrder order);

    // The next count bytes, viewed in place.
    std::span<const uint8_t> Bytes(int64_t count);
    // A cursor over the next count bytes (this one moves past them); its
    // errors name offsets in the whole image.
    CByteCursor Sub(int64_t count);
    // count 16-bit words, checked as a whole before anything is allocated.
    std::vector<int16_t> I16Array(int64_t count, ByteOrder order);

    // Raises unless count items of size bytes each fit in the bytes
    // remaining; returns count x size. Call it before reserving room for
    // records whose count comes from the file.
    size_t CheckCount(int64_t count, int64_t size) const;

  private:
    CByteCursor(std::span<const uint8_t> bytes, std::string name, int32_t errorNumber, size_t base);
    // Raises unless count bytes remain; returns the current position.
    size_t Take(int64_t count);
    [[noreturn]] void Fail(const std::string& what) const;

    std::span<const uint8_t> bytes_;
    std::string name_;
    int32_t errorNumber_;
    size_t base_ = 0;
    size_t pos_ = 0;
};

}  // namespace vellcfgrdr
