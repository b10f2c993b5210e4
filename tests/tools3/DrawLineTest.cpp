// The draw-line tool driven through the chart's mouse handling: drawing new items, selecting
// (and refusing a selection), dragging a handle or the whole item, the hit test of each style,
// the switches, deleting and copying items, and what a paint draws.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/tools3/Tools3Fixture.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/tools/DrawLine.h"

namespace zel::testing {
namespace {

using TMB = TMouseButton;

class DrawLineTest : public Tools3Fixture {
 protected:
  void SetUp() override {
    Tools3Fixture::SetUp();
    Tool = Create<TDrawLineTool>(nullptr);
    Chart->GetTools()->Add(Tool);
    Tool->OnNewLine = [this](TObject* Sender) {
      ++NewLines;
      NewLineSender = Sender;
    };
  }
  void DragMouse(TPointF From, TPointF To, TMB Button = TMB::mbLeft) {
    Chart->MouseDown(Button, {}, From.X, From.Y);
    if (From.X != To.X || From.Y != To.Y) Chart->MouseMove({}, To.X, To.Y);
    Chart->MouseUp(Button, {}, To.X, To.Y);
  }
  void Click(TPointF P) { DragMouse(P, P); }
  TFloatPoint ValueOf(TPointF P) const {
    return {static_cast<float>(Chart->GetBottomAxis()->CalcPosPoint(static_cast<int>(P.X))),
            static_cast<float>(Chart->GetLeftAxis()->CalcPosPoint(static_cast<int>(P.Y)))};
  }
  TPointF Mid(TDrawLine* L) const {
    const TPointF S = Tool->AxisPoint(L->StartPos), E = Tool->AxisPoint(L->EndPos);
    return TPointF(std::round((S.X + E.X) / 2), std::round((S.Y + E.Y) / 2));
  }
  static void ExpectSame(const TFloatPoint& A, const TFloatPoint& B) {
    EXPECT_FLOAT_EQ(A.X, B.X);
    EXPECT_FLOAT_EQ(A.Y, B.Y);
  }

  TDrawLineTool* Tool = nullptr;
  int NewLines = 0;
  TObject* NewLineSender = nullptr;
};

TEST_F(DrawLineTest, DraggingOnEmptyAreaDrawsASelectedItemInAxisValues) {
  // A press and release at one pixel makes nothing.
  Click(TPointF(100, 50));
  EXPECT_EQ(Tool->GetLines()->GetCount(), 0);
  EXPECT_EQ(NewLines, 0);
  EXPECT_FALSE(Tool->GetDrawing());

  DragMouse(TPointF(100, 50), TPointF(200, 120));
  ASSERT_EQ(Tool->GetLines()->GetCount(), 1);
  TDrawLine* L = Tool->GetLines()->Last();
  EXPECT_EQ(L->GetStyle(), TDrawLineStyle::dlLine);
  ExpectSame(L->StartPos, ValueOf(TPointF(100, 50)));
  ExpectSame(L->EndPos, ValueOf(TPointF(200, 120)));
  EXPECT_EQ(Tool->GetSelected(), L);
  EXPECT_EQ(NewLines, 1);
  EXPECT_EQ(NewLineSender, Tool);
  EXPECT_FALSE(Chart->GetZoomed());  // the press was the tool's
  // After the release the mouse moves freely: the new item does not follow it.
  Chart->MouseMove({}, 300, 200);
  ExpectSame(L->EndPos, ValueOf(TPointF(200, 120)));

  // Another style, and a right-button drag that the tool ignores.
  Tool->SetStyle(TDrawLineStyle::dlRectangle);
  DragMouse(TPointF(120, 200), TPointF(250, 230));
  EXPECT_EQ(Tool->GetLines()->Last()->GetStyle(), TDrawLineStyle::dlRectangle);
  DragMouse(TPointF(130, 60), TPointF(150, 80), TMB::mbRight);
  EXPECT_EQ(Tool->GetLines()->GetCount(), 2);
}

TEST_F(DrawLineTest, AnItemMadeWithItsValuesAnnouncesItself) {
  auto* L = Create<TDrawLine>(static_cast<TCollection*>(Tool->GetLines()), 1.0, 20.0, 5.0, 60.0);
  EXPECT_EQ(NewLines, 1);
  EXPECT_EQ(NewLineSender, L);
  EXPECT_EQ(L->GetX0(), 1);
  EXPECT_EQ(L->GetY1(), 60);
  // AddLine makes a plain item.
  Tool->GetLines()->AddLine(2, 30, 6, 70);
  EXPECT_EQ(NewLines, 1);
  EXPECT_EQ(Tool->GetLines()->GetCount(), 2);
}

TEST_F(DrawLineTest, OnSelectingDecidesAndARefusedItemIsNotDragged) {
  TDrawLine* A = Tool->GetLines()->AddLine(1, 20, 4, 50);
  TDrawLine* B = Tool->GetLines()->AddLine(6, 30, 9, 90);
  int Selects = 0;
  bool Allow = true;
  Tool->OnSelect = [&](TObject*) { ++Selects; };
  Tool->OnSelecting = [&](TDrawLineTool*, TDrawLine*, bool& AllowSelect) { AllowSelect = Allow; };

  Click(Mid(A));
  EXPECT_EQ(Tool->GetSelected(), A);
  EXPECT_EQ(Selects, 1);

  Allow = false;
  const TFloatPoint A0 = A->StartPos, A1 = A->EndPos, B0 = B->StartPos, B1 = B->EndPos;
  DragMouse(Mid(B), TPointF(Mid(B).X + 30, Mid(B).Y + 20));
  EXPECT_EQ(Tool->GetSelected(), A);
  EXPECT_EQ(Selects, 1);
  // Neither the refused item nor the selected one took the refused item's moved points.
  ExpectSame(A->StartPos, A0);
  ExpectSame(A->EndPos, A1);
  ExpectSame(B->StartPos, B0);
  ExpectSame(B->EndPos, B1);
}

TEST_F(DrawLineTest, DraggingAHandleMovesOneEndAndTheBodyMovesAll) {
  TDrawLine* L = Tool->GetLines()->AddLine(2, 20, 8, 80);
  int Drags = 0, Dragged = 0;
  Tool->OnDragLine = [&](TObject*) { ++Drags; };
  Tool->OnDraggedLine = [&](TObject*) { ++Dragged; };
  Click(Mid(L));
  ASSERT_EQ(Tool->GetSelected(), L);
  EXPECT_EQ(Dragged, 0);  // a click is no drag

  // The start handle of the selected item: the start goes to the mouse, the end stays as it is.
  const TPointF S = Tool->AxisPoint(L->StartPos);
  const TFloatPoint End = L->EndPos;
  DragMouse(TPointF(S.X + 1, S.Y - 1), TPointF(S.X + 41, S.Y + 9));
  ExpectSame(L->StartPos, ValueOf(TPointF(S.X + 41, S.Y + 9)));
  ExpectSame(L->EndPos, End);
  EXPECT_EQ(Drags, 1);
  EXPECT_EQ(Dragged, 1);
  EXPECT_EQ(Tool->GetDragHandle(), TDrawLineHandle::chNone);

  // Elsewhere on the item: both ends move by the mouse's offset.
  const TPointF S1 = Tool->AxisPoint(L->StartPos), E1 = Tool->AxisPoint(L->EndPos);
  const TPointF M = Mid(L);
  DragMouse(M, TPointF(M.X - 20, M.Y + 15));
  ExpectSame(L->StartPos, ValueOf(TPointF(S1.X - 20, S1.Y + 15)));
  ExpectSame(L->EndPos, ValueOf(TPointF(E1.X - 20, E1.Y + 15)));
  EXPECT_EQ(Dragged, 2);
}

TEST_F(DrawLineTest, AClickOnAnItemLeavesItsValuesExactly) {
  // Values that no pixel maps to exactly: a click must not round them to pixels.
  TDrawLine* L = Tool->GetLines()->AddLine(2.123f, 21.77f, 8.031f, 79.5f);
  const TFloatPoint S = L->StartPos, E = L->EndPos;
  Click(Mid(L));
  ASSERT_EQ(Tool->GetSelected(), L);
  Click(Mid(L));  // pressed again on the selected item
  ExpectSame(L->StartPos, S);
  ExpectSame(L->EndPos, E);
}

TEST_F(DrawLineTest, HitTestByStyle) {
  // An item from the pixel of (2, 20) to that of (8, 80).
  struct Case {
    const char* Name;
    TDrawLineStyle Style;
    float FX, FY;  // where, as a fraction from the start to the end pixel
    bool Hit;
  };
  const Case Cases[] = {
      {"line, middle", TDrawLineStyle::dlLine, 0.5f, 0.5f, true},
      {"line, beside", TDrawLineStyle::dlLine, 0.5f, 0.2f, false},
      {"horizontal pair, first line", TDrawLineStyle::dlHorizParallel, 0.5f, 0, true},
      {"horizontal pair, second line", TDrawLineStyle::dlHorizParallel, 0.3f, 1, true},
      {"horizontal pair, between", TDrawLineStyle::dlHorizParallel, 0.5f, 0.5f, false},
      {"vertical pair, first line", TDrawLineStyle::dlVertParallel, 0, 0.5f, true},
      {"vertical pair, second line", TDrawLineStyle::dlVertParallel, 1, 0.7f, true},
      {"vertical pair, between", TDrawLineStyle::dlVertParallel, 0.5f, 0.5f, false},
      {"rectangle, inside", TDrawLineStyle::dlRectangle, 0.5f, 0.3f, true},
      {"rectangle, outside", TDrawLineStyle::dlRectangle, 1.3f, 0.5f, false},
      {"ellipse, inside its rectangle", TDrawLineStyle::dlEllipse, 0.1f, 0.9f, true},
  };
  // The same box given from each of its corners: the hits do not depend on the order.
  const float Corners[][4] = {{2, 80, 8, 20}, {8, 20, 2, 80}, {2, 20, 8, 80}, {8, 80, 2, 20}};
  for (const auto& K : Corners) {
    Tool->GetLines()->Clear();
    TDrawLine* L = Tool->GetLines()->AddLine(K[0], K[1], K[2], K[3]);
    const TPointF S = Tool->AxisPoint(L->StartPos), E = Tool->AxisPoint(L->EndPos);
    for (const Case& C : Cases) {
      SCOPED_TRACE(::testing::Message() << C.Name << " from (" << K[0] << ", " << K[1] << ")");
      L->SetStyle(C.Style);
      const int X = static_cast<int>(std::round(S.X + (E.X - S.X) * C.FX));
      const int Y = static_cast<int>(std::round(S.Y + (E.Y - S.Y) * C.FY));
      EXPECT_EQ(Tool->Clicked(X, Y) == L, C.Hit);
    }
  }
}

TEST_F(DrawLineTest, SwitchesForSelectingAndDrawing) {
  TDrawLine* L = Tool->GetLines()->AddLine(2, 20, 8, 80);
  const TCursor Before = Chart->GetCursor();
  Tool->SetEnableSelect(false);
  Chart->MouseMove({}, Mid(L).X, Mid(L).Y);
  EXPECT_EQ(Chart->GetCursor(), Before);
  Click(Mid(L));
  EXPECT_EQ(Tool->GetSelected(), nullptr);

  Tool->SetEnableSelect(true);
  Chart->MouseMove({}, Mid(L).X, Mid(L).Y);
  EXPECT_EQ(Chart->GetCursor(), crHandPoint);
  Click(Mid(L));
  ASSERT_EQ(Tool->GetSelected(), L);
  const TPointF S = Tool->AxisPoint(L->StartPos);
  Chart->MouseMove({}, S.X, S.Y);
  EXPECT_EQ(Chart->GetCursor(), crCross);

  // Without drawing, a press on empty area only clears the selection.
  Tool->SetEnableDraw(false);
  DragMouse(TPointF(300, 40), TPointF(350, 90));
  EXPECT_EQ(Tool->GetSelected(), nullptr);
  EXPECT_EQ(Tool->GetLines()->GetCount(), 1);

  // Switching selection off drops the selection.
  Click(Mid(L));
  ASSERT_EQ(Tool->GetSelected(), L);
  Tool->SetEnableSelect(false);
  EXPECT_EQ(Tool->GetSelected(), nullptr);
}

TEST_F(DrawLineTest, DeletingAndCopyingItems) {
  Tool->DeleteSelected();  // nothing selected: nothing happens
  TDrawLine* A = Tool->GetLines()->AddLine(1, 10, 2, 20);
  TDrawLine* B = Tool->GetLines()->AddLine(3, 30, 4, 40);
  Tool->SetSelected(A);
  Tool->DeleteSelected();
  EXPECT_EQ(Tool->GetLines()->GetCount(), 1);
  EXPECT_EQ(Tool->GetSelected(), nullptr);
  // Freeing the selected item drops the selection too.
  Tool->SetSelected(B);
  B->Free();
  EXPECT_EQ(Tool->GetSelected(), nullptr);

  // Copying an item copies its own pen; a source without one takes the target's away.
  TDrawLine* Src = Tool->GetLines()->AddLine(1, 2, 3, 4);
  TDrawLine* Dst = Tool->GetLines()->AddLine(5, 6, 7, 8);
  Src->GetPen()->SetColor(0xFF00FF00);
  Src->SetStyle(TDrawLineStyle::dlEllipse);
  Dst->Assign(Src);
  ASSERT_NE(Dst->ExistingPen(), nullptr);
  EXPECT_EQ(Dst->ExistingPen()->GetColor(), 0xFF00FF00u);
  EXPECT_EQ(Dst->GetStyle(), TDrawLineStyle::dlEllipse);
  EXPECT_EQ(Dst->GetX1(), 3);
  Src->SetPen(nullptr);
  Dst->Assign(Src);
  EXPECT_EQ(Dst->ExistingPen(), nullptr);

  // A copied tool holds copies of the items.
  TOwned<TDrawLineTool> Copy(Create<TDrawLineTool>(nullptr));
  Copy->Assign(Tool);
  ASSERT_EQ(Copy->GetLines()->GetCount(), Tool->GetLines()->GetCount());
  EXPECT_NE(Copy->GetLines()->Get(0), Tool->GetLines()->Get(0));
  EXPECT_EQ(Copy->GetLines()->Get(0)->GetX0(), Tool->GetLines()->Get(0)->GetX0());
}

TEST_F(DrawLineTest, PaintDrawsItemsInsideTheChartAndSilverHandlesOnBlack) {
  TDrawLine* L = Tool->GetLines()->AddLine(2, 20, 8, 80);
  L->GetPen()->SetColor(0xFF0000FF);
  Tool->SetSelected(L);
  Chart->SetColor(0xFF000000);
  PaintRec();
  const TPointF S = Tool->AxisPoint(L->StartPos), E = Tool->AxisPoint(L->EndPos);
  bool Found = false;
  for (const TCanvasRecord& R : Rec.RecordsOf(TRecordKind::DrawLine)) {
    if (R.Color != 0xFF0000FFu) continue;
    Found = true;
    EXPECT_FLOAT_EQ(R.Points[0].X, S.X);
    EXPECT_FLOAT_EQ(R.Points[1].Y, E.Y);
    EXPECT_TRUE(R.Clipped);
  }
  EXPECT_TRUE(Found);
  int Silver = 0;
  for (const TCanvasRecord& R : Rec.RecordsOf(TRecordKind::FillPolygon))
    if (R.Color == 0xFFC0C0C0u) ++Silver;
  EXPECT_EQ(Silver, 2);  // the two handles
}

}  // namespace
}  // namespace zel::testing
