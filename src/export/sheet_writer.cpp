#include "export/sheet_writer.h"

#include "export/numbers.h"

#include <cstring>

namespace {

constexpr std::size_t kBufferSize = std::size_t{1} << 16;

void flush(SheetWriter &w) {
  if (w.used > 0 && std::fwrite(w.buffer.get(), 1, w.used, w.file) != w.used) {
    w.failed = true;
  }
  w.used = 0;
}

void append(SheetWriter &w, const char *bytes, std::size_t count) {
  if (count > kBufferSize - w.used) {
    flush(w);
  }
  if (count > kBufferSize) {
    if (std::fwrite(bytes, 1, count, w.file) != count) {
      w.failed = true;
    }
    return;
  }
  std::memcpy(w.buffer.get() + w.used, bytes, count);
  w.used += count;
}

void append(SheetWriter &w, std::string_view bytes) { append(w, bytes.data(), bytes.size()); }

void openCell(SheetWriter &w) {
  append(w, w.prefix);
  append(w, w.quote);
}

void closeCell(SheetWriter &w) {
  append(w, w.quote);
  append(w, w.separator);
}

// Each quote character inside the text is doubled, so that the cell keeps its
// bounds in every spreadsheet program.
void appendEscaped(SheetWriter &w, std::string_view text) {
  if (w.quote.size() != 1) {
    append(w, text);
    return;
  }
  char quote = w.quote[0];
  for (std::size_t start = 0; start < text.size();) {
    std::size_t found = text.find(quote, start);
    std::size_t end = found == std::string_view::npos ? text.size() : found + 1;
    append(w, text.substr(start, end - start));
    if (found != std::string_view::npos) {
      append(w, &quote, 1);
    }
    start = end;
  }
}

} // namespace

SheetWriter startSheet(std::FILE *file, const ExportDialect &dialect) {
  // The writer buffers by itself; the stream passes its writes straight on.
  std::setvbuf(file, nullptr, _IONBF, 0);
  return SheetWriter{file,
                     dialect.prefix,
                     dialect.quote,
                     dialect.separator,
                     std::unique_ptr<char[]>(new char[kBufferSize]),
                     0,
                     false};
}

bool finishSheet(SheetWriter &w) {
  flush(w);
  if (std::fclose(w.file) != 0) {
    w.failed = true;
  }
  w.file = nullptr;
  return !w.failed;
}

void putText(SheetWriter &w, std::string_view text) {
  openCell(w);
  appendEscaped(w, text);
  closeCell(w);
}

void putEmpty(SheetWriter &w) {
  openCell(w);
  closeCell(w);
}

void putFourDecimals(SheetWriter &w, double value) {
  char text[kNumberTextCapacity];
  std::size_t length = formatFourDecimals(value, text);
  openCell(w);
  append(w, text, length);
  closeCell(w);
}

void putTwoDecimals(SheetWriter &w, double value) {
  char text[kNumberTextCapacity];
  std::size_t length = formatTwoDecimals(value, text);
  openCell(w);
  append(w, text, length);
  closeCell(w);
}

void putDateTime(SheetWriter &w, std::int32_t year, std::int32_t month, std::int32_t day,
                 std::int32_t hour, std::int32_t minute, std::int32_t second) {
  char text[kDateTimeTextCapacity];
  std::size_t length = formatDateTime(year, month, day, hour, minute, second, text);
  openCell(w);
  append(w, text, length);
  closeCell(w);
}

void endLine(SheetWriter &w, int emptyLines) {
  for (int i = 0; i <= emptyLines; ++i) {
    append(w, "\r\n", 2);
  }
}

void putRaw(SheetWriter &w, std::string_view bytes) { append(w, bytes); }
