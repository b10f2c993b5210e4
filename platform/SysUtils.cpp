// Run-time functions: settings, string helpers and text-to-number conversions.
#include "platform/SysUtils.h"

#include <QString>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

#include "platform/Unicode.h"

namespace zel {

TFormatSettings& FormatSettings() {
  static TFormatSettings Settings;
  return Settings;
}

// ---------------------------------------------------------------------------------------------
// Strings

namespace {

bool IsBlank(char C) { return static_cast<unsigned char>(C) <= ' '; }

char AsciiUpper(char C) { return (C >= 'a' && C <= 'z') ? char(C - 'a' + 'A') : C; }
char AsciiLower(char C) { return (C >= 'A' && C <= 'Z') ? char(C - 'A' + 'a') : C; }

}  // namespace

String Trim(const String& S) {
  size_t B = 0, E = S.size();
  while (B < E && IsBlank(S[B])) ++B;
  while (E > B && IsBlank(S[E - 1])) --E;
  return S.substr(B, E - B);
}

String TrimLeft(const String& S) {
  size_t B = 0;
  while (B < S.size() && IsBlank(S[B])) ++B;
  return S.substr(B);
}

String TrimRight(const String& S) {
  size_t E = S.size();
  while (E > 0 && IsBlank(S[E - 1])) --E;
  return S.substr(0, E);
}

String UpperCase(const String& S) {
  String R = S;
  for (char& C : R) C = AsciiUpper(C);
  return R;
}

String LowerCase(const String& S) {
  String R = S;
  for (char& C : R) C = AsciiLower(C);
  return R;
}

// Text that is not valid UTF-8 keeps its bytes and gets the ASCII rules only, rather than having
// its bad sequences replaced.
String AnsiUpperCase(const String& S) {
  if (!IsValidUtf8(S)) return UpperCase(S);
  return QString::fromUtf8(S.data(), qsizetype(S.size())).toUpper().toStdString();
}

String AnsiLowerCase(const String& S) {
  if (!IsValidUtf8(S)) return LowerCase(S);
  return QString::fromUtf8(S.data(), qsizetype(S.size())).toLower().toStdString();
}

bool SameText(const String& A, const String& B) { return CompareText(A, B) == 0; }

int CompareText(const String& A, const String& B) {
  size_t N = std::min(A.size(), B.size());
  for (size_t I = 0; I < N; ++I) {
    int CA = static_cast<unsigned char>(AsciiUpper(A[I]));
    int CB = static_cast<unsigned char>(AsciiUpper(B[I]));
    if (CA != CB) return CA - CB;
  }
  if (A.size() == B.size()) return 0;
  return A.size() < B.size() ? -1 : 1;
}

std::vector<String> SplitString(const String& S, const String& Delimiters) {
  std::vector<String> Result;
  if (S.empty()) return Result;
  size_t Start = 0;
  for (size_t I = 0; I < S.size(); ++I) {
    if (Delimiters.find(S[I]) != String::npos) {
      Result.push_back(S.substr(Start, I - Start));
      Start = I + 1;
    }
  }
  Result.push_back(S.substr(Start));
  return Result;
}

String StringReplaceAll(const String& S, const String& Old, const String& New) {
  if (Old.empty()) return S;
  String R;
  R.reserve(S.size());
  size_t From = 0;
  for (;;) {
    size_t At = S.find(Old, From);
    if (At == String::npos) break;
    R.append(S, From, At - From);
    R += New;
    From = At + Old.size();
  }
  R.append(S, From, String::npos);
  return R;
}

int Pos(const String& Sub, const String& S) {
  if (Sub.empty()) return 0;
  size_t At = S.find(Sub);
  return At == String::npos ? 0 : int(At) + 1;
}

int CodePointCount(const String& S) {
  int N = 0;
  for (char C : S)
    if (!IsUtf8Continuation(C)) ++N;
  return N;
}

// ---------------------------------------------------------------------------------------------
// Integers

namespace {

int HexValue(char C) {
  if (C >= '0' && C <= '9') return C - '0';
  if (C >= 'a' && C <= 'f') return C - 'a' + 10;
  if (C >= 'A' && C <= 'F') return C - 'A' + 10;
  return -1;
}

// Reads an integer of Bits (32 or 64) bits. Decimal text must fit the signed range; hexadecimal
// text may use all the bits and is read as the two's-complement pattern ("$FFFFFFFF" is -1).
bool ParseInteger(const String& Text, int Bits, std::int64_t& Value) {
  String S = Trim(Text);
  size_t I = 0, N = S.size();
  bool Negative = false;
  if (I < N && (S[I] == '+' || S[I] == '-')) Negative = S[I++] == '-';
  bool Hex = false;
  if (I < N && S[I] == '$') {
    Hex = true;
    ++I;
  } else if (I + 1 < N && S[I] == '0' && (S[I + 1] == 'x' || S[I + 1] == 'X')) {
    Hex = true;
    I += 2;
  }
  if (I == N) return false;
  const std::uint64_t Mask = Bits == 64 ? ~std::uint64_t(0) : 0xFFFFFFFFull;
  std::uint64_t Acc = 0;
  if (Hex) {
    for (; I < N; ++I) {
      int D = HexValue(S[I]);
      if (D < 0 || (Acc >> (Bits - 4)) != 0) return false;
      Acc = (Acc << 4) | std::uint64_t(D);
    }
    if (Negative) Acc = (~Acc + 1) & Mask;
    std::int64_t V = Bits == 64 ? std::int64_t(Acc) : std::int64_t(std::int32_t(std::uint32_t(Acc)));
    Value = V;
    return true;
  }
  const std::uint64_t Limit = (Mask >> 1) + (Negative ? 1 : 0);
  for (; I < N; ++I) {
    char C = S[I];
    if (C < '0' || C > '9') return false;
    std::uint64_t D = std::uint64_t(C - '0');
    if (Acc > (Limit - D) / 10) return false;
    Acc = Acc * 10 + D;
  }
  Value = Negative ? std::int64_t(~Acc + 1) : std::int64_t(Acc);
  return true;
}

[[noreturn]] void RaiseInvalidInteger(const String& S) {
  throw EConvertError("'" + S + "' is not a valid integer value");
}

}  // namespace

bool TryStrToInt(const String& S, std::int32_t& Value) {
  std::int64_t V;
  if (!ParseInteger(S, 32, V)) return false;
  Value = std::int32_t(V);
  return true;
}

bool TryStrToInt64(const String& S, std::int64_t& Value) { return ParseInteger(S, 64, Value); }

std::int32_t StrToInt(const String& S) {
  std::int32_t V;
  if (!TryStrToInt(S, V)) RaiseInvalidInteger(S);
  return V;
}

std::int64_t StrToInt64(const String& S) {
  std::int64_t V;
  if (!TryStrToInt64(S, V)) RaiseInvalidInteger(S);
  return V;
}

std::int32_t StrToIntDef(const String& S, std::int32_t Default) {
  std::int32_t V;
  return TryStrToInt(S, V) ? V : Default;
}

String IntToStr(std::int64_t Value) { return std::to_string(Value); }

String IntToHex(std::int64_t Value, int Digits) {
  static const char HexDigits[] = "0123456789ABCDEF";
  std::uint64_t U = std::uint64_t(Value);
  String R;
  do {
    R.insert(R.begin(), HexDigits[U & 0xF]);
    U >>= 4;
  } while (U != 0);
  Digits = std::min(Digits, 64);
  if (int(R.size()) < Digits) R.insert(0, size_t(Digits) - R.size(), '0');
  return R;
}

// ---------------------------------------------------------------------------------------------
// Floating point from text

namespace {

// For a number that std::from_chars found out of range ('.' as the separator, no sign): true when
// it lies below the smallest double, false when above the largest.
bool IsBelowRange(std::string_view Number) {
  bool SeenSignificant = false, InFraction = false;
  long long IntDigits = 0, LeadingFracZeros = 0;
  size_t I = 0, N = Number.size();
  for (; I < N && Number[I] != 'e' && Number[I] != 'E'; ++I) {
    const char C = Number[I];
    if (C == '.') {
      InFraction = true;
    } else {
      if (C != '0') SeenSignificant = true;
      if (!InFraction) {
        if (SeenSignificant) ++IntDigits;
      } else if (!SeenSignificant) {
        ++LeadingFracZeros;
      }
    }
  }
  long long Exp = 0;
  if (I < N) {
    ++I;
    const bool ExpNeg = I < N && Number[I] == '-';
    if (I < N && (Number[I] == '+' || Number[I] == '-')) ++I;
    for (; I < N; ++I)
      if (Exp < 100000) Exp = Exp * 10 + (Number[I] - '0');
    if (ExpNeg) Exp = -Exp;
  }
  const long long Magnitude = (IntDigits > 0 ? IntDigits - 1 : -(LeadingFracZeros + 1)) + Exp;
  return !SeenSignificant || Magnitude < 0;
}

}  // namespace

bool TextToFloat(std::string_view Text, double& Value, const TFormatSettings& FS) {
  size_t B = 0, E = Text.size();
  while (B < E && IsBlank(Text[B])) ++B;
  while (E > B && IsBlank(Text[E - 1])) --E;
  const std::string_view S = Text.substr(B, E - B);
  size_t I = 0, N = S.size();
  bool Negative = false;
  if (I < N && (S[I] == '+' || S[I] == '-')) Negative = S[I++] == '-';
  std::string_view Number = S.substr(I);
  char Small[128];
  String Large;
  if (FS.DecimalSeparator == '.') {
    // from_chars reads the classic grammar with '.', and also "inf", "nan" and a leading '-': a
    // number that must start with a digit or the separator is left with the classic forms only,
    // read where it stands.
    if (Number.empty() || !((Number[0] >= '0' && Number[0] <= '9') || Number[0] == '.')) return false;
  } else {
    // from_chars reads '.' only: the shape is checked here and the text copied with the separator
    // replaced, on the stack when it is short, as it nearly always is.
    size_t SeparatorAt = std::string_view::npos;
    int MantissaDigits = 0;
    for (; I < N; ++I) {
      const char C = S[I];
      if (C >= '0' && C <= '9') {
        ++MantissaDigits;
      } else if (C == FS.DecimalSeparator && SeparatorAt == std::string_view::npos) {
        SeparatorAt = I;
      } else {
        break;
      }
    }
    if (MantissaDigits == 0) return false;
    if (I < N && (S[I] == 'e' || S[I] == 'E')) {
      ++I;
      if (I < N && (S[I] == '+' || S[I] == '-')) ++I;
      const size_t ExpStart = I;
      while (I < N && S[I] >= '0' && S[I] <= '9') ++I;
      if (I == ExpStart) return false;
    }
    if (I != N) return false;
    if (SeparatorAt != std::string_view::npos) {
      char* Buf = Small;
      if (Number.size() > sizeof Small) {
        Large.resize(Number.size());
        Buf = Large.data();
      }
      Number.copy(Buf, Number.size());
      Buf[SeparatorAt - (N - Number.size())] = '.';
      Number = std::string_view(Buf, Number.size());
    }
  }
  double V = 0;
  auto [Ptr, Ec] = std::from_chars(Number.data(), Number.data() + Number.size(), V, std::chars_format::general);
  if (Ptr != Number.data() + Number.size()) return false;
  if (Ec == std::errc::result_out_of_range) {
    // Too small to represent reads as zero; too large is an error.
    if (!IsBelowRange(Number)) return false;
    V = 0.0;
  } else if (Ec != std::errc()) {
    return false;
  }
  if (!std::isfinite(V)) return false;
  Value = Negative ? -V : V;
  return true;
}

bool TryStrToFloat(const String& S, double& Value, const TFormatSettings& FS) { return TextToFloat(S, Value, FS); }

bool TryStrToFloat(const String& S, double& Value) { return TryStrToFloat(S, Value, FormatSettings()); }

double StrToFloat(const String& S, const TFormatSettings& FS) {
  double V;
  if (!TryStrToFloat(S, V, FS)) throw EConvertError("'" + S + "' is not a valid floating point value");
  return V;
}

double StrToFloat(const String& S) { return StrToFloat(S, FormatSettings()); }

double StrToFloatDef(const String& S, double Default) {
  double V;
  return TryStrToFloat(S, V) ? V : Default;
}

}  // namespace zel
