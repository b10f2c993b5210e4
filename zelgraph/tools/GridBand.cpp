#include "zelgraph/tools/GridBand.h"

#include <algorithm>
#include <utility>

#include "platform/Math.h"
#include "platform/Scope.h"
#include "zelgraph/canvas/Canvas3D.h"
#include "zelgraph/chart/Chart.h"
#include "zelgraph/chart/Walls.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/AxisPanel.h"
#include "zelgraph/tools/ToolTexts.h"

namespace zel {

// Band brush

ZEL_DEFINE_CLASS(TGridBandBrush, TZelBrush)

TGridBandBrush::TGridBandBrush(TNotifyEvent OnChange) : TZelBrush(std::move(OnChange)) { SetBackColor(0); }

void TGridBandBrush::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TGridBandBrush*>(Source)) FTransp = S->FTransp;
  inherited::Assign(Source);
}

void TGridBandBrush::SetTransparency(Byte Value) {
  if (FTransp == Value) return;
  FTransp = Value;
  Changed();
}

// Tool

namespace {

// The handler a band gives its axis; its type and tool tell the band's own handler from others.
struct TBandGridHandler {
  TGridBandTool* Tool;
  void operator()(TChartAxis* Sender) const { Tool->DrawGrids(Sender); }
};

}  // namespace

ZEL_DEFINE_COMPONENT_CLASS(TGridBandTool, TZelCustomToolAxis)

TGridBandTool::TGridBandTool(TComponent* AOwner) : TZelCustomToolAxis(AOwner) {
  auto Changed = [this](TObject* Sender) { CanvasChanged(Sender); };
  FBand1 = Create<TGridBandBrush>(Changed);
  FBand2 = Create<TGridBandBrush>(Changed);
  FBand2->InitColor(0xFFFFFFFF);
}

TGridBandTool::~TGridBandTool() {
  ReleaseGridHandler();
  FBand1->Free();
  FBand2->Free();
}

void TGridBandTool::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TGridBandTool*>(Source)) {
    FBand1->Assign(S->FBand1);
    FBand2->Assign(S->FBand2);
  }
  inherited::Assign(Source);
}

String TGridBandTool::Description() const { return ZelMsg_GridBandTool; }

String TGridBandTool::LongDescription() const { return ZelMsg_GridBandDesc; }

void TGridBandTool::SetAxis(TChartAxis* Value) {
  ReleaseGridHandler();
  inherited::SetAxis(Value);
  if (FAxis) FAxis->OnDrawGrids = TBandGridHandler{this};
}

bool TGridBandTool::OwnsGridHandler(const TChartAxis* Axis) const {
  const auto* Handler = Axis ? Axis->OnDrawGrids.target<TBandGridHandler>() : nullptr;
  return Handler && Handler->Tool == this;
}

void TGridBandTool::ReleaseGridHandler() {
  if (OwnsGridHandler(FAxis)) FAxis->OnDrawGrids = nullptr;
}

TAlphaColor TGridBandTool::BandBackColor(TGridBandBrush* Band) const {
  if (Band->GetBackColor() != 0) return Band->GetBackColor();
  auto* Chart = dynamic_cast<TCustomChart*>(FParent);
  if (!Chart) return Band->GetBackColor();
  return Chart->GetBackWall()->GetColor();
}

void TGridBandTool::DrawGrids(TChartAxis* Axis) {
  if (!GetActive() || !Axis || !FParent || !FParent->GetCanvas()) return;
  const TAxisTicks& T = Axis->Tick;
  if (T.size() < 2) return;
  if (FBand1->GetKind() == TBrushKind::None && FBand2->GetKind() == TBrushKind::None) return;
  TCanvas3D* C = FParent->GetCanvas();
  const std::int32_t H = static_cast<std::int32_t>(T.size()) - 1;
  const std::int32_t S = Axis->IStartPos, E = Axis->IEndPos;
  const bool Centered = Axis->GetGridCentered();
  const bool Vertical = !Axis->GetHorizontal();
  const TRectF& CR = FParent->GetChartRect();
  const bool Is3D = FParent->GetView3D();
  const int Depth = FParent->GetWidth3D();

  C->GetPen()->SetStyle(TPenStyle::psClear);
  TGridBandBrush* Band = FBand1;
  auto Switch = [&] { Band = Band == FBand1 ? FBand2 : FBand1; };

  std::int32_t A, B;
  if (StartPos != 0 || EndPos != 0) {
    A = StartPos;
    B = EndPos;
  } else if (Vertical) {
    A = Round(double(CR.Left) + 1);
    B = Round(CR.Right);
  } else {
    A = Round(double(CR.Top) + 1);
    B = Round(CR.Bottom);
  }

  auto DrawBand = [&](std::int32_t P, std::int32_t Q) {
    if (Band->GetKind() == TBrushKind::None) return;
    if (P > Q) std::swap(P, Q);
    TRectF R = Vertical ? TRectF(float(A), float(P), float(B), float(Q + 1)) : TRectF(float(P), float(A), float(Q), float(B));
    TZelBlend* Blend = C->BeginBlending(ZelZeroRectF, static_cast<std::int8_t>(Band->GetTransparency()));
    TRestoreOnExit EndBlend([&] { C->EndBlending(Blend); });
    if (Blend) {
      if (Is3D) {
        const TPointF P0 = C->Calculate3DPosition(TPointF(R.Left, R.Top), Depth);
        const TPointF P1 = C->Calculate3DPosition(TPointF(R.Right, R.Bottom), Depth);
        Blend->SetRectangle(TRectF(P0.X, P0.Y, P1.X, P1.Y));
      } else {
        Blend->SetRectangle(R);
      }
    }
    C->AssignBrush(Band, Band->GetColor(), BandBackColor(Band));
    C->GetPen()->SetStyle(TPenStyle::psClear);
    if (Is3D) {
      C->RectangleWithZ(R, Depth);
    } else {
      R.Right += 1;
      C->Rectangle(R);
    }
  };

  const std::int32_t h = H > 1 ? (T[H - 1] - T[H - 2]) / 2 : 0;

  // Before the first tick.
  if (Vertical) {
    if (!Centered) {
      if (S < T[0]) {
        DrawBand(S + 1, T[0]);
        Switch();
      }
    } else if (S + 1 < T[0] - h) {
      DrawBand(S + 1, T[0] - h);
      Switch();
      DrawBand(T[0] - h, T[0] + h);
      Switch();
    } else {
      DrawBand(S + 1, T[0] + h);
      Switch();
    }
  } else {
    if (!Centered) {
      if (T[0] < E) {
        DrawBand(E - 1, T[0]);
        Switch();
      }
    } else if (E < T[0] - h) {
      Switch();
      DrawBand(T[0] + h, E - 1);
      Switch();
    } else {
      DrawBand(T[0] + h, T[0] - h);
      Switch();
      DrawBand(T[0] - h, E - 1);
    }
  }
  if (H == 1) return;

  // Between the ticks.
  if (!Centered) {
    for (std::int32_t I = 1; I <= H; ++I) {
      DrawBand(T[I - 1], T[I]);
      Switch();
    }
  } else {
    for (std::int32_t I = 2; I <= H; ++I) {
      if (S < T[I - 1] - h)
        DrawBand(T[I - 1] - h, T[I] - h);
      else
        DrawBand(S + 1, T[I] - h);
      Switch();
    }
  }

  // After the last tick.
  if (Vertical) {
    if (!Centered) {
      if (T[H] < E) DrawBand(T[H], E);
    } else if (E - 1 < T[H] + h) {
      DrawBand(E - 1, T[H] - h);
      Switch();
    } else {
      DrawBand(T[H] - h, T[H] + h);
      Switch();
      DrawBand(E - 1, T[H] + h);
      Switch();
    }
  } else {
    if (!Centered) {
      if (S < T[H]) DrawBand(T[H], S);
    } else if (S < T[H] + h) {
      DrawBand(T[H] + h, T[H] - h);
      Switch();
      DrawBand(T[H] + h, S + 1);
      Switch();
    } else {
      DrawBand(S + 1, T[H] - h);
      Switch();
    }
  }
}

// ---------------------------------------------------------------------------------------------
// Published properties

ZEL_BEGIN_PUBLISHED(TGridBandBrush)
  P::Prop("BackColor", &Self::GetBackColor, &Self::SetBackColor, Default(TAlphaColor(0))),
  P::Prop("Transparency", &Self::GetTransparency, &Self::SetTransparency, Default(Byte(0))),
ZEL_END_PUBLISHED

ZEL_BEGIN_PUBLISHED(TGridBandTool)
  P::Obj("Band1", &Self::GetBand1),
  P::Obj("Band2", &Self::GetBand2),
ZEL_END_PUBLISHED

}  // namespace zel
