// Component streams in tests: a component's bytes, and bytes in their readable text form.
#pragma once

#include <vector>

#include "platform/Classes.h"
#include "platform/ObjectText.h"
#include "platform/Streams.h"

namespace zel::testing {

inline std::vector<Byte> Store(TComponent* C) {
  TMemoryStream S;
  S.WriteComponent(C);
  return S.GetBytes();
}

inline String AsText(const std::vector<Byte>& B) {
  TMemoryStream In, Out;
  In.WriteBuffer(B.data(), static_cast<Int64>(B.size()));
  In.SetPosition(0);
  ObjectBinaryToText(&In, &Out);
  return String(Out.GetBytes().begin(), Out.GetBytes().end());
}

}  // namespace zel::testing
