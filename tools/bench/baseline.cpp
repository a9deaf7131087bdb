// The cost of writing bytes, for comparison with a conversion: writes files of
// the given sizes into the current folder exactly as the exporter writes its
// files (created the same way, an unbuffered stream, and fwrite of a buffer of
// the program's own, as large as the exporter's, at a time).
//
//   brimlow_bench_baseline SIZE...   writes baseline_1.out, baseline_2.out, ...

#include "export/sheet_writer.h"
#include "platform/files.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

constexpr std::size_t kBufferSize = kSheetBufferSize;

bool writeBytes(const std::string &path, unsigned long long size, const char *buffer) {
  std::FILE *file = createFileForWriting(path.c_str());
  if (file == nullptr) {
    return false;
  }
  std::setvbuf(file, nullptr, _IONBF, 0);
  bool written = true;
  while (size > 0) {
    std::size_t count = size < kBufferSize ? static_cast<std::size_t>(size) : kBufferSize;
    written = std::fwrite(buffer, 1, count, file) == count && written;
    size -= count;
  }
  return std::fclose(file) == 0 && written;
}

} // namespace

int main(int argc, char **argv) {
  // The exporter fills every page of its buffer too; what the bytes are does
  // not matter to the disk.
  std::unique_ptr<char[]> buffer(new char[kBufferSize]);
  std::memset(buffer.get(), 'x', kBufferSize);
  for (int i = 1; i < argc; ++i) {
    char *end = nullptr;
    unsigned long long size = std::strtoull(argv[i], &end, 10);
    std::string path = "baseline_" + std::to_string(i) + ".out";
    if (*argv[i] == '\0' || *end != '\0' || !writeBytes(path, size, buffer.get())) {
      std::fprintf(stderr, "cannot write %llu bytes to %s\n", size, path.c_str());
      return 1;
    }
  }
  return 0;
}
