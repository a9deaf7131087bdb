#include "support/framing.h"

#include <algorithm>
#include <stdexcept>

Backup unframe(const std::uint8_t *data, std::size_t size) {
  Backup backup;
  std::size_t at = 0;
  for (std::optional<Bytes> &file : backup) {
    if (size - at < 2) {
      break;
    }
    std::size_t length = static_cast<std::size_t>(data[at] << 8 | data[at + 1]);
    at += 2;
    if (length == kAbsentFrame) {
      continue;
    }
    std::size_t taken = std::min(length, size - at);
    file = Bytes(data + at, data + at + taken);
    at += taken;
  }
  return backup;
}

Bytes frame(const Backup &backup) {
  Bytes framed;
  for (const std::optional<Bytes> &file : backup) {
    if (!file) {
      Bytes absent = be16(kAbsentFrame);
      framed.insert(framed.end(), absent.begin(), absent.end());
      continue;
    }
    if (file->size() > kLargestFrame) {
      throw std::length_error("a framed file holds at most 65534 bytes");
    }
    Bytes length = be16(static_cast<std::uint16_t>(file->size()));
    framed.insert(framed.end(), length.begin(), length.end());
    framed.insert(framed.end(), file->begin(), file->end());
  }
  return framed;
}
