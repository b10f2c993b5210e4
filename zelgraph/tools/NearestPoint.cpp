#include "zelgraph/tools/NearestPoint.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/Math.h"
#include "platform/SysUtils.h"
#include "zelgraph/canvas/Canvas3D.h"
#include "zelgraph/canvas/CanvasScopes.h"
#include "zelgraph/canvas/Geometry.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/AxisPanel.h"
#include "zelgraph/engine/ValueList.h"
#include "zelgraph/procs/Procs.h"
#include "zelgraph/tools/Cursor.h"
#include "zelgraph/tools/ToolTexts.h"

namespace zel {

namespace {

// The depth pixel of a point's "Z" value, when the series has such values.
bool PointDepth(TChartSeries* S, std::int32_t Index, std::int32_t& Z) {
  if (!S->GetParentChart() || !S->GetParentChart()->GetDepthAxis()) return false;
  TChartValueList* L = S->GetZValueList();
  if (!L || Index >= L->GetCount()) return false;
  Z = S->GetParentChart()->GetDepthAxis()->CalcPosValue(L->Value[Index]);
  return true;
}

}  // namespace

ZEL_DEFINE_COMPONENT_CLASS(TNearestTool, TZelCustomToolSeries)

TNearestTool::TNearestTool(TComponent* AOwner) : TZelCustomToolSeries(AOwner) {
  FLinePen = CreateChartPen();
  FBrush->InitKind(TBrushKind::None);
  FPen->InitStyle(TPenStyle::psDot);
  FPen->InitColor(0xFFFFFFFF);
  FPen->InitWidth(3);
}

TNearestTool::~TNearestTool() { FreeAndNil(FLinePen); }

void TNearestTool::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TNearestTool*>(Source)) {
    FDistance = S->FDistance;
    FFullRepaint = S->FFullRepaint;
    FHint = S->FHint;
    FHintStyle = S->FHintStyle;
    FLinePen->Assign(S->FLinePen);
    FLinePen->SetColor(S->FLinePen->GetColor());
    FSize = S->FSize;
    FStyle = S->FStyle;
  }
  TZelCustomToolSeries::Assign(Source);
}

String TNearestTool::Description() const { return ZelMsg_NearestTool; }

String TNearestTool::LongDescription() const { return ZelMsg_NearestToolDesc; }

bool TNearestTool::GetDrawLine() const { return FLinePen->GetVisible(); }
void TNearestTool::SetDrawLine(bool Value) { FLinePen->SetVisible(Value); }

void TNearestTool::SetLinePen(TZelPen* Value) {
  if (!Value || Value == FLinePen) return;
  FLinePen->Assign(Value);
  FLinePen->SetColor(Value->GetColor());
}

void TNearestTool::SetStyle(TNearestToolStyle Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  Repaint();
}

std::int32_t TNearestTool::GetNearestPoint(TChartSeries* Series, std::int32_t X, std::int32_t Y,
                                           std::int32_t MaxDistance) {
  return GetNearestPoint(Series, X, Y, false, MaxDistance);
}

std::int32_t TNearestTool::GetNearestPoint(TChartSeries* Series, std::int32_t X, std::int32_t Y, bool IncludeNulls,
                                           std::int32_t MaxDistance) {
  if (!Series || !Series->GetParentChart()) return -1;
  const std::int32_t Hit = Series->Clicked(X, Y);
  if (Hit != -1) return Hit;
  std::int32_t First = 0, Last = -1;
  if (!ZelGetFirstLastSeries(Series, First, Last)) return -1;
  TCustomAxisPanel* Chart = Series->GetParentChart();
  TCanvas3D* C = Chart->GetCanvas();
  const TRectF& ChartRect = Chart->GetChartRect();
  std::int32_t Result = -1;
  std::int32_t Best = 10000;
  // The nearest point: the smallest distance, on equal distances the lowest index. A point that
  // cannot be placed is never the nearest, nulls included or not.
  auto Consider = [&](std::int32_t I) {
    ++NearestVisits;
    if (!Series->IsFinitePoint(I) || (!IncludeNulls && Series->IsNull(I))) return;
    std::int32_t PX = 0, PY = 0;
    Series->CalcSelectionPos(I, PX, PY);
    std::int32_t Depth = 0;
    if (Series->HasZValues) {
      if (C && PointDepth(Series, I, Depth)) {
        const TPointF P = C->Calculate3DPosition(PX, PY, Depth);
        PX = Round(P.X);
        PY = Round(P.Y);
      }
    } else if (!PointInRect(ChartRect, static_cast<float>(PX), static_cast<float>(PY))) {
      return;
    }
    const std::int32_t D = Round(std::hypot(static_cast<double>(X) - PX, static_cast<double>(Y) - PY));
    if ((MaxDistance == 0 || D < MaxDistance) && (D < Best || (D == Best && I < Result))) {
      Result = I;
      Best = D;
    }
  };
  Last = std::min(Last, Series->Count() - 1);
  TChartAxis* H = Series->GetGetHorizAxis();
  TChartValueList* XV = Series->GetXValues();
  if (Series->HasZValues || !Series->YMandatory || !H || H->GetLogarithmic() || Last - First < 8 ||
      XV->GetOrder() != TChartListOrder::loAscending || !XV->IsAscendingFinite()) {
    for (std::int32_t I = First; I <= Last; ++I) Consider(I);
    return Result;
  }
  // X in order on a linear axis: the columns are monotonic in the index. From the mouse's column
  // outwards, a point whose column lies farther than the best distance cannot be nearer (the
  // distance is at least the horizontal one), nor can any point beyond it.
  const bool Increasing = !H->GetInverted();
  auto Column = [&](std::int32_t I) { return static_cast<std::int64_t>(Series->CalcXPos(I)); };
  std::int32_t A = First, B = Last + 1;
  while (A < B) {
    const std::int32_t M = A + (B - A) / 2;
    if (Increasing ? Column(M) < X : Column(M) > X)
      A = M + 1;
    else
      B = M;
  }
  auto Far = [&](std::int32_t I) {
    const std::int64_t DX = std::abs(Column(I) - X);
    return DX > Best || (MaxDistance != 0 && DX >= MaxDistance);
  };
  std::int32_t Left = A - 1, Right = A;
  bool LeftOpen = Left >= First, RightOpen = Right <= Last;
  while (LeftOpen || RightOpen) {
    if (RightOpen) {
      if (Far(Right)) {
        RightOpen = false;
      } else {
        Consider(Right);
        RightOpen = ++Right <= Last;
      }
    }
    if (LeftOpen) {
      if (Far(Left)) {
        LeftOpen = false;
      } else {
        Consider(Left);
        LeftOpen = --Left >= First;
      }
    }
  }
  return Result;
}

void TNearestTool::InternalShowHint(TChartSeries* Series, std::int32_t ValueIndex, TSeriesMarksStyle Style, TPointF P,
                                    const TMarksTipGetText& OnGetText, TMarksTipTool* Tool, TAlphaColor, TZelFont*) {
  ZelShowMarksTip(Series, ValueIndex, Style, P, OnGetText, Tool);
}

bool TNearestTool::ShouldForceRepaint() const {
  return FFullRepaint || !ZelCanDrawXor(FParent);
}

void TNearestTool::PreparePen(TZelPen* Pen, bool Force) {
  if (Force)
    FParent->GetCanvas()->AssignVisiblePen(Pen);
  else
    ZelPrepareXorPen(FParent, Pen);
}

void TNearestTool::PaintHint() {
  if (!FParent || !FParent->GetCanvas() || !FSeries || !FSeries->GetActive()) return;
  if (Point == -1 || Point >= FSeries->Count()) return;
  TCanvas3D* C = FParent->GetCanvas();
  const bool Force = ShouldForceRepaint();
  const bool Is3D = FParent->GetView3D();
  PreparePen(FPen, Force);
  std::int32_t X = 0, Y = 0;
  FSeries->CalcSelectionPos(Point, X, Y);
  std::int32_t Z0 = FSeries->StartZ;
  PointDepth(FSeries, Point, Z0);
  if (FStyle != TNearestToolStyle::hsNone) {
    const TRectF R = RectFromCenter(static_cast<float>(X), static_cast<float>(Y), static_cast<float>(FSize),
                                    static_cast<float>(FSize));
    C->AssignBrush(FBrush, 0xFF000000);
    C->SetBackMode(TCanvasBackMode::cbmTransparent);
    switch (FStyle) {
      case TNearestToolStyle::hsCircle:
        if (Is3D)
          C->EllipseWithZ(R, Z0);
        else
          C->Ellipse(R.Left, R.Top, R.Right, R.Bottom);
        break;
      case TNearestToolStyle::hsRectangle:
        if (Is3D)
          C->RectangleWithZ(R, Z0);
        else
          C->Rectangle(R.Left, R.Top, R.Right, R.Bottom);
        break;
      case TNearestToolStyle::hsDiamond:
        C->Diamond(R, Z0, Z0);
        break;
      case TNearestToolStyle::hsSeries: {
        // The series draws the point with the tool's pen in place of its own.
        TOwned<TZelPen> Saved(Create<TZelPen>());
        Saved->Assign(FSeries->GetPen());
        Saved->SetColor(FSeries->GetPen()->GetColor());
        FSeries->GetPen()->Assign(FPen);
        FSeries->GetPen()->SetColor(FPen->GetColor());
        TRestoreOnExit RestorePen([&] {
          FSeries->GetPen()->Assign(Saved.get());
          FSeries->GetPen()->SetColor(Saved->GetColor());
        });
        FSeries->DrawValue(Point);
        break;
      }
      case TNearestToolStyle::hsNone:
        break;
    }
  }
  if (GetDrawLine()) {
    PreparePen(FLinePen, Force);
    if (Is3D) {
      C->MoveTo(IMouse.X, IMouse.Y);
      C->LineTo3D(static_cast<float>(X), static_cast<float>(Y), static_cast<float>(Z0));
    } else {
      C->Line(IMouse.X, IMouse.Y, static_cast<float>(X), static_cast<float>(Y));
    }
  }
  if (!Force) {
    C->GetPen()->SetMode(TPenMode::pmCopy);
    C->SetPenMode(C->GetPen());
  }
}

void TNearestTool::ChartEvent(TChartToolEvent AEvent) {
  TZelCustomToolSeries::ChartEvent(AEvent);
  if (AEvent == TChartToolEvent::tdePaintDone) {
    PaintHint();
  } else if (AEvent == TChartToolEvent::tdeMouseLeft && Point != -1) {
    const bool Force = ShouldForceRepaint();
    if (!Force) PaintHint();
    Point = -1;
    if (Force) Repaint();
  }
}

void TNearestTool::ChartMouseEvent(TChartMouseEvent AEvent, TMouseButton Button, TShiftState Shift, std::int32_t X,
                                   std::int32_t Y) {
  TZelCustomToolSeries::ChartMouseEvent(AEvent, Button, Shift, X, Y);
  if (AEvent != TChartMouseEvent::tmeMove || !FSeries || !FParent) return;
  const bool Force = ShouldForceRepaint();
  if (!Force) PaintHint();
  Point = GetNearestPoint(FSeries, X, Y, FDistance);
  IMouse = TPointF(static_cast<float>(X), static_cast<float>(Y));
  if (!Force) PaintHint();
  if (OnChange) OnChange(this);
  if (Force) Repaint();
  if (FHint) {
    if (Point == -1)
      InternalCancelHint(FParent);
    else
      InternalShowHint(FSeries, Point, FHintStyle, IMouse, OnGetHint, nullptr);
  }
}

// ---------------------------------------------------------------------------------------------
// Published properties

// DrawLine is the line pen's visibility: read under that name, written under "LinePen".
ZEL_BEGIN_PUBLISHED(TNearestTool)
  P::Obj("Brush", &Self::GetBrush),
  P::Prop("Distance", &Self::GetDistance, &Self::SetDistance, Default(0)),
  P::Prop("DrawLine", &Self::GetDrawLine, &Self::SetDrawLine, Never),
  P::Prop("FullRepaint", &Self::GetFullRepaint, &Self::SetFullRepaint, Default(true)),
  P::Prop("Hint", &Self::GetHint, &Self::SetHint, Default(false)),
  P::Prop("HintStyle", &Self::GetHintStyle, &Self::SetHintStyle, Default(TSeriesMarksStyle::smsLabelValue)),
  P::Obj("LinePen", &Self::GetLinePen),
  P::Obj("Pen", &Self::GetPen),
  P::Prop("Size", &Self::GetSize, &Self::SetSize, Default(20)),
  P::Prop("Style", &Self::GetStyle, &Self::SetStyle, Default(TNearestToolStyle::hsCircle)),
  P::Event("OnChange", &Self::OnChange),
  P::Event("OnGetHint", &Self::OnGetHint),
ZEL_END_PUBLISHED

}  // namespace zel
