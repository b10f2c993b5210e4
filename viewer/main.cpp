// Entry of the session log viewer (see viewer/Entry.h for its command line).
#include "platform/Forms.h"
#include "viewer/Entry.h"
#include "zelgraph/Units.h"

int main(int argc, char** argv) {
  zel::TZelUnitsGuard Units;
  const int Result = zel::ViewerMain(argc, argv);
  zel::Application.Free();
  return Result;
}
