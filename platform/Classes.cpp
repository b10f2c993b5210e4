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
  return FComponents[FHead + static_cast<size_t>(Index)];
}

int TComponent::GetComponentIndex() const {
  if (!FOwner) return -1;
  return static_cast<int>(FSlot - FOwner->FHead);
}

void TComponent::SetComponentIndex(int Value) {
  if (!FOwner) return;
  TComponent* O = FOwner;
  auto& L = O->FComponents;
  const int I = GetComponentIndex();
  const int Count = O->GetComponentCount();
  if (Value < 0) Value = 0;
  if (Value >= Count) Value = Count - 1;
  if (Value == I) return;
  const auto Head = static_cast<std::ptrdiff_t>(O->FHead);
  L.erase(L.begin() + Head + I);
  L.insert(L.begin() + Head + Value, this);
  O->Renumber(O->FHead + static_cast<size_t>(std::min(I, Value)));
  // The listeners keep the list's order.
  O->FListeners.clear();
  for (size_t K = O->FHead; K < L.size(); ++K)
    if (L[K]->Listens()) O->FListeners.push_back(L[K]);
}

void TComponent::Renumber(size_t From) {
  for (size_t K = From; K < FComponents.size(); ++K) FComponents[K]->FSlot = K;
}

TComponent* TComponent::FindComponent(const String& AName) const {
  if (AName.empty()) return nullptr;
  for (size_t K = FHead; K < FComponents.size(); ++K)
    if (TComponent* C = FComponents[K]; C->FName.size() == AName.size() &&
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
  const bool WasListening = Listens();
  AComponent->FSlot = FComponents.size();
  FComponents.push_back(AComponent);
  AComponent->FOwner = this;
  if (AComponent->Listens()) FListeners.push_back(AComponent);
  ListeningChanged(WasListening);
}

void TComponent::Remove(TComponent* AComponent) {
  if (AComponent->FOwner != this) return;
  const bool WasListening = Listens();
  size_t Slot = AComponent->FSlot;
  if (Slot >= FComponents.size() || FComponents[Slot] != AComponent) return;
  if (AComponent->Listens()) {
    auto It = std::find(FListeners.rbegin(), FListeners.rend(), AComponent);
    if (It != FListeners.rend()) FListeners.erase(std::next(It).base());
  }
  if (Slot + 1 == FComponents.size()) {
    FComponents.pop_back();
  } else if (Slot == FHead) {
    // Taken from the front: the slot stays empty until the front holds half the list.
    FComponents[Slot] = nullptr;
    ++FHead;
    if (FHead * 2 > FComponents.size()) {
      FComponents.erase(FComponents.begin(), FComponents.begin() + static_cast<std::ptrdiff_t>(FHead));
      FHead = 0;
      Renumber(0);
    }
  } else {
    FComponents.erase(FComponents.begin() + static_cast<std::ptrdiff_t>(Slot));
    Renumber(Slot);
  }
  if (FComponents.size() == FHead) {
    FComponents.clear();
    FHead = 0;
  }
  AComponent->FOwner = nullptr;
  ListeningChanged(WasListening);
}

void TComponent::ListeningChanged(bool Was) {
  const bool Now = Listens();
  if (Now == Was || !FOwner) return;
  TComponent* O = FOwner;
  if (Now) {
    // In list order: after the last listener that comes before this component.
    auto It = std::upper_bound(O->FListeners.begin(), O->FListeners.end(), FSlot,
                               [](size_t Slot, const TComponent* C) { return Slot < C->FSlot; });
    O->FListeners.insert(It, this);
  } else {
    auto It = std::find(O->FListeners.begin(), O->FListeners.end(), this);
    if (It != O->FListeners.end()) O->FListeners.erase(It);
  }
}

void TComponent::SetHearsOwnerNotifications(bool Value) {
  if (FHearsAll == Value) return;
  const bool Was = Listens();
  FHearsAll = Value;
  ListeningChanged(Was);
}

void TComponent::DestroyComponents() {
  // Owned components go last first, each removed from the list before it is freed.
  while (FComponents.size() > FHead) {
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
  for (size_t K = FHead; K < FComponents.size(); ++K) FComponents[K]->Destroying();
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
  if (FComponents.size() == FHead) return;
  // Those that hear of every change, and those linked with AComponent, last first.
  std::vector<TComponent*> Told(FListeners);
  if (AComponent)
    for (TComponent* C : AComponent->FFreeNotifies)
      if (C->FOwner == this && !C->Listens()) Told.push_back(C);
  if (Told.empty()) return;
  std::sort(Told.begin(), Told.end(), [](const TComponent* A, const TComponent* B) { return A->FSlot > B->FSlot; });
  Told.erase(std::unique(Told.begin(), Told.end()), Told.end());
  for (TComponent* C : Told) {
    // One told earlier may have freed or moved later ones.
    if (C->FOwner == this && C->FSlot < FComponents.size() && FComponents[C->FSlot] == C)
      C->Notification(AComponent, Operation);
  }
}

void TComponent::SetComponentStateItem(TComponentStateItem Item, bool On) {
  if (On)
    FComponentState.Include(Item);
  else
    FComponentState.Exclude(Item);
}

}  // namespace zel
