#include "zelgraph/tools/MiscTools.h"

#include "platform/Forms.h"
#include "platform/Math.h"
#include "platform/SysUtils.h"
#include "zelgraph/canvas/Canvas3D.h"
#include "zelgraph/canvas/Font.h"
#include "zelgraph/canvas/Picture.h"
#include "zelgraph/canvas/Shadow.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/AxisPanel.h"
#include "zelgraph/engine/Panel.h"
#include "zelgraph/procs/Procs.h"
#include "zelgraph/tools/DragMarks.h"
#include "zelgraph/tools/DrawLine.h"
#include "zelgraph/tools/MarksTip.h"
#include "zelgraph/tools/RotateTool.h"
#include "zelgraph/tools/ToolTexts.h"

namespace zel {

// ---- Clip series ----

ZEL_DEFINE_COMPONENT_CLASS(TClipSeriesTool, TZelCustomToolSeries)

String TClipSeriesTool::Description() const { return ZelMsg_ClipSeries; }

String TClipSeriesTool::LongDescription() const { return ZelMsg_ClipSeriesDesc; }

void TClipSeriesTool::ChartEvent(TChartToolEvent AEvent) {
  inherited::ChartEvent(AEvent);
  // A paint that failed while the series drew leaves no clip behind on the canvas.
  if (AEvent == TChartToolEvent::tdePaintStart) IClipped = false;
}

void TClipSeriesTool::SeriesEvent(TChartToolEvent AEvent, TChartSeries* Series) {
  inherited::SeriesEvent(AEvent, Series);
  if (!FParent || !Series || Series != FSeries) return;
  TCanvas3D* Canvas = FParent->GetCanvas();
  if (!Canvas) return;
  if (AEvent == TChartToolEvent::tdeSeriesStart) {
    if (IClipped || !FParent->CanClip()) return;
    TChartAxis* H = Series->GetGetHorizAxis();
    TChartAxis* V = Series->GetGetVertAxis();
    if (!H || !V) return;
    Canvas->ClipRectangle(TRectF(static_cast<float>(H->IStartPos), static_cast<float>(V->IStartPos),
                                 static_cast<float>(H->IEndPos), static_cast<float>(V->IEndPos)));
    IClipped = true;
  } else if (AEvent == TChartToolEvent::tdeSeriesDone) {
    // Only a clip this tool opened is closed: an end without a start would take away a clip
    // that the chart itself keeps open.
    if (!IClipped) return;
    IClipped = false;
    Canvas->UnClipRectangle();
  }
}

// ---- Full screen ----

ZEL_DEFINE_COMPONENT_CLASS(TFullScreenTool, TZelCustomTool)

TFullScreenTool::TFullScreenTool(TComponent* AOwner) : TZelCustomTool(AOwner) { FActive = false; }

TFullScreenTool::~TFullScreenTool() {
  if (IForm) {
    TForm* F = IForm;
    IForm = nullptr;
    F->RemoveFreeNotification(this);
    F->SetTag(0);
    F->Free();
  }
  if (OldParent) OldParent->RemoveFreeNotification(this);
}

void TFullScreenTool::Destroying() {
  // Leave full-screen mode while the chart and the old parent are still whole.
  if (GetActive() && IForm) RemoveFullScreen();
  inherited::Destroying();
}

String TFullScreenTool::Description() const { return ZelMsg_FullScreen; }

String TFullScreenTool::LongDescription() const { return ZelMsg_FullScreenDesc; }

void TFullScreenTool::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != TOperation::opRemove) return;
  if (AComponent == OldParent) OldParent = nullptr;
  if (AComponent == IForm) {
    // The window went away by itself (closed, or freed by someone else).
    IForm = nullptr;
    if (FActive) FActive = false;
  }
}

void TFullScreenTool::SetActive(bool Value) {
  const bool Changed = Value != GetActive();
  inherited::SetActive(Value);
  // Activating twice must not make a second window.
  if (!Changed || IsDesigning() || !FParent) return;
  if (Value)
    GoFullScreen();
  else
    RemoveFullScreen();
}

void TFullScreenTool::GoFullScreen() {
  TCustomAxisPanel* Chart = FParent;
  if (Chart->IsDestroying()) return;
  if (OldParent) OldParent->RemoveFreeNotification(this);
  OldParent = Chart->GetParent();
  if (OldParent) OldParent->FreeNotification(this);

  const TPointF Screen = ZelGetScreenSize();
  const float W = static_cast<float>(Round(Screen.X));
  const float H = static_cast<float>(Round(Screen.Y));
  TForm* Form = TForm::CreateNew(nullptr);
  Form->SetTag(ObjectToTag(this));
  Form->SetBorderStyle(TFormBorderStyle::None);
  Form->SetBounds(0, 0, W, H);
  IForm = Form;
  Form->FreeNotification(this);

  OldAlign = Chart->GetAlign();
  Chart->SetAlign(TAlignLayout::None);
  Chart->SetParent(Form);
  OldRChart = Chart->GetBoundsRect();
  Chart->SetBounds(0, 0, W, H);

  Form->OnCloseQuery = [this](TObject* Sender, bool& CanClose) { FormCloseQuery(Sender, CanClose); };
  // Nobody owns the window: once closed it frees itself, or it would stay behind hidden.
  Form->OnClose = [](TObject*, TCloseAction& Action) { Action = TCloseAction::caFree; };
  Form->Show();
}

void TFullScreenTool::RemoveFullScreen() {
  TCustomAxisPanel* Chart = FParent;
  if (!Chart) return;
  TForm* Form = dynamic_cast<TForm*>(Chart->GetParent());
  if (!Form || Form->GetTag() != ObjectToTag(this)) return;
  Form->SetTag(0);
  TControl* Back = OldParent;
  if (Back && Back->IsDestroying()) Back = nullptr;
  Chart->SetParent(Back);
  Chart->SetBoundsRect(OldRChart);
  Chart->SetAlign(OldAlign);
  if (OldParent) OldParent->RemoveFreeNotification(this);
  OldParent = nullptr;
  if (Form == IForm) {
    IForm = nullptr;
    Form->RemoveFreeNotification(this);
    Form->OnCloseQuery = nullptr;
  }
  if (IFreeForm) Form->Free();
  if (OnReset) OnReset(this);
}

void TFullScreenTool::FormCloseQuery(TObject* Sender, bool& CanClose) {
  auto* Form = dynamic_cast<TForm*>(Sender);
  if (Form && Form->GetTag() == ObjectToTag(this)) {
    IFreeForm = false;
    SetActive(false);
    IFreeForm = true;
  }
  CanClose = true;
}

// ---- Repaint monitor ----

ZEL_DEFINE_COMPONENT_CLASS(TRepaintMonitor, TAnnotationTool)

TRepaintMonitor::TRepaintMonitor(TComponent* AOwner) : TAnnotationTool(AOwner) {}

void TRepaintMonitor::AfterConstruction() {
  inherited::AfterConstruction();
  TZelShadow* Shadow = FShape->GetShadow();
  Shadow->InitValues(false, Shadow->GetColor(), Shadow->GetHorizSize());
  FShape->InitColor(0xFFA9A9A9);
  FShape->GetFont()->InitColor(0xFFFFFFFF);
  FShape->InitTransparency(20);
}

String TRepaintMonitor::Description() const { return ZelMsg_RepaintMonitor; }

String TRepaintMonitor::LongDescription() const { return ZelMsg_RepaintMonitorDesc; }

String TRepaintMonitor::GetText() { return FMonitorFPS + "fps " + IntToStr(FMonitor); }

void TRepaintMonitor::ChartEvent(TChartToolEvent AEvent) {
  inherited::ChartEvent(AEvent);
  if (AEvent != TChartToolEvent::tdePaintDone) return;
  ++FMonitor;
  const double T = ZelTickCount();
  if (T - FMonitorTime > 1000) {
    FMonitorFPS = IntToStr(FMonitor - FLastMonitor);
    FMonitorTime = T;
    FLastMonitor = FMonitor;
  }
}

// ---------------------------------------------------------------------------------------------
// Published properties

// A full-screen tool is inactive by default.
ZEL_BEGIN_PUBLISHED(TFullScreenTool)
  P::Prop("Active", &Self::GetActive, &Self::SetActive, &Self::IsActiveStored),
  P::Prop("ReleaseKey", &Self::GetReleaseKey, &Self::SetReleaseKey, &Self::IsReleaseKeyStored),
  P::Event("OnReset", &Self::OnReset),
ZEL_END_PUBLISHED

// The text is the frame rate, made again at every paint.
ZEL_BEGIN_PUBLISHED(TRepaintMonitor)
  P::Prop("Text", [](Self* T) { return T->GetShape()->GetText(); }, &Self::SetText, Never),
ZEL_END_PUBLISHED

}  // namespace zel
