#pragma once

// Runs code or a program in a child process and collects what it printed.

#include <functional>
#include <string>
#include <vector>

struct ChildResult {
  int exitStatus = -1; // -1 when the child did not exit normally
  std::string out;
  std::string err;
};

// Runs body in a forked child with its output captured; the child exits with 0
// when body returns.
ChildResult runInChild(const std::function<void()> &body);

struct ProgramRun {
  std::vector<std::string> argv;
  std::string folder; // the current folder of the program
  std::string input;  // all of standard input
  bool withoutFileOverride = false; // drops root's right to ignore file permissions
};

ChildResult runProgram(const ProgramRun &run);
