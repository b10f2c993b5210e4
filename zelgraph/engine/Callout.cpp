#include "zelgraph/engine/Callout.h"

#include "platform/Math.h"
#include "zelgraph/canvas/Canvas3D.h"
#include "zelgraph/engine/Marks.h"
#include "zelgraph/engine/Panel.h"
#include "zelgraph/engine/Series.h"

namespace zel {

bool ZelCheckMarkArrowColor = false;

ZEL_DEFINE_CLASS(TCallout, TSeriesPointer)

TCallout::TCallout(TChartSeries* AOwner) : TSeriesPointer(AOwner) {
  FArrow = new TWhitePen(ChangeHandler());
  FInflate = true;
  FFullGradient = true;
  DefaultFullGradient = true;
  FStyle = TSeriesPointerStyle::psRectangle;
  FVisible = true;
  FDraw3D = false;
  FArrowHeadSize = 8;
  FBrush->InitColor(0xFF000000);
}

TCallout::~TCallout() { FArrow->Free(); }

void TCallout::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TCallout*>(Source)) {
    FDistance = S->FDistance;
    FArrow->Assign(S->FArrow);
    FArrowHead = S->FArrowHead;
    FArrowHeadSize = S->FArrowHeadSize;
  }
  inherited::Assign(Source);
}

void TCallout::SetArrow(TZelPen* Value) { FArrow->Assign(Value); }

void TCallout::SetArrowHead(TArrowHeadStyle Value) {
  if (FArrowHead != Value) {
    FArrowHead = Value;
    Repaint();
  }
}

void TCallout::SetArrowHeadSize(std::int32_t Value) {
  if (FArrowHeadSize != Value) {
    FArrowHeadSize = Value;
    Repaint();
  }
}

void TCallout::SetDistance(std::int32_t Value) {
  if (FDistance != Value) {
    FDistance = Value;
    Repaint();
  }
}

void TCallout::Draw(TAlphaColor AColor, TPointF ArrowFrom, TPointF MidPoint, TPointF ArrowTo, int AZ, bool HasMid) {
  Draw(FParent, AColor, ArrowFrom, MidPoint, ArrowTo, AZ, HasMid);
}

void TCallout::Draw(TCustomZelPanel* Panel, TAlphaColor AColor, TPointF ArrowFrom, TPointF MidPoint, TPointF ArrowTo,
                    int AZ, bool HasMid) {
  if (!Panel || !Panel->GetCanvas()) return;
  TCanvas3D* C = Panel->GetCanvas();
  const bool Is3D = Panel->GetView3D();
  if (FArrow->GetVisible()) {
    PrepareCanvas(C, FBrush->GetColor());
    if (FArrowHead != TArrowHeadStyle::ahSolid) C->GetBrush()->SetKind(TBrushKind::None);
    TAlphaColor PenColor = FArrow->GetColor();
    if (ZelCheckMarkArrowColor && (PenColor == AColor || PenColor == Panel->GetColor()))
      PenColor = Panel->GetColor() == 0xFF000000 ? 0xFFFFFFFF : 0xFF000000;
    C->AssignVisiblePenColor(FArrow, PenColor);
    if (FArrowHead != TArrowHeadStyle::ahNone) {
      C->Arrow(FArrowHead == TArrowHeadStyle::ahSolid, ArrowTo, ArrowFrom, FArrowHeadSize, FArrowHeadSize, AZ);
    } else if (Is3D) {
      if (HasMid) {
        C->LineWithZ(ArrowFrom, MidPoint, AZ);
        C->LineWithZ(MidPoint, ArrowTo, AZ);
      } else {
        C->LineWithZ(ArrowFrom, ArrowTo, AZ);
      }
    } else if (HasMid) {
      C->Line(ArrowFrom, MidPoint);
      C->Line(MidPoint, ArrowTo);
    } else {
      C->Line(ArrowFrom, ArrowTo);
    }
  }
  if (FArrowHead == TArrowHeadStyle::ahNone && FVisible) {
    PrepareCanvas(C, FBrush->GetColor());
    TPointF P = ArrowFrom;
    if (Is3D) P = C->Calculate3DPosition(ArrowFrom, AZ);
    DrawPointer(C, false, Round(P.X), Round(P.Y), FHorizSize, FVertSize, FBrush->GetColor(), FStyle);
  }
}

ZEL_DEFINE_CLASS(TMarksCallout, TCallout)

TMarksCallout::TMarksCallout(TChartSeries* AOwner) : TCallout(AOwner) {
  FVisible = false;
  DefaultVisible = false;
}

void TMarksCallout::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TMarksCallout*>(Source)) FLength = S->FLength;
  inherited::Assign(Source);
}

void TMarksCallout::SetLength(std::int32_t Value) {
  if (FSeries)
    FSeries->SetIntegerProperty(FLength, Value);
  else
    FLength = Value;
}

void TMarksCallout::ApplyArrowLength(TSeriesMarkPosition* Position) const {
  if (!Position) return;
  const float L = float(FLength + FDistance);
  Position->LeftTop.Y -= L;
  Position->ArrowTo.Y -= L;
  Position->ArrowFrom.Y -= float(FDistance);
}

// ---------------------------------------------------------------------------------------------
// Published properties

ZEL_BEGIN_PUBLISHED(TCallout)
  P::Obj("Arrow", &Self::GetArrow),
  P::Prop("ArrowHead", &Self::GetArrowHead, &Self::SetArrowHead, Default(TArrowHeadStyle::ahNone)),
  P::Prop("ArrowHeadSize", &Self::GetArrowHeadSize, &Self::SetArrowHeadSize, Default(8)),
  P::Prop("Distance", &Self::GetDistance, &Self::SetDistance, Default(0)),
  P::Prop("Draw3D", &Self::GetDraw3D, &Self::SetDraw3D, Default(false)),
ZEL_END_PUBLISHED

ZEL_BEGIN_PUBLISHED(TMarksCallout)
  P::Prop("Length", &Self::GetLength, &Self::SetLength, &Self::IsLengthStored),
ZEL_END_PUBLISHED

}  // namespace zel
