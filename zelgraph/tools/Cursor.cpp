#include "zelgraph/tools/Cursor.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "platform/Canvas.h"
#include "platform/Math.h"
#include "platform/Services.h"
#include "platform/SysUtils.h"
#include "zelgraph/canvas/Canvas3D.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/AxisPanel.h"
#include "zelgraph/engine/ValueList.h"
#include "zelgraph/procs/Procs.h"
#include "zelgraph/tools/Annotation.h"
#include "zelgraph/tools/AxisArrow.h"
#include "zelgraph/tools/NearestPoint.h"
#include "zelgraph/tools/ScrollBar.h"
#include "zelgraph/tools/ToolTexts.h"

namespace zel {

namespace {

// The series' "Z" values, when it has such a list.
TChartValueList* ZValues(TChartSeries* S) { return S ? S->GetZValueList() : nullptr; }

}  // namespace

bool ZelGetFirstLastSeries(TChartSeries* Series, std::int32_t& First, std::int32_t& Last) {
  const std::int32_t Count = Series ? Series->Count() : 0;
  First = Series ? Series->GetFirstVisibleIndex() : 0;
  if (First < 0) First = 0;
  Last = Series ? Series->GetLastVisibleIndex() : -1;
  if (Last < 0 || Last >= Count) Last = Count - 1;
  return Count > 0 && First <= Count && Last <= Count;
}

TAnnotationTool* CreateAnnotation(TComponent* Owner, TCustomAxisPanel* Chart) {
  auto* A = Create<TAnnotationTool>(Owner);
  TTextShape* Shape = A->GetShape();
  Shape->SetVisible(false);
  Shape->GetShadow()->SetVisible(false);
  Shape->SetAlignment(TAlignment::taCenter);
  A->SetTextAlignment(TAlignment::taCenter);
  if (Chart) {
    TAutoRepaintScope NoRepaint(Chart, false);
    A->InternalSetParent(Chart);
  }
  return A;
}

bool IsAnnotationVisible(TAnnotationTool* Annotation) {
  return Annotation && Annotation->GetActive() && Annotation->GetShape() && Annotation->GetShape()->GetVisible();
}

// --- TCursorTool ---

ZEL_DEFINE_COMPONENT_CLASS(TCursorTool, TZelCustomToolSeries)

TCursorTool::~TCursorTool() { FreeAndNil(FAxisAnnotation); }

void TCursorTool::Notification(TComponent* AComponent, TOperation Operation) {
  TZelCustomToolSeries::Notification(AComponent, Operation);
  if (Operation == TOperation::opRemove && AComponent == FAxisAnnotation) FAxisAnnotation = nullptr;
}

void TCursorTool::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TCursorTool*>(Source)) {
    SetAxisAnnotation(S->FAxisAnnotation);
    FUseChartRect = S->FUseChartRect;
    IXValue = S->IXValue;
    IYValue = S->IYValue;
    IValidXPoint = S->IValidXPoint;
    IValidYPoint = S->IValidYPoint;
    FClick = S->FClick;
    FFollowMouse = S->FFollowMouse;
    FFullRepaint = S->FFullRepaint;
    FHorizSize = S->FHorizSize;
    FScopeSize = S->FScopeSize;
    FScopeStyle = S->FScopeStyle;
    FSnap = S->FSnap;
    FSnapStyle = S->FSnapStyle;
    FStyle = S->FStyle;
    FUseSeriesZ = S->FUseSeriesZ;
    FVertSize = S->FVertSize;
  }
  TZelCustomToolSeries::Assign(Source);
}

void TCursorTool::GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) {
  TZelCustomToolSeries::GetChildren(Proc, Root);
  if (FAxisAnnotation) Proc(FAxisAnnotation);
}

void TCursorTool::TakeChildren() {
  const std::vector<TComponent*> Read = ReadChildren(TAnnotationTool::StaticClass(), 1);
  TakeChild(FAxisAnnotation, Read.empty() ? nullptr : Read.front());
  if (FAxisAnnotation) FAxisAnnotation->InternalSetParent(FParent);
}

String TCursorTool::Description() const { return ZelMsg_CursorTool; }

String TCursorTool::LongDescription() const { return ZelMsg_CursorToolDesc; }

void TCursorTool::SetParentChart(TCustomAxisPanel* Value) {
  TZelCustomToolSeries::SetParentChart(Value);
  if (FAxisAnnotation) FAxisAnnotation->InternalSetParent(Value);
  Repaint();
}

void TCursorTool::SetSeries(TChartSeries* Value) {
  TZelCustomToolSeries::SetSeries(Value);
  IOldSnap = -1;
  if (FSeries && !IsLoading()) {
    SnapToPoint();
    Repaint();
  }
}

void TCursorTool::Changed(std::int32_t ValueIndex) {
  if (OnChange) OnChange(this, Round(IPoint.X), Round(IPoint.Y), IXValue, IYValue, FSeries, ValueIndex);
}

TAnnotationTool* TCursorTool::GetAxisAnnotation() {
  if (!FAxisAnnotation) FAxisAnnotation = CreateAnnotation(this, FParent);
  return FAxisAnnotation;
}

void TCursorTool::SetAxisAnnotation(TAnnotationTool* Value) {
  if (!Value) {
    FreeAndNil(FAxisAnnotation);
    Repaint();
  } else if (Value != FAxisAnnotation) {
    GetAxisAnnotation()->Assign(Value);
  }
}

void TCursorTool::SetScopeStyle(TScopeCursorStyle Value) {
  if (Value == FScopeStyle) return;
  FScopeStyle = Value;
  Repaint();
}

void TCursorTool::SetStyle(TCursorToolStyle Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  SnapToPoint();
  Repaint();
}

void TCursorTool::SetXValue(double Value) {
  IValidXPoint = true;
  if (Value == IXValue) return;
  IXValue = Value;
  IOldSnap = -1;
  DoChange();
}

void TCursorTool::SetYValue(double Value) {
  IValidYPoint = true;
  if (Value == IYValue) return;
  IYValue = Value;
  IOldSnap = -1;
  DoChange();
}

void TCursorTool::DoChange() {
  CalcScreenPositions();
  Changed(-1);
  Repaint();
}

// Positions.

TRectF TCursorTool::GetAxisRect() {
  TRectF R(0, 0, 0, 0);
  if (FUseChartRect) {
    if (FParent) R = FParent->GetChartRect();
  } else {
    TChartAxis* H = GetHorizAxis();
    TChartAxis* V = GetVertAxis();
    if (H) {
      R.Left = static_cast<float>(H->IStartPos);
      R.Right = static_cast<float>(H->IEndPos);
    }
    if (V) {
      R.Top = static_cast<float>(V->IStartPos);
      R.Bottom = static_cast<float>(V->IEndPos);
    }
  }
  if (OnGetAxisRect) OnGetAxisRect(this, R);
  return R;
}

TRectF TCursorTool::MouseRectangle(const TRectF& R, std::int32_t x, std::int32_t y, bool Limit) const {
  TRectF M = R;
  if (Limit) {
    // (In double: a program may give any size.)
    if (FHorizSize != 0) {
      M.Left = static_cast<float>(double(x) - FHorizSize);
      M.Right = static_cast<float>(double(x) + FHorizSize);
    }
    if (FVertSize != 0) {
      M.Top = static_cast<float>(double(y) - FVertSize);
      M.Bottom = static_cast<float>(double(y) + FVertSize);
    }
  }
  return M;
}

void TCursorTool::ProjectPoint(std::int32_t& x, std::int32_t& y) {
  if (FUseSeriesZ && FParent && FParent->GetCanvas()) FParent->GetCanvas()->Calculate2DPosition(x, y, Z());
}

bool TCursorTool::InMouseRectangle(std::int32_t x, std::int32_t y, bool Limit) {
  ProjectPoint(x, y);
  const TRectF M = MouseRectangle(GetAxisRect(), x, y, Limit);
  return x >= M.Left && x <= M.Right && y >= M.Top && y <= M.Bottom;
}

std::int32_t TCursorTool::Z() {
  if (FUseSeriesZ && FSeries) {
    if (!FSnap) return FSeries->StartZ;
    TChartValueList* L = ZValues(FSeries);
    const std::int32_t Index = L ? SnapToPoint() : -1;
    if (!L || Index < 0 || Index >= L->GetCount() || !FParent || !FParent->GetDepthAxis()) return FSeries->MiddleZ;
    return FParent->GetDepthAxis()->CalcPosValue(L->Value[Index]);
  }
  return Round(CustomZ);
}

void TCursorTool::CalcValuePositions(std::int32_t x, std::int32_t y) {
  ProjectPoint(x, y);
  TChartAxis* H = GetHorizAxis();
  TChartAxis* V = GetVertAxis();
  switch (IDragging) {
    case TCursorClicked::ccHorizontal:
      if (V) IYValue = V->CalcPosPoint(y);
      break;
    case TCursorClicked::ccVertical:
      if (H) IXValue = H->CalcPosPoint(x);
      break;
    default:
      if (H) IXValue = H->CalcPosPoint(x);
      if (V) IYValue = V->CalcPosPoint(y);
      break;
  }
}

void TCursorTool::CalcScreenPositions() {
  if (!IAxisValid) return;
  TChartAxis* H = GetHorizAxis();
  TChartAxis* V = GetVertAxis();
  if (!H || !V) return;
  if (IValidXPoint) IPoint.X = static_cast<float>(H->CalcPosValue(IXValue));
  if (IValidYPoint) IPoint.Y = static_cast<float>(V->CalcPosValue(IYValue));
  if (IValidXPoint && IValidYPoint) return;
  // The value that was set is kept as it is; only the missing one comes from its start pixel.
  const bool KeepX = IValidXPoint, KeepY = IValidYPoint;
  const double SetX = IXValue, SetY = IYValue;
  if (!IValidXPoint) {
    IPoint.X = FFollowMouse ? 0.0f : static_cast<float>(H->ICenterPos);
    IValidXPoint = true;
  }
  if (!IValidYPoint) {
    IPoint.Y = FFollowMouse ? 0.0f : static_cast<float>(V->ICenterPos);
    IValidYPoint = true;
  }
  CalcValuePositions(Round(IPoint.X), Round(IPoint.Y));
  if (KeepX) IXValue = SetX;
  if (KeepY) IYValue = SetY;
  const std::int32_t Index = SnapToPoint();
  CalcScreenPositions();
  Changed(Index);
}

std::int32_t TCursorTool::NearestPoint(TCursorToolStyle AStyle, double& Difference) {
  Difference = -1;
  std::int32_t Result = -1;
  std::int32_t First = 0, Last = -1;
  if (!FSeries || !ZelGetFirstLastSeries(FSeries, First, Last)) return -1;
  const TChartValueList* XV = FSeries->GetXValues();
  const TChartValueList* YV = FSeries->GetYValues();
  const TChartValueList* ZV = ZValues(FSeries);
  const std::int32_t N = std::min({XV->GetCount(), YV->GetCount(), Last + 1});
  TSnapStyle S = FSnapStyle;
  if (S == TSnapStyle::ssDefault) {
    if (AStyle == TCursorToolStyle::cssHorizontal)
      S = TSnapStyle::ssHorizontal;
    else if (AStyle == TCursorToolStyle::cssVertical)
      S = TSnapStyle::ssVertical;
  }
  // Every point can be placed and X rises: the nearest one is searched around the cursor's X.
  const bool InOrder = First < N && std::isfinite(IXValue) &&
                       FSeries->GetXValues()->GetOrder() == TChartListOrder::loAscending &&
                       FSeries->GetXValues()->IsAscendingFinite() && FSeries->GetYValues()->AllFinite();
  if (InOrder && S == TSnapStyle::ssVertical) return NearestInOrder(First, N, Difference);
  if (InOrder && S == TSnapStyle::ssDefault && !ZV && std::isfinite(IYValue))
    return NearestInOrderBoth(First, N, Difference);
  for (std::int32_t I = First; I < N; ++I) {
    ++ISnapSteps;
    if (!FSeries->IsFinitePoint(I)) continue;  // a point that cannot be placed is no place to snap to
    const double X = XV->Value[I];
    const double Y = YV->Value[I];
    double D;
    if (S == TSnapStyle::ssHorizontal) {
      D = std::fabs(IYValue - Y);
    } else if (S == TSnapStyle::ssVertical) {
      D = std::fabs(IXValue - X);
    } else {
      const double V = (ZV && I < ZV->GetCount()) ? ZV->Value[I] : Y;
      D = std::hypot(IXValue - X, IYValue - V);
    }
    if (Difference == -1 || D < Difference) {
      Difference = D;
      Result = I;
    }
  }
  return Result;
}

std::int32_t TCursorTool::FirstNotBelow(const double* X, std::int32_t First, std::int32_t N, double V) {
  auto Less = [this](double A, double B) {
    ++ISnapSteps;
    return A < B;
  };
  return static_cast<std::int32_t>(std::lower_bound(X + First, X + N, V, Less) - X);
}

std::int32_t TCursorTool::NearestInOrder(std::int32_t First, std::int32_t N, double& Difference) {
  // X ascending: the nearest X is one of the two values around IXValue, each taken at the first
  // index of its run of equal values; on equal distances the lower index wins, as in the walk.
  const double* X = std::as_const(FSeries->GetXValues()->Value).Data();
  const std::int32_t Above = FirstNotBelow(X, First, N, IXValue);
  std::int32_t Result = Above < N ? Above : -1;
  if (Above > First) {
    const std::int32_t Below = FirstNotBelow(X, First, Above, X[Above - 1]);
    if (Result == -1 || std::fabs(IXValue - X[Below]) <= std::fabs(IXValue - X[Result]))
      Result = Below;
  }
  Difference = std::fabs(IXValue - X[Result]);
  return Result;
}

std::int32_t TCursorTool::NearestInOrderBoth(std::int32_t First, std::int32_t N, double& Difference) {
  // A point's distance is never below its distance in X alone; on equal distances the lower
  // index wins, as in the walk.
  const double* X = std::as_const(FSeries->GetXValues()->Value).Data();
  const double* Y = std::as_const(FSeries->GetYValues()->Value).Data();
  const std::int32_t Above = FirstNotBelow(X, First, N, IXValue);
  std::int32_t Result = -1;
  auto Meet = [&](std::int32_t I) {
    ++ISnapSteps;
    const double DX = std::fabs(IXValue - X[I]);
    if (Result != -1 && DX > Difference) return false;
    const double D = std::hypot(IXValue - X[I], IYValue - Y[I]);
    if (Result == -1 || D < Difference || (D == Difference && I < Result)) {
      Difference = D;
      Result = I;
    }
    return true;
  };
  for (std::int32_t I = Above; I < N && Meet(I); ++I) {
  }
  for (std::int32_t I = Above - 1; I >= First && Meet(I); --I) {
  }
  return Result;
}

std::int32_t TCursorTool::SnapToPoint() {
  if (!FSeries || !FSnap) return -1;
  double Difference = 0;
  const std::int32_t Index = NearestPoint(FStyle, Difference);
  if (Index != -1) {
    if (FStyle != TCursorToolStyle::cssHorizontal) IXValue = FSeries->GetXValues()->Value[Index];
    if (FStyle != TCursorToolStyle::cssVertical) IYValue = FSeries->GetYValues()->Value[Index];
  }
  return Index;
}

TCursorClicked TCursorTool::Clicked(std::int32_t x, std::int32_t y) {
  if (!InMouseRectangle(x, y, true)) return TCursorClicked::ccNone;
  ProjectPoint(x, y);
  const double T = FClick;
  const bool OnH = std::fabs(y - IPoint.Y) <= T;
  const bool OnV = std::fabs(x - IPoint.X) <= T;
  if ((FStyle == TCursorToolStyle::cssBoth || FStyle == TCursorToolStyle::cssScope ||
       FStyle == TCursorToolStyle::cssScopeOnly) &&
      OnH && OnV)
    return TCursorClicked::ccBoth;
  if (FStyle != TCursorToolStyle::cssVertical && FStyle != TCursorToolStyle::cssScopeOnly && OnH)
    return TCursorClicked::ccHorizontal;
  if (FStyle == TCursorToolStyle::cssHorizontal || FStyle == TCursorToolStyle::cssScopeOnly)
    return TCursorClicked::ccNone;
  return OnV ? TCursorClicked::ccVertical : TCursorClicked::ccNone;
}

bool TCursorTool::ShouldForceRepaint() {
  return FFullRepaint || !ZelCanDrawXor(FParent) || IsAnnotationVisible(FAxisAnnotation);
}

// Mouse.

void TCursorTool::ChartMouseEvent(TChartMouseEvent AEvent, TMouseButton Button, TShiftState Shift, std::int32_t X,
                                  std::int32_t Y) {
  TZelCustomToolSeries::ChartMouseEvent(AEvent, Button, Shift, X, Y);
  if (!FParent) return;
  switch (AEvent) {
    case TChartMouseEvent::tmePress:
      if (!FFollowMouse) {
        IDragging = Clicked(X, Y);
        if (IDragging != TCursorClicked::ccNone) FParent->SetCancelMouse(true);
      }
      break;
    case TChartMouseEvent::tmeMove: {
      if ((IDragging == TCursorClicked::ccNone && !FFollowMouse) || !InMouseRectangle(X, Y, false)) {
        const TCursorClicked Over = Clicked(X, Y);
        switch (Over) {
          case TCursorClicked::ccHorizontal:
            FParent->SetCursor(crVSplit);
            break;
          case TCursorClicked::ccVertical:
            FParent->SetCursor(crHSplit);
            break;
          case TCursorClicked::ccBoth:
            FParent->SetCursor(crSizeAll);
            break;
          case TCursorClicked::ccNone:
            break;
        }
        FParent->SetCancelMouse(Over != TCursorClicked::ccNone);
        break;
      }
      const bool Force = ShouldForceRepaint();
      TCanvas* Scene = nullptr;
      if (!Force) {
        // Between paints: erase the old lines with the XOR pen and draw the new ones.
        Scene = FParent->GetCanvas()->GetCanvas();
        if (Scene) Scene->BeginScene();
        RedrawCursor();
      }
      CalcValuePositions(X, Y);
      const std::int32_t Index = SnapToPoint();
      CalcScreenPositions();
      if (Force) {
        FParent->Invalidate();
      } else {
        RedrawCursor();
        if (Scene) Scene->EndScene();
      }
      Changed(Index);
      if (OnSnapChange && Index != IOldSnap)
        OnSnapChange(this, Round(IPoint.X), Round(IPoint.Y), IXValue, IYValue, FSeries, Index);
      IOldSnap = Index;
      break;
    }
    case TChartMouseEvent::tmeRelease:
      IDragging = TCursorClicked::ccNone;
      break;
  }
}

// Drawing.

void TCursorTool::ChartEvent(TChartToolEvent AEvent) {
  TZelCustomToolSeries::ChartEvent(AEvent);
  if (AEvent != TChartToolEvent::tdePaintDone) return;
  IAxisValid = true;
  CalcScreenPositions();
  RedrawCursor();
}

void TCursorTool::RedrawCursor() {
  if (!FParent || !FParent->GetCanvas()) return;
  TCanvas3D* C = FParent->GetCanvas();
  C->GetBrush()->SetKind(TBrushKind::None);
  if (FParent->GetMonochrome())
    C->GetPen()->SetColor(0xFFC0C0C0);
  else if (ShouldForceRepaint())
    C->AssignVisiblePenColor(FPen, FPen->GetColor());
  else
    ZelPrepareXorPen(FParent, FPen);
  DrawCursorLines(FParent->GetView3D(), Round(IPoint.X), Round(IPoint.Y));
  if (IsAnnotationVisible(FAxisAnnotation)) DrawAnnotation();
  C->GetPen()->SetMode(TPenMode::pmCopy);
  C->SetPenMode(C->GetPen());
}

void TCursorTool::DrawCursorLines(bool Is3D, std::int32_t x, std::int32_t y) {
  TCanvas3D* C = FParent->GetCanvas();
  const bool Scope = FStyle == TCursorToolStyle::cssScope || FStyle == TCursorToolStyle::cssScopeOnly;
  if (Scope && FScopeStyle != TScopeCursorStyle::scsEmpty) DrawScope(Is3D, x, y);
  if (FStyle == TCursorToolStyle::cssScopeOnly) return;
  const TRectF R = GetAxisRect();
  const TRectF M = MouseRectangle(R, x, y, true);
  const float fx = static_cast<float>(x), fy = static_cast<float>(y);
  const std::int32_t Depth = Is3D ? Z() : 0;
  if (FStyle != TCursorToolStyle::cssVertical && R.Top <= fy && fy <= R.Bottom) {
    if (Is3D)
      C->HorizLine3D(M.Left, M.Right, fy, static_cast<float>(Depth));
    else
      C->Line(M.Left, fy, M.Right, fy);
  }
  if (FStyle != TCursorToolStyle::cssHorizontal && R.Left <= fx && fx <= R.Right) {
    if (Is3D)
      C->VertLine3D(fx, M.Top, M.Bottom, static_cast<float>(Depth));
    else
      C->Line(fx, M.Top, fx, M.Bottom);
  }
}

void TCursorTool::DrawScope(bool Is3D, std::int32_t x, std::int32_t y) {
  TCanvas3D* C = FParent->GetCanvas();
  const std::int32_t Depth = Is3D ? Z() : 0;
  const float fx = static_cast<float>(x), fy = static_cast<float>(y);
  const TRectF S = RectFromCenter(fx, fy, static_cast<float>(FScopeSize), static_cast<float>(FScopeSize));
  const float HS = static_cast<float>(FHorizSize), VS = static_cast<float>(FVertSize);
  auto Line = [&](float X0, float Y0, float X1, float Y1) {
    if (Is3D)
      C->LineWithZ(X0, Y0, X1, Y1, static_cast<float>(Depth));
    else
      C->Line(X0, Y0, X1, Y1);
  };
  auto Rect = [&](const TRectF& R) {
    if (Is3D)
      C->RectangleWithZ(R, Depth);
    else
      C->Rectangle(R.Left, R.Top, R.Right, R.Bottom);
  };
  if (FScopeStyle == TScopeCursorStyle::scsCamera) {
    Rect(TRectF(S.Left - HS, S.Top - VS, S.Right + HS, S.Bottom + VS));
    Line(S.Left, fy, S.Right, fy);
    Line(fx, S.Top, fx, S.Bottom);
    return;
  }
  Line(S.Left - HS, fy, S.Left, fy);
  Line(S.Right, fy, S.Right + HS, fy);
  Line(fx, S.Top - VS, fx, S.Top);
  Line(fx, S.Bottom, fx, S.Bottom + VS);
  switch (FScopeStyle) {
    case TScopeCursorStyle::scsRectangle:
      Rect(S);
      break;
    case TScopeCursorStyle::scsCircle:
      if (Is3D)
        C->EllipseWithZ(S, Depth);
      else
        C->Ellipse(S.Left, S.Top, S.Right, S.Bottom);
      break;
    case TScopeCursorStyle::scsDiamond:
      C->Diamond(S, Depth, Depth);
      break;
    default:
      break;
  }
}

void TCursorTool::DrawAnnotation() {
  TAnnotationTool* A = FAxisAnnotation;
  TChartAxis* H = GetHorizAxis();
  TChartAxis* V = GetVertAxis();
  if (!A || !H || !V) return;
  const bool Horiz = FStyle == TCursorToolStyle::cssHorizontal;
  A->SetText(Horiz ? V->LabelValue(IYValue) : H->LabelValue(IXValue));
  const TRectF B = A->GetBounds();
  const float W = B.Right - B.Left, Ht = B.Bottom - B.Top;
  auto AxisLine = [](TChartAxis* Axis) {
    std::int32_t P = Axis->GetPosAxis();
    if (Axis->GetAxis()->GetVisible()) P += Round(Axis->GetAxis()->GetWidth());
    return P;
  };
  if (Horiz) {
    A->SetTop(Round(IPoint.Y - Ht * 0.5));
    A->SetLeft(Round(AxisLine(V) - W));
  } else {
    A->SetLeft(Round(IPoint.X - W * 0.5));
    A->SetTop(AxisLine(H));
  }
  A->DoDrawText(FParent);
}

// ---------------------------------------------------------------------------------------------
// Published properties

// The axis annotation is the tool's child component, not a property.
ZEL_BEGIN_PUBLISHED(TCursorTool)
  P::Prop("ClickTolerance", &Self::GetClickTolerance, &Self::SetClickTolerance, Default(3)),
  P::Prop("FollowMouse", &Self::GetFollowMouse, &Self::SetFollowMouse, Default(false)),
  P::Prop("FullRepaint", &Self::GetFullRepaint, &Self::SetFullRepaint, Default(false)),
  P::Prop("HorizSize", &Self::GetHorizSize, &Self::SetHorizSize, Default(0)),
  P::Obj("Pen", &Self::GetPen),
  P::Prop("ScopeSize", &Self::GetScopeSize, &Self::SetScopeSize, Default(4)),
  P::Prop("ScopeStyle", &Self::GetScopeStyle, &Self::SetScopeStyle, Default(TScopeCursorStyle::scsRectangle)),
  P::Prop("Snap", &Self::GetSnap, &Self::SetSnap, Default(false)),
  P::Prop("SnapStyle", &Self::GetSnapStyle, &Self::SetSnapStyle, Default(TSnapStyle::ssDefault)),
  P::Prop("Style", &Self::GetStyle, &Self::SetStyle, Default(TCursorToolStyle::cssBoth)),
  P::Prop("UseSeriesZ", &Self::GetUseSeriesZ, &Self::SetUseSeriesZ, Default(false)),
  P::Prop("VertSize", &Self::GetVertSize, &Self::SetVertSize, Default(0)),
  P::Event("OnChange", &Self::OnChange),
  P::Event("OnSnapChange", &Self::OnSnapChange),
ZEL_END_PUBLISHED

}  // namespace zel
