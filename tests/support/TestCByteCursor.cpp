#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "TestUtil.h"
#include "core/ErrNum.h"
#include "support/CByteCursor.h"

using namespace vellcfgrdr;
using test::CatchError;

namespace {

const std::vector<uint8_t> kImage = {0x12, 0x34, 0x56, 0x78, 0xFF, 0xFE, 0x80, 0x00, 0x01};

}  // namespace

TEST(CByteCursor, ReadsWordsInBothByteOrders) {
    EXPECT_EQ(CByteCursor(kImage).U16(ByteOrder::Big), 0x1234);
    EXPECT_EQ(CByteCursor(kImage).U16(ByteOrder::Little), 0x3412);
    EXPECT_EQ(CByteCursor(kImage).U32(ByteOrder::Big), 0x12345678u);
    CByteCursor cur(kImage);
    EXPECT_EQ(cur.U32(ByteOrder::Little), 0x78563412u);
    EXPECT_EQ(cur.I16(ByteOrder::Big), -2);  // 0xFFFE
    EXPECT_EQ(cur.I16(ByteOrder::Little), 128);
    EXPECT_EQ(cur.Offset(), 8u);
    EXPECT_EQ(cur.I8(), 1);
    EXPECT_TRUE(cur.AtEnd());

    cur.Seek(4);
    EXPECT_EQ(cur.I32(ByteOrder::Big), static_cast<int32_t>(0xFFFE8000u));
    cur.Seek(3);
    EXPECT_EQ(cur.I32(ByteOrder::Little), static_cast<int32_t>(0x80FEFF78u));
    cur.Seek(6);
    EXPECT_EQ(cur.I8(), -128);
}

TEST(CByteCursor, FailedReadNamesTheOffsetAndConsumesNothing) {
    CByteCursor cur(kImage, "Quern image");
    cur.Seek(7);
    const CVellError e = CatchError([&] { cur.U32(ByteOrder::Little); });
    EXPECT_EQ(e.Number(), ErrNum::kPastEnd);
    EXPECT_EQ(e.Description(),
              "Input past end of file - Quern image: 4 bytes wanted at offset 7, 2 present");
    EXPECT_EQ(cur.Offset(), 7u);
    EXPECT_EQ(cur.U16(ByteOrder::Big), 0x0001);  // the two bytes are still there

    EXPECT_EQ(CatchError([&] { cur.U8(); }).Number(), ErrNum::kPastEnd);
    EXPECT_EQ(CatchError([&] { cur.Seek(10); }).Number(), ErrNum::kPastEnd);
    EXPECT_EQ(CatchError([&] { cur.Seek(-1); }).Number(), ErrNum::kPastEnd);
    cur.Seek(9);  // the end itself is a position
    EXPECT_EQ(CatchError([&] { cur.Skip(1); }).Number(), ErrNum::kPastEnd);
    cur.Seek(2);
    EXPECT_EQ(CatchError([&] { cur.Skip(-1); }).Number(), ErrNum::kPastEnd);
    EXPECT_EQ(CatchError([&] { cur.Bytes(8); }).Number(), ErrNum::kPastEnd);
    EXPECT_EQ(cur.Offset(), 2u);

    CByteCursor own(kImage, {}, ErrNum::kBadFileFormat);
    const CVellError e2 = CatchError([&] { own.Skip(100); });
    EXPECT_EQ(e2.Number(), ErrNum::kBadFileFormat);
    EXPECT_EQ(e2.Description(), "Invalid file format - 100 bytes wanted at offset 0, 9 present");
}

TEST(CByteCursor, CountsAreCheckedBeforeAllocating) {
    CByteCursor cur(kImage, "table");
    cur.Skip(1);
    EXPECT_EQ(cur.CheckCount(4, 2), 8u);
    EXPECT_EQ(cur.CheckCount(0, 1000), 0u);
    EXPECT_EQ(cur.CheckCount(1000, 0), 0u);
    const CVellError e = CatchError([&] { cur.CheckCount(32767, 14); });
    EXPECT_EQ(e.Description(),
              "Input past end of file - table: 32767 items of 14 bytes wanted at offset 1, 8 "
              "bytes present");
    // A product that would overflow 64 bits is refused, not wrapped.
    EXPECT_THROW(cur.CheckCount(INT64_MAX, 4), CVellError);
    EXPECT_THROW(cur.CheckCount(-1, 2), CVellError);
    EXPECT_THROW(cur.CheckCount(2, -1), CVellError);
    EXPECT_THROW(cur.I16Array(5, ByteOrder::Big), CVellError);
    EXPECT_EQ(cur.Offset(), 1u);

    const std::vector<int16_t> words = cur.I16Array(4, ByteOrder::Big);
    EXPECT_EQ(words, (std::vector<int16_t>{0x3456, 0x78FF, -384, 0x0001}));
    EXPECT_TRUE(cur.AtEnd());
}

TEST(CByteCursor, SubCursorReportsOffsetsOfTheWholeImage) {
    CByteCursor cur(kImage, "image");
    cur.Skip(2);
    CByteCursor sub = cur.Sub(4);
    EXPECT_EQ(cur.Offset(), 6u);
    EXPECT_EQ(sub.Size(), 4u);
    EXPECT_EQ(sub.Base(), 2u);
    EXPECT_EQ(sub.U16(ByteOrder::Big), 0x5678);
    sub.Skip(1);
    const CVellError e = CatchError([&] { sub.U16(ByteOrder::Big); });
    EXPECT_EQ(e.Description(),
              "Input past end of file - image: 2 bytes wanted at offset 5, 1 present");
    EXPECT_THROW(sub.Seek(5), CVellError);
    EXPECT_THROW(cur.Sub(4), CVellError);

    const auto view = cur.Bytes(3);
    EXPECT_EQ(view.size(), 3u);
    EXPECT_EQ(view[0], 0x80);

    CByteCursor empty(std::span<const uint8_t>{});
    EXPECT_TRUE(empty.AtEnd());
    EXPECT_EQ(empty.Bytes(0).size(), 0u);
    EXPECT_THROW(empty.U8(), CVellError);
}
