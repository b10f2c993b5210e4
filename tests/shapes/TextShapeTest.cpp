// Text shapes: margins, bounds from the text, line placement, clipping, repaint on change and
// custom positions.
#include <gtest/gtest.h>

#include "ShapeFixture.h"
#include "platform/Math.h"
#include "zelgraph/engine/TextShape.h"

namespace zel {
namespace {

TEST(Margins, CalculateByUnits) {
  struct Case {
    TMarginUnits Units;
    TRectF Want;
  } Cases[] = {
      {TMarginUnits::maPercentFont, {2, 4, 6, 8}},     // percent of a 20 pixel font
      {TMarginUnits::maPercentSize, {20, 20, 60, 40}}, // percent of 200 x 100
      {TMarginUnits::maPixels, {10, 20, 30, 40}},
  };
  for (const auto& C : Cases) {
    TMargins M(nullptr);
    M.SetLeft(10);
    M.SetTop(20);
    M.SetRight(30);
    M.SetBottom(40);
    M.SetUnits(C.Units);
    M.Calculate(200, 100, 20);
    // Single precision: 10 x 0.2f is a hair below 2.
    EXPECT_NEAR(M.ILast.Left, C.Want.Left, 1e-5) << int(C.Units);
    EXPECT_NEAR(M.ILast.Top, C.Want.Top, 1e-5) << int(C.Units);
    EXPECT_NEAR(M.ILast.Right, C.Want.Right, 1e-5) << int(C.Units);
    EXPECT_NEAR(M.ILast.Bottom, C.Want.Bottom, 1e-5) << int(C.Units);
    EXPECT_EQ(M.HorizSize(), Round(double(C.Want.Left) + C.Want.Right));
    EXPECT_EQ(M.VertSize(), Round(double(C.Want.Top) + C.Want.Bottom));
  }
}

TEST(Margins, StoredOnlyWhenDifferentFromDefaults) {
  TMargins M(nullptr);
  EXPECT_FALSE(M.IsLeftStored() || M.IsTopStored() || M.IsRightStored() || M.IsBottomStored());
  M.InitHoriz(20);
  EXPECT_FALSE(M.IsLeftStored());
  M.SetRight(10);
  EXPECT_TRUE(M.IsRightStored());
}

using TextShape = ShapeFixture;

TEST_F(TextShape, AutoSizeFromTextPenAndMargins) {
  // "Hello" is 35 x 12 with the fixed metrics.
  struct Case {
    bool Transparent;
    bool Pen;
    TZelShapeLayout Layout;
    TRectF Want;
  } Cases[] = {
      // opaque, pen of width 1: 37 x 14; margins are percents of the text block's 12 pixels:
      // 1.2 + 1.2 across (2, taken twice) and 0.6 + 0.6 down (1).
      {false, true, TZelShapeLayout::slTopBottom, {0, 0, 37 + 2 * 2, 14 + 1}},
      {false, false, TZelShapeLayout::slTopBottom, {0, 0, 35 + 2 * 2, 12 + 1}},
      // a transparent shape has no margins, whatever their values
      {true, true, TZelShapeLayout::slTopBottom, {0, 0, 35, 12}},
      {true, true, TZelShapeLayout::slLeftRight, {0, 0, 35, 12}},
  };
  for (const auto& C : Cases) {
    TOwned<TTextShape> S(Create<TTextShape>(Panel.get()));
    S->SetText("Hello");
    S->SetTransparent(C.Transparent);
    S->GetPen()->SetVisible(C.Pen);
    S->SetChildLayout(C.Layout);
    S->CalcBounds(Panel.get());
    EXPECT_EQ(S->ShapeBounds, C.Want) << C.Transparent << C.Pen << int(C.Layout);
    EXPECT_EQ(S->INumLines, 1);
  }
}

TEST_F(TextShape, EmptyTextAddsNothingButTheFrameIsDrawn) {
  TOwned<TTextShape> S(Create<TTextShape>(Panel.get()));
  S->ShapeBounds = TRectF(10, 10, 50, 30);
  S->CalcBounds(Panel.get());
  EXPECT_EQ(S->ShapeBounds, TRectF(10, 10, 10, 10));
  EXPECT_EQ(S->INumLines, 0);
  S->GetShadow()->SetSize(0);
  Rec.ClearRecords();
  S->Draw(TRectF(10, 10, 50, 30), 0, 0);
  EXPECT_FALSE(Records(TRecordKind::FillRect).empty());
  EXPECT_TRUE(Rec.Texts().empty());
}

TEST_F(TextShape, LinesAdvanceByThePlainLineHeightAlsoWhenEmpty) {
  TOwned<TTextShape> S(Create<TTextShape>(Panel.get()));
  S->SetTransparent(true);
  S->SetText("ab\r\rcd");
  S->CalcBounds(Panel.get());
  ASSERT_EQ(S->INumLines, 3);
  Rec.ClearRecords();
  S->Draw(TRectF(0, 100, 200, 150), 0, 0);
  const auto Texts = Records(TRecordKind::FillText);
  ASSERT_EQ(Texts.size(), 2u);
  EXPECT_EQ(Texts[0].Text, "ab");
  EXPECT_EQ(Texts[1].Text, "cd");
  EXPECT_FLOAT_EQ(Texts[1].Rect.Top - Texts[0].Rect.Top, 24) << "two plain lines of 12 pixels";
}

TEST_F(TextShape, TextAlignmentPlacesLinesInTheBox) {
  struct Case {
    TAlignment Align;
    float Left;  // of the drawn text
  } Cases[] = {{TAlignment::taLeftJustify, 100}, {TAlignment::taCenter, 150 - 17.5f}, {TAlignment::taRightJustify, 200 - 35}};
  for (const auto& C : Cases) {
    TOwned<TTextShape> S(Create<TTextShape>(Panel.get()));
    S->SetTransparent(true);  // no margins
    S->SetText("Hello");
    S->SetTextAlign(C.Align);
    S->CalcBounds(Panel.get());
    Rec.ClearRecords();
    S->Draw(TRectF(100, 10, 200, 30), 0, 0);
    const auto Texts = Records(TRecordKind::FillText);
    ASSERT_EQ(Texts.size(), 1u);
    EXPECT_NEAR(Texts[0].Rect.Left, C.Left, 0.5) << int(C.Align);
  }
}

TEST_F(TextShape, ClippingFollowsSizeAngleAndOffset) {
  struct Case {
    bool AutoSize;
    int Angle;
    int Offset;
    bool Clipped;
  } Cases[] = {
      {true, 0, 0, false}, {false, 0, 0, true}, {false, 30, 0, false}, {false, 30, 5, true}, {true, 0, 5, true},
  };
  for (const auto& C : Cases) {
    TOwned<TTextShape> S(Create<TTextShape>(Panel.get()));
    S->SetText("Hello");
    S->CalcBounds(Panel.get());
    S->SetAutoSize(C.AutoSize);
    S->ITextOffset = C.Offset;
    Rec.ClearRecords();
    S->Draw(TRectF(100, 10, 200, 30), C.Angle, 0);
    const auto Texts = Records(TRecordKind::FillText);
    ASSERT_EQ(Texts.size(), 1u);
    EXPECT_EQ(Texts[0].Clipped, C.Clipped) << C.AutoSize << " " << C.Angle << " " << C.Offset;
    // After drawing the clip is gone.
    Rec.ClearRecords();
    Canvas()->Rectangle(TRectF(0, 0, 5, 5));
    EXPECT_FALSE(Rec.GetRecords().back().Clipped);
  }
}

TEST_F(TextShape, SettingTheSameTextDoesNotRepaint) {
  TOwned<TTextShape> S(Create<TTextShape>(Panel.get()));
  S->SetText("a");
  Panel->Invalidates = 0;
  S->SetText("a");
  EXPECT_EQ(Panel->Invalidates, 0);
  S->SetText("b");
  EXPECT_EQ(Panel->Invalidates, 1);
}

TEST_F(TextShape, SetLeftTurnsCustomPositionOnEvenWithoutChange) {
  TOwned<TTextShape> S(Create<TTextShape>(Panel.get()));
  S->ShapeBounds = TRectF(10.4f, 20.6f, 50, 60);
  EXPECT_EQ(S->GetLeft(), 10);
  EXPECT_EQ(S->GetTop(), 21);
  S->SetLeft(S->GetLeft());
  EXPECT_TRUE(S->GetCustomPosition());
  EXPECT_TRUE(S->IsCustomPositionStored());
  S->SetTop(5);
  EXPECT_EQ(S->ShapeBounds.Top, 5);
}

TEST_F(TextShape, AssignCopiesTextSettingsAndPosition) {
  TOwned<TTextShape> A(Create<TTextShape>(Panel.get()));
  A->SetText("x\ry");
  A->SetTextAlign(TAlignment::taRightJustify);
  A->SetTextFormat(TTextFormat::ttfHtml);
  A->GetMargins()->SetLeft(33);
  A->ShapeBounds = TRectF(0, 0, 10, 10);
  A->SetLeft(40);
  A->SetTop(50);
  TOwned<TTextShape> B(Create<TTextShape>(nullptr));
  B->Assign(A.get());
  EXPECT_EQ(B->GetText(), "x\ry");
  EXPECT_EQ(B->GetTextAlign(), TAlignment::taRightJustify);
  EXPECT_EQ(B->GetTextFormat(), TTextFormat::ttfHtml);
  EXPECT_EQ(B->GetMargins()->GetLeft(), 33);
  EXPECT_TRUE(B->GetCustomPosition());
  EXPECT_EQ(B->GetLeft(), 40);
  EXPECT_EQ(B->GetTop(), 50);
}

TEST_F(TextShape, ChildrenStartAfterTheText) {
  TOwned<TTextShape> S(Create<TTextShape>(Panel.get()));
  S->SetTransparent(true);
  S->SetText("Hello\rWorld");
  S->ShapeBounds = TRectF(10, 20, 10, 20);
  S->CalcBounds(Panel.get());
  EXPECT_EQ(S->FirstChildPos(), 20 + 2 * 12);
  S->SetChildLayout(TZelShapeLayout::slLeftRight);
  EXPECT_EQ(S->FirstChildPos(), 10 + 35);
}

}  // namespace
}  // namespace zel
