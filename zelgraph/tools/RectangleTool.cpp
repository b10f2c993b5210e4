#include "zelgraph/tools/RectangleTool.h"

#include <algorithm>
#include <cstdlib>

#include "platform/Math.h"
#include "platform/Services.h"
#include "zelgraph/canvas/Shadow.h"
#include "zelgraph/engine/AxisPanel.h"
#include "zelgraph/tools/ToolTexts.h"
#include "zelgraph/canvas/CanvasScopes.h"

namespace zel {

ZEL_DEFINE_COMPONENT_CLASS(TRectangleTool, TAnnotationTool)

void TRectangleTool::AfterConstruction() {
  inherited::AfterConstruction();
  IKeepCursor = true;
  IEdge = -1;
  DefaultPositionUnits = TZelUnits::muPixels;
  FShape->InitAutoSize(false);
  FShape->DefaultCustom = true;
  FShape->SetCustomPosition(true);
  for (TZelShadow* S : {static_cast<TZelShadow*>(FShape->GetEmboss()), FShape->GetShadow()})
    S->InitValues(S->GetVisible(), S->GetColor(), 0);
  FShape->InitTransparency(75);
  InitBounds(TRectF(10, 10, 60, 60));
  FPositionUnits = TZelUnits::muPixels;
  FShape->InitCursor(crHandPoint);
}

void TRectangleTool::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TRectangleTool*>(Source)) {
    FAllowDrag = S->FAllowDrag;
    FAllowResize = S->FAllowResize;
  }
  inherited::Assign(Source);
}

String TRectangleTool::Description() const { return ZelMsg_RectangleTool; }

String TRectangleTool::LongDescription() const { return ZelMsg_RectangleToolDesc; }

std::int32_t TRectangleTool::ClickedEdge(std::int32_t X, std::int32_t Y) {
  if (!Clicked(X, Y)) return -1;
  const TRectF B = GetBounds();
  auto Near = [](double A, double B) { return std::abs(A - B) < 4; };
  if (Near(X, B.Left)) {
    if (Near(Y, B.Top)) return 4;
    if (Near(Y, B.Bottom)) return 5;
    return 0;
  }
  if (Near(Y, B.Top)) return Near(X, B.Right) ? 6 : 1;
  if (Near(Y, B.Bottom)) return Near(X, B.Right) ? 7 : 3;
  if (Near(X, B.Right)) return 2;
  return -1;
}

void TRectangleTool::MoveBoxTo(double X, double Y) {
  FShape->SetCustomPosition(true);
  if (FParent) {
    // The inverse of the placement: the chart's bounds are the origin.
    const TRectF R = FParent->GetChartBounds();
    X -= R.Left;
    Y -= R.Top;
    if (FPositionUnits == TZelUnits::muPercent) {
      const std::int32_t W = Round(double(R.Right) - R.Left + 1);
      const std::int32_t H = Round(double(R.Bottom) - R.Top + 1);
      if (W != 0) X = X * 100 / W;
      if (H != 0) Y = Y * 100 / H;
    }
  }
  const float Wd = FShape->GetWidth(), Ht = FShape->GetHeight();
  FShape->SetLeft(Round(X));
  FShape->SetTop(Round(Y));
  FShape->SetWidth(Wd);
  FShape->SetHeight(Ht);
}

void TRectangleTool::TryDrag(std::int32_t X, std::int32_t Y) {
  if (float(X) == P.X && float(Y) == P.Y) return;
  MoveBoxTo(double(X) - P.X, double(Y) - P.Y);
  Repaint();
  if (OnDragging) OnDragging(this);
}

void TRectangleTool::DoResize(std::int32_t X, std::int32_t Y) {
  SetAutoSize(false);
  TRectF B = GetBounds();
  const float NX = float(X) - P.X, NY = float(Y) - P.Y;
  const bool Left = IEdge == 0 || IEdge == 4 || IEdge == 5;
  const bool Top = IEdge == 1 || IEdge == 4 || IEdge == 6;
  const bool Right = IEdge == 2 || IEdge == 6 || IEdge == 7;
  const bool Bottom = IEdge == 3 || IEdge == 5 || IEdge == 7;
  if (Left) B.Left = std::min(B.Right - 3, NX);
  if (Top) B.Top = std::min(B.Bottom - 3, NY);
  if (Right) B.Right = std::max(B.Left + 3, NX);
  if (Bottom) B.Bottom = std::max(B.Top + 3, NY);
  // The corner goes where the units say; the size is in pixels either way.
  MoveBoxTo(B.Left, B.Top);
  FShape->SetWidth(B.Width());
  FShape->SetHeight(B.Height());
  Repaint();
  if (OnResizing) OnResizing(this);
}

void TRectangleTool::ChartMouseEvent(TChartMouseEvent AEvent, TMouseButton Button, TShiftState Shift,
                                     std::int32_t X, std::int32_t Y) {
  inherited::ChartMouseEvent(AEvent, Button, Shift, X, Y);
  if (!GetActive() || !FParent) return;
  switch (AEvent) {
    case TChartMouseEvent::tmePress: {
      if (Button != TMouseButton::mbLeft) break;
      IEdge = FAllowResize ? ClickedEdge(X, Y) : -1;
      if (IEdge != -1) {
        const TRectF B = GetBounds();
        const bool AtRight = IEdge == 2 || IEdge == 6 || IEdge == 7;
        const bool AtBottom = IEdge == 3 || IEdge == 5 || IEdge == 7;
        P = TPointF(float(X) - (AtRight ? B.Right : B.Left), float(Y) - (AtBottom ? B.Bottom : B.Top));
        FParent->SetCancelMouse(true);
      } else if (FAllowDrag && Clicked(X, Y)) {
        const TRectF B = GetBounds();
        P = TPointF(float(X) - B.Left, float(Y) - B.Top);
        IDrag = true;
        FParent->SetCancelMouse(true);
      }
      break;
    }
    case TChartMouseEvent::tmeMove: {
      if (IDrag) {
        TryDrag(X, Y);
        FParent->SetCancelMouse(true);
      } else if (IEdge != -1) {
        DoResize(X, Y);
        FParent->SetCancelMouse(true);
      } else {
        TCursor C = 0;
        if (FAllowResize) {
          switch (ClickedEdge(X, Y)) {
            case 0:
            case 2: C = crSizeWE; break;
            case 1:
            case 3: C = crSizeNS; break;
            case 4:
            case 7: C = crSizeNWSE; break;
            case 5:
            case 6: C = crSizeNESW; break;
            default: break;
          }
        }
        if (C == 0 && GetCursor() != 0 && Clicked(X, Y)) C = GetCursor();
        if (C != 0) {
          FParent->SetCursor(C);
          FParent->SetCancelMouse(true);
        }
      }
      break;
    }
    case TChartMouseEvent::tmeRelease:
      if (IDrag) {
        IDrag = false;
        if (OnDragged) OnDragged(this);
      }
      if (IEdge != -1) {
        IEdge = -1;
        if (OnResized) OnResized(this);
      }
      break;
  }
}

TBitmap* TRectangleTool::Bitmap(bool ChartOnly) {
  const std::int32_t W = std::max(0, GetWidth()), H = std::max(0, GetHeight());
  TOwned<TBitmap> Result(Create<TBitmap>(W, H));
  if (!FParent || W == 0 || H == 0) return Result.release();
  const TRectF B = GetBounds();
  TOwned<TBitmap> Picture;
  {
    // The chart alone: the box leaves the picture while it is taken.
    const bool WasActive = GetActive();
    if (ChartOnly) SetActive(false);
    TRestoreOnExit Reactivate([&] {
      if (ChartOnly) SetActive(WasActive);
    });
    Picture.reset(FParent->ZelCreateBitmap(FParent->GetColor(), FParent->GetRectangle()));
  }
  // The chart's pixels under the box.
  const int X0 = Round(B.Left), Y0 = Round(B.Top);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) {
      const int SX = X0 + X, SY = Y0 + Y;
      if (SX >= 0 && SY >= 0 && SX < Picture->GetWidth() && SY < Picture->GetHeight())
        Result->SetPixel(X, Y, Picture->GetPixel(SX, SY));
    }
  return Result.release();
}

// ---------------------------------------------------------------------------------------------
// Published properties

ZEL_BEGIN_PUBLISHED(TRectangleTool)
  P::Prop("AllowDrag", &Self::GetAllowDrag, &Self::SetAllowDrag, Default(true)),
  P::Prop("AllowResize", &Self::GetAllowResize, &Self::SetAllowResize, Default(true)),
  P::Event("OnDragged", &Self::OnDragged),
  P::Event("OnDragging", &Self::OnDragging),
  P::Event("OnResized", &Self::OnResized),
  P::Event("OnResizing", &Self::OnResizing),
ZEL_END_PUBLISHED

}  // namespace zel
