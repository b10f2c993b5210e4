// The page number tool: its text, the enabled and disabled look of its two buttons, paging by
// pressing them, the hand cursor, the text offset and the box's growth, and its unit's start
// and end.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "tests/tools3/Tools3Fixture.h"
#include "zelgraph/canvas/Gradient.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/chart/Registries.h"
#include "zelgraph/tools/PageNumber.h"

namespace zel::testing {
namespace {

using TMB = TMouseButton;

constexpr TAlphaColor Enabled = 0xFF00AA00, Disabled = 0xFFAA0000;

class PageNumberTest : public Tools3Fixture {
 protected:
  void SetUp() override {
    Tools3Fixture::SetUp();
    Tool = Create<TPageNumTool>(nullptr);
    Chart->GetTools()->Add(Tool);
    Chart->GetPages()->SetMaxPointsPerPage(1);  // six points: six pages
    // Plain colours instead of the gradients, to tell the two looks apart.
    Tool->GetEnabledButton()->SetVisible(false);
    Tool->GetEnabledBrush()->SetColor(Enabled);
    Tool->GetDisabledButton()->SetVisible(false);
    Tool->GetDisabledBrush()->SetColor(Disabled);
    PaintRec();
  }
  // The middle of the left (or right) button, in whole pixels.
  TPointF ButtonCentre(bool Left) const {
    TPointF L[3], R[3];
    Tool->ButtonTriangles(Tool->GetShape()->ShapeBounds, L, R);
    const TPointF* T = Left ? L : R;
    return TPointF(std::floor((T[0].X + T[1].X + T[2].X) / 3), std::floor((T[0].Y + T[1].Y + T[2].Y) / 3));
  }
  // The colours of the two buttons at the last paint, left first.
  std::vector<TAlphaColor> ButtonColours() const {
    std::vector<TAlphaColor> C;
    for (const TCanvasRecord& R : Rec.RecordsOf(TRecordKind::FillPolygon))
      if (R.Points.size() == 3 && (R.Color == Enabled || R.Color == Disabled)) C.push_back(R.Color);
    return C;
  }

  TPageNumTool* Tool = nullptr;
};

TEST_F(PageNumberTest, TextAndButtonLookFollowThePage) {
  struct Case {
    int Page;
    const char* Text;
    TAlphaColor Left, Right;
  };
  const Case Cases[] = {{1, "Page 1 of 6", Disabled, Enabled},
                        {3, "Page 3 of 6", Enabled, Enabled},
                        {6, "Page 6 of 6", Enabled, Disabled}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Text);
    Chart->GetPages()->SetCurrent(C.Page);
    PaintRec();
    EXPECT_EQ(Tool->GetText(), C.Text);
    const std::vector<String> T = Rec.Texts();
    EXPECT_NE(std::find(T.begin(), T.end(), C.Text), T.end());
    EXPECT_EQ(ButtonColours(), (std::vector<TAlphaColor>{C.Left, C.Right}));
  }
  EXPECT_FALSE(Tool->IsFormatStored());
  Tool->SetFormat("%d/%d");
  EXPECT_EQ(Tool->GetText(), "6/6");
  EXPECT_TRUE(Tool->IsFormatStored());
}

TEST_F(PageNumberTest, PressingAButtonTurnsThePage) {
  Chart->GetPages()->SetCurrent(3);
  PaintRec();
  const TPointF L = ButtonCentre(true), R = ButtonCentre(false);
  Chart->MouseMove({}, L.X, L.Y);
  EXPECT_EQ(Chart->GetCursor(), crHandPoint);
  Chart->MouseDown(TMB::mbLeft, {}, L.X, L.Y);
  Chart->MouseUp(TMB::mbLeft, {}, L.X, L.Y);
  EXPECT_EQ(Chart->GetPages()->GetCurrent(), 2);
  Chart->MouseDown(TMB::mbLeft, {}, R.X, R.Y);
  Chart->MouseUp(TMB::mbLeft, {}, R.X, R.Y);
  Chart->MouseDown(TMB::mbLeft, {}, R.X, R.Y);
  Chart->MouseUp(TMB::mbLeft, {}, R.X, R.Y);
  EXPECT_EQ(Chart->GetPages()->GetCurrent(), 4);
  // Another button does not page.
  Chart->MouseDown(TMB::mbRight, {}, R.X, R.Y);
  Chart->MouseUp(TMB::mbRight, {}, R.X, R.Y);
  EXPECT_EQ(Chart->GetPages()->GetCurrent(), 4);

  // On the first page the left button shows no hand; a press on it changes nothing.
  Chart->GetPages()->SetCurrent(1);
  PaintRec();
  Chart->SetCursor(crDefault);
  const TPointF L1 = ButtonCentre(true);
  Chart->MouseMove({}, L1.X, L1.Y);
  EXPECT_NE(Chart->GetCursor(), crHandPoint);
  Chart->MouseDown(TMB::mbLeft, {}, L1.X, L1.Y);
  Chart->MouseUp(TMB::mbLeft, {}, L1.X, L1.Y);
  EXPECT_EQ(Chart->GetPages()->GetCurrent(), 1);
}

TEST_F(PageNumberTest, ButtonsOffsetTheTextAndWidenTheBox) {
  struct Case {
    TAlignment Align;
    int Offset;
  };
  for (const Case& C : {Case{TAlignment::taLeftJustify, 16}, Case{TAlignment::taRightJustify, -16},
                        Case{TAlignment::taCenter, 0}}) {
    Tool->SetTextAlignment(C.Align);
    EXPECT_EQ(Tool->GetXOffset(), C.Offset);
  }
  std::int32_t X = 0, Y = 0;
  const TRectF Bounds = Chart->GetChartBounds();
  const TRectF With = Tool->GetTextBounds(Chart, Bounds, X, Y);
  Tool->SetShowButtons(false);
  EXPECT_EQ(Tool->GetXOffset(), 0);
  const TRectF Without = Tool->GetTextBounds(Chart, Bounds, X, Y);
  EXPECT_FLOAT_EQ(With.Width() - Without.Width(), 32);  // 2 x 12 + 8
  EXPECT_FLOAT_EQ(With.Left, Without.Left);            // at the left top it grows to the right

  Tool->SetPosition(TAnnotationPosition::ppRightTop);
  const TRectF RightWithout = Tool->GetTextBounds(Chart, Bounds, X, Y);
  Tool->SetShowButtons(true);
  const TRectF RightWith = Tool->GetTextBounds(Chart, Bounds, X, Y);
  EXPECT_FLOAT_EQ(RightWith.Right, RightWithout.Right);  // at the right it grows to the left
  EXPECT_FLOAT_EQ(RightWithout.Left - RightWith.Left, 32);
}

TEST_F(PageNumberTest, AFormatThatCannotTakeTwoNumbersIsRefused) {
  Tool->SetFormat("%d of %d pages");
  for (const char* Bad : {"%s of %s", "page %d of %d of %d", "%f"}) {
    SCOPED_TRACE(Bad);
    EXPECT_THROW(Tool->SetFormat(Bad), EConvertError);
    EXPECT_EQ(Tool->GetFormat(), "%d of %d pages");
  }
  Chart->GetPages()->SetCurrent(2);
  EXPECT_EQ(Tool->GetText(), "2 of 6 pages");
}

TEST(PageNumberUnit, StartRegistersTheToolAndEndRemovesIt) {
  const bool WasThere = CheckZelToolTypes()->IndexOf(TPageNumTool::StaticClass()) >= 0;
  ZelPageNumberUnitStart();
  EXPECT_GE(CheckZelToolTypes()->IndexOf(TPageNumTool::StaticClass()), 0);
  EXPECT_EQ(ZelPageNumToolClass, TPageNumTool::StaticClass());
  ZelPageNumberUnitStart();  // a second start adds nothing
  ZelPageNumberUnitEnd();
  EXPECT_GE(CheckZelToolTypes()->IndexOf(TPageNumTool::StaticClass()), 0);
  ZelPageNumberUnitEnd();
  EXPECT_EQ(CheckZelToolTypes()->IndexOf(TPageNumTool::StaticClass()) >= 0, WasThere);
  if (!WasThere) {
    EXPECT_EQ(ZelPageNumToolClass, nullptr);
  }
}

}  // namespace
}  // namespace zel::testing
