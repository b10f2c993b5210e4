// Axis drawing: back shape, title, labels, axis line, ticks, minor ticks, grid and sub-axes, each
// inside its named canvas entity.
#include <algorithm>
#include <cmath>
#include <optional>

#include "zelgraph/canvas/Canvas3D.h"
#include "zelgraph/canvas/CanvasScopes.h"
#include "zelgraph/canvas/Font.h"
#include "zelgraph/canvas/Shadow.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/AxisItems.h"
#include "zelgraph/engine/SeriesList.h"
#include "zelgraph/engine/Series.h"

namespace zel {

namespace {
constexpr TAlphaColor DefaultGridColor = 0xFF808080;
}

void TChartAxis::Draw(bool CalcPosAxis) {
  TCanvas3D* C = ChartCanvas();
  if (!C) return;
  std::optional<TEntityScope> Entity(std::in_place, C, IAxisID, nullptr, Transform);
  IAxisDateTime = FMaster ? FMaster->IAxisDateTime : IsDateTime();
  const TRectF CR = ChartRectOf();
  if (CalcPosAxis) FPosAxis = ApplyPosition(GetRectangleEdge(CR), CR);

  // Back shape of the labels band.
  if (FShape && FShape->GetVisible()) {
    // The labels' boxes take their format's margins (none when it is see-through), worked out
    // here for this paint's labels, not left from the last label drawn.
    TAxisLabelsFormat* Format = FAxisItems->GetFormat();
    TMargins* M = Format->GetMargins();
    const std::int32_t Labels = SizeLabels();
    if (Format->GetTransparent()) {
      M->Reset();
    } else {
      C->AssignFont(Format->GetFont());
      const std::int32_t FontHeight = C->TextHeight("W");
      M->Calculate(FHorizontal ? 0 : Labels, FHorizontal ? Labels : FontHeight, FontHeight);
    }
    const std::int32_t Band = Labels + (FHorizontal ? M->VertSize() : M->HorizSize());
    std::int32_t D = GetLabelsPosition() != TAxisLabelsPosition::lpAtTick ? std::max(SizeTickAxis(true) - 2, Band)
                                                                          : SizeTickAxis(true) + Band;
    if (FOtherSide) D = -D;
    TRectF R = FHorizontal ? TRectF(IStartPos, FPosAxis, IEndPos, FPosAxis + D)
                           : TRectF(FPosAxis - D, IStartPos, FPosAxis, IEndPos);
    FShape->ShapeBounds = R.Normalized();
    FShape->Draw(FParentChart, FShape->ShapeBounds, 0, IZPos);
  }

  // Title.
  if (FAxisTitle && FAxisTitle->GetVisible() && !FAxisTitle->GetCaption().empty()) {
    std::int32_t Pos = ICenterPos;
    TAxisTitlePosition TP = FAxisTitle->GetPosition();
    if (TP != TAxisTitlePosition::tpCenter) {
      FAxisTitle->CalcBounds(FParentChart);
      const std::int32_t W = Round(FAxisTitle->GetWidth());
      const bool Swap = FHorizontal ? FInverted : !FInverted;
      if (Swap) TP = TP == TAxisTitlePosition::tpStart ? TAxisTitlePosition::tpEnd : TAxisTitlePosition::tpStart;
      Pos = TP == TAxisTitlePosition::tpStart ? IStartPos + W / 2 : IEndPos - W / 2;
    }
    if (IDepthAxis)
      DrawTitle(DepthAxisPos(), FPosTitle);
    else if (FHorizontal)
      DrawTitle(Pos, FPosTitle);
    else
      DrawTitle(FPosTitle, Pos);
  }

  TLabelWalk W;
  DrawLabelsStep(W);
  DrawTicksAndGrid();

  if (!GetLabelsBehind()) {
    TEntityScope Labels(C, "Labels");
    // Custom items show the texts their room was measured with (MaxLabelsWidth).
    TValueScope<TLabelTexts> Texts(ILabelTexts, ItemsLabelTexts());
    for (std::int32_t I = 0; I < FAxisItems->GetCount(); ++I) {
      TAxisItem* Item = FAxisItems->Get(I);
      const double V = Item->GetValue();
      if (FAxisItems->IDrawAll || (V >= IMinimum && V <= IMaximum) || V == IMinimum) {
        DrawThisLabel(W, I, V, Item->GetLabelPos(), ItemText(Item), Item->ActiveFormat());
      }
    }
  }
  Entity.reset();  // sub-axes are entities of their own

  if (FSubAxes) {
    for (int I = 0; I < FSubAxes->GetCount(); ++I) {
      auto* Sub = static_cast<TChartAxis*>(FSubAxes->GetItem(I));
      if (!Sub->GetVisible()) continue;
      AssignToSub(Sub);
      Sub->IStartPos = IStartPos;
      Sub->IEndPos = IEndPos;
      Sub->RecalcSizeCenter();
      Sub->Draw(false);
    }
  }
}

void TChartAxis::DrawTitle(std::int32_t X, std::int32_t Y) {
  TCanvas3D* C = ChartCanvas();
  if (!C || !FAxisTitle) return;
  TEntityScope Entity(C, "Title");
  C->AssignFont(FAxisTitle->GetFont());
  C->SetBackMode(TCanvasBackMode::cbmTransparent);
  const std::int32_t Angle = FAxisTitle->GetAngle();
  const String Caption = FAxisTitle->GetCaption();
  if (IDepthAxis) {
    C->SetTextAlign(DepthAxisAlign());
    C->RotateLabel3D(X, Y, ChartWidth3D() / 2, Caption, Angle, FAxisTitle->GetTextFormat() == TTextFormat::ttfHtml);
  } else if (!ChartView3D() || ChartOrthogonal()) {
    FAxisTitle->CalcBounds(FParentChart);
    const std::int32_t W = Round(FAxisTitle->GetWidth());
    const std::int32_t H = Round(FAxisTitle->GetHeight());
    TZelShadow* Sh = FAxisTitle->GetShadow();
    const std::int32_t ShadowV = (Sh && Sh->GetVisible()) ? Sh->GetVertSize() : 0;
    float Left, Top;
    if (FHorizontal) {
      Left = static_cast<float>(X - W / 2);
      Top = static_cast<float>(Y);
      if (Angle == 90) Top += FOtherSide ? -H : H;
      if (FOtherSide) Top -= static_cast<float>(H + ShadowV);
    } else {
      const double Sin = std::fabs(std::sin(Angle * M_PI / 180.0));
      const double S = FOtherSide ? Sin : 2 - Sin;
      Left = static_cast<float>(X - Round(S * W * 0.5) + (FOtherSide ? H / 2 : -(H / 2) - ShadowV));
      Top = static_cast<float>(Y - H / 2);
    }
    FAxisTitle->MoveTo(Left, Top);
    FAxisTitle->Draw(FParentChart, FAxisTitle->ShapeBounds, Angle, IZPos);
  } else {
    const bool OldExponent = GetLabelsExponent();
    FLabels->SetExponentPlain(false);
    TRestoreOnExit RestoreExponent([&] { FLabels->SetExponentPlain(OldExponent); });
    DrawAxisLabel(X, Y, Angle, Caption, FAxisTitle);
  }
}

void TChartAxis::DrawTicksAndGrid() {
  TCanvas3D* C = ChartCanvas();
  if (!C) return;
  C->GetBrush()->Clear();
  C->SetBackMode(TCanvasBackMode::cbmTransparent);
  IWallSize = ChartWallSize(this);
  if (FAxis->GetVisible()) {
    C->AssignVisiblePen(FAxis);
    if (FAxis->GetLineMode() != TPenLineMode::lmLine) {
      const TAlphaColor Color = FAxis->GetColor();
      C->GetPen()->SetStyle(TPenStyle::psClear);
      C->AssignBrush(C->GetBrush(), Color);
      C->GetBrush()->SetKind(TBrushKind::Solid);
    }
    if (OnDrawAxis)
      OnDrawAxis(this);
    else
      DrawLineSegment(IStartPos, IEndPos);
  }
  if (FTickLength != 0) {
    TEntityScope Ticks(C, "Ticks");
    C->AssignVisiblePen(FTicks);
    for (std::int32_t P : Tick) InternalDrawTick(P, 1, FTickLength);
  }
  DrawGrids(static_cast<std::int32_t>(Tick.size()));
  if (FTickInnerLength != 0) {
    TEntityScope InnerTicks(C, "InnerTicks");
    C->AssignVisiblePen(FTicksInner);
    for (std::int32_t P : Tick) InternalDrawTick(P, -1, -FTickInnerLength);
  }
  if (!Tick.empty()) {
    const bool MinorTicks = FMinorTickLength != 0 && FMinorTicks->GetVisible();
    const bool MinorGrid = FMinorGrid->GetVisible();
    if (MinorTicks || MinorGrid) {
      const std::vector<std::int32_t> Minor = MinorPositions();
      if (MinorTicks) {
        TEntityScope MinorTicksEntity(C, "MinorTicks");
        C->AssignVisiblePen(FMinorTicks);
        for (std::int32_t P : Minor) InternalDrawTick(P, 1, FMinorTickLength);
      }
      if (MinorGrid) {
        C->AssignVisiblePen(FMinorGrid);
        for (std::int32_t P : Minor) DrawGridLine(P);
      }
    }
  }
  C->SetBackMode(TCanvasBackMode::cbmOpaque);
}

void TChartAxis::InternalDrawTick(std::int32_t Pos, std::int32_t Offset, std::int32_t Length) {
  TCanvas3D* C = ChartCanvas();
  const std::int32_t PenW = Round(FAxis->GetWidth());
  const float P = static_cast<float>(Pos);
  if (IDepthAxis) {
    const float Y = static_cast<float>(DepthAxisPos());
    if (FOtherSide)
      C->HorizLine3D(FPosAxis + Offset, FPosAxis + Offset + Length, Y, P);
    else
      C->HorizLine3D(FPosAxis - Offset, FPosAxis - Offset - Length, Y, P);
    return;
  }
  if (FHorizontal) {
    if (!FOtherSide) {
      Offset += IWallSize;
      const std::int32_t M = PenW + Offset + FPosAxis - 1;
      C->VertLine3D(P, M, M + Length, IZPos);
    } else {
      C->VertLine3D(P, FPosAxis - Offset, FPosAxis - Offset - Length, IZPos);
    }
  } else if (!FOtherSide) {
    Offset += IWallSize;
    const std::int32_t M = FPosAxis - Offset - PenW + 1;
    C->HorizLine3D(M, M - Length, P, IZPos);
  } else {
    Offset += IWallSize;
    C->HorizLine3D(FPosAxis + Offset, FPosAxis + Offset + Length, P, IZPos);
  }
}

std::vector<std::int32_t> TChartAxis::MinorPositions() {
  std::vector<std::int32_t> Result;
  const std::int32_t K = FMinorTickCount;
  const std::size_t N = Tick.size();
  if (K <= 0 || N == 0) return Result;
  const double F = 1.0 / (K + 1);
  const std::int32_t Lo = std::min(IStartPos, IEndPos);
  const std::int32_t Hi = std::max(IStartPos, IEndPos);
  auto Add = [&](double P) {
    const std::int32_t Pix = SaturateInt(P);
    if (Lo < Pix && Pix < Hi) Result.push_back(Pix);
  };
  if (!FLogarithmic) {
    for (std::size_t I = 1; I < N; ++I) {
      const double D = (static_cast<double>(Tick[I]) - Tick[I - 1]) * F;
      for (std::int32_t J = 1; J <= K; ++J) Add(Tick[I] - static_cast<double>(Round(J * D)));
    }
    if (N >= 2) {
      const double D0 = (static_cast<double>(Tick[1]) - Tick[0]) * F;
      for (std::int32_t J = 1; J <= K; ++J) {
        Add(Tick[0] - static_cast<double>(Round(J * D0)));
        Add(Tick[N - 1] + static_cast<double>(Round(J * D0)));
      }
    }
    return Result;
  }
  // Logarithmic: minor values between each decade value the axis touches and the next, from the
  // decade the minimum lies in (also below the first tick and inside a single decade).
  if (!(IMinimum > 0) || !(IMaximum >= IMinimum) || !std::isfinite(IMaximum)) return Result;
  double X = FloorLogPower(IMinimum);
  // Between ticks as the label walk places them (every k-th decade over very many).
  const double Stride = LogStride(X);
  for (std::int32_t N = 0; X <= IMaximum && std::isfinite(X) && X > 0 && N < 5000; ++N, X *= Stride) {
    for (std::int32_t J = 1; J <= K; ++J) {
      const double V = X + J * (X * Stride - X) * F;
      if (V >= IMinimum && V <= IMaximum) Add(CalcPosValue(V));
    }
  }
  return Result;
}

void TChartAxis::DrawGrids(std::int32_t NumTicks) {
  if (OnDrawGrids) OnDrawGrids(this);
  if (!FGrid->GetVisible()) return;
  TCanvas3D* C = ChartCanvas();
  if (!C) return;
  NumTicks = std::min(NumTicks, static_cast<std::int32_t>(Tick.size()));
  TEntityScope Entity(C, "Grid");
  C->SetBackMode(TCanvasBackMode::cbmTransparent);
  C->GetBrush()->Clear();
  const TAlphaColor Color = FGrid->GetColor();
  C->AssignVisiblePenColor(FGrid, Color == clZelDefault ? DefaultGridColor : Color);
  const std::int32_t Step = std::max(1, FGrid->GetDrawEvery());
  if (FGrid->GetCentered()) {
    for (std::int32_t I = 1; I < NumTicks; ++I)
      if (I % Step == 0) DrawGridLine(Round((static_cast<double>(Tick[I]) + Tick[I - 1]) * 0.5));
  } else {
    for (std::int32_t I = 0; I < NumTicks; ++I)
      if (I % Step == 0) DrawGridLine(Tick[I]);
  }
}

void TChartAxis::DrawGridLine(std::int32_t Pos) {
  if (!(IStartPos < Pos && Pos < IEndPos)) return;
  TCanvas3D* C = ChartCanvas();
  if (!C) return;
  const TRectF CR = ChartRectOf();
  const float L = static_cast<float>(Round(CR.Left));
  const float T = static_cast<float>(Round(CR.Top));
  const float R = static_cast<float>(Round(CR.Right));
  const float B = static_cast<float>(Round(CR.Bottom));
  const float P = static_cast<float>(Pos);
  if (IDepthAxis) {
    C->VertLine3D(L, T, B, P);
    C->HorizLine3D(L, R, B, P);
    return;
  }
  if (!ChartView3D()) {
    if (FHorizontal) {
      float Y0 = T + 1, Y1 = B;
      if (FUsePartnerAxis && FPartnerAxis) {
        Y0 = static_cast<float>(FPartnerAxis->CalcPosValue(FPartnerAxis->GetMinimum()));
        Y1 = static_cast<float>(FPartnerAxis->CalcPosValue(FPartnerAxis->GetMaximum()));
      }
      C->VertLine3D(P, Y0, Y1, 0);
    } else {
      float X0 = L + 1, X1 = R;
      if (FUsePartnerAxis && FPartnerAxis) {
        X0 = static_cast<float>(FPartnerAxis->CalcPosValue(FPartnerAxis->GetMinimum()));
        X1 = static_cast<float>(FPartnerAxis->CalcPosValue(FPartnerAxis->GetMaximum()));
      }
      C->HorizLine3D(X0, X1, P, 0);
    }
    return;
  }
  if (!ChartAxisBehind()) {
    if (FHorizontal)
      C->VertLine3D(P, T, B, 0);
    else
      C->HorizLine3D(L, R, P, 0);
    return;
  }
  const std::int32_t W3 = ChartWidth3D();
  if (!IHideBackGrid) {
    if (FHorizontal)
      C->VertLine3D(P, T, B, W3);
    else
      C->HorizLine3D(L, R, P, W3);
  }
  if (!IHideSideGrid) {
    const std::int32_t Z = Round(W3 * FGrid->GetZPosition() * 0.01);
    if (Z != W3) {
      if (FHorizontal)
        C->ZLine3D(P, FPosAxis, Z, W3);
      else
        C->ZLine3D(FPosAxis, P, Z, W3);
    }
  }
}

void TChartAxis::DrawLineSegment(std::int32_t Start, std::int32_t End) {
  TCanvas3D* C = ChartCanvas();
  if (!C) return;
  const bool View3D = ChartView3D();
  const TRectF CR = ChartRectOf();
  const std::int32_t PenW = Round(FAxis->GetWidth());
  const std::int32_t Half = Round(FAxis->GetWidth() * 0.5);
  if (IDepthAxis) {
    if (!View3D) return;
    const std::int32_t Y =
        (FOtherSide ? Round(CR.Bottom) + ChartWallSize(ChartAxisAt(0)) : Round(CR.Top)) - IZPos;
    C->ZLine3D(FPosAxis, Y, Start, End);
    return;
  }
  const TPenLineMode Mode = FAxis->GetLineMode();
  if (FHorizontal) {
    std::int32_t X0 = Start, X1 = End, Y = FPosAxis;
    if (!FOtherSide) {
      X0 -= ChartWallSize(ChartAxisAt(2));
      X1 += ChartWallSize(ChartAxisAt(3));
      Y = FPosAxis + IWallSize + Half;
    }
    if (!View3D || Mode == TPenLineMode::lmLine)
      C->HorizLine3D(X0, X1, Y, View3D ? IZPos : 0);
    else if (Mode == TPenLineMode::lmCylinder)
      C->Cylinder(false, X0, Y - PenW, X1, Y + PenW, IZPos - PenW, IZPos + PenW, true);
    else
      C->Cube(X0, X1, Y - PenW, Y + PenW, IZPos - PenW, IZPos + PenW, true, 0);
    return;
  }
  const std::int32_t X = FOtherSide ? FPosAxis + IWallSize + Half : FPosAxis - (IWallSize + Half);
  const std::int32_t Y0 = Start;
  const std::int32_t Y1 = End + ChartWallSize(ChartAxisAt(0));
  if (!View3D || Mode == TPenLineMode::lmLine)
    C->VertLine3D(X, Y0, Y1, View3D ? IZPos : 0);
  else if (Mode == TPenLineMode::lmCylinder)
    C->Cylinder(true, X - PenW, Y0, X + PenW, Y1, IZPos - PenW, IZPos + PenW, true);
  else
    C->Cube(X - PenW, X + PenW, Y0, Y1, IZPos - PenW, IZPos + PenW, true, 0);
}

}  // namespace zel
