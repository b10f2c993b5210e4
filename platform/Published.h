// Published properties: the per-class tables that component streaming writes and reads.
//
// A class that publishes properties declares ZEL_PUBLISHED_PROPS in its body (after ZEL_CLASS)
// and defines its table once, beside the class in its .cpp:
//
//   ZEL_BEGIN_PUBLISHED(TZelPen)
//     P::Prop("Color", &Self::GetColor, &Self::SetColor, &Self::IsColorStored),
//     P::Prop("SmallSpace", &Self::GetSmallSpace, &Self::SetSmallSpace, Default(0)),
//     P::Obj("Fill", &Self::GetFill, &Self::ExistingFill),
//     P::Event("OnChange", &Self::OnChange),
//   ZEL_END_PUBLISHED
//
// One line per property, in the order they are written. The kind follows the getter's type:
// bool, integers and colours, float (written as single), double, String, enums (by name: the
// enum needs ZEL_ENUM_NAMES), TSet<enum> (a set of names), a component pointer (a reference,
// written as the component's name and resolved when the whole stream is read). `Obj` is a
// sub-object the instance owns: a TPersistent is written as "Name.Sub" properties, a TCollection
// as a collection of items, a TStrings as "Name.Strings"; the optional second getter reads it
// without creating it, and nothing is written while it does not exist. `Event` is a std::function
// member, stored by the name of the handler it was bound to (TMethodTable).
//
// The stored rule of a value: a predicate member (`&Self::IsColorStored`), `Default(v)` (written
// when it differs from v), `DefaultOrMade(v, m)` (written when it differs from v or from m, what
// construction leaves), `Always` or `Never` (read, not written). A class's list is its
// ancestors' tables followed by its own; a name it lists again keeps the ancestor's place and
// takes the new line (a redeclared default or stored rule).
#pragma once

#include <any>
#include <functional>
#include <limits>
#include <map>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/Classes.h"
#include "platform/Exceptions.h"
#include "platform/Types.h"

namespace zel {

class TWriter;
class TReader;
class TCollection;
class TStrings;

// The names of an enum's values, in order of their values.
struct TEnumNames {
  const char* TypeName;
  std::vector<const char*> Names;
  // The value of a name (any case); -1 when unknown.
  int ValueOf(const String& Name) const;
  // The name of a value; raises EWriteError for a value without a name.
  const char* NameOf(int Value) const;
};

template <typename E>
struct TEnumNamesOf;  // specialised by ZEL_ENUM_NAMES

// Names the values of an enum class, in order: ZEL_ENUM_NAMES(TPenStyle, "psSolid", "psDash", ...).
// Put it at namespace zel scope in a header that the tables include (next to the enum).
#define ZEL_ENUM_NAMES(E, ...)                                           \
  template <>                                                            \
  struct TEnumNamesOf<E> {                                               \
    static const ::zel::TEnumNames* Get() {                              \
      static const ::zel::TEnumNames N{#E, {__VA_ARGS__}};               \
      return &N;                                                         \
    }                                                                    \
  }

enum class TPropKind { pkBoolean, pkInteger, pkSingle, pkFloat, pkString, pkEnum, pkSet, pkObject, pkReference, pkEvent };

struct TPropInfo {
  const char* Name = "";
  TPropKind Kind = TPropKind::pkInteger;
  const TEnumNames* Enum = nullptr;                       // enums and sets
  const TClass* RefClass = nullptr;                       // references: the class they accept
  std::function<bool(TObject*)> Stored;                   // written only when true
  std::function<void(TObject*, TWriter*)> Write;          // value kinds
  std::function<void(TObject*, TReader*)> Read;           // value kinds
  std::function<TObject*(TObject*)> GetObject;            // objects: creating; references: current
  std::function<TObject*(TObject*)> ExistingObject;       // objects: without creating
  std::function<void(TObject*, TComponent*)> SetRef;      // references
  std::function<bool(TObject*)> EventAssigned;            // events
  std::function<bool(TObject*, const std::any&)> SetEvent;  // events: false for a handler of another type
};

class TPropList {
 public:
  TPropList(const TClass* Class, std::vector<TPropInfo> Props) : FClass(Class), FProps(std::move(Props)) {}
  const TClass* GetClass() const { return FClass; }
  const std::vector<TPropInfo>& GetProps() const { return FProps; }

 private:
  const TClass* FClass;
  std::vector<TPropInfo> FProps;
};

// Every published property of a class (see the head of this file for the order).
const std::vector<const TPropInfo*>& PublishedPropsOf(const TClass* Class);
// The published property of that name (any case), or nullptr.
const TPropInfo* FindPublishedProp(const TClass* Class, const String& Name);

// Event handlers a root component offers to the streams read into it, by name, and the names
// of the handlers its streams bound (so that writing gives the names back).
class TMethodTable {
 public:
  // Handler is of the event's exact type (TNotifyEvent ...).
  template <typename F>
  void Add(const String& Name, F Handler) {
    FMethods[Name] = std::any(std::move(Handler));
  }
  const std::any* Find(const String& Name) const;
  void SetBoundName(const TObject* Instance, const String& Event, const String& Method);
  // The name the event of Instance was bound to; empty when none.
  String BoundName(const TObject* Instance, const String& Event) const;

 private:
  std::map<String, std::any> FMethods;
  std::map<std::pair<const TObject*, String>, String> FBound;
};

// Stored rules.
template <typename V>
struct TDefaultValue {
  V Value;
};
template <typename V>
TDefaultValue<V> Default(V Value) {
  return {Value};
}
// A stored default that construction does not leave: the value is written when it differs from
// the stored default or from what construction left (Made: a value, or a member of the class
// where the owner's construction records it), so that a value the object would not have after
// construction is always written, and one it would have is written as the stored default says.
template <typename V, typename M>
struct TDefaultOrMade {
  V Value;
  M Made;
};
template <typename V, typename M>
TDefaultOrMade<V, M> DefaultOrMade(V Value, M Made) {
  return {Value, Made};
}
struct TStoredAlways {};
struct TStoredNever {};
inline constexpr TStoredAlways Always{};
inline constexpr TStoredNever Never{};

namespace published_detail {

template <typename T>
struct IsSet : std::false_type {};
template <typename E>
struct IsSet<TSet<E>> : std::true_type {
  using Enum = E;
};
template <typename T>
struct IsFunction : std::false_type {};
template <typename F>
struct IsFunction<std::function<F>> : std::true_type {};

// Value transport between a property and the stream (Filer.cpp).
void WriteBool(TWriter* W, bool V);
void WriteInt(TWriter* W, Int64 V);
void WriteSingleValue(TWriter* W, float V);
void WriteFloatValue(TWriter* W, double V);
void WriteStringValue(TWriter* W, const String& V);
void WriteIdentValue(TWriter* W, const String& V);
void WriteSetValue(TWriter* W, const TEnumNames* N, std::uint64_t Bits);
bool ReadBool(TReader* R);
Int64 ReadInt(TReader* R);
double ReadFloatValue(TReader* R);
String ReadStringValue(TReader* R);
int ReadEnumValue(TReader* R, const TEnumNames* N);
std::uint64_t ReadSetValue(TReader* R, const TEnumNames* N);

template <typename C, typename V, typename St, typename G>
std::function<bool(TObject*)> StoredRule(St Stored, G Get) {
  if constexpr (std::is_same_v<St, TStoredAlways>) {
    return [](TObject*) { return true; };
  } else if constexpr (std::is_same_v<St, TStoredNever>) {
    return [](TObject*) { return false; };
  } else if constexpr (requires { Stored.Made; }) {
    const V D = static_cast<V>(Stored.Value);
    const auto M = Stored.Made;
    return [D, M, Get](TObject* O) {
      const V X = std::invoke(Get, static_cast<C*>(O));
      if constexpr (std::is_member_object_pointer_v<decltype(M)>)
        return !(X == D) || !(X == static_cast<V>(static_cast<C*>(O)->*M));
      else
        return !(X == D) || !(X == static_cast<V>(M));
    };
  } else if constexpr (requires { Stored.Value; }) {
    const V D = static_cast<V>(Stored.Value);
    return [D, Get](TObject* O) { return !(std::invoke(Get, static_cast<C*>(O)) == D); };
  } else {
    return [Stored](TObject* O) -> bool { return std::invoke(Stored, static_cast<C*>(O)); };
  }
}

}  // namespace published_detail

// Makes the table lines of class C (ZEL_BEGIN_PUBLISHED names it P).
template <typename C>
struct TPropMaker {
  // A value, reference or set property.
  template <typename G, typename S, typename St>
  static TPropInfo Prop(const char* Name, G Get, S Set, St Stored) {
    using namespace published_detail;
    using V = std::remove_cvref_t<std::invoke_result_t<G, C*>>;
    TPropInfo I;
    I.Name = Name;
    I.Stored = StoredRule<C, V>(Stored, Get);
    if constexpr (std::is_pointer_v<V>) {
      using T = std::remove_pointer_t<V>;
      static_assert(std::is_base_of_v<TComponent, T>, "a pointer property refers to a component");
      I.Kind = TPropKind::pkReference;
      I.RefClass = T::StaticClass();
      I.GetObject = [Get](TObject* O) -> TObject* { return std::invoke(Get, static_cast<C*>(O)); };
      I.SetRef = [Set](TObject* O, TComponent* R) { std::invoke(Set, static_cast<C*>(O), static_cast<T*>(R)); };
      auto Prev = I.Stored;
      I.Stored = [Prev, Get](TObject* O) { return std::invoke(Get, static_cast<C*>(O)) != nullptr && Prev(O); };
    } else if constexpr (std::is_same_v<V, bool>) {
      I.Kind = TPropKind::pkBoolean;
      I.Write = [Get](TObject* O, TWriter* W) { WriteBool(W, std::invoke(Get, static_cast<C*>(O))); };
      I.Read = [Set](TObject* O, TReader* R) { std::invoke(Set, static_cast<C*>(O), ReadBool(R)); };
    } else if constexpr (std::is_enum_v<V>) {
      I.Kind = TPropKind::pkEnum;
      I.Enum = TEnumNamesOf<V>::Get();
      const TEnumNames* N = I.Enum;
      I.Write = [Get, N](TObject* O, TWriter* W) {
        WriteIdentValue(W, N->NameOf(static_cast<int>(std::invoke(Get, static_cast<C*>(O)))));
      };
      I.Read = [Set, N](TObject* O, TReader* R) { std::invoke(Set, static_cast<C*>(O), static_cast<V>(ReadEnumValue(R, N))); };
    } else if constexpr (IsSet<V>::value) {
      I.Kind = TPropKind::pkSet;
      I.Enum = TEnumNamesOf<typename IsSet<V>::Enum>::Get();
      const TEnumNames* N = I.Enum;
      I.Write = [Get, N](TObject* O, TWriter* W) { WriteSetValue(W, N, std::invoke(Get, static_cast<C*>(O)).Raw()); };
      I.Read = [Set, N](TObject* O, TReader* R) { std::invoke(Set, static_cast<C*>(O), V::FromRaw(ReadSetValue(R, N))); };
    } else if constexpr (std::is_integral_v<V>) {
      I.Kind = TPropKind::pkInteger;
      I.Write = [Get](TObject* O, TWriter* W) {
        const V X = std::invoke(Get, static_cast<C*>(O));
        // Unsigned 32-bit values (colours) travel as their signed bit pattern.
        if constexpr (std::is_unsigned_v<V> && sizeof(V) == 4)
          WriteInt(W, static_cast<std::int32_t>(X));
        else
          WriteInt(W, static_cast<Int64>(X));
      };
      I.Read = [Set](TObject* O, TReader* R) {
        const Int64 X = ReadInt(R);
        if constexpr (std::is_unsigned_v<V> && sizeof(V) == 4) {
          if (X < INT32_MIN || X > UINT32_MAX) throw EReadError("Invalid property value");
          std::invoke(Set, static_cast<C*>(O), static_cast<V>(static_cast<std::uint32_t>(X)));
        } else {
          bool Fits;
          if constexpr (std::is_signed_v<V>)
            Fits = X >= static_cast<Int64>(std::numeric_limits<V>::min()) &&
                   X <= static_cast<Int64>(std::numeric_limits<V>::max());
          else
            Fits = X >= 0 && static_cast<std::uint64_t>(X) <= static_cast<std::uint64_t>(std::numeric_limits<V>::max());
          if (!Fits) throw EReadError("Invalid property value");
          std::invoke(Set, static_cast<C*>(O), static_cast<V>(X));
        }
      };
    } else if constexpr (std::is_same_v<V, float>) {
      I.Kind = TPropKind::pkSingle;
      I.Write = [Get](TObject* O, TWriter* W) { WriteSingleValue(W, std::invoke(Get, static_cast<C*>(O))); };
      I.Read = [Set](TObject* O, TReader* R) { std::invoke(Set, static_cast<C*>(O), static_cast<float>(ReadFloatValue(R))); };
    } else if constexpr (std::is_floating_point_v<V>) {
      I.Kind = TPropKind::pkFloat;
      I.Write = [Get](TObject* O, TWriter* W) { WriteFloatValue(W, std::invoke(Get, static_cast<C*>(O))); };
      I.Read = [Set](TObject* O, TReader* R) { std::invoke(Set, static_cast<C*>(O), static_cast<V>(ReadFloatValue(R))); };
    } else {
      static_assert(std::is_same_v<V, String>, "unsupported published property type");
      I.Kind = TPropKind::pkString;
      I.Write = [Get](TObject* O, TWriter* W) { WriteStringValue(W, std::invoke(Get, static_cast<C*>(O))); };
      I.Read = [Set](TObject* O, TReader* R) { std::invoke(Set, static_cast<C*>(O), ReadStringValue(R)); };
    }
    return I;
  }

  // An owned sub-object (persistent, collection or string list), always present.
  template <typename G>
  static TPropInfo Obj(const char* Name, G Get) {
    return Obj(Name, Get, Get);
  }
  // An owned sub-object created on first use: Existing reads it without creating it.
  template <typename G, typename E>
  static TPropInfo Obj(const char* Name, G Get, E Existing) {
    TPropInfo I;
    I.Name = Name;
    I.Kind = TPropKind::pkObject;
    I.GetObject = [Get](TObject* O) -> TObject* { return std::invoke(Get, static_cast<C*>(O)); };
    I.ExistingObject = [Existing](TObject* O) -> TObject* { return std::invoke(Existing, static_cast<C*>(O)); };
    I.Stored = [](TObject*) { return true; };
    return I;
  }
  // An owned sub-object written only while Stored holds.
  template <typename G, typename E, typename St>
  static TPropInfo Obj(const char* Name, G Get, E Existing, St Stored) {
    TPropInfo I = Obj(Name, Get, Existing);
    I.Stored = [Stored](TObject* O) -> bool { return std::invoke(Stored, static_cast<C*>(O)); };
    return I;
  }

  // An event: a std::function member stored by the name of its bound handler.
  template <typename F>
  static TPropInfo Event(const char* Name, F C::*Member) {
    static_assert(published_detail::IsFunction<F>::value, "an event is a std::function member");
    TPropInfo I;
    I.Name = Name;
    I.Kind = TPropKind::pkEvent;
    I.Stored = [](TObject*) { return true; };
    I.EventAssigned = [Member](TObject* O) { return static_cast<bool>(static_cast<C*>(O)->*Member); };
    I.SetEvent = [Member](TObject* O, const std::any& H) {
      const F* Handler = std::any_cast<F>(&H);
      if (!Handler) return false;
      static_cast<C*>(O)->*Member = *Handler;
      return true;
    };
    return I;
  }
};

#define ZEL_PUBLISHED_PROPS \
 public:                    \
  static const ::zel::TPropList* PublishedProps(); \
                            \
 private:

#define ZEL_BEGIN_PUBLISHED(Cls)                      \
  const ::zel::TPropList* Cls::PublishedProps() {     \
    using Self = Cls;                                 \
    using P = ::zel::TPropMaker<Cls>;                 \
    static const ::zel::TPropList L(Cls::StaticClass(), {
#define ZEL_END_PUBLISHED \
  });                     \
  return &L;              \
  }

}  // namespace zel
