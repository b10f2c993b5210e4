// Component streams in tests: a component's bytes, bytes in their readable text form and back,
// and either form read into a component.
#pragma once

#include <cstddef>
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

// A memory stream holding the bytes, positioned at their start.
inline void PutBytes(TMemoryStream& S, const void* Data, std::size_t Size) {
  if (Size > 0) S.WriteBuffer(Data, static_cast<Int64>(Size));
  S.SetPosition(0);
}

inline String AsText(const std::vector<Byte>& B) {
  TMemoryStream In, Out;
  PutBytes(In, B.data(), B.size());
  ObjectBinaryToText(&In, &Out);
  return String(Out.GetBytes().begin(), Out.GetBytes().end());
}

// The bytes of a text form.
inline std::vector<Byte> FromText(const String& Text) {
  TMemoryStream In, Out;
  PutBytes(In, Text.data(), Text.size());
  ObjectTextToBinary(&In, &Out);
  return Out.GetBytes();
}

// Reads a stream into the component.
inline void ReadBytes(const std::vector<Byte>& Bytes, TComponent* Into) {
  TMemoryStream In;
  PutBytes(In, Bytes.data(), Bytes.size());
  In.ReadComponent(Into);
}

// Reads a text form into the component.
inline void ReadText(const String& Text, TComponent* Into) { ReadBytes(FromText(Text), Into); }

// A class the reader finds by name while the guard lives.
template <typename T>
struct TRegisteredWhileInScope {
  TRegisteredWhileInScope() { RegisterClass(T::StaticClass()); }
  ~TRegisteredWhileInScope() { UnRegisterClass(T::StaticClass()); }
  TRegisteredWhileInScope(const TRegisteredWhileInScope&) = delete;
  TRegisteredWhileInScope& operator=(const TRegisteredWhileInScope&) = delete;
};

}  // namespace zel::testing
