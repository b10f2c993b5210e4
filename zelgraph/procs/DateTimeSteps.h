// The ladder of date-time steps that date axes walk, and calendar-aware date stepping.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/Types.h"

namespace zel {

enum TDateTimeStep : std::uint8_t {
  dsMicrosecond,
  dsMillisecond,
  dsSecond,
  dsSeconds5,
  dsSeconds10,
  dsSeconds15,
  dsSeconds30,
  dsMinute,
  dsMinutes5,
  dsMinutes10,
  dsMinutes15,
  dsMinutes30,
  dsHour,
  dsHours2,
  dsHours6,
  dsHours12,
  dsDay,
  dsDays2,
  dsDays3,
  dsWeek,
  dsHalfMonth,
  dsMonth,
  dsMonths2,
  dsMonths3,
  dsMonths4,
  dsMonths6,
  dsYear,
  dsNone
};

// Length of each step in days (dsNone counts as one day).
inline constexpr double DateTimeStep[dsNone + 1] = {
    1.0 / 86400000000.0,  // dsMicrosecond
    1.0 / 86400000.0,     // dsMillisecond
    1.0 / 86400.0,        // dsSecond
    5.0 / 86400.0,        // dsSeconds5
    10.0 / 86400.0,       // dsSeconds10
    15.0 / 86400.0,       // dsSeconds15
    30.0 / 86400.0,       // dsSeconds30
    1.0 / 1440.0,         // dsMinute
    5.0 / 1440.0,         // dsMinutes5
    10.0 / 1440.0,        // dsMinutes10
    15.0 / 1440.0,        // dsMinutes15
    30.0 / 1440.0,        // dsMinutes30
    1.0 / 24.0,           // dsHour
    2.0 / 24.0,           // dsHours2
    0.25,                 // dsHours6
    0.5,                  // dsHours12
    1,                    // dsDay
    2,                    // dsDays2
    3,                    // dsDays3
    7,                    // dsWeek
    15,                   // dsHalfMonth
    30,                   // dsMonth
    60,                   // dsMonths2
    90,                   // dsMonths3
    120,                  // dsMonths4
    182,                  // dsMonths6
    365,                  // dsYear
    1                     // dsNone
};

// The step whose length is within one microsecond of StepInDays, searched from a year down;
// dsNone when there is none.
TDateTimeStep FindDateTimeStep(double StepInDays);

// Length of the step after the longest step not longer than StepInDays; a year when StepInDays
// is below one microsecond.
double NextDateTimeStep(double StepInDays);

// Default label format for a date range: the short time format up to one day, else the short
// date format.
String DateTimeDefaultFormat(double RangeInDays);

// The formats date-time labels over a range may take when the program sets none, in the order
// they are tried: the default one (DateTimeDefaultFormat); when that is the time, the time with
// seconds and with milliseconds; then the date with the short time, the long time and the time
// with milliseconds. A format that comes out as one listed before is left out.
std::vector<String> DateTimeLabelFormats(double RangeInDays);

// Index of the first of Formats under which no two neighbouring Values read the same; the last
// index when none is (Formats must not be empty).
std::size_t FirstDistinctFormat(const std::vector<String>& Formats, const std::vector<double>& Values);

// Date rounded to a step boundary: days, two or three days and weeks (day counts 2 + 7k) round
// to the nearest; half months, months and years go back to their first day at midnight. Steps
// below a day and a date of 0 leave it unchanged.
TDateTime ZelRoundDate(TDateTime Date, TDateTimeStep Step);

// Moves Value one step up (Increment) or down. Numbers (not IsDateTime) and fixed-length steps
// move by Amount; half months, months and years move along the calendar and drop the time of
// day. Yearly steps repeat until Amount days are covered. A day the target month lacks
// (29 February a year on) becomes that month's last day.
void ZelDateTimeIncrement(bool IsDateTime, bool Increment, double& Value, double Amount,
                          TDateTimeStep Step);

}  // namespace zel
