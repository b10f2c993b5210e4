// Collections: an ordered list of items of one item class, which the collection creates itself
// (TCollection::Add) through the item class' virtual constructor, and which notify the collection
// when they change.
//
// Item life cycle: the item's constructor puts it into its collection (so Index and Collection
// are valid in the derived constructors); once the most derived constructor has run,
// AfterConstruction notifies the collection (Notify cnAdded, then Update). Items are made with
// Create<T>(Collection) or TCollection::Add. Freeing an item (Free) takes it out of its
// collection first (Notify cnExtracting, then Update), while the whole item still exists.
#pragma once

#include <vector>

#include "platform/Classes.h"
#include "platform/Exceptions.h"

namespace zel {

class TCollection;
class TCollectionItem;

// A class reference for collection items: the metaclass and the virtual constructor that makes
// an item inside a collection (nullptr for an item outside any collection).
struct TCollectionItemClass {
  const TClass* Class;
  TCollectionItem* (*Factory)(TCollection* Collection);

  const char* GetName() const { return Class->Name; }
  TCollectionItem* Create(TCollection* Collection) const { return Factory(Collection); }
};

// The item class reference of T (T has ZEL_CLASS and a constructor taking TCollection*).
template <typename T>
const TCollectionItemClass* ItemClassOf() {
  static const TCollectionItemClass C{T::StaticClass(), [](TCollection* Collection) -> TCollectionItem* {
                                        return Create<T>(Collection);
                                      }};
  return &C;
}

// Item classes found by name (readers of streams use this).
void RegisterItemClass(const TCollectionItemClass* ItemClass);
void UnRegisterItemClass(const TCollectionItemClass* ItemClass);
const TCollectionItemClass* GetItemClass(const String& Name);   // nullptr when unknown
const TCollectionItemClass* FindItemClass(const String& Name);  // raises EClassNotFound "Class %s not found"

enum class TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

class TCollectionItem : public TPersistent {
  ZEL_CLASS(TCollectionItem, TPersistent)
 public:
  explicit TCollectionItem(TCollection* ACollection);
  ~TCollectionItem() override;
  void AfterConstruction() override;
  void BeforeDestruction() override;

  TCollection* GetCollection() const { return FCollection; }
  // Moves the item to another collection (nullptr: out of any). Raises EListError when the
  // item is not of the collection's item class.
  virtual void SetCollection(TCollection* Value);
  int GetIndex() const;
  // Moves the item inside its collection; raises EListError for an index out of bounds.
  virtual void SetIndex(int Value);
  int GetID() const { return FID; }
  virtual String GetDisplayName() const;
  virtual void SetDisplayName(const String& Value);
  TPersistent* GetOwner() const override;
  String GetNamePath() const override;

 protected:
  // Tells the collection this item (or, with AllItems, the whole collection) changed.
  void Changed(bool AllItems);

 private:
  friend class TCollection;
  TCollection* FCollection = nullptr;
  int FID = 0;
};

class TCollection : public TPersistent {
  ZEL_CLASS(TCollection, TPersistent)
 public:
  explicit TCollection(const TCollectionItemClass* AItemClass);
  ~TCollection() override;

  TCollectionItem* Add();
  // A new item at Index (0 .. Count).
  TCollectionItem* Insert(int Index);
  // Frees the item at Index (Notify cnDeleting first).
  void Delete(int Index);
  void Clear();
  int GetCount() const { return static_cast<int>(FItems.size()); }
  TCollectionItem* GetItem(int Index) const;
  // The item at Index copies Value.
  void SetItem(int Index, TCollectionItem* Value);
  TCollectionItem* FindItemID(int ID) const;
  const TCollectionItemClass* GetItemClass() const { return FItemClass; }

  // Update brackets nest; the outermost EndUpdate calls Update(nullptr).
  virtual void BeginUpdate();
  virtual void EndUpdate();
  int GetUpdateCount() const { return FUpdateCount; }

  // From another collection: clear, then a new item per source item that copies it.
  void Assign(TPersistent* Source) override;
  String GetNamePath() const override;
  // The property name under which the owner holds this collection (for GetNamePath).
  const String& GetPropName() const { return FPropName; }
  void SetPropName(const String& Value) { FPropName = Value; }

 protected:
  // Item changed (nullptr: the whole collection); called outside update brackets only.
  virtual void Update(TCollectionItem* Item);
  virtual void Notify(TCollectionItem* Item, TCollectionNotification Action);
  void Changed();

 private:
  friend class TCollectionItem;
  void InsertItem(TCollectionItem* Item);
  void RemoveItem(TCollectionItem* Item);

  const TCollectionItemClass* FItemClass;
  std::vector<TCollectionItem*> FItems;
  int FUpdateCount = 0;
  int FNextID = 0;
  String FPropName;
};

// A collection that knows its owner (GetOwner).
class TOwnedCollection : public TCollection {
  ZEL_CLASS(TOwnedCollection, TCollection)
 public:
  TOwnedCollection(TPersistent* AOwner, const TCollectionItemClass* AItemClass)
      : TCollection(AItemClass), FOwner(AOwner) {}
  TPersistent* GetOwner() const override { return FOwner; }

 private:
  TPersistent* FOwner;
};

}  // namespace zel
