#include "zelgraph/series/FastLine.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <optional>
#include <utility>

#include "platform/Math.h"
#include "zelgraph/canvas/Canvas3D.h"
#include "zelgraph/canvas/CanvasScopes.h"
#include "zelgraph/canvas/Gradient.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/constants/Constants.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/AxisPanel.h"
#include "zelgraph/engine/Marks.h"
#include "zelgraph/engine/Panel.h"
#include "zelgraph/engine/PointLists.h"
#include "zelgraph/engine/SeriesLegend.h"
#include "zelgraph/procs/Procs.h"

namespace zel {

ZEL_DEFINE_COMPONENT_CLASS(TCustomLineSeries, TChartSeries)
ZEL_DEFINE_COMPONENT_CLASS(TFastLineSeries, TCustomLineSeries)

namespace {

#if (defined(__x86_64__) || defined(__i386__)) && defined(__GNUC__) && !defined(__clang__)
// Code drawn before (the platform's rasteriser) may leave the upper halves of the wide vector
// registers in use; plain SSE arithmetic after it then runs several times slower until they are
// cleared. Clears them on processors that have them.
__attribute__((target("avx"))) void ClearUpperVectorsAvx() { __builtin_ia32_vzeroupper(); }
void ClearUpperVectors() {
  static const bool HasAvx = __builtin_cpu_supports("avx");
  if (HasAvx) ClearUpperVectorsAvx();
}
#else
void ClearUpperVectors() {}
#endif

// The linear value-to-pixel mapping of an axis, read once per pass from its cached coefficients:
// the same pixels as the axis' own mapping, without a call or a reload per point. Axes with
// another mapping (logarithmic, depth, clamped to the pixel range, a range mapped in halves) go
// through the axis.
class TPixelMap {
 public:
  TPixelMap(const TChartAxis* Axis, bool X) : FAxis(Axis), FX(X) {
    FLinear = !Axis->GetLogarithmic() && !Axis->IsDepthAxis() && !Axis->IUseZelMaxPixelPos && !Axis->IRangeHalved;
    FRangeZero = Axis->IRangeZero;
    FCenter = Axis->ICenterPos;
    FMin = Axis->IMinimum;
    FScale = Axis->IAxisSizeRange;
    const bool FromStart = X != Axis->GetInverted();
    FBase = FromStart ? Axis->IStartPos : Axis->IEndPos;
    FSign = FromStart ? 1.0 : -1.0;
  }
  bool Linear() const { return FLinear; }
  // Linear on finite coefficients: the pixel never falls as the value grows (Falling false) or
  // never rises (Falling true), so that the extremes of the values give the extremes of the pixels.
  bool Monotone() const {
    return FLinear && (FRangeZero || (std::isfinite(FMin) && std::isfinite(FScale) && std::isfinite(FBase)));
  }
  bool Falling() const { return !FRangeZero && FSign * FScale < 0; }
  // The pixel as a float, with the axis' rounding (half to even) and clamp (NaN gives 0),
  // written without branches so that the loops over many points vectorise.
  float Pixel(double Value) const {
    if (FRangeZero) return static_cast<float>(FCenter);
    double D = (Value - FMin) * FScale;
    // Beyond 2^51 the pixel is clamped anyway; below it adding and taking away 1.5 * 2^52 rounds
    // half to even in the default rounding mode.
    D = D < -2251799813685248.0 ? -2251799813685248.0 : (D > 2251799813685248.0 ? 2251799813685248.0 : D);
    const double R = (D + 6755399441055744.0) - 6755399441055744.0;
    double P = FBase + FSign * R;
    P = P == P ? P : 0.0;
    P = P < -double(ZelPixelLimit) ? -double(ZelPixelLimit) : (P > double(ZelPixelLimit) ? double(ZelPixelLimit) : P);
    // A whole number within the axis' pixel limit: the same float as through the int.
    return static_cast<float>(P);
  }
  std::int32_t AxisPixel(double Value) const { return FX ? FAxis->CalcXPosValue(Value) : FAxis->CalcYPosValue(Value); }

  // Writes the pixels of Values[1 .. Count - 1] into the X (or Y) field of Points.
  void Fill(const double* Values, TPointF* Points, std::size_t Count, bool IntoX) const {
    if (FLinear) {
      for (std::size_t K = 1; K < Count; ++K) (IntoX ? Points[K].X : Points[K].Y) = Pixel(Values[K]);
    } else {
      for (std::size_t K = 1; K < Count; ++K)
        (IntoX ? Points[K].X : Points[K].Y) = static_cast<float>(AxisPixel(Values[K]));
    }
  }
  // Both coordinates in one pass (two linear axes); the same arithmetic as Pixel, on local
  // copies of the coefficients, without branches.
  static void FillXY(const TPixelMap& MX, const TPixelMap& MY, const double* XV, const double* YV, TPointF* Points,
                     std::size_t Count) {
    if (MX.FRangeZero || MY.FRangeZero) {
      for (std::size_t K = 1; K < Count; ++K) Points[K] = TPointF(MX.Pixel(XV[K]), MY.Pixel(YV[K]));
      return;
    }
    const double XMin = MX.FMin, XScale = MX.FScale, XBase = MX.FBase, XSign = MX.FSign;
    const double YMin = MY.FMin, YScale = MY.FScale, YBase = MY.FBase, YSign = MY.FSign;
    constexpr double Big = 2251799813685248.0, Magic = 6755399441055744.0;
    constexpr double Lo = -double(ZelPixelLimit), Hi = double(ZelPixelLimit);
    for (std::size_t K = 1; K < Count; ++K) {
      double DX = (XV[K] - XMin) * XScale, DY = (YV[K] - YMin) * YScale;
      DX = std::min(std::max(DX, -Big), Big);
      DY = std::min(std::max(DY, -Big), Big);
      double PX = XBase + XSign * ((DX + Magic) - Magic), PY = YBase + YSign * ((DY + Magic) - Magic);
      PX = PX == PX ? PX : 0.0;
      PY = PY == PY ? PY : 0.0;
      PX = std::min(std::max(PX, Lo), Hi);
      PY = std::min(std::max(PY, Lo), Hi);
      Points[K].X = static_cast<float>(PX);
      Points[K].Y = static_cast<float>(PY);
    }
  }

 private:
  const TChartAxis* FAxis;
  bool FX;
  bool FLinear = false;
  bool FRangeZero = false;
  std::int32_t FCenter = 0;
  double FMin = 0;
  double FScale = 0;
  double FBase = 0;
  double FSign = 1;
};

}  // namespace

// TCustomLineSeries

void TCustomLineSeries::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TCustomLineSeries*>(Source)) FTreatNulls = S->FTreatNulls;
  TChartSeries::Assign(Source);
}

void TCustomLineSeries::SetTreatNulls(TTreatNullsStyle Value) {
  if (FTreatNulls != Value) {
    FTreatNulls = Value;
    Repaint();
  }
}

// TFastLineSeries

TFastLineSeries::TFastLineSeries(TComponent* AOwner) : TCustomLineSeries(AOwner) {
  FPen->InitColor(clZelDefault);
  AllowSinglePoint = false;
  DrawBetweenPoints = true;
  IMandatoryPen = true;
  FTreatNulls = TTreatNullsStyle::tnIgnore;
  // Hover highlighting stays off unless asked for.
  TZelSelected* Sel = GetSelected();
  Sel->GetHover()->SetVisible(false);
  Sel->GetHover()->DefaultVisible = false;
}

TFastLineSeries::~TFastLineSeries() {
  IPoints.clear();
  IPoints.shrink_to_fit();
}

void TFastLineSeries::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TFastLineSeries*>(Source)) {
    FAutoRepaint = S->FAutoRepaint;
    FClickTolerance = S->FClickTolerance;
    FDAPStyle = S->FDAPStyle;
    FDrawAll = S->FDrawAll;
    FDrawStyle = S->FDrawStyle;
    FFastPen = S->FFastPen;
    FIgnoreNulls = S->FIgnoreNulls;
    FInvertedStairs = S->FInvertedStairs;
    FStairs = S->FStairs;
  }
  TCustomLineSeries::Assign(Source);
}

void TFastLineSeries::SetPen(TZelPen* Value) {
  TCustomLineSeries::SetPen(Value);
  SetSeriesColor(FPen->GetColor());
}

void TFastLineSeries::SetSeriesColor(TAlphaColor Value) {
  TCustomLineSeries::SetSeriesColor(Value);
  // The series colour is also the line's default: the series writes it (or, from the palette,
  // makes it again when read), and the line writes only a colour given to it apart.
  FPen->InitColor(Value);
}

void TFastLineSeries::AssignFormatting(TChartSeries* Source) {
  TCustomLineSeries::AssignFormatting(Source);
  FPen->SetVisible(true);
  FPen->SetColor(clZelDefault);
}

void TFastLineSeries::SetDrawAllPointsStyle(TDrawAllPointsStyle Value) {
  if (FDAPStyle != Value) {
    FDAPStyle = Value;
    Repaint();
  }
}

void TFastLineSeries::SetDrawStyle(TFastLineDrawStyle Value) {
  if (FDrawStyle != Value) {
    FDrawStyle = Value;
    Repaint();
  }
}

bool TFastLineSeries::ShouldDrawAsPolyline() const {
  return FDrawAll && FDrawStyle == TFastLineDrawStyle::flAll && FTreatNulls == TTreatNullsStyle::tnIgnore &&
         !FStairs && FParent && !FParent->GetView3D();
}

std::int32_t TFastLineSeries::XPixel(std::int32_t Index) const {
  return FGetHorizAxis ? FGetHorizAxis->CalcXPosValue(FX->Value[Index]) : 0;
}

std::int32_t TFastLineSeries::YPixel(std::int32_t Index) const {
  return FGetVertAxis ? FGetVertAxis->CalcYPosValue(FY->Value[Index]) : 0;
}

void TFastLineSeries::PrepareCanvas() {
  TCanvas3D* Canvas = FParent->GetCanvas();
  const TAlphaColor PenColor = FPen->GetColor();
  Canvas->AssignVisiblePenColor(FPen, PenColor == clZelDefault ? GetSeriesColor() : PenColor);
  Canvas->GetBrush()->SetKind(TBrushKind::None);
  Canvas->SetBackMode(TCanvasBackMode::cbmTransparent);
}

void TFastLineSeries::PrepareLegendCanvas(std::int32_t, TAlphaColor&, TBrushKind&) {
  if (FParent && FParent->GetCanvas()) PrepareCanvas();
}

void TFastLineSeries::DrawLegendShape(std::int32_t, const TRectF& Rect) {
  if (!FParent || !FParent->GetCanvas()) return;
  const std::int32_t L = Round(Rect.Left), T = Round(Rect.Top), R = Round(Rect.Right), B = Round(Rect.Bottom);
  FParent->GetCanvas()->DoHorizLine(static_cast<float>(L), static_cast<float>(R), static_cast<float>((T + B) / 2));
}

void TFastLineSeries::DrawMark(std::int32_t ValueIndex, const String& St, TSeriesMarkPosition* APosition) {
  if (FMarks) FMarks->ApplyArrowLength(APosition);
  TCustomLineSeries::DrawMark(ValueIndex, St, APosition);
}

namespace {
std::int32_t PenMargin(const TZelPen* Pen) {
  const double W = Pen->GetWidth();
  return Round(W - (W - 2) * 0.5);
}
}  // namespace

void TFastLineSeries::CalcHorizMargins(std::int32_t& LeftMargin, std::int32_t& RightMargin) {
  TCustomLineSeries::CalcHorizMargins(LeftMargin, RightMargin);
  const std::int32_t M = PenMargin(FPen);
  LeftMargin += M;
  RightMargin += M;
}

void TFastLineSeries::CalcVerticalMargins(std::int32_t& TopMargin, std::int32_t& BottomMargin) {
  TCustomLineSeries::CalcVerticalMargins(TopMargin, BottomMargin);
  const std::int32_t M = PenMargin(FPen);
  if (M == 0 || !FGetVertAxis || Count() == 0) return;
  if (MaxYValue() >= FGetVertAxis->GetMaximum()) TopMargin += M;
  if (MinYValue() <= FGetVertAxis->GetMinimum()) BottomMargin += M;
}

void TFastLineSeries::CreateSubGallery(const TAddSubChart& AddSubChart) {
  TCustomLineSeries::CreateSubGallery(AddSubChart);
  if (!AddSubChart) return;
  AddSubChart(ZelMsg_Marks);
  AddSubChart(ZelMsg_Dotted);
  AddSubChart(ZelMsg_Stairs);
}

void TFastLineSeries::SetSubGallery(TChartSeries* Series, std::int32_t Index) {
  auto* S = dynamic_cast<TFastLineSeries*>(Series);
  if (!S) return;
  switch (Index) {
    case 1:
      S->GetMarks()->SetVisible(true);
      break;
    case 2:
      S->GetLinePen()->SetSmallDots(true);
      break;
    case 3:
      S->SetStairs(true);
      break;
    default:
      break;
  }
}

void TFastLineSeries::CalcFirstLastVisibleIndex() {
  TCustomLineSeries::CalcFirstLastVisibleIndex();
  if (FDrawAll || FFirstVisibleIndex < 0 || FFirstVisibleIndex != FLastVisibleIndex) return;
  const std::int32_t F = FFirstVisibleIndex;
  if (F <= 0) {
    FFirstVisibleIndex = -1;
    return;
  }
  std::int32_t I = F - 1;
  const std::int32_t X = XPixel(I);
  while (I > 0 && XPixel(I - 1) == X) --I;
  FFirstVisibleIndex = I;
}

void TFastLineSeries::DoBeforeParallel() {
  CalcFirstLastVisibleIndex();
  IDeferredPoints = false;
  const std::int32_t F = FFirstVisibleIndex, L = FLastVisibleIndex;
  if (F < 0 || L < 0 || L >= Count()) return;
  StartPenAt(F < 1 ? 0 : F - 1);
  if (!ShouldDrawAsPolyline()) return;
  const std::int32_t S = F > 0 ? F - 1 : F;
  if (!ReuseXValues && !ReuseYValues && FGetHorizAxis && FGetVertAxis && TPixelMap(FGetHorizAxis, true).Monotone() &&
      TPixelMap(FGetVertAxis, false).Monotone() && FX->IsAscendingFinite()) {
    // Whether the canvas merges the points of a pixel column is known once the pen is set: the
    // points are made when the line is drawn.
    IDeferredPoints = true;
    IDeferredFirst = S;
    return;
  }
  FillPolylinePoints(S, L);
}

void TFastLineSeries::StartPenAt(std::int32_t P) {
  OldX = XPixel(P);
  OldY = YPixel(P);
  IPenUnset = !IsFinitePoint(P);
}

void TFastLineSeries::DropNonFinitePoints(std::int32_t S) {
  if (FX->AllFinite() && FY->AllFinite()) return;
  const double* XV = std::as_const(FX->Value).Data() + S;
  const double* YV = std::as_const(FY->Value).Data() + S;
  std::size_t Kept = 0;
  for (std::size_t K = 0; K < IPoints.size(); ++K)
    if (std::isfinite(XV[K]) && std::isfinite(YV[K])) IPoints[Kept++] = IPoints[K];
  IPointsCompacted = Kept != IPoints.size();
  IPoints.resize(Kept);
}

void TFastLineSeries::FillPolylinePoints(std::int32_t S, std::int32_t L) {
  FillPolylineEntries(S, L);
  // A point that is not finite has no pixel: the line joins its neighbours.
  DropNonFinitePoints(S);
}

void TFastLineSeries::FillPolylineEntries(std::int32_t S, std::int32_t L) {
  const std::size_t N = static_cast<std::size_t>(L - S + 1);
  const bool Had = !IPoints.empty() && !IPointsCompacted;
  IPointsCompacted = false;
  if (IPoints.size() != N) IPoints.resize(N);
  TPointF* P = IPoints.data();
  P[0] = TPointF(static_cast<float>(OldX), static_cast<float>(OldY));
  // The hot loop: values straight from the lists, mapped inline on the axes' cached coefficients.
  const double* XV = std::as_const(FX->Value).Data() + S;
  const double* YV = std::as_const(FY->Value).Data() + S;
  const std::size_t Last = N;
  const bool FillX = !(Had && ReuseXValues), FillY = !(Had && ReuseYValues);
  if (FillX && FillY && FGetHorizAxis && FGetVertAxis) {
    const TPixelMap MX(FGetHorizAxis, true), MY(FGetVertAxis, false);
    if (MX.Linear() && MY.Linear()) {
      ClearUpperVectors();
      TPixelMap::FillXY(MX, MY, XV, YV, P, Last);
      return;
    }
  }
  if (FillX) {
    if (FGetHorizAxis)
      TPixelMap(FGetHorizAxis, true).Fill(XV, P, Last, true);
    else
      for (std::size_t K = 1; K < Last; ++K) P[K].X = 0;
  }
  if (FillY) {
    if (FGetVertAxis)
      TPixelMap(FGetVertAxis, false).Fill(YV, P, Last, false);
    else
      for (std::size_t K = 1; K < Last; ++K) P[K].Y = 0;
  }
}

void TFastLineSeries::FillMergedPoints(std::int32_t S, std::int32_t L) {
  // The points the canvas draws when it merges each pixel column's points into the first, the
  // lowest, the highest and the last (ReducePolylineByColumn), found without visiting every
  // point: X is ascending, so a column's points are one run of indexes, found by a galloping
  // search; the extremes of a run come from the value blocks of Y. The pixels of a monotone
  // mapping have their extremes at the values' extremes; the first point that reaches each
  // extreme pixel decides which of the two comes first, as in the merge.
  const TPixelMap MX(FGetHorizAxis, true), MY(FGetVertAxis, false);
  const double* XV = std::as_const(FX->Value).Data();
  const double* YV = std::as_const(FY->Value).Data();
  // Short series are walked point by point; long ones use the blocks of Y.
  const TValueBlocks* YB = FY->GetCount() >= TValueBlocks::From ? &FY->GetBlocks() : nullptr;
  constexpr std::int32_t B = TValueBlocks::Size;
  ClearUpperVectors();
  if (IPoints.capacity() > 4096 && IPoints.capacity() > 8 * static_cast<std::size_t>(L - S + 1)) {
    std::vector<TPointF>().swap(IPoints);  // the memory of an earlier line of all points
  }
  IPoints.clear();
  auto Push = [this](float X, float Y) {
    const TPointF P(X, Y);
    if (IPoints.empty() || !(IPoints.back() == P)) IPoints.push_back(P);
  };
  auto PY = [&MY](double V) { return MY.Pixel(V); };
  // A column's four points: its first, its extremes in the order they come, its last.
  auto PushColumn = [&Push](float C, float FirstP, float MinP, std::int32_t MinI, float MaxP, std::int32_t MaxI,
                            float LastP) {
    Push(C, FirstP);
    Push(C, MinI < MaxI ? MinP : MaxP);
    Push(C, MinI < MaxI ? MaxP : MinP);
    Push(C, LastP);
  };
  // The lowest and highest value in A .. Z; false when one of them is not finite.
  auto Extremes = [&](std::int32_t A, std::int32_t Z, double& Lo, double& Hi) {
    Lo = YV[A];
    Hi = YV[A];
    for (std::int32_t I = A; I <= Z;) {
      if (YB && I % B == 0 && I + B - 1 <= Z) {
        const double BL = YB->Min[static_cast<std::size_t>(I / B)], BH = YB->Max[static_cast<std::size_t>(I / B)];
        if (BL != BL) return false;
        Lo = std::min(Lo, BL);
        Hi = std::max(Hi, BH);
        I += B;
      } else {
        const double V = YV[I];
        if (!std::isfinite(V)) return false;
        Lo = std::min(Lo, V);
        Hi = std::max(Hi, V);
        ++I;
      }
    }
    return true;
  };
  // The first index in A .. Z whose pixel is P, P being the lowest (Low) or highest pixel there.
  auto FirstAt = [&](std::int32_t A, std::int32_t Z, float P, bool Low) {
    for (std::int32_t I = A; I <= Z;) {
      if (YB && I % B == 0 && I + B - 1 <= Z) {
        const std::size_t K = static_cast<std::size_t>(I / B);
        const float P1 = PY(YB->Min[K]), P2 = PY(YB->Max[K]);
        if ((Low ? std::min(P1, P2) : std::max(P1, P2)) != P) {
          I += B;
          continue;
        }
        for (std::int32_t J = I; J < I + B; ++J)
          if (PY(YV[J]) == P) return J;
        I += B;
      } else {
        if (PY(YV[I]) == P) return I;
        ++I;
      }
    }
    return A;
  };
  for (std::int32_t I = S; I <= L;) {
    const float C = MX.Pixel(XV[I]);
    // The run of column C: gallop, then halve.
    std::int32_t Hi = I, Step = 1;
    while (Hi + Step <= L && MX.Pixel(XV[Hi + Step]) == C) {
      Hi += Step;
      Step *= 2;
    }
    std::int32_t A = Hi + 1, Z = std::min(Hi + Step, L + 1);
    while (A < Z) {
      const std::int32_t M = A + (Z - A) / 2;
      if (MX.Pixel(XV[M]) == C)
        A = M + 1;
      else
        Z = M;
    }
    const std::int32_t Last = A - 1;
    const float First = PY(YV[I]);
    double Lo, HiV;
    float MinP, MaxP;
    std::int32_t MinI, MaxI;
    if (Extremes(I, Last, Lo, HiV)) {
      const float P1 = PY(Lo), P2 = PY(HiV);
      MinP = std::min(P1, P2);
      MaxP = std::max(P1, P2);
      MinI = FirstAt(I, Last, MinP, true);
      MaxI = FirstAt(I, Last, MaxP, false);
    } else {
      // A value that is not finite: the run point by point, as the merge walks the line that
      // leaves such points out. A run of them alone adds nothing to the line.
      std::int32_t F = I;
      while (F <= Last && !std::isfinite(YV[F])) ++F;
      if (F > Last) {
        I = Last + 1;
        continue;
      }
      std::int32_t E = Last;
      while (!std::isfinite(YV[E])) --E;
      MinP = MaxP = PY(YV[F]);
      MinI = MaxI = F;
      for (std::int32_t J = F + 1; J <= E; ++J) {
        if (!std::isfinite(YV[J])) continue;
        const float P = PY(YV[J]);
        if (P < MinP) {
          MinP = P;
          MinI = J;
        } else if (P > MaxP) {
          MaxP = P;
          MaxI = J;
        }
      }
      PushColumn(C, PY(YV[F]), MinP, MinI, MaxP, MaxI, PY(YV[E]));
      I = Last + 1;
      continue;
    }
    PushColumn(C, First, MinP, MinI, MaxP, MaxI, PY(YV[Last]));
    I = Last + 1;
  }
}

void TFastLineSeries::DrawAsPolyline(TCanvas3D* Canvas) {
  if (IDeferredPoints) {
    IDeferredPoints = false;
    const std::int32_t L = FLastVisibleIndex;
    if (static_cast<TZelCanvas*>(Canvas)->MergesPolylineColumns())
      FillMergedPoints(IDeferredFirst, L);
    else
      FillPolylinePoints(IDeferredFirst, L);
  }
  if (IPoints.empty()) return;
  TZelPen* Pen = Canvas->GetPen();
  TCustomZelGradient* G = nullptr;
  TRectF OldTarget;
  if (Pen->IsGradientVisible() && Count() > 0) {
    // The gradient spans the series' extent, widened by the pen.
    G = Pen->GetPenBrush()->GetGradient();
    OldTarget = G->GetCustomTargetRectangle();
    const std::int32_t W = Round(Pen->GetWidth() * 0.5) + 1;
    const float L = static_cast<float>(CalcXPosValue(FX->GetMinValue()) - W);
    const float T = static_cast<float>(CalcYPosValue(FY->GetMaxValue()) - W);
    const float R = static_cast<float>(CalcXPosValue(FX->GetMaxValue()) + W);
    const float B = static_cast<float>(CalcYPosValue(FY->GetMinValue()) + W);
    G->SetCustomTargetRectangle(TRectF(L, T, R, B));
  }
  TRestoreOnExit RestoreTarget([&] {
    if (G) G->SetCustomTargetRectangle(OldTarget);
  });
  static_cast<TZelCanvas*>(Canvas)->Polyline(IPoints.data(), static_cast<int>(IPoints.size()) - 1);
}

void TFastLineSeries::DrawAllValues() {
  const std::int32_t F = FFirstVisibleIndex, L = FLastVisibleIndex;
  if (!FParent || F < 0 || L < 0 || L >= Count()) return;
  TCanvas3D* Canvas = FParent->GetCanvas();
  if (!Canvas) return;
  TZelBlend* Blend = nullptr;
  const bool Blending = FTransparency != 0 && Canvas->GetSupportsAlpha();
  bool SwitchedFast = false;
  if (Blending) Blend = Canvas->BeginBlending(TRectF(), static_cast<std::int8_t>(FTransparency));
  TRestoreOnExit Finish([&] {
    if (Blending) Canvas->EndBlending(Blend);
    if (SwitchedFast) {
      Canvas->SetFastLine(false);
      IFastPenInit = false;
    }
  });
  PrepareCanvas();
  const bool Poly = ShouldDrawAsPolyline();
  // The strokes of the walk below, merged in each pixel column where that sets the same pixels.
  std::optional<TColumnStrokes> Strokes;
  if (!Poly && MergesStrokes(Canvas)) Strokes.emplace(Canvas->GetCanvas(), Canvas->Opacity());
  IStrokes = Strokes ? &*Strokes : nullptr;
  TRestoreOnExit StopStrokes([this] { IStrokes = nullptr; });
  if (!Poly) {
    if (!IPenUnset) DoMoveTo(OldX, OldY);
    if (!FDrawAll) {
      IMin = OldY;
      IMax = OldY;
      ISameX = false;
    }
  }
  if (FFastPen && !IFastPenInit && (!Canvas->GetSupportsFullRotation() || !Poly)) {
    Canvas->SetFastLine(true);
    IFastPenInit = true;
    SwitchedFast = true;
  }
  if (Poly) {
    DrawAsPolyline(Canvas);
  } else if (Strokes && FDrawAll && FX->AllFinite() && FY->AllFinite() &&
             (FTreatNulls == TTreatNullsStyle::tnIgnore ||
              (!GetColors() && !FColorEachPoint && ClassType() == TFastLineSeries::StaticClass()))) {
    // Every point drawn, none of them null (a point that is not finite is, and is left to the
    // walk below; so is one coloured 0, or one a kind made elsewhere calls null).
    WalkStrokes(*Strokes, F, L);
  } else {
    WalkPoints(F, L);
  }
  if (Strokes) {
    Strokes->Finish();
    // Where the walk leaves the canvas' pen.
    Canvas->MoveTo(StrokePoint(OldX, OldY));
  }
}

bool TFastLineSeries::MergesStrokes(TCanvas3D* Canvas) const {
  // One colour: the picture is the union of the strokes' pixels. In 3D the strokes go between
  // the projected points, as LineTo3D draws them.
  return ZelMergeSamePixels && FParent && Canvas->GetCanvas() && !Canvas->GetSupportsFullRotation() &&
         static_cast<TZelCanvas*>(Canvas)->MergesColumnStrokes();
}

TPointF TFastLineSeries::StrokePoint(std::int32_t X, std::int32_t Y) const {
  if (FParent->GetView3D())
    return FParent->GetCanvas()->Calculate3DPosition(static_cast<float>(X), static_cast<float>(Y),
                                                     static_cast<float>(MiddleZ));
  return TPointF(static_cast<float>(X), static_cast<float>(Y));
}

void TFastLineSeries::WalkStrokes(TColumnStrokes& Strokes, std::int32_t F, std::int32_t L) {
  const std::int32_t First = F > 0 ? F : F + 1;
  if (First > L) return;
  const double* XV = std::as_const(FX->Value).Data();
  const double* YV = std::as_const(FY->Value).Data();
  // What DoDrawPoint draws for each point: the stair's corner first, then the point; where nulls
  // are not ignored a point on the pen's pixel adds nothing (ShouldDrawPoint).
  const bool SkipSame = FTreatNulls != TTreatNullsStyle::tnIgnore;
  const bool View3D = FParent->GetView3D();
  TCanvas3D* Canvas = FParent->GetCanvas();
  const float Z = static_cast<float>(MiddleZ);
  float PX = static_cast<float>(OldX), PY = static_cast<float>(OldY);
  auto Stroke = [&](float X, float Y) { Strokes.LineTo(View3D ? Canvas->Calculate3DPosition(X, Y, Z) : TPointF(X, Y)); };
  auto Point = [&](TPointF P) {
    if (SkipSame && P.X == PX && P.Y == PY) return;
    if (FStairs) Stroke(FInvertedStairs ? PX : P.X, FInvertedStairs ? P.Y : PY);
    Stroke(P.X, P.Y);
    PX = P.X;
    PY = P.Y;
  };
  if (FGetHorizAxis && FGetVertAxis && TPixelMap(FGetHorizAxis, true).Linear() &&
      TPixelMap(FGetVertAxis, false).Linear()) {
    const TPixelMap MX(FGetHorizAxis, true), MY(FGetVertAxis, false);
    // Mapped a piece at a time (FillXY fills from the second place on).
    constexpr std::int32_t Piece = 4096;
    std::vector<TPointF> P(Piece + 1);
    ClearUpperVectors();
    for (std::int32_t I = First; I <= L; I += Piece) {
      const std::int32_t N = std::min(Piece, L - I + 1);
      TPixelMap::FillXY(MX, MY, XV + I - 1, YV + I - 1, P.data(), static_cast<std::size_t>(N) + 1);
      if (!FStairs && !SkipSame && !View3D)
        for (std::int32_t K = 1; K <= N; ++K) Strokes.LineTo(P[static_cast<std::size_t>(K)]);
      else
        for (std::int32_t K = 1; K <= N; ++K) Point(P[static_cast<std::size_t>(K)]);
    }
  } else {
    for (std::int32_t I = First; I <= L; ++I)
      Point(TPointF(static_cast<float>(XPixel(I)), static_cast<float>(YPixel(I))));
  }
  OldX = XPixel(L);
  OldY = YPixel(L);
}

void TFastLineSeries::WalkPoints(std::int32_t F, std::int32_t L) {
  const std::int32_t First = F > 0 ? F : F + 1;
  if (First > L) return;
  // With merging off every point is mapped as it comes, for the tests to compare.
  if (!ZelMergeSamePixels || !FGetHorizAxis || !FGetVertAxis || !TPixelMap(FGetHorizAxis, true).Linear() ||
      !TPixelMap(FGetVertAxis, false).Linear()) {
    for (std::int32_t I = First; I <= L; ++I) DrawPointAt(I);
    return;
  }
  // The pixels mapped a piece at a time, as WalkStrokes maps them (a point that is not finite
  // gets a pixel that DrawPointAt does not read).
  const double* XV = std::as_const(FX->Value).Data();
  const double* YV = std::as_const(FY->Value).Data();
  const TPixelMap MX(FGetHorizAxis, true), MY(FGetVertAxis, false);
  constexpr std::int32_t Piece = 4096;
  std::vector<TPointF> P(Piece + 1);
  for (std::int32_t I = First; I <= L; I += Piece) {
    const std::int32_t N = std::min(Piece, L - I + 1);
    ClearUpperVectors();
    TPixelMap::FillXY(MX, MY, XV + I - 1, YV + I - 1, P.data(), static_cast<std::size_t>(N) + 1);
    for (std::int32_t K = 1; K <= N; ++K) {
      const TPointF& Q = P[static_cast<std::size_t>(K)];
      DrawPointAt(I + K - 1, static_cast<std::int32_t>(Q.X), static_cast<std::int32_t>(Q.Y));
    }
  }
}

void TFastLineSeries::DrawValue(std::int32_t ValueIndex) {
  if (ValueIndex >= 0 && ValueIndex < Count() && FParent && FParent->GetCanvas()) DrawPointAt(ValueIndex);
}

void TFastLineSeries::DoMoveTo(std::int32_t X, std::int32_t Y) {
  if (IStrokes) {
    IStrokes->MoveTo(StrokePoint(X, Y));
    return;
  }
  TCanvas3D* Canvas = FParent->GetCanvas();
  if (FParent->GetView3D())
    Canvas->MoveTo3D(static_cast<float>(X), static_cast<float>(Y), static_cast<float>(MiddleZ));
  else
    Canvas->MoveTo(static_cast<float>(X), static_cast<float>(Y));
}

void TFastLineSeries::LineToPoint(std::int32_t X, std::int32_t Y) {
  if (IStrokes) {
    IStrokes->LineTo(StrokePoint(X, Y));
    return;
  }
  TCanvas3D* Canvas = FParent->GetCanvas();
  if (FParent->GetView3D())
    Canvas->LineTo3D(static_cast<float>(X), static_cast<float>(Y), static_cast<float>(MiddleZ));
  else if (IFastPenInit)
    Canvas->FastLineTo(X, Y);
  else
    Canvas->LineTo(static_cast<float>(X), static_cast<float>(Y));
}

void TFastLineSeries::DoDrawPoint(std::int32_t X, std::int32_t Y) {
  if (FStairs) {
    if (FInvertedStairs)
      LineToPoint(OldX, Y);
    else
      LineToPoint(X, OldY);
  }
  LineToPoint(X, Y);
  OldX = X;
  OldY = Y;
}

bool TFastLineSeries::IsNewPixelPosition(std::int32_t X, std::int32_t Y) const {
  if (X != OldX) return true;
  return !((!FDrawAll && FDAPStyle == TDrawAllPointsStyle::daFirst) || Y == OldY);
}

bool TFastLineSeries::ShouldDrawPoint(std::int32_t ValueIndex, std::int32_t& X, std::int32_t& Y) {
  if (!IsNull(ValueIndex)) {
    const bool Result = IsNewPixelPosition(X, Y);
    if (Result && ValueIndex > 0 && IsNull(ValueIndex - 1) &&
        (FTreatNulls == TTreatNullsStyle::tnDontPaint ||
         (FTreatNulls == TTreatNullsStyle::tnSkip && ValueIndex - 1 == GetFirstDisplayedIndex()))) {
      DoMoveTo(X, Y);
      OldX = X;
      OldY = Y;
      return false;
    }
    return Result;
  }
  switch (FTreatNulls) {
    case TTreatNullsStyle::tnIgnore:
      return IsNewPixelPosition(X, Y);
    case TTreatNullsStyle::tnSkip:
      X = OldX;
      Y = OldY;
      return false;
    case TTreatNullsStyle::tnDontPaint:
      if (!FDrawAll) {
        if (FDAPStyle == TDrawAllPointsStyle::daFirst) {
          DoMoveTo(X, Y);
        } else {
          OldX = X;
          OldY = Y;
        }
      }
      return false;
  }
  return false;
}

void TFastLineSeries::DrawPointAt(std::int32_t ValueIndex) {
  DrawPointAt(ValueIndex, XPixel(ValueIndex), YPixel(ValueIndex));
}

void TFastLineSeries::DrawPointAt(std::int32_t ValueIndex, std::int32_t X, std::int32_t Y) {
  const bool MinMax = !FDrawAll && FDAPStyle == TDrawAllPointsStyle::daMinMax;
  const bool Inverted = MinMax && FGetVertAxis && FGetVertAxis->GetInverted();
  // The strokes of the pixel column collected last, when the walk ends in it.
  auto FlushLastColumn = [&] {
    const std::int32_t Col = OldX;
    if (!Inverted) {
      DoDrawPoint(Col, IMin);
      DoDrawPoint(Col, IMax);
    } else {
      DoDrawPoint(Col, IMax);
      DoDrawPoint(Col, IMin);
      DoDrawPoint(Col, IMax);
    }
  };
  if (!IsFinitePoint(ValueIndex)) {
    // No pixel: a gap where nulls leave one (the column collected so far ends), else the line
    // goes on from the last point drawn.
    const bool Gap = TreatNullsOf(ValueIndex) == TTreatNullsStyle::tnDontPaint;
    if (MinMax && ISameX && !IPenUnset && (Gap || ValueIndex == GetLastDisplayedIndex())) {
      FlushLastColumn();
      ISameX = false;
    }
    if (Gap) IPenUnset = true;
    return;
  }
  if (IPenUnset) {
    IPenUnset = false;
    DoMoveTo(X, Y);
    OldX = X;
    OldY = Y;
    IMin = IMax = Y;
    ISameX = false;
    return;
  }
  if (FTreatNulls == TTreatNullsStyle::tnIgnore && FDrawAll) {
    DoDrawPoint(X, Y);
    return;
  }
  const std::int32_t ColumnX = OldX;
  if (!ShouldDrawPoint(ValueIndex, X, Y)) {
    // The last point may add nothing (it lands on the pen's pixel): the column still ends.
    if (MinMax && ISameX && OldX == ColumnX && ValueIndex == GetLastDisplayedIndex()) FlushLastColumn();
    return;
  }
  if (MinMax) {
    if (X == OldX) {
      IMin = std::min(IMin, Y);
      IMax = std::max(IMax, Y);
      ISameX = true;
      if (ValueIndex == GetLastDisplayedIndex()) FlushLastColumn();
    } else {
      if (ISameX) {
        const std::int32_t Col = OldX;
        if (!Inverted) {
          DoDrawPoint(Col, IMin);
          DoDrawPoint(Col, IMax);
        } else {
          DoDrawPoint(Col, IMax);
          DoDrawPoint(Col, IMin);
        }
      }
      DoDrawPoint(X, Y);
      ISameX = false;
      IMin = INT_MAX;
      IMax = INT_MIN;
    }
    return;
  }
  DoDrawPoint(X, Y);
}

void TFastLineSeries::NotifyNewValue(TChartSeries* Sender, std::int32_t ValueIndex) {
  if (FAutoRepaint) {
    TCustomLineSeries::NotifyNewValue(Sender, ValueIndex);
    return;
  }
  // Draws the new segment at once: outside a paint on the picture that keeps the chart, shown
  // within one frame; inside one (or with a canvas bound by the caller) on that canvas.
  if (!FParent || ValueIndex < 0 || ValueIndex >= Count() || !FGetHorizAxis || !FGetVertAxis) return;
  TCanvas3D* Canvas = FParent->GetCanvas();
  if (!Canvas) return;
  TDirectDrawScope Direct(FParent);
  if (!Direct.Active()) {
    // Not drawn where the chart is kept: a buffered picture must not show without this point.
    Canvas->Invalidate();
    if (!Canvas->GetCanvas()) return;
  }
  // The pen starts at the point before; where that one is not finite and the line joins over
  // it, at the last finite point before, as a paint draws it.
  std::int32_t P = ValueIndex > 0 ? ValueIndex - 1 : 0;
  if (!IsFinitePoint(ValueIndex)) return;  // nothing to draw, and nothing a paint would draw
  if (TreatNullsOf(P) != TTreatNullsStyle::tnDontPaint)
    while (P > 0 && !IsFinitePoint(P)) --P;
  StartPenAt(P);
  IMin = OldY;
  IMax = OldY;
  ISameX = false;
  const TAlphaColor PenColor = FPen->GetColor();
  Canvas->AssignVisiblePenColor(FPen, PenColor == clZelDefault ? GetSeriesColor() : PenColor);
  if (Direct.Active()) {
    // The segment lies in the box of its ends and the stairs' corners (their projections in
    // 3D), widened by the pen.
    const std::int32_t X = XPixel(ValueIndex), Y = YPixel(ValueIndex);
    const std::int32_t SX = IPenUnset ? X : OldX, SY = IPenUnset ? Y : OldY;
    const std::int32_t Corners[4][2] = {{SX, SY}, {X, Y}, {SX, Y}, {X, SY}};
    const bool Is3D = FParent->GetView3D();
    TRectF Box;
    for (int I = 0; I < 4; ++I) {
      const TPointF C = Is3D ? Canvas->Calculate3DPosition(Corners[I][0], Corners[I][1], MiddleZ)
                             : TPointF(float(Corners[I][0]), float(Corners[I][1]));
      Box = I == 0 ? TRectF(C.X, C.Y, C.X, C.Y)
                   : TRectF(std::min(Box.Left, C.X), std::min(Box.Top, C.Y), std::max(Box.Right, C.X),
                            std::max(Box.Bottom, C.Y));
    }
    const float Grow = std::max(FPen->GetWidth(), 1.0f) + 2;
    Direct.Changed(TRectF(Box.Left - Grow, Box.Top - Grow, Box.Right + Grow, Box.Bottom + Grow));
  }
  // Clipped as a paint clips the series, so that the next paint draws the same pixels.
  const bool Clip = Direct.Active() && UseAxis() && FParent->GetClipPoints();
  if (Clip) FParent->ClipRegionCreate();
  TRestoreOnExit ClipDone([&] {
    if (Clip) FParent->ClipRegionDone();
  });
  if (!IPenUnset) DoMoveTo(OldX, OldY);
  DrawPointAt(ValueIndex);
}

void TFastLineSeries::ClickRange(std::int32_t X, std::int32_t& First, std::int32_t& Last) {
  // With ordered X values the pixel columns are monotonic in the index: only the points whose
  // columns lie near X (and their neighbours) can be hit. A segment is hit within the tolerance
  // plus one pixel of its ends' columns.
  const TChartListOrder Order = FX->GetOrder();
  if (Order == TChartListOrder::loNone || !FGetHorizAxis || Last - First < 8) return;
  const bool Increasing = (Order == TChartListOrder::loAscending) != FGetHorizAxis->GetInverted();
  const std::int32_t Band = std::max<std::int32_t>(FClickTolerance, 0) + 2;
  const std::int64_t Lo = static_cast<std::int64_t>(X) - Band, Hi = static_cast<std::int64_t>(X) + Band;
  NarrowToPixelBand(First, Last, Lo, Hi, Increasing, [this](std::int32_t I) { return XPixel(I); });
}

std::int32_t TFastLineSeries::Clicked(std::int32_t X, std::int32_t Y) {
  if (FFirstVisibleIndex < 0 || FLastVisibleIndex < 0) return -1;
  if (FParent && FParent->GetCanvas()) FParent->GetCanvas()->Calculate2DPosition(X, Y, MiddleZ);
  const std::int32_t VisibleFirst = FFirstVisibleIndex;
  std::int32_t First = VisibleFirst, Last = std::min(FLastVisibleIndex, Count() - 1);
  if (First > Last) return -1;
  ClickRange(X, First, Last);
  const TPointF M(static_cast<float>(X), static_cast<float>(Y));
  std::int32_t QX = 0, QY = 0;
  if (First > VisibleFirst) {
    QX = CalcXPos(First - 1);
    QY = CalcYPos(First - 1);
  }
  bool HasPrevious = First > VisibleFirst && IsFinitePoint(First - 1);
  for (std::int32_t I = First; I <= Last; ++I) {
    // A point that is not finite is nowhere: neither it nor a segment to it is hit.
    if (!IsFinitePoint(I)) {
      HasPrevious = false;
      continue;
    }
    const std::int32_t PX = CalcXPos(I), PY = CalcYPos(I);
    if (PX == X && PY == Y) return I;
    if (I > VisibleFirst && HasPrevious) {
      const TPointF P(static_cast<float>(PX), static_cast<float>(PY));
      const TPointF Q(static_cast<float>(QX), static_cast<float>(QY));
      bool Hit;
      if (FStairs) {
        const TPointF Corner(static_cast<float>(PX), static_cast<float>(QY));
        Hit = PointInLine(M, P, Corner, FClickTolerance) || PointInLine(M, Corner, Q, FClickTolerance);
      } else {
        Hit = PointInLine(M, P, Q, FClickTolerance);
      }
      if (Hit) return I - 1;
    }
    QX = PX;
    QY = PY;
    HasPrevious = true;
  }
  return -1;
}

// ---------------------------------------------------------------------------------------------
// Published properties

ZEL_BEGIN_PUBLISHED(TCustomLineSeries)
  P::Obj("LinePen", &Self::GetLinePen),
  P::Prop("TreatNulls", &Self::GetTreatNulls, &Self::SetTreatNulls, Default(TTreatNullsStyle::tnDontPaint)),
ZEL_END_PUBLISHED

ZEL_BEGIN_PUBLISHED(TFastLineSeries)
  P::Prop("AutoRepaint", &Self::GetAutoRepaint, &Self::SetAutoRepaint, Default(true)),
  P::Prop("ClickTolerance", &Self::GetClickTolerance, &Self::SetClickTolerance, Default(0)),
  P::Prop("DrawAllPoints", &Self::GetDrawAllPoints, &Self::SetDrawAllPoints, Default(true)),
  P::Prop("DrawAllPointsStyle", &Self::GetDrawAllPointsStyle, &Self::SetDrawAllPointsStyle, Default(TDrawAllPointsStyle::daFirst)),
  P::Prop("DrawStyle", &Self::GetDrawStyle, &Self::SetDrawStyle, Default(TFastLineDrawStyle::flSegments)),
  P::Prop("FastPen", &Self::GetFastPen, &Self::SetFastPen, Default(false)),
  P::Prop("IgnoreNulls", &Self::GetIgnoreNulls, &Self::SetIgnoreNulls, Default(true)),
  P::Prop("InvertedStairs", &Self::GetInvertedStairs, &Self::SetInvertedStairs, Default(false)),
  P::Obj("LinePen", &Self::GetLinePen),
  P::Prop("Stairs", &Self::GetStairs, &Self::SetStairs, Default(false)),
  P::Prop("TreatNulls", &Self::GetTreatNulls, &Self::SetTreatNulls, Default(TTreatNullsStyle::tnIgnore)),
ZEL_END_PUBLISHED

}  // namespace zel
