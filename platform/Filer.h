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
//
// Properties: WriteProperties writes the published properties of the instance's class
// (platform/Published.h) that its stored rules allow, then the ones DefineProperties defines. A
// sub-object's properties are written as "Sub.Name" (the property path). ReadProperty follows
// such a path through the published sub-objects and then looks the last name up in the
// published table, then in DefineProperties.
//
// Components: a stream of a component tree is the signature "TPF0", then per component its class
// name and name (WriteStr form), its properties, a list end, its children (GetChildren) and a
// list end. Reading creates each child by its registered class with the root (or the parent's
// GetChildOwner) as owner and hands it to its parent (SetParentComponent) before its properties
// are read; references to components travel as names and are resolved once the whole tree is
// read; then every component read gets Loaded, in reading order. A stream that fails frees every
// component the reader created, takes the loading state off the others and raises EReadError
// "Error reading <component>.<property>: <reason>" (EClassNotFound for an unknown class).
#pragma once

#include <functional>
#include <map>
#include <vector>

#include "platform/Classes.h"
#include "platform/Streams.h"

namespace zel {

class TReader;
class TWriter;
class TCollection;
struct TPropInfo;

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

// True while a reader assigns a value read from a stream to a published property or a
// reference. A setter whose side effect would change another stored value (a round size that
// turns the shape's style round, a place that turns the custom position off) skips that effect
// then: each value comes back as it was stored, whatever order the values come in. Everything
// else a setter does (repaint, recalculation) still happens. A side effect that only sets the
// flag a value is stored with (a left edge turning the custom position on) is kept: every
// stream that holds the value holds the flag as the effect sets it.
bool ReadingStoredValue();

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
  // vaBinary: the int32 length and the bytes that WriteData writes. WriteData gets the writer's
  // stream at the block's start and writes the block there, moving only forward.
  void WriteBinary(const TStreamProc& WriteData);
  void WriteBinary(const void* Data, Int64 Count);
  // vaCollection, then per item: list begin, its properties, list end; then list end.
  void WriteCollection(TCollection* Value);
  // The published properties of Instance that are stored, then the defined properties whose
  // HasData is true, as (name, value) pairs.
  void WriteProperties(TPersistent* Instance);

  // The signature, then Root and its tree (Root becomes the writer's root). A reference to a
  // component of the tree is written as the reader will find it (its name, after the name of
  // the component that will own it when read, unless that is the root), whatever owns it now.
  void WriteRootComponent(TComponent* Root);
  // One component: class name, name, properties, list end, children, list end.
  void WriteComponent(TComponent* Component);
  void WriteSignature();

 private:
  void WritePublished(TObject* Instance, const TPropInfo* Prop);
  // Records the name under which the reader finds each child of Component (ReadOwner the
  // component that will own them), and so on down the tree.
  void CollectStreamNames(TComponent* Component, int Depth);
  // The name a reference to Ref is written as.
  String ReferenceName(TComponent* Ref) const;

  String FPropPath;
  std::map<const TComponent*, String> FStreamNames;  // the components of the tree being written
  int FDepth = 0;
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

  // Reads a whole stream written by WriteRootComponent into Root, or into a new component of
  // the stream's class when Root is nullptr (freed again when reading fails). Returns the root.
  TComponent* ReadRootComponent(TComponent* Root);
  // Reads one child component (class, name, state) and returns it; created with the current
  // owner and handed to the current parent.
  TComponent* ReadComponent(TComponent* Component);
  // A component's state: properties, list end, children, list end (TComponent::ReadState).
  void ReadData(TComponent* Instance);
  void ReadSignature();
  // The property whose value is being read ("Title.Font.Size"), for messages.
  const String& GetReadingName() const { return FReadingName; }

 private:
  struct TFixup {
    TObject* Instance;
    const TPropInfo* Prop;
    String Name;
  };
  void ReadPublished(TObject* Instance, const TPropInfo* Prop);
  void ResolveFixups();
  TComponent* FindReference(const String& Name) const;
  // A name qualified by owners that are not here ("Form1.Series1" written from a chart whose
  // parts its form owned): the component read from this stream that the rest of it names.
  TComponent* FindReadQualified(const String& Name) const;
  [[noreturn]] void ComponentError(TComponent* Component, const char* Reason);

  [[noreturn]] void PropValueError();
  void SkipBytes(Int64 Count);
  void CheckRemaining(Int64 Count);
  std::int32_t ReadLength();
  // The value type vaBinary and the length of its block, checked against what the stream holds.
  std::int32_t ReadBinaryLength();
  void SkipValue(int Depth);

  String FPropName;
  bool FPropFound = false;
  String FReadingName;
  TComponent* FOwner = nullptr;
  TComponent* FParent = nullptr;
  int FDepth = 0;
  std::vector<TFixup> FFixups;
  std::vector<TComponent*> FLoaded;   // every component read, in reading order
  std::vector<TComponent*> FCreated;  // the ones this reader created
};

}  // namespace zel
