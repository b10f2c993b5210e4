#include <gtest/gtest.h>

#include "platform/Forms.h"
#include "platform/Services.h"
#include "zelgraph/canvas/Gradient.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/canvas/PlatformCanvas.h"
#include "zelgraph/canvas/Shadow.h"
#include "zelgraph/canvas/View3D.h"
#include "tests/panel/TestPanels.h"

namespace zel {
namespace {

TOwned<TBitmap> Paint(TControl* C) { return TOwned<TBitmap>(PaintToBitmap(C)); }

// --- layout: chart rectangle from bounds, frame, margins, shadow and emboss ---

struct LayoutCase {
  const char* Name;
  std::function<void(TDrawPanel*)> Setup;
  TRectF Expected;
};

TEST(PanelLayout, ChartRectFromFrameMarginsShadowAndEmboss) {
  const LayoutCase Cases[] = {
      // Border 1 (raised bevel), 3 % of 300 = 9, 4 % of 200 = 8.
      {"defaults", [](TDrawPanel*) {}, TRectF(10, 9, 290, 191)},
      {"pixel margins", [](TDrawPanel* P) { P->SetMarginUnits(TZelUnits::muPixels); },
       TRectF(4, 5, 296, 195)},
      {"no bevel, wide border pen",
       [](TDrawPanel* P) {
         P->SetBevelOuter(TPanelBevel::bvNone);
         P->GetBorder()->SetVisible(true);
         P->GetBorder()->SetWidth(3);
       },
       TRectF(12, 11, 288, 189)},
      {"both bevels and a flat border",
       [](TDrawPanel* P) {
         P->SetBevelInner(TPanelBevel::bvLowered);
         P->SetBevelWidth(2);
         P->SetBorderWidth(3);
       },
       TRectF(16, 15, 284, 185)},
      {"shadow right and down",
       [](TDrawPanel* P) {
         P->GetShadow()->SetVisible(true);
         P->GetShadow()->SetHorizSize(5);
         P->GetShadow()->SetVertSize(-4);
       },
       TRectF(10, 13, 285, 191)},
      {"emboss on the opposite corner",
       [](TDrawPanel* P) {
         P->GetEmboss()->SetVisible(true);
         P->GetEmboss()->SetHorizSize(5);
         P->GetEmboss()->SetVertSize(-4);
       },
       TRectF(15, 9, 290, 187)},
      {"margins past each other give one pixel",
       [](TDrawPanel* P) {
         P->SetMarginLeft(80);
         P->SetMarginRight(80);
         P->SetMarginTop(70);
         P->SetMarginBottom(70);
       },
       TRectF(241, 141, 242, 142)},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    auto P = MakePanel();
    C.Setup(P.get());
    Paint(P.get());
    ASSERT_EQ(P->Draws, 1);
    EXPECT_EQ(P->Bounds, TRectF(0, 0, 300, 200));
    EXPECT_EQ(P->SeenChartRect, C.Expected);
    EXPECT_EQ(P->GetChartWidth(), int(C.Expected.Width()));
    EXPECT_EQ(P->GetChartHeight(), int(C.Expected.Height()));
  }
}

TEST(PanelLayout, CustomChartRectIsKept) {
  auto P = MakePanel();
  P->SetChartRect(TRectF(20, 30, 120, 130));
  Paint(P.get());
  EXPECT_EQ(P->SeenChartRect, TRectF(20, 30, 120, 130));
  EXPECT_EQ(P->GetChartXCenter(), 70);
  EXPECT_EQ(P->GetChartYCenter(), 80);
  P->SetCustomChartRect(false);
  P->Invalidate();
  Paint(P.get());
  EXPECT_EQ(P->SeenChartRect, TRectF(10, 9, 290, 191));
}

TEST(PanelLayout, BorderSizeAndBorderPenInset) {
  struct Case {
    TPanelBevel Inner, Outer;
    int BevelWidth, BorderWidth;
    bool Pen;
    float PenWidth;
    bool SmallDots;
    int Size, Fix;
    TRectF Fixed;
  } Cases[] = {
      {TPanelBevel::bvNone, TPanelBevel::bvNone, 1, 0, false, 1, false, 0, 0, TRectF(0, 0, 100, 100)},
      {TPanelBevel::bvRaised, TPanelBevel::bvLowered, 4, 2, false, 1, false, 10, 0, TRectF(0, 0, 100, 100)},
      // A pen 4 wide: n = 3, left and top move in by 2, right and bottom by 1.
      {TPanelBevel::bvNone, TPanelBevel::bvNone, 1, 0, true, 4, false, 4, 1, TRectF(2, 2, 99, 99)},
      {TPanelBevel::bvNone, TPanelBevel::bvNone, 1, 0, true, 5, false, 5, 2, TRectF(2, 2, 98, 98)},
      {TPanelBevel::bvNone, TPanelBevel::bvNone, 1, 0, true, 5, true, 5, 1, TRectF(0, 0, 100, 100)},
  };
  for (const auto& C : Cases) {
    auto P = MakePanel();
    P->SetBevelInner(C.Inner);
    P->SetBevelOuter(C.Outer);
    P->SetBevelWidth(Byte(C.BevelWidth));
    P->SetBorderWidth(C.BorderWidth);
    P->GetBorder()->SetVisible(C.Pen);
    P->GetBorder()->SetWidth(C.PenWidth);
    P->GetBorder()->SetSmallDots(C.SmallDots);
    EXPECT_EQ(P->BorderSize(), C.Size);
    TRectF R(0, 0, 100, 100);
    EXPECT_EQ(P->FixBorderWidth(R), C.Fix);
    EXPECT_EQ(R, C.Fixed);
  }
}

TEST(PanelLayout, FormOwnerLimitsTheStartSize) {
  struct Case {
    float FormW, FormH, W, H;
  } Cases[] = {{300, 200, 300, 200}, {1000, 800, 400, 250}};
  for (const auto& C : Cases) {
    TOwned<TForm> F(TForm::CreateNew(nullptr));
    F->SetBounds(0, 0, C.FormW, C.FormH);
    auto* P = Create<TDrawPanel>(F.get());
    EXPECT_EQ(P->GetWidth(), C.W);
    EXPECT_EQ(P->GetHeight(), C.H);
  }
}

// --- the buffer rule ---

TEST(PanelPaint, BufferedPictureIsReusedUntilInvalidated) {
  auto P = MakePanel();
  Paint(P.get());
  Paint(P.get());
  EXPECT_EQ(P->Draws, 1) << "a clean buffer is copied, not redrawn";
  P->Invalidate();
  Paint(P.get());
  EXPECT_EQ(P->Draws, 2);
}

TEST(PanelPaint, AutoRepaintOffKeepsTheOldPicture) {
  auto P = MakePanel();
  Paint(P.get());
  P->SetAutoRepaint(false);
  P->SetColor(0xFF00FF00);
  auto B = Paint(P.get());
  EXPECT_EQ(P->Draws, 1);
  EXPECT_EQ(B->GetPixel(150, 100), 0xFFF0F0F0u);
  P->SetAutoRepaint(true);
  P->Invalidate();
  B = Paint(P.get());
  EXPECT_EQ(B->GetPixel(150, 100), 0xFF00FF00u);
}

TEST(PanelPaint, SharedSettersRepaintOnlyOnChange) {
  auto P = MakePanel();
  Paint(P.get());
  int Field = 5;
  P->SetIntegerProperty(Field, 5);
  Paint(P.get());
  EXPECT_EQ(P->Draws, 1);
  P->SetIntegerProperty(Field, 6);
  EXPECT_EQ(Field, 6);
  Paint(P.get());
  EXPECT_EQ(P->Draws, 2);
}

TEST(PanelPaint, DrawingAttributesRepaintThePanel) {
  const std::function<void(TDrawPanel*)> Changes[] = {
      [](TDrawPanel* P) { P->GetShadow()->SetColor(0xFF123456); },
      [](TDrawPanel* P) { P->GetEmboss()->SetHorizSize(3); },
      [](TDrawPanel* P) { P->GetBorder()->SetWidth(2); },
      [](TDrawPanel* P) { P->GetView3DOptions()->SetRotation(10); },
      [](TDrawPanel* P) { P->GetGradient()->SetVisible(true); },
  };
  for (const auto& Change : Changes) {
    auto P = MakePanel();
    Paint(P.get());
    Change(P.get());
    Paint(P.get());
    EXPECT_EQ(P->Draws, 2);
  }
}

TEST(PanelPaint, RaisedBevelAroundThePanelColour) {
  auto P = MakePanel(60, 40);
  auto B = Paint(P.get());
  EXPECT_EQ(B->GetPixel(0, 20), 0xFFFFFFFFu);
  EXPECT_EQ(B->GetPixel(30, 0), 0xFFFFFFFFu);
  EXPECT_EQ(B->GetPixel(59, 20), 0xFFA0A0A0u);
  EXPECT_EQ(B->GetPixel(30, 39), 0xFFA0A0A0u);
  EXPECT_EQ(B->GetPixel(30, 20), 0xFFF0F0F0u);
  P->SetBevelOuter(TPanelBevel::bvLowered);
  B = Paint(P.get());
  EXPECT_EQ(B->GetPixel(0, 20), 0xFFA0A0A0u);
  EXPECT_EQ(B->GetPixel(59, 20), 0xFFFFFFFFu);
}

TEST(PanelPaint, AFailingChartDrawLeavesThePanelUsable) {
  auto P = MakePanel(60, 40);
  std::vector<String> Shown;
  auto Old = Application->SetShowExceptionHook(
      [&](const String&, const String& Msg) { Shown.push_back(Msg); });
  P->Extra = [](TDrawPanel*) { throw EInvalidOperation("broken series"); };
  Paint(P.get());
  P->Extra = nullptr;
  P->Invalidate();
  auto B = Paint(P.get());
  Application->SetShowExceptionHook(Old);
  ASSERT_EQ(Shown.size(), 1u);
  EXPECT_EQ(Shown[0], "broken series");
  EXPECT_EQ(B->GetPixel(30, 20), 0xFFF0F0F0u);
  EXPECT_EQ(P->Draws, 2);
}

// --- listeners and mouse ---

TEST(PanelEvents, View3DChangeIsBroadcastOnce) {
  auto P = MakePanel();
  TRecordingListener L;
  P->AddListener(&L);
  P->SetView3D(true);
  EXPECT_TRUE(L.Classes.empty());
  P->SetView3D(false);
  ASSERT_EQ(L.Classes.size(), 1u);
  EXPECT_EQ(L.Classes[0], "TZelView3DEvent");
  EXPECT_EQ(L.Senders[0], P.get());
  P->RemoveListener(&L);
}

TEST(PanelEvents, CancelMouseStopsTheBroadcast) {
  auto P = MakePanel();
  TRecordingListener First, Second;
  First.OnEvent = [&](TZelEvent*) { P->SetCancelMouse(true); };
  P->AddListener(&First);
  P->AddListener(&Second);
  SimulateMouse(P.get(), TSimMouseKind::Move, TMouseButton::mbLeft, {}, 10, 10);
  EXPECT_EQ(First.Classes.size(), 1u);
  EXPECT_TRUE(Second.Classes.empty());
  // Events other than mouse events reach every listener.
  P->SetView3D(false);
  EXPECT_EQ(Second.Classes.size(), 1u);
  P->RemoveListener(&First);
  P->RemoveListener(&Second);
}

TEST(PanelEvents, MouseHandlersClearCancelMouseAndReportPositions) {
  auto P = MakePanel();
  TRecordingListener L;
  struct Mouse {
    TZelMouseEventKind Event;
    TMouseButton Button;
    float X, Y;
  };
  std::vector<Mouse> Seen;
  L.OnEvent = [&](TZelEvent* E) {
    if (auto* M = dynamic_cast<TZelMouseEvent*>(E)) Seen.push_back({M->Event, M->Button, M->X, M->Y});
  };
  P->AddListener(&L);
  P->SetCancelMouse(true);
  SimulateClick(P.get(), TMouseButton::mbRight, 12.5f, 7.4f);
  ASSERT_EQ(Seen.size(), 2u);
  EXPECT_EQ(Seen[0].Event, TZelMouseEventKind::meDown);
  EXPECT_EQ(Seen[0].Button, TMouseButton::mbRight);
  EXPECT_EQ(Seen[0].X, 12);  // halves to even
  EXPECT_EQ(Seen[0].Y, 7);
  EXPECT_EQ(Seen[1].Event, TZelMouseEventKind::meUp);
  P->RemoveListener(&L);
}

TEST(PanelEvents, AListenerMayRemoveItselfWhileTold) {
  auto P = MakePanel();
  TRecordingListener A, B;
  A.OnEvent = [&](TZelEvent*) { P->RemoveListener(&A); };
  P->AddListener(&A);
  P->AddListener(&B);
  P->SetView3D(false);
  P->SetView3D(true);
  EXPECT_EQ(A.Classes.size(), 1u);
  EXPECT_EQ(B.Classes.size(), 2u);
  P->RemoveListener(&B);
}

TEST(PanelEvents, DoubleClickCancelledByAHandlerStopsSilently) {
  auto P = MakePanel();
  int Later = 0;
  std::vector<String> Shown;
  auto Old = Application->SetShowExceptionHook(
      [&](const String&, const String& Msg) { Shown.push_back(Msg); });
  P->OnDblClick = [&](TObject*) { P->SetCancelMouse(true); };
  P->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, float, float) { ++Later; };
  SimulateDoubleClick(P.get(), TMouseButton::mbLeft, 5, 5);
  Application->SetShowExceptionHook(Old);
  EXPECT_TRUE(Shown.empty()) << "the silent abort is not shown";
  EXPECT_EQ(Later, 2);
}

TEST(PanelEvents, MouseLeaveRestoresCursorAndEndsPanInsideBounds) {
  auto P = MakePanel();
  TRecordingListener L;
  P->AddListener(&L);
  P->SetOriginalCursor(crArrow);
  P->SetCursor(crCross);
  P->GetPanning()->SetInsideBounds(true);
  P->GetPanning()->Activate(3, 4);
  SimulateMouseLeave(P.get());
  EXPECT_EQ(P->TControl::GetCursor(), crArrow);
  EXPECT_FALSE(P->GetPanning()->GetActive());
  ASSERT_FALSE(L.Classes.empty());
  EXPECT_EQ(L.Classes.back(), "TMouseLeaveEvent");
  P->RemoveListener(&L);
}

// --- text, resize, assignment ---

TEST(PanelText, MultiLineTextSize) {
  auto P = MakePanel();
  TCanvas3D* C = P->GetCanvas();
  struct Case {
    String Text;
    int Lines;
    String Widest;
  } Cases[] = {
      {"", 0, ""},
      {"a\r\nbb", 2, "bb"},
      {"abc\r", 1, "abc"},
      {"x\rlonger\ry", 3, "longer"},
      {"\r\r", 2, ""},
  };
  for (const auto& K : Cases) {
    SCOPED_TRACE(K.Text);
    int N = -1;
    const TPointF S = P->MultiLineTextSize(K.Text, N);
    EXPECT_EQ(N, K.Lines);
    EXPECT_EQ(S.X, K.Widest.empty() ? 0.0f : float(C->TextWidth(K.Widest)));
    EXPECT_EQ(S.Y, float(K.Lines * C->TextHeight("W")));
  }
}

TEST(PanelResize, AutomaticFontZoomFollowsTheSize) {
  auto P = MakePanel(200, 100);
  P->GetView3DOptions()->SetZoomText(TCanvasZoomText::ztAuto);
  P->InitialSize = TPointF(200, 100);
  P->SetBounds(0, 0, 300, 110);
  EXPECT_EQ(P->GetView3DOptions()->GetFontZoom(), 150);
  P->GetView3DOptions()->SetZoomText(TCanvasZoomText::ztManual);
  P->SetBounds(0, 0, 400, 110);
  EXPECT_EQ(P->GetView3DOptions()->GetFontZoom(), 150);
}

TEST(PanelAssign, CopiesFrameMarginsAndPrintSettings) {
  auto A = MakePanel();
  auto B = MakePanel();
  A->SetBevelInner(TPanelBevel::bvLowered);
  A->SetBevelWidth(3);
  A->SetMarginLeft(7);
  A->SetMarginUnits(TZelUnits::muPixels);
  A->SetColor(0xFF102030);
  A->SetPrintMargins(TRectF(1, 2, 3, 4));
  A->SetPrintResolution(-20);
  A->SetView3D(false);
  A->GetShadow()->SetHorizSize(6);
  A->GetPanning()->SetInsideBounds(true);
  A->GetPanning()->SetMouseWheel(TMouseWheelStyle::pmwInverted);
  B->Assign(A.get());
  EXPECT_EQ(B->GetBevelInner(), TPanelBevel::bvLowered);
  EXPECT_EQ(B->GetBevelWidth(), 3);
  EXPECT_EQ(B->GetMarginLeft(), 7);
  EXPECT_EQ(B->GetMarginUnits(), TZelUnits::muPixels);
  EXPECT_EQ(B->GetColor(), 0xFF102030u);
  EXPECT_EQ(B->GetPrintMargins(), TRectF(1, 2, 3, 4));
  EXPECT_EQ(B->GetPrintResolution(), -20);
  EXPECT_FALSE(B->GetView3D());
  EXPECT_EQ(B->GetShadow()->GetHorizSize(), 6);
  EXPECT_TRUE(B->GetPanning()->GetInsideBounds());
  EXPECT_EQ(B->GetPanning()->GetMouseWheel(), TMouseWheelStyle::pmwNormal) << "only InsideBounds";
}

TEST(PanelCanvas, ReplacingTheCanvasKeepsItsSettings) {
  auto P = MakePanel();
  P->SetMonochrome(true);
  auto* NewCanvas = Create<TZelCanvas3D>();
  P->SetInternalCanvas(NewCanvas);
  EXPECT_EQ(P->GetCanvas(), NewCanvas);
  EXPECT_TRUE(P->GetMonochrome());
  EXPECT_EQ(P->IDefaultCanvas, "TZelCanvas3D");
  P->SetInternalCanvas(nullptr);
  EXPECT_EQ(P->GetCanvas(), NewCanvas);
}

TEST(PanelServices, MissingServicesGiveZero) {
  auto& S = TPlatformServices::Current();
  IScreenService* OldScreen = S.SetScreenService(nullptr);
  IMouseService* OldMouse = S.SetMouseService(nullptr);
  auto P = MakePanel();
  EXPECT_EQ(ZelGetScreenSize(), TPointF(0, 0));
  EXPECT_EQ(P->GetCursorPos(), TPointF(0, 0));
  S.SetScreenService(OldScreen);
  S.SetMouseService(OldMouse);
}

}  // namespace
}  // namespace zel
