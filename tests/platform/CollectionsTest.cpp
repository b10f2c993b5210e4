#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "platform/Collections.h"

using namespace zel;

namespace {

class TValueItem : public TCollectionItem {
  ZEL_CLASS(TValueItem, TCollectionItem)
 public:
  explicit TValueItem(TCollection* C) : TCollectionItem(C) {}
  int GetValue() const { return FValue; }
  void SetValue(int V) {
    if (V == FValue) return;
    FValue = V;
    Changed(false);
  }
  void Assign(TPersistent* Source) override {
    if (auto* S = dynamic_cast<TValueItem*>(Source)) {
      SetValue(S->FValue);
      return;
    }
    TCollectionItem::Assign(Source);
  }
  String GetDisplayName() const override { return "Value " + std::to_string(FValue); }

 private:
  int FValue = 0;
};
ZEL_DEFINE_CLASS(TValueItem, TCollectionItem)

class TOtherItem : public TCollectionItem {
  ZEL_CLASS(TOtherItem, TCollectionItem)
 public:
  explicit TOtherItem(TCollection* C) : TCollectionItem(C) {}
};
ZEL_DEFINE_CLASS(TOtherItem, TCollectionItem)

// Records what the collection is told, as text: "+Value 0", "-Value 3" (extracting),
// "x..." (deleting), "u*" (whole update), "u:Value 3" (one item).
class TLoggedCollection : public TOwnedCollection {
 public:
  explicit TLoggedCollection(TPersistent* AOwner = nullptr)
      : TOwnedCollection(AOwner, ItemClassOf<TValueItem>()) {}
  std::vector<String> Log;
  TValueItem* Get(int I) const { return static_cast<TValueItem*>(GetItem(I)); }
  TValueItem* AddValue(int V) {
    auto* Item = static_cast<TValueItem*>(Add());
    Item->SetValue(V);
    return Item;
  }

 protected:
  void Update(TCollectionItem* Item) override { Log.push_back(Item ? "u:" + Item->GetDisplayName() : "u*"); }
  void Notify(TCollectionItem* Item, TCollectionNotification Action) override {
    // The item is whole while it is announced: its own override answers.
    const char* Tag = Action == TCollectionNotification::cnAdded        ? "+"
                      : Action == TCollectionNotification::cnExtracting ? "-"
                                                                        : "x";
    Log.push_back(Tag + Item->GetDisplayName());
  }
};

std::vector<int> Values(const TLoggedCollection& C) {
  std::vector<int> R;
  for (int I = 0; I < C.GetCount(); ++I) R.push_back(C.Get(I)->GetValue());
  return R;
}

class TOwnerProbe : public TComponent {
 public:
  TOwnerProbe() : TComponent(nullptr) {}
};

}  // namespace

TEST(Collections, NotificationsAndUpdates) {
  TLoggedCollection C;
  TValueItem* A = C.AddValue(1);
  EXPECT_EQ(C.Log, (std::vector<String>{"+Value 0", "u*", "u:Value 1"}));

  C.Log.clear();
  C.AddValue(2);
  C.Delete(0);
  EXPECT_EQ(C.Log, (std::vector<String>{"+Value 0", "u*", "u:Value 2", "xValue 1", "-Value 1", "u*"}));

  C.Log.clear();
  C.BeginUpdate();
  C.BeginUpdate();
  C.AddValue(3);
  C.Get(0)->SetValue(5);
  C.EndUpdate();
  EXPECT_EQ(C.Log, (std::vector<String>{"+Value 0"}));  // no updates inside the bracket
  C.EndUpdate();
  EXPECT_EQ(C.Log, (std::vector<String>{"+Value 0", "u*"}));

  C.Log.clear();
  TValueItem* Last = C.Get(1);
  Last->Free();  // freeing an item takes it out of its collection
  EXPECT_EQ(C.Log, (std::vector<String>{"-Value 3", "u*"}));
  EXPECT_EQ(Values(C), (std::vector<int>{5}));
  (void)A;
}

TEST(Collections, IndexesIdsAndBounds) {
  TLoggedCollection C;
  for (int V : {10, 20, 30}) C.AddValue(V);
  C.Delete(1);
  TValueItem* D = C.AddValue(40);
  EXPECT_EQ(D->GetID(), 3);  // identifiers are not reused
  EXPECT_EQ(C.FindItemID(3), D);
  EXPECT_EQ(C.FindItemID(1), nullptr);

  static_cast<TValueItem*>(C.Insert(0))->SetValue(5);
  EXPECT_EQ(Values(C), (std::vector<int>{5, 10, 30, 40}));
  C.Get(3)->SetIndex(1);
  EXPECT_EQ(Values(C), (std::vector<int>{5, 40, 10, 30}));
  EXPECT_EQ(C.Get(2)->GetIndex(), 2);

  struct Case {
    const char* Name;
    std::function<void()> Op;
    const char* Message;
  };
  const Case Cases[] = {
      {"item", [&] { C.GetItem(4); }, "List index out of bounds (4)"},
      {"delete", [&] { C.Delete(-1); }, "List index out of bounds (-1)"},
      {"insert", [&] { C.Insert(5); }, "List index out of bounds (5)"},
      {"set index", [&] { C.Get(0)->SetIndex(4); }, "List index out of bounds (4)"},
  };
  for (const Case& K : Cases) {
    try {
      K.Op();
      ADD_FAILURE() << K.Name;
    } catch (const EListError& E) {
      EXPECT_STREQ(E.what(), K.Message) << K.Name;
    }
  }
  EXPECT_EQ(Values(C), (std::vector<int>{5, 40, 10, 30}));
}

TEST(Collections, AssignAndMoveBetweenCollections) {
  TLoggedCollection Source, Dest;
  for (int V : {1, 2, 3}) Source.AddValue(V);
  Dest.AddValue(99);
  Dest.Log.clear();
  Dest.Assign(&Source);
  EXPECT_EQ(Values(Dest), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(Dest.Log.back(), "u*");
  EXPECT_EQ(std::count(Dest.Log.begin(), Dest.Log.end(), String("u*")), 1);

  Dest.SetItem(0, Source.Get(2));
  EXPECT_EQ(Values(Dest), (std::vector<int>{3, 2, 3}));
  Dest.Assign(&Dest);
  EXPECT_EQ(Values(Dest), (std::vector<int>{3, 2, 3}));

  TCollection Others(ItemClassOf<TOtherItem>());
  Others.Add();
  EXPECT_THROW(Dest.Assign(&Others) /* items cannot copy another class */, EConvertError);
  EXPECT_THROW(Dest.Assign(nullptr), EConvertError);

  TValueItem* Moved = Source.Get(0);
  Moved->SetCollection(&Dest);
  EXPECT_EQ(Values(Source), (std::vector<int>{2, 3}));
  EXPECT_EQ(Dest.Get(Dest.GetCount() - 1), Moved);
  EXPECT_EQ(Moved->GetCollection(), &Dest);

  TOtherItem* Stranger = Create<TOtherItem>(nullptr);
  EXPECT_THROW(Stranger->SetCollection(&Dest), EListError);
  EXPECT_EQ(Stranger->GetCollection(), nullptr);
  Stranger->Free();
}

TEST(Collections, OwnerAndNamePath) {
  TOwnerProbe Owner;
  Owner.SetName("Picture1");
  TLoggedCollection C(&Owner);
  C.SetPropName("Filters");
  C.AddValue(1);
  C.AddValue(2);
  EXPECT_EQ(C.GetOwner(), &Owner);
  EXPECT_EQ(C.Get(1)->GetOwner(), &C);
  EXPECT_EQ(C.Get(1)->GetNamePath(), "Picture1.Filters[1]");
  TCollection Loose(ItemClassOf<TValueItem>());
  EXPECT_EQ(Loose.GetNamePath(), "TCollection");
}
