// A cubic B-spline over a list of 2D points, and the smoothing function that turns a source
// series into a smooth curve with it.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Classes.h"
#include "zelgraph/engine/Function.h"

namespace zel {

class TChartSeries;
class TCustomAxisPanel;

struct TVertex {
  double X = 0;
  double Y = 0;
};

using T2DPointList = std::vector<TVertex>;
using TVertexList = std::vector<TVertex>;
using TKnuckleList = std::vector<bool>;

// Uniform cubic B-spline. Points are numbered from 1. With Interpolated on, the control vertices
// are solved so that the curve passes through every point; otherwise the points are the control
// vertices. A knuckle point is taken three times, which makes the curve pass through it with a
// corner. Value(t) runs from the first point (t = 0) to the last (t = 1).
class TBSpline : public TObject {
  ZEL_CLASS(TBSpline, TObject)
 public:
  // Most pieces a caller may ask to sample.
  static constexpr std::int32_t MaxFragments = 600;
  static constexpr std::int32_t DefaultFragments = 100;

  TBSpline() { Clear(); }
  ~TBSpline() override { Clear(); }

  // Appends point number GetNumberOfPoints() + 1; the capacity grows by 5 when full.
  void AddPoint(double X, double Y);
  // No points and no vertices, capacity 0, not interpolated, 100 fragments.
  void Clear();
  // Room for N points; existing points and knuckle flags up to N are kept, new flags cleared.
  // A capacity below the number of points drops the trailing points.
  void SetCapacity(std::int32_t N);
  std::int32_t GetCapacity() const { return FCapacity; }
  // The curve point at parameter T (0 the first point, 1 the last); (0, 0) for fewer than two
  // points.
  TVertex Value(double T);
  // Solves the control vertices when they are out of date (at least two points).
  void Rebuild();

  std::int32_t GetNumberOfPoints() const { return FNoPoints; }
  // Point Index (1-based); raises ERangeError outside 1..GetNumberOfPoints().
  TVertex GetPoint(std::int32_t Index) const { return FGetPoint(Index); }
  void SetPoint(std::int32_t Index, const TVertex& Value) { FSetPoint(Index, Value); }
  // Knuckle flag of point Index; always false for the first and the last point.
  bool GetKnuckle(std::int32_t Index) const { return FGetKnuckle(Index); }
  void SetKnuckle(std::int32_t Index, bool Value) { FSetKnuckle(Index, Value); }
  // The number of control vertices (rebuilds first when out of date).
  std::int32_t GetNumberOfVertices() { return FGetNumberOfVertices(); }
  // Control vertex Index, 0 and GetNumberOfVertices() + 1 being the phantom ends; raises
  // ERangeError outside them or before the vertices are built.
  TVertex GetVertex(std::int32_t Index) const;

  bool GetBuild() const { return FBuild; }
  // False drops the vertices (they are solved again when next needed); true only records.
  void SetBuild(bool Value) { FSetBuild(Value); }
  std::int32_t GetFragments() const { return FFragments; }
  // Stored capped at 600.
  void SetFragments(std::int32_t Value) { FSetFragments(Value); }
  bool GetInterpolated() const { return FInterpolated; }
  void SetInterpolated(bool Value) { FSetInterpolated(Value); }

 private:
  void FSetBuild(bool Value);
  void FSetFragments(std::int32_t Value);
  void FSetInterpolated(bool Value);
  TVertex FGetPoint(std::int32_t Index) const;
  void FSetPoint(std::int32_t Index, const TVertex& Value);
  bool FGetKnuckle(std::int32_t Index) const;
  void FSetKnuckle(std::int32_t Index, bool Value);
  std::int32_t FGetNumberOfVertices();
  void CheckPointIndex(std::int32_t Index) const;
  void FillMatrix();
  void Interpolate();
  void PhantomPoints();

  // The interpolation matrix is tridiagonal with rows of two kinds (see Spline.cpp): each row
  // keeps only its diagonal (rows 0..NoVertices, only while the vertices are solved).
  std::vector<double> Matrix;
  std::int32_t FNoPoints = 0;
  std::int32_t FCapacity = 0;
  T2DPointList FPointList;
  TVertexList FVertexList;
  TKnuckleList FKnuckleList;
  bool FBuild = false;
  std::int32_t FNoVertices = 0;
  bool FInterpolated = false;
  std::int32_t FFragments = DefaultFragments;
};

// Fills its output series with a smooth curve through (or, without Interpolate, near) the points
// of a single source series: Factor curve points per source point, at most 600 pieces.
class TSmoothingFunction : public TZelFunction {
  ZEL_CLASS(TSmoothingFunction, TZelFunction)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TSmoothingFunction(TComponent* AOwner);

  void AddPoints(TChartSeries* Source) override;
  String GetEditorClass() const override { return "TSmoothFuncEditor"; }
  void PrepareForGallery(TCustomAxisPanel* Chart) override;

  bool GetInterpolate() const { return FInterpolate; }
  void SetInterpolate(bool Value);
  std::int32_t GetFactor() const { return FFactor; }
  // Stores max(1, Value) and recalculates when it changes.
  void SetFactor(std::int32_t Value);

 private:
  bool FInterpolate = true;
  std::int32_t FFactor = 4;
};

// Spline unit start: registers the smoothing function; end: removes it.
void ZelSplineUnitStart();
void ZelSplineUnitEnd();

}  // namespace zel
