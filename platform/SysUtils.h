// Run-time functions: number and date-time conversion with format settings, string helpers.
// Semantics follow the classic run-time library; format settings have fixed defaults that do not
// depend on the machine's locale ('.' decimal, ',' thousands, yyyy-MM-dd dates).
#pragma once

#include <cstdarg>
#include <initializer_list>
#include <variant>

#include "platform/Exceptions.h"
#include "platform/Types.h"

namespace zel {

struct TFormatSettings {
  char DecimalSeparator = '.';
  char ThousandSeparator = ',';
  char DateSeparator = '-';
  char TimeSeparator = ':';
  String ShortDateFormat = "yyyy-MM-dd";
  String LongDateFormat = "dddd, MMMM d, yyyy";
  String ShortTimeFormat = "hh:nn";
  String LongTimeFormat = "hh:nn:ss";
  String TimeAMString = "AM";
  String TimePMString = "PM";
  String ShortMonthNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  String LongMonthNames[12] = {"January", "February", "March",     "April",   "May",      "June",
                               "July",    "August",   "September", "October", "November", "December"};
  String ShortDayNames[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  String LongDayNames[7] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

  // The fixed defaults above (the "user's locale" of this platform).
  static TFormatSettings Create() { return TFormatSettings(); }
};

// The process-wide settings used by the overloads without a settings argument.
TFormatSettings& FormatSettings();

// One argument of Format: integers, floating point, strings (and C strings).
using TVarRec = std::variant<std::int64_t, double, String>;
struct FormatArg {
  TVarRec V;
  FormatArg(int I) : V(std::int64_t(I)) {}
  FormatArg(long I) : V(std::int64_t(I)) {}
  FormatArg(long long I) : V(std::int64_t(I)) {}
  FormatArg(unsigned I) : V(std::int64_t(I)) {}
  FormatArg(unsigned long I) : V(std::int64_t(I)) {}
  FormatArg(double D) : V(D) {}
  FormatArg(float D) : V(double(D)) {}
  FormatArg(const String& S) : V(S) {}
  FormatArg(const char* S) : V(String(S ? S : "")) {}
};

// Format("%s of %d", {"a", 3}): %d %u %x %e %f %g %n %m %s %p with index, width, precision, '-'.
// Raises EConvertError "Format '%s' invalid or incompatible with argument" on a bad spec.
String Format(const String& Fmt, std::initializer_list<FormatArg> Args);
String Format(const String& Fmt, std::initializer_list<FormatArg> Args, const TFormatSettings& FS);

String IntToStr(std::int64_t Value);
String IntToHex(std::int64_t Value, int Digits);
String FloatToStr(double Value);
String FloatToStr(double Value, const TFormatSettings& FS);
// FormatFloat patterns: sections ';', '#', '0', ',', '.', 'E+'/'E-'/'e+'/'e-', quoted literals.
// Rounds half away from zero.
String FormatFloat(const String& Format, double Value);
String FormatFloat(const String& Format, double Value, const TFormatSettings& FS);

// Conversions from text; the raising forms use the classic messages:
// "'%s' is not a valid integer value", "'%s' is not a valid floating point value",
// "'%s' is not a valid date and time", "'%s' is not a valid date", "'%s' is not a valid time".
std::int32_t StrToInt(const String& S);
std::int64_t StrToInt64(const String& S);
bool TryStrToInt(const String& S, std::int32_t& Value);
std::int32_t StrToIntDef(const String& S, std::int32_t Default);
double StrToFloat(const String& S);
double StrToFloat(const String& S, const TFormatSettings& FS);
bool TryStrToFloat(const String& S, double& Value);
bool TryStrToFloat(const String& S, double& Value, const TFormatSettings& FS);
double StrToFloatDef(const String& S, double Default);

// Dates: day count from 1899-12-30, time of day as the fraction.
bool IsLeapYear(int Year);
int DaysInAMonth(int Year, int Month);
// Raise EConvertError "Invalid argument to date encode" / "Invalid argument to time encode".
TDateTime EncodeDate(int Year, int Month, int Day);
TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec);
bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Date);
bool TryEncodeTime(int Hour, int Min, int Sec, int MSec, TDateTime& Time);
void DecodeDate(TDateTime Date, int& Year, int& Month, int& Day);
void DecodeTime(TDateTime Time, int& Hour, int& Min, int& Sec, int& MSec);
int DayOfWeek(TDateTime Date);  // 1 = Sunday
TDateTime Now();
TDateTime Date();

String DateTimeToString(const String& Format, TDateTime DateTime);
String DateTimeToString(const String& Format, TDateTime DateTime, const TFormatSettings& FS);
String DateTimeToStr(TDateTime DateTime);
String DateTimeToStr(TDateTime DateTime, const TFormatSettings& FS);
String FormatDateTime(const String& Format, TDateTime DateTime);
String FormatDateTime(const String& Format, TDateTime DateTime, const TFormatSettings& FS);
TDateTime StrToDateTime(const String& S);
TDateTime StrToDateTime(const String& S, const TFormatSettings& FS);
bool TryStrToDateTime(const String& S, TDateTime& Value, const TFormatSettings& FS);
TDateTime StrToDate(const String& S, const TFormatSettings& FS);
TDateTime StrToTime(const String& S, const TFormatSettings& FS);

// Strings (ASCII rules on UTF-8 bytes unless noted).
String Trim(const String& S);
String TrimLeft(const String& S);
String TrimRight(const String& S);
String UpperCase(const String& S);
String LowerCase(const String& S);
String AnsiUpperCase(const String& S);  // Unicode-aware upper case of UTF-8 text
String AnsiLowerCase(const String& S);
bool SameText(const String& A, const String& B);
int CompareText(const String& A, const String& B);
// Every separator character splits; an empty text gives no fields.
std::vector<String> SplitString(const String& S, const String& Delimiters);
String StringReplaceAll(const String& S, const String& Old, const String& New);
int Pos(const String& Sub, const String& S);  // 1-based, 0 when absent
int CodePointCount(const String& S);

}  // namespace zel
