#include <gtest/gtest.h>

#include <vector>

#include "platform/SysUtils.h"
#include "zelgraph/procs/DateTimeSteps.h"

using namespace zel;

namespace {

constexpr double Micro = 1.0 / 86400000000.0;

TDateTime D(int Y, int M, int Day) { return EncodeDate(Y, M, Day); }

String Text(TDateTime T) { return FormatDateTime("yyyy-mm-dd hh:nn:ss", T); }

}  // namespace

TEST(DateTimeStepsTest, FindDateTimeStep) {
  // Every step's length finds the step itself; dsNone's length (one day) finds dsDay.
  for (int S = dsMicrosecond; S <= dsYear; ++S)
    EXPECT_EQ(FindDateTimeStep(DateTimeStep[S]), S) << S;
  const struct {
    double Days;
    TDateTimeStep Expected;
  } Cases[] = {
      {1, dsDay},          {1.5, dsNone},          {365, dsYear},
      {1 + Micro / 2, dsDay}, {1 + 2 * Micro, dsNone}, {0, dsNone},
      {-1, dsNone},        {400, dsNone},
  };
  for (const auto& C : Cases) EXPECT_EQ(FindDateTimeStep(C.Days), C.Expected) << C.Days;
}

TEST(DateTimeStepsTest, NextDateTimeStep) {
  const struct {
    double Days, Expected;
  } Cases[] = {
      {1, 2},        {364, 365},          {0, 365},           {365, 365},
      {1e9, 365},    {1.0 / 24, 2.0 / 24}, {0.3, 0.5},         {Micro, 1.0 / 86400000},
      {Micro / 2, 365}, {59, 60},          {182, 365},
  };
  for (const auto& C : Cases) EXPECT_DOUBLE_EQ(NextDateTimeStep(C.Days), C.Expected) << C.Days;
}

TEST(DateTimeStepsTest, DefaultFormatSwitchesAtOneDay) {
  EXPECT_EQ(DateTimeDefaultFormat(0.5), FormatSettings().ShortTimeFormat);
  EXPECT_EQ(DateTimeDefaultFormat(1), FormatSettings().ShortTimeFormat);
  EXPECT_EQ(DateTimeDefaultFormat(1.01), FormatSettings().ShortDateFormat);
}

// Labels take the first format, from the range's default on, under which no two neighbours read
// the same.
TEST(DateTimeStepsTest, LabelFormatTellsNeighboursApart) {
  const double Hour = 1.0 / 24, Second = Hour / 3600;
  const TDateTime Day = D(2024, 3, 15);
  const struct {
    double Range, First, Step;
    int Count;
    String Expected;
  } Cases[] = {
      {1.5, Day, 6 * Hour, 7, "yyyy-MM-dd hh:nn"},           // dates repeat: the time joins
      {5, Day, 1, 6, "yyyy-MM-dd"},                          // dates differ: kept
      {1, Day, 6 * Hour, 5, "hh:nn"},                        // times differ: kept
      {1, Day, 1, 2, "yyyy-MM-dd hh:nn"},                    // a day apart: the same time
      {2.0 / 1440, Day, 10 * Second, 13, "hh:nn:ss"},        // steps below a minute
      {2 * Second, Day, 0.1 * Second, 21, "hh:nn:ss.zzz"},   // steps below a second
      {1, Day + 0.25, 1e-4 * Second, 2, "yyyy-MM-dd hh:nn:ss.zzz"},  // nothing tells them apart
  };
  for (const auto& C : Cases) {
    std::vector<double> Values;
    for (int I = 0; I < C.Count; ++I) Values.push_back(C.First + I * C.Step);
    const std::vector<String> Formats = DateTimeLabelFormats(C.Range);
    EXPECT_EQ(Formats.front(), DateTimeDefaultFormat(C.Range));
    EXPECT_EQ(Formats[FirstDistinctFormat(Formats, Values)], C.Expected) << C.Range << " " << C.Step;
  }
}

TEST(DateTimeStepsTest, RoundDateByFixedSteps) {
  const struct {
    TDateTime Date;
    TDateTimeStep Step;
    TDateTime Expected;
  } Cases[] = {
      {0, dsYear, 0},  // zero is never rounded
      {45000.3, dsHours12, 45000.3},
      {45000.3, dsMicrosecond, 45000.3},
      {2.5, dsDay, 2},  // halves go to even
      {3.5, dsDay, 4},
      {3, dsDays2, 4},  // 3 / 2 = 1.5 -> 2
      {5, dsDays2, 4},  // 5 / 2 = 2.5 -> 2
      {4.4, dsDays3, 3},
      {10, dsWeek, 9},
      {12.9, dsWeek, 16},
      {5.5, dsWeek, 2},  // (5.5 - 2) / 7 = 0.5 -> 0
      {-3, dsWeek, -5},
  };
  for (const auto& C : Cases)
    EXPECT_DOUBLE_EQ(ZelRoundDate(C.Date, C.Step), C.Expected) << C.Date << " step " << int(C.Step);
}

TEST(DateTimeStepsTest, RoundDateByCalendarSteps) {
  const TDateTime Afternoon = 0.6;
  const struct {
    TDateTime Date;
    TDateTimeStep Step;
    TDateTime Expected;
  } Cases[] = {
      {D(2024, 3, 20) + Afternoon, dsHalfMonth, D(2024, 3, 15)},
      {D(2024, 3, 3) + Afternoon, dsHalfMonth, D(2024, 3, 1)},
      {D(2024, 3, 15), dsHalfMonth, D(2024, 3, 15)},
      {D(2024, 3, 14), dsHalfMonth, D(2024, 3, 1)},
      {D(2024, 3, 31) + Afternoon, dsMonth, D(2024, 3, 1)},
      {D(2024, 8, 20), dsMonths6, D(2024, 8, 1)},
      {D(2024, 8, 20) + Afternoon, dsYear, D(2024, 1, 1)},
      {D(2024, 8, 20) + Afternoon, dsNone, D(2024, 8, 20)},
  };
  for (const auto& C : Cases)
    EXPECT_EQ(Text(ZelRoundDate(C.Date, C.Step)), Text(C.Expected)) << Text(C.Date);
}

TEST(DateTimeStepsTest, IncrementWalksCalendarSequences) {
  const struct {
    TDateTime Start;
    bool Up;
    TDateTimeStep Step;
    TDateTime Expected[3];
  } Cases[] = {
      {D(2024, 5, 20), false, dsHalfMonth, {D(2024, 5, 15), D(2024, 5, 1), D(2024, 4, 15)}},
      {D(2024, 5, 3), true, dsHalfMonth, {D(2024, 5, 15), D(2024, 6, 1), D(2024, 6, 15)}},
      {D(2024, 12, 20), true, dsHalfMonth, {D(2025, 1, 1), D(2025, 1, 15), D(2025, 2, 1)}},
      {D(2024, 1, 31), true, dsMonth, {D(2024, 2, 1), D(2024, 3, 1), D(2024, 4, 1)}},
      {D(2024, 1, 1), false, dsMonths2, {D(2023, 11, 1), D(2023, 9, 1), D(2023, 7, 1)}},
      {D(2024, 3, 10), false, dsMonths3, {D(2023, 12, 1), D(2023, 9, 1), D(2023, 6, 1)}},
      {D(2024, 9, 30), true, dsMonths6, {D(2025, 3, 1), D(2025, 9, 1), D(2026, 3, 1)}},
      {D(2024, 11, 5), true, dsMonths4, {D(2025, 3, 1), D(2025, 7, 1), D(2025, 11, 1)}},
      // A yearly step from 29 February lands on the last day of February and comes back to
      // the 29th in the next leap year.
      {D(2024, 2, 29), true, dsYear, {D(2025, 2, 28), D(2026, 2, 28), D(2027, 2, 28)}},
      {D(2024, 2, 29), false, dsYear, {D(2023, 2, 28), D(2022, 2, 28), D(2021, 2, 28)}},
  };
  for (const auto& C : Cases) {
    double V = C.Start + 0.25;  // the time of day is dropped
    for (TDateTime E : C.Expected) {
      const double Amount = C.Step == dsYear ? 1 : DateTimeStep[C.Step];
      ZelDateTimeIncrement(true, C.Up, V, Amount, C.Step);
      EXPECT_EQ(Text(V), Text(E)) << "from " << Text(C.Start) << " step " << int(C.Step);
    }
  }
}

TEST(DateTimeStepsTest, YearlyStepsCoverTheAmount) {
  double V = D(2001, 1, 1);
  ZelDateTimeIncrement(true, true, V, 730, dsYear);
  EXPECT_EQ(Text(V), Text(D(2003, 1, 1)));

  V = D(2004, 2, 29);
  ZelDateTimeIncrement(true, true, V, 4 * 365, dsYear);
  EXPECT_EQ(Text(V), Text(D(2008, 2, 29)));

  V = D(2003, 6, 1);
  ZelDateTimeIncrement(true, false, V, 800, dsYear);
  EXPECT_EQ(Text(V), Text(D(2000, 6, 1)));
}

TEST(DateTimeStepsTest, IncrementByPlainAmounts) {
  const struct {
    bool IsDateTime, Up;
    TDateTimeStep Step;
    double Start, Amount, Expected;
  } Cases[] = {
      {false, true, dsMonth, 10.5, 3, 13.5},  // numbers ignore the step
      {false, false, dsYear, 10.5, 3, 7.5},
      {true, true, dsDay, 45000.25, 1, 45001.25},  // fixed steps keep the time of day
      {true, false, dsHours6, 45000.25, 0.25, 45000},
      {true, true, dsMonth, 45000.25, 0, 45000.25},  // no distance: nothing moves
      {true, true, dsYear, 45000.25, 1e-13, 45000.25},
  };
  for (const auto& C : Cases) {
    double V = C.Start;
    ZelDateTimeIncrement(C.IsDateTime, C.Up, V, C.Amount, C.Step);
    EXPECT_DOUBLE_EQ(V, C.Expected) << C.Start << " step " << int(C.Step);
  }
}

TEST(DateTimeStepsTest, StepPastTheCalendarRaisesAndKeepsTheValue) {
  const double Start = D(9999, 12, 20);
  for (TDateTimeStep Step : {dsYear, dsMonth, dsHalfMonth}) {
    double V = Start;
    EXPECT_THROW(ZelDateTimeIncrement(true, true, V, 400, Step), EConvertError) << int(Step);
    EXPECT_EQ(V, Start);
  }
  double V = D(2000, 1, 1);
  EXPECT_THROW(ZelDateTimeIncrement(true, true, V, 1e7, dsYear), EConvertError);
  EXPECT_EQ(V, D(2000, 1, 1));
}
