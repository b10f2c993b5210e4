// Run-time functions: text to numbers, string helpers, message hook.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/Dialogs.h"
#include "platform/SysUtils.h"

using namespace zel;

TEST(StrToFloatTest, AcceptedTexts) {
  struct Case {
    const char* Text;
    double Expected;
  } Cases[] = {
      {"0", 0},
      {"1.5", 1.5},
      {"-1.5", -1.5},
      {"+2", 2},
      {"  3.25\t", 3.25},
      {".5", 0.5},
      {"5.", 5},
      {"1e3", 1000},
      {"1.5E-3", 0.0015},
      {"-2e+2", -200},
      {"007", 7},
      {"123456789.123456789", 123456789.123456789},
      {"1e-400", 0},  // below the smallest double: zero, as the classic reader gives
      {"1.7976931348623157e308", std::numeric_limits<double>::max()},
  };
  for (const Case& C : Cases) {
    double V = -99;
    EXPECT_TRUE(TryStrToFloat(C.Text, V)) << C.Text;
    EXPECT_EQ(V, C.Expected) << C.Text;
    EXPECT_EQ(StrToFloat(C.Text), C.Expected) << C.Text;
  }
  EXPECT_TRUE(std::signbit(StrToFloat("-1e-400")));  // a negative value too small keeps its sign
}

TEST(StrToFloatTest, RejectedTextsNameTheTextAsGiven) {
  const char* Texts[] = {"",   "  ",     "1,5",  "1.5.2", "inf",     "-INF",   "nan",  "infinity", "0x10",
                         "1e", "1e+",    "e5",   "-",     "+",       ".",      "1 2",  "1.5x",     "--1",
                         "$5", "1e400",  "1E99999999999999999999",   "1,000.5", "\xC2\xA0" "1"};
  for (const char* T : Texts) {
    double V = 42;
    EXPECT_FALSE(TryStrToFloat(T, V)) << T;
    EXPECT_EQ(V, 42) << "left unchanged for " << T;
    try {
      StrToFloat(T);
      ADD_FAILURE() << "no error for " << T;
    } catch (const EConvertError& E) {
      EXPECT_EQ(E.GetMessage(), String("'") + T + "' is not a valid floating point value");
    }
  }
  EXPECT_EQ(StrToFloatDef("x", 2.5), 2.5);
}

TEST(StrToFloatTest, UsesTheSettingsDecimalSeparator) {
  TFormatSettings FS;
  FS.DecimalSeparator = ',';
  struct Case {
    const char* Text;
    bool Ok;
    double Expected;
  } Cases[] = {
      {"1,5", true, 1.5},
      {"-0,25e1", true, -2.5},
      {"1.5", false, 0},
      {"1,5,0", false, 0},
  };
  for (const Case& C : Cases) {
    double V = 0;
    EXPECT_EQ(TryStrToFloat(C.Text, V, FS), C.Ok) << C.Text;
    if (C.Ok) {
      EXPECT_EQ(V, C.Expected) << C.Text;
    }
  }
  EXPECT_THROW(StrToFloat("1.5", FS), EConvertError);
  // Texts longer than the reader's stack buffer keep the separator's rules.
  EXPECT_EQ(StrToFloat("0," + String(300, '0') + "15e300", FS), 0.15);
  EXPECT_THROW(StrToFloat(String(200, '1') + ".5", FS), EConvertError);
  EXPECT_THROW(StrToFloat(String(200, '1') + ",5,", FS), EConvertError);
}

TEST(StrToFloatTest, ReadsPiecesOfLongerTexts) {
  const TFormatSettings FS;
  const std::string_view Line = "12.5;-3e2; 7 ;x";
  struct Case {
    std::string_view Piece;
    bool Ok;
    double Expected;
  } Cases[] = {
      {Line.substr(0, 4), true, 12.5},
      {Line.substr(5, 4), true, -300},
      {Line.substr(10, 3), true, 7},
      {Line.substr(14, 1), false, 0},
      {Line.substr(0, 0), false, 0},
      {Line.substr(0, 6), false, 0},  // runs into the next field
  };
  for (const Case& C : Cases) {
    double V = 0;
    EXPECT_EQ(TextToFloat(C.Piece, V, FS), C.Ok) << C.Piece;
    if (C.Ok) {
      EXPECT_EQ(V, C.Expected) << C.Piece;
    }
  }
  // Texts longer than the reader's stack buffer.
  const String Long = "  0." + String(300, '0') + "15e300  ";
  EXPECT_EQ(StrToFloat(Long), 0.15);
  EXPECT_EQ(StrToFloat(String(400, '0') + "2"), 2);
  EXPECT_THROW(StrToFloat(String(200, '1') + "x"), EConvertError);
}

TEST(StrToIntTest, ValuesAndErrors) {
  struct Case {
    const char* Text;
    bool Ok;
    std::int32_t Expected;
  } Cases[] = {
      {"0", true, 0},
      {"42", true, 42},
      {"-42", true, -42},
      {"+7", true, 7},
      {" 12 ", true, 12},
      {"2147483647", true, 2147483647},
      {"-2147483648", true, -2147483647 - 1},
      {"$FF", true, 255},
      {"0x1f", true, 31},
      {"0XA", true, 10},
      {"-$10", true, -16},
      {"$FFFFFFFF", true, -1},
      {"2147483648", false, 0},
      {"-2147483649", false, 0},
      {"$100000000", false, 0},
      {"99999999999999999999999", false, 0},
      {"", false, 0},
      {"-", false, 0},
      {"$", false, 0},
      {"0x", false, 0},
      {"1.0", false, 0},
      {"12a", false, 0},
      {"1 2", false, 0},
      {"$G1", false, 0},
  };
  for (const Case& C : Cases) {
    std::int32_t V = 0;
    EXPECT_EQ(TryStrToInt(C.Text, V), C.Ok) << C.Text;
    if (C.Ok) {
      EXPECT_EQ(V, C.Expected) << C.Text;
      EXPECT_EQ(StrToInt(C.Text), C.Expected) << C.Text;
    } else {
      EXPECT_EQ(StrToIntDef(C.Text, -5), -5) << C.Text;
      try {
        StrToInt(C.Text);
        ADD_FAILURE() << "no error for " << C.Text;
      } catch (const EConvertError& E) {
        EXPECT_EQ(E.GetMessage(), String("'") + C.Text + "' is not a valid integer value");
      }
    }
  }
}

TEST(StrToIntTest, SixtyFourBits) {
  struct Case {
    const char* Text;
    bool Ok;
    std::int64_t Expected;
  } Cases[] = {
      {"9223372036854775807", true, std::numeric_limits<std::int64_t>::max()},
      {"-9223372036854775808", true, std::numeric_limits<std::int64_t>::min()},
      {"2147483648", true, 2147483648LL},
      {"$FFFFFFFFFFFFFFFF", true, -1},
      {"9223372036854775808", false, 0},
      {"$10000000000000000", false, 0},
  };
  for (const Case& C : Cases) {
    std::int64_t V = 0;
    EXPECT_EQ(TryStrToInt64(C.Text, V), C.Ok) << C.Text;
    if (C.Ok) {
      EXPECT_EQ(StrToInt64(C.Text), C.Expected) << C.Text;
    }
  }
  EXPECT_THROW(StrToInt64("x"), EConvertError);
}

TEST(StringsTest, TrimAndCase) {
  struct Case {
    String Actual;
    const char* Expected;
  } Cases[] = {
      {Trim(" \t a b \r\n"), "a b"},
      {Trim(""), ""},
      {Trim("   "), ""},
      {Trim("\x01x\x1F"), "x"},
      {Trim("\xC2\xA0x"), "\xC2\xA0x"},  // bytes of non-ASCII characters are not blanks
      {TrimLeft("  a  "), "a  "},
      {TrimRight("  a  "), "  a"},
      {UpperCase("abc-XYZ \xC3\xA9"), "ABC-XYZ \xC3\xA9"},
      {LowerCase("ABC-xyz \xC3\x89"), "abc-xyz \xC3\x89"},
      {AnsiUpperCase("stra\xC3\x9F" "e \xC3\xA9t\xC3\xA9"), "STRASSE \xC3\x89T\xC3\x89"},
      {AnsiLowerCase("\xC3\x89T\xC3\x89 \xCE\xA3"), "\xC3\xA9t\xC3\xA9 \xCF\x83"},
      {AnsiUpperCase("ab\xFF" "c"), "AB\xFF" "C"},  // invalid UTF-8 keeps its bytes
      {AnsiLowerCase("\xC3"), "\xC3"},
  };
  for (const Case& C : Cases) EXPECT_EQ(C.Actual, C.Expected);
}

TEST(StringsTest, Comparisons) {
  struct Case {
    const char* A;
    const char* B;
    int Sign;
  } Cases[] = {
      {"abc", "ABC", 0}, {"", "", 0},      {"a", "b", -1},   {"B", "a", 1},
      {"ab", "abc", -1}, {"abc", "ab", 1}, {"a_", "A_", 0}, {"[", "a", 1},  // compared as upper case: '[' is after 'A'
  };
  for (const Case& C : Cases) {
    int R = CompareText(C.A, C.B);
    EXPECT_EQ((R > 0) - (R < 0), C.Sign) << C.A << " vs " << C.B;
    EXPECT_EQ(SameText(C.A, C.B), C.Sign == 0) << C.A << " vs " << C.B;
  }
}

TEST(StringsTest, SplitReplacePosCount) {
  using V = std::vector<String>;
  struct SplitCase {
    const char* Text;
    const char* Delims;
    V Expected;
  } Splits[] = {
      {"", ";", {}},
      {"a", ";", {"a"}},
      {"a;;b", ";", {"a", "", "b"}},
      {";", ";", {"", ""}},
      {"a;b,c", ";,", {"a", "b", "c"}},
      {"a;b", "", {"a;b"}},
  };
  for (const SplitCase& C : Splits) EXPECT_EQ(SplitString(C.Text, C.Delims), C.Expected) << C.Text;

  struct Case {
    String Actual;
    String Expected;
  } Cases[] = {
      {StringReplaceAll("a.b.c", ".", "::"), "a::b::c"},
      {StringReplaceAll("aaa", "aa", "a"), "aa"},
      {StringReplaceAll("abc", "", "x"), "abc"},
      {StringReplaceAll("abc", "b", "bb"), "abbc"},
      {StringReplaceAll("", "a", "b"), ""},
  };
  for (const Case& C : Cases) EXPECT_EQ(C.Actual, C.Expected);

  EXPECT_EQ(Pos("b", "abcb"), 2);
  EXPECT_EQ(Pos("x", "abc"), 0);
  EXPECT_EQ(Pos("", "abc"), 0);
  EXPECT_EQ(Pos("abcd", "abc"), 0);
  EXPECT_EQ(CodePointCount(""), 0);
  EXPECT_EQ(CodePointCount("abc"), 3);
  EXPECT_EQ(CodePointCount("\xC3\xA9t\xE2\x82\xAC\xF0\x9F\x98\x80"), 4);
}

TEST(ShowMessageTest, HookReplacesAndRestores) {
  std::vector<String> Shown;
  TShowMessageHook Previous = SetShowMessageHook([&](const String& M) { Shown.push_back(M); });
  ShowMessage("hello");
  ShowMessageFmt("%d items", {3});
  // A hook may replace itself while it runs.
  SetShowMessageHook([&](const String& M) {
    Shown.push_back("outer " + M);
    SetShowMessageHook([&](const String& N) { Shown.push_back("inner " + N); });
  });
  ShowMessage("a");
  ShowMessage("b");
  EXPECT_EQ(Shown, (std::vector<String>{"hello", "3 items", "outer a", "inner b"}));
  EXPECT_TRUE(bool(SetShowMessageHook(Previous)));
  // An empty hook brings back the default, which must not be empty.
  SetShowMessageHook(nullptr);
  EXPECT_TRUE(bool(SetShowMessageHook(Previous)));
}
