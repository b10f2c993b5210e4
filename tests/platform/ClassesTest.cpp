#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "platform/Classes.h"

using namespace zel;

namespace {

class TProbe : public TComponent {
  ZEL_CLASS(TProbe, TComponent)
 public:
  explicit TProbe(TComponent* AOwner) : TComponent(AOwner) {}
  std::vector<TComponent*> Removed;
  bool SawDestroying = false;
  TProbe* Watch = nullptr;
  void Destroying() override {
    SawDestroying = true;
    TComponent::Destroying();
  }

 protected:
  void Notification(TComponent* C, TOperation Op) override {
    TComponent::Notification(C, Op);
    if (Op == TOperation::opRemove) {
      Removed.push_back(C);
      if (C == Watch) Watch = nullptr;
    }
  }
};
ZEL_DEFINE_COMPONENT_CLASS(TProbe, TComponent)

}  // namespace

TEST(Classes, MetaclassFollowsParentChainAndRegistry) {
  EXPECT_TRUE(TProbe::StaticClass()->InheritsFrom(TPersistent::StaticClass()));
  EXPECT_FALSE(TPersistent::StaticClass()->InheritsFrom(TProbe::StaticClass()));
  RegisterClass(TProbe::StaticClass());
  EXPECT_EQ(FindClass("TProbe"), TProbe::StaticClass());
  EXPECT_THROW(FindClass("TNoSuchThing"), EClassNotFound);
  TObject* Obj = FindClass("TProbe")->Create(nullptr);
  EXPECT_EQ(Obj->ClassName(), "TProbe");
  Obj->Free();
  UnRegisterClass(TProbe::StaticClass());
  EXPECT_EQ(GetClass("TProbe"), nullptr);
}

TEST(Classes, OwnerFreesOwnedAndFreeNotificationClearsReferences) {
  TProbe* Owner = Create<TProbe>(nullptr);
  TProbe* A = Create<TProbe>(Owner);
  TProbe* Watcher = Create<TProbe>(nullptr);
  Watcher->Watch = A;
  A->FreeNotification(Watcher);
  EXPECT_EQ(Owner->GetComponentCount(), 1);
  EXPECT_EQ(A->GetComponentOwner(), Owner);
  Owner->Free();  // frees A, which tells Watcher
  EXPECT_EQ(Watcher->Watch, nullptr);
  Watcher->Free();
}

TEST(Classes, SetComponentIndexMovesWithinTheOwnerAndClamps) {
  TProbe* Owner = Create<TProbe>(nullptr);
  TProbe* A = Create<TProbe>(Owner);
  TProbe* B = Create<TProbe>(Owner);
  TProbe* C = Create<TProbe>(Owner);
  C->SetComponentIndex(0);
  EXPECT_EQ(Owner->GetComponent(0), C);
  EXPECT_EQ(Owner->GetComponent(1), A);
  EXPECT_EQ(Owner->GetComponent(2), B);
  C->SetComponentIndex(99);  // clamped to the last place
  EXPECT_EQ(Owner->GetComponent(2), C);
  A->SetComponentIndex(-5);  // clamped to the first place
  EXPECT_EQ(A->GetComponentIndex(), 0);
  TProbe* Lone = Create<TProbe>(nullptr);
  Lone->SetComponentIndex(3);  // no owner: nothing to move
  EXPECT_EQ(Lone->GetComponentIndex(), -1);
  Lone->Free();
  Owner->Free();
}

TEST(Classes, AssignBetweenUnrelatedClassesRaises) {
  TOwned<TProbe> A(Create<TProbe>(nullptr));
  TOwned<TProbe> B(Create<TProbe>(nullptr));
  try {
    A->Assign(B.get());
    FAIL();
  } catch (const EConvertError& E) {
    EXPECT_STREQ(E.what(), "Cannot assign a TProbe to a TProbe");
  }
}

TEST(Classes, AssertionsCarryUnitName) {
  try {
    Assert(false, "Count must be positive", "Engine");
    FAIL();
  } catch (const EAssertionFailed& E) {
    EXPECT_STREQ(E.what(), "Count must be positive (Engine)");
  }
}

TEST(WithinUpdate, EndsTheBracketWhenTheBodyThrows) {
  struct TBracket {
    int Depth = 0, Ended = 0;
    void BeginUpdate() { ++Depth; }
    void EndUpdate() {
      --Depth;
      ++Ended;
    }
  } B;
  WithinUpdate(B, [&] { EXPECT_EQ(B.Depth, 1); });
  EXPECT_EQ(B.Depth, 0);
  EXPECT_THROW(WithinUpdate(B, [] { throw EConvertError("bad"); }), EConvertError);
  EXPECT_EQ(B.Depth, 0);
  EXPECT_EQ(B.Ended, 2);
}

TEST(EventMute, SilencesTheHandlerAndPutsItBackEvenOnAnError) {
  int Calls = 0;
  TNotifyEvent OnChanged = [&](TObject*) { ++Calls; };
  auto Fire = [&] {
    if (OnChanged) OnChanged(nullptr);
  };
  {
    TEventMute Mute(OnChanged);
    Fire();
  }
  EXPECT_EQ(Calls, 0);
  Fire();
  EXPECT_EQ(Calls, 1);
  try {
    TEventMute Mute(OnChanged);
    throw EConvertError("bad");
  } catch (const EConvertError&) {
  }
  Fire();
  EXPECT_EQ(Calls, 2);
}

namespace {

// Records every notification it hears, in order.
class TListener : public TComponent {
  ZEL_CLASS(TListener, TComponent)
 public:
  TListener(TComponent* AOwner, std::vector<std::pair<TListener*, TComponent*>>* ALog, bool HearsAll)
      : TComponent(AOwner), Log(ALog) {
    SetHearsOwnerNotifications(HearsAll);
  }
  std::vector<std::pair<TListener*, TComponent*>>* Log;

 protected:
  void Notification(TComponent* C, TOperation Op) override {
    TComponent::Notification(C, Op);
    Log->push_back({this, C});
  }
};
ZEL_DEFINE_CLASS(TListener, TComponent)

}  // namespace

TEST(Classes, OwnerTellsListenersLastFirstAndOthersOnlyOfTheirLinks) {
  std::vector<std::pair<TListener*, TComponent*>> Log;
  TOwned<TComponent> Owner(new TComponent(nullptr));
  auto* A = new TListener(Owner.get(), &Log, true);
  auto* Quiet = new TListener(Owner.get(), &Log, false);
  auto* B = new TListener(Owner.get(), &Log, true);
  Log.clear();
  auto* C = new TListener(Owner.get(), &Log, false);
  // C hears of itself only when it hears all; the listeners hear of it last first.
  EXPECT_EQ(Log, (std::vector<std::pair<TListener*, TComponent*>>{{B, C}, {A, C}}));

  // A quiet component hears of a component it is linked with, in list order among the others.
  Quiet->FreeNotification(C);
  Log.clear();
  Owner->RemoveComponent(C);
  EXPECT_EQ(Log, (std::vector<std::pair<TListener*, TComponent*>>{{B, C}, {Quiet, C}, {A, C}}));
  // Removal dropped the link: freeing C tells nobody.
  Log.clear();
  C->Free();
  EXPECT_TRUE(Log.empty());

  // A quiet component that owns components listens for them.
  auto* Child = new TListener(Quiet, &Log, true);
  Log.clear();
  auto* D = new TComponent(Owner.get());
  EXPECT_EQ(Log, (std::vector<std::pair<TListener*, TComponent*>>{{B, D}, {Child, D}, {Quiet, D}, {A, D}}));
  Owner.reset();  // frees all, without a notice reaching a freed component (the sanitizers see it)
}

TEST(Classes, ComponentIndexesHoldWhateverEndComponentsLeaveFrom) {
  TOwned<TComponent> Owner(new TComponent(nullptr));
  std::vector<TComponent*> Model;
  for (int I = 0; I < 40; ++I) {
    Model.push_back(new TComponent(Owner.get()));
    Model.back()->SetName("C" + std::to_string(I));
  }
  auto Check = [&] {
    ASSERT_EQ(Owner->GetComponentCount(), static_cast<int>(Model.size()));
    for (std::size_t I = 0; I < Model.size(); ++I) {
      EXPECT_EQ(Owner->GetComponent(static_cast<int>(I)), Model[I]);
      EXPECT_EQ(Model[I]->GetComponentIndex(), static_cast<int>(I));
    }
  };
  // From the front (several, so the list closes up), the back and the middle.
  for (int I = 0; I < 25; ++I) {
    Model.front()->Free();
    Model.erase(Model.begin());
    Check();
  }
  Model.back()->Free();
  Model.pop_back();
  Model[5]->Free();
  Model.erase(Model.begin() + 5);
  Check();
  EXPECT_EQ(Owner->FindComponent("c26"), Model[1]);
  EXPECT_EQ(Owner->FindComponent("c30"), nullptr);
  Model[0]->SetComponentIndex(100);
  std::rotate(Model.begin(), Model.begin() + 1, Model.end());
  Check();
  Model.push_back(new TComponent(Owner.get()));
  Check();
}
