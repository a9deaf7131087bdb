#pragma once

// What the converter prints and writes, built from its parts, for the
// end-to-end tests to compare byte for byte.

#include "support/scratch.h"

#include <map>
#include <set>
#include <string>

extern const std::string kBanner;
extern const char *const kProgress[10];
extern const char *const kSubject[10];
extern const char *const kOutputs[3];
extern const char kSeparators[3];

std::string completionLine(int file);

struct Expected {
  std::set<int> missing;             // databases that cannot be imported
  std::map<int, std::string> notes;  // a line after a database's progress line
  std::map<int, std::string> output; // a line in place of a file's completion line
};

// The whole console text of a run, with "\n" line ends (see onConsole).
std::string transcript(const Expected &expected);

std::set<int> allDatabases();

// One line of a file: every cell quoted and followed by the separator. The
// cells are written here as they stand between their quotes.
std::string line(std::initializer_list<std::string> cells, char separator);

// The data lines of a file, each made with line(), and the four category
// labels that head the transaction columns.
struct SheetLines {
  std::string currencies;
  std::string accounts;
  std::string labels[4];
  std::string transactions;
};

// A whole file: the three sections with their titles, header lines and empty
// lines around the given data lines.
std::string sheet(char separator, const SheetLines &lines);

// The file that empty tables give.
std::string emptyFile(char separator);

std::string fileText(const ScratchFolder &folder, int file);
