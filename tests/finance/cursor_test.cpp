#include "finance/cursor.h"

#include <bit>
#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

std::ptrdiff_t offsetOf(const FieldCursor &cursor, const Bytes &bytes) {
  return cursor.position - bytes.data();
}

TEST(FieldCursor, ReadsBigEndianNumbersAndAdvancesByTheirWidth) {
  struct Case {
    Bytes bytes;
    int width;
    std::uint32_t value;
  };
  const Case cases[] = {
      {{0x7F}, 1, 0x7F},
      {{0xFF}, 1, 0xFF},
      {{0x01, 0x02}, 2, 258},
      {{0xFF, 0xFE}, 2, 65534},
      {{0x00, 0x00, 0x01, 0x00}, 4, 256},
      {{0xFF, 0xFF, 0xFF, 0xFF}, 4, 0xFFFFFFFF},
      {{0x12, 0x34, 0x56, 0x78, 0x9A}, 4, 0x12345678},
  };
  for (const Case &c : cases) {
    FieldCursor cursor = cursorOn(c.bytes.data(), static_cast<std::int32_t>(c.bytes.size()));
    std::uint32_t value = c.width == 1   ? readU8(cursor)
                          : c.width == 2 ? readU16(cursor)
                                         : readU32(cursor);
    EXPECT_EQ(value, c.value);
    EXPECT_EQ(offsetOf(cursor, c.bytes), c.width);
  }
}

TEST(FieldCursor, FieldsAtOddOffsetsReadLikeAnyOther) {
  Bytes bytes = {0xAA, 0x01, 0x02, 0x00, 0x00, 0x01, 0x00};
  FieldCursor cursor = cursorOn(bytes.data(), 7);
  EXPECT_EQ(readU8(cursor), 0xAA);
  EXPECT_EQ(readU16(cursor), 258);
  EXPECT_EQ(readU32(cursor), 256u);
  EXPECT_EQ(offsetOf(cursor, bytes), 7);
}

TEST(FieldCursor, ReadsFloatsBitForBit) {
  struct Case {
    Bytes bytes;
    std::uint32_t bits;
  };
  const Case cases[] = {
      {{0x3F, 0x80, 0x00, 0x00}, 0x3F800000}, // 1.0
      {{0x42, 0xC8, 0x00, 0x00}, 0x42C80000}, // 100.0
      {{0x7F, 0xC0, 0x00, 0x00}, 0x7FC00000}, // a quiet NaN
      {{0x7F, 0xA0, 0x00, 0x01}, 0x7FA00001}, // a signalling NaN stays signalling
      {{0xFF, 0x80, 0x00, 0x00}, 0xFF800000}, // -infinity
      {{0x80, 0x00, 0x00, 0x00}, 0x80000000}, // -0.0
  };
  for (const Case &c : cases) {
    FieldCursor cursor = cursorOn(c.bytes.data(), 4);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(readFloat(cursor)), c.bits);
    EXPECT_EQ(offsetOf(cursor, c.bytes), 4);
  }
  Bytes hundred = {0x42, 0xC8, 0x00, 0x00};
  FieldCursor cursor = cursorOn(hundred.data(), 4);
  EXPECT_EQ(readFloat(cursor), 100.0f);
}

TEST(FieldCursor, ReadsTextsInPlaceUpToTheirNul) {
  Bytes bytes = {0x41, 0x42, 0x00, 0x43, 0x00};
  FieldCursor cursor = cursorOn(bytes.data(), 5);
  std::string_view first = readString(cursor);
  EXPECT_EQ(first, "AB");
  EXPECT_EQ(static_cast<const void *>(first.data()), static_cast<const void *>(bytes.data()));
  EXPECT_EQ(offsetOf(cursor, bytes), 3);
  EXPECT_EQ(readString(cursor), "C");
  EXPECT_EQ(offsetOf(cursor, bytes), 5);

  Bytes nul = {0x00};
  cursor = cursorOn(nul.data(), 1);
  EXPECT_EQ(readString(cursor), "");
  EXPECT_EQ(offsetOf(cursor, nul), 1);
}

TEST(FieldCursor, NeverReadsAtOrPastTheRecordsEnd) {
  // The record is the first bytes of a longer buffer; what follows is poison
  // that no reader may return.
  Bytes buffer = {0x01, 0x02, 0x03, 0x44, 0x44, 0x44, 0x00};
  FieldCursor cursor = cursorOn(buffer.data(), 3);
  EXPECT_EQ(readU32(cursor), 0u);
  EXPECT_EQ(offsetOf(cursor, buffer), 0);
  EXPECT_EQ(readU16(cursor), 0x0102);
  EXPECT_EQ(readU16(cursor), 0);
  EXPECT_EQ(offsetOf(cursor, buffer), 2);
  EXPECT_EQ(readString(cursor), "\x03"); // no NUL: the rest of the record
  EXPECT_EQ(offsetOf(cursor, buffer), 3);
  EXPECT_EQ(readString(cursor), "");
  EXPECT_EQ(readU8(cursor), 0);
  EXPECT_EQ(offsetOf(cursor, buffer), 3);

  FieldCursor empty = cursorOn(nullptr, 0);
  EXPECT_EQ(readString(empty), "");
  EXPECT_EQ(readU32(empty), 0u);
}

TEST(FlattenLineBreaks, ReplacesEachCrAndLfByABar) {
  struct Case {
    std::string text;
    std::string flattened;
  };
  const Case cases[] = {
      {"a\nb", "a|b"},    {"a\r\nb", "a||b"}, {"\r", "|"},
      {"plain", "plain"}, {"", ""},           {"\n\n\r", "|||"},
  };
  for (const Case &c : cases) {
    std::string text = c.text;
    flattenLineBreaks(text.data());
    EXPECT_EQ(text, c.flattened);
    EXPECT_EQ(text.size(), c.text.size());
  }
}

} // namespace
