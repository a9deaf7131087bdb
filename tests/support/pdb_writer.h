#pragma once

// A small writer of Palm databases for tests and tools: every field is spelled
// out by the caller, so a test shows the bytes it feeds the reader.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

Bytes be16(std::uint16_t value);
Bytes be32(std::uint32_t value);
Bytes f32(float value);             // big-endian IEEE single
Bytes text(std::string_view value); // the characters and a NUL
Bytes raw(std::string_view value);  // the characters only (a literal ends at its NUL)
Bytes repeated(std::uint8_t byte, std::size_t count);
Bytes cat(std::initializer_list<Bytes> parts);

constexpr std::uint16_t kResourceDatabase = 0x0001;

// The 78-byte header with the given attributes and number of entries.
Bytes pdbHeader(std::uint16_t attributes, std::uint16_t nrecords, std::string_view name = "Test",
                std::uint32_t type = 0x44415441 /* DATA */,
                std::uint32_t creator = 0x74657374 /* test */);
Bytes recordEntry(std::uint32_t offset, std::uint8_t attributes = 0, std::uint32_t uniqueId = 0);
// Record entries with the given offsets, attributes and unique ids 0.
Bytes recordList(std::initializer_list<std::uint32_t> offsets);
Bytes resourceEntry(std::uint32_t type, std::uint16_t id, std::uint32_t offset);

// A well-formed record database: header, entry list, an optional gap, then the
// records in list order.
struct PdbWriter {
  std::string name = "Test";
  std::uint32_t type = 0x44415441;
  std::uint32_t creator = 0x74657374;
  std::size_t gap = 0;
  std::vector<Bytes> records;

  Bytes recordDatabase() const;
  Bytes resourceDatabase() const;
};

Bytes recordDatabase(const std::vector<Bytes> &records);

void writeFile(const std::string &path, const Bytes &bytes);
Bytes readFile(const std::string &path);
