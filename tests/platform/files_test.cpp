#include "platform/files.h"

#include "support/pdb_writer.h"
#include "support/scratch.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

TEST(Files, ProgramPathsUseTheBackslashAsFolderSeparator) {
  EXPECT_EQ(nativePath(".\\QX_Account.pdb"), "./QX_Account.pdb");
  EXPECT_EQ(nativePath("a\\b\\c"), "a/b/c");
  EXPECT_EQ(nativePath("plain"), "plain");
}

TEST(Files, OpensARegularFileByItsProgramPath) {
  ScratchFolder folder;
  writeFile(folder.file("QX_Account.pdb"), raw("data"));
  CurrentFolder inside(folder.path());
  std::FILE *file = openFileForReading(".\\QX_Account.pdb");
  ASSERT_NE(file, nullptr);
  char buffer[8] = {};
  EXPECT_EQ(std::fread(buffer, 1, sizeof buffer, file), 4u);
  EXPECT_STREQ(buffer, "data");
  std::fclose(file);
}

TEST(Files, RefusesWhatIsNotARegularFileWithoutBlocking) {
  ScratchFolder folder;
  std::filesystem::create_directory(folder.file("folder.pdb"));
  ASSERT_EQ(mkfifo(folder.file("fifo.pdb").c_str(), 0644), 0);
  EXPECT_EQ(openFileForReading(folder.file("missing.pdb").c_str()), nullptr);
  EXPECT_EQ(openFileForReading(folder.file("folder.pdb").c_str()), nullptr);
  EXPECT_EQ(openFileForReading(folder.file("fifo.pdb").c_str()), nullptr);
  EXPECT_EQ(openFileForReading("/dev/zero"), nullptr);
}

TEST(Files, CreatesOrReplacesAnOutputFile) {
  ScratchFolder folder;
  writeFile(folder.file("out.csv"), raw("old contents, longer"));
  std::FILE *file = createFileForWriting(folder.file("out.csv").c_str());
  ASSERT_NE(file, nullptr);
  std::fputs("new\n", file);
  std::fclose(file);
  EXPECT_EQ(readFile(folder.file("out.csv")), raw("new\n"));
}

TEST(Files, OutputThatCannotBeCreatedIsLeftAsItWas) {
  ScratchFolder folder;
  std::filesystem::create_directory(folder.file("folder.csv"));
  ASSERT_EQ(mkfifo(folder.file("fifo.csv").c_str(), 0644), 0);
  EXPECT_EQ(createFileForWriting(folder.file("folder.csv").c_str()), nullptr);
  EXPECT_EQ(createFileForWriting(folder.file("fifo.csv").c_str()), nullptr); // no reader
  EXPECT_EQ(createFileForWriting(folder.file("no/such/folder.csv").c_str()), nullptr);
  EXPECT_TRUE(std::filesystem::is_directory(folder.file("folder.csv")));
}

} // namespace
