#include "driver/convert.h"
#include "platform/console.h"
#include "platform/stop.h"

int main(int argc, char **argv) {
  installOutOfMemoryStop();
  configureStandardOutput();
  return convertMain(argc, argv);
}
