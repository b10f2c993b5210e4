// Entry of the session log viewer.
#include <cstdio>

#include "zelgraph/Units.h"

int main() {
  zel::TZelUnitsGuard Units;
  std::puts("Zelgraph session viewer: the window comes with a later version.");
  return 0;
}
