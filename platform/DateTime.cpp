// Run-time functions: dates and times on the 1899-12-30 day count.
#include <chrono>
#include <cmath>
#include <ctime>

#include "platform/SysUtils.h"

namespace zel {

namespace {

constexpr std::int64_t MSecsPerDay = 86400000;
// Days from 0001-01-01 (day 1) to 1899-12-30 (day 0 of TDateTime).
constexpr std::int64_t DateDelta = 693594;
constexpr std::int64_t MinDay = -693593;  // 0001-01-01
constexpr std::int64_t MaxDay = 2958465;  // 9999-12-31

const int DaysBeforeMonth[2][13] = {{0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365},
                                    {0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335, 366}};

// A date-time split into a calendar day number and milliseconds of the day, rounded to the
// millisecond; a time that rounds to a full day moves to the next day. Valid is false for NaN and
// values outside years 1..9999.
struct TStamp {
  bool Valid = false;
  std::int64_t Day = 0;  // TDateTime day number
  std::int64_t MSec = 0;
};

TStamp ToStamp(TDateTime DT) {
  TStamp S;
  if (!std::isfinite(DT) || DT < double(MinDay - 1) || DT > double(MaxDay + 1)) return S;
  double Whole = std::trunc(DT);
  S.Day = std::int64_t(Whole);
  S.MSec = std::int64_t(std::nearbyint(std::fabs(DT - Whole) * double(MSecsPerDay)));
  if (S.MSec >= MSecsPerDay) {
    S.MSec -= MSecsPerDay;
    ++S.Day;
  }
  S.Valid = S.Day >= MinDay && S.Day <= MaxDay;
  return S;
}

void DayToDate(std::int64_t Day, int& Year, int& Month, int& DayOfMonth) {
  std::int64_t N = Day + DateDelta - 1;  // days since 0001-01-01
  std::int64_t Y = 1;
  Y += 400 * (N / 146097);
  N %= 146097;
  std::int64_t C = std::min<std::int64_t>(N / 36524, 3);
  Y += 100 * C;
  N -= C * 36524;
  Y += 4 * (N / 1461);
  N %= 1461;
  std::int64_t A = std::min<std::int64_t>(N / 365, 3);
  Y += A;
  N -= A * 365;
  const int* Before = DaysBeforeMonth[IsLeapYear(int(Y)) ? 1 : 0];
  int M = 1;
  while (M < 12 && N >= Before[M]) ++M;
  Year = int(Y);
  Month = M;
  DayOfMonth = int(N - Before[M - 1]) + 1;
}

struct TParts {
  int Year = 0, Month = 0, Day = 0, Hour = 0, Min = 0, Sec = 0, MSec = 0, DayOfWeek = 0;
};

TParts Decode(TDateTime DT) {
  TParts P;
  TStamp S = ToStamp(DT);
  if (!S.Valid) return P;
  DayToDate(S.Day, P.Year, P.Month, P.Day);
  P.Hour = int(S.MSec / 3600000);
  P.Min = int(S.MSec / 60000 % 60);
  P.Sec = int(S.MSec / 1000 % 60);
  P.MSec = int(S.MSec % 1000);
  P.DayOfWeek = int((S.Day + DateDelta) % 7) + 1;
  return P;
}

}  // namespace

bool IsLeapYear(int Year) { return Year % 4 == 0 && (Year % 100 != 0 || Year % 400 == 0); }

int DaysInAMonth(int Year, int Month) {
  if (Month < 1 || Month > 12) return 0;
  int L = IsLeapYear(Year) ? 1 : 0;
  return DaysBeforeMonth[L][Month] - DaysBeforeMonth[L][Month - 1];
}

bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Date) {
  if (Year < 1 || Year > 9999 || Month < 1 || Month > 12 || Day < 1 || Day > DaysInAMonth(Year, Month))
    return false;
  std::int64_t I = Year - 1;
  std::int64_t Days = I * 365 + I / 4 - I / 100 + I / 400 +
                      DaysBeforeMonth[IsLeapYear(Year) ? 1 : 0][Month - 1] + Day;
  Date = double(Days - DateDelta);
  return true;
}

TDateTime EncodeDate(int Year, int Month, int Day) {
  TDateTime D;
  if (!TryEncodeDate(Year, Month, Day, D)) throw EConvertError("Invalid argument to date encode");
  return D;
}

bool TryEncodeTime(int Hour, int Min, int Sec, int MSec, TDateTime& Time) {
  if (Hour < 0 || Hour > 23 || Min < 0 || Min > 59 || Sec < 0 || Sec > 59 || MSec < 0 || MSec > 999)
    return false;
  Time = double(std::int64_t(Hour) * 3600000 + Min * 60000 + Sec * 1000 + MSec) / double(MSecsPerDay);
  return true;
}

TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec) {
  TDateTime T;
  if (!TryEncodeTime(Hour, Min, Sec, MSec, T)) throw EConvertError("Invalid argument to time encode");
  return T;
}

void DecodeDate(TDateTime Date, int& Year, int& Month, int& Day) {
  TParts P = Decode(Date);
  Year = P.Year;
  Month = P.Month;
  Day = P.Day;
}

void DecodeTime(TDateTime Time, int& Hour, int& Min, int& Sec, int& MSec) {
  TParts P = Decode(Time);
  Hour = P.Hour;
  Min = P.Min;
  Sec = P.Sec;
  MSec = P.MSec;
}

TDateTime ComposeDateTime(TDateTime Date, TDateTime Time) {
  Date = std::trunc(Date);
  Time = std::fabs(Time - std::trunc(Time));
  return Date < 0 ? Date - Time : Date + Time;
}

int DayOfWeek(TDateTime Date) { return Decode(Date).DayOfWeek; }

TDateTime Now() {
  using namespace std::chrono;
  auto T = system_clock::now();
  std::time_t Secs = system_clock::to_time_t(T);
  auto Ms = duration_cast<milliseconds>(T.time_since_epoch()).count() % 1000;
  if (Ms < 0) Ms += 1000;
  std::tm L{};
  localtime_r(&Secs, &L);
  return ComposeDateTime(EncodeDate(L.tm_year + 1900, L.tm_mon + 1, L.tm_mday),
                         EncodeTime(L.tm_hour, L.tm_min, std::min(L.tm_sec, 59), int(Ms)));
}

TDateTime Date() { return std::trunc(Now()); }

// ---------------------------------------------------------------------------------------------
// Date-time to text

namespace {

int CountRun(const String& F, size_t I, char Lower) {
  int N = 0;
  while (I + size_t(N) < F.size() && (F[I + size_t(N)] | 0x20) == Lower) ++N;
  return N;
}

bool StartsWithNoCase(const String& F, size_t I, const char* Word) {
  for (size_t K = 0; Word[K]; ++K)
    if (I + K >= F.size() || (F[I + K] | 0x20) != Word[K]) return false;
  return true;
}

String Pad2(int V) { return V < 10 ? "0" + std::to_string(V) : std::to_string(V); }

String PadN(int V, int N) {
  String S = std::to_string(V);
  if (int(S.size()) < N) S.insert(0, size_t(N) - S.size(), '0');
  return S;
}

// Whether the format asks for a 12-hour clock.
bool HasAmPm(const String& F) {
  char Quote = 0;
  for (size_t I = 0; I < F.size(); ++I) {
    char C = F[I];
    if (Quote) {
      if (C == Quote) Quote = 0;
    } else if (C == '\'' || C == '"') {
      Quote = C;
    } else if (StartsWithNoCase(F, I, "am/pm") || StartsWithNoCase(F, I, "a/p") || StartsWithNoCase(F, I, "ampm")) {
      return true;
    }
  }
  return false;
}

void FormatInto(String& R, const String& F, const TParts& P, const TFormatSettings& FS, int Depth) {
  // Nested formats (c, t, ddddd ...) may refer to each other; stop where they would loop.
  if (Depth > 2) return;
  const bool Clock12 = HasAmPm(F);
  char LastToken = 0;
  size_t I = 0;
  while (I < F.size()) {
    char C = F[I];
    char L = char(C | 0x20);
    if (C == '\'' || C == '"') {
      size_t End = F.find(C, I + 1);
      if (End == String::npos) End = F.size();
      R.append(F, I + 1, End - I - 1);
      I = End + 1;
      continue;
    }
    if (C == '/') {
      R += FS.DateSeparator;
      ++I;
      continue;
    }
    if (C == ':') {
      R += FS.TimeSeparator;
      ++I;
      continue;
    }
    if (!((C >= 'a' && C <= 'z') || (C >= 'A' && C <= 'Z'))) {
      R += C;
      ++I;
      continue;
    }
    int N = CountRun(F, I, L);
    switch (L) {
      case 'y':
        R += N <= 2 ? Pad2(P.Year % 100) : PadN(P.Year, 4);
        break;
      case 'm':
        if (LastToken == 'h') {
          R += N == 1 ? std::to_string(P.Min) : Pad2(P.Min);
        } else if (N == 1) {
          R += std::to_string(P.Month);
        } else if (N == 2) {
          R += Pad2(P.Month);
        } else if (P.Month >= 1) {
          R += N == 3 ? FS.ShortMonthNames[P.Month - 1] : FS.LongMonthNames[P.Month - 1];
        }
        break;
      case 'd':
        if (N == 1) {
          R += std::to_string(P.Day);
        } else if (N == 2) {
          R += Pad2(P.Day);
        } else if (N <= 4) {
          if (P.DayOfWeek >= 1) R += N == 3 ? FS.ShortDayNames[P.DayOfWeek - 1] : FS.LongDayNames[P.DayOfWeek - 1];
        } else {
          FormatInto(R, N == 5 ? FS.ShortDateFormat : FS.LongDateFormat, P, FS, Depth + 1);
        }
        break;
      case 'h': {
        int H = P.Hour;
        if (Clock12) {
          H %= 12;
          if (H == 0) H = 12;
        }
        R += N == 1 ? std::to_string(H) : Pad2(H);
        break;
      }
      case 'n':
        R += N == 1 ? std::to_string(P.Min) : Pad2(P.Min);
        break;
      case 's':
        R += N == 1 ? std::to_string(P.Sec) : Pad2(P.Sec);
        break;
      case 'z':
        R += N >= 3 ? PadN(P.MSec, 3) : std::to_string(P.MSec);
        break;
      case 't':
        FormatInto(R, N == 1 ? FS.ShortTimeFormat : FS.LongTimeFormat, P, FS, Depth + 1);
        break;
      case 'c':
        FormatInto(R, FS.ShortDateFormat, P, FS, Depth + 1);
        if (P.Hour || P.Min || P.Sec || P.MSec) {
          R += ' ';
          FormatInto(R, FS.LongTimeFormat, P, FS, Depth + 1);
        }
        break;
      case 'a':
        // The marks keep the case written in the format: "am/pm" gives "pm", "AM/PM" gives "PM".
        if (StartsWithNoCase(F, I, "am/pm")) {
          R += P.Hour >= 12 ? F.substr(I + 3, 2) : F.substr(I, 2);
          N = 5;
        } else if (StartsWithNoCase(F, I, "a/p")) {
          R += P.Hour >= 12 ? F[I + 2] : F[I];
          N = 3;
        } else if (StartsWithNoCase(F, I, "ampm")) {
          R += P.Hour >= 12 ? FS.TimePMString : FS.TimeAMString;
          N = 4;
        } else {
          R += C;
          N = 1;
        }
        break;
      default:
        R.append(F, I, size_t(N));
        break;
    }
    LastToken = L;
    I += size_t(N);
  }
}

}  // namespace

String DateTimeToString(const String& Format, TDateTime DateTime, const TFormatSettings& FS) {
  String R;
  FormatInto(R, Format.empty() ? String("c") : Format, Decode(DateTime), FS, 0);
  return R;
}

String DateTimeToString(const String& Format, TDateTime DateTime) {
  return DateTimeToString(Format, DateTime, FormatSettings());
}

String FormatDateTime(const String& Format, TDateTime DateTime, const TFormatSettings& FS) {
  return DateTimeToString(Format, DateTime, FS);
}

String FormatDateTime(const String& Format, TDateTime DateTime) {
  return DateTimeToString(Format, DateTime, FormatSettings());
}

String DateTimeToStr(TDateTime DateTime, const TFormatSettings& FS) { return DateTimeToString("c", DateTime, FS); }

String DateTimeToStr(TDateTime DateTime) { return DateTimeToStr(DateTime, FormatSettings()); }

// ---------------------------------------------------------------------------------------------
// Text to date-time

namespace {

class TDateScanner {
 public:
  TDateScanner(const String& S, const TFormatSettings& FS) : FS_(FS), S_(S) {}

  void SkipBlanks() {
    while (Pos < S_.size() && static_cast<unsigned char>(S_[Pos]) <= ' ') ++Pos;
  }
  bool AtEnd() const { return Pos >= S_.size(); }

  bool Char(char C) {
    if (Pos < S_.size() && S_[Pos] == C) {
      ++Pos;
      return true;
    }
    return false;
  }

  // Up to 9 digits; Len receives how many.
  bool Number(int& V, int& Len) {
    V = 0;
    Len = 0;
    while (Pos < S_.size() && S_[Pos] >= '0' && S_[Pos] <= '9') {
      if (Len == 9) return false;
      V = V * 10 + (S_[Pos++] - '0');
      ++Len;
    }
    return Len > 0;
  }

  bool Date(TDateTime& Value) {
    // Field order from the short date format: first of each of y, m, d.
    String Order;
    for (char C : FS_.ShortDateFormat) {
      char L = char(C | 0x20);
      if ((L == 'y' || L == 'm' || L == 'd') && Order.find(L) == String::npos) Order += L;
    }
    if (Order.size() != 3) Order = "ymd";
    int V[3], Len[3];
    int Count = 0;
    if (!Number(V[0], Len[0])) return false;
    Count = 1;
    while (Count < 3 && Char(FS_.DateSeparator)) {
      if (!Number(V[Count], Len[Count])) return false;
      ++Count;
    }
    if (Count < 2) return false;
    int Year = 0, Month = 0, Day = 0, YearLen = 4;
    bool HaveYear = Count == 3;
    int K = 0;
    for (char F : Order) {
      if (F == 'y' && !HaveYear) continue;
      int Val = V[K], L = Len[K];
      ++K;
      if (F == 'y') {
        Year = Val;
        YearLen = L;
      } else if (F == 'm') {
        Month = Val;
      } else {
        Day = Val;
      }
    }
    int CurrentYear = 0, CM = 0, CD = 0;
    if (!HaveYear || YearLen <= 2) DecodeDate(zel::Date(), CurrentYear, CM, CD);
    if (!HaveYear) {
      Year = CurrentYear;
    } else if (YearLen <= 2) {
      Year += CurrentYear - CurrentYear % 100;
      int Window = FS_.TwoDigitYearCenturyWindow;
      if (Window > 0) {
        if (Year > CurrentYear + Window) Year -= 100;
        else if (Year <= CurrentYear - (100 - Window)) Year += 100;
      }
    }
    return TryEncodeDate(Year, Month, Day, Value);
  }

  bool MatchNoCase(const String& Word) {
    if (Word.empty() || Pos + Word.size() > S_.size()) return false;
    for (size_t K = 0; K < Word.size(); ++K)
      if ((S_[Pos + K] | 0x20) != (Word[K] | 0x20)) return false;
    Pos += Word.size();
    return true;
  }

  bool Time(TDateTime& Value) {
    int Hour, Min, Sec = 0, MSec = 0, L;
    if (!Number(Hour, L) || !Char(FS_.TimeSeparator) || !Number(Min, L)) return false;
    if (Char(FS_.TimeSeparator)) {
      if (!Number(Sec, L)) return false;
      if (Char(FS_.DecimalSeparator)) {
        // A fraction of a second: ".5" is 500 ms; digits past milliseconds are dropped.
        int Digits = 0;
        while (Pos < S_.size() && S_[Pos] >= '0' && S_[Pos] <= '9') {
          if (Digits < 3) MSec = MSec * 10 + (S_[Pos] - '0');
          ++Digits;
          ++Pos;
        }
        if (Digits == 0) return false;
        for (int K = Digits; K < 3; ++K) MSec *= 10;
      }
    }
    SkipBlanks();
    int Mark = 0;  // 1 am, 2 pm
    if (MatchNoCase(FS_.TimeAMString) || MatchNoCase("AM")) {
      Mark = 1;
    } else if (MatchNoCase(FS_.TimePMString) || MatchNoCase("PM")) {
      Mark = 2;
    } else if (MatchNoCase("A")) {
      Mark = 1;
    } else if (MatchNoCase("P")) {
      Mark = 2;
    }
    if (Mark) {
      if (Hour < 1 || Hour > 12) return false;
      Hour %= 12;
      if (Mark == 2) Hour += 12;
    }
    return TryEncodeTime(Hour, Min, Sec, MSec, Value);
  }

  size_t Pos = 0;

 private:
  const TFormatSettings& FS_;
  const String& S_;
};

enum class TParseKind { DateTime, DateOnly, TimeOnly };

bool ParseDateTime(const String& S, TParseKind Kind, const TFormatSettings& FS, TDateTime& Value) {
  if (Kind != TParseKind::TimeOnly) {
    TDateScanner Sc(S, FS);
    TDateTime D = 0, T = 0;
    Sc.SkipBlanks();
    if (Sc.Date(D)) {
      Sc.SkipBlanks();
      bool Ok = Sc.AtEnd();
      if (!Ok && Kind == TParseKind::DateTime) {
        Ok = Sc.Time(T);
        Sc.SkipBlanks();
        Ok = Ok && Sc.AtEnd();
      }
      if (Ok) {
        Value = ComposeDateTime(D, T);
        return true;
      }
    }
    if (Kind == TParseKind::DateOnly) return false;
  }
  TDateScanner Sc(S, FS);
  TDateTime T = 0;
  Sc.SkipBlanks();
  if (!Sc.Time(T)) return false;
  Sc.SkipBlanks();
  if (!Sc.AtEnd()) return false;
  Value = T;
  return true;
}

}  // namespace

bool TryStrToDateTime(const String& S, TDateTime& Value, const TFormatSettings& FS) {
  return ParseDateTime(S, TParseKind::DateTime, FS, Value);
}

bool TryStrToDateTime(const String& S, TDateTime& Value) { return TryStrToDateTime(S, Value, FormatSettings()); }

bool TryStrToDate(const String& S, TDateTime& Value, const TFormatSettings& FS) {
  return ParseDateTime(S, TParseKind::DateOnly, FS, Value);
}

bool TryStrToTime(const String& S, TDateTime& Value, const TFormatSettings& FS) {
  return ParseDateTime(S, TParseKind::TimeOnly, FS, Value);
}

TDateTime StrToDateTime(const String& S, const TFormatSettings& FS) {
  TDateTime V;
  if (!TryStrToDateTime(S, V, FS)) throw EConvertError("'" + S + "' is not a valid date and time");
  return V;
}

TDateTime StrToDateTime(const String& S) { return StrToDateTime(S, FormatSettings()); }

TDateTime StrToDate(const String& S, const TFormatSettings& FS) {
  TDateTime V;
  if (!TryStrToDate(S, V, FS)) throw EConvertError("'" + S + "' is not a valid date");
  return V;
}

TDateTime StrToDate(const String& S) { return StrToDate(S, FormatSettings()); }

TDateTime StrToTime(const String& S, const TFormatSettings& FS) {
  TDateTime V;
  if (!TryStrToTime(S, V, FS)) throw EConvertError("'" + S + "' is not a valid time");
  return V;
}

TDateTime StrToTime(const String& S) { return StrToTime(S, FormatSettings()); }

}  // namespace zel
