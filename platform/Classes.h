// The object model: TObject with its metaclass, TPersistent and TComponent.
//
// Construction: objects whose constructors would call virtual operations are made through
// `Create<T>(args...)`, which runs the most derived constructor and then AfterConstruction(),
// where such calls belong. Destruction: `Free()` (or FreeAndNil) runs BeforeDestruction() --
// for components that is Destroying(), setting csDestroying -- before any destructor runs.
#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "platform/Exceptions.h"
#include "platform/Scope.h"
#include "platform/Types.h"

namespace zel {

class TObject;
class TComponent;
class TFiler;
class TReader;
class TPropList;
class TMethodTable;

// A class reference: name, parent, optional factory (the virtual constructor), description.
struct TClass {
  const char* Name;
  const TClass* Parent;
  TObject* (*Factory)(TComponent* Owner);
  String Description;
  // The class's published-property table (platform/Published.h); an undeclared table is the
  // parent's, so equal pointers along the parent chain are one table.
  const TPropList* (*Published)() = nullptr;

  bool InheritsFrom(const TClass* Other) const {
    for (const TClass* C = this; C; C = C->Parent)
      if (C == Other) return true;
    return false;
  }
  // Creates an instance through the factory (raises EClassNotFound when the class is abstract).
  TObject* Create(TComponent* Owner = nullptr) const;
};

// Registry of streamable classes, found by name.
void RegisterClass(const TClass* Class);
void UnRegisterClass(const TClass* Class);
const TClass* GetClass(const String& Name);   // nullptr when unknown
const TClass* FindClass(const String& Name);  // raises EClassNotFound "Class %s not found"

// Declares the metaclass members of a class; put it first in the class body.
#define ZEL_CLASS(Cls, ParentCls)                                                     \
 public:                                                                              \
  using inherited = ParentCls;                                                        \
  static const ::zel::TClass* StaticClass();                                          \
  const ::zel::TClass* ClassType() const override { return Cls::StaticClass(); }      \
                                                                                      \
 private:

// Defines the metaclass of a class without a factory (abstract or not constructible by name).
#define ZEL_DEFINE_CLASS(Cls, ParentCls)                                       \
  const ::zel::TClass* Cls::StaticClass() {                                    \
    static const ::zel::TClass C{#Cls, ParentCls::StaticClass(), nullptr, {}, &Cls::PublishedProps}; \
    return &C;                                                                 \
  }

// Defines the metaclass of a class constructible by name from an owner component.
#define ZEL_DEFINE_COMPONENT_CLASS(Cls, ParentCls)                                       \
  const ::zel::TClass* Cls::StaticClass() {                                              \
    static const ::zel::TClass C{                                                        \
        #Cls, ParentCls::StaticClass(),                                                  \
        [](::zel::TComponent* Owner) -> ::zel::TObject* { return ::zel::Create<Cls>(Owner); }, \
        {}, &Cls::PublishedProps};                                                       \
    return &C;                                                                           \
  }

class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;

  static const TClass* StaticClass();
  // The published-property table; a class that has one declares ZEL_PUBLISHED_PROPS.
  static const TPropList* PublishedProps() { return nullptr; }
  virtual const TClass* ClassType() const { return StaticClass(); }
  String ClassName() const { return ClassType()->Name; }
  bool InheritsFrom(const TClass* C) const { return ClassType()->InheritsFrom(C); }
  template <typename T>
  bool Is() const {
    return dynamic_cast<const T*>(this) != nullptr;
  }

  // Called by Create<T> after the most derived constructor ran.
  virtual void AfterConstruction() {}
  // Called by Free before any destructor runs.
  virtual void BeforeDestruction() {}
  // Runs BeforeDestruction and deletes the object; safe on nullptr.
  void Free();
};

// Creates an object of the most derived class and runs AfterConstruction().
template <typename T, typename... Args>
T* Create(Args&&... args) {
  T* Obj = new T(std::forward<Args>(args)...);
  TUndoOnFailure FreeObj([Obj] { Obj->Free(); });
  Obj->AfterConstruction();
  return Obj;
}

template <typename T>
void FreeAndNil(T*& Obj) {
  T* Tmp = Obj;
  Obj = nullptr;
  if (Tmp) Tmp->Free();
}

// Runs Body inside Target's BeginUpdate ... EndUpdate bracket (lists, collections, series). The
// bracket is ended also when Body throws; an error of EndUpdate itself then takes Body's place.
template <typename T, typename F>
void WithinUpdate(T& Target, F&& Body) {
  Target.BeginUpdate();
  TRestoreOnExit EndUpdate([&Target] { Target.EndUpdate(); });
  Body();
}

// Silences a change handler (a TNotifyEvent or other std::function member) for a scope and puts it
// back when the scope ends, also when an error leaves it.
template <typename E>
class TEventMute : public TValueScope<E> {
 public:
  explicit TEventMute(E& Event) : TValueScope<E>(Event, nullptr) {}
};

// Deleter for std::unique_ptr of TObject descendants: goes through Free().
struct TObjectDeleter {
  void operator()(TObject* Obj) const {
    if (Obj) Obj->Free();
  }
};
template <typename T>
using TOwned = std::unique_ptr<T, TObjectDeleter>;

class TPersistent : public TObject {
  ZEL_CLASS(TPersistent, TObject)
 public:
  // Copies Source into this object; the default asks Source->AssignTo, then raises
  // EConvertError "Cannot assign a <Source class> to a <this class>".
  virtual void Assign(TPersistent* Source);
  virtual String GetNamePath() const;
  virtual TPersistent* GetOwner() const { return nullptr; }
  // Defines the named stream properties of the object (see Filer.h).
  virtual void DefineProperties(TFiler* Filer);

 protected:
  virtual void AssignTo(TPersistent* Dest);
  [[noreturn]] void AssignError(TPersistent* Source);
};

enum class TComponentStateItem { csLoading, csReading, csWriting, csDestroying, csDesigning, csUpdating };
using TComponentState = TSet<TComponentStateItem>;
enum class TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
  ZEL_CLASS(TComponent, TPersistent)
 public:
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;

  TComponent* GetComponentOwner() const { return FOwner; }
  TPersistent* GetOwner() const override { return FOwner; }

  const String& GetName() const { return FName; }
  virtual void SetName(const String& NewName);
  std::intptr_t GetTag() const { return FTag; }
  void SetTag(std::intptr_t V) { FTag = V; }

  int GetComponentCount() const { return static_cast<int>(FComponents.size() - FHead); }
  TComponent* GetComponent(int Index) const;
  int GetComponentIndex() const;
  // Moves this component to Value in its owner's list (clamped to the list); no-op without an owner.
  void SetComponentIndex(int Value);
  TComponent* FindComponent(const String& AName) const;

  void InsertComponent(TComponent* AComponent);
  void RemoveComponent(TComponent* AComponent);
  void DestroyComponents();

  TComponentState GetComponentState() const { return FComponentState; }
  bool IsLoading() const { return FComponentState.Contains(TComponentStateItem::csLoading); }
  bool IsDestroying() const { return FComponentState.Contains(TComponentStateItem::csDestroying); }
  bool IsDesigning() const { return FComponentState.Contains(TComponentStateItem::csDesigning); }

  // Streaming and destruction protocol.
  virtual void Loaded();
  void SetLoading(bool Value);  // csLoading on or off (used by readers and tests)
  void SetReading(bool Value) { SetComponentStateItem(TComponentStateItem::csReading, Value); }
  // Reads the component's properties and children (TReader::ReadData); overridden to bracket it.
  virtual void ReadState(TReader* Reader);
  // The owner of the children read from a stream (nullptr: the root being read).
  virtual TComponent* GetChildOwner() { return nullptr; }
  // Event handlers that streams bind by name (nullptr: none); asked of the root.
  virtual TMethodTable* GetMethodTable() { return nullptr; }
  virtual void Destroying();
  void BeforeDestruction() override;

  // Free notification: AComponent is told (Notification opRemove) when this object is freed.
  void FreeNotification(TComponent* AComponent);
  void RemoveFreeNotification(TComponent* AComponent);

  // Streaming parent protocol: components nest under their parent component.
  virtual bool HasParent() const { return false; }
  virtual TComponent* GetParentComponent() const { return nullptr; }
  virtual void SetParentComponent(TComponent*) {}
  virtual void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root);

  String GetNamePath() const override { return FName; }

 protected:
  // Tells the owned components, last first, of a component this one gains or loses (and forgets
  // the free-notification link with a component it loses). A component hears of every one unless
  // it set HearsOwnerNotifications off; then it hears only of those it is linked with by
  // FreeNotification. So an owner of many components tells each change to few of them.
  virtual void Notification(TComponent* AComponent, TOperation Operation);
  void SetComponentStateItem(TComponentStateItem Item, bool On);
  // Off for a class whose Notification reacts only to components it asked FreeNotification of.
  void SetHearsOwnerNotifications(bool Value);

 private:
  void Insert(TComponent* AComponent);
  void Remove(TComponent* AComponent);
  void RemoveNotification(TComponent* AComponent);
  // Whether the owner tells this component of every change: it hears all, or it owns components
  // that may (they hear through it).
  bool Listens() const { return FHearsAll || FComponents.size() > FHead; }
  void ListeningChanged(bool Was);
  void Renumber(std::size_t From);

  TComponent* FOwner = nullptr;
  String FName;
  std::intptr_t FTag = 0;
  // Owned components in order from FHead on (the slots before it were taken from the front).
  std::vector<TComponent*> FComponents;
  std::size_t FHead = 0;
  // The owned components that listen, in list order.
  std::vector<TComponent*> FListeners;
  // This component's slot in its owner's FComponents.
  std::size_t FSlot = 0;
  bool FHearsAll = true;
  std::vector<TComponent*> FFreeNotifies;
  TComponentState FComponentState;
};

}  // namespace zel
