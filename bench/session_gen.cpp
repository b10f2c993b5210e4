// Writes a generated session file: session_gen RECORDS SAMPLES FILE (see SessionGenerator.h).
// Built by bench/load_timing.sh on its own; it needs nothing of the library.
#include <cstdio>
#include <cstdlib>

#include "SessionGenerator.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s RECORDS SAMPLES FILE\n", argv[0]);
    return 2;
  }
  const int Records = std::atoi(argv[1]);
  const int Samples = std::atoi(argv[2]);
  if (Records < 0 || Samples < 0) {
    std::fprintf(stderr, "RECORDS and SAMPLES must not be negative\n");
    return 2;
  }
  if (!zel::bench::WriteSessionFile(argv[3], Records, Samples)) {
    std::fprintf(stderr, "cannot write %s\n", argv[3]);
    return 1;
  }
  return 0;
}
