#include <gtest/gtest.h>

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
