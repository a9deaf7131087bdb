#pragma once

#include <cstdint>
#include <string_view>

// A reading position in one record, with the record's end. No reader reads at
// or past the end: a number that does not fit before it reads as 0 and leaves
// the position where it was; a text that the end cuts off takes the bytes up
// to the end.
struct FieldCursor {
  const std::uint8_t *position;
  const std::uint8_t *end;
};

FieldCursor cursorOn(const std::uint8_t *bytes, std::int32_t size);

std::uint8_t readU8(FieldCursor &cursor);
std::uint16_t readU16(FieldCursor &cursor);
std::uint32_t readU32(FieldCursor &cursor);
// The big-endian pattern taken bit for bit, NaNs and infinities included.
float readFloat(FieldCursor &cursor);
// The text up to its NUL, where it lies in the record; the position moves past
// the NUL. A text without a NUL takes the rest of the record.
std::string_view readString(FieldCursor &cursor);

// Replaces each CR and each LF byte of a NUL-terminated text by "|".
void flattenLineBreaks(char *text);
