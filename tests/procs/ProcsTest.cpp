#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>

#include "platform/Exceptions.h"
#include "platform/Services.h"
#include "zelgraph/procs/Procs.h"

using namespace zel;

namespace {

// Puts the built-in palette back after a test changes it.
class PaletteTest : public ::testing::Test {
 protected:
  void TearDown() override { SetDefaultColorPalette(); }
};

}  // namespace

TEST_F(PaletteTest, DefaultColorCyclesThePalette) {
  const struct {
    int Index;
    TAlphaColor Expected;
  } Cases[] = {
      {0, 0xFFFF0000},  {15, 0xFF000000}, {19, 0xFFA0A0A0},       {20, 0xFFFF0000},
      {41, 0xFF008000}, {-1, 0xFFA0A0A0}, {-20, 0xFFFF0000},      {-21, 0xFFA0A0A0},
      {INT_MIN, 0xFF800080},  // INT_MIN mod 20 = -8 -> entry 12
      {INT_MAX, 0xFF008080},  // INT_MAX mod 20 = 7
  };
  for (const auto& C : Cases) EXPECT_EQ(GetDefaultColor(C.Index), C.Expected) << C.Index;
}

TEST_F(PaletteTest, CustomPaletteAndItsErrors) {
  const TAlphaColor Two[] = {0xFF112233, 0xFF445566, 0xFF778899};
  SetDefaultColorPalette(Two, 1);
  ASSERT_EQ(ZelColorPalette.size(), 2u);
  EXPECT_EQ(GetDefaultColor(2), 0xFF112233u);
  EXPECT_EQ(GetDefaultColor(-1), 0xFF445566u);

  for (int Bad : {3, 100, -2}) {
    EXPECT_THROW(SetDefaultColorPalette(Two, Bad), ERangeError) << Bad;
    EXPECT_EQ(ZelColorPalette.size(), 2u) << "a failed change keeps the palette";
  }

  SetDefaultColorPalette(Two, -1);
  EXPECT_EQ(ZelColorPalette, std::vector<TAlphaColor>(std::begin(DefaultPalette), std::end(DefaultPalette)));
}

TEST_F(PaletteTest, EmptyPaletteCyclesTheBuiltInOne) {
  ZelColorPalette.clear();
  EXPECT_EQ(GetDefaultColor(1), DefaultPalette[1]);
  EXPECT_EQ(GetDefaultColor(-1), DefaultPalette[19]);
}

TEST(ProcsTest, NumFieldsAndExtractField) {
  const struct {
    const char* Text;
    const char* Sep;  // nullptr: the global separator
    int Count;
    std::vector<String> Fields;  // fields 1..; one more index gives empty
  } Cases[] = {
      {"a;b;c", nullptr, 3, {"a", "b", "c"}},
      {"a;b;", nullptr, 2, {"a", "b", ""}},
      {"", nullptr, 0, {}},
      {";", nullptr, 1, {"", ""}},
      {";;x", nullptr, 3, {"", "", "x"}},
      {"abc", nullptr, 1, {"abc"}},
      {"a||b|c", "||", 2, {"a", "b|c"}},
      {"a,b", ",", 2, {"a", "b"}},
      {"a;b", ",", 1, {"a;b"}},
      {"a;b", "", 1, {"a;b"}},  // no separator: one field
  };
  for (const auto& C : Cases) {
    const String Text = C.Text;
    const int Count = C.Sep ? ZelNumFields(Text, C.Sep) : ZelNumFields(Text);
    EXPECT_EQ(Count, C.Count) << Text;
    auto Field = [&](int I) { return C.Sep ? ZelExtractField(Text, I, C.Sep) : ZelExtractField(Text, I); };
    for (std::size_t I = 0; I < C.Fields.size(); ++I) EXPECT_EQ(Field(int(I) + 1), C.Fields[I]) << Text << " #" << I + 1;
    EXPECT_EQ(Field(int(C.Fields.size()) + 1), "") << Text;
    EXPECT_EQ(Field(0), "") << Text;
    EXPECT_EQ(Field(-5), "") << Text;
    EXPECT_EQ(Field(INT_MAX), "") << Text;
  }
  EXPECT_EQ(ZelFieldsSeparator, ";");
}

TEST(ProcsTest, ReplaceChar) {
  const struct {
    const char* Text;
    char Old, New;
    const char* Expected;
  } Cases[] = {
      {"a.b.c", '.', ',', "a,b,c"},
      {"a.b.c", '.', '\0', "abc"},
      {"...", '.', '\0', ""},
      {"abc", 'x', 'y', "abc"},
      {"", 'a', 'b', ""},
  };
  for (const auto& C : Cases) EXPECT_EQ(ReplaceChar(C.Text, C.Old, C.New), C.Expected) << C.Text;
}

TEST(ProcsTest, RectFromCenter) {
  EXPECT_EQ(RectFromCenter(TPointF(10, 10), 3, 0), TRectF(7, 7, 13, 13));
  EXPECT_EQ(RectFromCenter(TPointF(10, 10), 3, 2), TRectF(7, 8, 13, 12));
  EXPECT_EQ(RectFromCenter(-1, 2, 0.5f, 0), TRectF(-1.5f, 1.5f, -0.5f, 2.5f));
}

TEST(ProcsTest, PointInLine) {
  const struct {
    TPointF P;
    float X0, Y0, X1, Y1, Tolerance;
    bool Expected;
  } Cases[] = {
      {{0, 0}, 0, 0, 10, 0, -5, true},       // an end point, whatever the tolerance
      {{10, 0}, 0, 0, 10, 0, -5, true},
      {{5, 1}, 0, 0, 10, 0, 0, true},        // one pixel off counts as on the line
      {{5, 1.01f}, 0, 0, 10, 0, 0, false},
      {{5, -3}, 0, 0, 10, 0, 2, true},
      {{-1, 0.5f}, 0, 0, 10, 0, 0, false},   // before the start: distance to the start
      {{11, 0}, 0, 0, 10, 0, 0, true},
      {{12, 0}, 0, 0, 10, 0, 0, false},      // past the end, though on the infinite line
      {{3, 3}, 0, 0, 6, 6, 0, true},         // diagonal
      {{4, 2}, 0, 0, 6, 6, 0, false},        // sqrt(2) away
      {{4, 2}, 0, 0, 6, 6, 1, true},
      {{5, 5}, 5, 4, 5, 4, 0, true},         // degenerate segment: distance to its point
      {{5, 6}, 5, 4, 5, 4, 0, false},
  };
  for (const auto& C : Cases)
    EXPECT_EQ(PointInLine(C.P, C.X0, C.Y0, C.X1, C.Y1, C.Tolerance), C.Expected)
        << C.P.X << "," << C.P.Y;
  EXPECT_TRUE(PointInLine(TPointF(5, 2), TPointF(0, 0), TPointF(10, 0), 1));
  EXPECT_FALSE(PointInLine(TPointF(5, 2.5f), TPointF(0, 0), TPointF(10, 0), 1));
}

TEST(ProcsTest, PointInPolygon) {
  // A U shape: the notch between x 4 and 6 above y 4 is outside.
  const std::vector<TPointF> U = {{0, 0}, {4, 0}, {4, 4}, {6, 4}, {6, 0}, {10, 0}, {10, 10}, {0, 10}};
  const int High = int(U.size()) - 1;
  const struct {
    TPointF P;
    bool Expected;
  } Cases[] = {
      {{2, 2}, true}, {{8, 2}, true}, {{5, 2}, false}, {{5, 6}, true},
      {{-1, 5}, false}, {{11, 5}, false}, {{5, 11}, false},
  };
  for (const auto& C : Cases) EXPECT_EQ(PointInPolygon(C.P, U, High), C.Expected) << C.P.X << "," << C.P.Y;

  EXPECT_FALSE(PointInPolygon(TPointF(2, 2), U, -1));
  EXPECT_FALSE(PointInPolygon(TPointF(2, 2), {}, -1));
  EXPECT_THROW(PointInPolygon(TPointF(2, 2), U, High + 1), ERangeError);
  // Only the first three points: the triangle (0,0) (4,0) (4,4).
  EXPECT_TRUE(PointInPolygon(TPointF(3, 1), U, 2));
  EXPECT_FALSE(PointInPolygon(TPointF(1, 3), U, 2));
}

TEST(ProcsTest, Triangles) {
  // Standing on the base y = 10 from x 0 to 10, apex (5, 0).
  EXPECT_TRUE(PointInTriangle(TPointF(5, 5), 0, 10, 10, 0));
  EXPECT_TRUE(PointInTriangle(TPointF(5, 1), 0, 10, 10, 0));
  EXPECT_FALSE(PointInTriangle(TPointF(1, 1), 0, 10, 10, 0));
  EXPECT_FALSE(PointInTriangle(TPointF(5, 11), 0, 10, 10, 0));
  // Lying on the base x = 0 from y 0 to 10, apex (10, 5).
  EXPECT_TRUE(PointInHorizTriangle(TPointF(5, 5), 0, 10, 0, 10));
  EXPECT_TRUE(PointInHorizTriangle(TPointF(9, 5), 0, 10, 0, 10));
  EXPECT_FALSE(PointInHorizTriangle(TPointF(9, 1), 0, 10, 0, 10));
  EXPECT_FALSE(PointInHorizTriangle(TPointF(-1, 5), 0, 10, 0, 10));
}

TEST(ProcsTest, PointInEllipse) {
  const TRectF R(0, 0, 20, 10);  // centre (10, 5), semi-axes 10 and 5
  const struct {
    TPointF P;
    bool Expected;
  } Cases[] = {
      {{10, 5}, true}, {{0, 5}, true}, {{20, 5}, true}, {{10, 0}, true},
      {{1, 1}, false}, {{19, 9}, false}, {{10, 10.1f}, false},
  };
  for (const auto& C : Cases) EXPECT_EQ(PointInEllipse(C.P, R), C.Expected) << C.P.X << "," << C.P.Y;
  EXPECT_FALSE(PointInEllipse(TPointF(5, 5), 0, 5, 10, 5));  // no height
  EXPECT_FALSE(PointInEllipse(TPointF(5, 5), 5, 0, 5, 10));  // no width
  EXPECT_TRUE(PointInEllipse(TPointF(10, 5), 20, 10, 0, 0));  // corners given swapped
}

namespace {

// Sorts Data[Left..Right] through the callbacks and records any index outside that range.
struct TSortRun {
  std::vector<int> Data;
  bool OutOfRange = false;
  void Sort(int Left, int Right, TZelSortCompare Compare = nullptr) {
    auto InRange = [&](int I) {
      if (I < Left || I > Right) OutOfRange = true;
      return I >= 0 && I < int(Data.size());
    };
    if (!Compare)
      Compare = [&](int A, int B) {
        if (!InRange(A) || !InRange(B)) return 0;
        return Data[A] < Data[B] ? -1 : Data[A] > Data[B] ? 1 : 0;
      };
    else {
      TZelSortCompare Inner = Compare;
      Compare = [&, Inner](int A, int B) { return InRange(A) && InRange(B) ? Inner(A, B) : 0; };
    }
    ZelSort(Left, Right, Compare, [&](int A, int B) {
      if (InRange(A) && InRange(B)) std::swap(Data[A], Data[B]);
    });
  }
};

}  // namespace

TEST(ProcsTest, SortOrdersEveryShapeOfInput) {
  std::mt19937 Rng(7);
  auto Random = [&](int N, int Range) {
    std::vector<int> V(N);
    for (int& X : V) X = int(Rng() % unsigned(Range));
    return V;
  };
  std::vector<int> Reversed(200), OrganPipe(201);
  for (int I = 0; I < 200; ++I) Reversed[I] = 200 - I;
  for (int I = 0; I <= 200; ++I) OrganPipe[I] = I <= 100 ? I : 200 - I;
  const std::vector<std::vector<int>> Inputs = {
      {}, {1}, {2, 1}, {1, 2}, {3, 1, 2}, {5, 5, 5, 5, 5}, Reversed, OrganPipe,
      Random(1000, 1000000), Random(1000, 3), Random(257, 50),
  };
  for (const auto& In : Inputs) {
    TSortRun Run{In};
    Run.Sort(0, int(In.size()) - 1);
    auto Expected = In;
    std::sort(Expected.begin(), Expected.end());
    EXPECT_EQ(Run.Data, Expected) << "size " << In.size();
    EXPECT_FALSE(Run.OutOfRange);
  }
}

// Inputs a middle-pivot quick sort splits badly (organ pipes, few distinct values) cost N log N
// comparisons too: ten times the items take about ten times the comparisons, not a hundred.
TEST(ProcsTest, SortGrowsAsNLogNOnInputsThatSplitBadly) {
  const struct {
    const char* Name;
    int (*Value)(int I, int N);
  } Shapes[] = {
      {"organ pipe", [](int I, int N) { return I < N / 2 ? I : N - I; }},
      {"seven values", [](int I, int) { return I % 7; }},
      {"two runs", [](int I, int N) { return I < N / 2 ? 2 * I : 2 * (I - N / 2) + 1; }},
  };
  for (const auto& Shape : Shapes) {
    long long Calls[2] = {0, 0};
    const int Sizes[2] = {4000, 40000};
    for (int K = 0; K < 2; ++K) {
      std::vector<int> Data(static_cast<std::size_t>(Sizes[K]));
      for (int I = 0; I < Sizes[K]; ++I) Data[static_cast<std::size_t>(I)] = Shape.Value(I, Sizes[K]);
      ZelSort(
          0, Sizes[K] - 1,
          [&](int A, int B) {
            ++Calls[K];
            return Data[A] < Data[B] ? -1 : Data[A] > Data[B] ? 1 : 0;
          },
          [&](int A, int B) { std::swap(Data[A], Data[B]); });
      EXPECT_TRUE(std::is_sorted(Data.begin(), Data.end())) << Shape.Name;
    }
    EXPECT_LE(Calls[1], 15 * Calls[0]) << Shape.Name << ": " << Calls[0] << " then " << Calls[1];
  }
}

TEST(ProcsTest, SortTouchesOnlyItsRange) {
  TSortRun Run{{9, 8, 7, 6, 5, 4, 3, 2, 1, 0}};
  Run.Sort(2, 6);
  EXPECT_EQ(Run.Data, (std::vector<int>{9, 8, 3, 4, 5, 6, 7, 2, 1, 0}));
  EXPECT_FALSE(Run.OutOfRange);
  Run.Sort(5, 2);  // an empty range does nothing
  EXPECT_EQ(Run.Data, (std::vector<int>{9, 8, 3, 4, 5, 6, 7, 2, 1, 0}));
}

// A comparer that contradicts itself may leave any order, but the sort ends and never hands
// out an index outside the range.
TEST(ProcsTest, SortSurvivesAnInconsistentCompare) {
  std::mt19937 Rng(11);
  const struct {
    const char* Name;
    TZelSortCompare Compare;
  } Cases[] = {
      {"always less", [](int, int) { return -1; }},
      {"always greater", [](int, int) { return 1; }},
      {"random", [&](int, int) { return int(Rng() % 3) - 1; }},
  };
  for (const auto& C : Cases) {
    TSortRun Run{std::vector<int>(500, 0)};
    Run.Sort(10, 400, C.Compare);
    EXPECT_FALSE(Run.OutOfRange) << C.Name;
  }
}

namespace {
struct TFakeTimer : ITimerService {
  double Tick = 0;
  double GetTick() override { return Tick; }
};
}  // namespace

TEST(ProcsTest, TickCountIsMillisecondsAtFullPrecision) {
  TFakeTimer Timer;
  Timer.Tick = 123456.7891;  // seconds: a float would lose the milliseconds
  ITimerService* Old = TPlatformServices::Current().SetTimerService(&Timer);
  const double Ms = ZelTickCount();
  TPlatformServices::Current().SetTimerService(nullptr);
  const double Missing = ZelTickCount();
  TPlatformServices::Current().SetTimerService(Old);
  EXPECT_NEAR(Ms, 123456789.1, 1e-3);
  EXPECT_EQ(Missing, 0);
}

TEST(ProcsTest, UnitEndReleasesAndStartRestores) {
  ZelDefaultCanvas = "Something";
  ZelProcsUnitEnd();
  EXPECT_TRUE(ZelColorPalette.empty());
  EXPECT_TRUE(ZelDefaultCanvas.empty());
  EXPECT_TRUE(ZelFieldsSeparator.empty());
  // Nothing reads out of range or loops while the unit is down.
  EXPECT_EQ(GetDefaultColor(3), DefaultPalette[3]);
  EXPECT_EQ(ZelNumFields("a;b"), 1);
  EXPECT_EQ(ZelExtractField("a;b", 1), "a;b");

  ZelProcsUnitStart();
  EXPECT_EQ(ZelFieldsSeparator, ";");
  EXPECT_EQ(ZelColorPalette.size(), 20u);
  EXPECT_EQ(ZelNumFields("a;b"), 2);
}
