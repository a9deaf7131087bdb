#include "finance/cursor.h"

#include <bit>
#include <cstring>

namespace {

// The one bound check of every reader; the difference of two pointers into the
// same record cannot overflow.
bool holds(const FieldCursor &cursor, std::ptrdiff_t count) {
  return cursor.end - cursor.position >= count;
}

std::uint32_t readBigEndian(FieldCursor &cursor, int width) {
  if (!holds(cursor, width)) {
    return 0;
  }
  std::uint32_t value = 0;
  for (int i = 0; i < width; ++i) {
    value = value << 8 | cursor.position[i];
  }
  cursor.position += width;
  return value;
}

} // namespace

FieldCursor cursorOn(const std::uint8_t *bytes, std::int32_t size) {
  return FieldCursor{bytes, bytes + (size > 0 ? size : 0)};
}

std::uint8_t readU8(FieldCursor &cursor) {
  return static_cast<std::uint8_t>(readBigEndian(cursor, 1));
}

std::uint16_t readU16(FieldCursor &cursor) {
  return static_cast<std::uint16_t>(readBigEndian(cursor, 2));
}

std::uint32_t readU32(FieldCursor &cursor) { return readBigEndian(cursor, 4); }

float readFloat(FieldCursor &cursor) { return std::bit_cast<float>(readU32(cursor)); }

std::string_view readString(FieldCursor &cursor) {
  const std::uint8_t *start = cursor.position;
  std::size_t available = static_cast<std::size_t>(cursor.end - start);
  if (available == 0) {
    return {};
  }
  const void *nul = std::memchr(start, 0, available);
  std::size_t length =
      nul != nullptr ? static_cast<std::size_t>(static_cast<const std::uint8_t *>(nul) - start)
                     : available;
  cursor.position = nul != nullptr ? start + length + 1 : cursor.end;
  return {reinterpret_cast<const char *>(start), length};
}

// strpbrk scans many bytes at a time, and line breaks are rare.
void flattenLineBreaks(char *text) {
  for (char *c = std::strpbrk(text, "\r\n"); c != nullptr; c = std::strpbrk(c + 1, "\r\n")) {
    *c = '|';
  }
}
