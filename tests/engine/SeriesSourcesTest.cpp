#include <gtest/gtest.h>

#include <vector>

#include "TestPanel.h"
#include "platform/Filer.h"
#include "platform/Streams.h"
#include "zelgraph/engine/Engine.h"
#include "zelgraph/engine/Function.h"

namespace zel {
namespace {

std::vector<double> Ys(const TChartSeries* S) {
  std::vector<double> R;
  for (std::int32_t I = 0; I < S->Count(); ++I) R.push_back(S->GetYValues()->Value[I]);
  return R;
}

struct SourcesFixture : testing::Test {
  void TearDown() override {
    for (TComponent* C : Owned) C->Free();
  }
  template <typename T = TChartSeries>
  T* New() {
    T* S = Create<T>(nullptr);
    Owned.insert(Owned.begin(), S);
    return S;
  }
  std::vector<TComponent*> Owned;
};

TEST_F(SourcesFixture, DependentCopiesAndFollowsItsSource) {
  TChartSeries* A = New();
  TChartSeries* B = New();
  A->AddXY(0, 1, "a");
  A->AddXY(1, 2, "", 0xFFFF0000);
  B->SetDataSource(A);
  EXPECT_EQ(B->GetDataSource(), A);
  EXPECT_FALSE(B->ManualData);
  EXPECT_EQ(Ys(B), (std::vector<double>{1, 2}));
  EXPECT_EQ(B->GetXLabel(0), "a");
  EXPECT_EQ(B->InternalColor(1), 0xFFFF0000u);

  A->AddXY(2, 3);
  EXPECT_EQ(Ys(B), (std::vector<double>{1, 2, 3}));
  A->Delete(0);
  EXPECT_EQ(Ys(B), (std::vector<double>{2, 3}));
  A->Clear();
  EXPECT_EQ(B->Count(), 0);

  B->SetDataSource(nullptr);
  A->AddXY(5, 5);
  EXPECT_EQ(B->Count(), 0);  // no longer follows
}

TEST_F(SourcesFixture, InvalidAndCircularSourcesAreRefused) {
  TChartSeries* A = New();
  TChartSeries* B = New();
  TChartSeries* C = New();
  TComponent* Plain = Create<TComponent>(nullptr);
  Owned.push_back(Plain);
  B->SetDataSource(A);
  C->SetDataSource(B);
  struct Case {
    const char* Name;
    TComponent* Source;
    String Message;
  };
  const std::vector<Case> Cases = {
      {"itself without a chart", A, "No ParentChart to validate DataSource"},
      {"a component that is no series", Plain, "No ParentChart to validate DataSource"},
      {"a direct circle", B, "Circular Series dependences are not allowed"},
      {"a circle through a third series", C, "Circular Series dependences are not allowed"},
  };
  for (const Case& K : Cases) {
    try {
      A->SetDataSource(K.Source);
      ADD_FAILURE() << K.Name;
    } catch (const ChartException& E) {
      EXPECT_EQ(String(E.what()), K.Message) << K.Name;
    }
    EXPECT_EQ(A->GetDataSource(), nullptr) << K.Name;
  }
}

// A circle that closes through a later source of a series, not its first one: refused alike with
// and without a chart, and the series keep their sources.
TEST_F(SourcesFixture, CircleThroughALaterSourceIsRefusedWithOrWithoutChart) {
  for (const bool InChart : {false, true}) {
    TTestPanel* Chart = InChart ? Create<TTestPanel>(nullptr) : nullptr;
    TChartSeries* A = New();
    TChartSeries* B = New();
    TChartSeries* C = New();
    if (Chart) {
      for (TChartSeries* S : {A, B, C}) Chart->AddSeries(S);
    }
    A->GetDataSources()->Add(C);
    A->GetDataSources()->Add(B);
    try {
      B->SetDataSource(A);
      ADD_FAILURE() << "in chart: " << InChart;
    } catch (const ChartException& E) {
      EXPECT_EQ(String(E.what()), "Circular Series dependences are not allowed") << "in chart: " << InChart;
    }
    EXPECT_EQ(B->GetDataSource(), nullptr);
    EXPECT_EQ(A->GetDataSources()->Count(), 2);
    for (TChartSeries* S : {A, B, C}) S->SetParentChart(nullptr);
    if (Chart) Chart->Free();
  }
}

TEST_F(SourcesFixture, FreedSourceLeavesTheDependentAlone) {
  TChartSeries* A = Create<TChartSeries>(nullptr);
  TChartSeries* B = New();
  A->AddXY(0, 1);
  B->SetDataSource(A);
  A->Free();
  EXPECT_EQ(B->GetDataSource(), nullptr);
  EXPECT_EQ(B->Count(), 0);
  B->AddXY(0, 1);  // still usable
  EXPECT_EQ(B->Count(), 1);
}

TEST_F(SourcesFixture, SeveralSourcesAndTheirNames) {
  TComponent* Form = Create<TComponent>(nullptr);
  auto* A = Create<TChartSeries>(Form);
  auto* B = Create<TChartSeries>(Form);
  auto* C = Create<TChartSeries>(Form);
  A->SetName("A");
  B->SetName("B");
  C->GetDataSources()->Add(A);
  C->GetDataSources()->Add(B);
  EXPECT_EQ(C->GetDataSources()->Count(), 2);
  EXPECT_EQ(C->GetDataSources()->Add(A), -1);  // already there

  TMemoryStream M;
  {
    TWriter W(&M);
    W.WriteProperties(C);
    W.WriteListEnd();
  }
  M.SetPosition(0);
  auto* D = Create<TChartSeries>(Form);
  {
    TReader R(&M);
    R.ReadProperties(D);
    R.ReadListEnd();
  }
  D->Loaded();
  ASSERT_EQ(D->GetDataSources()->Count(), 2);
  EXPECT_EQ(D->GetDataSources()->Get(0), A);
  EXPECT_EQ(D->GetDataSources()->Get(1), B);
  Form->Free();
}

TEST_F(SourcesFixture, AssignCopiesFormatAndEitherPointsOrSources) {
  TChartSeries* A = New();
  TChartSeries* Src = New();
  A->SetValueFormat("0.0");
  A->SetSeriesColor(0xFF00FF00);
  A->AddXY(0, 4, "x");
  A->ManualData = true;
  TChartSeries* Copy = New();
  Copy->Assign(A);
  EXPECT_EQ(Copy->GetValueFormat(), "0.0");
  EXPECT_EQ(Copy->GetSeriesColor(), 0xFF00FF00u);
  EXPECT_EQ(Ys(Copy), (std::vector<double>{4}));
  EXPECT_EQ(Copy->GetXLabel(0), "x");
  EXPECT_TRUE(Copy->ManualData);

  Src->AddXY(0, 9);
  TChartSeries* Linked = New();
  Linked->SetDataSource(Src);
  TChartSeries* Copy2 = New();
  Copy2->Assign(Linked);
  EXPECT_EQ(Copy2->GetDataSource(), Src);
  EXPECT_EQ(Ys(Copy2), (std::vector<double>{9}));
}


// A source that loads two points each time.
class TTwoPointSource : public TZelSeriesSource {
 public:
  using TZelSeriesSource::TZelSeriesSource;
  void Load() override {
    ++Loads;
    if (GetSeries()) {
      if (GetLoadMode() == TSourceLoadMode::lmClear) GetSeries()->Clear();
      GetSeries()->AddXY(0, 1);
      GetSeries()->AddXY(1, 2);
    }
  }
  int Loads = 0;
};

TEST_F(SourcesFixture, SeriesSourceLoadsWhenActive) {
  TChartSeries* S = New();
  auto* Src = Create<TTwoPointSource>(nullptr);
  // Without a chart only series are accepted as sources.
  EXPECT_THROW(Src->SetSeries(S), ChartException);
  EXPECT_EQ(S->GetDataSource(), nullptr);
  auto* Chart = Create<TTestPanel>(nullptr);
  Owned.push_back(Chart);
  Chart->AddSeries(S);
  Src->SetSeries(nullptr);
  Src->SetSeries(S);
  EXPECT_EQ(S->GetDataSource(), Src);
  EXPECT_EQ(S->Count(), 0);  // not active yet
  Src->Open();
  EXPECT_EQ(Src->Loads, 1);
  EXPECT_EQ(S->Count(), 2);
  Src->Refresh();
  EXPECT_EQ(Src->Loads, 2);
  EXPECT_EQ(S->Count(), 2);
  Src->Close();  // clear mode empties the series
  EXPECT_EQ(S->Count(), 0);
  Src->SetLoadMode(TSourceLoadMode::lmAppend);
  Src->Open();
  Src->Close();  // append mode keeps the points
  EXPECT_EQ(S->Count(), 2);
  EXPECT_TRUE(Src->HasSeries(S));
  Src->Free();  // the series forgets it, and its points came from it
  EXPECT_EQ(S->GetDataSource(), nullptr);
  EXPECT_EQ(S->Count(), 0);
  S->AddXY(5, 5);
  EXPECT_EQ(S->Count(), 1);
}


TEST_F(SourcesFixture, SourceMovedToAnotherSeriesLeavesTheFirst) {
  auto* Chart = Create<TTestPanel>(nullptr);
  Owned.push_back(Chart);
  TChartSeries* First = New();
  TChartSeries* Second = New();
  Chart->AddSeries(First);
  Chart->AddSeries(Second);
  auto* Src = Create<TTwoPointSource>(nullptr);
  Src->SetSeries(First);
  Src->Open();
  Second->SetDataSource(Src);
  EXPECT_EQ(Src->GetSeries(), Second);
  EXPECT_EQ(Second->Count(), 2);
  EXPECT_EQ(First->GetDataSource(), nullptr);
  Src->Free();
  EXPECT_EQ(Second->GetDataSource(), nullptr);
  // Freeing the series afterwards (in TearDown) must not touch the freed source.
}


TEST_F(SourcesFixture, DependentMovedBetweenChartsKeepsFollowing) {
  auto* One = Create<TTestPanel>(nullptr);
  auto* Two = Create<TTestPanel>(nullptr);
  Owned.push_back(One);
  Owned.push_back(Two);
  TChartSeries* A = New();
  TChartSeries* B = New();
  One->AddSeries(A);
  One->AddSeries(B);
  B->SetDataSource(A);
  A->AddXY(0, 1);
  One->RemoveSeries(B);
  A->AddXY(1, 2);
  EXPECT_EQ(B->Count(), 1);  // detached: no longer told
  Two->AddSeries(B);         // re-read, and linked again
  EXPECT_EQ(B->Count(), 2);
  A->AddXY(2, 3);
  EXPECT_EQ(B->Count(), 3);
}

}  // namespace
}  // namespace zel
