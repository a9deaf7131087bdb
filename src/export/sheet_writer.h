#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
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
struct SheetWriter {
  std::FILE *file;
  std::string_view prefix;
  std::string_view quote;
  std::string_view separator;
  std::unique_ptr<char[]> buffer;
  std::size_t used;
  bool failed;
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

// A text cell; each quote character inside the text is written twice.
void putText(SheetWriter &writer, std::string_view text);
void putText(SheetWriter &writer, const MeasuredText &text);
void putEmpty(SheetWriter &writer);
void putFourDecimals(SheetWriter &writer, double value);
void putTwoDecimals(SheetWriter &writer, double value);
void putDateTime(SheetWriter &writer, std::int32_t year, std::int32_t month, std::int32_t day,
                 std::int32_t hour, std::int32_t minute, std::int32_t second);
// Ends the line and adds the given number of empty lines, each with CR LF.
void endLine(SheetWriter &writer, int emptyLines = 0);
// Raw bytes, for the section titles.
void putRaw(SheetWriter &writer, std::string_view bytes);
