// Run-time functions: number and date-time conversion with format settings, string helpers.
// Semantics follow the classic run-time library; format settings have fixed defaults that do not
// depend on the machine's locale ('.' decimal, ',' thousands, yyyy-MM-dd dates).
#pragma once

#include <cstdarg>
#include <cstdint>
#include <initializer_list>
#include <string_view>
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
  // Currency (Format's %m): CurrencyFormat 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $"; NegCurrFormat 0..15
  // the classic negative layouts, 0 "($1)", 1 "-$1" ... 15 "(1 $)".
  String CurrencyString = "$";
  int CurrencyFormat = 0;
  int NegCurrFormat = 1;
  int CurrencyDecimals = 2;
  // Two-digit years read from text fall within this many years of the current year.
  int TwoDigitYearCenturyWindow = 50;

  // The fixed defaults above (the "user's locale" of this platform).
  static TFormatSettings Create() { return TFormatSettings(); }
};

// The process-wide settings used by the overloads without a settings argument.
TFormatSettings& FormatSettings();

// One argument of Format: integers, floating point, strings (and C strings). `Wide` records a
// 64-bit integer, so that %x and %u show a negative 32-bit value in 32 bits ("FFFFFFFF").
using TVarRec = std::variant<std::int64_t, double, String>;
struct FormatArg {
  TVarRec V;
  bool Wide = false;
  FormatArg(int I) : V(std::int64_t(I)) {}
  FormatArg(long I) : V(std::int64_t(I)), Wide(sizeof(long) > 4) {}
  FormatArg(long long I) : V(std::int64_t(I)), Wide(true) {}
  FormatArg(unsigned I) : V(std::int64_t(I)) {}
  FormatArg(unsigned long I) : V(std::int64_t(I)), Wide(sizeof(long) > 4) {}
  FormatArg(unsigned long long I) : V(std::int64_t(I)), Wide(true) {}
  FormatArg(const void* P) : V(std::int64_t(reinterpret_cast<std::intptr_t>(P))), Wide(true) {}
  FormatArg(double D) : V(D) {}
  FormatArg(float D) : V(double(D)) {}
  FormatArg(const String& S) : V(S) {}
  FormatArg(const char* S) : V(String(S ? S : "")) {}
};

// Format("%s of %d", {"a", 3}): "%" [index ":"] ["-"] [width] ["." precision] type, with the types
// d u x e f g n m s p (either case) and "%%"; index, width and precision may be '*' (taken from the
// next argument). Raises EConvertError "Format '%s' invalid or incompatible with argument" on a bad
// spec, a missing argument or an argument of the wrong kind.
String Format(const String& Fmt, std::initializer_list<FormatArg> Args);
String Format(const String& Fmt, std::initializer_list<FormatArg> Args, const TFormatSettings& FS);

String IntToStr(std::int64_t Value);
// Upper-case hexadecimal with at least Digits digits; a negative value shows its 64-bit pattern.
String IntToHex(std::int64_t Value, int Digits);
// General format, 15 significant digits; scientific ("1E20", "1.5E-7") for values of 1E15 and
// above or below 0.0001; "NAN", "INF", "-INF".
String FloatToStr(double Value);
String FloatToStr(double Value, const TFormatSettings& FS);
// FormatFloat patterns: sections ';', '#', '0', ',', '.', 'E+'/'E-'/'e+'/'e-', quoted literals.
// Rounds half away from zero; a value that rounds to zero shows no minus sign. An empty pattern,
// or a value whose integer part needs more than 18 digits under a pattern without exponent,
// gives FloatToStr.
String FormatFloat(const String& Format, double Value);
String FormatFloat(const String& Format, double Value, const TFormatSettings& FS);

// Conversions from text; the raising forms use the classic messages:
// "'%s' is not a valid integer value", "'%s' is not a valid floating point value",
// "'%s' is not a valid date and time", "'%s' is not a valid date", "'%s' is not a valid time".
// Integers: optional blanks around, optional sign, decimal digits or hexadecimal after '$' or "0x".
std::int32_t StrToInt(const String& S);
std::int64_t StrToInt64(const String& S);
bool TryStrToInt(const String& S, std::int32_t& Value);
bool TryStrToInt64(const String& S, std::int64_t& Value);
std::int32_t StrToIntDef(const String& S, std::int32_t Default);
// Floating point: optional blanks around, sign, digits with the settings' DecimalSeparator and an
// optional exponent; no thousands separators, hexadecimal, "inf" or "nan".
double StrToFloat(const String& S);
double StrToFloat(const String& S, const TFormatSettings& FS);
bool TryStrToFloat(const String& S, double& Value);
bool TryStrToFloat(const String& S, double& Value, const TFormatSettings& FS);
double StrToFloatDef(const String& S, double Default);
// TryStrToFloat on a piece of a larger text, without copying it to the heap (for readers of
// large files).
bool TextToFloat(std::string_view S, double& Value, const TFormatSettings& FS);

// Dates: day count from 1899-12-30, time of day as the fraction. Before 1899-12-30 the fraction
// counts away from zero: -1.25 is 1899-12-29 06:00. Decoding rounds to the millisecond; a time that
// rounds up to midnight belongs to the next day. Values outside years 1..9999 (and NaN) decode as
// zeros.
bool IsLeapYear(int Year);
int DaysInAMonth(int Year, int Month);
// Raise EConvertError "Invalid argument to date encode" / "Invalid argument to time encode".
TDateTime EncodeDate(int Year, int Month, int Day);
TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec);
bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Date);
bool TryEncodeTime(int Hour, int Min, int Sec, int MSec, TDateTime& Time);
void DecodeDate(TDateTime Date, int& Year, int& Month, int& Day);
void DecodeTime(TDateTime Time, int& Hour, int& Min, int& Sec, int& MSec);
// Date plus time of day, with the rule above for dates before 1899-12-30.
TDateTime ComposeDateTime(TDateTime Date, TDateTime Time);
int DayOfWeek(TDateTime Date);  // 1 = Sunday
TDateTime Now();
TDateTime Date();

// Format tokens (either case): c d dd ddd dddd ddddd dddddd m mm mmm mmmm (minutes right after
// h/hh) yy yyyy h hh n nn s ss z zzz t tt am/pm a/p ampm, '/' DateSeparator, ':' TimeSeparator,
// quoted literals; anything else is copied. An empty format is "c".
String DateTimeToString(const String& Format, TDateTime DateTime);
String DateTimeToString(const String& Format, TDateTime DateTime, const TFormatSettings& FS);
String DateTimeToStr(TDateTime DateTime);
String DateTimeToStr(TDateTime DateTime, const TFormatSettings& FS);
String FormatDateTime(const String& Format, TDateTime DateTime);
String FormatDateTime(const String& Format, TDateTime DateTime, const TFormatSettings& FS);
// Text to date-time: the date's fields in the order of ShortDateFormat separated by DateSeparator
// (a missing year is the current one), then optionally blanks and a time h:n[:s[.fraction]] with
// TimeSeparator and DecimalSeparator and an optional AM/PM mark. A time alone is a time on day 0.
TDateTime StrToDateTime(const String& S);
TDateTime StrToDateTime(const String& S, const TFormatSettings& FS);
bool TryStrToDateTime(const String& S, TDateTime& Value);
bool TryStrToDateTime(const String& S, TDateTime& Value, const TFormatSettings& FS);
bool TryStrToDate(const String& S, TDateTime& Value, const TFormatSettings& FS);
bool TryStrToTime(const String& S, TDateTime& Value, const TFormatSettings& FS);
TDateTime StrToDate(const String& S);
TDateTime StrToDate(const String& S, const TFormatSettings& FS);
TDateTime StrToTime(const String& S);
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
// Every delimiter character splits ("a;;b" gives three fields); an empty text gives no fields.
std::vector<String> SplitString(const String& S, const String& Delimiters);
// Replaces every occurrence, left to right; an empty Old changes nothing.
String StringReplaceAll(const String& S, const String& Old, const String& New);
int Pos(const String& Sub, const String& S);  // 1-based byte position, 0 when absent or Sub empty
int CodePointCount(const String& S);

}  // namespace zel
