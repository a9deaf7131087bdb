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
  std::string folder;               // the current folder of the program
  std::string input;                // all of standard input
  bool withoutFileOverride = false; // drops root's right to ignore file permissions
};

ChildResult runProgram(const ProgramRun &run);

// A program that runs while the test talks to it through its standard input.
struct LiveProgram {
  int pid = -1;
  int input = -1;  // write end of its standard input
  int output = -1; // read end of its standard output and standard error
  int exitStatus = -2;
};

LiveProgram startProgram(const ProgramRun &run);
void sendInput(LiveProgram &program, const std::string &bytes);
// The exit status once the program has exited within the time; -2 while it is
// still running then.
int exitStatusWithin(LiveProgram &program, int milliseconds);
// Closes its input, waits for its exit and returns its output.
ChildResult finishProgram(LiveProgram &program);
