// Bad and extreme data through every series kind, function and tool on a small chart: each data
// set under each axis setting is painted in 2D and 3D, zoomed (also to a zero-width rectangle),
// unzoomed, scrolled, moused over, stored and read back, and then given ordinary data again.
// The checks: no sanitizer report (UndefinedBehaviorSanitizer reports abort the test build), the
// shown axis ends finite and ordered, every tick on its axis, no series primitive with a
// coordinate that is not finite, nothing of a series outside the chart rectangle where the axes
// show all the data (a value that is not finite is left out, not drawn at pixel 0), and values
// that are not finite kept bit for bit by storage.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <utility>
#include <algorithm>
#include <limits>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/RecordingCanvas.h"
#include "zelgraph/chart/Chart.h"
#include "zelgraph/chart/Legend.h"
#include "zelgraph/chart/Registries.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/AxisItems.h"
#include "zelgraph/engine/Function.h"
#include "zelgraph/engine/Pointer.h"
#include "zelgraph/engine/SeriesList.h"
#include "zelgraph/engine/Tools.h"
#include "zelgraph/series/Area.h"
#include "zelgraph/series/FastLine.h"
#include "zelgraph/series/LineSeries.h"
#include "zelgraph/tools/ScrollBar.h"
#include "tests/support/ChartRoundTrip.h"
#include "tests/support/RandomChart.h"
#include "tests/support/StreamText.h"

namespace zel::testing {
namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr double Largest = std::numeric_limits<double>::max();
constexpr int Width = 240, Height = 180;

struct TDataSet {
  TDataSet(const char* AName, std::vector<double> AX, std::vector<double> AY, std::vector<int> ANulls = {},
           bool ADateTime = false)
      : Name(AName), X(std::move(AX)), Y(std::move(AY)), Nulls(std::move(ANulls)), DateTime(ADateTime) {}
  const char* Name;
  std::vector<double> X, Y;
  std::vector<int> Nulls;  // indexes made null points (-1: all of them)
  bool DateTime = false;
};

std::vector<double> Seq(int N, double From = 0, double Step = 1) {
  std::vector<double> V;
  for (int I = 0; I < N; ++I) V.push_back(From + I * Step);
  return V;
}

const std::vector<TDataSet>& DataSets() {
  static const std::vector<TDataSet> Sets = {
      {"Empty", {}, {}},
      {"OnePoint", {1}, {5}},
      {"TwoEqual", {1, 1}, {5, 5}},
      {"AllEqual", Seq(8), std::vector<double>(8, 5)},
      {"SameX", std::vector<double>(5, 3), {1, 5, 2, 4, 3}},
      {"NaNFirst", Seq(7), {NaN, 1, 3, 2, 5, 4, 6}},
      {"NaNMiddle", Seq(7), {0, 1, 3, NaN, 5, 4, 6}},
      {"NaNLast", Seq(7), {0, 1, 3, 2, 5, 4, NaN}},
      {"NaNAll", Seq(5), std::vector<double>(5, NaN)},
      {"NaNX", {0, 1, NaN, 3, 4}, {1, 2, 3, 4, 5}},
      {"Infinities", Seq(6), {1, Inf, 3, -Inf, 5, 2}},
      {"InfinityX", {0, 1, Inf, 3, -Inf, 5}, Seq(6)},
      {"Huge", Seq(4), {1e308, -1e308, 0, 1e308}},
      {"HugeX", {0, 1e300, 2e300, 3e300}, {1, 3, 2, 4}},
      // values some instruments write for "no reading"
      {"Sentinels", Seq(4), {1e308, -1e308, Largest, -Largest}},
      {"SentinelsX", {1e308, -1e308, Largest, -Largest}, Seq(4)},
      {"Denormals", Seq(4), {4.9e-324, 1e-320, 0, 2e-310}},
      {"TinyRange", Seq(4), {1, 1 + 1e-9, 1 + 3e-9, 1 + 2e-9}},
      {"BelowTolerance", Seq(4), {1, 1 + 1e-13, 1 + 3e-13, 1 + 2e-13}},
      {"Offset1e15", Seq(5, 1e15), Seq(5, 1e15, 0.5)},
      {"Year1", Seq(5, -693593), {3, 1, 4, 1, 5}, {}, true},
      {"Year9999", Seq(5, 2958465 - 5), {3, 1, 4, 1, 5}, {}, true},
      {"Nulls", Seq(6), {1, 4, 2, 5, 3, 6}, {1, 4}},
      {"AllNulls", Seq(4), {1, 4, 2, 5}, {-1}},
      {"Negative", Seq(5), {-5, -1, -3, -10, -2}},
      {"DescendingX", Seq(6, 6, -1), {1, 4, 2, 5, 3, 6}},
  };
  return Sets;
}

enum class TAxisSetting { Automatic, Fixed, Logarithmic, Inverted, DateTime, WholeRange };
const char* const AxisSettingNames[] = {"Automatic", "Fixed", "Logarithmic", "Inverted", "DateTime", "WholeRange"};

// The series kinds a chart can hold: those of the series type registry, and the concrete kinds
// every chart test covers.
std::vector<const TClass*> SeriesKinds() {
  std::vector<const TClass*> Kinds = RandomChartSeriesKinds();
  Kinds.push_back(TCustomSeries::StaticClass());
  for (std::int32_t I = 0; ZelSeriesTypes && I < ZelSeriesTypes->Count(); ++I)
    if (const TClass* C = ZelSeriesTypes->Get(I)->SeriesClass)
      if (std::find(Kinds.begin(), Kinds.end(), C) == Kinds.end()) Kinds.push_back(C);
  return Kinds;
}

// A colour of the series' own that no other part of the chart uses.
TAlphaColor SeriesColor(int K) { return 0xFF0A1B00u + static_cast<TAlphaColor>(K) * 7; }

class TExtremeChart {
 public:
  explicit TExtremeChart(TAxisSetting Setting) : FSetting(Setting), FMade(ChartOnForm("Chart1", Width, Height)) {
    C = FMade.Chart;
    C->SetView3D(false);
    C->GetZoom()->SetHistory(true);
    int K = 0;
    for (const TClass* Kind : SeriesKinds()) {
      AddSeries(static_cast<TChartSeries*>(Kind->Create(C)), K++);
    }
    // Variants that take other drawing paths.
    auto* Poly = Create<TFastLineSeries>(C);  // the single polyline (and merged columns)
    Poly->SetDrawStyle(TFastLineDrawStyle::flAll);
    AddSeries(Poly, K++);
    auto* MinMax = Create<TFastLineSeries>(C);  // one stroke per pixel column, nulls as gaps
    MinMax->SetDrawAllPoints(false);
    MinMax->SetDrawAllPointsStyle(TDrawAllPointsStyle::daMinMax);
    MinMax->SetTreatNulls(TTreatNullsStyle::tnDontPaint);
    AddSeries(MinMax, K++);
    auto* Stairs = Create<TFastLineSeries>(C);
    Stairs->SetStairs(true);
    Stairs->SetTreatNulls(TTreatNullsStyle::tnSkip);
    AddSeries(Stairs, K++);
    auto* Pointers = Create<TCustomSeries>(C);
    Pointers->GetPointer()->SetVisible(true);
    Pointers->SetTreatNulls(TTreatNullsStyle::tnSkip);
    AddSeries(Pointers, K++);
    auto* Smoothed = Create<TCustomSeries>(C);
    AddSeries(Smoothed, K++);
    Smoothed->SetSmoothed(true);
    auto* AreaStairs = Create<TAreaSeries>(C);
    AreaStairs->SetStairs(true);
    AddSeries(AreaStairs, K++);
    // A series fed by each function, by points and by a range of X.
    for (std::int32_t I = 0; ZelSeriesTypes && I < ZelSeriesTypes->Count(); ++I) {
      const TClass* FunctionClass = ZelSeriesTypes->Get(I)->FunctionClass;
      if (!FunctionClass) continue;
      for (int Style = 0; Style < 3; ++Style) {
        auto* S = Create<TFastLineSeries>(C);
        auto* F = static_cast<TZelFunction*>(FunctionClass->Create(C));
        F->SetName("Function" + std::to_string(++FFunctions));
        S->SetFunction(F);
        if (Style > 0) {
          F->SetPeriodStyle(Style == 1 ? TFunctionPeriodStyle::psNumPoints : TFunctionPeriodStyle::psRange);
          F->SetPeriod(Style == 1 ? 2 : 1);
        }
        AddSeries(S, K++, false);
        S->SetDataSource(Sources[0]);
      }
    }
    // Every registered tool, on the first series or the left axis.
    for (std::int32_t I = 0; ZelToolTypes && I < ZelToolTypes->Count(); ++I) {
      auto* T = static_cast<TZelCustomTool*>(ZelToolTypes->Get(I)->Create(C));
      T->SetName("Tool" + std::to_string(I + 1));
      T->SetParentChart(C);
      if (auto* TS = dynamic_cast<TZelCustomToolSeries*>(T)) TS->SetSeries(Sources[0]);
      if (auto* TA = dynamic_cast<TZelCustomToolAxis*>(T)) TA->SetAxis(C->GetLeftAxis());
      if (auto* SB = dynamic_cast<TAxisScrollBarTool*>(T)) SB->SetAxis(C->GetBottomAxis());
    }
    ApplySetting();
  }

  void AddSeries(TChartSeries* S, int K, bool Source = true) {
    S->SetName("Series" + std::to_string(K + 1));
    S->SetSeriesColor(SeriesColor(K));
    S->SetParentChart(C);
    S->ManualData = Source;
    All.push_back(S);
    if (Source) Sources.push_back(S);
  }

  void ApplySetting() {
    TChartAxis* L = C->GetLeftAxis();
    TChartAxis* B = C->GetBottomAxis();
    switch (FSetting) {
      case TAxisSetting::Automatic:
        break;
      case TAxisSetting::Fixed:
        L->SetMinMax(-2, 8);
        B->SetMinMax(1, 4);
        break;
      case TAxisSetting::Logarithmic:
        L->SetLogarithmic(true);
        B->SetLogarithmic(true);
        break;
      case TAxisSetting::Inverted:
        L->SetInverted(true);
        B->SetInverted(true);
        break;
      case TAxisSetting::DateTime:
        break;
      case TAxisSetting::WholeRange:
        L->SetMinMax(-Largest, Largest);
        B->SetMinMax(-Largest, Largest);
        break;
    }
  }

  void Fill(const TDataSet& D) {
    for (TChartSeries* S : Sources) {
      S->BeginUpdate();
      S->Clear();
      S->GetXValues()->SetDateTime(D.DateTime || FSetting == TAxisSetting::DateTime);
      for (std::size_t I = 0; I < D.X.size(); ++I) S->AddXY(D.X[I], D.Y[I]);
      for (int N : D.Nulls) {
        if (N < 0)
          for (std::int32_t I = 0; I < S->Count(); ++I) S->SetNull(I);
        else if (N < S->Count())
          S->SetNull(N);
      }
      S->EndUpdate();
    }
  }

  // Whether the axes show every finite value: then nothing of a series lies outside the chart
  // rectangle.
  bool ShowsAll() const {
    return FSetting == TAxisSetting::Automatic || FSetting == TAxisSetting::DateTime ||
           FSetting == TAxisSetting::WholeRange;
  }

  std::unique_ptr<TRecordingCanvas> Paint(bool Legend = false) {
    auto Canvas = std::make_unique<TRecordingCanvas>(Width, Height);
    C->GetLegend()->SetVisible(Legend);
    C->SetBufferedDisplay(false);
    C->Draw(Canvas.get(), TRectF(0, 0, Width, Height));
    return Canvas;
  }

  TChart* C = nullptr;
  std::vector<TChartSeries*> All, Sources;

 private:
  TAxisSetting FSetting;
  TChartOnForm FMade;
  int FFunctions = 0;
};

bool Finite(TPointF P) { return std::isfinite(P.X) && std::isfinite(P.Y); }

// The value labels of a linear axis lie on it at one spacing and reach both its ends: no end of
// the axis is left more than a step without a label.
void CheckValueLabels(TChartAxis* A) {
  TAxisItems* Items = A->GetItems();
  if (!Items->GetAuto() || A->GetLogarithmic() || A->IAxisDateTime || Items->GetCount() < 2 ||
      A->CalcLabelStyle() != TAxisLabelStyle::talValue)
    return;
  std::vector<std::int32_t> Pos;
  String All;
  for (std::int32_t I = 0; I < Items->GetCount(); ++I) {
    Pos.push_back(Items->Get(I)->GetLabelPos());
    All += Items->Get(I)->GetText() + " ";
  }
  std::sort(Pos.begin(), Pos.end());
  std::int32_t Least = INT32_MAX, Most = 0;
  for (std::size_t I = 1; I < Pos.size(); ++I) {
    Least = std::min(Least, Pos[I] - Pos[I - 1]);
    Most = std::max(Most, Pos[I] - Pos[I - 1]);
  }
  // (each pixel is rounded, half to even: two gaps differ by up to two pixels)
  EXPECT_LE(Most - Least, 2) << "labels at uneven spacing: " << All;
  const std::int32_t Lo = std::min(A->IStartPos, A->IEndPos), Hi = std::max(A->IStartPos, A->IEndPos);
  EXPECT_LE(Pos.front() - Lo, Most + 1) << "no label near one end: " << All;
  EXPECT_LE(Hi - Pos.back(), Most + 1) << "no label near one end: " << All;
}

// The checks of one paint: axis ends and ticks; series primitives finite and, when Inside, within
// the chart rectangle (widened by a pointer and a pen).
void CheckPaint(TChart* C, const TRecordingCanvas& Canvas, bool Inside, const std::string& Step);
void CheckPaint(TChart* C, const std::unique_ptr<TRecordingCanvas>& Canvas, bool Inside, const std::string& Step) {
  CheckPaint(C, *Canvas, Inside, Step);
}
void CheckPaint(TChart* C, const TRecordingCanvas& Canvas, bool Inside, const std::string& Step) {
  SCOPED_TRACE(Step);
  for (TChartAxis* A : {C->GetLeftAxis(), C->GetBottomAxis(), C->GetRightAxis(), C->GetTopAxis()}) {
    EXPECT_TRUE(std::isfinite(A->IMinimum) && std::isfinite(A->IMaximum))
        << "axis ends " << A->IMinimum << " .. " << A->IMaximum;
    EXPECT_LE(A->IMinimum, A->IMaximum);
    if (!A->GetVisible() || A->Tick.empty()) continue;
    const std::int32_t Lo = std::min(A->IStartPos, A->IEndPos), Hi = std::max(A->IStartPos, A->IEndPos);
    for (std::int32_t T : A->Tick) {
      EXPECT_GE(T, Lo - 1) << "tick off the axis";
      EXPECT_LE(T, Hi + 1) << "tick off the axis";
    }
    CheckValueLabels(A);
  }
  std::set<TAlphaColor> Colors;
  for (std::size_t K = 0; K < 64; ++K) Colors.insert(SeriesColor(static_cast<int>(K)));
  const TRectF R = C->GetChartRect();
  const float Margin = 8;
  int Reported = 0;
  for (const TCanvasRecord& Rec : Canvas.GetRecords()) {
    if (!Colors.count(Rec.Color)) continue;
    std::vector<TPointF> Points = Rec.Points;
    if (Rec.Kind != TRecordKind::DrawLine && Rec.Kind != TRecordKind::Polyline && Rec.Kind != TRecordKind::FillPolygon &&
        Rec.Kind != TRecordKind::DrawPolygon && Rec.Kind != TRecordKind::FillPath && Rec.Kind != TRecordKind::DrawPath)
      Points = {TPointF(Rec.Rect.Left, Rec.Rect.Top), TPointF(Rec.Rect.Right, Rec.Rect.Bottom)};
    for (const TPointF& P : Points) {
      const bool Ok = Finite(P) && (!Inside || (P.X >= R.Left - Margin && P.X <= R.Right + Margin &&
                                                 P.Y >= R.Top - Margin && P.Y <= R.Bottom + Margin));
      if (!Ok && Reported++ < 3)
        ADD_FAILURE() << "series colour " << std::hex << Rec.Color << std::dec << " record kind "
                      << static_cast<int>(Rec.Kind) << " drawn at (" << P.X << ", " << P.Y << "), chart rectangle "
                      << R.Left << ", " << R.Top << ", " << R.Right << ", " << R.Bottom;
    }
  }
}

// The values of a series' lists, bit for bit.
std::vector<std::uint64_t> Bits(TChartSeries* S) {
  std::vector<std::uint64_t> B;
  for (TChartValueList* L : {S->GetXValues(), S->GetYValues()})
    for (std::int32_t I = 0; I < L->GetCount(); ++I) {
      std::uint64_t U;
      const double V = L->Value[I];
      std::memcpy(&U, &V, sizeof U);
      B.push_back(U);
    }
  return B;
}

using TCase = std::tuple<int, int>;  // data set, axis setting

class ExtremeDataTest : public ::testing::TestWithParam<TCase> {};

TEST_P(ExtremeDataTest, DrawsWhatItCanThroughEveryStep) {
  const TDataSet& D = DataSets()[static_cast<std::size_t>(std::get<0>(GetParam()))];
  const auto Setting = static_cast<TAxisSetting>(std::get<1>(GetParam()));
  // The line-series base is not a registered kind; a stream that holds one reads it back here.
  TRegisteredWhileInScope<TCustomSeries> LineBase;
  TExtremeChart X(Setting);
  TChart* C = X.C;
  X.Fill(D);

  CheckPaint(C, X.Paint(), X.ShowsAll(), "first paint");
  CheckPaint(C, X.Paint(true), false, "with the legend");

  C->SetView3D(true);
  CheckPaint(C, X.Paint(true), false, "3D");
  C->SetView3D(false);
  X.Paint();

  const TRectF R = C->GetChartRect();
  C->ZoomRect(TRectF(R.Left + R.Width() / 4, R.Top + R.Height() / 4, R.Right - R.Width() / 4, R.Bottom - R.Height() / 4));
  CheckPaint(C, X.Paint(), false, "zoomed");
  const float MidX = std::round(R.Left + R.Width() / 2), MidY = std::round(R.Top + R.Height() / 2);
  C->ZoomRect(TRectF(MidX, R.Top + 2, MidX, R.Bottom - 2));
  CheckPaint(C, X.Paint(), false, "zero-width zoom");
  C->ZoomRect(TRectF(MidX - 1, MidY, MidX + 1, MidY));
  CheckPaint(C, X.Paint(), false, "zero-height zoom");
  C->UndoZoom();
  C->UndoZoom();
  C->UndoZoom();
  CheckPaint(C, X.Paint(), X.ShowsAll(), "zoom undone");

  for (TChartAxis* A : {C->GetBottomAxis(), C->GetLeftAxis()}) {
    const double Range = A->GetMaximum() - A->GetMinimum();
    A->Scroll(std::isfinite(Range) ? Range / 10 : 1, false);
  }
  CheckPaint(C, X.Paint(), false, "scrolled");
  C->UndoZoom();

  for (float MX = 0; MX <= Width; MX += Width / 7.0f)
    for (float MY = 0; MY <= Height; MY += Height / 5.0f) C->MouseMove({}, MX, MY);
  CheckPaint(C, X.Paint(true), false, "after mouse moves");

  const std::vector<Byte> Stored = Store(C);
  TOwned<TChart> Back = ReadInto(Stored, Width, Height);
  {
    TRecordingCanvas Canvas(Width, Height);
    Back->SetBufferedDisplay(false);
    Back->Draw(&Canvas, TRectF(0, 0, Width, Height));
    CheckPaint(Back.get(), Canvas, false, "read back");
  }
  for (TChartSeries* S : X.Sources) {
    auto* B = dynamic_cast<TChartSeries*>(Back->FindComponent(S->GetName()));
    ASSERT_NE(B, nullptr) << S->GetName();
    EXPECT_EQ(Bits(B), Bits(S)) << S->GetName() << " read back";
  }

  X.Fill({"Ordinary", Seq(6, 1), {1, 4, 2, 5, 3, 6}});
  for (TChartAxis* A : {C->GetBottomAxis(), C->GetLeftAxis()})
    if (Setting != TAxisSetting::Fixed) A->SetAutomatic(true);
  CheckPaint(C, X.Paint(), Setting != TAxisSetting::Fixed, "ordinary data after");
  for (TChartSeries* S : X.All) EXPECT_GT(S->Count(), 0) << S->GetName() << " calculated from ordinary data";
}

INSTANTIATE_TEST_SUITE_P(All, ExtremeDataTest,
                         ::testing::Combine(::testing::Range(0, static_cast<int>(DataSets().size())),
                                            ::testing::Range(0, 6)),
                         [](const ::testing::TestParamInfo<TCase>& Info) {
                           return std::string(DataSets()[static_cast<std::size_t>(std::get<0>(Info.param))].Name) +
                                  "_" + AxisSettingNames[std::get<1>(Info.param)];
                         });

}  // namespace
}  // namespace zel::testing
