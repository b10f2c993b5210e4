#include "zelgraph/tools/MarksTip.h"

#include <algorithm>

#include "platform/ExtCtrls.h"
#include "platform/Math.h"
#include "zelgraph/canvas/Canvas3D.h"
#include "zelgraph/canvas/Font.h"
#include "zelgraph/engine/AxisPanel.h"
#include "zelgraph/engine/Series.h"
#include "zelgraph/engine/SeriesList.h"
#include "zelgraph/canvas/CanvasScopes.h"
#include "zelgraph/tools/ToolTexts.h"

namespace zel {

namespace {

// The mark text of a point in Style; the series' marks keep their own style.
String MarkTextInStyle(TChartSeries* Series, std::int32_t ValueIndex, TSeriesMarksStyle Style) {
  if (!Series->HasMarks()) {
    // Without marks object the text is built as the marks would build it; none is created.
    String Text = Series->GetMarkTextStyle(false, ValueIndex, Style);
    if (Series->OnGetMarkText) Series->OnGetMarkText(Series, ValueIndex, Text);
    return Text;
  }
  TSeriesMarks* Marks = Series->GetMarks();
  TRestoreOnExit KeepStyle([Marks, Old = Marks->GetStyle()] { Marks->SetStyle(Old); });
  Marks->SetStyle(Style);
  return Series->GetMarkText(ValueIndex);
}

}  // namespace

void ZelShowMarksTip(TChartSeries* Series, std::int32_t ValueIndex, TSeriesMarksStyle Style, TPointF P,
                     const TMarksTipGetText& OnGetText, TMarksTipTool* Tool) {
  if (!Series || ValueIndex < 0 || ValueIndex >= Series->Count()) return;
  TCustomAxisPanel* Chart = Series->GetParentChart();
  // The chart does not repaint for the temporary changes; its own setting comes back at the end.
  TAutoRepaintScope NoRepaint(Chart, false);
  String Text = MarkTextInStyle(Series, ValueIndex, Style);
  if (OnGetText) OnGetText(Tool, Text);

  if (!Chart) return;
  // The tip lives in a chart that is placed somewhere (or one owned by a chart).
  TCustomAxisPanel* Host = Chart->GetParent() ? Chart : dynamic_cast<TCustomAxisPanel*>(Chart->GetComponentOwner());
  if (!Host || !Tool || Tool->FSystemHints) return;
  TTextShape* F = Tool->FFormat;
  if (F->GetText() == Text && F->GetVisible()) return;

  F->SetParent(Host);
  F->InternalSetText(Text);
  // Size the tip for its new text before it is placed.
  F->CalcBounds(Host);
  const float W = F->GetWidth();
  const float H = F->GetHeight();
  std::int32_t X = Round(P.X);
  std::int32_t Y = Round(P.Y) + 16;
  if (static_cast<float>(X) + W > Host->GetWidth()) X = std::max(0, Round(Host->GetWidth() - W - 1));
  if (static_cast<float>(Y) + H > Host->GetHeight()) Y = std::max(0, Round(static_cast<float>(Y) - H));
  F->SetCustomPosition(true);
  F->MoveTo(static_cast<float>(X), static_cast<float>(Y));
  F->SetVisible(true);
  F->CalcBounds(Host);
  TAutoRepaintScope Repaints(Host, true);
  Host->Invalidate();
}

ZEL_DEFINE_COMPONENT_CLASS(TMarksTipTool, TZelCustomToolSeries)

TMarksTipTool::TMarksTipTool(TComponent* AOwner) : TZelCustomToolSeries(AOwner) {
  FFormat = Create<TTextShape>(static_cast<TCustomZelPanel*>(nullptr));
  FFormat->DefaultVisible = false;
  FFormat->SetVisible(false);
  FFormat->InitTextAlignment(TAlignment::taCenter);
  FFormat->DefaultCustom = true;
  FFormat->SetCustomPosition(true);
  // The tip shows itself with the pointed mark's text.
  FFormat->IOwnerShows = true;
  // Drawn flat, in front: measured so as well.
  FFormat->IDraw2D = true;
}

TMarksTipTool::~TMarksTipTool() {
  if (ITimer) ITimer->Free();
  ITimer = nullptr;
  if (FFormat) FFormat->Free();
  FFormat = nullptr;
}

void TMarksTipTool::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TMarksTipTool*>(Source)) {
    FFormat->Assign(S->FFormat);
    FMouseAction = S->FMouseAction;
    FStyle = S->FStyle;
  }
  inherited::Assign(Source);
}

String TMarksTipTool::Description() const { return ZelMsg_MarksTipTool; }

String TMarksTipTool::LongDescription() const { return ZelMsg_MarksTipDesc; }

TZelFont* TMarksTipTool::GetFont() const { return FFormat->GetFont(); }

void TMarksTipTool::SetFormat(TTextShape* Value) {
  if (Value && Value != FFormat) FFormat->Assign(Value);
}

TCustomAxisPanel* TMarksTipTool::Chart() const {
  if (FSeries) return FSeries->GetParentChart();
  return FParent;
}

void TMarksTipTool::HideHint() {
  TCustomAxisPanel* C = Chart();
  if (!C) return;
  if (OnCancelHint) OnCancelHint(this);
  // Platform hints need nothing taken away.
  if (FSystemHints) return;
  if (FFormat->GetVisible()) {
    FFormat->SetVisible(false);
    C->Invalidate();
  }
}

void TMarksTipTool::SetMouseAction(TMarkToolMouseAction Value) {
  FMouseAction = Value;
  HideHint();
}

void TMarksTipTool::SetActive(bool Value) {
  inherited::SetActive(Value);
  if (!Value) HideHint();
}

void TMarksTipTool::SetParentChart(TCustomAxisPanel* Value) {
  inherited::SetParentChart(Value);
  if (!IsDestroying()) FFormat->SetParent(Value);
}

void TMarksTipTool::TimerTick(TObject*) {
  if (ITimer) ITimer->SetEnabled(false);
  HideHint();
}

bool TMarksTipTool::OtherMarksTips() const {
  if (!FParent) return false;
  TChartTools* Tools = FParent->GetTools();
  for (std::int32_t I = 0; I < Tools->GetCount(); ++I) {
    TZelCustomTool* T = Tools->Get(I);
    if (T != this && dynamic_cast<TMarksTipTool*>(T)) return true;
  }
  return false;
}

void TMarksTipTool::ChartMouseEvent(TChartMouseEvent AEvent, TMouseButton Button, TShiftState Shift,
                                    std::int32_t X, std::int32_t Y) {
  inherited::ChartMouseEvent(AEvent, Button, Shift, X, Y);
  const bool Wanted = (AEvent == TChartMouseEvent::tmeMove && FMouseAction == TMarkToolMouseAction::mtmMove) ||
                      (AEvent == TChartMouseEvent::tmePress && FMouseAction == TMarkToolMouseAction::mtmClick);
  if (!Wanted) return;
  TCustomAxisPanel* C = Chart();
  if (!C) return;

  TChartSeries* S = nullptr;
  std::int32_t Point = -1;
  if (FSeries) {
    S = FSeries;
    Point = FSeries->Clicked(X, Y);
  } else {
    S = C->GetSeriesList()->Clicked(X, Y, Point);
  }
  if (!S || Point == -1) {
    // Another marks tip tool may be showing its own tip.
    if (!OtherMarksTips()) HideHint();
    return;
  }
  ZelShowMarksTip(S, Point, FStyle, TPointF(static_cast<float>(X), static_cast<float>(Y)), OnGetText, this);
  if (FSystemHints || FHidePause <= 0) return;
  if (!ITimer) {
    ITimer = Create<TTimer>(static_cast<TComponent*>(nullptr));
    ITimer->SetEnabled(false);
    ITimer->SetOnTimer([this](TObject* Sender) { TimerTick(Sender); });
  }
  // Every new tip starts the delay again.
  ITimer->SetEnabled(false);
  ITimer->SetInterval(static_cast<Cardinal>(FHidePause));
  ITimer->SetEnabled(true);
}

void TMarksTipTool::ChartEvent(TChartToolEvent AEvent) {
  inherited::ChartEvent(AEvent);
  if (AEvent == TChartToolEvent::tdeMouseLeft) {
    if (FHidePause == 0) HideHint();
    return;
  }
  // A tip shows a mark's text: one without text (never put up by the tool) draws nothing.
  if (AEvent != TChartToolEvent::tdePaintDone || FSystemHints || !FFormat->GetVisible() || FFormat->GetText().empty())
    return;
  TCustomAxisPanel* C = Chart();
  if (!C || !C->GetCanvas()) return;
  TCanvas3D* Canvas = C->GetCanvas();
  FFormat->SetParent(C);
  TFrontPlaneScope FrontPlane(Canvas);
  FFormat->Draw(C, FFormat->ShapeBounds, FFormat->GetAngle(), 0);
}

// ---------------------------------------------------------------------------------------------
// Published properties

// Font is the tip's font: read under that name, written under "Format".
ZEL_BEGIN_PUBLISHED(TMarksTipTool)
  P::Obj("Font", &Self::GetFont, &Self::GetFont, [](Self*) { return false; }),
  P::Obj("Format", &Self::GetFormat),
  P::Prop("HideDelay", &Self::GetHideDelay, &Self::SetHideDelay, &Self::IsHideDelayStored),
  P::Prop("MouseAction", &Self::GetMouseAction, &Self::SetMouseAction, Default(TMarkToolMouseAction::mtmMove)),
  // Stored default 500, made with 0: either is written.
  P::Prop("MouseDelay", &Self::GetMouseDelay, &Self::SetMouseDelay, DefaultOrMade(500, 0)),
  P::Prop("Style", &Self::GetStyle, &Self::SetStyle, Default(TSeriesMarksStyle::smsLabelOrValue)),
  P::Prop("SystemHints", &Self::GetSystemHints, &Self::SetSystemHints, Default(false)),
  P::Event("OnCancelHint", &Self::OnCancelHint),
  P::Event("OnGetText", &Self::OnGetText),
ZEL_END_PUBLISHED

}  // namespace zel
