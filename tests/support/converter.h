#pragma once

// Runs the converter under test as a user would: the real executable, started
// in a folder of its own with the given standard input.
//
// By default that is the native build. With BRIMLOW2CSV_WINDOWS_EXE set to the
// path of brimlow2csv.exe, the same tests run the Windows program under Wine
// (the command in WINE, default "wine"), in the Wine prefix "wine" beside the
// .exe unless WINEPREFIX names another; they skip themselves when Wine is not
// installed.

#include "support/child.h"

#include <string>
#include <vector>

struct ConverterOptions {
  std::string input;
  std::vector<std::string> arguments;
  bool withoutFileOverride = false; // file permissions bind even for root
};

ChildResult runConverter(const std::string &folder, const ConverterOptions &options = {});

// Starts the converter with its standard input kept open for the test.
LiveProgram startConverter(const std::string &folder);

// Whether the converter under test is the Windows program, whose console
// lines end in CR LF.
bool converterIsWindowsProgram();

// The console text with the line ends of the converter under test.
std::string onConsole(const std::string &text);

// Whether file permissions can be made to bind for the converter (false when
// they cannot be enforced for root here, or when the Wine session was started
// with root's right to ignore them). Found out once, by trying.
bool permissionsCanBind();
