#include "zelgraph/series/Spline.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "platform/Exceptions.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/chart/Registries.h"
#include "zelgraph/constants/Constants.h"
#include "zelgraph/engine/AxisPanel.h"
#include "zelgraph/engine/Series.h"
#include "zelgraph/engine/ValueList.h"

namespace zel {

ZEL_DEFINE_CLASS(TBSpline, TObject)
ZEL_DEFINE_COMPONENT_CLASS(TSmoothingFunction, TZelFunction)

// TBSpline

namespace {
// A plain row of the interpolation matrix holds 1/6, 2/3, 1/6; an identity row 0, 1, 0. Only the
// diagonal changes during the elimination, and a plain row's only decreases from 2/3, so a
// diagonal of 1 tells an identity row.
constexpr double PlainSide = 1.0 / 6.0;
constexpr double PlainDiagonal = 2.0 / 3.0;
bool IsIdentityRow(double Diagonal) { return Diagonal == 1; }
}  // namespace

void TBSpline::AddPoint(double X, double Y) {
  if (FNoPoints == FCapacity) SetCapacity(FCapacity + 5);
  ++FNoPoints;
  FPointList[static_cast<std::size_t>(FNoPoints)] = TVertex{X, Y};
  FSetBuild(false);
}

void TBSpline::Clear() {
  FVertexList.clear();
  FPointList.clear();
  FKnuckleList.clear();
  Matrix.clear();
  FNoPoints = 0;
  FNoVertices = 0;
  FBuild = false;
  FCapacity = 0;
  FInterpolated = false;
  FFragments = DefaultFragments;
}

void TBSpline::SetCapacity(std::int32_t N) {
  N = std::max<std::int32_t>(N, 0);
  if (N < FNoPoints) {
    FNoPoints = N;
    FSetBuild(false);
  }
  // Entry 0 of both lists is unused: points and their knuckle flags are numbered from 1.
  FPointList.resize(static_cast<std::size_t>(N) + 1);
  FKnuckleList.resize(static_cast<std::size_t>(N) + 1, false);
  FCapacity = N;
}

void TBSpline::FSetBuild(bool Value) {
  if (!Value) {
    if (FBuild) FVertexList.clear();
    FNoVertices = 0;
  }
  FBuild = Value;
}

void TBSpline::FSetFragments(std::int32_t Value) { FFragments = std::min(Value, MaxFragments); }

void TBSpline::FSetInterpolated(bool Value) {
  if (Value == FInterpolated) return;
  FInterpolated = Value;
  FSetBuild(false);
}

void TBSpline::CheckPointIndex(std::int32_t Index) const {
  if (Index < 1 || Index > FNoPoints) throw ERangeError(SRangeError);
}

TVertex TBSpline::FGetPoint(std::int32_t Index) const {
  CheckPointIndex(Index);
  return FPointList[static_cast<std::size_t>(Index)];
}

void TBSpline::FSetPoint(std::int32_t Index, const TVertex& Value) {
  CheckPointIndex(Index);
  FPointList[static_cast<std::size_t>(Index)] = Value;
  FSetBuild(false);
}

bool TBSpline::FGetKnuckle(std::int32_t Index) const {
  CheckPointIndex(Index);
  if (Index == 1 || Index == FNoPoints) return false;
  return FKnuckleList[static_cast<std::size_t>(Index)];
}

void TBSpline::FSetKnuckle(std::int32_t Index, bool Value) {
  CheckPointIndex(Index);
  FKnuckleList[static_cast<std::size_t>(Index)] = Value;
  FSetBuild(false);
}

std::int32_t TBSpline::FGetNumberOfVertices() {
  if (!FBuild) Rebuild();
  return FNoVertices;
}

TVertex TBSpline::GetVertex(std::int32_t Index) const {
  if (!FBuild || Index < 0 || Index > FNoVertices + 1) throw ERangeError(SRangeError);
  return FVertexList[static_cast<std::size_t>(Index)];
}

void TBSpline::Rebuild() {
  if (FBuild || FNoPoints < 2) return;
  // Every point gives one vertex, a knuckle three equal ones; vertices are numbered from 1.
  std::int32_t N = 0;
  for (std::int32_t I = 1; I <= FNoPoints; ++I) N += FGetKnuckle(I) ? 3 : 1;
  FNoVertices = N;
  FVertexList.assign(static_cast<std::size_t>(N) + 2, TVertex{});
  std::size_t V = 1;
  for (std::int32_t I = 1; I <= FNoPoints; ++I) {
    const TVertex& P = FPointList[static_cast<std::size_t>(I)];
    for (int K = FGetKnuckle(I) ? 3 : 1; K > 0; --K) FVertexList[V++] = P;
  }
  if (FInterpolated) {
    Matrix.assign(static_cast<std::size_t>(N) + 1, 0.0);
    FillMatrix();
    Interpolate();
    Matrix.clear();
    Matrix.shrink_to_fit();
  }
  FBuild = true;
  PhantomPoints();
}

void TBSpline::FillMatrix() {
  const std::int32_t N = FNoVertices;
  if (N < 3) return;
  for (std::int32_t I = 2; I <= N - 1; ++I) Matrix[static_cast<std::size_t>(I)] = PlainDiagonal;
  Matrix[1] = 1;
  Matrix[static_cast<std::size_t>(N)] = 1;
  // Three equal vertices in a row (a knuckle) are kept as they are: the curve passes through them.
  auto Same = [this](std::int32_t A, std::int32_t B) {
    const TVertex& P = FVertexList[static_cast<std::size_t>(A)];
    const TVertex& Q = FVertexList[static_cast<std::size_t>(B)];
    return std::fabs(P.X - Q.X) < 1e-5 && std::fabs(P.Y - Q.Y) < 1e-5;
  };
  std::int32_t I = 3;
  while (I < N - 1) {
    if (Same(I - 1, I) && Same(I, I + 1)) {
      for (std::int32_t R = I - 1; R <= I + 1; ++R) Matrix[static_cast<std::size_t>(R)] = 1;
      I += 2;
    } else {
      I += 1;
    }
  }
}

void TBSpline::Interpolate() {
  const std::int32_t N = FNoVertices;
  if (N <= 2) return;
  auto Diag = [this](std::int32_t I) -> double& { return Matrix[static_cast<std::size_t>(I)]; };
  // The entries left and right of the diagonal: 0 in an identity row, 1/6 in a plain one.
  auto Side = [&Diag](std::int32_t I) { return IsIdentityRow(Diag(I)) ? 0.0 : PlainSide; };
  auto Vx = [this](std::int32_t I) -> TVertex& { return FVertexList[static_cast<std::size_t>(I)]; };
  // Forward elimination without pivoting. The matrix is tridiagonal and diagonally dominant, so
  // only the row below each pivot has a non-zero factor, and no pivot is zero.
  for (std::int32_t I = 1; I < N; ++I) {
    const double Factor = Side(I + 1) / Diag(I);
    if (Factor == 0) continue;
    Diag(I + 1) -= Factor * Side(I);
    Vx(I + 1).X -= Factor * Vx(I).X;
    Vx(I + 1).Y -= Factor * Vx(I).Y;
  }
  // Back substitution, in place: vertex I is read for the last time when its solution is written.
  Vx(N) = TVertex{Vx(N).X / Diag(N), Vx(N).Y / Diag(N)};
  for (std::int32_t I = N - 1; I >= 1; --I)
    Vx(I) = TVertex{(Vx(I).X - Side(I) * Vx(I + 1).X) / Diag(I), (Vx(I).Y - Side(I) * Vx(I + 1).Y) / Diag(I)};
}

void TBSpline::PhantomPoints() {
  const std::size_t N = static_cast<std::size_t>(FNoVertices);
  if (N < 2) return;
  TVertexList& V = FVertexList;
  V[0] = TVertex{2 * V[1].X - V[2].X, 2 * V[1].Y - V[2].Y};
  V[N + 1] = TVertex{2 * V[N].X - V[N - 1].X, 2 * V[N].Y - V[N - 1].Y};
}

TVertex TBSpline::Value(double T) {
  TVertex Result;
  if (FNoPoints <= 1) return Result;
  if (!FBuild) Rebuild();
  const std::int32_t N = FNoVertices;
  const double U = (N - 1) * T + 1;
  if (!std::isfinite(U)) return TVertex{NAN, NAN};
  // Only vertices within two knots of U carry weight; T outside 0..1 reads the nearest ones that
  // exist (the phantom vertices extend the ends).
  const double Start = std::max(0.0, std::trunc(U - 1));
  if (Start > N + 1) return Result;
  const std::int32_t J = static_cast<std::int32_t>(Start);
  const std::int32_t Last = std::min(J + 3, N + 1);
  for (std::int32_t I = J; I <= Last; ++I) {
    const double D = std::fabs(I - U);
    if (D >= 2) continue;
    const double B = D < 1 ? 2.0 / 3.0 - D * D + D * D * D / 2 : (2 - D) * (2 - D) * (2 - D) / 6;
    Result.X += B * FVertexList[static_cast<std::size_t>(I)].X;
    Result.Y += B * FVertexList[static_cast<std::size_t>(I)].Y;
  }
  return Result;
}

// TSmoothingFunction

TSmoothingFunction::TSmoothingFunction(TComponent* AOwner) : TZelFunction(AOwner) {
  CanUsePeriod = false;
  SingleSource = true;
  FInterpolate = true;
  FFactor = 4;
  InternalSetPeriod(1);
}

void TSmoothingFunction::SetFactor(std::int32_t Value) {
  if (Value == FFactor) return;
  FFactor = std::max<std::int32_t>(1, Value);
  ReCalculate();
}

void TSmoothingFunction::SetInterpolate(bool Value) {
  if (Value == FInterpolate) return;
  FInterpolate = Value;
  ReCalculate();
}

void TSmoothingFunction::AddPoints(TChartSeries* Source) {
  TChartSeries* Out = FParent;
  if (!Out || !Source) return;
  Out->Clear();
  if (!Out->HasZValues) {
    TChartValueList* Position = Out->NotMandatoryValueList;
    TChartValueList* Mandatory = Out->MandatoryValueList;
    const bool SameOrientation = Out->YMandatory == Source->YMandatory;
    if (Position) Position->SetCalculatedOrder(SameOrientation ? TChartListOrder::loAscending : TChartListOrder::loNone);
    if (Mandatory) Mandatory->SetCalculatedOrder(SameOrientation ? TChartListOrder::loNone : TChartListOrder::loAscending);
    Out->CalcVisiblePoints = SameOrientation;
  }
  if (Source->Count() == 0) return;
  TChartValueList* Levels = ValueList(Source);
  const bool Vertical = Out->YMandatory;
  TChartValueList* Positions = Vertical ? Source->GetXValues() : Source->GetYValues();
  if (!Levels || !Positions) return;

  // The points the curve goes through: those that are finite (a point that is not is left out,
  // and the curve joins its neighbours).
  std::vector<TVertex> Points;
  Points.reserve(static_cast<std::size_t>(Source->Count()));
  for (std::int32_t I = 0; I < Source->Count(); ++I) {
    const TVertex P{Positions->Value[I], Levels->Value[I]};
    if (std::isfinite(P.X) && std::isfinite(P.Y) && Source->IsFinitePoint(I)) Points.push_back(P);
  }
  const auto Count = static_cast<std::int32_t>(Points.size());
  if (Count == 0) return;
  // Values near the ends of the double range would overflow in the spline's sums (its phantom
  // vertices lie twice as far out): such a coordinate is calculated at a scale by a power of two
  // (exact) and scaled back; a point of the curve that lies beyond the range is then not finite,
  // so a null point. Other data are calculated as they are.
  auto ScaleOf = [&](bool X) {
    double Big = 0;
    for (const TVertex& P : Points) Big = std::max(Big, std::fabs(X ? P.X : P.Y));
    return Big > 0x1p1000 ? std::ilogb(Big) + 1 : 0;
  };
  const int ScaleX = ScaleOf(true), ScaleY = ScaleOf(false);
  auto Emit = [&](double Position, double Level) {
    Position = std::ldexp(Position, ScaleX);
    Level = std::ldexp(Level, ScaleY);
    if (Vertical)
      Out->AddXY(Position, Level, String(), clZelDefault);
    else
      Out->AddXY(Level, Position, String(), clZelDefault);
  };
  for (TVertex& P : Points) P = TVertex{std::ldexp(P.X, -ScaleX), std::ldexp(P.Y, -ScaleY)};
  // A single point has no curve through it: it is its own smooth line.
  if (Count == 1) {
    Emit(Points[0].X, Points[0].Y);
    return;
  }

  TOwned<TBSpline> Spline(Create<TBSpline>());
  Spline->SetCapacity(Count);
  for (const TVertex& P : Points) Spline->AddPoint(P.X, P.Y);
  Spline->SetInterpolated(FInterpolate);
  // Count * Factor pieces, at most 600 (computed wide: a large source must not overflow).
  const std::int64_t Pieces = std::min<std::int64_t>(static_cast<std::int64_t>(Count) * FFactor, TBSpline::MaxFragments);
  Spline->SetFragments(static_cast<std::int32_t>(Pieces));
  const std::int32_t Fragments = Spline->GetFragments();
  for (std::int32_t K = 0; K <= Fragments; ++K) {
    const TVertex V = Spline->Value(static_cast<double>(K) / Fragments);
    Emit(V.X, V.Y);
  }
}

void TSmoothingFunction::PrepareForGallery(TCustomAxisPanel* Chart) {
  TZelFunction::PrepareForGallery(Chart);
  if (Chart && Chart->SeriesCount() > 0)
    if (auto* First = dynamic_cast<TChartSeries*>(Chart->GetSeries(0))) First->FillSampleValues(10);
  if (FParent) {
    FParent->SetTransparency(70);
    FParent->GetPen()->SetWidth(10);
  }
  SetFactor(8);
}

// Published properties

ZEL_BEGIN_PUBLISHED(TSmoothingFunction)
  P::Prop("Factor", &Self::GetFactor, &Self::SetFactor, Default(4)),
  P::Prop("Interpolate", &Self::GetInterpolate, &Self::SetInterpolate, Default(true)),
  P::Prop("Period", &Self::GetPeriod, &Self::SetPeriod, Default(1.0)),
ZEL_END_PUBLISHED

// Unit start and end

void ZelSplineUnitStart() {
  RegisterZelFunction(TSmoothingFunction::StaticClass(), &ZelMsg_FunctionSmooth, &ZelMsg_GalleryExtended, 1);
}

void ZelSplineUnitEnd() {
  const TClass* Classes[] = {TSmoothingFunction::StaticClass()};
  UnRegisterZelFunctions(Classes, 0);
}

}  // namespace zel
