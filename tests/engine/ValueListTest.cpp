#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include "zelgraph/engine/Engine.h"

namespace zel {
namespace {

std::vector<double> Values(const TChartValueList& L) {
  std::vector<double> R;
  for (std::int32_t I = 0; I < L.GetCount(); ++I) R.push_back(L.Value[I]);
  return R;
}

TOwned<TChartValueList> MakeList(TChartListOrder Order = TChartListOrder::loNone) {
  TOwned<TChartValueList> L(new TChartValueList(nullptr, "Y"));
  L->SetOrder(Order);
  return L;
}

struct AddCase {
  const char* Name;
  TChartListOrder Order;
  std::vector<double> Added;
  std::vector<std::int32_t> Indexes;
  std::vector<double> Result;
};

TEST(ValueList, AddKeepsOrderAndReturnsPlace) {
  const double NaN = std::numeric_limits<double>::quiet_NaN();
  const AddCase Cases[] = {
      {"ascending", TChartListOrder::loAscending, {1, 3, 2}, {0, 1, 1}, {1, 2, 3}},
      {"equal values go after their equals", TChartListOrder::loAscending, {5, 5, 5}, {0, 1, 2}, {5, 5, 5}},
      {"ties after equals inside", TChartListOrder::loAscending, {1, 2, 3, 2}, {0, 1, 2, 2}, {1, 2, 2, 3}},
      {"descending", TChartListOrder::loDescending, {1, 3, 2}, {0, 0, 1}, {3, 2, 1}},
      {"unordered keeps arrival", TChartListOrder::loNone, {3, 1, 2}, {0, 1, 2}, {3, 1, 2}},
      {"smaller than all goes first", TChartListOrder::loAscending, {2, 3, 4, 1}, {0, 1, 2, 0}, {1, 2, 3, 4}},
  };
  for (const AddCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    auto L = MakeList(C.Order);
    std::vector<std::int32_t> Got;
    for (double V : C.Added) Got.push_back(L->AddChartValue(V));
    EXPECT_EQ(Got, C.Indexes);
    EXPECT_EQ(Values(*L), C.Result);
  }
  // A NaN is placed at the end, and so is anything added after it.
  auto L = MakeList(TChartListOrder::loAscending);
  L->AddChartValue(1);
  EXPECT_EQ(L->AddChartValue(NaN), 1);
  EXPECT_EQ(L->AddChartValue(0.5), 2);
  EXPECT_EQ(L->Value[2], 0.5);
}

TEST(ValueList, LengthGrowsInStepsWhileMemoryGrowsGeometrically) {
  auto L = MakeList(TChartListOrder::loAscending);
  for (int I = 0; I < 1000; ++I) L->AddChartValue(I);
  EXPECT_EQ(L->Value.Length(), 1000);
  L->AddChartValue(1000);
  EXPECT_EQ(L->Value.Length(), 2000);
  EXPECT_EQ(L->Value[1500], 0.0);  // entries past the count are zero

  // Appending many values moves the storage only a logarithmic number of times, so the total
  // copying stays linear in the number of values.
  auto Big = MakeList(TChartListOrder::loAscending);
  int Moves = 0;
  const double* Last = nullptr;
  for (int I = 0; I < 200000; ++I) {
    Big->AddChartValue(I);
    if (Big->Value.Data() != Last) {
      ++Moves;
      Last = Big->Value.Data();
    }
  }
  EXPECT_EQ(Big->GetCount(), 200000);
  EXPECT_EQ(Big->Value.Length(), 200000);
  EXPECT_LT(Moves, 40);
  EXPECT_LE(Big->Value.Capacity(), 2 * 200000);
}

TEST(ValueList, MemoryFollowsTheValuesNotTheLength) {
  auto L = MakeList();
  L->AddChartValue(1);
  L->AddChartValue(2);
  EXPECT_EQ(L->Value.Length(), 1000);
  EXPECT_LE(L->Value.Capacity(), 16);  // two values hold the memory of a few, not of 1000
  const TChartValueList& C = *L;
  EXPECT_EQ(C.Value[999], 0.0);  // reading past the memory gives 0 and allocates nothing
  EXPECT_LE(L->Value.Capacity(), 16);
  L->Value[700] = 7;  // writing anywhere in the length works
  EXPECT_EQ(C.Value[700], 7.0);
  // Shrinking and growing again gives zeros past the old end.
  L->Value.SetLength(600);
  L->Value.SetLength(1000);
  EXPECT_EQ(C.Value[700], 0.0);
  EXPECT_EQ(Values(*L), (std::vector<double>{1, 2}));
}

TEST(ValueList, AppendingInOneStepIsAddingOneByOne) {
  const double NaN = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    const char* Name;
    TChartListOrder Order;
    std::vector<double> Before, Appended;
    bool Taken;
  };
  std::vector<double> Many(2500);
  for (std::size_t I = 0; I < Many.size(); ++I) Many[I] = static_cast<double>(I) / 3;
  const Case Cases[] = {
      {"in order", TChartListOrder::loAscending, {}, {1, 2, 2, 3}, true},
      {"after the values there", TChartListOrder::loAscending, {0, 1}, {1, 5}, true},
      {"grows in steps", TChartListOrder::loAscending, {-1}, Many, true},
      {"a NaN goes to the end", TChartListOrder::loAscending, {1}, {NaN, 0.5}, true},
      {"out of order", TChartListOrder::loAscending, {}, {1, 3, 2}, false},
      {"below the last there", TChartListOrder::loAscending, {5}, {4}, false},
      {"descending", TChartListOrder::loDescending, {9}, {8, 8, 1}, true},
      {"descending out of order", TChartListOrder::loDescending, {}, {1, 2}, false},
      {"unordered takes anything", TChartListOrder::loNone, {3}, {5, 1, 4}, true},
  };
  for (const Case& K : Cases) {
    SCOPED_TRACE(K.Name);
    auto Bulk = MakeList(K.Order), One = MakeList(K.Order);
    for (double V : K.Before) {
      Bulk->AddChartValue(V);
      One->AddChartValue(V);
    }
    for (double V : K.Appended) One->AddChartValue(V);
    const bool Taken = Bulk->AppendValues(K.Appended.data(), static_cast<std::int32_t>(K.Appended.size()));
    EXPECT_EQ(Taken, K.Taken);
    const std::vector<double> Want = K.Taken ? Values(*One) : K.Before;
    const std::vector<double> Got = Values(*Bulk);
    ASSERT_EQ(Got.size(), Want.size());
    for (std::size_t I = 0; I < Got.size(); ++I)
      EXPECT_TRUE(Got[I] == Want[I] || (std::isnan(Got[I]) && std::isnan(Want[I]))) << I;
    if (K.Taken) {
      EXPECT_EQ(Bulk->Value.Length(), One->Value.Length());
    }
  }
  // An empty list takes a buffer as its memory; AtEnd ignores the order, as inserting at the end does.
  auto L = MakeList(TChartListOrder::loAscending);
  TValueBuffer B(2500);
  for (int I = 0; I < 2500; ++I) B.Data()[I] = 2500 - I;
  const double* Memory = B.Data();
  EXPECT_FALSE(L->AppendValues(TValueBuffer(B.Capacity()), 2501));  // more values than the buffer holds
  EXPECT_TRUE(L->AppendValues(std::move(B), 2500, true));
  EXPECT_EQ(std::as_const(*L).Value.Data(), Memory);
  EXPECT_EQ(L->GetCount(), 2500);
  EXPECT_EQ(L->Value.Length(), 3000);
  EXPECT_EQ(L->Value[2999], 0.0);
  EXPECT_EQ(L->GetMaxValue(), 2500);
}

TEST(ValueList, BlocksFollowTheValues) {
  auto L = MakeList(TChartListOrder::loAscending);
  for (int I = 0; I < 5000; ++I) L->AddChartValue(I);
  const TValueBlocks& B = L->GetBlocks();
  ASSERT_EQ(B.Min.size(), 79u);  // 5000 values in blocks of 64
  EXPECT_EQ(B.Min[3], 192);
  EXPECT_EQ(B.Max[3], 255);
  EXPECT_EQ(B.Max[78], 4999);
  EXPECT_TRUE(L->IsAscendingFinite());
  // Changes through the list, and writes announced with SetModified, are seen.
  L->SetValue(200, -5);
  EXPECT_EQ(L->GetBlocks().Min[3], -5);
  EXPECT_FALSE(L->IsAscendingFinite());
  L->GetMinValue();  // fresh statistics: the announcement below must still be seen
  L->Value[201] = std::numeric_limits<double>::quiet_NaN();
  L->SetModified(true);
  EXPECT_TRUE(std::isnan(L->GetBlocks().Min[3]));
  L->Delete(0, 4900);
  EXPECT_EQ(L->GetBlocks().Min.size(), 2u);
  EXPECT_TRUE(L->IsAscendingFinite());
  // Short lists are checked without blocks.
  auto Short = MakeList();
  Short->AddChartValue(2);
  Short->AddChartValue(1);
  EXPECT_FALSE(Short->IsAscendingFinite());
}

TEST(ValueList, StatisticsFollowChanges) {
  auto L = MakeList();
  EXPECT_EQ(L->GetMinValue(), 0);
  EXPECT_EQ(L->GetMaxValue(), 0);
  EXPECT_EQ(L->GetTotal(), 0);
  for (double V : {4.0, -2.0, 7.0}) L->AddChartValue(V);
  EXPECT_EQ(L->GetMinValue(), -2);
  EXPECT_EQ(L->GetMaxValue(), 7);
  EXPECT_EQ(L->GetTotal(), 9);
  EXPECT_EQ(L->GetTotalABS(), 13);
  EXPECT_EQ(L->Range(), 9);
  EXPECT_FALSE(L->GetModified());
  L->AddChartValue(-10);
  EXPECT_TRUE(L->GetModified());
  EXPECT_EQ(L->GetMinValue(), -10);
  L->Delete(3);
  EXPECT_EQ(L->GetMinValue(), -2);
  L->SetValue(0, 100);
  EXPECT_EQ(L->GetMaxValue(), 100);
}

TEST(ValueList, DeleteRanges) {
  struct Case {
    std::int32_t Start, Quantity;
    std::vector<double> Result;
  };
  const Case Cases[] = {{1, 2, {10, 40}}, {0, 1, {20, 30, 40}}, {3, 1, {10, 20, 30}}, {0, 4, {}}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(testing::Message() << C.Start << "," << C.Quantity);
    auto L = MakeList();
    for (double V : {10.0, 20.0, 30.0, 40.0}) L->AddChartValue(V);
    L->Delete(C.Start, C.Quantity);
    EXPECT_EQ(Values(*L), C.Result);
    EXPECT_EQ(L->Value.Length(), 1000);  // never shrunk
  }
  auto L = MakeList();
  for (double V : {10.0, 20.0, 30.0, 40.0}) L->AddChartValue(V);
  try {
    L->Delete(3, 2);
    FAIL() << "expected an assertion failure";
  } catch (const EAssertionFailed& E) {
    EXPECT_EQ(String(E.what()), "Quantity of data to delete must be less than Count. (Zelgraph.Engine)");
  }
  EXPECT_EQ(L->GetCount(), 4);
}

TEST(ValueList, CountIsGuarded) {
  auto L = MakeList();
  L->SetCount(5);  // beyond the array: grows it, zero-filled
  EXPECT_EQ(L->GetCount(), 5);
  EXPECT_GE(L->Value.Length(), 5);
  EXPECT_EQ(Values(*L), std::vector<double>(5, 0.0));
  L->SetCount(2);
  EXPECT_EQ(L->GetCount(), 2);
  EXPECT_THROW(L->SetCount(-1), EAssertionFailed);

  L->Value.SetLength(1);  // the array cut under the count
  try {
    L->GetCount();
    FAIL() << "expected an assertion failure";
  } catch (const EAssertionFailed& E) {
    EXPECT_EQ(String(E.what()), "ValueList Count (2) greater than array length (1). (Zelgraph.Engine)");
  }
  L->RecalcStats();  // cuts the count to the array
  EXPECT_EQ(L->GetCount(), 1);
}

TEST(ValueList, LocateScrollInsertAndSequence) {
  auto L = MakeList();
  EXPECT_EQ(L->Locate(2.5), -1);
  for (double V : {1.0, 2.5, 2.5}) L->AddChartValue(V);
  EXPECT_EQ(L->Locate(2.5), 1);
  EXPECT_EQ(L->Locate(2.5, 2, 2), 2);
  EXPECT_EQ(L->Locate(1, 1, 0), -1);
  EXPECT_EQ(L->Locate(std::nan("")), -1);

  auto S = MakeList();
  for (double V : {1.0, 2.0, 3.0}) S->AddChartValue(V);
  S->Scroll();
  EXPECT_EQ(Values(*S), (std::vector<double>{2, 3, 1}));
  S->InsertChartValue(0, 9);
  S->InsertChartValue(4, 8);
  EXPECT_EQ(Values(*S), (std::vector<double>{9, 2, 3, 1, 8}));
  S->Exchange(0, 4);
  EXPECT_EQ(Values(*S), (std::vector<double>{8, 2, 3, 1, 9}));
  S->FillSequence();
  EXPECT_EQ(Values(*S), (std::vector<double>{0, 1, 2, 3, 4}));
  EXPECT_EQ(S->ValueToString(3), "3");
  EXPECT_EQ(S->First(), 0);
  EXPECT_EQ(S->Last(), 4);
}

TEST(ValueList, SortWithoutOwner) {
  auto L = MakeList(TChartListOrder::loDescending);
  L->SetOrder(TChartListOrder::loNone);
  for (double V : {1.0, 3.0, 2.0, 3.0, -1.0}) L->AddChartValue(V);
  L->SetOrder(TChartListOrder::loDescending);
  L->Sort();
  EXPECT_EQ(Values(*L), (std::vector<double>{3, 3, 2, 1, -1}));
  L->SetOrder(TChartListOrder::loAscending);
  L->Sort();
  EXPECT_EQ(Values(*L), (std::vector<double>{-1, 1, 2, 3, 3}));
}

TEST(ValueList, AssignCopiesSettingsNotValues) {
  auto A = MakeList(TChartListOrder::loDescending);
  A->AddChartValue(1);
  A->SetDateTime(true);
  A->SetValueSource("Close");
  auto B = MakeList();
  B->SetName("Other");
  B->Assign(A.get());
  EXPECT_EQ(B->GetOrder(), TChartListOrder::loDescending);
  EXPECT_TRUE(B->GetDateTime());
  EXPECT_TRUE(B->IsDateStored());
  EXPECT_EQ(B->GetValueSource(), "Close");
  EXPECT_EQ(B->GetName(), "Other");
  EXPECT_EQ(B->GetCount(), 0);
}

}  // namespace
}  // namespace zel

#include "platform/Dialogs.h"
#include "platform/Filer.h"
#include "platform/Streams.h"

namespace zel {
namespace {

TEST(ValueList, ObsoleteMultiplierIsReadAndReported) {
  struct Case {
    double Stored;
    bool Reported;
  };
  const Case Cases[] = {{1.0, false}, {2.5, true}, {std::nan(""), true}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Stored);
    TMemoryStream Stream;
    {
      TWriter W(&Stream);
      W.WritePropName("Multiplier");
      W.WriteFloat(C.Stored);
      W.WriteListEnd();
    }
    std::vector<String> Shown;
    TShowMessageHook Old = SetShowMessageHook([&](const String& M) { Shown.push_back(M); });
    auto L = MakeList();
    Stream.SetPosition(0);
    {
      TReader R(&Stream);
      R.ReadProperties(L.get());
      R.ReadListEnd();
    }
    SetShowMessageHook(Old);
    if (C.Reported) {
      ASSERT_EQ(Shown.size(), 1u);
      EXPECT_EQ(Shown[0], "Error: Multiplier property is obsolete.\rModify ZelDefs (enable Multiplier) and recompile.");
    } else {
      EXPECT_TRUE(Shown.empty());
    }
    // Never written back.
    TMemoryStream Out;
    TWriter W(&Out);
    W.WriteProperties(L.get());
    EXPECT_EQ(Out.GetSize(), 0);
  }
}

}  // namespace
}  // namespace zel
