#include "platform/Filer.h"
#include "platform/Scope.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

#include "platform/Collections.h"
#include "platform/Published.h"
#include "platform/Unicode.h"

namespace zel {

namespace {

constexpr int MaxNesting = 256;
// Components nested in components, and sub-objects in sub-objects ("A.B.C"), at most this deep.
constexpr int MaxComponentNesting = 64;

// Counts one level of nesting for a scope; raises EReadError beyond Limit.
// Raises E (a read or a write error) when one more level would pass Limit.
template <typename E>
class TDepthScope {
 public:
  TDepthScope(int& Depth, int Limit, const String& What) : FDepth(Depth) {
    if (FDepth >= Limit) throw E(What + " nested too deeply");
    ++FDepth;
  }
  ~TDepthScope() { --FDepth; }
  TDepthScope(const TDepthScope&) = delete;
  TDepthScope& operator=(const TDepthScope&) = delete;

 private:
  int& FDepth;
};

const char* const SSignature = "TPF0";

// How many reader assignments are under way on this thread (a setter may read another stream).
thread_local int GReadingStoredValue = 0;

template <typename U>
void PutLE(Byte* P, U V) {
  for (std::size_t I = 0; I < sizeof(U); ++I) P[I] = static_cast<Byte>(V >> (8 * I));
}

template <typename U>
U GetLE(const Byte* P) {
  U V = 0;
  for (std::size_t I = 0; I < sizeof(U); ++I) V = static_cast<U>(V | (static_cast<U>(P[I]) << (8 * I)));
  return V;
}

bool IsAscii(const String& S) {
  for (unsigned char C : S)
    if (C >= 0x80) return false;
  return true;
}

bool SameTextAscii(const String& A, const String& B) {
  if (A.size() != B.size()) return false;
  for (std::size_t I = 0; I < A.size(); ++I) {
    unsigned char X = static_cast<unsigned char>(A[I]), Y = static_cast<unsigned char>(B[I]);
    if (X >= 'a' && X <= 'z') X = static_cast<unsigned char>(X - 32);
    if (Y >= 'a' && Y <= 'z') Y = static_cast<unsigned char>(Y - 32);
    if (X != Y) return false;
  }
  return true;
}

}  // namespace

bool ReadingStoredValue() { return GReadingStoredValue > 0; }

// Extended conversion

void DoubleToExtended(double Value, Byte (&Bytes)[10]) {
  std::uint64_t Bits = std::bit_cast<std::uint64_t>(Value);
  std::uint16_t Sign = (Bits >> 63) ? 0x8000 : 0;
  int Exp = static_cast<int>((Bits >> 52) & 0x7FF);
  std::uint64_t Frac = Bits & ((std::uint64_t(1) << 52) - 1);
  std::uint64_t Mant = 0;
  std::uint16_t XExp = 0;
  if (Exp == 0x7FF) {
    XExp = 0x7FFF;
    Mant = (std::uint64_t(1) << 63) | (Frac << 11);
    if (Frac != 0) Mant |= std::uint64_t(1) << 62;  // NaN stays a (quiet) NaN
  } else if (Exp == 0) {
    if (Frac != 0) {  // subnormal double: normalise
      int P = 63 - std::countl_zero(Frac);
      XExp = static_cast<std::uint16_t>(P - 1074 + 16383);
      Mant = Frac << (63 - P);
    }
  } else {
    XExp = static_cast<std::uint16_t>(Exp - 1023 + 16383);
    Mant = (std::uint64_t(1) << 63) | (Frac << 11);
  }
  PutLE<std::uint64_t>(Bytes, Mant);
  PutLE<std::uint16_t>(Bytes + 8, static_cast<std::uint16_t>(Sign | XExp));
}

double ExtendedToDouble(const Byte (&Bytes)[10]) {
  std::uint64_t Mant = GetLE<std::uint64_t>(Bytes);
  std::uint16_t SE = GetLE<std::uint16_t>(Bytes + 8);
  std::uint64_t Sign = (SE & 0x8000) ? std::uint64_t(1) << 63 : 0;
  int XExp = SE & 0x7FFF;
  auto Make = [&](std::uint64_t Bits) { return std::bit_cast<double>(Sign | Bits); };
  constexpr std::uint64_t Inf = std::uint64_t(0x7FF) << 52;
  if (XExp == 0x7FFF) {
    std::uint64_t Payload = Mant & ~(std::uint64_t(1) << 63);
    if (Payload == 0) return Make(Inf);
    std::uint64_t Frac = (Payload >> 11) & ((std::uint64_t(1) << 52) - 1);
    return Make(Inf | Frac | (std::uint64_t(1) << 51));
  }
  if (Mant == 0) return Make(0);
  // Value = Mant * 2^(E - 63); normalise so that bit 63 is set.
  int E = (XExp == 0 ? 1 : XExp) - 16383;
  int LZ = std::countl_zero(Mant);
  Mant <<= LZ;
  E -= LZ;
  if (E > 1023) return Make(Inf);
  auto RoundShift = [](std::uint64_t M, int Drop) -> std::uint64_t {
    if (Drop >= 65) return 0;
    if (Drop == 64) return (M > (std::uint64_t(1) << 63)) ? 1 : 0;  // exactly half rounds to 0 (even)
    std::uint64_t Kept = M >> Drop;
    std::uint64_t Rem = M & ((std::uint64_t(1) << Drop) - 1);
    std::uint64_t Half = std::uint64_t(1) << (Drop - 1);
    if (Rem > Half || (Rem == Half && (Kept & 1))) ++Kept;
    return Kept;
  };
  if (E >= -1022) {
    std::uint64_t M = RoundShift(Mant, 11);  // 53 significant bits
    if (M == (std::uint64_t(1) << 53)) {
      M >>= 1;
      ++E;
      if (E > 1023) return Make(Inf);
    }
    return Make((std::uint64_t(E + 1023) << 52) | (M & ((std::uint64_t(1) << 52) - 1)));
  }
  // Subnormal result: units of 2^-1074; a carry into bit 52 gives the smallest normal.
  return Make(RoundShift(Mant, -(E + 1011)));
}

// TFiler

ZEL_DEFINE_CLASS(TFiler, TObject)

TFiler::TFiler(TStream* AStream) : FStream(AStream) {
  Assert(AStream != nullptr, "Filer without stream", "Filer");
}

// TWriter

ZEL_DEFINE_CLASS(TWriter, TFiler)

void TWriter::DefineProperty(const String& Name, const TReaderProc&, const TWriterProc& WriteData,
                             bool HasData) {
  if (!HasData || !WriteData) return;
  WritePropName(Name);
  WriteData(this);
}

void TWriter::DefineBinaryProperty(const String& Name, const TStreamProc&, const TStreamProc& WriteData,
                                   bool HasData) {
  if (!HasData || !WriteData) return;
  WritePropName(Name);
  WriteBinary(WriteData);
}

void TWriter::Write(const void* Buffer, Int64 Count) { FStream->WriteBuffer(Buffer, Count); }

void TWriter::WriteValue(TValueType Value) {
  Byte B = static_cast<Byte>(Value);
  Write(&B, 1);
}

void TWriter::WriteStr(const String& Value) {
  if (Value.size() > 255) throw EWriteError("Name too long to write: " + Value.substr(0, 32) + "...");
  Byte L = static_cast<Byte>(Value.size());
  Write(&L, 1);
  Write(Value.data(), L);
}

void TWriter::WritePropName(const String& Name) { WriteStr(FPropPath + Name); }

void TWriter::WriteInteger(Int64 Value) {
  Byte B[9];
  std::size_t N;
  if (Value >= INT8_MIN && Value <= INT8_MAX) {
    B[0] = static_cast<Byte>(TValueType::vaInt8);
    B[1] = static_cast<Byte>(static_cast<std::int8_t>(Value));
    N = 2;
  } else if (Value >= INT16_MIN && Value <= INT16_MAX) {
    B[0] = static_cast<Byte>(TValueType::vaInt16);
    PutLE<std::uint16_t>(B + 1, static_cast<std::uint16_t>(Value));
    N = 3;
  } else if (Value >= INT32_MIN && Value <= INT32_MAX) {
    B[0] = static_cast<Byte>(TValueType::vaInt32);
    PutLE<std::uint32_t>(B + 1, static_cast<std::uint32_t>(Value));
    N = 5;
  } else {
    B[0] = static_cast<Byte>(TValueType::vaInt64);
    PutLE<std::uint64_t>(B + 1, static_cast<std::uint64_t>(Value));
    N = 9;
  }
  Write(B, static_cast<Int64>(N));
}

void TWriter::WriteFloat(double Value) {
  Byte B[11];
  B[0] = static_cast<Byte>(TValueType::vaExtended);
  Byte X[10];
  DoubleToExtended(Value, X);
  std::memcpy(B + 1, X, 10);
  Write(B, 11);
}

void TWriter::WriteSingle(float Value) {
  Byte B[5];
  B[0] = static_cast<Byte>(TValueType::vaSingle);
  PutLE<std::uint32_t>(B + 1, std::bit_cast<std::uint32_t>(Value));
  Write(B, 5);
}

void TWriter::WriteDouble(double Value) {
  Byte B[9];
  B[0] = static_cast<Byte>(TValueType::vaDouble);
  PutLE<std::uint64_t>(B + 1, std::bit_cast<std::uint64_t>(Value));
  Write(B, 9);
}

void TWriter::WriteDate(TDateTime Value) {
  Byte B[9];
  B[0] = static_cast<Byte>(TValueType::vaDate);
  PutLE<std::uint64_t>(B + 1, std::bit_cast<std::uint64_t>(Value));
  Write(B, 9);
}

void TWriter::WriteString(const String& Value) {
  if (Value.size() > static_cast<std::size_t>(INT32_MAX)) throw EWriteError(SWriteError);
  if (IsAscii(Value) && Value.size() <= 255) {
    WriteValue(TValueType::vaString);
    WriteStr(Value);
    return;
  }
  WriteValue(IsAscii(Value) ? TValueType::vaLString : TValueType::vaUTF8String);
  Byte L[4];
  PutLE<std::uint32_t>(L, static_cast<std::uint32_t>(Value.size()));
  Write(L, 4);
  Write(Value.data(), static_cast<Int64>(Value.size()));
}

void TWriter::WriteBoolean(bool Value) { WriteValue(Value ? TValueType::vaTrue : TValueType::vaFalse); }

void TWriter::WriteIdent(const String& Ident) {
  if (SameTextAscii(Ident, "False")) {
    WriteValue(TValueType::vaFalse);
  } else if (SameTextAscii(Ident, "True")) {
    WriteValue(TValueType::vaTrue);
  } else if (SameTextAscii(Ident, "nil")) {
    WriteValue(TValueType::vaNil);
  } else if (SameTextAscii(Ident, "Null")) {
    WriteValue(TValueType::vaNull);
  } else {
    WriteValue(TValueType::vaIdent);
    WriteStr(Ident);
  }
}

void TWriter::WriteListBegin() { WriteValue(TValueType::vaList); }

void TWriter::WriteListEnd() { WriteValue(TValueType::vaNull); }

void TWriter::WriteBinary(const TStreamProc& WriteData) {
  // WriteData writes the block in place, so that its bytes are not copied again; the length
  // before it is filled in afterwards.
  WriteValue(TValueType::vaBinary);
  const Int64 LengthAt = FStream->GetPosition();
  const Byte Unknown[4] = {};
  Write(Unknown, 4);
  if (WriteData) WriteData(FStream);
  const Int64 End = FStream->GetPosition();
  const Int64 Count = End - LengthAt - 4;
  if (Count < 0 || Count > INT32_MAX) throw EWriteError(SWriteError);
  Byte L[4];
  PutLE<std::uint32_t>(L, static_cast<std::uint32_t>(Count));
  FStream->SetPosition(LengthAt);
  Write(L, 4);
  FStream->SetPosition(End);
}

void TWriter::WriteBinary(const void* Data, Int64 Count) {
  if (Count < 0 || Count > INT32_MAX) throw EWriteError(SWriteError);
  Byte B[5];
  B[0] = static_cast<Byte>(TValueType::vaBinary);
  PutLE<std::uint32_t>(B + 1, static_cast<std::uint32_t>(Count));
  Write(B, 5);
  if (Count > 0) Write(Data, Count);
}

void TWriter::WriteCollection(TCollection* Value) {
  WriteValue(TValueType::vaCollection);
  TValueScope<String> Path(FPropPath, String());
  if (Value) {
    for (int I = 0; I < Value->GetCount(); ++I) {
      WriteListBegin();
      WriteProperties(Value->GetItem(I));
      WriteListEnd();
    }
  }
  WriteListEnd();
}

void TWriter::WriteProperties(TPersistent* Instance) {
  if (!Instance) return;
  for (const TPropInfo* P : PublishedPropsOf(Instance->ClassType())) WritePublished(Instance, P);
  Instance->DefineProperties(this);
}

void TWriter::WritePublished(TObject* Instance, const TPropInfo* P) {
  switch (P->Kind) {
    case TPropKind::pkObject: {
      TObject* Sub = P->ExistingObject(Instance);
      if (!Sub || !P->Stored(Instance)) return;
      if (auto* Coll = dynamic_cast<TCollection*>(Sub)) {
        // Every collection starts empty, so an empty one is at its default.
        if (Coll->GetCount() == 0) return;
        WritePropName(P->Name);
        WriteCollection(Coll);
      } else if (auto* Pers = dynamic_cast<TPersistent*>(Sub)) {
        TDepthScope<EWriteError> Depth(FDepth, MaxComponentNesting, String("Sub-objects at ") + P->Name + " are");
        TValueScope<String> Path(FPropPath, FPropPath + P->Name + ".");
        WriteProperties(Pers);
      }
      return;
    }
    case TPropKind::pkReference: {
      if (!P->Stored(Instance)) return;
      auto* Ref = dynamic_cast<TComponent*>(P->GetObject(Instance));
      if (!Ref) return;
      String Name = Ref->GetName();
      if (Name.empty())
        throw EWriteError("Cannot store a reference to an unnamed " + Ref->ClassName() + " in " + P->Name);
      WritePropName(P->Name);
      WriteIdent(ReferenceName(Ref));
      return;
    }
    case TPropKind::pkEvent: {
      if (!P->EventAssigned(Instance)) return;
      TMethodTable* Table = FRoot ? FRoot->GetMethodTable() : nullptr;
      const String Method = Table ? Table->BoundName(Instance, P->Name) : String();
      if (Method.empty()) return;  // a handler set by code, not by a stream
      WritePropName(P->Name);
      WriteIdent(Method);
      return;
    }
    default:
      if (!P->Stored(Instance)) return;
      WritePropName(P->Name);
      P->Write(Instance, this);
      return;
  }
}

void TWriter::WriteSignature() { Write(SSignature, 4); }

void TWriter::WriteRootComponent(TComponent* Root) {
  SetRoot(Root);
  FStreamNames.clear();
  FStreamNames[Root] = Root->GetName();
  CollectStreamNames(Root, 0);
  TRestoreOnExit Forget([this] { FStreamNames.clear(); });
  WriteSignature();
  WriteComponent(Root);
}

void TWriter::CollectStreamNames(TComponent* Component, int Depth) {
  if (Depth >= MaxComponentNesting) return;  // WriteComponent refuses the tree
  TComponent* ChildOwner = Component->GetChildOwner();
  if (!ChildOwner) ChildOwner = FRoot;
  auto Owner = FStreamNames.find(ChildOwner);
  const String Prefix = ChildOwner == FRoot || Owner == FStreamNames.end() || Owner->second.empty()
                            ? String()
                            : Owner->second + ".";
  std::vector<TComponent*> Children;
  Component->GetChildren([&](TComponent* C) { Children.push_back(C); }, FRoot);
  for (TComponent* C : Children) {
    if (!C->GetName().empty()) FStreamNames.emplace(C, Prefix + C->GetName());
    CollectStreamNames(C, Depth + 1);
  }
}

String TWriter::ReferenceName(TComponent* Ref) const {
  if (auto It = FStreamNames.find(Ref); It != FStreamNames.end()) return It->second;
  // A component outside the stream: by its owner's name when that is not the root.
  String Name = Ref->GetName();
  TComponent* Owner = Ref->GetComponentOwner();
  if (Ref != FRoot && Owner && Owner != FRoot && !Owner->GetName().empty()) Name = Owner->GetName() + "." + Name;
  return Name;
}

void TWriter::WriteComponent(TComponent* Component) {
  TDepthScope<EWriteError> Depth(FDepth, MaxComponentNesting, "Components at " + Component->GetName() + " are");
  WriteStr(Component->ClassName());
  WriteStr(Component->GetName());
  {
    TValueScope<String> Path(FPropPath, String());
    WriteProperties(Component);
  }
  WriteListEnd();
  std::vector<TComponent*> Children;
  Component->GetChildren([&](TComponent* C) { Children.push_back(C); }, FRoot);
  for (TComponent* C : Children) WriteComponent(C);
  WriteListEnd();
}

void TStream::WriteComponent(TComponent* Instance) {
  TWriter W(this);
  W.WriteRootComponent(Instance);
}

TComponent* TStream::ReadComponent(TComponent* Instance) {
  TReader R(this);
  return R.ReadRootComponent(Instance);
}

// Value transport for the published tables.
namespace published_detail {
void WriteBool(TWriter* W, bool V) { W->WriteBoolean(V); }
void WriteInt(TWriter* W, Int64 V) { W->WriteInteger(V); }
void WriteSingleValue(TWriter* W, float V) { W->WriteSingle(V); }
void WriteFloatValue(TWriter* W, double V) { W->WriteFloat(V); }
void WriteStringValue(TWriter* W, const String& V) { W->WriteString(V); }
void WriteIdentValue(TWriter* W, const String& V) { W->WriteIdent(V); }
void WriteSetValue(TWriter* W, const TEnumNames* N, std::uint64_t Bits) {
  W->WriteValue(TValueType::vaSet);
  for (int I = 0; I < 64; ++I)
    if (Bits & (std::uint64_t(1) << I)) W->WriteStr(N->NameOf(I));
  W->WriteStr(String());
}
bool ReadBool(TReader* R) { return R->ReadBoolean(); }
Int64 ReadInt(TReader* R) { return R->ReadInt64(); }
double ReadFloatValue(TReader* R) { return R->ReadFloat(); }
String ReadStringValue(TReader* R) { return R->ReadString(); }
int ReadEnumValue(TReader* R, const TEnumNames* N) {
  const String Name = R->ReadIdent();
  const int V = N->ValueOf(Name);
  if (V < 0) throw EReadError("Unknown " + String(N->TypeName) + " value " + Name);
  return V;
}
std::uint64_t ReadSetValue(TReader* R, const TEnumNames* N) {
  R->CheckValue(TValueType::vaSet);
  std::uint64_t Bits = 0;
  for (;;) {
    const String Name = R->ReadStr();
    if (Name.empty()) return Bits;
    const int V = N->ValueOf(Name);
    if (V < 0 || V >= 64) throw EReadError("Unknown " + String(N->TypeName) + " value " + Name);
    Bits |= std::uint64_t(1) << V;
  }
}
}  // namespace published_detail

// TReader

ZEL_DEFINE_CLASS(TReader, TFiler)

void TReader::DefineProperty(const String& Name, const TReaderProc& ReadData, const TWriterProc&, bool) {
  if (FPropFound || !ReadData || !SameTextAscii(Name, FPropName)) return;
  FPropFound = true;
  ReadData(this);
}

void TReader::DefineBinaryProperty(const String& Name, const TStreamProc& ReadData, const TStreamProc&,
                                   bool) {
  if (FPropFound || !ReadData || !SameTextAscii(Name, FPropName)) return;
  FPropFound = true;
  ReadBinary(ReadData);
}

void TReader::Read(void* Buffer, Int64 Count) { FStream->ReadBuffer(Buffer, Count); }

void TReader::PropValueError() { throw EReadError(SInvalidPropertyValue); }

void TReader::CheckRemaining(Int64 Count) {
  if (Count < 0 || Count > FStream->GetSize() - FStream->GetPosition()) throw EReadError(SReadError);
}

void TReader::SkipBytes(Int64 Count) {
  CheckRemaining(Count);
  FStream->Seek(Count, soCurrent);
}

std::int32_t TReader::ReadLength() {
  Byte B[4];
  Read(B, 4);
  auto L = static_cast<std::int32_t>(GetLE<std::uint32_t>(B));
  if (L < 0) PropValueError();
  return L;
}

TValueType TReader::ReadValue() {
  Byte B;
  Read(&B, 1);
  if (B > static_cast<Byte>(TValueType::vaDouble)) PropValueError();
  return static_cast<TValueType>(B);
}

TValueType TReader::NextValue() {
  Byte B;
  Read(&B, 1);
  FStream->Seek(-1, soCurrent);
  if (B > static_cast<Byte>(TValueType::vaDouble)) PropValueError();
  return static_cast<TValueType>(B);
}

void TReader::CheckValue(TValueType Value) {
  if (ReadValue() != Value) PropValueError();
}

bool TReader::EndOfList() {
  // Peeks the raw byte: at a property name it is the name's length, which may be any value.
  Byte B;
  Read(&B, 1);
  FStream->Seek(-1, soCurrent);
  return B == 0;
}

void TReader::ReadListBegin() { CheckValue(TValueType::vaList); }

void TReader::ReadListEnd() { CheckValue(TValueType::vaNull); }

String TReader::ReadStr() {
  Byte L;
  Read(&L, 1);
  String S(L, '\0');
  Read(S.data(), L);
  return S;
}

std::int32_t TReader::ReadInteger() {
  Byte B[4];
  switch (ReadValue()) {
    case TValueType::vaInt8:
      Read(B, 1);
      return static_cast<std::int8_t>(B[0]);
    case TValueType::vaInt16:
      Read(B, 2);
      return static_cast<std::int16_t>(GetLE<std::uint16_t>(B));
    case TValueType::vaInt32:
      Read(B, 4);
      return static_cast<std::int32_t>(GetLE<std::uint32_t>(B));
    default:
      PropValueError();
  }
}

Int64 TReader::ReadInt64() {
  if (NextValue() != TValueType::vaInt64) return ReadInteger();
  ReadValue();
  Byte B[8];
  Read(B, 8);
  return static_cast<Int64>(GetLE<std::uint64_t>(B));
}

double TReader::ReadFloat() {
  Byte B[10];
  switch (NextValue()) {
    case TValueType::vaInt8:
    case TValueType::vaInt16:
    case TValueType::vaInt32:
    case TValueType::vaInt64:
      return static_cast<double>(ReadInt64());
    default:
      break;
  }
  switch (ReadValue()) {
    case TValueType::vaExtended:
      Read(B, 10);
      return ExtendedToDouble(B);
    case TValueType::vaSingle:
      Read(B, 4);
      return std::bit_cast<float>(GetLE<std::uint32_t>(B));
    case TValueType::vaDouble:
    case TValueType::vaDate:
      Read(B, 8);
      return std::bit_cast<double>(GetLE<std::uint64_t>(B));
    case TValueType::vaCurrency:
      Read(B, 8);
      return static_cast<double>(static_cast<Int64>(GetLE<std::uint64_t>(B))) / 10000.0;
    default:
      PropValueError();
  }
}

float TReader::ReadSingle() { return static_cast<float>(ReadFloat()); }

double TReader::ReadDouble() { return ReadFloat(); }

TDateTime TReader::ReadDate() { return ReadFloat(); }

String TReader::ReadString() {
  switch (ReadValue()) {
    case TValueType::vaString:
      return ReadStr();
    case TValueType::vaLString:
    case TValueType::vaUTF8String: {
      std::int32_t L = ReadLength();
      CheckRemaining(L);
      String S(static_cast<std::size_t>(L), '\0');
      Read(S.data(), L);
      return S;
    }
    case TValueType::vaWString: {
      std::int32_t L = ReadLength();
      CheckRemaining(Int64(L) * 2);
      std::vector<Byte> Units(static_cast<std::size_t>(L) * 2);
      Read(Units.data(), static_cast<Int64>(Units.size()));
      return Utf16ToUtf8(Units.data(), Units.size(), false);
    }
    default:
      PropValueError();
  }
}

bool TReader::ReadBoolean() {
  switch (ReadValue()) {
    case TValueType::vaTrue:
      return true;
    case TValueType::vaFalse:
      return false;
    default:
      PropValueError();
  }
}

String TReader::ReadIdent() {
  switch (ReadValue()) {
    case TValueType::vaIdent:
      return ReadStr();
    case TValueType::vaFalse:
      return "False";
    case TValueType::vaTrue:
      return "True";
    case TValueType::vaNil:
      return "nil";
    case TValueType::vaNull:
      return "Null";
    default:
      PropValueError();
  }
}

std::int32_t TReader::ReadBinaryLength() {
  CheckValue(TValueType::vaBinary);
  const std::int32_t L = ReadLength();
  CheckRemaining(L);
  return L;
}

std::vector<Byte> TReader::ReadBinary() {
  const std::int32_t L = ReadBinaryLength();
  std::vector<Byte> Data(static_cast<std::size_t>(L));
  Read(Data.data(), L);
  return Data;
}

void TReader::ReadBinary(const TStreamProc& ReadData) {
  const std::int32_t L = ReadBinaryLength();
  // The bytes go straight into the stream the callback reads: one copy of the block.
  TMemoryStream Block;
  Block.SetSize(L);
  if (L > 0) Read(Block.GetMemory(), L);
  Block.SetPosition(0);
  if (ReadData) ReadData(&Block);
}

void TReader::ReadCollection(TCollection* Value) {
  CheckValue(TValueType::vaCollection);
  TDepthScope<EReadError> Depth(FDepth, MaxComponentNesting, "Collections");
  WithinUpdate(*Value, [&] {
    Value->Clear();
    while (!EndOfList()) {
      switch (NextValue()) {
        case TValueType::vaInt8:
        case TValueType::vaInt16:
        case TValueType::vaInt32:
          ReadInteger();  // an item index some writers put first; not needed
          break;
        default:
          break;
      }
      ReadListBegin();
      TCollectionItem* Item = Value->Add();
      ReadProperties(Item);
      ReadListEnd();
    }
    ReadListEnd();
  });
}

void TReader::SkipValue() { SkipValue(0); }

void TReader::SkipValue(int Depth) {
  if (Depth > MaxNesting) PropValueError();
  switch (ReadValue()) {
    case TValueType::vaNull:
    case TValueType::vaFalse:
    case TValueType::vaTrue:
    case TValueType::vaNil:
      break;
    case TValueType::vaList:
      while (!EndOfList()) SkipValue(Depth + 1);
      ReadListEnd();
      break;
    case TValueType::vaInt8:
      SkipBytes(1);
      break;
    case TValueType::vaInt16:
      SkipBytes(2);
      break;
    case TValueType::vaInt32:
    case TValueType::vaSingle:
      SkipBytes(4);
      break;
    case TValueType::vaInt64:
    case TValueType::vaDouble:
    case TValueType::vaDate:
    case TValueType::vaCurrency:
      SkipBytes(8);
      break;
    case TValueType::vaExtended:
      SkipBytes(10);
      break;
    case TValueType::vaString:
    case TValueType::vaIdent: {
      Byte L;
      Read(&L, 1);
      SkipBytes(L);
      break;
    }
    case TValueType::vaLString:
    case TValueType::vaUTF8String:
    case TValueType::vaBinary:
      SkipBytes(ReadLength());
      break;
    case TValueType::vaWString:
      SkipBytes(Int64(ReadLength()) * 2);
      break;
    case TValueType::vaSet:
      while (!ReadStr().empty()) {
      }
      break;
    case TValueType::vaCollection:
      while (!EndOfList()) {
        switch (NextValue()) {
          case TValueType::vaInt8:
          case TValueType::vaInt16:
          case TValueType::vaInt32:
            SkipValue(Depth + 1);
            break;
          default:
            break;
        }
        ReadListBegin();
        while (!EndOfList()) {
          ReadStr();
          SkipValue(Depth + 1);
        }
        ReadListEnd();
      }
      ReadListEnd();
      break;
  }
}

void TReader::ReadProperty(TPersistent* Instance) {
  String Name = ReadStr();
  FReadingName = Name;
  // Follow "Sub.Sub.Name" through the published sub-objects; a dotted name that no published
  // sub-object starts is left whole for DefineProperties.
  TPersistent* Target = Instance;
  std::size_t Start = 0;
  for (std::size_t Dot; Target && (Dot = Name.find('.', Start)) != String::npos;) {
    const TPropInfo* P = FindPublishedProp(Target->ClassType(), Name.substr(Start, Dot - Start));
    if (!P || P->Kind != TPropKind::pkObject) break;
    auto* Sub = dynamic_cast<TPersistent*>(P->GetObject(Target));
    if (!Sub || dynamic_cast<TCollection*>(Sub)) PropValueError();
    Target = Sub;
    Start = Dot + 1;
  }
  const String Last = Name.substr(Start);
  if (Target) {
    if (const TPropInfo* P = FindPublishedProp(Target->ClassType(), Last)) {
      ReadPublished(Target, P);
      return;
    }
  }
  bool Found = false;
  {
    TValueScope Name_(FPropName, Last);
    TValueScope Found_(FPropFound, false);
    if (Target) Target->DefineProperties(this);
    Found = FPropFound;
  }
  if (!Found) {
    String Obj = Instance ? Instance->GetNamePath() : String("nil");
    if (Obj.empty() && Instance) Obj = Instance->ClassName();
    String Msg = SUnknownProperty;
    std::size_t P = 0;
    for (const String& Part : {Obj, Name, Name}) {
      P = Msg.find("%s", P);
      Msg.replace(P, 2, Part);
      P += Part.size();
    }
    throw EReadError(Msg);
  }
}

void TReader::ReadPublished(TObject* Instance, const TPropInfo* P) {
  switch (P->Kind) {
    case TPropKind::pkObject: {
      auto* Coll = dynamic_cast<TCollection*>(P->GetObject(Instance));
      if (!Coll) PropValueError();  // a sub-object has no value of its own
      ReadCollection(Coll);
      return;
    }
    case TPropKind::pkReference: {
      const String Name = ReadIdent();
      if (Name == "nil") {
        TValueScope<int> Assigning(GReadingStoredValue, GReadingStoredValue + 1);
        P->SetRef(Instance, nullptr);
        return;
      }
      FFixups.push_back({Instance, P, Name});
      return;
    }
    case TPropKind::pkEvent: {
      const String Method = ReadIdent();
      if (Method == "nil") return;
      TMethodTable* Table = FRoot ? FRoot->GetMethodTable() : nullptr;
      const std::any* Handler = Table ? Table->Find(Method) : nullptr;
      if (!Handler) throw EReadError("Method " + Method + " not found");
      if (!P->SetEvent(Instance, *Handler)) throw EReadError("Method " + Method + " does not fit " + P->Name);
      Table->SetBoundName(Instance, P->Name, Method);
      return;
    }
    default: {
      TValueScope<int> Assigning(GReadingStoredValue, GReadingStoredValue + 1);
      P->Read(Instance, this);
      return;
    }
  }
}

void TReader::ReadProperties(TPersistent* Instance) {
  while (!EndOfList()) ReadProperty(Instance);
}

void TReader::ReadSignature() {
  char Sig[4];
  CheckRemaining(4);
  Read(Sig, 4);
  if (std::memcmp(Sig, SSignature, 4) != 0) throw EReadError("Invalid stream format");
}

void TReader::ComponentError(TComponent* Component, const char* Reason) {
  String Where = Component ? Component->GetName() : String();
  if (Where.empty() && Component) Where = Component->ClassName();
  throw EReadError("Error reading " + Where + (FReadingName.empty() ? String() : "." + FReadingName) + ": " + Reason);
}

void TReader::ReadData(TComponent* Instance) {
  // Properties; a failure names the component and the property.
  while (!EndOfList()) {
    try {
      ReadProperty(Instance);
    } catch (const EClassNotFound&) {
      throw;
    } catch (const Exception& E) {
      const String What = E.what();
      if (What.rfind("Error reading ", 0) == 0) throw;
      ComponentError(Instance, What.c_str());
    }
    FReadingName.clear();
  }
  ReadListEnd();
  // Children.
  {
    TComponent* ChildOwner = Instance->GetChildOwner();
    TValueScope Parent(FParent, Instance);
    TValueScope Owner(FOwner, ChildOwner ? ChildOwner : FRoot);
    while (!EndOfList()) ReadComponent(nullptr);
  }
  ReadListEnd();
}

void TComponent::ReadState(TReader* Reader) { Reader->ReadData(this); }

TComponent* TReader::ReadComponent(TComponent* Component) {
  TDepthScope<EReadError> Depth(FDepth, MaxComponentNesting, "Components");
  const String ClassName = ReadStr();
  const String Name = ReadStr();
  if (!Component) {
    const TClass* Class = FindClass(ClassName);
    if (!Class->InheritsFrom(TComponent::StaticClass())) throw EReadError(ClassName + " is not a component class");
    TComponent* Owner = FOwner ? FOwner : FRoot;
    if (Owner && !Name.empty() && Owner->FindComponent(Name))
      throw EReadError("A component named " + Name + " already exists");
    TObject* Obj = Class->Create(Owner);
    Component = dynamic_cast<TComponent*>(Obj);
    if (!Component) {
      Obj->Free();
      throw EReadError(ClassName + " is not a component class");
    }
    FCreated.push_back(Component);
    Component->SetLoading(true);
    Component->SetName(Name);
    if (FParent) Component->SetParentComponent(FParent);
  } else {
    Component->SetLoading(true);
    if (!Name.empty()) Component->SetName(Name);
  }
  FLoaded.push_back(Component);
  Component->SetReading(true);
  FReadingName.clear();
  Component->ReadState(this);
  Component->SetReading(false);
  return Component;
}

TComponent* TReader::FindReference(const String& Name) const {
  TComponent* C = nullptr;
  std::size_t Start = 0;
  for (;;) {
    const std::size_t Dot = Name.find('.', Start);
    const String Part = Name.substr(Start, Dot == String::npos ? String::npos : Dot - Start);
    if (!C) {
      if (FRoot && !Part.empty() && FRoot->GetName() == Part)
        C = FRoot;
      else
        C = FRoot ? FRoot->FindComponent(Part) : nullptr;
    } else {
      C = C->FindComponent(Part);
    }
    if (!C || Dot == String::npos) return C;
    Start = Dot + 1;
  }
}

TComponent* TReader::FindReadQualified(const String& Name) const {
  for (std::size_t Dot = Name.find('.'); Dot != String::npos; Dot = Name.find('.', Dot + 1)) {
    TComponent* C = FindReference(Name.substr(Dot + 1));
    if (C && std::find(FLoaded.begin(), FLoaded.end(), C) != FLoaded.end()) return C;
  }
  return nullptr;
}

void TReader::ResolveFixups() {
  std::vector<TFixup> Fixups;
  Fixups.swap(FFixups);
  for (const TFixup& F : Fixups) {
    TComponent* Target = FindReference(F.Name);
    if (!Target) Target = FindReadQualified(F.Name);
    if (!Target) throw EReadError("Error reading " + String(F.Prop->Name) + ": unresolved reference to " + F.Name);
    if (!Target->InheritsFrom(F.Prop->RefClass))
      throw EReadError("Error reading " + String(F.Prop->Name) + ": " + F.Name + " is a " + Target->ClassName() +
                       ", not a " + F.Prop->RefClass->Name);
    TValueScope<int> Assigning(GReadingStoredValue, GReadingStoredValue + 1);
    F.Prop->SetRef(F.Instance, Target);
  }
}

TComponent* TReader::ReadRootComponent(TComponent* Root) {
  FFixups.clear();
  FLoaded.clear();
  FCreated.clear();
  {
    // Free what was created, newest first (children before the owners they may have).
    TUndoOnFailure FreeCreated([this] {
      for (std::size_t I = FCreated.size(); I-- > 0;) {
        TComponent* C = FCreated[I];
        std::erase(FLoaded, C);
        C->Free();
      }
      for (TComponent* C : FLoaded) {
        C->SetReading(false);
        C->SetLoading(false);
      }
      FCreated.clear();
      FLoaded.clear();
      FFixups.clear();
    });
    ReadSignature();
    const Int64 Start = FStream->GetPosition();
    const String ClassName = ReadStr();
    if (!Root) {
      const TClass* Class = FindClass(ClassName);
      if (!Class->InheritsFrom(TComponent::StaticClass())) throw EReadError(ClassName + " is not a component class");
      TObject* Obj = Class->Create(nullptr);
      Root = dynamic_cast<TComponent*>(Obj);
      if (!Root) {
        Obj->Free();
        throw EReadError(ClassName + " is not a component class");
      }
      FCreated.push_back(Root);
    } else {
      bool Fits = false;
      for (const TClass* C = Root->ClassType(); C && !Fits; C = C->Parent) Fits = ClassName == C->Name;
      if (!Fits) throw EReadError("The stream holds a " + ClassName + ", not a " + Root->ClassName());
    }
    FStream->SetPosition(Start);
    SetRoot(Root);
    FOwner = Root;
    FParent = nullptr;
    ReadComponent(Root);
    ResolveFixups();
  }
  std::vector<TComponent*> Loaded;
  Loaded.swap(FLoaded);
  FCreated.clear();
  std::size_t I = 0;
  // A failing Loaded leaves the components from it on out of their loading state.
  TUndoOnFailure EndLoading([&] {
    for (; I < Loaded.size(); ++I) Loaded[I]->SetLoading(false);
  });
  for (; I < Loaded.size(); ++I) Loaded[I]->Loaded();
  return Root;
}

}  // namespace zel
