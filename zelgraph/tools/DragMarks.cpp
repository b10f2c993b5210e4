#include "zelgraph/tools/DragMarks.h"

#include "platform/Services.h"
#include "zelgraph/engine/AxisPanel.h"
#include "zelgraph/engine/Marks.h"
#include "zelgraph/engine/Series.h"
#include "zelgraph/tools/ToolTexts.h"

namespace zel {

ZEL_DEFINE_COMPONENT_CLASS(TDragMarksTool, TZelCustomToolSeries)

TDragMarksTool::~TDragMarksTool() = default;

String TDragMarksTool::Description() const { return ZelMsg_DragMarksTool; }

String TDragMarksTool::LongDescription() const { return ZelMsg_DragMarksDesc; }

void TDragMarksTool::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  // The series of the held mark went away: the drag ends.
  if (Operation == TOperation::opRemove && AComponent == ISeries) {
    ISeries = nullptr;
    Index = -1;
  }
}

void TDragMarksTool::SetDragSeries(TChartSeries* Value) {
  ISeries = Value;
  if (ISeries) ISeries->FreeNotification(this);
}

TChartSeries* TDragMarksTool::MarkAt(std::int32_t X, std::int32_t Y, bool CheckVisible, std::int32_t& AIndex) const {
  AIndex = -1;
  auto Test = [&](TChartSeries* S) {
    if (!S || !S->GetActive() || !S->HasMarks()) return false;
    TSeriesMarks* Marks = S->GetMarks();
    if (CheckVisible && !Marks->GetVisible()) return false;
    AIndex = Marks->Clicked(X, Y);
    return AIndex != -1;
  };
  if (FSeries) return Test(FSeries) ? FSeries : nullptr;
  if (!FParent) return nullptr;
  for (std::int32_t I = FParent->SeriesCount() - 1; I >= 0; --I) {
    TChartSeries* S = FParent->GetSeries(I);
    if (Test(S)) return S;
  }
  AIndex = -1;
  return nullptr;
}

void TDragMarksTool::ChartMouseEvent(TChartMouseEvent AEvent, TMouseButton Button, TShiftState Shift,
                                     std::int32_t X, std::int32_t Y) {
  inherited::ChartMouseEvent(AEvent, Button, Shift, X, Y);
  if (!FParent) return;
  switch (AEvent) {
    case TChartMouseEvent::tmePress: {
      // The press does not ask whether the marks are shown.
      std::int32_t Hit = -1;
      if (TChartSeries* S = MarkAt(X, Y, false, Hit)) {
        SetDragSeries(S);
        Index = Hit;
        IOldX = X;
        IOldY = Y;
        FParent->SetCancelMouse(true);
      }
      break;
    }
    case TChartMouseEvent::tmeMove: {
      if (Index == -1 || !ISeries) {
        std::int32_t Hit = -1;
        if (MarkAt(X, Y, true, Hit)) {
          FParent->SetCursor(crHandPoint);
          FParent->SetCancelMouse(true);
        }
        break;
      }
      TSeriesMarkPosition* P = ISeries->GetMarks()->GetPositions()->Get(Index);
      if (!P) break;
      P->Custom = true;
      P->ArrowFix = true;
      P->Offset(TPointF(static_cast<float>(X - IOldX), static_cast<float>(Y - IOldY)));
      IOldX = X;
      IOldY = Y;
      FParent->SetCancelMouse(true);
      FParent->Invalidate();
      if (OnDraggingMark) OnDraggingMark(this, Index, Button, Shift, X, Y);
      break;
    }
    case TChartMouseEvent::tmeRelease:
      if (OnDraggedMark && Index != -1) OnDraggedMark(this, Index, Button, Shift, X, Y);
      Index = -1;
      ISeries = nullptr;
      break;
  }
}

// ---------------------------------------------------------------------------------------------
// Published properties

ZEL_BEGIN_PUBLISHED(TDragMarksTool)
  P::Event("OnDraggedMark", &Self::OnDraggedMark),
  P::Event("OnDraggingMark", &Self::OnDraggingMark),
ZEL_END_PUBLISHED

}  // namespace zel
