// Pens of the axis and the depth flag of the grid that only streams when it matters.
#include <gtest/gtest.h>

#include <vector>

#include "platform/Filer.h"
#include "platform/Streams.h"
#include "zelgraph/engine/Axis.h"

namespace zel {
namespace {

// Writes Pen's named stream properties, then reads them into Into; returns the byte count.
Int64 RoundTrip(TAxisGridPen& Pen, TAxisGridPen& Into) {
  TMemoryStream S;
  {
    TWriter W(&S);
    W.WriteProperties(&Pen);
    W.WriteListEnd();
  }
  const Int64 Size = S.GetSize();
  S.SetPosition(0);
  TReader R(&S);
  R.ReadProperties(&Into);
  R.ReadListEnd();
  return Size;
}

TEST(AxisPens, GridDepthZeroIsStoredOnlyAgainstANonZeroDefault) {
  struct TCase {
    double Default, Z;
    bool Written;
    double Read;
  };
  // A depth that differs from the default travels as ZPosition; 0 against a non-zero default also
  // as "ZZero".
  const TCase Cases[] = {{100, 0, true, 0}, {100, 50, true, 50}, {0, 0, false, 77}};
  for (const TCase& C : Cases) {
    TAxisGridPen Pen, Into;
    Pen.IDefaultZ = C.Default;
    Pen.SetZPosition(C.Z);
    Into.IDefaultZ = C.Default;
    Into.SetZPosition(77);
    const Int64 Bytes = RoundTrip(Pen, Into);
    // a stream with nothing but the list end is one byte long
    EXPECT_EQ(Bytes > 1, C.Written) << C.Default << " " << C.Z;
    EXPECT_EQ(Into.GetZPosition(), C.Read);
  }
}

TEST(AxisPens, DefaultsAndChangeNotification) {
  int Changes = 0;
  TNotifyEvent Count = [&](TObject*) { ++Changes; };
  TChartAxisPen Axis(Count);
  EXPECT_EQ(Axis.GetWidth(), 2);
  EXPECT_EQ(Axis.GetEndStyle(), TPenEndStyle::esFlat);
  EXPECT_FALSE(Axis.IsWidthStored());
  Axis.SetLineMode(TPenLineMode::lmCylinder);
  Axis.SetLineMode(TPenLineMode::lmCylinder);
  EXPECT_EQ(Changes, 1);

  TAxisGridPen Grid(Count);
  EXPECT_EQ(Grid.GetColor(), 0xFFC0C0C0u);
  Grid.SetDrawEvery(2);
  Grid.SetCentered(true);
  Grid.SetCentered(true);
  EXPECT_EQ(Changes, 3);

  TAxisGridPen Copy;
  Copy.Assign(&Grid);
  EXPECT_EQ(Copy.GetDrawEvery(), 2);
  EXPECT_TRUE(Copy.GetCentered());

  TTicks Ticks;
  EXPECT_EQ(Ticks.GetColor(), 0xFFA9A9A9u);
}

}  // namespace
}  // namespace zel
