// The chart's series list, its groups, and the axes list's bulk operations.
#include <gtest/gtest.h>

#include "pipeline/PipelineSupport.h"
#include "platform/Filer.h"
#include "platform/Streams.h"

namespace zel::testing {
namespace {

class SeriesListTest : public PanelTest {
 protected:
  TSeriesGroup* Group(const String& Name) { return Chart->GetSeriesList()->AddGroup(Name); }
};

TEST_F(SeriesListTest, GroupsAreNamedByTheirPlace) {
  TSeriesGroups* Groups = Chart->GetSeriesGroups();
  for (int I = 0; I < 3; ++I) static_cast<TSeriesGroup*>(Groups->Add());
  EXPECT_EQ(Groups->Get(0)->GetName(), "Group1");
  EXPECT_EQ(Groups->Get(2)->GetName(), "Group3");
  EXPECT_EQ(Group("Named")->GetName(), "Named");
}

TEST_F(SeriesListTest, GroupActivity) {
  TLogSeries* A = AddSeries("A");
  TLogSeries* B = AddSeries("B");
  TSeriesGroup* G = Group("G");
  EXPECT_EQ(G->GetActive(), TSeriesGroupActive::gaYes);  // empty
  G->Add(A);
  G->Add(B);
  struct Case {
    bool A, B;
    TSeriesGroupActive Expected;
  };
  const Case Cases[] = {{true, true, TSeriesGroupActive::gaYes},
                        {true, false, TSeriesGroupActive::gaSome},
                        {false, false, TSeriesGroupActive::gaNo}};
  for (const Case& C : Cases) {
    A->SetActive(C.A);
    B->SetActive(C.B);
    EXPECT_EQ(G->GetActive(), C.Expected) << C.A << C.B;
  }

  A->SetActive(true);
  G->SetActive(TSeriesGroupActive::gaSome);  // changes nothing
  EXPECT_TRUE(A->GetActive());
  EXPECT_FALSE(B->GetActive());
  G->Hide();
  EXPECT_FALSE(A->GetActive());
  EXPECT_FALSE(B->GetActive());
  G->Show();
  EXPECT_TRUE(A->GetActive());
  EXPECT_TRUE(B->GetActive());
}

TEST_F(SeriesListTest, FindByNameAndContains) {
  TLogSeries* A = AddSeries("A");
  TLogSeries* B = AddSeries("B");
  TSeriesGroup* G1 = Group("Group1");
  TSeriesGroup* G2 = Group("Other");
  G2->Add(B);
  TSeriesGroups* Groups = Chart->GetSeriesGroups();
  EXPECT_EQ(Groups->FindByName("group1", false), G1);
  EXPECT_EQ(Groups->FindByName("group1", true), nullptr);
  EXPECT_EQ(Groups->FindByName("Group1", true), G1);
  EXPECT_EQ(Groups->FindByName("none"), nullptr);
  EXPECT_EQ(Groups->Contains(B), 1);
  EXPECT_EQ(Groups->Contains(A), -1);
}

TEST_F(SeriesListTest, GroupCopiesNameAndMembers) {
  TLogSeries* A = AddSeries("A");
  TSeriesGroup* From = Group("From");
  From->Add(A);
  From->Add(A);  // a member may be listed twice
  TSeriesGroup* Into = Group("Into");
  Into->Assign(From);
  EXPECT_EQ(Into->GetName(), "From");
  EXPECT_EQ(Into->GetSeries()->GetCount(), 2);
}

TEST_F(SeriesListTest, ASeriesLeavingTheChartLeavesItsGroups) {
  TLogSeries* A = AddSeries("A");
  TLogSeries* B = AddSeries("B");
  TSeriesGroup* G = Group("G");
  G->Add(A);
  G->Add(B);
  A->Free();
  ASSERT_EQ(G->GetSeries()->GetCount(), 1);
  EXPECT_EQ(G->GetSeries()->Get(0), B);
  Chart->RemoveSeries(B);
  EXPECT_EQ(G->GetSeries()->GetCount(), 0);
  B->Free();
}

TEST_F(SeriesListTest, StoredGroupMembersAreResolvedWhenTheChartHasLoaded) {
  AddSeries("A");
  TLogSeries* B = AddSeries("B");
  TLogSeries* C = AddSeries("C");
  TSeriesGroup* From = Group("From");
  From->Add(C);
  TOwned<TLogSeries> Stray(Create<TLogSeries>(nullptr));  // of no chart: it has no index to store
  From->Add(Stray.get());
  From->Add(B);
  TMemoryStream Stream;
  {
    TWriter W(&Stream);
    W.WriteProperties(From);
    W.WriteListEnd();
  }
  From->GetSeries()->Remove(Stray.get());
  TSeriesGroup* Into = Group("Into");
  Stream.SetPosition(0);
  TReader R(&Stream);
  R.ReadProperties(Into);
  ASSERT_NE(Into->GetTempSeries(), nullptr);
  EXPECT_EQ(Into->GetSeries()->GetCount(), 0);
  Chart->Loaded();
  EXPECT_EQ(Into->GetTempSeries(), nullptr);
  ASSERT_EQ(Into->GetSeries()->GetCount(), 2);
  EXPECT_EQ(Into->GetSeries()->Get(0), C);
  EXPECT_EQ(Into->GetSeries()->Get(1), B);
}

TEST_F(SeriesListTest, AStoredIndexOutsideTheSeriesIsAnErrorAndIsDropped) {
  AddSeries("A");
  TSeriesGroup* G = Group("G");
  TMemoryStream Stream;
  {
    TWriter W(&Stream);
    W.WritePropName("Series");
    W.WriteListBegin();
    W.WriteString("0");
    W.WriteString("7");
    W.WriteListEnd();
    W.WriteListEnd();
  }
  Stream.SetPosition(0);
  TReader R(&Stream);
  R.ReadProperties(G);
  EXPECT_THROW(Chart->Loaded(), EReadError);
  EXPECT_EQ(G->GetTempSeries(), nullptr);
  EXPECT_NO_THROW(Chart->Loaded());
}

TEST_F(SeriesListTest, EmptyGroupStoresNoSeries) {
  TSeriesGroup* G = Group("G");
  TMemoryStream Stream;
  {
    TWriter W(&Stream);
    W.WriteProperties(G);
    W.WriteListEnd();
  }
  const std::vector<Byte>& Bytes = Stream.GetBytes();
  const String Written(Bytes.begin(), Bytes.end());
  EXPECT_EQ(Written.find("Series"), String::npos) << "only its name";
  EXPECT_NE(Written.find("Name"), String::npos);
}

TEST_F(SeriesListTest, ClickedFindsTheTopmostActiveSeries) {
  TLogSeries* A = AddSeries("A");
  TLogSeries* B = AddSeries("B");
  A->HitX = 10;
  B->HitX = 11;
  std::int32_t Index = 5;
  TChartSeriesList* L = Chart->GetSeriesList();
  EXPECT_EQ(L->Clicked(10, 0, Index), B);
  EXPECT_EQ(Index, 0);
  B->SetActive(false);
  EXPECT_EQ(L->Clicked(10, 0, Index), A);
  EXPECT_EQ(L->Clicked(50, 0, Index), nullptr);
  EXPECT_EQ(Index, -1);
}

TEST_F(SeriesListTest, AllActive) {
  TChartSeriesList* L = Chart->GetSeriesList();
  EXPECT_TRUE(L->GetAllActive());
  TLogSeries* A = AddSeries("A");
  AddSeries("B");
  A->SetActive(false);
  EXPECT_FALSE(L->GetAllActive());
  L->SetAllActive(true);
  EXPECT_TRUE(L->GetAllActive());
  L->SetAllActive(false);
  EXPECT_EQ(Chart->CountActiveSeries(), 0);
}

TEST_F(SeriesListTest, ClearValuesEmptiesEverySeries) {
  AddSeries("A", 4);
  AddSeries("B", 2);
  Chart->GetSeriesList()->ClearValues();
  EXPECT_EQ(Chart->GetMaxValuesCount(), 0);
  EXPECT_EQ(Chart->GetSeries(0)->Count(), 0);
}

TEST_F(SeriesListTest, AxesResetMakesEveryAxisAutomatic) {
  TChartAxes* Axes = Chart->GetAxes();
  EXPECT_TRUE(Axes->GetAuto());
  Chart->GetBottomAxis()->SetMinMax(3, 9);  // as a zoom does
  EXPECT_FALSE(Axes->GetAuto());
  Axes->Reset();
  EXPECT_TRUE(Axes->GetAuto());
  EXPECT_TRUE(Chart->GetBottomAxis()->GetAutomatic());

  Axes->Hide();
  EXPECT_FALSE(Chart->GetAxisVisible());
  Axes->SetBehind(false);
  EXPECT_FALSE(Chart->GetAxisBehind());
}

TEST_F(SeriesListTest, CustomAxesJoinTheAxesList) {
  TChartAxis* A = Chart->GetCustomAxes()->Add();
  ASSERT_NE(A, nullptr);
  EXPECT_EQ(Chart->GetAxes()->IndexOf(A), 6);
  EXPECT_EQ(Chart->GetCustomAxes()->Get(0), A);
  A->Free();
  EXPECT_EQ(Chart->GetAxes()->GetCount(), 6);
  EXPECT_EQ(Chart->GetCustomAxes()->GetCount(), 0);
}

TEST_F(SeriesListTest, SubAxesFollowTheirMaster) {
  TChartAxis* Master = Chart->GetTopAxis();
  TChartAxis* Sub = Master->GetSubAxes()->Add();
  EXPECT_EQ(Sub->GetMaster(), Master);
  EXPECT_TRUE(Sub->GetHorizontal());
  EXPECT_TRUE(Sub->GetOtherSide());
  EXPECT_FALSE(Sub->GetGrid()->GetVisible());
  EXPECT_EQ(Chart->GetAxes()->IndexOf(Sub), -1);

  Master->SetMinMax(5, 50);
  Master->GetSubAxes()->ResetScales(Master);
  EXPECT_EQ(Sub->GetMinimum(), 5);
  EXPECT_EQ(Sub->GetMaximum(), 50);
  Chart->GetCustomAxes()->ResetScales(Master);  // no custom axis has this master
}

TEST(EngineUnitTest, StartedUnitSetsThePixelBoundAndRegistersStoredClasses) {
  EXPECT_EQ(ZelMaxPixelPos, 32767);
  const char* Names[] = {"TChartAxis", "TChartDepthAxis", "TChartAxisTitle", "TSeriesMarks"};
  for (const char* Name : Names) EXPECT_NE(GetClass(Name), nullptr) << Name;
  EXPECT_NE(GetItemClass("TSeriesGroup"), nullptr);
}

}  // namespace
}  // namespace zel::testing
