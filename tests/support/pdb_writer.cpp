#include "support/pdb_writer.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

Bytes be16(std::uint16_t value) {
  return {static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)};
}

Bytes be32(std::uint32_t value) {
  return {static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
          static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)};
}

Bytes f32(float value) { return be32(std::bit_cast<std::uint32_t>(value)); }

Bytes raw(std::string_view value) { return Bytes(value.begin(), value.end()); }

Bytes text(std::string_view value) {
  Bytes bytes = raw(value);
  bytes.push_back(0);
  return bytes;
}

Bytes repeated(std::uint8_t byte, std::size_t count) { return Bytes(count, byte); }

Bytes cat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes &part : parts) {
    all.insert(all.end(), part.begin(), part.end());
  }
  return all;
}

Bytes pdbHeader(std::uint16_t attributes, std::uint16_t nrecords, std::string_view name,
                std::uint32_t type, std::uint32_t creator) {
  Bytes nameField(32, 0);
  std::memcpy(nameField.data(), name.data(), std::min<std::size_t>(name.size(), 31));
  return cat({nameField, be16(attributes), be16(1) /* version */, be32(0xB5F2A000) /* created */,
              be32(0xB5F2A000) /* modified */, be32(0) /* backed up */, be32(0) /* mod. number */,
              be32(0) /* app info */, be32(0) /* sort info */, be32(type), be32(creator),
              be32(0) /* unique id seed */, be32(0) /* next list */, be16(nrecords)});
}

Bytes recordEntry(std::uint32_t offset, std::uint8_t attributes, std::uint32_t uniqueId) {
  return cat(
      {be32(offset), be32(static_cast<std::uint32_t>(attributes) << 24 | (uniqueId & 0x00FFFFFF))});
}

Bytes recordList(std::initializer_list<std::uint32_t> offsets) {
  Bytes list;
  for (std::uint32_t offset : offsets) {
    Bytes entry = recordEntry(offset);
    list.insert(list.end(), entry.begin(), entry.end());
  }
  return list;
}

Bytes resourceEntry(std::uint32_t type, std::uint16_t id, std::uint32_t offset) {
  return cat({be32(type), be16(id), be32(offset)});
}

namespace {

Bytes database(const PdbWriter &writer, bool resource) {
  if (writer.records.size() > 0xFFFF) {
    throw std::length_error("a Palm database holds at most 65535 entries");
  }
  std::uint16_t count = static_cast<std::uint16_t>(writer.records.size());
  Bytes file =
      pdbHeader(resource ? kResourceDatabase : 0, count, writer.name, writer.type, writer.creator);
  std::size_t offset = file.size() + count * (resource ? 10u : 8u) + writer.gap;
  for (std::size_t i = 0; i < writer.records.size(); ++i) {
    Bytes entry = resource ? resourceEntry(0x74455374, static_cast<std::uint16_t>(i),
                                           static_cast<std::uint32_t>(offset))
                           : recordEntry(static_cast<std::uint32_t>(offset), 0,
                                         static_cast<std::uint32_t>(i + 1));
    file.insert(file.end(), entry.begin(), entry.end());
    offset += writer.records[i].size();
  }
  file.resize(file.size() + writer.gap, 0);
  for (const Bytes &record : writer.records) {
    file.insert(file.end(), record.begin(), record.end());
  }
  return file;
}

} // namespace

Bytes PdbWriter::recordDatabase() const { return database(*this, false); }

Bytes PdbWriter::resourceDatabase() const { return database(*this, true); }

Bytes recordDatabase(const std::vector<Bytes> &records) {
  PdbWriter writer;
  writer.records = records;
  return writer.recordDatabase();
}

void writeFile(const std::string &path, const Bytes &bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char *>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out) {
    throw std::runtime_error("cannot write " + path);
  }
}

Bytes readFile(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
