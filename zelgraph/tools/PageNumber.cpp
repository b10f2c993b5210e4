#include "zelgraph/tools/PageNumber.h"

#include <span>

#include "platform/Services.h"
#include "platform/SysUtils.h"
#include "zelgraph/canvas/Canvas3D.h"
#include "zelgraph/canvas/Gradient.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/chart/Registries.h"
#include "zelgraph/constants/Constants.h"
#include "zelgraph/engine/AxisPanel.h"
#include "zelgraph/procs/Procs.h"
#include "zelgraph/tools/ToolTexts.h"

namespace zel {

ZEL_DEFINE_COMPONENT_CLASS(TPageNumTool, TAnnotationTool)

namespace {

TZelBrush* MakeButtonBrush(TPageNumTool* Tool, TAlphaColor From, TAlphaColor To) {
  auto* B = Create<TZelBrush>([Tool](TObject* Sender) { Tool->CanvasChanged(Sender); });
  TZelGradient* G = B->GetGradient();
  // The button colours are the gradient's streaming defaults.
  G->IDefStart = From;
  G->IDefEnd = To;
  G->IDefVisible = true;
  G->SetStartColor(From);
  G->SetEndColor(To);
  G->SetVisible(true);
  B->InitKind(TBrushKind::Gradient);
  return B;
}

}  // namespace

TPageNumTool::TPageNumTool(TComponent* AOwner) : TAnnotationTool(AOwner) {
  FFormat = ZelMsg_PageOfPages;
  FDisabledBrush = MakeButtonBrush(this, 0xFFFFFFFF, 0xFFC0C0C0);
  FEnabledBrush = MakeButtonBrush(this, 0xFF000000, 0xFFC0C0C0);
  FButtonPen = CreateChartPen();
}

void TPageNumTool::AfterConstruction() {
  inherited::AfterConstruction();
  FShape->InitTextAlignment(TAlignment::taCenter);
}

TPageNumTool::~TPageNumTool() {
  FreeAndNil(FButtonPen);
  FreeAndNil(FDisabledBrush);
  FreeAndNil(FEnabledBrush);
}

void TPageNumTool::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TPageNumTool*>(Source)) {
    FButtonWidth = S->FButtonWidth;
    FButtonPen->Assign(S->FButtonPen);
    GetEnabledButton()->Assign(S->GetEnabledButton());
    GetDisabledButton()->Assign(S->GetDisabledButton());
    FFormat = S->FFormat;
    FButtons = S->FButtons;
  }
  inherited::Assign(Source);
}

String TPageNumTool::Description() const { return ZelMsg_PageNumber; }

String TPageNumTool::LongDescription() const { return ZelMsg_PageNumberDesc; }

void TPageNumTool::SetButtonPen(TZelPen* Value) {
  if (Value && Value != FButtonPen) FButtonPen->Assign(Value);
}

TZelGradient* TPageNumTool::GetDisabledButton() const { return FDisabledBrush->GetGradient(); }
void TPageNumTool::SetDisabledButton(TZelGradient* Value) {
  if (Value) GetDisabledButton()->Assign(Value);
}
TZelGradient* TPageNumTool::GetEnabledButton() const { return FEnabledBrush->GetGradient(); }
void TPageNumTool::SetEnabledButton(TZelGradient* Value) {
  if (Value) GetEnabledButton()->Assign(Value);
}

void TPageNumTool::SetFormat(const String& Value) {
  Format(Value, {1, 1});  // raises for a bad format before anything changes
  SetStringProperty(FFormat, Value);
}

bool TPageNumTool::IsFormatStored() const { return FFormat != ZelMsg_PageOfPages; }

std::int32_t TPageNumTool::CurrentPage() const { return FParent ? FParent->GetPages()->GetCurrent() : 1; }

std::int32_t TPageNumTool::PageCount() const { return FParent ? FParent->GetPages()->Count() : 1; }

String TPageNumTool::GetText() { return Format(FFormat, {CurrentPage(), PageCount()}); }

std::int32_t TPageNumTool::GetXOffset() {
  if (!FButtons) return 0;
  switch (GetTextAlignment()) {
    case TAlignment::taLeftJustify:
      return FButtonWidth + 4;
    case TAlignment::taRightJustify:
      return -(FButtonWidth + 4);
    default:
      return 0;
  }
}

TRectF TPageNumTool::GetTextBounds(TCustomAxisPanel* Chart, const TRectF& R, std::int32_t& X, std::int32_t& Y) {
  TRectF Result = inherited::GetTextBounds(Chart, R, X, Y);
  if (GetAutoSize() && FButtons) {
    const float Grow = static_cast<float>(2 * FButtonWidth + 8);
    if (FShape->GetCustomPosition() || FPosition == TAnnotationPosition::ppLeftTop ||
        FPosition == TAnnotationPosition::ppLeftBottom)
      Result.Right += Grow;
    else
      Result.Left -= Grow;
  }
  // A box the chart places is where it was drawn; one placed by the program keeps its own place
  // (in percent of the chart, maybe), so that the next paint finds it again.
  if (!FShape->GetCustomPosition()) FShape->ShapeBounds = Result;
  return Result;
}

void TPageNumTool::ButtonTriangles(const TRectF& B, TPointF (&Left)[3], TPointF (&Right)[3]) const {
  const float W = static_cast<float>(FButtonWidth);
  const float Mid = (B.Top + B.Bottom) * 0.5f;
  Left[0] = TPointF(B.Left + 3, Mid);
  Left[1] = TPointF(B.Left + 3 + W, B.Top + 4);
  Left[2] = TPointF(B.Left + 3 + W, B.Bottom - 4);
  Right[0] = TPointF(B.Right - 4, Mid);
  Right[1] = TPointF(B.Right - 4 - W, B.Top + 4);
  Right[2] = TPointF(B.Right - 4 - W, B.Bottom - 4);
}

void TPageNumTool::DoDrawText(TCustomAxisPanel* Chart) {
  inherited::DoDrawText(Chart);
  if (!FButtons || !Chart || !Chart->GetCanvas()) return;
  TCanvas3D* C = Chart->GetCanvas();
  TPointF L[3], Rt[3];
  ButtonTriangles(ILastDrawn, L, Rt);
  C->AssignVisiblePen(FButtonPen);
  TZelBrush* BL = CurrentPage() > 1 ? FEnabledBrush : FDisabledBrush;
  C->AssignBrush(BL, BL->GetColor(), BL->GetBackColor());
  C->Polygon(L, 2);
  TZelBrush* BR = CurrentPage() < PageCount() ? FEnabledBrush : FDisabledBrush;
  C->AssignBrush(BR, BR->GetColor(), BR->GetBackColor());
  C->Polygon(Rt, 2);
}

bool TPageNumTool::InLeftButton(std::int32_t X, std::int32_t Y) {
  TPointF L[3], Rt[3];
  ButtonTriangles(ILastDrawn, L, Rt);
  return PointInPolygon(TPointF(static_cast<float>(X), static_cast<float>(Y)), std::span<const TPointF>(L, 3), 2);
}

bool TPageNumTool::InRightButton(std::int32_t X, std::int32_t Y) {
  TPointF L[3], Rt[3];
  ButtonTriangles(ILastDrawn, L, Rt);
  return PointInPolygon(TPointF(static_cast<float>(X), static_cast<float>(Y)), std::span<const TPointF>(Rt, 3), 2);
}

void TPageNumTool::ChartMouseEvent(TChartMouseEvent AEvent, TMouseButton Button, TShiftState Shift, std::int32_t X,
                                   std::int32_t Y) {
  if (FButtons && FParent) {
    if (AEvent == TChartMouseEvent::tmePress && Button == TMouseButton::mbLeft) {
      if (InLeftButton(X, Y)) {
        FParent->GetPages()->PreviousPage();
        return;
      }
      if (InRightButton(X, Y)) {
        FParent->GetPages()->NextPage();
        return;
      }
    } else if (AEvent == TChartMouseEvent::tmeMove) {
      if ((CurrentPage() > 1 && InLeftButton(X, Y)) || (CurrentPage() < PageCount() && InRightButton(X, Y))) {
        FParent->SetCursor(crHandPoint);
        FParent->SetCancelMouse(true);
        return;
      }
    }
  }
  inherited::ChartMouseEvent(AEvent, Button, Shift, X, Y);
}

// ---- unit ----

const TClass* ZelPageNumToolClass = nullptr;

namespace {
int PageNumberUnitStartCount = 0;
}

void ZelPageNumberUnitStart() {
  if (PageNumberUnitStartCount++ > 0) return;
  const TClass* Classes[] = {TPageNumTool::StaticClass()};
  RegisterZelTools(Classes, 0);
  ZelPageNumToolClass = TPageNumTool::StaticClass();
}

void ZelPageNumberUnitEnd() {
  if (PageNumberUnitStartCount == 0 || --PageNumberUnitStartCount > 0) return;
  ZelPageNumToolClass = nullptr;
  const TClass* Classes[] = {TPageNumTool::StaticClass()};
  UnRegisterZelTools(Classes, 0);
}

// ---------------------------------------------------------------------------------------------
// Published properties

// DisabledButton and EnabledButton are the brushes' gradients: read under these names, written
// under "DisabledBrush" and "EnabledBrush".
ZEL_BEGIN_PUBLISHED(TPageNumTool)
  P::Obj("ButtonPen", &Self::GetButtonPen),
  P::Prop("ButtonWidth", &Self::GetButtonWidth, &Self::SetButtonWidth, Default(12)),
  P::Obj("DisabledBrush", &Self::GetDisabledBrush),
  P::Obj("DisabledButton", &Self::GetDisabledButton, &Self::GetDisabledButton, [](Self*) { return false; }),
  P::Obj("EnabledBrush", &Self::GetEnabledBrush),
  P::Obj("EnabledButton", &Self::GetEnabledButton, &Self::GetEnabledButton, [](Self*) { return false; }),
  P::Prop("Format", &Self::GetFormat, &Self::SetFormat, &Self::IsFormatStored),
  P::Prop("ShowButtons", &Self::GetShowButtons, &Self::SetShowButtons, Default(true)),
  // The text is made from Format at every paint.
  P::Prop("Text", [](Self* T) { return T->GetShape()->GetText(); }, &Self::SetText, Never),
ZEL_END_PUBLISHED

}  // namespace zel
