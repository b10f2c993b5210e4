#include <gtest/gtest.h>

#include "platform/RecordingCanvas.h"

using namespace zel;

namespace {

TEST(RecordingCanvasTest, FixedTextMetrics) {
  TRecordingCanvas C;
  struct Case {
    const char* Text;
    float Width, Height;
  } Cases[] = {
      {"", 0, 0},           {"W", 7, 12},         {"Hello", 35, 12},
      {"ab\rcde", 21, 24},  {"ab\r\ncd\nx", 14, 36}, {"\xC3\xA9t\xC3\xA9", 21, 12},  // code points
  };
  for (const Case& K : Cases) {
    EXPECT_EQ(K.Width, C.TextWidth(K.Text)) << K.Text;
    EXPECT_EQ(K.Height, C.TextHeight(K.Text)) << K.Text;
  }
  auto L = TTextLayoutManager::TextLayoutByCanvas(&C);
  EXPECT_EQ(10, L->GetAscent());
}

TEST(RecordingCanvasTest, RecordsPrimitivesWithTheirState) {
  TRecordingCanvas C;
  C.GetStroke()->SetColor(TAlphaColors::Red);
  C.GetStroke()->SetThickness(2);
  C.GetFill()->SetColor(TAlphaColors::Blue);
  C.SetMatrix(TMatrix::CreateTranslation(5, 0));
  C.IntersectClipRect({0, 0, 10, 10});
  C.DrawLine({1, 2}, {3, 4}, 0.5f);
  C.FillRect({0, 0, 8, 9}, 2, 3, AllCorners, 1);
  TPolygon P{{0, 0}, {1, 1}, {2, 0}};
  C.DrawPolyline(P, 1);
  C.DrawPolylineUnreduced(P.data(), P.size(), 1);
  C.FillText({1, 1, 50, 20}, "abc", false, 1, {}, TTextAlign::Center, TTextAlign::Leading);

  const auto& R = C.GetRecords();
  ASSERT_EQ(5u, R.size());
  EXPECT_EQ(TRecordKind::DrawLine, R[0].Kind);
  EXPECT_EQ((std::vector<TPointF>{{1, 2}, {3, 4}}), R[0].Points);
  EXPECT_EQ(TAlphaColors::Red, R[0].Color);
  EXPECT_EQ(2, R[0].Thickness);
  EXPECT_EQ(0.5f, R[0].Opacity);
  EXPECT_EQ(TMatrix::CreateTranslation(5, 0), R[0].Matrix);
  EXPECT_TRUE(R[0].Clipped);
  EXPECT_EQ(TRectF(5, 0, 15, 10), R[0].ClipRect);  // in canvas pixels

  EXPECT_EQ(TAlphaColors::Blue, R[1].Color);
  EXPECT_EQ(TRectF(0, 0, 8, 9), R[1].Rect);
  EXPECT_EQ(3, R[1].YRadius);
  EXPECT_TRUE(R[2].Reduced);
  EXPECT_FALSE(R[3].Reduced);
  EXPECT_EQ(P, R[3].Points);
  EXPECT_EQ(TTextAlign::Center, R[4].HAlign);
  EXPECT_EQ(std::vector<String>{"abc"}, C.Texts());
  EXPECT_EQ("DejaVu Sans", R[4].FontFamily);
  EXPECT_EQ(1u, C.RecordsOf(TRecordKind::FillText).size());
  C.ClearRecords();
  EXPECT_TRUE(C.GetRecords().empty());
}

TEST(RecordingCanvasTest, LayoutRendersThroughFillText) {
  TRecordingCanvas C;
  TFixedTextLayout L(&C);
  L.SetTopLeft({4, 6});
  L.SetText("hi");
  L.SetColor(TAlphaColors::Green);
  EXPECT_EQ(TRectF(4, 6, 18, 18), L.GetTextRect());
  L.RenderLayout(&C);
  ASSERT_EQ(1u, C.GetRecords().size());
  EXPECT_EQ(TAlphaColors::Green, C.GetRecords()[0].Color);
  EXPECT_EQ("hi", C.GetRecords()[0].Text);
  EXPECT_EQ(TAlphaColors::White, C.GetFill()->GetColor());  // the canvas fill is restored
}

TEST(RecordingCanvasTest, LayoutAlignment) {
  TFixedTextLayout L;
  L.SetTopLeft({0, 0});
  L.SetMaxSize({100, 50});
  L.SetText("abcd");  // 28 x 12
  struct Case {
    TTextAlign H, V;
    TRectF Expected;
  } Cases[] = {
      {TTextAlign::Leading, TTextAlign::Leading, {0, 0, 28, 12}},
      {TTextAlign::Center, TTextAlign::Center, {36, 19, 64, 31}},
      {TTextAlign::Trailing, TTextAlign::Trailing, {72, 38, 100, 50}},
  };
  for (const Case& K : Cases) {
    L.SetHorizontalAlign(K.H);
    L.SetVerticalAlign(K.V);
    EXPECT_EQ(K.Expected, L.GetTextRect());
  }
  L.SetRightToLeft(true);  // leading is then the right side
  L.SetHorizontalAlign(TTextAlign::Leading);
  L.SetVerticalAlign(TTextAlign::Leading);
  L.SetMaxSize({100, 51});
  EXPECT_EQ(TRectF(72, 0, 100, 12), L.GetTextRect());
}

TEST(RecordingCanvasTest, LongWordKeepsALineOfItsOwn) {
  TFixedTextLayout L;
  L.SetMaxSize({30, 100});
  L.SetWordWrap(true);
  L.SetText("a verylongword b");
  ASSERT_EQ(3u, L.GetLines().size());
  EXPECT_EQ("verylongword", L.GetLines()[1].Text);
  EXPECT_EQ(36, L.GetTextHeight());
}

}  // namespace
