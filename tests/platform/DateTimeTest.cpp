// Dates and times: encoding on the 1899-12-30 day count, formatting and reading text.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/SysUtils.h"

using namespace zel;

namespace {

const double NaN = std::numeric_limits<double>::quiet_NaN();

TDateTime At(int Y, int Mo, int D, int H = 0, int Mi = 0, int S = 0, int Ms = 0) {
  return ComposeDateTime(EncodeDate(Y, Mo, D), EncodeTime(H, Mi, S, Ms));
}

}  // namespace

TEST(CalendarTest, DayNumbersRoundTrip) {
  struct Case {
    int Y, M, D;
    double Day;
    int Weekday;  // 1 = Sunday
  } Cases[] = {
      {1899, 12, 30, 0, 7},       {1899, 12, 29, -1, 6},    {1900, 2, 28, 60, 4},   {1900, 3, 1, 61, 5},
      {1970, 1, 1, 25569, 5},     {2000, 2, 29, 36585, 3},  {2016, 4, 25, 42485, 2}, {2100, 3, 1, 73110, 2},
      {1600, 12, 31, -109206, 1}, {4, 2, 29, -692439, 1},   {1, 1, 1, -693593, 2},  {9999, 12, 31, 2958465, 6},
  };
  for (const Case& C : Cases) {
    EXPECT_EQ(EncodeDate(C.Y, C.M, C.D), C.Day) << C.Y << "-" << C.M << "-" << C.D;
    int Y, M, D;
    DecodeDate(C.Day, Y, M, D);
    EXPECT_EQ(Y * 10000 + M * 100 + D, C.Y * 10000 + C.M * 100 + C.D) << C.Day;
    // The time of day does not change the date, on either side of day 0.
    DecodeDate(ComposeDateTime(C.Day, 0.75), Y, M, D);
    EXPECT_EQ(Y * 10000 + M * 100 + D, C.Y * 10000 + C.M * 100 + C.D) << C.Day << " with time";
    EXPECT_EQ(DayOfWeek(ComposeDateTime(C.Day, 0.5)), C.Weekday) << C.Day;
  }
}

TEST(CalendarTest, LeapYearsAndMonthLengths) {
  struct Case {
    int Year, Month;
    bool Leap;
    int Days;
  } Cases[] = {
      {2016, 2, true, 29}, {2015, 2, false, 28}, {1900, 2, false, 28}, {2000, 2, true, 29},
      {2016, 4, true, 30}, {2015, 12, false, 31}, {2016, 13, true, 0}, {2016, 0, true, 0},
  };
  for (const Case& C : Cases) {
    EXPECT_EQ(IsLeapYear(C.Year), C.Leap) << C.Year;
    EXPECT_EQ(DaysInAMonth(C.Year, C.Month), C.Days) << C.Year << "/" << C.Month;
  }
}

TEST(CalendarTest, InvalidEncodeArguments) {
  struct DateCase {
    int Y, M, D;
  } Dates[] = {{0, 1, 1}, {10000, 1, 1}, {2015, 2, 29}, {2016, 2, 30}, {2016, 13, 1}, {2016, 0, 1}, {2016, 1, 0}, {2016, 4, 31}};
  for (const DateCase& C : Dates) {
    TDateTime V = 123;
    EXPECT_FALSE(TryEncodeDate(C.Y, C.M, C.D, V));
    EXPECT_EQ(V, 123);
    try {
      EncodeDate(C.Y, C.M, C.D);
      ADD_FAILURE() << C.Y << "-" << C.M << "-" << C.D;
    } catch (const EConvertError& E) {
      EXPECT_EQ(E.GetMessage(), "Invalid argument to date encode");
    }
  }
  struct TimeCase {
    int H, M, S, Ms;
  } Times[] = {{24, 0, 0, 0}, {-1, 0, 0, 0}, {0, 60, 0, 0}, {0, 0, 60, 0}, {0, 0, 0, 1000}, {0, 0, 0, -1}};
  for (const TimeCase& C : Times) {
    TDateTime V = 123;
    EXPECT_FALSE(TryEncodeTime(C.H, C.M, C.S, C.Ms, V));
    try {
      EncodeTime(C.H, C.M, C.S, C.Ms);
      ADD_FAILURE() << C.H << ":" << C.M << ":" << C.S << "." << C.Ms;
    } catch (const EConvertError& E) {
      EXPECT_EQ(E.GetMessage(), "Invalid argument to time encode");
    }
  }
}

TEST(CalendarTest, DecodeTimeAndEdges) {
  struct Case {
    TDateTime Value;
    int Y, Mo, D, H, Mi, S, Ms;
  } Cases[] = {
      {EncodeTime(13, 45, 10, 123), 1899, 12, 30, 13, 45, 10, 123},
      {EncodeTime(23, 59, 59, 999), 1899, 12, 30, 23, 59, 59, 999},
      // Before day 0 the fraction counts away from zero: -1.25 is the 29th at 06:00.
      {-1.25, 1899, 12, 29, 6, 0, 0, 0},
      {-0.5, 1899, 12, 30, 12, 0, 0, 0},
      {ComposeDateTime(-2, EncodeTime(18, 30, 0, 0)), 1899, 12, 28, 18, 30, 0, 0},
      // A time within half a millisecond of midnight belongs to the next day, date and time alike.
      {42485.9999999999, 2016, 4, 26, 0, 0, 0, 0},
      {-1.9999999999999, 1899, 12, 30, 0, 0, 0, 0},
      {-693593.5, 1, 1, 1, 12, 0, 0, 0},
      // Outside years 1..9999, and NaN, decode as zeros.
      {NaN, 0, 0, 0, 0, 0, 0, 0},
      {2958466.0, 0, 0, 0, 0, 0, 0, 0},
      {-693594.0, 0, 0, 0, 0, 0, 0, 0},
      {1e300, 0, 0, 0, 0, 0, 0, 0},
  };
  for (const Case& C : Cases) {
    int Y, Mo, D, H, Mi, S, Ms;
    DecodeDate(C.Value, Y, Mo, D);
    DecodeTime(C.Value, H, Mi, S, Ms);
    EXPECT_EQ((std::vector<int>{Y, Mo, D, H, Mi, S, Ms}), (std::vector<int>{C.Y, C.Mo, C.D, C.H, C.Mi, C.S, C.Ms}))
        << C.Value;
  }
  EXPECT_EQ(DayOfWeek(NaN), 0);
  EXPECT_EQ(ComposeDateTime(-1, 0.25), -1.25);
  EXPECT_EQ(ComposeDateTime(1, 0.25), 1.25);
}

TEST(CalendarTest, NowAndDateAgree) {
  TDateTime D = Date(), N = Now();
  EXPECT_EQ(D, std::trunc(D));
  // Now() may pass midnight after Date() was taken.
  EXPECT_TRUE(std::trunc(N) == D || std::trunc(N) == D + 1);
  int Y, M, Dd;
  DecodeDate(N, Y, M, Dd);
  EXPECT_GE(Y, 2020);
}

TEST(FormatDateTimeTest, Tokens) {
  const TDateTime T = At(2016, 4, 25, 13, 45, 10, 123);  // a Monday
  struct Case {
    const char* Format;
    TDateTime Value;
    const char* Expected;
  } Cases[] = {
      {"yyyy-mm-dd hh:nn:ss.zzz", T, "2016-04-25 13:45:10.123"},
      {"d/m/yy", T, "25-4-16"},
      {"MM/DD/YYYY", T, "04-25-2016"},
      {"dd mmm yyyy", T, "25 Apr 2016"},
      {"dddd, mmmm d", T, "Monday, April 25"},
      {"ddd", T, "Mon"},
      {"ddddd", T, "2016-04-25"},
      {"dddddd", T, "Monday, April 25, 2016"},
      {"h:mm", T, "13:45"},
      {"hh:mm:ss", T, "13:45:10"},
      {"hh:nn dd/mm", T, "13:45 25-04"},  // a month after a day token
      {"mm", T, "04"},
      {"h:n:s z", At(2016, 4, 25, 3, 4, 5, 6), "3:4:5 6"},
      {"zzz", At(2016, 4, 25, 3, 4, 5, 6), "006"},
      {"h:nn am/pm", T, "1:45 pm"},
      {"h:nn AM/PM", T, "1:45 PM"},
      {"h a/p", T, "1 p"},
      {"hh ampm", T, "01 PM"},
      {"h:nn am/pm", At(2016, 4, 25, 0, 5), "12:05 am"},
      {"h:nn AM/PM", At(2016, 4, 25, 12, 0), "12:00 PM"},
      {"c", T, "2016-04-25 13:45:10"},
      {"c", At(2016, 4, 25), "2016-04-25"},
      {"", T, "2016-04-25 13:45:10"},
      {"t", T, "13:45"},
      {"tt", T, "13:45:10"},
      {"'at' hh\"h\"", T, "at 13h"},
      {"'yyyy'", T, "yyyy"},
      {"yyyy", At(5, 1, 1), "0005"},
      {"yy", At(2005, 1, 1), "05"},
      {"y", At(2016, 1, 1), "16"},
      {"yyy", At(2016, 1, 1), "2016"},
      {"[x] q", T, "[x] q"},
      {"yyyy-mm-dd hh:nn", -1.25, "1899-12-29 06:00"},
      {"yyyy-mm-dd ddd mmm", NaN, "0000-00-00  "},
  };
  for (const Case& C : Cases) EXPECT_EQ(FormatDateTime(C.Format, C.Value), C.Expected) << C.Format;
  EXPECT_EQ(DateTimeToStr(T), "2016-04-25 13:45:10");
  EXPECT_EQ(DateTimeToString("dd", T), "25");
}

TEST(FormatDateTimeTest, SettingsAndNestedFormats) {
  const TDateTime T = At(2016, 4, 25, 13, 45, 10);
  TFormatSettings FS;
  FS.DateSeparator = '.';
  FS.TimeSeparator = 'h';
  FS.ShortDateFormat = "dd/mm/yyyy";
  FS.LongTimeFormat = "hh:nn";
  FS.ShortMonthNames[3] = "avr.";
  EXPECT_EQ(FormatDateTime("c", T, FS), "25.04.2016 13h45");
  EXPECT_EQ(FormatDateTime("d mmm", T, FS), "25 avr.");
  EXPECT_EQ(DateTimeToStr(T, FS), "25.04.2016 13h45");
  // Formats that refer to each other end instead of recursing forever.
  FS.ShortDateFormat = "c";
  FS.LongTimeFormat = "tt";
  EXPECT_NO_THROW(FormatDateTime("c", T, FS));
}

TEST(StrToDateTimeTest, AcceptedTexts) {
  int CurrentYear, M, D;
  DecodeDate(Date(), CurrentYear, M, D);
  struct Case {
    const char* Text;
    TDateTime Expected;
  } Cases[] = {
      {"2016-04-25 13:45:10", At(2016, 4, 25, 13, 45, 10)},
      {"2016-04-25", At(2016, 4, 25)},
      {"  2016-4-5   1:02  ", At(2016, 4, 5, 1, 2)},
      {"2016-04-25 13:45", At(2016, 4, 25, 13, 45)},
      {"2016-04-25 13:45:10.5", At(2016, 4, 25, 13, 45, 10, 500)},
      {"2016-04-25 13:45:10.123456", At(2016, 4, 25, 13, 45, 10, 123)},
      {"2016-04-25 1:45:10 PM", At(2016, 4, 25, 13, 45, 10)},
      {"2016-04-25 12:00 am", At(2016, 4, 25, 0, 0)},
      {"2016-04-25 12:30pm", At(2016, 4, 25, 12, 30)},
      {"13:45:10", EncodeTime(13, 45, 10, 0)},
      {"1899-12-29 06:00", -1.25},
      {"16-04-25", At(2016, 4, 25)},
      {"04-25", At(CurrentYear, 4, 25)},
  };
  for (const Case& C : Cases) {
    EXPECT_EQ(StrToDateTime(C.Text), C.Expected) << C.Text;
    TDateTime V = 0;
    EXPECT_TRUE(TryStrToDateTime(C.Text, V)) << C.Text;
  }

  TFormatSettings DMY;
  DMY.ShortDateFormat = "dd/mm/yyyy";
  DMY.DateSeparator = '/';
  DMY.TimeSeparator = '.';
  DMY.DecimalSeparator = ',';
  EXPECT_EQ(StrToDateTime("25/04/2016 13.45.10,25", DMY), At(2016, 4, 25, 13, 45, 10, 250));
  EXPECT_EQ(StrToDate("5/4/2016", DMY), At(2016, 4, 5));
  EXPECT_EQ(StrToTime("13.45", DMY), EncodeTime(13, 45, 0, 0));
  EXPECT_EQ(StrToDate("2016-04-25"), At(2016, 4, 25));
  EXPECT_EQ(StrToTime(" 7:05 "), EncodeTime(7, 5, 0, 0));
}

TEST(StrToDateTimeTest, RejectedTextsWithTheirMessages) {
  const char* Bad[] = {"",
                       "abc",
                       "2016-02-30",
                       "2016-04-25 25:00",
                       "2016-04-25 13:60",
                       "2016/04/25",
                       "2016-04-25x",
                       "2016-04-25T13:45:10",
                       "2016-04-25 13:45:10.",
                       "2016-04-25 13:45 PM",
                       "2016-04-25 0:30 AM",
                       "2016-04-25 13:45:10 XM",
                       "99999-01-01",
                       "2016-04-25-01",
                       "12345678901-01-01",
                       "2016-04-25 13"};
  for (const char* T : Bad) {
    TDateTime V = 7;
    EXPECT_FALSE(TryStrToDateTime(T, V)) << T;
    EXPECT_EQ(V, 7) << T;
    try {
      StrToDateTime(T);
      ADD_FAILURE() << "no error for " << T;
    } catch (const EConvertError& E) {
      EXPECT_EQ(E.GetMessage(), String("'") + T + "' is not a valid date and time");
    }
  }
  struct Case {
    const char* Text;
    bool Date;  // StrToDate, else StrToTime
    const char* Message;
  } Cases[] = {
      {"2016-04-25 13:45", true, "'2016-04-25 13:45' is not a valid date"},
      {"13:45", true, "'13:45' is not a valid date"},
      {"2016-04-25", false, "'2016-04-25' is not a valid time"},
      {"24:00", false, "'24:00' is not a valid time"},
  };
  for (const Case& C : Cases) {
    try {
      if (C.Date)
        StrToDate(C.Text);
      else
        StrToTime(C.Text);
      ADD_FAILURE() << "no error for " << C.Text;
    } catch (const EConvertError& E) {
      EXPECT_EQ(E.GetMessage(), C.Message);
    }
  }
}
