#include "fuzz/FuzzSupport.h"

#include <cstdio>
#include <cstdlib>

#include "platform/Filer.h"
#include "zelgraph/Units.h"

namespace zelfuzz {

void StartOnce() {
  static const bool Started = [] {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    zel::ZelStartUnits();
    return true;
  }();
  (void)Started;
}

void Check(bool Condition, const char* What) {
  if (Condition) return;
  std::fprintf(stderr, "invariant broken: %s\n", What);
  std::abort();
}

void Fill(zel::TMemoryStream& Stream, const std::uint8_t* Data, std::size_t Size) {
  if (Size > 0) Stream.WriteBuffer(Data, static_cast<zel::Int64>(Size));
  Stream.SetPosition(0);
}

std::vector<zel::Byte> WrittenProperties(zel::TPersistent* Object) {
  zel::TMemoryStream M;
  zel::TWriter W(&M);
  W.WriteProperties(Object);
  W.WriteListEnd();
  return M.GetBytes();
}

void ReadProperties(zel::TPersistent* Object, zel::TStream* Stream) {
  zel::TReader R(Stream);
  R.ReadProperties(Object);
  R.ReadListEnd();
}

}  // namespace zelfuzz
