#include "export/sheet_writer.h"

#include "export/numbers.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

constexpr std::size_t kBufferSize = kSheetBufferSize;

// The buffer of the last finished sheet, kept for the next one: the three
// files are written one after the other, and memory that a process touches
// for the first time costs a page fault every 4 KiB.
std::unique_ptr<char[]> spareBuffer;

// Writes whatever the buffer holds: the last piece of the file.
void flush(SheetWriter &w) {
  if (w.used > 0 && std::fwrite(w.buffer.get(), 1, w.used, w.file) != w.used) {
    w.failed = true;
  }
  w.used = 0;
}

// After a copy of at most kSheetSlack bytes.
void commit(SheetWriter &w, const char *end) {
  w.used = static_cast<std::size_t>(end - w.buffer.get());
  if (w.used >= kBufferSize) {
    writeFullBuffer(w);
  }
}

// The frame of a cell is a few bytes, for which a call of memcpy costs more
// than the copy.
char *copyShort(char *out, std::string_view bytes) {
  for (char c : bytes) {
    *out++ = c;
  }
  return out;
}

char *copy(char *out, std::string_view bytes) {
  if (!bytes.empty()) { // an empty view may have no data at all
    std::memcpy(out, bytes.data(), bytes.size());
  }
  return out + bytes.size();
}

// Each quote character inside the text is doubled, so that the cell keeps its
// bounds in every spreadsheet program.
char *copyDoublingQuotes(char *out, std::string_view text, char quote) {
  const char *rest = text.data();
  const char *end = rest + text.size();
  for (const void *found = std::memchr(rest, quote, text.size()); found != nullptr;
       found = std::memchr(rest, quote, static_cast<std::size_t>(end - rest))) {
    const char *next = static_cast<const char *>(found) + 1;
    out = copy(out, {rest, static_cast<std::size_t>(next - rest)});
    *out++ = quote;
    rest = next;
  }
  return copy(out, {rest, static_cast<std::size_t>(end - rest)});
}

std::size_t frameSize(const SheetWriter &w) {
  return w.prefix.size() + 2 * w.quote.size() + w.separator.size();
}

// Any number of bytes, in pieces that fill the buffer up to its end.
void append(SheetWriter &w, std::string_view bytes) {
  while (!bytes.empty()) {
    std::size_t count = std::min(bytes.size(), kBufferSize - w.used);
    std::memcpy(w.buffer.get() + w.used, bytes.data(), count);
    w.used += count;
    bytes.remove_prefix(count);
    if (w.used == kBufferSize) {
      writeFullBuffer(w);
    }
  }
}

// A cell larger than the slack, piece by piece.
void putLargeCell(SheetWriter &w, const MeasuredText &text) {
  append(w, w.prefix);
  append(w, w.quote);
  if (!text.quoted) {
    append(w, text.text);
  } else {
    std::string_view rest = text.text;
    for (std::size_t found = rest.find(w.quote[0]); found != std::string_view::npos;
         found = rest.find(w.quote[0])) {
      append(w, rest.substr(0, found + 1));
      append(w, w.quote);
      rest.remove_prefix(found + 1);
    }
    append(w, rest);
  }
  append(w, w.quote);
  append(w, w.separator);
}

} // namespace

SheetWriter startSheet(std::FILE *file, const ExportDialect &dialect) {
  // The writer buffers by itself; the stream passes its writes straight on.
  std::setvbuf(file, nullptr, _IONBF, 0);
  std::unique_ptr<char[]> buffer =
      spareBuffer ? std::move(spareBuffer)
                  : std::unique_ptr<char[]>(new char[kBufferSize + kSheetSlack]);
  SheetWriter writer{
      file,  dialect.prefix, dialect.quote, dialect.separator, std::move(buffer), 0, false,
      false, '\0',           '\0'};
  writer.compactFrame =
      writer.prefix.empty() && writer.quote.size() == 1 && writer.separator.size() == 1;
  if (writer.compactFrame) {
    writer.quoteCharacter = writer.quote[0];
    writer.separatorCharacter = writer.separator[0];
  }
  return writer;
}

bool finishSheet(SheetWriter &w) {
  flush(w);
  if (std::fclose(w.file) != 0) {
    w.failed = true;
  }
  w.file = nullptr;
  spareBuffer = std::move(w.buffer);
  return !w.failed;
}

MeasuredText measureText(const SheetWriter &w, std::string_view text) {
  bool quoted = w.quote.size() == 1 && text.find(w.quote[0]) != std::string_view::npos;
  return MeasuredText{text, quoted};
}

std::size_t writeDoubledQuotes(const SheetWriter &w, std::string_view text, char *out) {
  char *end = w.quote.size() == 1 ? copyDoublingQuotes(out, text, w.quote[0]) : copy(out, text);
  return static_cast<std::size_t>(end - out);
}

void writeFullBuffer(SheetWriter &w) {
  if (std::fwrite(w.buffer.get(), 1, kBufferSize, w.file) != kBufferSize) {
    w.failed = true;
  }
  w.used -= kBufferSize;
  std::memmove(w.buffer.get(), w.buffer.get() + kBufferSize, w.used);
}

void putTextInFull(SheetWriter &w, const MeasuredText &text) {
  std::size_t most = frameSize(w) + text.text.size() * (text.quoted ? 2 : 1);
  if (most > kSheetSlack) {
    putLargeCell(w, text);
    return;
  }
  char *out = w.buffer.get() + w.used;
  out = copyShort(out, w.prefix);
  out = copyShort(out, w.quote);
  out = text.quoted ? copyDoublingQuotes(out, text.text, w.quote[0]) : copy(out, text.text);
  out = copyShort(out, w.quote);
  commit(w, copyShort(out, w.separator));
}

void putText(SheetWriter &w, std::string_view text) { putText(w, measureText(w, text)); }

void putEmpty(SheetWriter &w) { putText(w, MeasuredText{{}, false}); }

namespace {

static_assert(kDateTimeTextCapacity <= kNumberTextCapacity &&
                  kNumberTextCapacity + 3 <= kSheetSlack,
              "a number or date-time cell in a compact frame fits into the slack");

// A number or date-time cell; in a compact frame its text is formatted
// straight into the buffer.
template <typename Format> void putFormatted(SheetWriter &w, Format format) {
  if (!w.compactFrame) {
    char text[kNumberTextCapacity];
    std::size_t length = format(text);
    putTextInFull(w, MeasuredText{{text, length}, false});
    return;
  }
  char *out = w.buffer.get() + w.used;
  *out++ = w.quoteCharacter;
  out += format(out);
  *out++ = w.quoteCharacter;
  *out++ = w.separatorCharacter;
  commit(w, out);
}

} // namespace

void putFourDecimals(SheetWriter &w, double value) {
  putFormatted(w, [value](char *out) { return formatFourDecimals(value, out); });
}

void putTwoDecimals(SheetWriter &w, double value) {
  putFormatted(w, [value](char *out) { return formatTwoDecimals(value, out); });
}

void putDateTime(SheetWriter &w, std::int32_t year, std::int32_t month, std::int32_t day,
                 std::int32_t hour, std::int32_t minute, std::int32_t second) {
  putFormatted(
      w, [=](char *out) { return formatDateTime(year, month, day, hour, minute, second, out); });
}

void endLine(SheetWriter &w, int emptyLines) {
  for (int i = 0; i <= emptyLines; ++i) {
    append(w, "\r\n");
  }
}

void putRaw(SheetWriter &w, std::string_view bytes) { append(w, bytes); }
