#include "support/converter.h"

#include "support/pdb_writer.h"
#include "support/scratch.h"

#include <cstdlib>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string environment(const char *name, const char *fallback) {
  const char *value = std::getenv(name);
  return value != nullptr && *value != '\0' ? value : fallback;
}

std::vector<std::string> commandOfConverter() {
  if (!converterIsWindowsProgram()) {
    return {BRIMLOW2CSV_EXE};
  }
  std::vector<std::string> command;
  std::istringstream wine(environment("WINE", "wine"));
  for (std::string word; wine >> word;) {
    command.push_back(word);
  }
  command.push_back(environment("BRIMLOW2CSV_WINDOWS_EXE", ""));
  return command;
}

} // namespace

bool converterIsWindowsProgram() { return !environment("BRIMLOW2CSV_WINDOWS_EXE", "").empty(); }

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

// Probed once: whether a program started like the converter is kept out of a
// file without read permission.
bool permissionsCanBind() {
  static const bool bind = [] {
    ScratchFolder folder;
    std::string probe = folder.file("unreadable");
    writeFile(probe, raw("x"));
    chmod(probe.c_str(), 0);
    ProgramRun run;
    run.argv = {"cat", probe};
    run.withoutFileOverride = geteuid() == 0;
    return runProgram(run).exitStatus != 0;
  }();
  return bind;
}
