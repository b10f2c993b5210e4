#include "zelgraph/series/LineSeries.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "platform/Math.h"
#include "zelgraph/canvas/Canvas3D.h"
#include "zelgraph/canvas/CanvasScopes.h"
#include "zelgraph/canvas/Geometry.h"
#include "zelgraph/canvas/Gradient.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/canvas/Picture.h"
#include "zelgraph/canvas/Shadow.h"
#include "zelgraph/canvas/View3D.h"
#include "zelgraph/chart/Chart.h"
#include "zelgraph/chart/Legend.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/AxisPanel.h"
#include "zelgraph/engine/Callout.h"
#include "zelgraph/engine/Function.h"
#include "zelgraph/engine/Marks.h"
#include "zelgraph/engine/PointLists.h"
#include "zelgraph/engine/SeriesLegend.h"
#include "zelgraph/engine/SeriesList.h"
#include "zelgraph/procs/Procs.h"
#include "zelgraph/series/Area.h"
#include "zelgraph/series/Spline.h"

namespace zel {

ZEL_DEFINE_COMPONENT_CLASS(TCustomSeries, TCustomLineSeries)

namespace {

TPointF Pt(std::int32_t X, std::int32_t Y) { return TPointF(static_cast<float>(X), static_cast<float>(Y)); }

// The pen term of the axis margins.
std::int32_t PenTerm(const TZelPen* Pen, bool Stairs) {
  const double W = Pen->GetWidth();
  if (Stairs) return Round(W);
  return W <= 1 ? 0 : Round(W * 0.5) + 1;
}

// The brush holds a picture with pixels.
bool HasPicture(const TZelBrush* B) { return B->HasImage() && B->ExistingImage()->Valid(); }

// The colour a pointer is drawn in for a point of Color: its own brush colour when it has one.
TAlphaColor PointerColor(TSeriesPointer* P, TAlphaColor Color) {
  const TZelBrush* B = P->GetBrush();
  return B && B->GetColor() != clZelDefault && B->GetKind() != TBrushKind::None ? B->GetColor() : Color;
}

// Changes a pen's visibility without telling its owner.
void SetPenVisibleQuiet(TZelPen* Pen, bool Visible) {
  const TNotifyEvent Saved = Pen->GetOnChange();
  Pen->SetOnChange(nullptr);
  Pen->SetVisible(Visible);
  Pen->SetOnChange(Saved);
}

}  // namespace

// Construction

TCustomSeries::TCustomSeries(TComponent* AOwner) : TCustomLineSeries(AOwner) {
  FBrush->SetColor(clZelDefault);
  FBrush->SetBackColor(clZelDefault);
  FBrush->SetOnChanged([this](TObject* Sender) { ChangedBrush(Sender); });
  auto Changed = [this](TObject* Sender) { CanvasChanged(Sender); };
  FAreaBrush = new TZelBrush(Changed);
  FAreaBrush->InitColor(0xFF808080);
  FAreaBrush->InitBackColor(clZelDefault);
  FAreaLinesPen = CreateChartPen();
  FEmboss = new TZelEmboss(Changed);
  FShadow = new TZelShadow(Changed);
  FPointer = new TSeriesPointerItems(this);
}

TCustomSeries::~TCustomSeries() {
  FreeSmoothSeries();
  FreeAndNil(FAreaBrush);
  FreeAndNil(FAreaLinesPen);
  FreeAndNil(FEmboss);
  FreeAndNil(FShadow);
  FreeAndNil(FOutLine);
  FreeAndNil(FPointer);
}

void TCustomSeries::ChangedBrush(TObject* Sender) {
  if (auto* B = dynamic_cast<TBrush*>(Sender); B && !dynamic_cast<TZelBrush*>(Sender)) SetSeriesColor(B->GetColor());
  CanvasChanged(Sender);
}

void TCustomSeries::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TCustomSeries*>(Source); S && S != this) {
    FClickableLine = S->FClickableLine;
    FClickTolerance = S->FClickTolerance;
    FDrawStyle = S->FDrawStyle;
    FStacked = S->FStacked;
  }
  TCustomLineSeries::Assign(Source);
}

void TCustomSeries::AssignFormatting(TChartSeries* Source) {
  if (auto* S = dynamic_cast<TCustomSeries*>(Source); S && S != this) {
    FAreaBrush->Assign(S->FAreaBrush);
    FAreaColor = S->FAreaColor;
    FAreaLinesPen->Assign(S->FAreaLinesPen);
    FColorEachLine = S->FColorEachLine;
    FDark3D = S->FDark3D;
    FDrawArea = S->FDrawArea;
    FDrawLine = S->FDrawLine;
    FInflateMargins = S->FInflateMargins;
    FInvertedStairs = S->FInvertedStairs;
    FLineHeight = S->FLineHeight;
    FPointer->Assign(S->FPointer);
    FPointerBehind = S->FPointerBehind;
    FStairs = S->FStairs;
    SetOutLine(S->FOutLine);
    FEmboss->Assign(S->FEmboss);
    FShadow->Assign(S->FShadow);
  }
  TCustomLineSeries::AssignFormatting(Source);
}

void TCustomSeries::SetParentChart(TCustomAxisPanel* Value) {
  TCustomLineSeries::SetParentChart(Value);
  if (FPointer) FPointer->SetParent(Value);
}

// Properties

void TCustomSeries::SetAreaChartBrush(TZelBrush* Value) {
  if (Value && Value != FAreaBrush) FAreaBrush->Assign(Value);
}

TBrushKind TCustomSeries::GetAreaBrush() const { return FAreaBrush->GetKind(); }
void TCustomSeries::SetAreaBrushStyle(TBrushKind Value) { FAreaBrush->SetKind(Value); }
TBrushKind TCustomSeries::GetLineBrush() const { return FBrush->GetKind(); }
void TCustomSeries::SetLineBrush(TBrushKind Value) { FBrush->SetKind(Value); }

void TCustomSeries::SetAreaLinesPen(TZelPen* Value) {
  if (Value && Value != FAreaLinesPen) FAreaLinesPen->Assign(Value);
}

void TCustomSeries::SetDrawStyle(TCustomSeriesDrawStyle Value) {
  if (FDrawStyle != Value) {
    FDrawStyle = Value;
    Repaint();
  }
}

void TCustomSeries::SetEmboss(TZelEmboss* Value) {
  if (Value && Value != FEmboss) FEmboss->Assign(Value);
}

void TCustomSeries::SetShadow(TZelShadow* Value) {
  if (Value && Value != FShadow) FShadow->Assign(Value);
}

TZelPen* TCustomSeries::GetOutLine() {
  if (!FOutLine) FOutLine = new TZelHiddenPen([this](TObject* Sender) { CanvasChanged(Sender); });
  return FOutLine;
}

void TCustomSeries::SetOutLine(TZelPen* Value) {
  if (!Value) {
    FreeAndNil(FOutLine);
    return;
  }
  if (Value != FOutLine) GetOutLine()->Assign(Value);
}

void TCustomSeries::SetPointer(TSeriesPointer* Value) {
  if (Value && Value != FPointer) FPointer->Assign(Value);
}

void TCustomSeries::SetStacked(TCustomSeriesStack Value) {
  if (FStacked == Value) return;
  FStacked = Value;
  if (FParent)
    for (std::int32_t I = 0; I < FParent->SeriesCount(); ++I)
      if (auto* S = dynamic_cast<TCustomSeries*>(FParent->GetSeries(I)); S && S != this && InheritsFrom(S->ClassType()))
        S->FStacked = Value;
  Repaint();
}

void TCustomSeries::SetSmoothed(bool Value) { SetBooleanProperty(FSmoothed, Value); }

TZelGradient* TCustomSeries::GetGradient() { return FBrush->GetGradient(); }

void TCustomSeries::ResetBrush() {
  FBrush->SetKind(TBrushKind::Solid);
  FBrush->SetColor(clZelDefault);
  FBrush->SetBackColor(clZelDefault);
  SetDefaultColor();
  Repaint();
}

// Points

void TCustomSeries::Clear() {
  TCustomLineSeries::Clear();
  FDirty = true;
}

void TCustomSeries::Delete(std::int32_t ValueIndex) {
  TCustomLineSeries::Delete(ValueIndex);
  FPointer->Delete(ValueIndex);
}

void TCustomSeries::SwapValueIndex(std::int32_t A, std::int32_t B) {
  TCustomLineSeries::SwapValueIndex(A, B);
  if (A < FPointer->Count() && B < FPointer->Count()) FPointer->Exchange(A, B);
}

// Stacking

bool TCustomSeries::SameClassOrigin(TChartSeries* Series) { return SameClass(Series); }

double TCustomSeries::PointOrigin(std::int32_t ValueIndex, bool SumAll, double Scale) {
  double Result = 0;
  if (!FParent) return Result;
  for (std::int32_t I = 0; I < FParent->SeriesCount(); ++I) {
    TChartSeries* S = FParent->GetSeries(I);
    if (!SumAll && S == this) break;
    if (S->GetActive() && SameClassOrigin(S) && S->Count() > ValueIndex) {
      const double V = S->GetOriginValue(ValueIndex);
      // A value that is not finite is a null point's: it stacks nothing.
      if (std::isfinite(V)) Result += (SumAll ? std::fabs(V) : V) * Scale;
    }
  }
  return Result;
}

double TCustomSeries::StackedValue(std::int32_t ValueIndex, double Value) {
  const double Origin = PointOrigin(ValueIndex, false);
  const double V = Value + Origin;
  if (std::isfinite(V) || !std::isfinite(Value) || !std::isfinite(Origin)) return V;
  return std::copysign(std::numeric_limits<double>::max(), V);
}

double TCustomSeries::StackedPercent(std::int32_t ValueIndex, double Value) {
  return StackedPercent(ValueIndex, Value, PointOrigin(ValueIndex, true));
}

double TCustomSeries::StackedPercent(std::int32_t ValueIndex, double Value, double Total) {
  if (Total == 0) return std::numeric_limits<double>::quiet_NaN();
  const double Result = (Value + PointOrigin(ValueIndex, false)) * 100 / Total;
  if (std::isfinite(Result) || !std::isfinite(Value)) return Result;
  // Sums near the largest double overflow: the same shares at 2^-64 of the scale (exact).
  constexpr double Scale = 0x1p-64;
  return (Value * Scale + PointOrigin(ValueIndex, false, Scale)) * 100 / PointOrigin(ValueIndex, true, Scale);
}

std::int32_t TCustomSeries::CalcStackedPos(std::int32_t ValueIndex, double Value) {
  TChartAxis* Axis = MandatoryAxis();
  const std::int32_t End = Axis ? Axis->IEndPos : 0;
  if (FStacked == TCustomSeriesStack::cssStack100) {
    const double Total = PointOrigin(ValueIndex, true);
    if (Total == 0) return End;
    return CalcPosValue(StackedPercent(ValueIndex, Value, Total));
  }
  return std::min(End, CalcPosValue(StackedValue(ValueIndex, Value)));
}

std::int32_t TCustomSeries::GetOriginPos(std::int32_t ValueIndex) {
  if (FStacked == TCustomSeriesStack::cssStack || FStacked == TCustomSeriesStack::cssStack100)
    return CalcStackedPos(ValueIndex, 0);
  if (YMandatory) {
    TChartAxis* A = FGetVertAxis;
    return A ? (A->GetInverted() ? A->IStartPos : A->IEndPos) : 0;
  }
  TChartAxis* A = FGetHorizAxis;
  return A ? (A->GetInverted() ? A->IEndPos : A->IStartPos) : 0;
}

namespace {
bool Stacks(TCustomSeriesStack S) { return S == TCustomSeriesStack::cssStack || S == TCustomSeriesStack::cssStack100; }
}  // namespace

std::int32_t TCustomSeries::CalcYPos(std::int32_t ValueIndex) {
  if (YMandatory && Stacks(FStacked)) return CalcStackedPos(ValueIndex, FY->Value[ValueIndex]);
  return TCustomLineSeries::CalcYPos(ValueIndex);
}

std::int32_t TCustomSeries::CalcXPos(std::int32_t ValueIndex) {
  if (!YMandatory && Stacks(FStacked)) return CalcStackedPos(ValueIndex, FX->Value[ValueIndex]);
  return TCustomLineSeries::CalcXPos(ValueIndex);
}

void TCustomSeries::CalcZOrder() {
  if (FStacked != TCustomSeriesStack::cssNone && FParent)
    IZOrder = FParent->GetMaxZOrder();
  else
    TCustomLineSeries::CalcZOrder();
}

namespace {
// The extent of stacked sums leaves out a sum that is not finite.
double FiniteMin(double A, double B) { return std::isfinite(B) ? std::min(A, B) : A; }
double FiniteMax(double A, double B) { return std::isfinite(B) ? std::max(A, B) : A; }
}  // namespace

double TCustomSeries::CalcMinMaxValue(bool IsMin) {
  bool Any = false;
  double Result = 0;
  const bool All = FTreatNulls == TTreatNullsStyle::tnIgnore;
  for (std::int32_t I = 0; I < Count(); ++I) {
    if ((!All || !IsFinitePoint(I)) && IsNull(I)) continue;
    const double V = MandatoryValueList->Value[I];
    if (!Any || (IsMin ? V < Result : V > Result)) Result = V;
    Any = true;
  }
  return Result;
}

double TCustomSeries::MaxYValue() {
  if (!YMandatory) return TCustomLineSeries::MaxYValue();
  if (FStacked == TCustomSeriesStack::cssStack100) return 100;
  double Result = CalcMinMaxValue(false);
  if (FStacked == TCustomSeriesStack::cssStack)
    for (std::int32_t I = 0; I < Count(); ++I) Result = FiniteMax(Result, StackedValue(I, FY->Value[I]));
  return Result;
}

double TCustomSeries::MinYValue() {
  double Result = YMandatory ? CalcMinMaxValue(true) : TCustomLineSeries::MinYValue();
  if (FStacked == TCustomSeriesStack::cssStack) {
    for (std::int32_t I = 0; I < Count(); ++I) Result = FiniteMin(Result, StackedValue(I, FY->Value[I]));
  } else if (FStacked == TCustomSeriesStack::cssStack100) {
    if (Count() == 0) return 0;
    Result = 0;
    for (std::int32_t I = 0; I < Count(); ++I) {
      Result = FiniteMin(Result, StackedPercent(I, FY->Value[I]));
    }
  }
  return Result;
}

double TCustomSeries::MaxXValue() {
  if (YMandatory) return TCustomLineSeries::MaxXValue();
  if (FStacked == TCustomSeriesStack::cssStack100) return 100;
  double Result = CalcMinMaxValue(false);
  if (FStacked == TCustomSeriesStack::cssStack)
    for (std::int32_t I = 0; I < Count(); ++I) Result = FiniteMax(Result, StackedValue(I, FX->Value[I]));
  return Result;
}

double TCustomSeries::MinXValue() {
  if (YMandatory) return TCustomLineSeries::MinXValue();
  if (FStacked == TCustomSeriesStack::cssStack100) return 0;
  return CalcMinMaxValue(true);
}

// Smoothing

void TCustomSeries::DoBeforeDrawChart() {
  TCustomLineSeries::DoBeforeDrawChart();
  SmoothSeries();
}

void TCustomSeries::SmoothSeries() {
  if (!FDrawArea && !FDrawLine) return;
  if (FSmoothed && !FSmoothSeries) {
    FSmoothSeries = Create<TCustomSeries>(this);
    FSmoothSeries->IInternalUse = true;
    FSmoothSeries->SetShowInEditor(false);
    FSmoothSeries->SetShowInLegend(false);
    if (!YMandatory) FSmoothSeries->SetHorizontal();
  }
  if (FSmoothed && FSmoothSeries) {
    if (FSmoothSeries->Count() == 0 || FDirty) {
      // The copy keeps the points as they were added; this series then holds the curve.
      FSmoothSeries->Clear();
      WithinUpdate(*FSmoothSeries, [&] {
        for (std::int32_t I = 0; I < Count(); ++I) FSmoothSeries->AddXY(FX->Value[I], FY->Value[I]);
      });
    }
    if (!(FZelFunction && !FDirty)) {
      if (!FZelFunction) {
        FSmoothFunction = Create<TSmoothingFunction>(FParent);
        FSmoothFunction->SetInterpolate(true);
        FSmoothFunction->SetFactor(8);
        SetFunction(FSmoothFunction);
      }
      OldDataSource = GetDataSource();
      SetDataSource(FSmoothSeries);
      FDirty = false;
    }
    return;
  }
  if (!FSmoothed && FSmoothSeries && FSmoothSeries->Count() < Count()) {
    TComponent* Old = OldDataSource;
    OldDataSource = nullptr;
    SetDataSource(nullptr);
    if (FZelFunction == FSmoothFunction) SetFunction(nullptr);
    FSmoothFunction = nullptr;
    if (Old && Old != FSmoothSeries) {
      SetDataSource(Old);
      CheckDataSource();
    } else {
      WithinUpdate(*this, [&] {
        TCustomLineSeries::Clear();
        for (std::int32_t I = 0; I < FSmoothSeries->Count(); ++I)
          AddXY(FSmoothSeries->FX->Value[I], FSmoothSeries->FY->Value[I]);
      });
    }
    FreeSmoothSeries();
    RefreshSeries();
  }
}

void TCustomSeries::FreeSmoothSeries() {
  if (!FSmoothSeries) return;
  TCustomSeries* S = FSmoothSeries;
  FSmoothSeries = nullptr;
  if (IsDestroying() || S->IsDestroying()) return;
  if (GetDataSource() == S) SetDataSource(nullptr);
  S->Clear();
  S->Free();
}

// Pointers and colours

TAlphaColor TCustomSeries::GetAreaBrushColor(TAlphaColor Color) {
  if (FColorEachPoint) return Color;
  return FAreaColor != clZelDefault ? FAreaColor : Color;
}

TSeriesPointerStyle TCustomSeries::DoGetPointerStyle(std::int32_t ValueIndex) {
  if (OnGetPointerStyle) return OnGetPointerStyle(this, ValueIndex);
  return FPointer->InternalGet(ValueIndex)->GetStyle();
}

void TCustomSeries::DrawPointer(std::int32_t X, std::int32_t Y, TAlphaColor Color, std::int32_t ValueIndex) {
  if (!FParent) return;
  TSeriesPointer* P = FPointer->InternalGet(ValueIndex);
  if (!P->GetVisible()) return;
  Color = PointerColor(P, Color);
  TCanvas3D* Canvas = FParent->GetCanvas();
  P->PrepareCanvas(Canvas, Color);
  PrepareHoverPen(ValueIndex);
  const TSeriesPointerStyle Style = DoGetPointerStyle(ValueIndex);
  if (OnGetPointerStyle) P->PrepareCanvas(Canvas, Color);
  TEntityScope Entity(Canvas, "SeriesPointer");
  // Visual blocks per point have no drawing of their own here.
  if (Style != TSeriesPointerStyle::psVisual) P->Draw(X, Y, Color, Style);
}

void TCustomSeries::LinePrepareCanvas(TCanvas3D* Canvas, TAlphaColor Color) {
  if (Canvas->GetMonochrome()) Color = 0xFFFFFFFF;
  if (Is3D()) {
    if (HasPicture(FBrush))
      Canvas->AssignBrush(FBrush, Color, FBrush->GetBackColor());
    else {
      Canvas->GetBrush()->SetKind(FBrush->GetKind());
      Canvas->GetBrush()->SetColor(Color);
    }
    Canvas->AssignVisiblePenColor(FPen, FPen->GetColor());
    return;
  }
  Canvas->GetBrush()->SetKind(TBrushKind::None);
  const bool Show = !FDrawArea && !FPointer->GetVisible() && !FPen->GetVisible();
  if (Show) SetPenVisibleQuiet(FPen, true);
  Canvas->AssignVisiblePenColor(FPen, Color);
  if (Show) SetPenVisibleQuiet(FPen, false);
}

bool TCustomSeries::Is3D() const { return FParent && FParent->GetView3D(); }

bool TCustomSeries::HoverPrevious(std::int32_t ValueIndex) {
  const std::int32_t Prev = DrawValuesForward() ? ValueIndex - 1 : ValueIndex + 1;
  return PrepareHoverPen(Prev);
}

std::int32_t TCustomSeries::CalcPosLeftRight(double Position, std::int32_t IndexB, std::int32_t IndexA) {
  const double A = NotMandatoryValueList->Value[IndexA];
  const double D = NotMandatoryValueList->Value[IndexB] - A;
  TChartAxis* Level = MandatoryAxis();
  auto LevelPixel = [&](double V) { return YMandatory ? CalcYPosValue(V) : CalcXPosValue(V); };
  double V = MandatoryValueList->Value[IndexA];
  if (D == 0) return LevelPixel(V);
  const double VB = MandatoryValueList->Value[IndexB];
  if (Level && Level->GetLogarithmic()) {
    if (V <= 0 || VB <= 0)
      V = 0;
    else
      V = std::exp(std::log(V) + (Position - A) * (std::log(VB) - std::log(V)) / D);
  } else {
    V = V + (Position - A) * (VB - V) / D;
  }
  return LevelPixel(V);
}

// Point-by-point drawing

void TCustomSeries::FixOverflow(std::int32_t ValueIndex, std::int32_t& P, std::int32_t& L) {
  const std::int32_t Max = ZelMaxPixelPos;
  if (P >= -Max && P <= Max) return;
  TChartAxis* PosAxis = YMandatory ? FGetHorizAxis : FGetVertAxis;
  P = P > 0 ? Max : -Max;
  // The level comes from the segment being drawn, between this point and the one the pen comes
  // from (after it when the walk goes backwards); without one only the clamp below applies.
  const std::int32_t A = OldIndex;
  if (PosAxis && ValueIndex >= 0 && ValueIndex < Count() && A >= 0 && A < Count() && A != ValueIndex) {
    for (int K = 0; K < 5; ++K) {
      const double V = PosAxis->CalcPosPoint(P);
      L = CalcPosLeftRight(V, ValueIndex, A);
      if (L >= -Max && L <= Max) break;
      P = P / 3;
    }
  }
  L = std::clamp(L, -Max, Max);
}

void TCustomSeries::FixOverflows(std::int32_t ValueIndex, std::int32_t& X, std::int32_t& Y) {
  if (!FParent) return;
  if (YMandatory) {
    const float W = FParent->GetWidth();
    if (!(OldX >= 0 && OldX <= W)) FixOverflow(ValueIndex, OldX, OldY);
    FixOverflow(ValueIndex, X, Y);
  } else {
    const float H = FParent->GetHeight();
    if (!(OldY >= 0 && OldY <= H)) FixOverflow(ValueIndex, OldY, OldX);
    FixOverflow(ValueIndex, Y, X);
  }
}

void TCustomSeries::DrawPointers(std::int32_t ValueIndex, TAlphaColor, bool) {
  const TAlphaColor Color = GetValueColor(ValueIndex);
  const bool Forward = DrawValuesForward();
  const std::int32_t Neighbour =
      Forward ? std::max(ValueIndex - 1, FFirstVisibleIndex) : std::min(ValueIndex + 1, FLastVisibleIndex);
  TAlphaColor Prev = OldColor;
  if (Prev == 0 && FTreatNulls != TTreatNullsStyle::tnDontPaint) Prev = Color;
  if (Prev != 0 && Neighbour >= 0 && Neighbour < Count()) PointerAt(OldX, OldY, Prev, Neighbour);
  if (ValueIndex == GetLastDisplayedIndex() && Color != 0)
    PointerAt(CalcXPos(ValueIndex), CalcYPos(ValueIndex), Color, ValueIndex);
}

void TCustomSeries::DrawValue(std::int32_t ValueIndex) {
  if (!FParent || ValueIndex < 0 || ValueIndex >= Count()) return;
  TCanvas3D* Canvas = FParent->GetCanvas();
  const bool Forward = DrawValuesForward();
  std::int32_t ColorIndex = ValueIndex;
  if (FDrawArea && !Forward && ValueIndex + 1 < Count()) ColorIndex = ValueIndex + 1;
  const TAlphaColor TmpColor = GetValueColor(ColorIndex);
  std::int32_t X = CalcXPos(ValueIndex), Y = CalcYPos(ValueIndex);
  const std::int32_t FirstDisplayed = GetFirstDisplayedIndex();
  const bool IsFirst = ValueIndex == FirstDisplayed;
  // The previous point of the walk is unknown at its start: nothing lies before it.
  if (IsFirst) {
    OldColor = TmpColor;
    OldIndex = -1;
  }
  std::int32_t PointIndex = ValueIndex;  // the point whose pixel (X, Y) is
  if (IsNull(ValueIndex) && TreatNullsOf(ValueIndex) == TTreatNullsStyle::tnSkip) {
    if (IsFirst) {
      PointIndex = -1;
      for (std::int32_t J = ValueIndex + 1; J < Count(); ++J)
        if (!IsNull(J)) {
          X = CalcXPos(J);
          Y = CalcYPos(J);
          PointIndex = J;
          break;
        }
      if (PointIndex < 0) {
        // Nothing to draw from here on: every point left is null.
        OldColor = 0;
        return;
      }
    } else {
      X = OldX;
      Y = OldY;
      PointIndex = OldIndex;
    }
  }
  if (OldColor == 0 && FTreatNulls == TTreatNullsStyle::tnDontPaint) {
    OldX = X;
    OldY = Y;
    OldIndex = PointIndex;
  }
  BottomPos = GetOriginPos(ValueIndex);
  const bool IsLast = ValueIndex == GetLastDisplayedIndex();
  if (Canvas->GetBrush()->GetColor() != TmpColor) Canvas->GetBrush()->SetColor(TmpColor);
  const bool FullRotation = Canvas->GetSupportsFullRotation();
  const bool PointerOn = FPointer->GetVisible() && TmpColor != 0;
  if (IsFirst) {
    if (!HasTemplate && FDark3D) {
      const std::int32_t W = FParent->GetSeriesWidth3D();
      tmpDark3DRatio = W == 0 ? 1 : std::fabs(double(FParent->GetSeriesHeight3D()) / W);
    }
    if (FirstDisplayed == FFirstVisibleIndex && ValueIndex > 0 && DrawPreviousPoint(ValueIndex))
      DrawPoint(ValueIndex, X, Y, TmpColor, false);
    if (PointerOn && (IsLast || FullRotation)) PointerAt(X, Y, TmpColor, ValueIndex);
    if (!HasTemplate && FDrawArea && Is3D() && FullRotation && IsFinitePoint(PointIndex))
      Canvas->RectangleZ(static_cast<float>(X), static_cast<float>(Y), static_cast<float>(BottomPos), StartZ, EndZ);
  } else if (IsLast) {
    DrawPoint(ValueIndex, X, Y, TmpColor, !FullRotation);
    if (FirstDisplayed == FLastVisibleIndex && ValueIndex > 0 && DrawPreviousPoint(ValueIndex))
      DrawPoint(ValueIndex, X, Y, TmpColor, false);
    if (FullRotation && PointerOn) PointerAt(X, Y, TmpColor, ValueIndex);
  } else if (FullRotation) {
    DrawPoint(ValueIndex, X, Y, TmpColor, false);
    if (PointerOn) PointerAt(X, Y, TmpColor, ValueIndex);
  } else {
    DrawPoint(ValueIndex, X, Y, TmpColor, true);
  }
  OldX = X;
  OldY = Y;
  OldIndex = PointIndex;
  OldBottomPos = BottomPos;
  OldColor = TmpColor;
}

bool TCustomSeries::DrawPreviousPoint(std::int32_t ValueIndex) {
  const std::int32_t P = ValueIndex - 1;
  OldIndex = P;  // the pen starts at that point, or on the segment from it
  if (FDrawArea) {
    OldX = CalcXPos(P);
    OldY = CalcYPos(P);
    OldBottomPos = GetOriginPos(P);
  } else if (YMandatory) {
    const TRectF& R = FParent->GetChartRect();
    OldX = Round(FGetHorizAxis && FGetHorizAxis->GetInverted() ? R.Right : R.Left);
    OldY = FStairs ? CalcYPos(P) : CalcPosLeftRight(XScreenToValue(OldX), ValueIndex, P);
  } else {
    const TRectF& R = FParent->GetChartRect();
    OldY = Round(FGetVertAxis && FGetVertAxis->GetInverted() ? R.Top : R.Bottom);
    OldX = FStairs ? CalcXPos(P) : CalcPosLeftRight(YScreenToValue(OldY), ValueIndex, P);
  }
  // A null point before the range: no segment enters it.
  OldColor = GetValueColor(P);
  return OldColor != 0;
}

void TCustomSeries::DrawPoint(std::int32_t ValueIndex, std::int32_t X, std::int32_t Y, TAlphaColor Color,
                              bool DrawPointers_) {
  TCanvas3D* Canvas = FParent->GetCanvas();
  const bool PointerOn = FPointer->GetVisible() && DrawPointers_;
  TAlphaColor TmpColor = Color;
  if (PointerOn && FPointerBehind) DrawPointers(ValueIndex, TmpColor, true);
  if (X == OldX && Y == OldY) return;
  if (TmpColor == 0 && FTreatNulls != TTreatNullsStyle::tnIgnore) return;
  // An ignored null point is drawn at its value: in the series colour, not in its own colour 0
  // (which would make the segment and area piece invisible).
  if (TmpColor == 0) TmpColor = GetSeriesColor();
  const bool View3D = Is3D();
  if (View3D && (FDrawArea || FDrawLine)) {
    TAlphaColor Face;
    if (!FColorEachLine && !FDrawArea)
      Face = GetSeriesColor();
    else if (FBrush->GetColor() == clZelDefault)
      Face = GetAreaBrushColor(TmpColor);
    else
      Face = GetAreaBrushColor(FBrush->GetColor());
    if (HasPicture(FBrush))
      FParent->SetBrushCanvas(Face, FBrush, static_cast<TAlphaColor>(-1));
    else {
      Canvas->GetBrush()->SetColor(Face);
      Canvas->GetBrush()->SetKind(FBrush->GetKind());
    }
    if (!HoverPrevious(ValueIndex)) Canvas->AssignVisiblePenColor(FPen, FPen->GetColor());
    if (FStairs)
      DrawStairs3D(ValueIndex, X, Y);
    else
      DrawLinePlane(ValueIndex, X, Y);
  }
  if (FDrawArea) {
    if (IMergeArea) {
      if (GatherAreaPiece(ValueIndex, X, Y, TmpColor)) return;
      FlushAreaColumn();
      IAreaRun = !View3D && !FStairs;
      IAreaColumn = X;
      IAreaColor = TmpColor;
      IAreaValueColor = GetValueColor(ValueIndex);
    }
    const TAlphaColor Back = FAreaBrush->GetBackColor();
    const TAlphaColor BrushColor = GetAreaBrushColor(Back == clZelDefault ? TmpColor : Back);
    Canvas->GetBrush()->SetColor(BrushColor);
    if (!HoverPrevious(ValueIndex)) {
      const TAlphaColor LinesColor = FAreaLinesPen->GetColor();
      Canvas->AssignVisiblePenColor(
          FAreaLinesPen, FAreaLinesPen->GetVisible() && LinesColor != clZelDefault ? LinesColor : TmpColor);
    }
    FixOverflows(ValueIndex, X, Y);
    DrawArea2D3D(ValueIndex, X, Y, BrushColor);
  } else if (!View3D && FDrawLine) {
    if (FColorEachLine)
      TmpColor = GetValueColor(ValueIndex) == 0 ? TmpColor : GetValueColor(ValueIndex);
    else if (FPen->GetColor() != GetSeriesColor())
      TmpColor = FPen->GetColor();
    TRectF R(static_cast<float>(std::min(OldX, X)), static_cast<float>(std::min(OldY, Y)),
             static_cast<float>(std::max(OldX, X)), static_cast<float>(std::max(OldY, Y)));
    if (R.Right - R.Left < 1) R.Right = R.Left + 1;
    if (R.Bottom - R.Top < 1) R.Bottom = R.Top + 1;
    const TAlphaColor LineColor =
        !FColorEachLine && (!FColorEachPoint || FPointer->GetVisible()) ? GetSeriesColor() : TmpColor;
    if (ZelRectIntersects(R, IClientRect)) {
      FixOverflows(ValueIndex, X, Y);
      if (ILineStrokes) {
        // No hover, no blending: only the pen's colour can change from one segment to the next.
        DrawLineSegment(X, Y, LineColor);
      } else {
        if (!HoverPrevious(ValueIndex)) LinePrepareCanvas(Canvas, LineColor);
        TRectF BlendRect;
        if (FTransparency != 0 && !Canvas->GetSupportsAlpha()) {
          const float W = FPen->GetWidth();
          BlendRect = TRectF(R.Left - W, R.Top - W, R.Right + W, R.Bottom + W);
        }
        TBlendingScope Blending(Canvas, BlendRect, static_cast<std::int8_t>(FTransparency), FTransparency != 0);
        DrawSegmentOnCanvas(X, Y);
      }
    }
  }
  if (PointerOn && !FPointerBehind) DrawPointers(ValueIndex, TmpColor, false);
}

void TCustomSeries::DrawLineSegment(std::int32_t X, std::int32_t Y, TAlphaColor Color) {
  TCanvas3D* Canvas = FParent->GetCanvas();
  if (!ILinePenSet || Color != ILineColor) {
    // The lines so far are drawn in their colour before the pen changes.
    ILineStrokes->Finish();
    LinePrepareCanvas(Canvas, Color);
    ILinePenSet = true;
    ILineColor = Color;
    ILineMerges = Canvas->MergesColumnStrokes();
  }
  if (!ILineMerges) {
    DrawSegmentOnCanvas(X, Y);
    ILineAt = TPointF(NAN, NAN);
    return;
  }
  const TPointF From = Pt(OldX, OldY);
  if (!(ILineAt == From)) ILineStrokes->MoveTo(From);
  // The stair's corner: below or above the previous point (inverted), else level with it.
  if (FStairs) ILineStrokes->LineTo(FInvertedStairs ? Pt(OldX, Y) : Pt(X, OldY));
  ILineAt = Pt(X, Y);
  ILineStrokes->LineTo(ILineAt);
}

void TCustomSeries::DrawSegmentOnCanvas(std::int32_t X, std::int32_t Y) {
  TCanvas3D* Canvas = FParent->GetCanvas();
  if (!FStairs) {
    Canvas->Line(static_cast<float>(OldX), static_cast<float>(OldY), static_cast<float>(X), static_cast<float>(Y));
    return;
  }
  if (FInvertedStairs)
    Canvas->DoVertLine(static_cast<float>(OldX), static_cast<float>(OldY), static_cast<float>(Y));
  else
    Canvas->DoHorizLine(static_cast<float>(OldX), static_cast<float>(X), static_cast<float>(OldY));
  Canvas->LineTo(static_cast<float>(X), static_cast<float>(Y));
}

void TCustomSeries::FinishLineStrokes() {
  if (!ILineStrokes) return;
  ILineStrokes->Finish();
  // The canvas pen stands where the strokes left it, as if they had been drawn on it.
  if (std::isfinite(ILineAt.X)) FParent->GetCanvas()->MoveTo(ILineAt);
  ILineAt = TPointF(NAN, NAN);
  ILinePenSet = false;
}

bool TCustomSeries::CanMergeLineStrokes(std::optional<TColumnStrokes>& Strokes) {
  if (!ZelMergeSamePixels || !FDrawLine || FDrawArea || Is3D() || FPointer->GetVisible() || !FParent ||
      FParent->OnDrawValue || FTransparency != 0 || (HoverEnabled() && FSelected->GetHoverIndex() >= 0))
    return false;
  if (ClassType() != TCustomSeries::StaticClass()) return false;
  TCanvas3D* Canvas = FParent->GetCanvas();
  if (!Canvas || Canvas->SupportsID || !Canvas->GetCanvas() || Canvas->GetSupportsFullRotation()) return false;
  // The pen as the segments set it, tried on the canvas, whose pen is put back after: the
  // strokes keep its caps.
  TOwned<TZelPen> SavedPen(new TZelPen());
  SavedPen->Assign(Canvas->GetPen());
  SavedPen->SetColor(Canvas->GetPen()->GetColor());
  const TBrushKind SavedBrush = Canvas->GetBrush()->GetKind();
  TRestoreOnExit Restore([&] {
    Canvas->GetPen()->Assign(SavedPen.get());
    Canvas->GetPen()->SetColor(SavedPen->GetColor());
    Canvas->DoChangedPen();
    Canvas->GetBrush()->SetKind(SavedBrush);
  });
  LinePrepareCanvas(Canvas, 0xFF000000);
  if (Canvas->GetPen()->IsGradientVisible() || !Canvas->MergesColumnStrokes()) return false;
  Strokes.emplace(Canvas->GetCanvas(), Canvas->Opacity());
  return true;
}

void TCustomSeries::DrawLinePlane(std::int32_t ValueIndex, std::int32_t X, std::int32_t Y) {
  TCanvas3D* Canvas = FParent->GetCanvas();
  if (FLineHeight != 0 && !FDrawArea) {
    // (Below the line in double: a program may give any height.)
    const float OldBelow = static_cast<float>(double(OldY) + FLineHeight);
    const float Below = static_cast<float>(double(Y) + FLineHeight);
    const TFourPoints P = {Pt(X, Y), Pt(OldX, OldY), TPointF(static_cast<float>(OldX), OldBelow),
                           TPointF(static_cast<float>(X), Below)};
    Canvas->PlaneFour3D(P, StartZ, StartZ);
    if (ValueIndex == GetLastDisplayedIndex())
      Canvas->RectangleZ(static_cast<float>(X), static_cast<float>(Y), Below, StartZ, EndZ);
  }
  TAlphaColor BrushColor = Canvas->GetBrush()->GetColor();
  if (FDark3D && !Canvas->GetSupportsFullRotation() && X != OldX && tmpDark3DRatio != 0 &&
      tmpDark3DRatio < double(OldY - Y) / double(X - OldX))
    BrushColor = ApplyDark(BrushColor, DarkColorQuantity);
  if (Canvas->GetMonochrome()) BrushColor = 0xFFFFFFFF;
  FParent->SetBrushCanvas(BrushColor, FBrush, FBrush->GetBackColor());
  Canvas->Plane3D(Pt(OldX, OldY), Pt(X, Y), StartZ, EndZ);
}

void TCustomSeries::DrawStairs3D(std::int32_t, std::int32_t X, std::int32_t Y) {
  TCanvas3D* Canvas = FParent->GetCanvas();
  const bool Forward = DrawValuesForward();
  const TAlphaColor Color = Canvas->GetBrush()->GetColor();
  auto Tread = [&](std::int32_t Level) {
    if (YMandatory)
      Canvas->RectangleY(static_cast<float>(OldX), static_cast<float>(Level), static_cast<float>(X), StartZ, EndZ);
    else
      Canvas->RectangleZ(static_cast<float>(Level), static_cast<float>(OldY), static_cast<float>(Y), StartZ, EndZ);
  };
  auto Riser = [&](std::int32_t Pos) {
    if (FDark3D) Canvas->GetBrush()->SetColor(ApplyDark(Color, DarkColorQuantity));
    if (YMandatory)
      Canvas->RectangleZ(static_cast<float>(Pos), static_cast<float>(OldY), static_cast<float>(Y), StartZ, EndZ);
    else
      Canvas->RectangleY(static_cast<float>(OldX), static_cast<float>(Pos), static_cast<float>(X), StartZ, EndZ);
    if (FDark3D) Canvas->GetBrush()->SetColor(Color);
  };
  const std::int32_t OldLevel = YMandatory ? OldY : OldX, Level = YMandatory ? Y : X;
  const std::int32_t OldPos = YMandatory ? OldX : OldY, Pos = YMandatory ? X : Y;
  if (!FInvertedStairs) {
    Tread(Forward ? OldLevel : Level);
    Riser(Forward ? Pos : OldPos);
  } else {
    Riser(Forward ? OldPos : Pos);
    Tread(Forward ? Level : OldLevel);
  }
}

void TCustomSeries::DrawArea2D3D(std::int32_t ValueIndex, std::int32_t X, std::int32_t Y, TAlphaColor BrushColor) {
  TCanvas3D* Canvas = FParent->GetCanvas();
  TAlphaColor AreaColor = FAreaBrush->GetColor() == clZelDefault ? GetSeriesColor() : FAreaBrush->GetColor();
  if (HasPicture(FAreaBrush) && AreaColor == BrushColor) AreaColor = static_cast<TAlphaColor>(-1);
  FParent->SetBrushCanvas(BrushColor, FAreaBrush, AreaColor);
  const bool View3D = Is3D();
  const bool FullRotation = Canvas->GetSupportsFullRotation();
  if (View3D) {
    const bool NextNull = ValueIndex + 1 < Count() && IsNull(ValueIndex + 1);
    const bool PrevGap = OldColor == 0 && FTreatNulls == TTreatNullsStyle::tnDontPaint;
    if (ValueIndex == GetLastDisplayedIndex() || NextNull || PrevGap) {
      const TAlphaColor Saved = Canvas->GetBrush()->GetColor();
      if (FDark3D) Canvas->GetBrush()->SetColor(ApplyDark(Saved, DarkColorQuantity));
      if (YMandatory)
        Canvas->RectangleZ(static_cast<float>(X), static_cast<float>(Y), static_cast<float>(BottomPos), StartZ, EndZ);
      else
        Canvas->RectangleY(static_cast<float>(BottomPos), static_cast<float>(Y), static_cast<float>(X), StartZ, EndZ);
      FParent->SetBrushCanvas(BrushColor, FAreaBrush, AreaColor);
    }
  }
  const bool LinePen = FPen->GetVisible();
  auto PrepareEdge = [&] {
    if (!HoverPrevious(ValueIndex)) Canvas->AssignVisiblePenColor(FPen, FPen->GetColor() == clZelDefault ? GetValueColor(ValueIndex) : FPen->GetColor());
  };
  if (!FStairs) {
    TFourPoints P;
    if (YMandatory)
      P = {Pt(OldX, OldBottomPos), Pt(OldX, OldY), Pt(X, Y), Pt(X, BottomPos)};
    else
      P = {Pt(OldBottomPos, OldY), Pt(OldX, OldY), Pt(X, Y), Pt(BottomPos, Y)};
    if (!View3D) {
      static_cast<TZelCanvas*>(Canvas)->Polygon(P.data(), 3);
    } else {
      const std::int32_t Rotation = FParent->GetView3DOptions() ? FParent->GetView3DOptions()->GetRotation() : 0;
      Canvas->PlaneWithZ(P[0], P[1], P[2], P[3], (Rotation < 91 || Rotation > 269) ? StartZ : EndZ);
      if (FullRotation) Canvas->PlaneWithZ(P[0], P[1], P[2], P[3], EndZ);
    }
    if (HoverPrevious(ValueIndex) || LinePen) {
      PrepareEdge();
      Canvas->LineWithZ(static_cast<float>(OldX), static_cast<float>(OldY), static_cast<float>(X),
                        static_cast<float>(Y), static_cast<float>(StartZ));
    }
    return;
  }
  const bool Forward = DrawValuesForward();
  const bool UsePrevLevel = Forward != FInvertedStairs;
  const std::int32_t Origin = FInvertedStairs ? BottomPos : OldBottomPos;
  TRectF R;
  if (YMandatory) {
    const std::int32_t Level = UsePrevLevel ? OldY : Y;
    R = TRectF(static_cast<float>(std::min(OldX, X + 1)), static_cast<float>(std::min(Level, Origin)),
               static_cast<float>(std::max(OldX, X + 1)), static_cast<float>(std::max(Level, Origin)));
  } else {
    const std::int32_t Level = UsePrevLevel ? OldX : X;
    R = TRectF(static_cast<float>(std::min(Origin, Level + 1)), static_cast<float>(std::min(OldY + 1, Y)),
               static_cast<float>(std::max(Origin, Level + 1)), static_cast<float>(std::max(OldY + 1, Y)));
  }
  if (!View3D) {
    Canvas->Rectangle(R.Left, R.Top, R.Right, R.Bottom);
  } else {
    Canvas->RectangleWithZ(R, StartZ);
    if (FullRotation) Canvas->RectangleWithZ(R, EndZ);
  }
  if (LinePen) {
    PrepareEdge();
    const float Z = static_cast<float>(StartZ);
    if (YMandatory) {
      const std::int32_t Level = UsePrevLevel ? OldY : Y;
      Canvas->LineWithZ(static_cast<float>(OldX), static_cast<float>(Level), static_cast<float>(X),
                        static_cast<float>(Level), Z);
      if (ValueIndex != GetFirstDisplayedIndex()) {
        const std::int32_t RiserX = FInvertedStairs ? OldX : X;
        Canvas->LineWithZ(static_cast<float>(RiserX), static_cast<float>(OldY), static_cast<float>(RiserX),
                          static_cast<float>(Y), Z);
      }
    } else {
      const std::int32_t Level = UsePrevLevel ? OldX : X;
      Canvas->LineWithZ(static_cast<float>(Level), static_cast<float>(OldY), static_cast<float>(Level),
                        static_cast<float>(Y), Z);
      if (ValueIndex != GetFirstDisplayedIndex()) {
        const std::int32_t RiserY = FInvertedStairs ? OldY : Y;
        Canvas->LineWithZ(static_cast<float>(OldX), static_cast<float>(RiserY), static_cast<float>(X),
                          static_cast<float>(RiserY), Z);
      }
    }
  }
}

void TCustomSeries::DrawHiddenValue(std::int32_t ValueIndex, double LowValue, double HighValue,
                                    std::int32_t PixelStep, TChartAxis* Axis) {
  if (!FParent || !Axis || ValueIndex < 0 || ValueIndex >= Count()) return;
  FlushAreaColumn();
  FinishLineStrokes();
  TCanvas3D* Canvas = FParent->GetCanvas();
  std::int32_t Pos = CalcXPos(ValueIndex), Level = CalcYPos(ValueIndex);
  const std::int32_t Half = PixelStep / 2;
  const bool VInv = FGetVertAxis && FGetVertAxis->GetInverted();
  const bool HInv = FGetHorizAxis && FGetHorizAxis->GetInverted();
  const bool Horizontal = Axis->GetHorizontal();
  const std::int32_t Offset = ((Horizontal || VInv) && (!Horizontal || !HInv)) ? Half : -Half;
  if (Horizontal)
    Pos = CalcXPosValue(LowValue) + Offset;
  else
    Level = CalcYPosValue(LowValue) + Offset;
  const double Prev = ValueIndex > 0 ? (Horizontal ? FX->Value[ValueIndex - 1] : FY->Value[ValueIndex - 1]) : LowValue;
  const bool Between = Horizontal ? (LowValue >= Prev && Prev >= HighValue) : (LowValue <= Prev && Prev <= HighValue);
  if (Between)
    Canvas->GetPen()->SetStyle(TPenStyle::psClear);
  else
    Canvas->AssignVisiblePenColor(FPen, FPen->GetColor());
  Canvas->Line(static_cast<float>(OldX), static_cast<float>(OldY), static_cast<float>(Pos), static_cast<float>(Level));
  if (FPointer->GetVisible()) {
    TAlphaColor C = OldColor;
    if (C == 0 && FTreatNulls != TTreatNullsStyle::tnDontPaint) C = Canvas->GetBrush()->GetColor();
    if (C != 0 && ValueIndex > 0) PointerAt(OldX, OldY, C, ValueIndex - 1);
  }
  OldX = Pos;
  OldY = Level;
  OldIndex = -1;  // a pixel of a value range, on no segment of the series
}

// Whole-series drawing

void TCustomSeries::RunPointLoop() {
  if (CanMergeAreaColumns()) {
    IMergeArea = true;
    IAreaRun = false;
    IAreaSpans.clear();
    TRestoreOnExit Stop([this] {
      IMergeArea = false;
      IAreaSpans.clear();
    });
    TCustomLineSeries::DrawAllValues();
    FlushAreaColumn();
    return;
  }
  if (std::optional<TColumnStrokes> Strokes; CanMergeLineStrokes(Strokes)) {
    ILineStrokes = &*Strokes;
    ILinePenSet = false;
    ILineAt = TPointF(NAN, NAN);
    TRestoreOnExit Stop([this] {
      FinishLineStrokes();
      ILineStrokes = nullptr;
    });
    TCustomLineSeries::DrawAllValues();
    return;
  }
  if (!CanMergePointers(true)) {
    TCustomLineSeries::DrawAllValues();
    return;
  }
  std::vector<TPointerDraw> Draws;
  {
    IGatherPointers = &Draws;
    TRestoreOnExit Stop([this] { IGatherPointers = nullptr; });
    TCustomLineSeries::DrawAllValues();
  }
  DrawGatheredPointers(Draws);
}

void TCustomSeries::PointerAt(std::int32_t X, std::int32_t Y, TAlphaColor Color, std::int32_t ValueIndex) {
  if (IGatherPointers)
    IGatherPointers->push_back({X, Y, Color, ValueIndex});
  else
    DrawPointer(X, Y, Color, ValueIndex);
}

bool TCustomSeries::CanMergePointers(bool InPointLoop) {
  if (!ZelMergeSamePixels || (InPointLoop && (FDrawLine || FDrawArea)) || !FPointer->GetVisible() || !FParent ||
      FParent->OnDrawValue || OnGetPointerStyle || FPointer->Count() != 0)
    return false;
  // A kind of series made elsewhere may draw its pointers its own way.
  if (ClassType() != TCustomSeries::StaticClass() && ClassType() != TAreaSeries::StaticClass()) return false;
  TCanvas3D* Canvas = FParent->GetCanvas();
  return Canvas && !Canvas->SupportsID && !Canvas->GetSupportsFullRotation() && Canvas->ReplacesPixels();
}

bool TCustomSeries::CanMergeAreaColumns() {
  if (!ZelMergeSamePixels || !FDrawArea || FStairs || Is3D() || FPointer->GetVisible() || !FParent ||
      FParent->OnDrawValue || (HoverEnabled() && FSelected->GetHoverIndex() >= 0))
    return false;
  if (ClassType() != TCustomSeries::StaticClass() && ClassType() != TAreaSeries::StaticClass()) return false;
  TCanvas3D* Canvas = FParent->GetCanvas();
  if (!Canvas || Canvas->SupportsID || Canvas->GetMonochrome() || !Canvas->GetCanvas() || !Canvas->ReplacesPixels())
    return false;
  // Both pens must draw vertical lines whose pixels are known: tried on the canvas, whose pen
  // is put back after.
  TOwned<TZelPen> SavedPen(new TZelPen());
  SavedPen->Assign(Canvas->GetPen());
  SavedPen->SetColor(Canvas->GetPen()->GetColor());
  TRestoreOnExit Restore([&] {
    Canvas->GetPen()->Assign(SavedPen.get());
    Canvas->GetPen()->SetColor(SavedPen->GetColor());
    Canvas->DoChangedPen();
  });
  for (TZelPen* Pen : {FAreaLinesPen, static_cast<TZelPen*>(FPen)}) {
    if (!Pen->GetVisible()) continue;
    Canvas->AssignVisiblePenColor(Pen, 0xFF000000);
    if (Pen->IsGradientVisible() || !Canvas->MergesColumnStrokes()) return false;
    if (Pen == FPen) IAreaFlatCap = Canvas->GetCanvas()->GetStroke()->GetCap() == TStrokeCap::Flat;
  }
  return true;
}

bool TCustomSeries::GatherAreaPiece(std::int32_t ValueIndex, std::int32_t X, std::int32_t Y, TAlphaColor Color) {
  // A piece inside one pixel column is a polygon of no width (its fill sets nothing) outlined by
  // the area lines' pen, then the vertical line from the previous point in the line's pen: both
  // set whole rows of the column, drawn opaque.
  constexpr std::int32_t Limit = 1 << 22;
  if (!IAreaRun || X != IAreaColumn || OldX != X || OldBottomPos != BottomPos || Color != IAreaColor ||
      GetValueColor(ValueIndex) != IAreaValueColor || std::abs(OldY) > Limit || std::abs(Y) > Limit ||
      std::abs(BottomPos) > Limit)
    return false;
  const std::int32_t B = BottomPos;
  const std::size_t Before = IAreaSpans.size();
  if (FAreaLinesPen->GetVisible()) {
    // The outline's lower end is not certain when the piece ends on the origin from above it.
    if (Y == B && OldY < B) return false;
    const TAlphaColor Lines = FAreaLinesPen->GetColor();
    const TAlphaColor C = Lines != clZelDefault ? Lines : Color;
    if (AlphaOf(C) != 0xFF) return false;
    IAreaSpans.push_back({std::min({B, OldY, Y}), std::max({B, OldY, Y}), C});
  }
  if (FPen->GetVisible()) {
    const TAlphaColor C = FPen->GetColor() == clZelDefault ? GetValueColor(ValueIndex) : FPen->GetColor();
    if (AlphaOf(C) != 0xFF) {
      IAreaSpans.resize(Before);
      return false;
    }
    // A flat-capped line leaves out its lower end.
    IAreaSpans.push_back({std::min(OldY, Y), std::max(OldY, Y) - (IAreaFlatCap ? 1 : 0), C});
  }
  return true;
}

void TCustomSeries::FlushAreaColumn() {
  if (IAreaSpans.empty()) return;
  // Painted backwards: each stroke shows on the rows no later stroke set. The working lists are
  // the series' own, kept from one column to the next.
  std::vector<TColumnSpan>& Shown = IAreaShown;
  std::vector<TColumnSpan>& Covered = IAreaCovered;
  std::vector<TColumnSpan>& Next = IAreaNext;
  Shown.clear();
  Covered.clear();
  for (auto It = IAreaSpans.rbegin(); It != IAreaSpans.rend(); ++It) {
    std::int32_t From = It->Top;
    for (const TColumnSpan& C : Covered) {
      if (C.Bottom < From) continue;
      if (C.Top > It->Bottom) break;
      if (C.Top > From) Shown.push_back({From, C.Top - 1, It->Color});
      From = std::max(From, C.Bottom + 1);
    }
    if (From <= It->Bottom) Shown.push_back({From, It->Bottom, It->Color});
    // The covered rows, kept sorted and joined.
    TColumnSpan N{It->Top, It->Bottom, 0};
    Next.clear();
    bool Placed = false;
    for (const TColumnSpan& C : Covered) {
      if (C.Bottom + 1 < N.Top) {
        Next.push_back(C);
      } else if (C.Top > N.Bottom + 1) {
        if (!Placed) Next.push_back(N);
        Placed = true;
        Next.push_back(C);
      } else {
        N.Top = std::min(N.Top, C.Top);
        N.Bottom = std::max(N.Bottom, C.Bottom);
      }
    }
    if (!Placed) Next.push_back(N);
    Covered.swap(Next);
  }
  IAreaSpans.clear();
  TCanvas3D* Canvas = FParent->GetCanvas();
  TCanvas* C = Canvas->GetCanvas();
  TCanvasSaveState* Saved = C->SaveState();
  TRestoreOnExit Restore([&] { C->RestoreState(Saved); });
  C->GetFill()->SetKind(TBrushKind::Solid);
  const float Left = static_cast<float>(IAreaColumn);
  for (const TColumnSpan& S : Shown) {
    C->GetFill()->SetColor(S.Color);
    C->FillRect(TRectF(Left, static_cast<float>(S.Top), Left + 1, static_cast<float>(S.Bottom) + 1), 0, 0, AllCorners,
                Canvas->Opacity());
  }
}

void TCustomSeries::DrawGatheredPointers(std::vector<TPointerDraw>& Draws) {
  // On a canvas that replaces pixels, a pointer drawn again at the same pixel in opaque colours
  // sets every pixel the earlier one set (the pointers differ only in colour, which does not
  // change their pixels), whatever was drawn in between: only the last one shows. Walking
  // backwards, a pointer is left out when a later opaque one took its pixel. The hovered point's
  // pointer has a pen of its own: it neither hides nor is hidden.
  constexpr std::int32_t Margin = 64;
  const std::int32_t W = Round(FParent->GetWidth()) + 2 * Margin, H = Round(FParent->GetHeight()) + 2 * Margin;
  const std::size_t Bits = static_cast<std::size_t>(std::max(W, 0)) * static_cast<std::size_t>(std::max(H, 0));
  IPixelsTaken.assign((Bits + 63) / 64, 0);
  const std::int32_t Hovered = HoverEnabled() ? FSelected->GetHoverIndex() : -1;
  TSeriesPointer* P = FPointer;
  constexpr std::int32_t Skip = -2;
  for (auto It = Draws.rbegin(); It != Draws.rend(); ++It) {
    const std::int32_t X = It->X + Margin, Y = It->Y + Margin;
    if (It->Index == Hovered || X < 0 || Y < 0 || X >= W || Y >= H) continue;
    const std::size_t Bit = static_cast<std::size_t>(Y) * static_cast<std::size_t>(W) + static_cast<std::size_t>(X);
    std::uint64_t& Word = IPixelsTaken[Bit / 64];
    const std::uint64_t Mask = std::uint64_t(1) << (Bit % 64);
    if (Word & Mask)
      It->Index = Skip;
    else if (P->DrawsOpaque(PointerColor(P, It->Color)))
      Word |= Mask;
  }
  for (const TPointerDraw& D : Draws)
    if (D.Index != Skip) DrawPointer(D.X, D.Y, D.Color, D.Index);
}

void TCustomSeries::DrawCopy(TZelShadow* Copy, std::int32_t Sign) {
  if (!Copy || !Copy->GetVisible() || Copy->GetSize() == 0) return;
  const TAlphaColor SavedColor = FColor, SavedInternal = ISeriesColor;
  const bool SavedEachLine = FColorEachLine;
  const bool SavedPointer = FPointer->GetVisible();
  const bool SavedPen = FPen->GetVisible();
  TChartAxis* H = FGetHorizAxis;
  TChartAxis* V = FGetVertAxis;
  const std::int32_t DH = Sign * Copy->GetHorizSize(), DV = Sign * Copy->GetVertSize();
  FColor = Copy->GetColor();
  ISeriesColor = FColor;
  FColorEachLine = false;
  FPointer->SetVisible(false);
  SetPenVisibleQuiet(FPen, false);
  if (H) H->IStartPos += DH, H->IEndPos += DH;
  if (V) V->IStartPos += DV, V->IEndPos += DV;
  TRestoreOnExit Restore([&] {
    if (H) H->IStartPos -= DH, H->IEndPos -= DH;
    if (V) V->IStartPos -= DV, V->IEndPos -= DV;
    FColor = SavedColor;
    ISeriesColor = SavedInternal;
    FColorEachLine = SavedEachLine;
    FPointer->SetVisible(SavedPointer);
    SetPenVisibleQuiet(FPen, SavedPen);
  });
  RunPointLoop();
}

void TCustomSeries::DrawOutlinePoints() {
  TOwned<TZelPen> SavedPen(new TZelPen());
  SavedPen->Assign(FPen);
  SavedPen->SetColor(FPen->GetColor());
  const TAlphaColor SavedColor = FColor, SavedInternal = ISeriesColor;
  const TNotifyEvent Saved = FPen->GetOnChange();
  const float LineWidth = FPen->GetVisible() ? FPen->GetWidth() : 1.0f;
  FPen->SetOnChange(nullptr);
  TRestoreOnExit Restore([&] {
    FPen->Assign(SavedPen.get());
    FPen->SetColor(SavedPen->GetColor());
    FPen->SetOnChange(Saved);
    FColor = SavedColor;
    ISeriesColor = SavedInternal;
  });
  FColor = FOutLine->GetColor();
  ISeriesColor = FColor;
  FPen->Assign(FOutLine);
  FPen->SetColor(FOutLine->GetColor());
  FPen->SetWidth(2 * FOutLine->GetWidth() + LineWidth);
  RunPointLoop();
}

void TCustomSeries::DrawAllValues() {
  if (!FParent || !FParent->GetCanvas()) return;
  IClientRect = FParent->GetChartBounds();
  TChartAxes* Axes = FParent->GetAxes();
  const bool OldFast = Axes && Axes->GetFastCalc();
  // A chart that draws the points itself gets exact positions.
  const bool SetFast = Axes && FDrawLine && !FParent->OnDrawValue && !OldFast;
  if (SetFast) Axes->SetFastCalc(true);
  TRestoreOnExit Restore([&] {
    if (SetFast) Axes->SetFastCalc(OldFast);
  });
  // Template blocks have no drawing of their own: the series draws itself.
  HasTemplate = false;
  DrawCopy(FShadow, 1);
  DrawCopy(FEmboss, -1);
  if (FOutLine && FOutLine->GetVisible())
    if (!DoDrawAll(FOutLine, FOutLine->GetColor(), false)) DrawOutlinePoints();
  if (!Is3D() && FDrawLine && !FPen->GetVisible() && !FDrawArea) FPen->Show();
  if (!DoDrawAll(FPen, GetSeriesColor(), true)) {
    FParent->GetCanvas()->AssignBrush(FBrush, FBrush->GetColor(), FBrush->GetBackColor());
    RunPointLoop();
  }
}

bool TCustomSeries::DoDrawAll(TZelPen* APen, TAlphaColor AColor, bool Main) {
  if ((FColorEachPoint && FColorEachLine) || !(FDrawArea || FDrawLine) ||
      FDrawStyle == TCustomSeriesDrawStyle::dsSegments || Is3D())
    return false;
  if (FFirstVisibleIndex < 0 || FLastVisibleIndex < 0) return false;
  // The points in index order, from the one before the visible range.
  const std::int32_t First = FFirstVisibleIndex > 0 ? FFirstVisibleIndex - 1 : FFirstVisibleIndex;
  std::int32_t Last = std::min(FLastVisibleIndex, Count() - 1);
  if (DisplayLast < 1) Last = std::max(First, std::min(Count() - 1, static_cast<std::int32_t>(DisplayLast * Count())));
  if (Last - First < 1) return false;
  TCanvas3D* Canvas = FParent->GetCanvas();
  std::vector<TPointF> P;
  P.reserve(static_cast<std::size_t>(Last - First + 1) * (FStairs ? 2 : 1));
  for (std::int32_t I = First; I <= Last; ++I) {
    // A point that cannot be placed is drawn by the point loop, as its null rule says.
    if (!IsFinitePoint(I)) return false;
    const std::int32_t X = CalcXPos(I), Y = CalcYPos(I);
    P.push_back(Pt(X, Y));
    if (FStairs && I < Last) {
      const std::int32_t NX = CalcXPos(I + 1), NY = CalcYPos(I + 1);
      P.push_back(FInvertedStairs ? Pt(X, NY) : Pt(NX, Y));
    }
  }
  auto Pointers = [&](bool Behind) {
    if (!Main || !FPointer->GetVisible() || FPointerBehind != Behind) return;
    // One after another with nothing between: gathered where a later one may hide an earlier.
    std::vector<TPointerDraw> Draws;
    const bool Merge = CanMergePointers(false);
    {
      IGatherPointers = Merge ? &Draws : nullptr;
      TRestoreOnExit Stop([this] { IGatherPointers = nullptr; });
      for (std::int32_t I = std::max(FFirstVisibleIndex, 0); I <= Last; ++I)
        if (!IsNull(I) || (FTreatNulls == TTreatNullsStyle::tnIgnore && IsFinitePoint(I)))
          PointerAt(CalcXPos(I), CalcYPos(I), GetValueColor(I), I);
    }
    if (Merge) DrawGatheredPointers(Draws);
  };
  TBlendingScope Blending(Canvas, TRectF(), static_cast<std::int8_t>(FTransparency), FTransparency != 0);
  Pointers(true);
  const int High = static_cast<int>(P.size()) - 1;
  if (FDrawArea) {
    const std::int32_t Origin = GetOriginPos(Last);
    Canvas->AssignVisiblePenColor(APen, APen->GetColor());
    Canvas->AssignBrush(FBrush, GetSeriesColor(), FBrush->GetBackColor());
    const TPointF FirstP = P.front(), LastP = P.back();
    std::vector<TPointF> Poly = P;
    if (YMandatory) {
      Poly.push_back(TPointF(LastP.X, static_cast<float>(Origin)));
      Poly.push_back(TPointF(FirstP.X, static_cast<float>(Origin)));
    } else {
      Poly.push_back(TPointF(static_cast<float>(Origin), LastP.Y));
      Poly.push_back(TPointF(static_cast<float>(Origin), FirstP.Y));
    }
    if (FDrawStyle == TCustomSeriesDrawStyle::dsAll) {
      Canvas->PolygonWithZ(Poly.data(), static_cast<int>(Poly.size()) - 1, StartZ);
    } else {
      TOwned<TZelBasePath> Path(Canvas->CreatePath());
      Path->Curve(P.data(), High, 0.5f, false);
      Path->LineTo(Poly[Poly.size() - 2]);
      Path->LineTo(Poly.back());
      Path->Close();
      Path->Draw(Canvas);
    }
    if (FAreaLinesPen->GetVisible()) {
      Canvas->AssignVisiblePenColor(FAreaLinesPen, FAreaLinesPen->GetColor());
      for (std::size_t K = 1; K < P.size(); ++K) {
        if (YMandatory)
          Canvas->VertLine3D(P[K].X, static_cast<float>(Origin), P[K].Y, static_cast<float>(StartZ));
        else
          Canvas->HorizLine3D(static_cast<float>(Origin), P[K].X, P[K].Y, static_cast<float>(StartZ));
      }
    }
  } else {
    Canvas->AssignVisiblePenColor(APen, AColor);
    if (FDrawStyle == TCustomSeriesDrawStyle::dsAll) {
      static_cast<TZelCanvas*>(Canvas)->Polyline(P.data(), High);
    } else {
      Canvas->GetBrush()->SetKind(TBrushKind::None);
      Canvas->Curve(P.data(), High, 0.5f, false, 0);
    }
  }
  Pointers(false);
  return true;
}

// Legend

namespace {
// The symbol settings of the legend of Panel, when Panel is a chart with a legend.
TLegendSymbol* LegendSymbolOf(TCustomZelPanel* Panel) {
  auto* Chart = dynamic_cast<TCustomChart*>(Panel);
  TChartLegend* Legend = Chart ? Chart->GetLegend() : nullptr;
  return Legend ? Legend->GetSymbol() : nullptr;
}
}  // namespace

void TCustomSeries::DrawLegendLine(std::int32_t ValueIndex, const TRectF& Rect, TAlphaColor Color, bool Form3D) {
  TCanvas3D* Canvas = FParent->GetCanvas();
  TBlendingScope Blending(Canvas, Rect, static_cast<std::int8_t>(FTransparency), FTransparency != 0);
  // A legend symbol with a pen of its own keeps it (the legend put it on the canvas).
  const TLegendSymbol* Symbol = LegendSymbolOf(FParent);
  if (!PrepareHoverPen(ValueIndex) && (!Symbol || Symbol->GetDefaultPen()))
    LinePrepareCanvas(Canvas, FPen->GetColor() == 0xFF000000 ? Color : FPen->GetColor());
  const float Cap = static_cast<float>(Round((Rect.Bottom - Rect.Top) * 0.5));
  if (Canvas->GetPen()->GetWidth() > Cap) Canvas->GetPen()->SetWidth(Cap);
  if (Form3D)
    Canvas->Rectangle(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom);
  else
    Canvas->DoHorizLine(Rect.Left, Rect.Right, static_cast<float>(Trunc((Rect.Top + Rect.Bottom) / 2)));
}

void TCustomSeries::DrawLegendPointer(std::int32_t ValueIndex, const TRectF& Rect, TAlphaColor Color) {
  TSeriesPointer* P = ValueIndex == -1 ? FPointer : FPointer->InternalGet(ValueIndex);
  TSeriesPointerStyle Style = P->GetStyle();
  if (OnGetPointerStyle && ValueIndex != -1) {
    Style = OnGetPointerStyle(this, ValueIndex);
    Color = P->GetColor();
  }
  if (Style == TSeriesPointerStyle::psVisual) return;
  ZelPointerDrawLegend(P, Color, Rect, FPen->GetVisible(), Style);
}

void TCustomSeries::DrawLegendShape(std::int32_t ValueIndex, const TRectF& Rect) {
  if (!FParent || !FParent->GetCanvas()) return;
  const TAlphaColor Color = ValueIndex == -1 ? GetSeriesColor() : LegendItemColor(ValueIndex);
  TSeriesPointer* P = ValueIndex == -1 ? FPointer : FPointer->InternalGet(ValueIndex);
  if (P->GetVisible()) {
    if (FPointerBehind) DrawLegendPointer(ValueIndex, Rect, Color);
    if (FDrawLine) DrawLegendLine(ValueIndex, Rect, Color, false);
    if (!FPointerBehind) DrawLegendPointer(ValueIndex, Rect, Color);
  } else if (FDrawLine && !FDrawArea) {
    DrawLegendLine(ValueIndex, Rect, Color, Is3D());
  } else {
    PrepareHoverPen(ValueIndex);
    TCustomLineSeries::DrawLegendShape(ValueIndex, Rect);
  }
}

void ZelPointerLegendSizes(TSeriesPointer* Pointer, const TRectF& Rect, bool DrawPen, bool Continuous,
                           std::int32_t& H, std::int32_t& V) {
  const std::int32_t L = Round(Rect.Left), T = Round(Rect.Top), R = Round(Rect.Right), B = Round(Rect.Bottom);
  const std::int32_t W = R - L, Ht = B - T;
  if (DrawPen) {
    H = W / 2;
    V = Ht / 2;
  } else {
    H = W / 2 + 1;
    V = Ht / 2 + 1;
  }
  if (TZelShadow* S = Pointer->ExistingShadow(); S && S->GetVisible()) H -= S->GetHorizSize() / 2;
  const std::int32_t HS = Pointer->GetHorizSize(), VS = Pointer->GetVertSize();
  if (!Continuous) {
    // The pointer's own proportions.
    const double Ratio = HS == 0 ? 1.0 : double(VS) / double(HS);
    if (V * Ratio > H)
      V = std::min(V, Round(H * Ratio));
    else
      H = std::min(H, Round(V / Ratio));
  }
  H = std::min(H, HS);
  V = std::min(V, VS);
}

void ZelPointerDrawLegend(TSeriesPointer* Pointer, TAlphaColor AColor, const TRectF& Rect, bool DrawPen,
                          TSeriesPointerStyle AStyle) {
  if (!Pointer || !Pointer->GetParent()) return;
  TCanvas3D* Canvas = Pointer->GetParent()->GetCanvas();
  if (!Canvas) return;
  Pointer->PrepareCanvas(Canvas, AColor);
  std::int32_t PenWidth = Pointer->GetPen()->GetVisible() ? Round(Pointer->GetPen()->GetWidth()) : 0;
  TLegendSymbol* Symbol = LegendSymbolOf(Pointer->GetParent());
  if (Symbol && !Symbol->GetDefaultPen()) {
    TZelPen* Pen = Symbol->GetPen();
    Canvas->AssignVisiblePen(Pen);
    DrawPen = Pen->GetVisible();
    PenWidth = DrawPen ? Round(Pen->GetWidth()) : 0;
  }
  const std::int32_t L = Round(Rect.Left), T = Round(Rect.Top), R = Round(Rect.Right), B = Round(Rect.Bottom);
  if (DrawPen && (R - L < 2 * PenWidth || B - T < 2 * PenWidth))
    Canvas->GetPen()->SetWidth(static_cast<float>(std::min(R - L, B - T) / 2));
  std::int32_t H, V;
  ZelPointerLegendSizes(Pointer, Rect, DrawPen, Symbol && Symbol->GetContinuous(), H, V);
  std::int32_t CX = (L + R) / 2;
  if (TZelShadow* S = Pointer->ExistingShadow(); S && S->GetVisible()) CX -= S->GetHorizSize() / 2;
  const TPointerSizeUnits Units = Pointer->GetSizeUnits();
  Pointer->SetSizeUnits(TPointerSizeUnits::suPixels);
  TRestoreOnExit RestoreUnits([&] { Pointer->SetSizeUnits(Units); });
  Pointer->DrawPointer(Canvas, false, CX, (T + B) / 2, H, V, AColor, AStyle);
}

void TCustomSeries::DrawMark(std::int32_t ValueIndex, const String& St, TSeriesMarkPosition* APosition) {
  if (FMarks) {
    FMarks->SetZPosition(StartZ);
    if (YMandatory) FMarks->ApplyArrowLength(APosition);
  }
  TCustomLineSeries::DrawMark(ValueIndex, St, APosition);
}

// Mouse

bool TCustomSeries::RaiseClicked() {
  return TCustomLineSeries::RaiseClicked() || (FPointer->GetVisible() && bool(OnClickPointer));
}

void TCustomSeries::MouseDown(std::int32_t ValueIndex, TMouseButton Button, TShiftState Shift, std::int32_t X,
                              std::int32_t Y) {
  TCustomLineSeries::MouseDown(ValueIndex, Button, Shift, X, Y);
  if (!OnClickPointer || ValueIndex < 0 || ValueIndex >= Count() || !FPointer->GetVisible()) return;
  if (FParent && FParent->GetCancelMouse()) return;
  if (ClickedPointer(ValueIndex, CalcXPos(ValueIndex), CalcYPos(ValueIndex), X, Y)) OnClickPointer(this, ValueIndex, X, Y);
}

bool TCustomSeries::ClickedPointer(std::int32_t ValueIndex, std::int32_t X, std::int32_t Y) {
  if (ValueIndex < 0 || ValueIndex >= Count()) return false;
  return ClickedPointer(ValueIndex, CalcXPos(ValueIndex), CalcYPos(ValueIndex), X, Y);
}

bool TCustomSeries::ClickedPointer(std::int32_t ValueIndex, std::int32_t PointX, std::int32_t PointY,
                                   std::int32_t MouseX, std::int32_t MouseY) {
  if (DoGetPointerStyle(ValueIndex) == TSeriesPointerStyle::psNothing) return false;
  PreparePointer(ValueIndex);
  int H = 0, V = 0;
  FPointer->CalcSize(H, V);
  // (Widened: a program may give any half size and tolerance.)
  const std::int64_t DX = std::abs(std::int64_t(PointX) - MouseX), DY = std::abs(std::int64_t(PointY) - MouseY);
  return DX < std::int64_t(H) + FClickTolerance && DY < std::int64_t(V) + FClickTolerance;
}

std::int32_t TCustomSeries::Clicked(std::int32_t X, std::int32_t Y) {
  if (FParent && FParent->GetCanvas()) FParent->GetCanvas()->Calculate2DPosition(X, Y, StartZ);
  if (FFirstVisibleIndex < 0 || FLastVisibleIndex < 0) return -1;
  const TPointF M = Pt(X, Y);
  std::int32_t First = FClickableLine ? std::max(FFirstVisibleIndex - 1, 0) : FFirstVisibleIndex;
  std::int32_t Last = std::min(FLastVisibleIndex, Count() - 1);
  TChartAxis* PosAxis = YMandatory ? FGetHorizAxis : FGetVertAxis;
  const bool Down = PosAxis && PosAxis->GetInverted();
  const bool Is3DView = Is3D();
  const std::int32_t W3 = FParent ? FParent->GetSeriesWidth3D() : 0, H3 = FParent ? FParent->GetSeriesHeight3D() : 0;
  ClickRange(X, Is3DView ? W3 : 0, First, Last);
  TPointF Prev(0, 0);
  std::int32_t PrevIndex = -1;
  auto SegmentHit = [&](const TPointF& P) {
    if (Is3DView) {
      const TPointF Q[4] = {P, TPointF(P.X + W3, P.Y - H3), TPointF(Prev.X + W3, Prev.Y - H3), Prev};
      return PointInPolygon(M, Q, 3);
    }
    if (FStairs) {
      if (FInvertedStairs)
        return PointInLine(M, Prev, TPointF(Prev.X, P.Y), FClickTolerance) ||
               PointInLine(M, TPointF(Prev.X, P.Y), P, FClickTolerance);
      return PointInLine(M, Prev, TPointF(P.X, Prev.Y), FClickTolerance) ||
             PointInLine(M, TPointF(P.X, Prev.Y), P, FClickTolerance);
    }
    return PointInLine(M, P, Prev, FClickTolerance);
  };
  auto AreaHit = [&](std::int32_t I, const TPointF& P) {
    const float OI = static_cast<float>(GetOriginPos(I)), OP = static_cast<float>(GetOriginPos(PrevIndex));
    TPointF Q[4];
    if (YMandatory) {
      float TopPrev = Prev.Y, TopCur = P.Y, BotPrev = OP, BotCur = OI;
      if (FStairs) {
        TopPrev = TopCur = FInvertedStairs ? P.Y : Prev.Y;
        BotPrev = BotCur = FInvertedStairs ? OI : OP;
      }
      Q[0] = TPointF(Prev.X, TopPrev);
      Q[1] = TPointF(P.X, TopCur);
      Q[2] = TPointF(P.X, BotCur);
      Q[3] = TPointF(Prev.X, BotPrev);
    } else {
      float OutPrev = Prev.X, OutCur = P.X;
      if (FStairs) OutPrev = OutCur = FInvertedStairs ? P.X : Prev.X;
      Q[0] = TPointF(OutPrev, Prev.Y);
      Q[1] = TPointF(OutCur, P.Y);
      Q[2] = TPointF(OI, P.Y);
      Q[3] = TPointF(OP, Prev.Y);
    }
    return PointInPolygon(M, Q, 3);
  };
  auto Visit = [&](std::int32_t I) -> std::int32_t {
    ++IClickVisits;
    const TPointF P = Pt(CalcXPos(I), CalcYPos(I));
    if ((FPointer->GetVisible() && ClickedPointer(I, static_cast<std::int32_t>(P.X), static_cast<std::int32_t>(P.Y), X, Y)) ||
        (P.X == M.X && P.Y == M.Y))
      return I;
    if (PrevIndex >= 0 && FClickableLine && (SegmentHit(P) || (FDrawArea && AreaHit(I, P))))
      return PrevIndex;
    Prev = P;
    PrevIndex = I;
    return -1;
  };
  if (!Down) {
    for (std::int32_t I = First; I <= Last; ++I)
      if (const std::int32_t R = Visit(I); R != -1) return R;
  } else {
    for (std::int32_t I = Last; I >= First; --I)
      if (const std::int32_t R = Visit(I); R != -1) return R;
  }
  return -1;
}

void TCustomSeries::ClickRange(std::int32_t X, std::int32_t Shift3D, std::int32_t& First,
                               std::int32_t& Last) {
  // With X values ascending (finite) on a linear horizontal axis the pixel columns are monotonic in
  // the index: a point is hit only within its pointer's half size plus the tolerance of its column,
  // a segment or area piece only within the tolerance plus one pixel of its ends' columns (shifted
  // by the depth in 3D). The points wholly on one side of that band cannot be hit; the point just
  // outside each end stays, for the segment that crosses into the band.
  if (!YMandatory || !FGetHorizAxis || FGetHorizAxis->GetLogarithmic() || Last - First < 8) return;
  if (FX->GetOrder() != TChartListOrder::loAscending || !FX->IsAscendingFinite()) return;
  int H = 0, V = 0;
  FPointer->CalcSize(H, V);
  const std::int64_t Band = std::int64_t(std::max(std::abs(H), 1)) +
                            std::max<std::int32_t>(FClickTolerance, 0) +
                            std::abs(std::int64_t(Shift3D)) + 2;
  const std::int64_t Lo = std::int64_t(X) - Band, Hi = std::int64_t(X) + Band;
  const bool Increasing = !FGetHorizAxis->GetInverted();
  NarrowToPixelBand(First, Last, Lo, Hi, Increasing, [this](std::int32_t I) { return CalcXPos(I); });
}

// Margins and visible range

std::int32_t TCustomSeries::CalcMarkLength() {
  if (!FMarks) return 0;
  TMarksCallout* C = FMarks->GetCallout();
  return C->GetLength() + C->GetDistance();
}

void TCustomSeries::InternalCalcMargin(bool MarkSide, bool Horizontal, std::int32_t& A, std::int32_t& B) {
  int IA = A, IB = B;
  if (!Horizontal) {
    FPointer->CalcVerticalMargins(IA, IB);
  } else if (Count() > 0 && FPointer->Count() > 0) {
    int Dummy = 0;
    FPointer->InternalGet(0)->CalcHorizMargins(IA, Dummy);
    Dummy = 0;
    FPointer->InternalGet(Count() - 1)->CalcHorizMargins(Dummy, IB);
  } else {
    FPointer->CalcHorizMargins(IA, IB);
  }
  A = IA;
  B = IB;
  if (FInflateMargins) {
    if (FDrawLine) {
      const std::int32_t T = PenTerm(FPen, FStairs);
      A = std::max(A, T);
      B = std::max(B, T);
      if (FOutLine && FOutLine->GetVisible()) {
        const std::int32_t O = Round(FOutLine->GetWidth());
        A = std::max(A, O);
        B = std::max(B, O);
      }
    }
    if (FDrawArea && FPen->GetVisible()) {
      const std::int32_t T = PenTerm(FPen, FStairs);
      A = std::max(A, T);
      B = std::max(B, T);
    }
  }
  if (MarkSide && FMarks && FMarks->GetVisible()) {
    const std::int32_t L = CalcMarkLength();
    if (YMandatory)
      A = std::max(A, L);
    else
      B = std::max(B, L);
  }
}

void TCustomSeries::CalcHorizMargins(std::int32_t& LeftMargin, std::int32_t& RightMargin) {
  TCustomLineSeries::CalcHorizMargins(LeftMargin, RightMargin);
  InternalCalcMargin(!YMandatory, true, LeftMargin, RightMargin);
}

void TCustomSeries::CalcVerticalMargins(std::int32_t& TopMargin, std::int32_t& BottomMargin) {
  TCustomLineSeries::CalcVerticalMargins(TopMargin, BottomMargin);
  InternalCalcMargin(YMandatory, false, TopMargin, BottomMargin);
  if (Is3D() && FLineHeight > 0 && !FDrawArea && FInflateMargins) BottomMargin = std::max(BottomMargin, FLineHeight);
}

bool TCustomSeries::IsPointInChartRect(std::int32_t ValueIndex) {
  if (!FParent) return false;
  const float X = static_cast<float>(CalcXPos(ValueIndex)), Y = static_cast<float>(CalcYPos(ValueIndex));
  const float H = static_cast<float>(FPointer->GetHorizSize()), V = static_cast<float>(FPointer->GetVertSize());
  return ZelRectIntersects(TRectF(X - H, Y - V, X + H, Y + V), FParent->GetChartRect());
}

void TCustomSeries::CalcFirstLastVisibleIndex() {
  TCustomLineSeries::CalcFirstLastVisibleIndex();
  if (FFirstVisibleIndex < 0 || FLastVisibleIndex < 0) return;
  const std::int32_t N = Count();
  const double* Pos = NotMandatoryValueList->Value.Data();
  while (FLastVisibleIndex < N - 1 && IsPointInChartRect(FLastVisibleIndex + 1)) ++FLastVisibleIndex;
  while (FLastVisibleIndex < N - 1 && Pos[FLastVisibleIndex + 1] == Pos[FLastVisibleIndex]) ++FLastVisibleIndex;
  while (FFirstVisibleIndex > 0 && IsPointInChartRect(FFirstVisibleIndex - 1)) --FFirstVisibleIndex;
  while (FFirstVisibleIndex > 0 && Pos[FFirstVisibleIndex - 1] == Pos[FFirstVisibleIndex]) --FFirstVisibleIndex;
}

// ---------------------------------------------------------------------------------------------
// Published properties

ZEL_BEGIN_PUBLISHED(TCustomSeries)
  P::Prop("ClickableLine", &Self::GetClickableLine, &Self::SetClickableLine, Default(true)),
  P::Prop("ClickTolerance", &Self::GetClickTolerance, &Self::SetClickTolerance, Default(0)),
  P::Prop("ColorEachLine", &Self::GetColorEachLine, &Self::SetColorEachLine, Default(true)),
  P::Prop("Dark3D", &Self::GetDark3D, &Self::SetDark3D, Default(true)),
  P::Prop("DrawStyle", &Self::GetDrawStyle, &Self::SetDrawStyle, Default(TCustomSeriesDrawStyle::dsSegments)),
  P::Prop("InflateMargins", &Self::GetInflateMargins, &Self::SetInflateMargins, Default(true)),
  P::Prop("InvertedStairs", &Self::GetInvertedStairs, &Self::SetInvertedStairs, Default(false)),
  P::Obj("Pointer", &Self::GetPointer),
  P::Prop("PointerBehind", &Self::GetPointerBehind, &Self::SetPointerBehind, Default(false)),
  P::Prop("Stairs", &Self::GetStairs, &Self::SetStairs, Default(false)),
  P::Event("OnClickPointer", &Self::OnClickPointer),
  P::Event("OnGetPointerStyle", &Self::OnGetPointerStyle),
ZEL_END_PUBLISHED

}  // namespace zel
