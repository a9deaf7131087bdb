#include "driver/convert.h"
#include "finance/tables.h"
#include "platform/console.h"
#include "platform/memory.h"
#include "platform/stop.h"

int main(int argc, char **argv) {
  installOutOfMemoryStop();
  configureStandardOutput();
  adviseLargePages(&financeTables, sizeof financeTables);
  return convertMain(argc, argv);
}
