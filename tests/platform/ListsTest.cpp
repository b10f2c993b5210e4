#include <gtest/gtest.h>

#include <algorithm>

#include <functional>
#include <string>
#include <vector>

#include "platform/Lists.h"

using namespace zel;

namespace {

// Records its own destruction; optionally takes itself out of a list when freed.
class TTracked : public TObject {
 public:
  TTracked(std::vector<int>& AFreed, int AId) : Freed(AFreed), Id(AId) {}
  ~TTracked() override {
    Freed.push_back(Id);
    if (Home) Home->Remove(this);
  }
  std::vector<int>& Freed;
  int Id;
  TObjectList<TTracked>* Home = nullptr;
};

std::vector<char> Items(const TList<char>& L) { return std::vector<char>(L.begin(), L.end()); }

}  // namespace

TEST(Lists, IndexErrorsNameTheIndex) {
  struct Case {
    const char* Name;
    std::function<void(TList<char>&)> Op;
    const char* Message;
  };
  const Case Cases[] = {
      {"get below", [](TList<char>& L) { L.GetItems(-1); }, "List index out of bounds (-1)"},
      {"get at count", [](TList<char>& L) { L.GetItems(3); }, "List index out of bounds (3)"},
      {"set at count", [](TList<char>& L) { L.SetItems(3, 'x'); }, "List index out of bounds (3)"},
      {"insert past count", [](TList<char>& L) { L.Insert(4, 'x'); }, "List index out of bounds (4)"},
      {"delete at count", [](TList<char>& L) { L.Delete(3); }, "List index out of bounds (3)"},
      {"exchange", [](TList<char>& L) { L.Exchange(0, 7); }, "List index out of bounds (7)"},
      {"move from", [](TList<char>& L) { L.Move(5, 0); }, "List index out of bounds (5)"},
      {"move to", [](TList<char>& L) { L.Move(0, 3); }, "List index out of bounds (3)"},
  };
  for (const Case& C : Cases) {
    TList<char> L;
    for (char Ch : {'a', 'b', 'c'}) L.Add(Ch);
    try {
      C.Op(L);
      ADD_FAILURE() << C.Name << ": no error";
    } catch (const EListError& E) {
      EXPECT_STREQ(E.what(), C.Message) << C.Name;
    }
    EXPECT_EQ(Items(L), (std::vector<char>{'a', 'b', 'c'})) << C.Name << " changed the list";
  }
  TList<char> Empty;
  EXPECT_THROW(Empty.First(), EListError);
  EXPECT_THROW(Empty.Last(), EListError);
}

TEST(Lists, ReorderingOperations) {
  // Each step applies to the result of the previous one.
  struct Step {
    const char* Name;
    std::function<void(TList<char>&)> Op;
    std::vector<char> After;
  };
  const Step Steps[] = {
      {"move forward", [](TList<char>& L) { L.Move(0, 2); }, {'b', 'c', 'a', 'd'}},
      {"move back", [](TList<char>& L) { L.Move(3, 0); }, {'d', 'b', 'c', 'a'}},
      {"exchange", [](TList<char>& L) { L.Exchange(1, 3); }, {'d', 'a', 'c', 'b'}},
      {"insert at end", [](TList<char>& L) { L.Insert(4, 'e'); }, {'d', 'a', 'c', 'b', 'e'}},
      {"insert at start", [](TList<char>& L) { L.Insert(0, 'a'); }, {'a', 'd', 'a', 'c', 'b', 'e'}},
      {"remove first match", [](TList<char>& L) { EXPECT_EQ(L.Remove('a'), 0); }, {'d', 'a', 'c', 'b', 'e'}},
      {"remove missing", [](TList<char>& L) { EXPECT_EQ(L.Remove('z'), -1); }, {'d', 'a', 'c', 'b', 'e'}},
      {"delete", [](TList<char>& L) { L.Delete(2); }, {'d', 'a', 'b', 'e'}},
      {"sort", [](TList<char>& L) { L.Sort([](char A, char B) { return A < B; }); }, {'a', 'b', 'd', 'e'}},
  };
  TList<char> L;
  for (char Ch : {'a', 'b', 'c', 'd'}) L.Add(Ch);
  for (const Step& S : Steps) {
    S.Op(L);
    EXPECT_EQ(Items(L), S.After) << S.Name;
  }
  EXPECT_EQ(L.First(), 'a');
  EXPECT_EQ(L.Last(), 'e');
  EXPECT_EQ(L.IndexOf('d'), 2);
}

TEST(Lists, ObjectListFreesWhatLeavesIt) {
  struct Case {
    const char* Name;
    bool Owns;
    std::function<void(TObjectList<TTracked>&, std::vector<TTracked*>&)> Op;
    std::vector<int> Freed;  // ids freed by the operation, in order
    int CountAfter;
  };
  const Case Cases[] = {
      {"delete", true, [](auto& L, auto&) { L.Delete(1); }, {1}, 2},
      {"remove", true, [](auto& L, auto& O) { L.Remove(O[2]); }, {2}, 2},
      {"replace", true, [](auto& L, auto& O) { L.SetItems(0, new TTracked(O[0]->Freed, 9)); }, {0}, 3},
      {"clear, last first", true, [](auto& L, auto&) { L.Clear(); }, {2, 1, 0}, 0},
      {"extract keeps it", true, [](auto& L, auto& O) { L.Extract(O[0])->Free(); }, {0}, 2},
      {"not owning", false,
       [](auto& L, auto& O) {
         L.Clear();
         for (TTracked* T : O) T->Free();
       },
       {0, 1, 2}, 0},
  };
  for (const Case& C : Cases) {
    std::vector<int> Freed;
    std::vector<TTracked*> Objects;
    {
      TObjectList<TTracked> L(C.Owns);
      for (int I = 0; I < 3; ++I) {
        Objects.push_back(new TTracked(Freed, I));
        L.Add(Objects.back());
      }
      C.Op(L, Objects);
      EXPECT_EQ(Freed, C.Freed) << C.Name;
      EXPECT_EQ(L.GetCount(), C.CountAfter) << C.Name;
      L.SetOwnsObjects(true);  // the list frees what is left
    }
  }
}

TEST(Lists, ObjectThatRemovesItselfWhileFreedDoesNotUpsetTheList) {
  std::vector<int> Freed;
  {
    TObjectList<TTracked> L;
    for (int I = 0; I < 4; ++I) {
      auto* T = new TTracked(Freed, I);
      T->Home = &L;
      L.Add(T);
    }
    L.Delete(1);
    EXPECT_EQ(L.GetCount(), 3);
    EXPECT_EQ(L.GetItems(1)->Id, 2);
  }  // the destructor clears the rest, each object again removing itself
  EXPECT_EQ(Freed, (std::vector<int>{1, 3, 2, 0}));
}

TEST(Lists, TakingItemsFromTheFrontKeepsEveryOperationInStep) {
  TList<int> L;
  std::vector<int> Model;
  for (int I = 0; I < 50; ++I) {
    L.Add(I);
    Model.push_back(I);
  }
  auto Same = [&] {
    ASSERT_EQ(L.GetCount(), static_cast<int>(Model.size()));
    EXPECT_EQ(std::vector<int>(L.begin(), L.end()), Model);
    EXPECT_EQ(L.GetList(), Model);
  };
  for (int I = 0; I < 30; ++I) {
    L.Delete(0);
    Model.erase(Model.begin());
    if (I % 7 == 0) Same();
  }
  Same();
  L.Insert(0, -1);
  Model.insert(Model.begin(), -1);
  L.Move(0, 3);
  std::rotate(Model.begin(), Model.begin() + 1, Model.begin() + 4);
  L.Exchange(1, 2);
  std::swap(Model[1], Model[2]);
  EXPECT_EQ(L.IndexOf(45), static_cast<int>(std::find(Model.begin(), Model.end(), 45) - Model.begin()));
  EXPECT_EQ(L.Extract(49), 49);
  Model.pop_back();
  Same();
  while (L.GetCount() > 1) L.Delete(0);
  EXPECT_EQ(L.First(), Model.back());
  L.Delete(0);
  EXPECT_TRUE(L.IsEmpty());
  L.Add(7);
  EXPECT_EQ(L.GetList(), std::vector<int>{7});
}
