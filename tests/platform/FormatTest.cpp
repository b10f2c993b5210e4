// Numbers to text: FloatToStr, FormatFloat, Format, IntToStr, IntToHex.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "platform/SysUtils.h"

using namespace zel;

namespace {

const double NaN = std::numeric_limits<double>::quiet_NaN();
const double Inf = std::numeric_limits<double>::infinity();

TFormatSettings CommaDecimal() {
  TFormatSettings FS;
  FS.DecimalSeparator = ',';
  FS.ThousandSeparator = '.';
  return FS;
}

}  // namespace

TEST(FloatToStrTest, GeneralFormat) {
  struct Case {
    double Value;
    const char* Expected;
  } Cases[] = {
      {0, "0"},
      {-0.0, "0"},
      {1, "1"},
      {-2.5, "-2.5"},
      {0.1, "0.1"},
      {0.1 + 0.2, "0.3"},  // 15 significant digits hide the binary error
      {1.0 / 3, "0.333333333333333"},
      {2.0 / 3, "0.666666666666667"},
      {123456789012345, "123456789012345"},
      {999999999999999, "999999999999999"},
      {1e15, "1E15"},
      {1e20, "1E20"},
      {-1.5e20, "-1.5E20"},
      {1.23456789012345e30, "1.23456789012345E30"},
      {0.0001, "0.0001"},
      {0.00012, "0.00012"},
      {0.00001, "1E-5"},
      {1.5e-7, "1.5E-7"},
      {-1.5e-7, "-1.5E-7"},
      {9.99999999999999e-5, "9.99999999999999E-5"},
      {1e-300, "1E-300"},
      {std::numeric_limits<double>::max(), "1.79769313486232E308"},
      {NaN, "NAN"},
      {Inf, "INF"},
      {-Inf, "-INF"},
  };
  for (const Case& C : Cases) EXPECT_EQ(FloatToStr(C.Value), C.Expected) << C.Value;
  EXPECT_EQ(FloatToStr(-1234.5, CommaDecimal()), "-1234,5");
  EXPECT_EQ(FloatToStr(2.5e-9, CommaDecimal()), "2,5E-9");
}

TEST(FormatFloatTest, Patterns) {
  struct Case {
    const char* Format;
    double Value;
    const char* Expected;
  } Cases[] = {
      // The classic table: 1234, -1234, 0.5, 0 through common patterns.
      {"0", 1234, "1234"},
      {"0", -1234, "-1234"},
      {"0", 0.5, "1"},
      {"0", 0, "0"},
      {"0.00", 1234, "1234.00"},
      {"0.00", 0.5, "0.50"},
      {"#.##", 1234, "1234"},
      {"#.##", -1234, "-1234"},
      {"#.##", 0.5, ".5"},
      {"#.##", 0, ""},
      {"#,##0.00", 1234, "1,234.00"},
      {"#,##0.00", -1234, "-1,234.00"},
      {"#,##0.00", 0.5, "0.50"},
      {"#,##0.00;(#,##0.00)", -1234, "(1,234.00)"},
      {"#,##0.00;(#,##0.00)", 1234, "1,234.00"},
      {"#,##0.00;;Zero", 0, "Zero"},
      {"#,##0.00;;Zero", -1234, "-1,234.00"},
      {"0.000E+00", 1234, "1.234E+03"},
      {"0.000E+00", -1234, "-1.234E+03"},
      {"0.000E+00", 0.5, "5.000E-01"},
      {"0.000E+00", 0, "0.000E+00"},
      {"#.###E-0", 1234, "1.234E3"},
      {"#.###E-0", 0.5, "5E-1"},
      {"#.###E-0", 0, "0E0"},
      // Axis label patterns.
      {"#,##0.###", 1234567.891, "1,234,567.891"},
      {"#,##0.###", 0.1, "0.1"},
      {"#,##0.###", 999.9996, "1,000"},
      {"#,##0.###", -0.0004, "0"},
      {"#,##0", 100, "100"},
      {"#,##0", 1000, "1,000"},
      {"#,##0", 123456789, "123,456,789"},
      {"##0.## %", 12.5, "12.5 %"},
      {"##0.## %", 0, "0 %"},
      {"0.0", -0.04, "0.0"},
      {"0.0;(0.0);zero", -0.04, "zero"},
      // Half away from zero on the decimal digits, unlike Round.
      {"0", 2.5, "3"},
      {"0", -2.5, "-3"},
      {"0", 3.5, "4"},
      {"0.0", 0.15, "0.2"},
      {"0.00", 1.005, "1.01"},
      {"0.0", 9.96, "10.0"},
      // Forced and optional digits.
      {"000", 7, "007"},
      {"0.0##", 1.5, "1.5"},
      {"0.0##", 1.2345, "1.235"},
      {"0.###", 2, "2"},
      {"00.00E+000", 1234, "12.34E+002"},
      {"0E+0", 1e-100, "1E-100"},
      // Literals: quoted, interleaved with digits, and characters with no meaning.
      {"'Value: '0.0", 3, "Value: 3.0"},
      {"\"#\"0", 5, "#5"},
      {"0' kg'", -5, "-5 kg"},
      {"00-00", 1234, "12-34"},
      {"0 x", 1, "1 x"},
      {"'a;b'0", 1, "a;b1"},
      // Values beyond 15 significant digits keep 15 and pad, up to 18 integer digits; beyond
      // that the general form is used, whatever the pattern's sections.
      {"0", 123456789012345678.0, "123456789012346000"},
      {"#,##0.###", 1e17, "100,000,000,000,000,000"},
      {"0", 999999999999999999.0, "1E18"},
      {"0", 1e20, "1E20"},
      {"#,##0.###", 1e300, "1E300"},
      {"#,##0.###", 1.7976931348623157e308, "1.79769313486232E308"},
      {"#,##0.00;(#,##0.00)", -2.5e19, "-2.5E19"},
      {"0.0E+0", 1e300, "1.0E+300"},
      {"#,##0.###", 1e-300, "0"},
      {"0.00", 1e-20, "0.00"},
      // Empty patterns fall back to the general format.
      {"", 1.5, "1.5"},
      {";(0)", 2, "2"},
      {"0;;", 0, "0"},
  };
  for (const Case& C : Cases) EXPECT_EQ(FormatFloat(C.Format, C.Value), C.Expected) << C.Format << " / " << C.Value;
}

TEST(FormatFloatTest, SpecialValuesAndSettings) {
  EXPECT_EQ(FormatFloat("0.00", NaN), "NAN");
  EXPECT_EQ(FormatFloat("#,##0", Inf), "INF");
  EXPECT_EQ(FormatFloat("#,##0", -Inf), "-INF");
  EXPECT_EQ(FormatFloat("#,##0.00", 1234567.5, CommaDecimal()), "1.234.567,50");
  EXPECT_EQ(FormatFloat("0.0E+0", 12345, CommaDecimal()), "1,2E+4");
}

// The digits of every format come from one conversion: its significant digits and exponent must
// be those of C's "%.*e" (correctly rounded, ties to even), which the "%.Ne" format shows whole.
TEST(FormatFloatTest, SignificantDigitsAreThoseOfPrintf) {
  auto Printf = [](double V, int Precision) {
    char Buf[64];
    std::snprintf(Buf, sizeof Buf, "%.*e", Precision - 1, std::fabs(V));
    String S(Buf);
    const std::size_t E = S.find('e');
    String Digits = S.substr(0, E);
    const int Exponent = std::atoi(S.c_str() + E + 1);
    const bool Zero = Digits.find_first_not_of("0.") == String::npos;
    String R = V < 0 && !Zero ? "-" : "";
    R += Digits;
    R += Exponent < 0 ? "E-" : "E+";
    const String Magnitude = std::to_string(std::abs(Exponent));
    R += String(Magnitude.size() < 3 ? 3 - Magnitude.size() : 0, '0') + Magnitude;
    return R;
  };
  std::vector<double> Values = {
      0.0, -0.0, 1, -1, 0.5, 1.5, 2.5, 3.5, -2.5, 0.125, 0.375, 1.25, 2.675, 4.35, 0.95, 9.5,
      99.5, 999999.5, 9999999999999999.0, 0.1, 0.2, 0.3, 1.0 / 3, 2.0 / 3, 123456.5, 1e23,
      9.9999999999999995e22, 8.41e21, 5e-324, -5e-324, 2.2250738585072014e-308,
      2.2250738585072009e-308, std::numeric_limits<double>::max(), -std::numeric_limits<double>::max(),
      9007199254740993.0, 9007199254740992.0, 1234567890123456789.0, 1e-5, 1e15, 1e16, 1e17,
      1e300, 1e-300, 123.456, -0.000123456, 1.7976931348623157e308, 0.30000000000000004,
      5.0000000000000001e-1, 0.49999999999999994, 1.0000000000000002, 0.9999999999999999,
      7.0e-10, 6.02214076e23, 1.602176634e-19, 4.9406564584124654e-324, 1e22, 1e21,
  };
  std::mt19937_64 Rng(20261211);
  std::uniform_int_distribution<std::uint64_t> Bits;
  while (Values.size() < 3000) {
    double V;
    const std::uint64_t B = Bits(Rng);
    std::memcpy(&V, &B, sizeof V);
    if (std::isfinite(V)) Values.push_back(V);
  }
  // Short decimals, where ties and near-ties are common.
  for (int I = 0; I < 2000; ++I) Values.push_back(double(std::int64_t(Bits(Rng) % 2000001) - 1000000) / 1000);
  for (double V : Values)
    for (int P = 1; P <= 17; ++P) {
      const String Fmt = "%." + std::to_string(P) + "e";
      ASSERT_EQ(Format(Fmt, {V}), Printf(V, P)) << std::hexfloat << V << " precision " << P;
    }
}

TEST(FormatTest, Conversions) {
  struct Case {
    const char* Fmt;
    std::initializer_list<FormatArg> Args;
    const char* Expected;
  };
  const Case Cases[] = {
      {"plain", {}, "plain"},
      {"100%%", {}, "100%"},
      {"%d", {42}, "42"},
      {"%d", {-42}, "-42"},
      {"%D", {7}, "7"},
      {"%5d|", {42}, "   42|"},
      {"%-5d|", {42}, "42   |"},
      {"%.4d", {-42}, "-0042"},
      {"%d", {std::int64_t(-9223372036854775807LL - 1)}, "-9223372036854775808"},
      {"%u", {-1}, "4294967295"},
      {"%u", {std::int64_t(-1)}, "18446744073709551615"},
      {"%x", {255}, "FF"},
      {"%x", {-1}, "FFFFFFFF"},
      {"%.4x", {255}, "00FF"},
      {"%x", {std::int64_t(-2)}, "FFFFFFFFFFFFFFFE"},
      {"%s", {"text"}, "text"},
      {"%s", {String("")}, ""},
      {"%.2s", {"text"}, "te"},
      {"%.2s", {"\xC3\xA9t\xC3\xA9"}, "\xC3\xA9t"},  // cuts whole characters
      {"[%6s]", {"\xC3\xA9t\xC3\xA9"}, "[   \xC3\xA9t\xC3\xA9]"},
      {"[%-6s]", {"ab"}, "[ab    ]"},
      {"%f", {1.5}, "1.50"},
      {"%.0f", {2.5}, "3"},
      {"%.3f", {-0.0004}, "0.000"},
      {"%.1f", {1234567.25}, "1234567.3"},
      {"%n", {1234567.891}, "1,234,567.89"},
      {"%.0n", {-999.5}, "-1,000"},
      {"%m", {1234.5}, "$1,234.50"},
      {"%m", {-3.0}, "-$3.00"},
      {"%e", {1234.5}, "1.23450000000000E+003"},
      {"%.3e", {-0.000123456}, "-1.23E-004"},
      {"%.2e", {0.0}, "0.0E+000"},
      {"%g", {1234.5}, "1234.5"},
      {"%g", {1e20}, "1E020"},
      {"%.3g", {1234.5}, "1.23E003"},
      {"%g", {0.00001}, "1E-005"},
      {"%f", {NaN}, "NAN"},
      {"%8.2f|", {-Inf}, "    -INF|"},
      {"%s = %d, %s = %.1f", {"a", 1, "b", 2.25}, "a = 1, b = 2.3"},
      {"%1:s %0:s %s", {"x", "y"}, "y x y"},
      {"%*d", {4, 7}, "   7"},
      {"%-*d|", {3, 7}, "7  |"},
      {"%*d|", {-3, 7}, "7  |"},
      {"%.*f", {3, 1.0}, "1.000"},
      {"%*.*f", {7, 1, 2.25}, "    2.3"},
      {"%p", {static_cast<const void*>(nullptr)}, "0000000000000000"},
  };
  for (const Case& C : Cases) EXPECT_EQ(Format(C.Fmt, C.Args), C.Expected) << C.Fmt;
  EXPECT_EQ(Format("%.2f|%n", {1234.5, 1234.5}, CommaDecimal()), "1234,50|1.234,50");
}

TEST(FormatTest, BadSpecsRaiseNamingTheFormat) {
  struct Case {
    const char* Fmt;
    std::initializer_list<FormatArg> Args;
  };
  const Case Cases[] = {
      {"%d", {}},                // missing argument
      {"%d %d", {1}},            // runs out of arguments
      {"%d", {1.5}},             // float for an integer
      {"%x", {"a"}},             // string for an integer
      {"%f", {3}},               // integer for a float
      {"%s", {3}},               // integer for a string
      {"%k", {3}},               // unknown type
      {"%", {3}},                // spec cut short
      {"%5", {3}},               // spec cut short after the width
      {"%*d", {"x", 3}},         // width from a non-integer
      {"%.*f", {1.5, 2.0}},      // precision from a non-integer
      {"%3:d", {1, 2}},          // index past the arguments
      {"%99999999999d", {1}},    // absurd width
      {"%:d", {1}},              // index without a number
  };
  for (const Case& C : Cases) {
    try {
      Format(C.Fmt, C.Args);
      ADD_FAILURE() << "no error for " << C.Fmt;
    } catch (const EConvertError& E) {
      EXPECT_EQ(E.GetMessage(), String("Format '") + C.Fmt + "' invalid or incompatible with argument");
    }
  }
}

TEST(IntToTextTest, DecimalAndHex) {
  struct Case {
    String Actual;
    const char* Expected;
  } Cases[] = {
      {IntToStr(0), "0"},
      {IntToStr(-17), "-17"},
      {IntToStr(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808"},
      {IntToHex(255, 4), "00FF"},
      {IntToHex(0xABCDEF, 2), "ABCDEF"},
      {IntToHex(0, 0), "0"},
      {IntToHex(0xFF8000FF, 8), "FF8000FF"},
      {IntToHex(-1, 4), "FFFFFFFFFFFFFFFF"},
  };
  for (const Case& C : Cases) EXPECT_EQ(C.Actual, C.Expected);
}
