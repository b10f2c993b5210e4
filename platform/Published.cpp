#include "platform/Published.h"

#include <map>

namespace zel {

namespace {

bool SameName(const char* A, const String& B) {
  std::size_t I = 0;
  for (; A[I] && I < B.size(); ++I) {
    unsigned char X = static_cast<unsigned char>(A[I]), Y = static_cast<unsigned char>(B[I]);
    if (X >= 'a' && X <= 'z') X = static_cast<unsigned char>(X - 32);
    if (Y >= 'a' && Y <= 'z') Y = static_cast<unsigned char>(Y - 32);
    if (X != Y) return false;
  }
  return !A[I] && I == B.size();
}

const TPropList* TableOf(const TClass* C) { return C && C->Published ? C->Published() : nullptr; }

}  // namespace

int TEnumNames::ValueOf(const String& Name) const {
  for (std::size_t I = 0; I < Names.size(); ++I)
    if (SameName(Names[I], Name)) return static_cast<int>(I);
  return -1;
}

const char* TEnumNames::NameOf(int Value) const {
  if (Value < 0 || static_cast<std::size_t>(Value) >= Names.size())
    throw EWriteError(String("Value ") + std::to_string(Value) + " of " + TypeName + " has no name");
  return Names[static_cast<std::size_t>(Value)];
}

const std::vector<const TPropInfo*>& PublishedPropsOf(const TClass* Class) {
  static std::map<const TClass*, std::vector<const TPropInfo*>> Cache;
  auto It = Cache.find(Class);
  if (It != Cache.end()) return It->second;
  std::vector<const TPropInfo*> List;
  if (Class) {
    List = PublishedPropsOf(Class->Parent);
    const TPropList* Own = TableOf(Class);
    // A class without a table of its own reports its parent's: one table, listed once.
    if (Own && Own != TableOf(Class->Parent)) {
      for (const TPropInfo& P : Own->GetProps()) {
        bool Replaced = false;
        for (const TPropInfo*& Q : List)
          if (SameName(Q->Name, P.Name)) {
            Q = &P;
            Replaced = true;
            break;
          }
        if (!Replaced) List.push_back(&P);
      }
    }
  }
  return Cache.emplace(Class, std::move(List)).first->second;
}

const TPropInfo* FindPublishedProp(const TClass* Class, const String& Name) {
  for (const TPropInfo* P : PublishedPropsOf(Class))
    if (SameName(P->Name, Name)) return P;
  return nullptr;
}

const std::any* TMethodTable::Find(const String& Name) const {
  auto It = FMethods.find(Name);
  return It == FMethods.end() ? nullptr : &It->second;
}

void TMethodTable::SetBoundName(const TObject* Instance, const String& Event, const String& Method) {
  FBound[{Instance, Event}] = Method;
}

String TMethodTable::BoundName(const TObject* Instance, const String& Event) const {
  auto It = FBound.find({Instance, Event});
  return It == FBound.end() ? String() : It->second;
}

}  // namespace zel
