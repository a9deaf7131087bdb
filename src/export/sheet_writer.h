#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>

// The texts with which every cell is framed: prefix, quote, value, quote,
// separator.
struct ExportDialect {
  const char *prefix;
  const char *quote;
  const char *separator;
};

// Writes the cells of one output file through a large buffer of its own; every
// byte is written as given (binary mode), and every failure of a write or of
// the close is remembered.
// Large enough that a write costs the system little per byte, and small enough
// to come from the allocator's reusable blocks rather than a fresh mapping. The
// file is written in pieces of exactly this size, whole pages of the disk
// cache, which the system takes faster than pieces that end inside a page.
constexpr std::size_t kSheetBufferSize = std::size_t{1} << 16;
// Room behind the buffer for the cell that fills it: a cell of at most this
// size is copied whole, and what lies beyond the buffer moved to its start
// once the buffer is written.
constexpr std::size_t kSheetSlack = std::size_t{1} << 12;

struct SheetWriter {
  std::FILE *file;
  std::string_view prefix;
  std::string_view quote;
  std::string_view separator;
  std::unique_ptr<char[]> buffer; // kSheetBufferSize + kSheetSlack bytes
  std::size_t used;               // below kSheetBufferSize between calls
  bool failed;
  // No prefix, and one character each for the quote and the separator, as in
  // every dialect of the program: then most cells take the inline path.
  bool compactFrame;
  char quoteCharacter;
  char separatorCharacter;
};

SheetWriter startSheet(std::FILE *file, const ExportDialect &dialect);
// Flushes and closes the file; false when any write or the close failed.
bool finishSheet(SheetWriter &writer);

// A text and whether it holds the writer's quote character, which its cell
// doubles; for texts that are written many times, measured once.
struct MeasuredText {
  std::string_view text;
  bool quoted;
};
MeasuredText measureText(const SheetWriter &writer, std::string_view text);
// Writes the text as its cell holds it, each quote character doubled, to out,
// which has room for twice the text; the number of bytes written.
std::size_t writeDoubledQuotes(const SheetWriter &writer, std::string_view text, char *out);

// A text cell; each quote character inside the text is written twice.
void putText(SheetWriter &writer, std::string_view text);
void putText(SheetWriter &writer, const MeasuredText &text);
// Any text cell in any frame, of any size.
void putTextInFull(SheetWriter &writer, const MeasuredText &text);
// Writes the full buffer and moves what lies beyond it to its start.
void writeFullBuffer(SheetWriter &writer);

// Most cells of a file: a text without quotes in a compact frame, which fits
// into the slack. A call per cell would cost as much as its copy.
inline void putText(SheetWriter &writer, const MeasuredText &text) {
  std::size_t length = text.text.size();
  if (!writer.compactFrame || text.quoted || length + 3 > kSheetSlack) {
    putTextInFull(writer, text);
    return;
  }
  char *out = writer.buffer.get() + writer.used;
  out[0] = writer.quoteCharacter;
  if (length > 0) { // an empty view may have no data at all
    std::memcpy(out + 1, text.text.data(), length);
  }
  out[length + 1] = writer.quoteCharacter;
  out[length + 2] = writer.separatorCharacter;
  writer.used += length + 3;
  if (writer.used >= kSheetBufferSize) {
    writeFullBuffer(writer);
  }
}
void putEmpty(SheetWriter &writer);
void putFourDecimals(SheetWriter &writer, double value);
void putTwoDecimals(SheetWriter &writer, double value);
void putDateTime(SheetWriter &writer, std::int32_t year, std::int32_t month, std::int32_t day,
                 std::int32_t hour, std::int32_t minute, std::int32_t second);
// Ends the line and adds the given number of empty lines, each with CR LF.
void endLine(SheetWriter &writer, int emptyLines = 0);
// Raw bytes, for the section titles.
void putRaw(SheetWriter &writer, std::string_view bytes);
