#pragma once

// Scratch folders and a clean slate of tables for each test.

#include <string>

// A new empty folder below the system's temporary folder, removed with its
// contents when the object goes.
class ScratchFolder {
public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder &) = delete;
  ScratchFolder &operator=(const ScratchFolder &) = delete;

  const std::string &path() const { return path_; }
  std::string file(const std::string &name) const { return path_ + "/" + name; }

private:
  std::string path_;
};

// Makes the folder the current one for the object's lifetime.
class CurrentFolder {
public:
  explicit CurrentFolder(const std::string &path);
  ~CurrentFolder();
  CurrentFolder(const CurrentFolder &) = delete;
  CurrentFolder &operator=(const CurrentFolder &) = delete;

private:
  std::string previous_;
};

// Zeroes the entries that a run may have filled and every count, restoring the
// all-zero tables of a fresh program.
void wipeFinanceTables();
