#pragma once

// Ten database files in one byte string, for the fuzz target that converts a
// whole backup folder at once. Each file in the converter's order is a frame:
// its length as two big-endian bytes, then that many bytes. The length 0xFFFF
// marks a file that is absent from the folder. When the input ends before a
// frame's length, that file and all later ones are absent; a frame that the
// input cuts short takes the bytes that are there.

#include "support/pdb_writer.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

constexpr std::uint16_t kAbsentFrame = 0xFFFF;
constexpr std::size_t kLargestFrame = 0xFFFE;

using Backup = std::array<std::optional<Bytes>, 10>;

Backup unframe(const std::uint8_t *data, std::size_t size);
// Throws std::length_error for a file longer than kLargestFrame.
Bytes frame(const Backup &backup);
