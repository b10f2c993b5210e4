#include "platform/Classes.h"

#include <algorithm>
#include <map>

namespace zel {

namespace {
std::map<String, const TClass*>& ClassRegistry() {
  static std::map<String, const TClass*> R;
  return R;
}
}  // namespace

TObject* TClass::Create(TComponent* Owner) const {
  if (!Factory) throw EClassNotFound(String("Class ") + Name + " cannot be created");
  return Factory(Owner);
}

void RegisterClass(const TClass* Class) { ClassRegistry()[Class->Name] = Class; }

void UnRegisterClass(const TClass* Class) {
  auto It = ClassRegistry().find(Class->Name);
  if (It != ClassRegistry().end() && It->second == Class) ClassRegistry().erase(It);
}

const TClass* GetClass(const String& Name) {
  auto It = ClassRegistry().find(Name);
  return It == ClassRegistry().end() ? nullptr : It->second;
}

const TClass* FindClass(const String& Name) {
  const TClass* C = GetClass(Name);
  if (!C) throw EClassNotFound("Class " + Name + " not found");
  return C;
}

// TObject

const TClass* TObject::StaticClass() {
  static const TClass C{"TObject", nullptr, nullptr, {}};
  return &C;
}

void TObject::Free() {
  BeforeDestruction();
  delete this;
}

// TPersistent

ZEL_DEFINE_CLASS(TPersistent, TObject)

void TPersistent::Assign(TPersistent* Source) {
  if (Source) {
    Source->AssignTo(this);
    return;
  }
  AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* Dest) { Dest->AssignError(this); }

void TPersistent::AssignError(TPersistent* Source) {
  String SourceName = Source ? Source->ClassName() : String("nil");
  throw EConvertError("Cannot assign a " + SourceName + " to a " + ClassName());
}

String TPersistent::GetNamePath() const { return ClassName(); }

void TPersistent::DefineProperties(TFiler*) {}

// TComponent

ZEL_DEFINE_COMPONENT_CLASS(TComponent, TPersistent)

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  // Free() ran Destroying() already; a plain delete gets the same protocol here.
  if (!IsDestroying()) Destroying();
  while (!FFreeNotifies.empty()) {
    TComponent* C = FFreeNotifies.back();
    FFreeNotifies.pop_back();
    C->RemoveNotification(this);
    C->Notification(this, TOperation::opRemove);
  }
  DestroyComponents();
  if (FOwner) FOwner->RemoveComponent(this);
}

TComponent* TComponent::GetComponent(int Index) const {
  if (Index < 0 || Index >= GetComponentCount())
    throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  return FComponents[static_cast<size_t>(Index)];
}

int TComponent::GetComponentIndex() const {
  if (!FOwner) return -1;
  auto& L = FOwner->FComponents;
  auto It = std::find(L.begin(), L.end(), this);
  return It == L.end() ? -1 : static_cast<int>(It - L.begin());
}

void TComponent::SetComponentIndex(int Value) {
  if (!FOwner) return;
  auto& L = FOwner->FComponents;
  int I = GetComponentIndex();
  if (I < 0) return;
  int Count = static_cast<int>(L.size());
  if (Value < 0) Value = 0;
  if (Value >= Count) Value = Count - 1;
  if (Value == I) return;
  L.erase(L.begin() + I);
  L.insert(L.begin() + Value, this);
}

TComponent* TComponent::FindComponent(const String& AName) const {
  if (AName.empty()) return nullptr;
  for (TComponent* C : FComponents)
    if (C->FName.size() == AName.size() &&
        std::equal(C->FName.begin(), C->FName.end(), AName.begin(),
                   [](char A, char B) { return std::tolower((unsigned char)A) == std::tolower((unsigned char)B); }))
      return C;
  return nullptr;
}

void TComponent::SetName(const String& NewName) { FName = NewName; }

void TComponent::InsertComponent(TComponent* AComponent) {
  if (AComponent->FOwner) AComponent->FOwner->RemoveComponent(AComponent);
  Insert(AComponent);
  Notification(AComponent, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
  Notification(AComponent, TOperation::opRemove);
  Remove(AComponent);
}

void TComponent::Insert(TComponent* AComponent) {
  FComponents.push_back(AComponent);
  AComponent->FOwner = this;
}

void TComponent::Remove(TComponent* AComponent) {
  auto It = std::find(FComponents.begin(), FComponents.end(), AComponent);
  if (It != FComponents.end()) FComponents.erase(It);
  AComponent->FOwner = nullptr;
}

void TComponent::DestroyComponents() {
  // Owned components go last first, each removed from the list before it is freed.
  while (!FComponents.empty()) {
    TComponent* C = FComponents.back();
    Remove(C);
    C->Free();
  }
}

void TComponent::Loaded() { SetComponentStateItem(TComponentStateItem::csLoading, false); }

void TComponent::SetLoading(bool Value) { SetComponentStateItem(TComponentStateItem::csLoading, Value); }

void TComponent::Destroying() {
  if (IsDestroying()) return;
  FComponentState.Include(TComponentStateItem::csDestroying);
  for (TComponent* C : FComponents) C->Destroying();
}

void TComponent::BeforeDestruction() {
  if (!IsDestroying()) Destroying();
}

void TComponent::FreeNotification(TComponent* AComponent) {
  if (!AComponent || AComponent == this) return;
  if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end()) {
    FFreeNotifies.push_back(AComponent);
    AComponent->FreeNotification(this);
  }
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
  RemoveNotification(AComponent);
  AComponent->RemoveNotification(this);
}

void TComponent::RemoveNotification(TComponent* AComponent) {
  auto It = std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent);
  if (It != FFreeNotifies.end()) FFreeNotifies.erase(It);
}

void TComponent::GetChildren(const std::function<void(TComponent*)>&, TComponent*) {}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == TOperation::opRemove && AComponent) RemoveFreeNotification(AComponent);
  for (size_t I = FComponents.size(); I-- > 0;) {
    if (I < FComponents.size()) FComponents[I]->Notification(AComponent, Operation);
  }
}

void TComponent::SetComponentStateItem(TComponentStateItem Item, bool On) {
  if (On)
    FComponentState.Include(Item);
  else
    FComponentState.Exclude(Item);
}

}  // namespace zel
