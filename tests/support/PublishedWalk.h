// Walking every published value of a component tree, and reading or setting one value through
// its table line without a stream of the whole tree: the sweeps that check what storage keeps.
#pragma once

#include <functional>
#include <sstream>
#include <vector>

#include "platform/Classes.h"
#include "platform/Collections.h"
#include "platform/Filer.h"
#include "platform/Published.h"
#include "platform/Streams.h"
#include "tests/support/StreamText.h"

namespace zel::testing {

// Where a value lives: a component of the root (empty: the root itself), then the published
// sub-objects leading to the value's object; an item index follows a collection's name.
struct TPlace {
  struct TStep {
    String Prop;
    int Item = -1;
  };
  String Component;
  std::vector<TStep> Steps;

  TPlace With(const String& Prop, int Item = -1) const {
    TPlace P = *this;
    P.Steps.push_back({Prop, Item});
    return P;
  }
  String Text() const {
    String S = Component.empty() ? String("(root)") : Component;
    for (const TStep& St : Steps) {
      S += "." + St.Prop;
      if (St.Item >= 0) S += "[" + std::to_string(St.Item) + "]";
    }
    return S;
  }
};

using TValueVisit = std::function<void(TObject* Instance, const TPropInfo* Prop, const TPlace& Place)>;

// A part of a component tree as a path of published part names, entered level by level from
// the component ({"Legend", "Title"}: the legend's title); an item's index is not part of it.
using TPartPath = std::vector<String>;

// Where a walk goes: the values under the path Within (empty: the whole component), less those
// under any path of Besides. Only the parts it goes through are made.
struct TWalkLimits {
  TPartPath Within;
  std::vector<TPartPath> Besides;

  // Whether the walk enters the part Name of the object at Place.
  bool Enters(const TPlace& Place, const String& Name) const {
    const std::size_t Depth = Place.Steps.size();
    if (Depth < Within.size() && Within[Depth] != Name) return false;
    for (const TPartPath& B : Besides) {
      if (B.size() != Depth + 1 || B[Depth] != Name) continue;
      bool Same = true;
      for (std::size_t I = 0; I < Depth && Same; ++I) Same = B[I] == Place.Steps[I].Prop;
      if (Same) return false;
    }
    return true;
  }
  // Whether the walk visits the values of the object at Place (one it has entered).
  bool Visits(const TPlace& Place) const { return Place.Steps.size() >= Within.size(); }
};

// Visits every value property of Instance and of its published sub-objects, making the ones
// created on first use (a program looking at every part). With AddItems an empty collection
// gets one item first, so that the items' values are visited too. Limits keep the walk to a
// part of the tree.
inline void WalkValues(TObject* Instance, const TPlace& Place, const TValueVisit& Visit, bool AddItems,
                       const TWalkLimits& Limits = {}, int Depth = 0) {
  if (!Instance || Depth > 16) return;
  for (const TPropInfo* P : PublishedPropsOf(Instance->ClassType())) {
    switch (P->Kind) {
      case TPropKind::pkObject: {
        if (!Limits.Enters(Place, P->Name)) break;
        // A part of the kind that holds it (a gradient's sub-gradient, a shape's children) is
        // walked one level deep: every level below is the same.
        bool Again = false;
        for (const TPlace::TStep& St : Place.Steps) Again = Again || St.Prop == P->Name;
        if (Again) break;
        TObject* Sub = P->GetObject(Instance);
        if (auto* Coll = dynamic_cast<TCollection*>(Sub)) {
          if (AddItems && Coll->GetCount() == 0) Coll->Add();
          for (int I = 0; I < Coll->GetCount(); ++I)
            WalkValues(Coll->GetItem(I), Place.With(P->Name, I), Visit, AddItems, Limits, Depth + 1);
        } else if (Sub && !dynamic_cast<TComponent*>(Sub)) {
          WalkValues(Sub, Place.With(P->Name), Visit, AddItems, Limits, Depth + 1);
        }
        break;
      }
      case TPropKind::pkReference:
      case TPropKind::pkEvent: break;
      default:
        if (Visit && Limits.Visits(Place)) Visit(Instance, P, Place);
    }
  }
}

// The root, then every component it owns, each walked as above.
inline void WalkTree(TComponent* Root, const TValueVisit& Visit, bool AddItems) {
  WalkValues(Root, TPlace{}, Visit, AddItems);
  for (int I = 0; I < Root->GetComponentCount(); ++I) {
    TComponent* C = Root->GetComponent(I);
    WalkValues(C, TPlace{C->GetName(), {}}, Visit, AddItems);
  }
}

// The object at Place in the tree of Root (sub-objects made on first use are made); nullptr when
// it is not there.
inline TObject* ObjectAt(TComponent* Root, const TPlace& Place) {
  TObject* O = Place.Component.empty() ? Root : Root->FindComponent(Place.Component);
  for (const TPlace::TStep& St : Place.Steps) {
    if (!O) return nullptr;
    const TPropInfo* P = FindPublishedProp(O->ClassType(), St.Prop);
    if (!P || P->Kind != TPropKind::pkObject) return nullptr;
    O = P->GetObject(O);
    if (St.Item >= 0) {
      auto* Coll = dynamic_cast<TCollection*>(O);
      O = Coll && St.Item < Coll->GetCount() ? Coll->GetItem(St.Item) : nullptr;
    }
  }
  return O;
}

// A value as the bytes its table line writes.
inline std::vector<Byte> ValueBytes(TObject* Instance, const TPropInfo* Prop) {
  TMemoryStream S;
  TWriter W(&S);
  Prop->Write(Instance, &W);
  return S.GetBytes();
}

// Sets a value through its table line (its setter) from the bytes of a value.
inline void SetValueBytes(TObject* Instance, const TPropInfo* Prop, const std::vector<Byte>& Bytes) {
  TMemoryStream S;
  PutBytes(S, Bytes.data(), Bytes.size());
  TReader R(&S);
  Prop->Read(Instance, &R);
}

// A value's bytes as text, for messages.
inline String ValueText(const TPropInfo* Prop, const std::vector<Byte>& Bytes) {
  TMemoryStream S;
  PutBytes(S, Bytes.data(), Bytes.size());
  TReader R(&S);
  std::ostringstream Out;
  switch (Prop->Kind) {
    case TPropKind::pkBoolean: Out << (published_detail::ReadBool(&R) ? "True" : "False"); break;
    case TPropKind::pkInteger: Out << published_detail::ReadInt(&R); break;
    case TPropKind::pkSingle:
    case TPropKind::pkFloat: Out << published_detail::ReadFloatValue(&R); break;
    case TPropKind::pkString: Out << "'" << published_detail::ReadStringValue(&R) << "'"; break;
    case TPropKind::pkEnum: Out << Prop->Enum->NameOf(published_detail::ReadEnumValue(&R, Prop->Enum)); break;
    case TPropKind::pkSet: Out << "set " << published_detail::ReadSetValue(&R, Prop->Enum); break;
    default: Out << "?";
  }
  return Out.str();
}

// Values other than Current to try, in order, as bytes (a setter may refuse some).
inline std::vector<std::vector<Byte>> OtherValues(const TPropInfo* Prop, const std::vector<Byte>& Current) {
  TMemoryStream In;
  PutBytes(In, Current.data(), Current.size());
  TReader R(&In);
  std::vector<std::vector<Byte>> Out;
  auto Add = [&](const std::function<void(TWriter*)>& Put) {
    TMemoryStream S;
    TWriter W(&S);
    Put(&W);
    if (S.GetBytes() != Current) Out.push_back(S.GetBytes());
  };
  using namespace published_detail;
  switch (Prop->Kind) {
    case TPropKind::pkBoolean: {
      const bool B = ReadBool(&R);
      Add([&](TWriter* W) { WriteBool(W, !B); });
      break;
    }
    case TPropKind::pkInteger: {
      const Int64 V = ReadInt(&R);
      for (Int64 X : {V + 1, V - 1, V + 10, Int64(1), Int64(0), Int64(2), Int64(50)})
        Add([&](TWriter* W) { WriteInt(W, X); });
      break;
    }
    case TPropKind::pkSingle:
    case TPropKind::pkFloat: {
      const double V = ReadFloatValue(&R);
      const bool Single = Prop->Kind == TPropKind::pkSingle;
      for (double X : {V + 1, V - 1, V + 0.5, 1.0, 0.0, 50.0})
        Add([&](TWriter* W) { Single ? WriteSingleValue(W, static_cast<float>(X)) : WriteFloatValue(W, X); });
      break;
    }
    case TPropKind::pkString: {
      const String V = ReadStringValue(&R);
      for (const String& X : {V + "x", String("x"), String()})
        Add([&](TWriter* W) { WriteStringValue(W, X); });
      break;
    }
    case TPropKind::pkEnum: {
      const int V = ReadEnumValue(&R, Prop->Enum);
      const int N = static_cast<int>(Prop->Enum->Names.size());
      for (int K = 1; K < N; ++K) Add([&](TWriter* W) { WriteIdentValue(W, Prop->Enum->Names[(V + K) % N]); });
      break;
    }
    case TPropKind::pkSet: {
      const std::uint64_t V = ReadSetValue(&R, Prop->Enum);
      for (std::size_t K = 0; K < Prop->Enum->Names.size(); ++K)
        Add([&](TWriter* W) { WriteSetValue(W, Prop->Enum, V ^ (std::uint64_t(1) << K)); });
      break;
    }
    default: break;
  }
  return Out;
}

}  // namespace zel::testing
