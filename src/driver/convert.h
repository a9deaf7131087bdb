#pragma once

// The program: imports the ten databases of the current folder and writes the
// three spreadsheet files there, with the console dialogue around it. The
// arguments are ignored; the result is the exit status, always 0.
int convertMain(int argc, char **argv);

// Copies folder, NUL included, to destination and ends it with a backslash.
void copyFolderPath(char *destination, const char *folder);

// Appends a backslash unless the text already ends in one.
void appendBackslash(char *path);
