#include "zelgraph/procs/DateTimeSteps.h"

#include <algorithm>
#include <cmath>

#include "platform/Math.h"
#include "platform/SysUtils.h"

namespace zel {

TDateTimeStep FindDateTimeStep(double StepInDays) {
  for (int I = dsYear; I >= dsMicrosecond; --I)
    if (std::fabs(DateTimeStep[I] - StepInDays) < DateTimeStep[dsMicrosecond])
      return static_cast<TDateTimeStep>(I);
  return dsNone;
}

double NextDateTimeStep(double StepInDays) {
  for (int I = dsMonths6; I >= dsMicrosecond; --I)
    if (DateTimeStep[I] <= StepInDays) return DateTimeStep[I + 1];
  return DateTimeStep[dsYear];
}

String DateTimeDefaultFormat(double RangeInDays) {
  return RangeInDays <= 1 ? FormatSettings().ShortTimeFormat : FormatSettings().ShortDateFormat;
}

std::vector<String> DateTimeLabelFormats(double RangeInDays) {
  const TFormatSettings& F = FormatSettings();
  const String Millis = F.LongTimeFormat + F.DecimalSeparator + "zzz";
  std::vector<String> Result{DateTimeDefaultFormat(RangeInDays)};
  auto Add = [&Result](const String& Format) {
    if (std::find(Result.begin(), Result.end(), Format) == Result.end()) Result.push_back(Format);
  };
  // Within a day the time alone tells labels apart unless the step is finer than it shows;
  // neighbours a whole day apart (or more) need the date.
  if (Result.front() == F.ShortTimeFormat) {
    Add(F.LongTimeFormat);
    Add(Millis);
  }
  for (const String& Time : {F.ShortTimeFormat, F.LongTimeFormat, Millis})
    Add(F.ShortDateFormat + ' ' + Time);
  return Result;
}

std::size_t FirstDistinctFormat(const std::vector<String>& Formats, const std::vector<double>& Values) {
  for (std::size_t I = 0; I + 1 < Formats.size(); ++I) {
    bool Distinct = true;
    String Previous;
    for (std::size_t N = 0; N < Values.size() && Distinct; ++N) {
      String Text = DateTimeToString(Formats[I], Values[N]);
      Distinct = N == 0 || Text != Previous;
      Previous = std::move(Text);
    }
    if (Distinct) return I;
  }
  return Formats.size() - 1;
}

TDateTime ZelRoundDate(TDateTime Date, TDateTimeStep Step) {
  if (Date == 0 || !std::isfinite(Date)) return Date;
  switch (Step) {
    case dsDay:
      return std::nearbyint(Date);
    case dsDays2:
      return std::nearbyint(Date / 2) * 2;
    case dsDays3:
      return std::nearbyint(Date / 3) * 3;
    case dsWeek:
      return std::nearbyint((Date - 2) / 7) * 7 + 2;
    default:
      break;
  }
  if (Step < dsHalfMonth) return Date;
  int Year, Month, Day;
  DecodeDate(Date, Year, Month, Day);
  switch (Step) {
    case dsHalfMonth:
      Day = Day < 15 ? 1 : 15;
      break;
    case dsYear:
      Day = 1;
      Month = 1;
      break;
    case dsNone:
      break;
    default:  // dsMonth .. dsMonths6
      Day = 1;
      break;
  }
  return EncodeDate(Year, Month, Day);
}

namespace {

// Moves Year/Month by Months (1..12) up or down; the caller sets the day.
void MoveMonths(int& Year, int& Month, int Months, bool Up) {
  if (Up) {
    Month += Months;
    if (Month > 12) {
      ++Year;
      Month -= 12;
    }
  } else if (Months < Month) {
    Month -= Months;
  } else {
    --Year;
    Month = Month + 12 - Months;
  }
}

int MonthsOf(TDateTimeStep Step) {
  switch (Step) {
    case dsMonth:
      return 1;
    case dsMonths2:
      return 2;
    case dsMonths3:
      return 3;
    case dsMonths4:
      return 4;
    case dsMonths6:
      return 6;
    default:
      return 0;
  }
}

}  // namespace

void ZelDateTimeIncrement(bool IsDateTime, bool Increment, double& Value, double Amount,
                          TDateTimeStep Step) {
  const bool Calendar = Step == dsHalfMonth || Step == dsYear || MonthsOf(Step) > 0;
  // Non-finite values have no calendar date: they move as plain numbers.
  if (!IsDateTime || !Calendar || !std::isfinite(Value)) {
    Value = Increment ? Value + Amount : Value - Amount;
    return;
  }
  const double Target = Increment ? Value + Amount : Value - Amount;
  if (SameValue(Target, Value)) return;

  int Year, Month, Day;
  DecodeDate(Value, Year, Month, Day);
  double Result = Value;  // Value changes only when every step encodes
  do {
    int NewDay = Day;
    if (Step == dsHalfMonth) {
      if (Increment) {
        if (Day < 15) {
          NewDay = 15;
        } else {
          MoveMonths(Year, Month, 1, true);
          NewDay = 1;
        }
      } else if (Day > 15) {
        NewDay = 15;
      } else if (Day > 1) {
        NewDay = 1;
      } else {
        MoveMonths(Year, Month, 1, false);
        NewDay = 15;
      }
      Day = NewDay;
    } else if (Step == dsYear) {
      Year += Increment ? 1 : -1;
      // Day keeps the original day, so that 29 February comes back in leap years.
    } else {
      MoveMonths(Year, Month, MonthsOf(Step), Increment);
      Day = NewDay = 1;
    }
    if (Year >= 1 && Year <= 9999) NewDay = std::min(NewDay, DaysInAMonth(Year, Month));
    Result = EncodeDate(Year, Month, NewDay);
  } while (Step == dsYear && (Increment ? Result < Target : Result > Target));
  Value = Result;
}

}  // namespace zel
