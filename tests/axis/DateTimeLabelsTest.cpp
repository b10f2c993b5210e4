// The texts of date-time axis labels when the program sets no format: the range's default (the
// time up to a day, the date beyond) unless two neighbouring labels would read the same in it,
// then the texts that tell them apart; and room for the texts drawn. A chart painted on a
// recording canvas (7-pixel characters, 12-pixel lines).
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <memory>
#include <vector>

#include "axis/FlatPanel.h"
#include "platform/RecordingCanvas.h"
#include "platform/SysUtils.h"
#include "support/DrawnText.h"
#include "zelgraph/canvas/Canvas3D.h"
#include "zelgraph/canvas/Font.h"
#include "zelgraph/constants/Constants.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/AxisItems.h"
#include "zelgraph/engine/AxisPanel.h"
#include "zelgraph/engine/Series.h"
#include "zelgraph/procs/DateTimeSteps.h"

namespace zel {
namespace {

constexpr TAlphaColor BottomColor = 0xFF000011, LeftColor = 0xFF000022;

class DateTimeLabelsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Chart = Create<TFlatTestPanel>(nullptr);
    Chart->SetView3D(false);
    Series = Create<TChartSeries>(nullptr);
    Chart->AddSeries(Series);
    Chart->GetBottomAxis()->GetLabelsFont()->SetColor(BottomColor);
    Chart->GetLeftAxis()->GetLabelsFont()->SetColor(LeftColor);
  }
  void TearDown() override { Chart->Free(); }

  // 49 points over Days from 2024-03-15 00:00, the dates on X (or on Y with OnY).
  void AddSpan(double Days, bool OnY = false) {
    Series->Clear();
    (OnY ? Series->GetYValues() : Series->GetXValues())->SetDateTime(true);
    for (int I = 0; I <= 48; ++I) {
      const double T = Start + Days * I / 48;
      if (OnY)
        Series->AddXY(I, T);
      else
        Series->AddXY(T, I);
    }
  }

  void Paint(int W, int H) {
    Canvas = std::make_unique<TRecordingCanvas>(W, H);
    Chart->SetBounds(0, 0, static_cast<float>(W), static_cast<float>(H));
    Chart->SetBufferedDisplay(false);
    Chart->Draw(Canvas.get(), TRectF(0, 0, static_cast<float>(W), static_cast<float>(H)));
  }

  static std::vector<String> Texts(TChartAxis* A) {
    std::vector<String> R;
    for (std::int32_t I = 0; I < A->GetItems()->GetCount(); ++I)
      R.push_back(A->GetItems()->Get(I)->GetText());
    return R;
  }

  static String Joined(const std::vector<String>& T) {
    String R;
    for (const String& S : T) R += S + " | ";
    return R;
  }

  // The first two neighbouring texts that read the same, or empty.
  static String FirstRepeat(const std::vector<String>& T) {
    for (std::size_t I = 1; I < T.size(); ++I)
      if (T[I] == T[I - 1]) return T[I];
    return String();
  }

  const TDateTime Start = EncodeDate(2024, 3, 15);
  TFlatTestPanel* Chart = nullptr;
  TChartSeries* Series = nullptr;
  std::unique_ptr<TRecordingCanvas> Canvas;
};

// Spans from seconds to 40 days, at three widths, with automatic ends and with ends set by hand:
// neighbours never read the same, the range's default texts stay wherever they already differ, and
// the labels are spaced for the texts they show.
TEST_F(DateTimeLabelsTest, NeighbouringLabelsNeverReadTheSame) {
  const double Hour = 1.0 / 24, Minute = Hour / 60, Second = Minute / 60;
  const double Spans[] = {2 * Second, 3 * Minute, 2 * Hour, 6 * Hour, 12 * Hour, 1,
                          1.5,        2,          3,        7,        40};
  TChartAxis* B = Chart->GetBottomAxis();
  for (double Span : Spans) {
    AddSpan(Span);
    for (const int Width : {240, 640, 1280}) {
      // 0: automatic; 1: ends set by hand to the span; 2: ends set by hand with a margin of
      // 0.4 % (as an automatic axis gets with the room of pointers); 3: automatic ends and an
      // increment of a minute set by hand (the step grows from it while the labels need room).
      for (const int Mode : {0, 1, 2, 3}) {
        if (Mode == 3 && Span < Hour) continue;  // (a minute is more than these spans)
        SCOPED_TRACE(FloatToStr(Span) + " days at " + std::to_string(Width) + " mode " +
                     std::to_string(Mode));
        const double Margin = Mode == 2 ? 0.004 * Span : 0;
        if (Mode == 1 || Mode == 2)
          B->SetMinMax(Start - Margin, Start + Span + Margin);
        else
          B->SetAutomatic(true);
        B->SetIncrement(Mode == 3 ? Minute : 0);
        Paint(Width, 300);
        const std::vector<String> T = Texts(B);
        ASSERT_GE(T.size(), 2u) << Joined(T);
        EXPECT_EQ(FirstRepeat(T), "") << Joined(T);
        // The texts of the same labels in each format they may take: the default ones are kept
        // when they differ.
        const std::vector<String> Formats = DateTimeLabelFormats(B->IRange);
        auto TextsIn = [B](const String& Format) {
          std::vector<String> R;
          for (std::int32_t I = 0; I < B->GetItems()->GetCount(); ++I)
            R.push_back(DateTimeToString(Format, B->GetItems()->Get(I)->GetValue()));
          return R;
        };
        if (FirstRepeat(TextsIn(Formats.front())).empty()) {
          EXPECT_EQ(T, TextsIn(Formats.front()));
        }
        // The labels take no more room than the same texts with their format set by hand: their
        // step was measured with the texts drawn.
        const auto Format = std::find_if(Formats.begin(), Formats.end(),
                                         [&](const String& F) { return TextsIn(F) == T; });
        ASSERT_NE(Format, Formats.end()) << Joined(T);
        B->SetDateTimeFormat(*Format);
        Paint(Width, 300);
        EXPECT_LE(T.size(), Texts(B).size()) << Joined(T) << " set by hand: " << Joined(Texts(B));
        B->SetDateTimeFormat(String());
      }
    }
  }
}

// The cases the default texts got wrong: a span of a day and a half at 640 pixels (in steps of
// six hours by the default texts), and a capture of one day whose range, with the margins an
// automatic axis may add, is a little over a day.
TEST_F(DateTimeLabelsTest, RepeatedDatesGainTheTime) {
  TChartAxis* B = Chart->GetBottomAxis();
  AddSpan(1.5);
  Paint(640, 300);
  EXPECT_EQ(Texts(B).front(), "2024-03-16 12:00");
  AddSpan(1);
  B->SetMinMax(Start - 0.004, Start + 1.004);
  Paint(640, 300);
  EXPECT_EQ(Texts(B).front(), "2024-03-16 00:00");
  EXPECT_EQ(Texts(B).back(), "2024-03-15 00:00");
  // Set by hand the range is one day, and the times alone differ.
  B->SetMinMax(Start, Start + 1);
  Paint(640, 300);
  EXPECT_EQ(Texts(B).front(), "00:00");
}

// A left axis of dates is as wide as the texts it draws once they gain the time.
TEST_F(DateTimeLabelsTest, VerticalLabelsBandHoldsTheLongerTexts) {
  TChartAxis* L = Chart->GetLeftAxis();
  AddSpan(1.5, true);
  for (const int Height : {240, 640, 1280}) {
    SCOPED_TRACE(Height);
    Paint(400, Height);
    const std::vector<String> T = Texts(L);
    ASSERT_GE(T.size(), 2u);
    EXPECT_EQ(FirstRepeat(T), "") << Joined(T);
    const TRectF Plot = Chart->GetChartRect();
    for (const zeltest::TDrawnText& D : zeltest::DrawnTexts(*Canvas, LeftColor)) {
      EXPECT_GE(D.Box.Left, 0) << D.Text;
      EXPECT_LE(D.Box.Right, Plot.Left) << D.Text;
    }
  }
}

// Labels of the points' own values (LabelStyle talPointValue) take the format the labels' room
// was measured with: over a day and a half the dates with the time, where the points' dates alone
// would repeat.
TEST_F(DateTimeLabelsTest, PointValueLabelsTakeTheFormatOfTheirRoom) {
  TChartAxis* B = Chart->GetBottomAxis();
  B->SetLabelStyle(TAxisLabelStyle::talPointValue);
  AddSpan(1.5);
  Paint(640, 300);
  const std::vector<String> T = Texts(B);
  ASSERT_GE(T.size(), 3u);
  EXPECT_EQ(FirstRepeat(T), "") << Joined(T);
  EXPECT_EQ(T.front(), "2024-03-15 00:00");
}

// A format the program sets is its choice, repeats and all.
TEST_F(DateTimeLabelsTest, ASetFormatStaysAsItIs) {
  TChartAxis* B = Chart->GetBottomAxis();
  AddSpan(1.5);
  B->SetDateTimeFormat("dd");
  Paint(640, 300);
  const std::vector<String> T = Texts(B);
  ASSERT_GE(T.size(), 3u);
  for (const String& S : T) EXPECT_TRUE(S == "15" || S == "16") << S;
  EXPECT_NE(FirstRepeat(T), "");
}

// The labels drawn, their room and the texts checked for repeats come from one walk: where
// that walk is unusual (ends at the largest doubles, calendar months, a hook that moves the
// values), the room is exactly the widest text drawn, and on a date-time axis the texts take the
// first format under which the labels drawn read apart.
TEST_F(DateTimeLabelsTest, RoomAndFormatFollowTheLabelsDrawn) {
  constexpr double Largest = std::numeric_limits<double>::max();
  struct TCase {
    const char* Name;
    double Min, Max;
    double Increment;
    double Shift;  // a hook moves each value by this much (0: no hook)
    bool Dates;
  };
  const TCase Cases[] = {
      {"whole double range", -Largest, Largest, 0, 0, true},
      {"top half", 0, Largest, 0, 0, true},
      {"bottom half", -Largest, 0, 0, 0, true},
      {"months over three years", Start, Start + 3 * 365, DateTimeStep[dsMonth], 0, true},
      {"half months over a year", Start, Start + 365, DateTimeStep[dsHalfMonth], 0, true},
      // (each label 0.6 days up from a day below the last: two fall on one date)
      {"days, moved up by a hook", Start - 0.3, Start + 5.7, 1, 0.6, true},
      {"numbers, moved down by a hook", 0, 10, 1, -0.25, false},
  };
  TChartAxis* B = Chart->GetBottomAxis();
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    AddSpan(1);
    Series->GetXValues()->SetDateTime(C.Dates);
    B->SetMinMax(C.Min, C.Max);
    B->SetIncrement(C.Increment);
    B->OnNextLabelValue = nullptr;
    // (Numbers in a format the program sets, which shows the quarters the hook moves them by.)
    B->SetAxisValuesFormat(C.Dates ? String(ZelMsg_DefValueFormat) : String("0.##"));
    if (C.Shift != 0) B->OnNextLabelValue = [Shift = C.Shift](TChartAxis*, double& V) { V += Shift; };
    Paint(1280, 300);
    const std::vector<String> T = Texts(B);
    ASSERT_GE(T.size(), 2u) << Joined(T);
    TCanvas3D* Canvas3D = Chart->GetCanvas();
    Canvas3D->AssignFont(B->GetLabelsFont());
    std::int32_t Widest = 0;
    for (const String& S : T) Widest = std::max(Widest, Canvas3D->TextWidth(S));
    EXPECT_EQ(B->MaxLabelsWidth(), Widest + Canvas3D->TextWidth(" ")) << Joined(T);
    if (!C.Dates) continue;
    std::vector<double> Values;
    for (std::int32_t I = 0; I < B->GetItems()->GetCount(); ++I) Values.push_back(B->GetItems()->Get(I)->GetValue());
    const std::vector<String> Formats = DateTimeLabelFormats(B->IRange);
    const String& Format = Formats[FirstDistinctFormat(Formats, Values)];
    for (std::size_t I = 0; I < T.size(); ++I)
      EXPECT_EQ(T[I], DateTimeToString(Format, Values[I])) << Joined(T);
  }
  B->OnNextLabelValue = nullptr;
  B->SetAxisValuesFormat(ZelMsg_DefValueFormat);
}

// Labels of dense points' own values (talPointValue): where the default format would write two
// neighbouring labels drawn alike (hourly points over days: their dates), the labels take the
// first longer format that tells the drawn neighbours apart; on a vertical axis the band holds them.
TEST_F(DateTimeLabelsTest, DensePointValueLabelsReadApart) {
  struct TCase {
    double Days;
    int Points;
    bool OnY;
    int Size;
  };
  const TCase Cases[] = {{3, 72, false, 640},  {3, 72, false, 1280}, {3, 72, true, 640},
                         {10, 240, false, 640}, {1, 1440, false, 640}, {1.0 / 24, 3600, false, 1280},
                         {0.5, 720, true, 400}, {40, 40, false, 640},  {40, 960, true, 640}};
  for (const TCase& C : Cases) {
    SCOPED_TRACE(FloatToStr(C.Days) + " days, " + std::to_string(C.Points) + " points" + (C.OnY ? " on Y" : "") +
                 " at " + std::to_string(C.Size));
    TChartAxis* A = C.OnY ? Chart->GetLeftAxis() : Chart->GetBottomAxis();
    Chart->GetBottomAxis()->SetLabelStyle(TAxisLabelStyle::talAuto);
    Chart->GetLeftAxis()->SetLabelStyle(TAxisLabelStyle::talAuto);
    A->SetLabelStyle(TAxisLabelStyle::talPointValue);
    Series->Clear();
    Series->GetXValues()->SetDateTime(!C.OnY);
    Series->GetYValues()->SetDateTime(C.OnY);
    for (int I = 0; I < C.Points; ++I) {
      const double T = Start + C.Days * I / C.Points;
      if (C.OnY)
        Series->AddXY(I, T);
      else
        Series->AddXY(T, I);
    }
    if (C.OnY)
      Paint(400, C.Size);
    else
      Paint(C.Size, 300);
    const std::vector<String> T = Texts(A);
    ASSERT_GE(T.size(), 2u) << Joined(T);
    EXPECT_EQ(FirstRepeat(T), "") << Joined(T);
    if (C.OnY) {
      const TRectF Plot = Chart->GetChartRect();
      for (const zeltest::TDrawnText& D : zeltest::DrawnTexts(*Canvas, LeftColor)) {
        EXPECT_GE(D.Box.Left, 0) << D.Text;
        EXPECT_LE(D.Box.Right, Plot.Left) << D.Text;
      }
    }
  }
}

// Point-value labels drawn as the walk goes (LabelsBehind) on alternate rows of a vertical axis:
// each label drawn measures the labels' room, which tries formats with a look at the series walk
// running around it. That look leaves the walk's series list alone (two series, so the walk
// goes on over the list after the first label).
TEST_F(DateTimeLabelsTest, PointValueLabelsDrawnDuringTheirWalkLeaveItsSeriesAlone) {
  TChartAxis* L = Chart->GetLeftAxis();
  L->SetLabelStyle(TAxisLabelStyle::talPointValue);
  L->SetLabelsBehind(true);
  L->SetLabelsAlternate(true);
  auto* Second = Create<TChartSeries>(nullptr);
  Chart->AddSeries(Second);
  for (TChartSeries* S : {Series, Second}) {
    S->GetYValues()->SetDateTime(true);
    for (int I = 0; I < 96; ++I) S->AddXY(I, Start + 3.0 * I / 96 + (S == Second ? 1.0 / 48 : 0));
  }
  Paint(400, 640);
  // (The labels of both series, in order along the axis.)
  std::vector<std::pair<double, String>> Labels;
  for (std::int32_t I = 0; I < L->GetItems()->GetCount(); ++I)
    Labels.emplace_back(L->GetItems()->Get(I)->GetValue(), L->GetItems()->Get(I)->GetText());
  std::sort(Labels.begin(), Labels.end());
  std::vector<String> T;
  for (const auto& Label : Labels) T.push_back(Label.second);
  ASSERT_GE(T.size(), 2u);
  EXPECT_EQ(FirstRepeat(T), "") << Joined(T);
}

// Custom axis items with no text show their value: on a date-time axis, where the default format
// would write two neighbouring items alike, they take the first format that tells them apart
// (items with a text of their own keep it); a format the program sets stays as it is.
TEST_F(DateTimeLabelsTest, CustomItemsMadeFromTheirValueReadApart) {
  const double Hour = 1.0 / 24;
  struct TCase {
    double From, Step;
    int Count;
    const char* SetFormat;
    const char* First;
  };
  const TCase Cases[] = {
      {0, 6 * Hour, 12, "", "2024-03-15 00:00"},       // dates repeat: the time joins them
      {0, 1, 4, "", "2024-03-15"},                     // dates differ: as they are
      {Hour, 1.0 / 1440, 10, "", "2024-03-15 01:00"},     // minutes: the date with the time
      {Hour, 1.0 / 86400, 10, "", "2024-03-15 01:00:00"},  // seconds: and with seconds
      {0, 6 * Hour, 12, "dd", "15"},                   // set by the program: repeats and all
  };
  TChartAxis* B = Chart->GetBottomAxis();
  AddSpan(3);
  B->SetMinMax(Start, Start + 3);
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.First);
    B->SetDateTimeFormat(C.SetFormat);
    B->GetItems()->Clear();
    for (int I = 0; I < C.Count; ++I) B->GetItems()->Add(Start + C.From + I * C.Step, String());
    B->GetItems()->Add(Start + 2.5, "mark");
    Paint(1280, 300);
    std::vector<String> T;
    for (const zeltest::TDrawnText& D : zeltest::DrawnTexts(*Canvas, BottomColor))
      if (D.Text != "mark") T.push_back(D.Text);
    ASSERT_EQ(T.size(), static_cast<std::size_t>(C.Count)) << Joined(T);
    EXPECT_EQ(T.front(), C.First) << Joined(T);
    if (String(C.SetFormat).empty())
      EXPECT_EQ(FirstRepeat(T), "") << Joined(T);
    else
      EXPECT_NE(FirstRepeat(T), "") << Joined(T);
  }
  B->SetDateTimeFormat(String());
}

}  // namespace
}  // namespace zel
