// Writes the sample backup: make_sample_backup FOLDER

#include "sample_backup.h"

#include <cstdio>

int main(int argc, char **argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
    return 2;
  }
  if (!writeSampleBackup(argv[1])) {
    std::fprintf(stderr, "%s: cannot write the sample backup into %s\n", argv[0], argv[1]);
    return 1;
  }
  return 0;
}
