#include "support/converter.h"

#include "support/pdb_writer.h"
#include "support/scratch.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::string environment(const char *name, const char *fallback) {
  const char *value = std::getenv(name);
  return value != nullptr && *value != '\0' ? value : fallback;
}

std::string windowsProgram() { return environment("BRIMLOW2CSV_WINDOWS_EXE", ""); }

std::vector<std::string> wineCommand() {
  std::vector<std::string> command;
  std::istringstream wine(environment("WINE", "wine"));
  for (std::string word; wine >> word;) {
    command.push_back(word);
  }
  return command;
}

std::vector<std::string> commandOfConverter() {
  if (!converterIsWindowsProgram()) {
    return {BRIMLOW2CSV_EXE};
  }
  std::vector<std::string> command = wineCommand();
  command.push_back(windowsProgram());
  return command;
}

bool isCommand(const std::string &name) {
  if (name.find('/') != std::string::npos) {
    return access(name.c_str(), X_OK) == 0;
  }
  std::istringstream path(environment("PATH", "/usr/bin:/bin"));
  for (std::string folder; std::getline(path, folder, ':');) {
    if (!folder.empty() && access((folder + "/" + name).c_str(), X_OK) == 0) {
      return true;
    }
  }
  return false;
}

// Under Wine every test skips itself when Wine is missing. The Wine prefix is
// the one beside the Windows program, where wine_session.sh prepares it, unless
// WINEPREFIX names another; Wine's own diagnostics stay off unless WINEDEBUG
// asks for them, since the tests compare standard error too.
class WineEnvironment : public testing::Environment {
public:
  void SetUp() override {
    if (!converterIsWindowsProgram()) {
      return;
    }
    std::string prefix = (fs::path(windowsProgram()).parent_path() / "wine").string();
    setenv("WINEPREFIX", prefix.c_str(), 0);
    setenv("WINEDEBUG", "-all", 0);
    std::vector<std::string> wine = wineCommand();
    if (wine.empty() || !isCommand(wine[0])) {
      GTEST_SKIP() << "Wine is not installed: the tests of the Windows program are skipped";
    }
  }
};

[[maybe_unused]] testing::Environment *const wineEnvironment =
    testing::AddGlobalTestEnvironment(new WineEnvironment);

// Whether a program started like the converter is kept out of a file without
// read permission and out of a read-only file: the native shell, or the Windows
// command interpreter under Wine.
bool permissionsKeepAProgramOut() {
  ScratchFolder folder;
  writeFile(folder.file("unreadable"), raw("x"));
  chmod(folder.file("unreadable").c_str(), 0);
  writeFile(folder.file("readonly"), raw("old"));
  chmod(folder.file("readonly").c_str(), 0444);
  ProgramRun run;
  if (converterIsWindowsProgram()) {
    run.argv = wineCommand();
    run.argv.insert(run.argv.end(),
                    {"cmd.exe", "/c", "copy unreadable copied & echo new>readonly"});
  } else {
    run.argv = {"/bin/sh", "-c", "cat unreadable >copied; echo new >readonly"};
  }
  run.folder = folder.path();
  run.withoutFileOverride = geteuid() == 0;
  runProgram(run);
  return readFile(folder.file("copied")).empty() && readFile(folder.file("readonly")) == raw("old");
}

} // namespace

bool converterIsWindowsProgram() { return !windowsProgram().empty(); }

ChildResult runConverter(const std::string &folder, const ConverterOptions &options) {
  ProgramRun run;
  run.argv = commandOfConverter();
  run.argv.insert(run.argv.end(), options.arguments.begin(), options.arguments.end());
  run.folder = folder;
  run.input = options.input;
  run.withoutFileOverride = options.withoutFileOverride && geteuid() == 0;
  return runProgram(run);
}

LiveProgram startConverter(const std::string &folder) {
  ProgramRun run;
  run.argv = commandOfConverter();
  run.folder = folder;
  return startProgram(run);
}

std::string onConsole(const std::string &text) {
  if (!converterIsWindowsProgram()) {
    return text;
  }
  std::string converted;
  for (char c : text) {
    if (c == '\n') {
      converted += '\r';
    }
    converted += c;
  }
  return converted;
}

// Root reads and writes any file unless it runs without CAP_DAC_OVERRIDE.
// Under Wine the wineserver opens the files, so what counts is how it was
// started.
bool permissionsCanBind() {
  static const bool binds = permissionsKeepAProgramOut();
  return binds;
}
