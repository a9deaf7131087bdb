#pragma once

// An invented but realistic backup of a year of household finances, for the
// demo and the end-to-end tests.

#include <string>

// Writes the ten QX_*.pdb databases into the folder; false when a file cannot
// be written.
bool writeSampleBackup(const std::string &folder);
