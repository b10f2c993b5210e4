#include "zelgraph/tools/AxisArrow.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/Services.h"
#include "zelgraph/canvas/Canvas3D.h"
#include "zelgraph/chart/Chart.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/AxisPanel.h"
#include "zelgraph/engine/SeriesList.h"
#include "zelgraph/tools/ToolTexts.h"

namespace zel {

bool AnySeriesBothAxis(TChartAxis* Axis, TChartAxis*& Other) {
  Other = nullptr;
  TCustomAxisPanel* Chart = Axis ? Axis->GetParentChart() : nullptr;
  if (!Chart) return false;
  const bool Horizontal = Axis->GetHorizontal();
  if (Horizontal)
    Other = Axis == Chart->GetTopAxis() ? Chart->GetBottomAxis() : Chart->GetTopAxis();
  else
    Other = Axis == Chart->GetLeftAxis() ? Chart->GetRightAxis() : Chart->GetLeftAxis();
  for (std::int32_t I = 0; I < Chart->SeriesCount(); ++I) {
    TChartSeries* S = Chart->GetSeries(I);
    const bool Both = Horizontal ? S->GetHorizAxis() == THorizAxis::aBothHorizAxis
                                 : S->GetVertAxis() == TVertAxis::aBothVertAxis;
    if (Both && S->AssociatedToAxis(Axis)) return true;
  }
  return false;
}

ZEL_DEFINE_COMPONENT_CLASS(TAxisArrowTool, TZelCustomToolAxis)

String TAxisArrowTool::Description() const { return ZelMsg_AxisArrowTool; }

String TAxisArrowTool::LongDescription() const { return ZelMsg_AxisArrowDesc; }

void TAxisArrowTool::SetPosition(TAxisArrowToolPosition Value) {
  if (Value == FPosition) return;
  FPosition = Value;
  Repaint();
}

TChartAxis* TAxisArrowTool::LiveAxis() const {
  // A custom axis may have been freed since it was given to the tool.
  return FParent ? FParent->OwnAxis(FAxis) : nullptr;
}

std::int32_t TAxisArrowTool::ClickedArrow(std::int32_t X, std::int32_t Y) {
  TChartAxis* A = LiveAxis();
  if (!A) return -1;
  const std::int32_t Across = A->GetHorizontal() ? Y : X;
  const std::int32_t AlongAxis = A->GetHorizontal() ? X : Y;
  if (std::abs(Across - A->GetPosAxis()) >= std::max(3, FHeadWidth / 2)) return -1;
  if ((FPosition == TAxisArrowToolPosition::aaStart || FPosition == TAxisArrowToolPosition::aaBoth) &&
      A->IStartPos < AlongAxis && AlongAxis < double(A->IStartPos) + FLength)
    return 0;
  if ((FPosition == TAxisArrowToolPosition::aaEnd || FPosition == TAxisArrowToolPosition::aaBoth) &&
      double(A->IEndPos) - FLength < AlongAxis && AlongAxis < A->IEndPos)
    return 1;
  return -1;
}

void TAxisArrowTool::ChartEvent(TChartToolEvent AEvent) {
  TZelCustomToolAxis::ChartEvent(AEvent);
  if (AEvent != TChartToolEvent::tdePaintDone) return;
  TChartAxis* A = LiveAxis();
  TCanvas3D* C = FParent ? FParent->GetCanvas() : nullptr;
  if (!A || !C) return;
  C->AssignBrush(FBrush, FBrush->GetColor(), FBrush->GetBackColor());
  C->AssignVisiblePen(FPen);
  const std::int32_t Z = (FParent->GetView3D() && A->GetOtherSide()) ? FParent->GetWidth3D() : 0;
  const float Pos = static_cast<float>(A->GetPosAxis());
  // (Along the axis in double: a program may give any length.)
  auto Point = [&](double AlongAxis) {
    const float V = static_cast<float>(AlongAxis);
    return A->GetHorizontal() ? TPointF(V, Pos) : TPointF(Pos, V);
  };
  if (FPosition == TAxisArrowToolPosition::aaStart || FPosition == TAxisArrowToolPosition::aaBoth)
    C->Arrow(true, Point(double(A->IStartPos) + FLength), Point(A->IStartPos), FHeadWidth, FHeadWidth, Z - 5, Z + 5,
             FSizePercent);
  if (FPosition == TAxisArrowToolPosition::aaEnd || FPosition == TAxisArrowToolPosition::aaBoth)
    C->Arrow(true, Point(double(A->IEndPos) - FLength), Point(A->IEndPos), FHeadWidth, FHeadWidth, Z - 5, Z + 5,
             FSizePercent);
}

void TAxisArrowTool::DoScroll(TChartAxis* Axis, double Offset) {
  if (!std::isfinite(Offset)) return;
  bool AllowScroll = true;
  if (auto* Chart = dynamic_cast<TCustomChart*>(FParent); Chart && Chart->OnAllowScroll) {
    // Only a refusal counts: the range the handler gets is a copy.
    double AMin = Axis->GetMinimum() + Offset;
    double AMax = Axis->GetMaximum() + Offset;
    Chart->OnAllowScroll(Axis, AMin, AMax, AllowScroll);
  }
  if (!AllowScroll) return;
  Axis->Scroll(Offset, false);
  TChartAxis* Other = nullptr;
  if (AnySeriesBothAxis(Axis, Other) && Other) Other->Scroll(Offset, false);
  if (FParent && FParent->OnScroll) FParent->OnScroll(FParent);
}

void TAxisArrowTool::ChartMouseEvent(TChartMouseEvent AEvent, TMouseButton Button, TShiftState Shift,
                                     std::int32_t X, std::int32_t Y) {
  TZelCustomToolAxis::ChartMouseEvent(AEvent, Button, Shift, X, Y);
  TChartAxis* A = LiveAxis();
  if (!A || !A->GetVisible()) return;
  switch (AEvent) {
    case TChartMouseEvent::tmePress: {
      if (FScrollPercent == 0) break;
      const std::int32_t Hit = ClickedArrow(X, Y);
      if (Hit < 0) break;
      double Step = (A->GetMaximum() - A->GetMinimum()) * FScrollPercent / 100;
      if (!std::isfinite(Step)) Step = A->RangePart(FScrollPercent / 100.0);
      if (FScrollInverted) Step = -Step;
      DoScroll(A, Hit == 0 ? Step : -Step);
      FParent->SetCancelMouse(true);
      if (OnClick) OnClick(this, Hit == 0);
      break;
    }
    case TChartMouseEvent::tmeMove:
      if (ClickedArrow(X, Y) >= 0) {
        FParent->SetCursor(crHandPoint);
        FParent->SetCancelMouse(true);
      }
      break;
    case TChartMouseEvent::tmeRelease:
      break;
  }
}

// ---------------------------------------------------------------------------------------------
// Published properties

ZEL_BEGIN_PUBLISHED(TAxisArrowTool)
  P::Obj("Brush", &Self::GetBrush),
  P::Prop("HeadWidth", &Self::GetHeadWidth, &Self::SetHeadWidth, Default(8)),
  P::Prop("Length", &Self::GetLength, &Self::SetLength, Default(16)),
  P::Obj("Pen", &Self::GetPen),
  P::Prop("Position", &Self::GetPosition, &Self::SetPosition, Default(TAxisArrowToolPosition::aaBoth)),
  P::Prop("ScrollInverted", &Self::GetScrollInverted, &Self::SetScrollInverted, Default(false)),
  P::Prop("ScrollPercent", &Self::GetScrollPercent, &Self::SetScrollPercent, Default(10)),
  P::Prop("SizePercent", &Self::GetSizePercent, &Self::SetSizePercent, Default(50)),
  P::Event("OnClick", &Self::OnClick),
ZEL_END_PUBLISHED

}  // namespace zel
