// Component streaming of named properties: TFiler with DefineProperty and DefineBinaryProperty,
// and TReader / TWriter over a TStream in the binary component-stream value encoding: a
// value-type byte, then the payload, little-endian.
//
// A property is its name (a length byte and the bytes, no value-type byte) followed by one
// value. WriteProperties(Instance) writes the properties the instance defines (DefineProperties)
// and whose HasData is true; it writes no terminator. ReadProperties(Instance) reads properties
// until the list-end marker (vaNull) and leaves that marker for ReadListEnd, so that
//   WriteProperties(X); WriteListEnd();   pairs with   ReadProperties(X); ReadListEnd();
// A name that the instance does not define raises EReadError
// "Error reading <object>.<name>: Property <name> does not exist" (nothing is skipped silently).
//
// Bad input: a value of the wrong type raises EReadError "Invalid property value"; a stream that
// ends inside a value raises EReadError "Stream read error". Lengths are checked against the
// bytes left before anything is allocated.
#pragma once

#include <functional>
#include <vector>

#include "platform/Classes.h"
#include "platform/Streams.h"

namespace zel {

class TReader;
class TWriter;
class TCollection;

enum class TValueType : Byte {
  vaNull = 0,
  vaList = 1,
  vaInt8 = 2,
  vaInt16 = 3,
  vaInt32 = 4,
  vaExtended = 5,
  vaString = 6,
  vaIdent = 7,
  vaFalse = 8,
  vaTrue = 9,
  vaBinary = 10,
  vaSet = 11,
  vaLString = 12,
  vaNil = 13,
  vaCollection = 14,
  vaSingle = 15,
  vaCurrency = 16,
  vaDate = 17,
  vaWString = 18,
  vaInt64 = 19,
  vaUTF8String = 20,
  vaDouble = 21,
};

inline const char* const SInvalidPropertyValue = "Invalid property value";
inline const char* const SUnknownProperty = "Error reading %s.%s: Property %s does not exist";

using TReaderProc = std::function<void(TReader* Reader)>;
using TWriterProc = std::function<void(TWriter* Writer)>;
using TStreamProc = std::function<void(TStream* Stream)>;

// The 10-byte x87 extended format (64-bit significand with explicit integer bit, 15-bit
// exponent, sign), little-endian. Every double converts exactly; the way back rounds to
// nearest even, overflows to infinity and keeps NaNs as NaNs.
void DoubleToExtended(double Value, Byte (&Bytes)[10]);
double ExtendedToDouble(const Byte (&Bytes)[10]);

class TFiler : public TObject {
  ZEL_CLASS(TFiler, TObject)
 public:
  explicit TFiler(TStream* AStream);

  // A property with a reader and a writer of its value. A writer writes it when HasData is
  // true and WriteData is set; a reader calls ReadData when the property's name comes up.
  virtual void DefineProperty(const String& Name, const TReaderProc& ReadData,
                              const TWriterProc& WriteData, bool HasData) = 0;
  // A property whose value is a block of bytes (vaBinary); the callbacks see the block as a
  // stream of its own.
  virtual void DefineBinaryProperty(const String& Name, const TStreamProc& ReadData,
                                    const TStreamProc& WriteData, bool HasData) = 0;

  TStream* GetStream() const { return FStream; }
  // What the object being filed is compared with (nullptr: no ancestor).
  TPersistent* GetAncestor() const { return FAncestor; }
  void SetAncestor(TPersistent* Value) { FAncestor = Value; }
  TComponent* GetRoot() const { return FRoot; }
  void SetRoot(TComponent* Value) { FRoot = Value; }

 protected:
  TStream* FStream;
  TPersistent* FAncestor = nullptr;
  TComponent* FRoot = nullptr;
};

class TWriter : public TFiler {
  ZEL_CLASS(TWriter, TFiler)
 public:
  explicit TWriter(TStream* AStream) : TFiler(AStream) {}

  void DefineProperty(const String& Name, const TReaderProc& ReadData, const TWriterProc& WriteData,
                      bool HasData) override;
  void DefineBinaryProperty(const String& Name, const TStreamProc& ReadData,
                            const TStreamProc& WriteData, bool HasData) override;

  // Raw bytes, no value type.
  void Write(const void* Buffer, Int64 Count);
  void WriteValue(TValueType Value);
  // A short string without value type (length byte + bytes); EWriteError beyond 255 bytes.
  void WriteStr(const String& Value);
  // The property name (prefixed by the property path) in the WriteStr form.
  void WritePropName(const String& Name);
  const String& GetPropPath() const { return FPropPath; }
  void SetPropPath(const String& Value) { FPropPath = Value; }

  // The smallest of vaInt8, vaInt16, vaInt32, vaInt64 that holds Value.
  void WriteInteger(Int64 Value);
  void WriteFloat(double Value);  // vaExtended
  void WriteSingle(float Value);
  void WriteDouble(double Value);
  void WriteDate(TDateTime Value);
  // ASCII text: vaString (up to 255 bytes) or vaLString; any other: vaUTF8String.
  void WriteString(const String& Value);
  void WriteBoolean(bool Value);
  // "False", "True", "nil", "Null" (any case) as their own value types; others vaIdent.
  void WriteIdent(const String& Ident);
  void WriteListBegin();
  void WriteListEnd();
  // vaBinary: the int32 length and the bytes that WriteData writes into a stream of its own.
  void WriteBinary(const TStreamProc& WriteData);
  void WriteBinary(const void* Data, Int64 Count);
  // vaCollection, then per item: list begin, its properties, list end; then list end.
  void WriteCollection(TCollection* Value);
  // The defined properties of Instance whose HasData is true, as (name, value) pairs.
  void WriteProperties(TPersistent* Instance);

 private:
  String FPropPath;
};

class TReader : public TFiler {
  ZEL_CLASS(TReader, TFiler)
 public:
  explicit TReader(TStream* AStream) : TFiler(AStream) {}

  void DefineProperty(const String& Name, const TReaderProc& ReadData, const TWriterProc& WriteData,
                      bool HasData) override;
  void DefineBinaryProperty(const String& Name, const TStreamProc& ReadData,
                            const TStreamProc& WriteData, bool HasData) override;

  // Raw bytes; EReadError "Stream read error" when the stream ends first.
  void Read(void* Buffer, Int64 Count);
  TValueType ReadValue();
  // The next value type, not consumed.
  TValueType NextValue();
  // Reads a value type and raises "Invalid property value" when it is not Value.
  void CheckValue(TValueType Value);
  bool EndOfList();
  void ReadListBegin();
  void ReadListEnd();

  String ReadStr();
  // Accepts vaInt8, vaInt16, vaInt32.
  std::int32_t ReadInteger();
  // Accepts vaInt8, vaInt16, vaInt32, vaInt64.
  Int64 ReadInt64();
  // Each accepts every floating-point kind (extended, single, double, currency, date) and the
  // integer kinds, converted.
  double ReadFloat();
  float ReadSingle();
  double ReadDouble();
  TDateTime ReadDate();
  // Accepts vaString, vaLString, vaUTF8String and vaWString (UTF-16, returned as UTF-8).
  String ReadString();
  bool ReadBoolean();
  // vaIdent, or "False", "True", "nil", "Null" for their value types.
  String ReadIdent();
  void ReadBinary(const TStreamProc& ReadData);
  std::vector<Byte> ReadBinary();
  // Clears Value and reads the items WriteCollection wrote, inside an update bracket.
  void ReadCollection(TCollection* Value);
  // Skips one value of any type, lists and collections included.
  void SkipValue();
  // Reads one (name, value) pair into Instance.
  void ReadProperty(TPersistent* Instance);
  // Reads pairs until the list-end marker, which stays unread.
  void ReadProperties(TPersistent* Instance);

 private:
  [[noreturn]] void PropValueError();
  void SkipBytes(Int64 Count);
  void CheckRemaining(Int64 Count);
  std::int32_t ReadLength();
  void SkipValue(int Depth);

  String FPropName;
  bool FPropFound = false;
};

}  // namespace zel
