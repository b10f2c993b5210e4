// Run-time functions: numbers to text (FloatToStr, FormatFloat, Format).
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <optional>

#include "platform/SysUtils.h"
#include "platform/Unicode.h"

namespace zel {

namespace {

// The most integer digits a pattern without exponent writes out.
constexpr int MaxFixedIntegerDigits = 18;

// A decimal view of |value|: value = 0.D1D2D3... * 10^Exponent. Digits has no leading or trailing
// zeros; it is empty for zero (Exponent is then 0).
struct TDecimal {
  String Digits;
  int Exponent = 0;
  bool Zero() const { return Digits.empty(); }
};

// The first Precision significant digits of |V|, correctly rounded (1 <= Precision <= 17).
// std::to_chars writes what printf's "%.*e" writes (correctly rounded, ties to even), without
// the locale and the format parsing; the text of a value that is not finite holds no digit.
TDecimal ToDecimal(double V, int Precision) {
  Precision = std::clamp(Precision, 1, 17);
  char Buf[64];
  const std::to_chars_result Written =
      std::to_chars(Buf, Buf + sizeof Buf, std::fabs(V), std::chars_format::scientific, Precision - 1);
  const char* const End = Written.ec == std::errc() ? Written.ptr : Buf;
  TDecimal D;
  const char* P = Buf;
  for (; P != End && *P != 'e'; ++P)
    if (*P >= '0' && *P <= '9') D.Digits += *P;
  int E = 0;
  if (P != End) std::from_chars(P + (P[1] == '+' ? 2 : 1), End, E);
  while (!D.Digits.empty() && D.Digits.back() == '0') D.Digits.pop_back();
  D.Exponent = D.Digits.empty() ? 0 : E + 1;
  return D;
}

// Keeps Count significant digits, rounding half away from zero on the decimal digits.
void RoundDigits(TDecimal& D, int Count) {
  int Len = int(D.Digits.size());
  if (Count >= Len) return;
  if (Count < 0) {
    D = TDecimal();
    return;
  }
  bool Up = D.Digits[size_t(Count)] >= '5';
  D.Digits.resize(size_t(Count));
  if (Up) {
    while (!D.Digits.empty() && D.Digits.back() == '9') D.Digits.pop_back();
    if (D.Digits.empty()) {
      D.Digits = "1";
      ++D.Exponent;
    } else {
      ++D.Digits.back();
    }
  }
  while (!D.Digits.empty() && D.Digits.back() == '0') D.Digits.pop_back();
  if (D.Digits.empty()) D.Exponent = 0;
}

// Rounds to Decimals digits after the point.
void RoundDecimals(TDecimal& D, int Decimals) {
  if (!D.Zero()) RoundDigits(D, D.Exponent + Decimals);
}

// The digit at decimal position K (0 = first digit of the integer part when Exponent > 0).
char DigitAt(const TDecimal& D, long K) { return K >= 0 && K < long(D.Digits.size()) ? D.Digits[size_t(K)] : '0'; }

String IntegerDigits(const TDecimal& D) {
  String R;
  for (int K = 0; K < D.Exponent; ++K) R += DigitAt(D, K);
  return R;
}

String FractionDigits(const TDecimal& D, int Count) {
  String R;
  for (int K = 0; K < Count; ++K) R += DigitAt(D, long(D.Exponent) + K);
  return R;
}

String GroupThousands(const String& Digits, char Separator) {
  String R;
  int N = int(Digits.size());
  for (int I = 0; I < N; ++I) {
    R += Digits[size_t(I)];
    if ((N - 1 - I) % 3 == 0 && I < N - 1) R += Separator;
  }
  return R;
}

String ZeroPad(std::uint64_t V, int MinDigits) {
  String R = std::to_string(V);
  if (int(R.size()) < MinDigits) R.insert(0, size_t(MinDigits) - R.size(), '0');
  return R;
}

bool NonFinite(double V, String& Text) {
  if (std::isnan(V)) {
    Text = "NAN";
  } else if (std::isinf(V)) {
    Text = V > 0 ? "INF" : "-INF";
  } else {
    return false;
  }
  return true;
}

// General format: Precision significant digits, trailing zeros removed; scientific when the
// integer part would need more than Precision digits or the value is below 0.0001. The exponent
// has at least ExpDigits digits and a sign only when negative ("1E20", "1.5E-7").
String FormatGeneral(double V, int Precision, int ExpDigits, const TFormatSettings& FS) {
  String Special;
  if (NonFinite(V, Special)) return Special;
  TDecimal D = ToDecimal(V, Precision);
  if (D.Zero()) return "0";
  String R = V < 0 ? "-" : "";
  if (D.Exponent > Precision || D.Exponent < -3) {
    R += D.Digits[0];
    if (D.Digits.size() > 1) {
      R += FS.DecimalSeparator;
      R.append(D.Digits, 1, String::npos);
    }
    int E = D.Exponent - 1;
    R += 'E';
    if (E < 0) R += '-';
    R += ZeroPad(std::uint64_t(std::abs(E)), ExpDigits);
    return R;
  }
  if (D.Exponent <= 0) {
    R += '0';
    R += FS.DecimalSeparator;
    R.append(size_t(-D.Exponent), '0');
    R += D.Digits;
    return R;
  }
  R += IntegerDigits(D);
  if (int(D.Digits.size()) > D.Exponent) {
    R += FS.DecimalSeparator;
    R.append(D.Digits, size_t(D.Exponent), String::npos);
  }
  return R;
}

// Fixed format without sign: Decimals digits after the point, optional thousands separators.
// Negative is set when the rounded value is below zero.
String FormatFixedAbs(double V, int Decimals, bool Thousands, const TFormatSettings& FS, bool& Negative) {
  TDecimal D = ToDecimal(V, 15);
  RoundDecimals(D, Decimals);
  Negative = V < 0 && !D.Zero();
  String Int = D.Exponent > 0 ? IntegerDigits(D) : "0";
  String R = Thousands ? GroupThousands(Int, FS.ThousandSeparator) : Int;
  if (Decimals > 0) {
    R += FS.DecimalSeparator;
    R += FractionDigits(D, Decimals);
  }
  return R;
}

// Scientific format with Precision significant digits, all kept: "1.2300E+003".
String FormatExponent(double V, int Precision, const TFormatSettings& FS) {
  String Special;
  if (NonFinite(V, Special)) return Special;
  TDecimal D = ToDecimal(V, Precision);
  String Digits = D.Digits;
  Digits.resize(size_t(std::clamp(Precision, 1, 17)), '0');
  int E = D.Zero() ? 0 : D.Exponent - 1;
  String R = (V < 0 && !D.Zero()) ? "-" : "";
  R += Digits[0];
  if (Digits.size() > 1) {
    R += FS.DecimalSeparator;
    R.append(Digits, 1, String::npos);
  }
  R += E < 0 ? "E-" : "E+";
  R += ZeroPad(std::uint64_t(std::abs(E)), 3);
  return R;
}

// ---------------------------------------------------------------------------------------------
// FormatFloat patterns

struct TToken {
  enum TKind { Literal, IntDigit, FracDigit, Point, Exponent } Kind;
  String Text;         // Literal text; for Exponent the 'E' or 'e'
  bool Forced = false;  // '0' digit placeholder
  bool ExpPlus = false;
  int ExpDigits = 0;
};

struct TPattern {
  std::vector<TToken> Tokens;
  int IntPlaces = 0, IntForced = 0, FracPlaces = 0, FracForced = 0;
  bool Thousands = false, Scientific = false, HasDigits = false;
};

TPattern ParsePattern(const String& S) {
  TPattern P;
  bool SeenPoint = false, SeenExp = false;
  int FirstForcedInt = -1;
  auto AddLiteral = [&](const String& T) {
    if (!P.Tokens.empty() && P.Tokens.back().Kind == TToken::Literal)
      P.Tokens.back().Text += T;
    else
      P.Tokens.push_back({TToken::Literal, T});
  };
  for (size_t I = 0; I < S.size(); ++I) {
    char C = S[I];
    if (C == '\'' || C == '"') {
      size_t End = S.find(C, I + 1);
      if (End == String::npos) End = S.size();
      AddLiteral(S.substr(I + 1, End - I - 1));
      I = End;
    } else if ((C == '0' || C == '#') && !SeenExp) {
      TToken T{SeenPoint ? TToken::FracDigit : TToken::IntDigit, {}};
      T.Forced = C == '0';
      if (SeenPoint) {
        ++P.FracPlaces;
        if (T.Forced) P.FracForced = P.FracPlaces;
      } else {
        if (T.Forced && FirstForcedInt < 0) FirstForcedInt = P.IntPlaces;
        ++P.IntPlaces;
      }
      P.Tokens.push_back(T);
      P.HasDigits = true;
    } else if (C == '.') {
      if (!SeenPoint && !SeenExp) P.Tokens.push_back({TToken::Point, {}});
      SeenPoint = true;
    } else if (C == ',') {
      if (!SeenExp) P.Thousands = true;
    } else if ((C == 'E' || C == 'e') && !SeenExp && I + 1 < S.size() && (S[I + 1] == '+' || S[I + 1] == '-')) {
      TToken T{TToken::Exponent, String(1, C)};
      T.ExpPlus = S[I + 1] == '+';
      I += 2;
      while (I < S.size() && S[I] == '0') {
        ++T.ExpDigits;
        ++I;
      }
      --I;
      T.ExpDigits = std::min(T.ExpDigits, 4);
      P.Tokens.push_back(T);
      SeenExp = P.Scientific = true;
    } else {
      AddLiteral(String(1, C));
    }
  }
  if (FirstForcedInt >= 0) P.IntForced = P.IntPlaces - FirstForcedInt;
  return P;
}

// Renders |V| through one section. Zero tells whether the value rounded to zero.
String RenderSection(const TPattern& P, double V, const TFormatSettings& FS, bool& Zero) {
  TDecimal D = ToDecimal(V, 15);
  String Int, Frac;
  int ShownExp = 0;
  if (P.Scientific) {
    int IntCount = std::max(1, P.IntPlaces);
    RoundDigits(D, IntCount + P.FracPlaces);
    Zero = D.Zero();
    for (int K = 0; K < IntCount; ++K) Int += DigitAt(D, K);
    for (int K = 0; K < P.FracPlaces; ++K) Frac += DigitAt(D, IntCount + K);
    ShownExp = Zero ? 0 : D.Exponent - IntCount;
  } else {
    RoundDecimals(D, P.FracPlaces);
    Zero = D.Zero();
    Int = D.Exponent > 0 ? IntegerDigits(D) : "";
    if (int(Int.size()) < P.IntForced) Int.insert(0, size_t(P.IntForced) - Int.size(), '0');
    Frac = FractionDigits(D, P.FracPlaces);
  }
  while (int(Frac.size()) > P.FracForced && Frac.back() == '0') Frac.pop_back();

  const bool Group = P.Thousands && !P.Scientific;
  const int NInt = int(Int.size());
  String R;
  auto EmitInt = [&](int J) {
    R += Int[size_t(J)];
    if (Group && J < NInt - 1 && (NInt - 1 - J) % 3 == 0) R += FS.ThousandSeparator;
  };
  int IntIndex = 0, FracIndex = 0;
  for (const TToken& T : P.Tokens) {
    switch (T.Kind) {
      case TToken::Literal:
        R += T.Text;
        break;
      case TToken::IntDigit: {
        // Digits are right-aligned on the placeholders; the first one takes any excess.
        int J = NInt - P.IntPlaces + IntIndex;
        if (IntIndex == 0)
          for (int K = 0; K < J; ++K) EmitInt(K);
        if (J >= 0) EmitInt(J);
        ++IntIndex;
        break;
      }
      case TToken::Point:
        if (P.IntPlaces == 0)
          for (int K = 0; K < NInt; ++K) EmitInt(K);
        if (!Frac.empty()) R += FS.DecimalSeparator;
        break;
      case TToken::FracDigit:
        if (FracIndex < int(Frac.size())) R += Frac[size_t(FracIndex)];
        ++FracIndex;
        break;
      case TToken::Exponent:
        R += T.Text;
        if (ShownExp < 0)
          R += '-';
        else if (T.ExpPlus)
          R += '+';
        R += ZeroPad(std::uint64_t(std::abs(ShownExp)), T.ExpDigits);
        break;
    }
  }
  return R;
}

std::vector<String> SplitSections(const String& Format) {
  std::vector<String> Sections(1);
  char Quote = 0;
  for (char C : Format) {
    if (Quote) {
      if (C == Quote) Quote = 0;
    } else if (C == '\'' || C == '"') {
      Quote = C;
    } else if (C == ';') {
      if (Sections.size() == 3) break;
      Sections.emplace_back();
      continue;
    }
    Sections.back() += C;
  }
  return Sections;
}

}  // namespace

String FloatToStr(double Value, const TFormatSettings& FS) { return FormatGeneral(Value, 15, 0, FS); }

String FloatToStr(double Value) { return FloatToStr(Value, FormatSettings()); }

String FormatFloat(const String& Format, double Value, const TFormatSettings& FS) {
  String Special;
  if (NonFinite(Value, Special)) return Special;
  std::vector<String> Sections = SplitSections(Format);
  auto Usable = [&](size_t K) { return K < Sections.size() && !Sections[K].empty(); };
  size_t Index = 0;
  if (Value < 0 && Usable(1)) Index = 1;
  if (Value == 0 && Usable(2)) Index = 2;
  if (!Usable(Index)) return FloatToStr(Value, FS);
  const TPattern Pattern = ParsePattern(Sections[Index]);
  // An integer part of more than MaxFixedIntegerDigits digits is written in the general form.
  if (!Pattern.Scientific && ToDecimal(Value, 15).Exponent > MaxFixedIntegerDigits) return FloatToStr(Value, FS);
  bool Zero = false;
  String R = RenderSection(Pattern, Value, FS, Zero);
  if (Zero && Index != 2) {
    // A value that rounds to zero is shown by the zero section, else unsigned by the first.
    if (Usable(2))
      R = RenderSection(ParsePattern(Sections[2]), 0.0, FS, Zero);
    else if (Index == 1)
      R = RenderSection(ParsePattern(Sections[0]), 0.0, FS, Zero);
    return R;
  }
  if (Index == 0 && Value < 0) R.insert(0, 1, '-');
  return R;
}

String FormatFloat(const String& Format, double Value) { return FormatFloat(Format, Value, FormatSettings()); }

// ---------------------------------------------------------------------------------------------
// Format

namespace {

String CurrencyText(const String& Amount, bool Negative, const TFormatSettings& FS) {
  const String& C = FS.CurrencyString;
  if (!Negative) {
    switch (FS.CurrencyFormat) {
      case 1: return Amount + C;
      case 2: return C + " " + Amount;
      case 3: return Amount + " " + C;
      default: return C + Amount;
    }
  }
  switch (FS.NegCurrFormat) {
    case 0: return "(" + C + Amount + ")";
    case 2: return C + "-" + Amount;
    case 3: return C + Amount + "-";
    case 4: return "(" + Amount + C + ")";
    case 5: return "-" + Amount + C;
    case 6: return Amount + "-" + C;
    case 7: return Amount + C + "-";
    case 8: return "-" + Amount + " " + C;
    case 9: return "-" + C + " " + Amount;
    case 10: return Amount + " " + C + "-";
    case 11: return C + " " + Amount + "-";
    case 12: return C + " -" + Amount;
    case 13: return Amount + "- " + C;
    case 14: return "(" + C + " " + Amount + ")";
    case 15: return "(" + Amount + " " + C + ")";
    default: return "-" + C + Amount;
  }
}

// Cuts S to at most N code points.
String LeftCodePoints(const String& S, int N) {
  int Count = 0;
  for (size_t I = 0; I < S.size(); ++I) {
    if (!IsUtf8Continuation(S[I])) {
      if (Count == N) return S.substr(0, I);
      ++Count;
    }
  }
  return S;
}

class TFormatter {
 public:
  TFormatter(const String& Fmt, std::initializer_list<FormatArg> Args, const TFormatSettings& FS)
      : FFmt(Fmt), FArgs(Args.begin()), FCount(Args.size()), FFS(FS) {}

  String Run() {
    String R;
    size_t I = 0, N = FFmt.size();
    while (I < N) {
      char C = FFmt[I++];
      if (C != '%') {
        R += C;
        continue;
      }
      if (I < N && FFmt[I] == '%') {
        R += '%';
        ++I;
        continue;
      }
      R += Spec(I);
    }
    return R;
  }

 private:
  [[noreturn]] void Fail() const {
    throw EConvertError("Format '" + FFmt + "' invalid or incompatible with argument");
  }

  const FormatArg& Next() {
    if (FNext >= FCount) Fail();
    return FArgs[FNext++];
  }

  // A number or '*' (the next argument, an integer); nullopt when absent.
  std::optional<long> Number(size_t& I) {
    if (I < FFmt.size() && FFmt[I] == '*') {
      ++I;
      const FormatArg& A = Next();
      if (!std::holds_alternative<std::int64_t>(A.V)) Fail();
      std::int64_t V = std::get<std::int64_t>(A.V);
      if (V > MaxNumber || V < -MaxNumber) Fail();
      return long(V);
    }
    std::optional<long> V;
    while (I < FFmt.size() && FFmt[I] >= '0' && FFmt[I] <= '9') {
      V = V.value_or(0) * 10 + (FFmt[I++] - '0');
      if (*V > MaxNumber) Fail();
    }
    return V;
  }

  // "%" [index ":"] ["-"] [width] ["." precision] type; I is just after the '%'.
  String Spec(size_t& I) {
    std::optional<long> Width = Number(I);
    if (I < FFmt.size() && FFmt[I] == ':') {
      if (!Width || *Width < 0) Fail();
      FNext = size_t(*Width);
      ++I;
      Width.reset();
    }
    bool Left = false;
    if (!Width && I < FFmt.size() && FFmt[I] == '-') {
      Left = true;
      ++I;
    }
    if (!Width) Width = Number(I);
    if (Width && *Width < 0) {  // a negative width from '*' justifies left
      Left = true;
      Width = -*Width;
    }
    long Prec = -1;
    if (I < FFmt.size() && FFmt[I] == '.') {
      ++I;
      Prec = Number(I).value_or(0);
      if (Prec < 0) Fail();
    }
    if (I >= FFmt.size()) Fail();
    char Type = char(FFmt[I++] | 0x20);
    String Text = Convert(Type, Prec);
    long Len = CodePointCount(Text);
    if (Width && *Width > Len) {
      String Pad(size_t(*Width - Len), ' ');
      Text = Left ? Text + Pad : Pad + Text;
    }
    return Text;
  }

  String Convert(char Type, long Prec) {
    const FormatArg& A = Next();
    const bool IsInt = std::holds_alternative<std::int64_t>(A.V);
    const bool IsFloat = std::holds_alternative<double>(A.V);
    switch (Type) {
      case 'd':
      case 'u':
      case 'x':
      case 'p': {
        if (!IsInt) Fail();
        std::int64_t V = std::get<std::int64_t>(A.V);
        String Digits;
        bool Negative = false;
        if (Type == 'd') {
          Negative = V < 0;
          Digits = std::to_string(Negative ? ~std::uint64_t(V) + 1 : std::uint64_t(V));
        } else {
          std::uint64_t U = A.Wide ? std::uint64_t(V) : std::uint64_t(std::uint32_t(V));
          if (Type == 'u') {
            Digits = std::to_string(U);
          } else {
            Digits = IntToHex(std::int64_t(U), Type == 'p' ? 16 : 0);
          }
        }
        if (Prec > int(Digits.size()) && Type != 'p') Digits.insert(0, size_t(Prec) - Digits.size(), '0');
        return Negative ? "-" + Digits : Digits;
      }
      case 's':
        if (!std::holds_alternative<String>(A.V)) Fail();
        return Prec >= 0 ? LeftCodePoints(std::get<String>(A.V), int(Prec)) : std::get<String>(A.V);
      case 'e':
      case 'f':
      case 'g':
      case 'n':
      case 'm': {
        if (!IsFloat) Fail();
        double V = std::get<double>(A.V);
        String Special;
        if (NonFinite(V, Special)) return Special;
        if (Type == 'e') return FormatExponent(V, Prec < 0 ? 15 : int(std::clamp(Prec, 1L, 17L)), FFS);
        if (Type == 'g') return FormatGeneral(V, Prec < 0 ? 15 : int(std::clamp(Prec, 1L, 17L)), 3, FFS);
        int Default = Type == 'm' ? FFS.CurrencyDecimals : 2;
        int Decimals = int(std::min(Prec < 0 ? long(Default) : Prec, 18L));
        bool Negative = false;
        String Amount = FormatFixedAbs(V, Decimals, Type != 'f', FFS, Negative);
        if (Type == 'm') return CurrencyText(Amount, Negative, FFS);
        return Negative ? "-" + Amount : Amount;
      }
      default:
        Fail();
    }
  }

  static constexpr long MaxNumber = 1000000;
  const String& FFmt;
  const FormatArg* FArgs;
  size_t FCount;
  size_t FNext = 0;
  const TFormatSettings& FFS;
};

}  // namespace

String Format(const String& Fmt, std::initializer_list<FormatArg> Args, const TFormatSettings& FS) {
  return TFormatter(Fmt, Args, FS).Run();
}

String Format(const String& Fmt, std::initializer_list<FormatArg> Args) {
  return Format(Fmt, Args, FormatSettings());
}

}  // namespace zel
