#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

// The program names its files the Windows way, relative to the current folder
// (".\QX_Account.pdb"). On POSIX systems the backslash is the folder separator.
std::string nativePath(const char *programPath);

// Opens an existing regular file for untranslated reading. A missing or
// unreadable file, and anything that is not a regular file (a folder, a FIFO,
// a device), gives nullptr; opening never blocks.
std::FILE *openFileForReading(const char *programPath);

// Creates or replaces a file for untranslated writing; nullptr when it cannot
// be created. A file that cannot be created is left as it was. Devices are
// allowed (a write to /dev/full fails later, at the write); a FIFO without a
// reader is refused instead of waited for.
std::FILE *createFileForWriting(const char *programPath);

// The length of an open file, measured by seeking to its end, and the file
// rewound to its start; -1 when it cannot be measured.
std::int64_t measureFile(std::FILE *file);

// Moves to an absolute offset; false when that fails.
bool seekFile(std::FILE *file, std::int64_t offset);

// Reads up to count bytes; the number of bytes read.
std::size_t readFromFile(std::FILE *file, void *destination, std::size_t count);
