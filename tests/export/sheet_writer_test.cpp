#include "export/sheet_writer.h"

#include "support/pdb_writer.h"
#include "support/scratch.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// What a text cell holds, written out the plain way.
std::string cell(const ExportDialect &d, const std::string &text) {
  std::string quote = d.quote;
  std::string body;
  for (char c : text) {
    body += c;
    if (quote.size() == 1 && c == quote[0]) {
      body += c;
    }
  }
  return d.prefix + quote + body + quote + d.separator;
}

// Texts of many lengths, most with quotes, so that cells end at every offset
// of the buffer and some straddle its end; one text is larger than the
// whole buffer and one is larger only once its quotes are doubled.
std::vector<std::string> texts() {
  std::vector<std::string> all;
  for (std::size_t i = 0; all.size() < 9000; ++i) {
    std::string text(i % 997, static_cast<char>('a' + i % 26));
    for (std::size_t at = i % 5; at < text.size(); at += 1 + i % 13) {
      text[at] = '"';
    }
    all.push_back(text);
  }
  all.insert(all.begin() + 4000, std::string(1500000, 'x') + "\"end\"");
  all.insert(all.begin() + 6000, std::string(700000, '"'));
  all.push_back("");
  return all;
}

TEST(SheetWriter, CellsAtEveryBufferOffsetAndLargerThanTheBuffer) {
  const ExportDialect dialects[] = {{"", "\"", ","}, {"<", "''", ";\t"}};
  ScratchFolder folder;
  for (const ExportDialect &dialect : dialects) {
    std::string path = folder.file("sheet.csv");
    std::FILE *file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    SheetWriter writer = startSheet(file, dialect);
    std::string expected;
    int count = 0;
    for (const std::string &text : texts()) {
      putText(writer, text);
      expected += cell(dialect, text);
      if (++count % 7 == 0) {
        endLine(writer, count % 3);
        for (int line = 0; line <= count % 3; ++line) {
          expected += "\r\n";
        }
      }
    }
    ASSERT_TRUE(finishSheet(writer));
    Bytes written = readFile(path);
    ASSERT_EQ(written.size(), expected.size()) << dialect.quote;
    EXPECT_TRUE(std::string(written.begin(), written.end()) == expected) << dialect.quote;
  }
}

} // namespace
