// The 3D projection: the 2D, orthogonal and rotated mappings and their inverse.
#include <gtest/gtest.h>


#include "platform/RecordingCanvas.h"
#include "zelgraph/canvas/CanvasUnit.h"
#include "zelgraph/canvas/Geometry.h"

namespace zel {
namespace {

struct TView {
  bool Orthogonal;
  int OrthoAngle, Rotation, Elevation, Tilt, Perspective, Zoom;
};

class ProjectionTest : public ::testing::Test {
 protected:
  // Opens a window of 400 x 300 with the centre of the chart rectangle at (200, 150).
  void Open(const TView& V, bool Is3D = true, int HorizOffset = 0, int VertOffset = 0) {
    Options.SetOrthogonal(V.Orthogonal);
    Options.SetOrthoAngle(V.OrthoAngle);
    Options.SetRotation(V.Rotation);
    Options.SetElevation(V.Elevation);
    Options.SetTilt(V.Tilt);
    Options.SetPerspective(V.Perspective);
    Options.SetZoom(V.Zoom);
    Options.SetHorizOffset(HorizOffset);
    Options.SetVertOffset(VertOffset);
    Canvas.SetUseBuffer(false);
    Canvas.InitWindow(&Rec, &Options, 0, Is3D, TRectF(0, 0, 400, 300));
    Canvas.Projection(100, TRectF(0, 0, 400, 300), TRectF(0, 0, 400, 300));
  }
  TRecordingCanvas Rec{400, 300};
  TZelCanvas3D Canvas;
  TView3DOptions Options{nullptr};
};

TEST_F(ProjectionTest, TwoDimensionalWindowShiftsOnlyTheFloatForm) {
  Canvas.SetUseBuffer(false);
  Options.SetHorizOffset(10);
  Canvas.InitWindow(&Rec, &Options, 0, false, TRectF(0, 0, 400, 300));
  Canvas.Projection(0, TRectF(), TRectF(0, 0, 0, 0));
  EXPECT_EQ(Canvas.Calculate3DPosition(0.0f, 0.0f, 0.0f), TPointF(10, 0));
  EXPECT_EQ(Canvas.Calculate3DPosition(0, 0, 0), TPointF(0, 0));
  EXPECT_EQ(Canvas.Calculate3DPosition(7.0f, 3.0f, 50.0f), TPointF(17, 3));  // depth ignored
}

TEST_F(ProjectionTest, OrthogonalViews) {
  struct Case {
    int Angle;
    float XPerZ, YPerZ;
  };
  const Case Cases[] = {{45, 1, -1}, {135, -1, -1}, {90, 1, -1}, {0, 1, 0}};
  const int Points[][3] = {{0, 0, 0}, {10, 20, 30}, {200, 150, 40}, {-5, 7, 100}};
  for (const Case& C : Cases) {
    Open({true, C.Angle, 0, 0, 0, 0, 100}, true, 3, 4);
    for (auto& P : Points) {
      float X = float(P[0] + C.XPerZ * P[2] + 3), Y = float(P[1] + C.YPerZ * P[2] + 4);
      TPointF F = Canvas.Calculate3DPosition(float(P[0]), float(P[1]), float(P[2]));
      EXPECT_NEAR(F.X, X, 1e-3) << C.Angle;
      EXPECT_NEAR(F.Y, Y, 1e-3) << C.Angle;
      EXPECT_EQ(Canvas.Calculate3DPosition(P[0], P[1], P[2]), TPointF(X, Y)) << C.Angle;
    }
  }
}

TEST_F(ProjectionTest, UnrotatedViewScalesAboutTheCentre) {
  Open({false, 45, 0, 0, 0, 0, 150});
  const int Points[][3] = {{200, 150, 0}, {0, 0, 0}, {300, 50, 80}};
  for (auto& P : Points) {
    TPointF Q = Canvas.Calculate3DPosition(float(P[0]), float(P[1]), float(P[2]));
    EXPECT_NEAR(Q.X, 200 + 1.5 * (P[0] - 200), 1e-3);
    EXPECT_NEAR(Q.Y, 150 + 1.5 * (P[1] - 150), 1e-3);
  }
  EXPECT_FALSE(Canvas.IHasPerspec);
}

TEST_F(ProjectionTest, InverseUndoesTheProjection) {
  const TView Views[] = {
      {true, 45, 0, 0, 0, 0, 100},      {true, 135, 0, 0, 0, 0, 150},
      {false, 45, 345, 345, 0, 0, 100}, {false, 45, 120, 300, 0, 0, 100},
      {false, 45, 200, 20, 0, 0, 80},   {false, 45, 330, 350, 25, 0, 100},
      {false, 45, 345, 345, 0, 15, 100}, {false, 45, 60, 330, 10, 60, 130},
  };
  const int Points[][3] = {{200, 150, 50}, {10, 20, 0}, {390, 280, 100}, {120, 240, 30}};
  for (const TView& V : Views)
    for (auto& P : Points) {
      Open(V);
      int X = P[0], Y = P[1];
      Canvas.Calc3DPos(X, Y, P[2]);
      Canvas.Calculate2DPosition(X, Y, P[2]);
      EXPECT_NEAR(X, P[0], 1) << "rotation " << V.Rotation << " elevation " << V.Elevation
                              << " perspective " << V.Perspective;
      EXPECT_NEAR(Y, P[1], 1) << "rotation " << V.Rotation << " elevation " << V.Elevation
                              << " perspective " << V.Perspective;
    }
}

TEST_F(ProjectionTest, InverseLeavesThePointWhereItCannotInvert) {
  struct Case {
    TView View;
  };
  // Zoom 0 collapses everything; a view along the x axis collapses x.
  const Case Cases[] = {{{true, 45, 0, 0, 0, 0, 0}}, {{false, 45, 90, 0, 0, 0, 100}}};
  for (const Case& C : Cases) {
    Open(C.View);
    int X = 123, Y = 45;
    Canvas.Calculate2DPosition(X, Y, 10);
    EXPECT_EQ(X, 123);
    EXPECT_EQ(Y, 45);
  }
}

TEST_F(ProjectionTest, FarPixelsProjectWithinThePixelLimit) {
  // A pixel at the limit of the axes' mappings, zoomed and shifted, stays within the limit (and
  // its sums defined), in every kind of view, on the front plane and behind it, and back again.
  // From zoom 800 a far pixel times the zoom lies beyond the int range.
  const TView Views[] = {
      {true, 45, 0, 0, 0, 0, 0},        {false, 45, 345, 345, 0, 0, 0},
      {false, 45, 330, 350, 25, 0, 0}, {false, 45, 60, 330, 10, 60, 0},
  };
  const int Far[] = {ZelPixelLimit, -ZelPixelLimit};
  auto Within = [](int P) { return P >= -ZelPixelLimit && P <= ZelPixelLimit; };
  for (int Zoom : {500, 800})
    for (TView V : Views)
      for (int Z : {0, 30}) {
        V.Zoom = Zoom;
        Open(V, true, 100, 100);
        for (int FX : Far)
          for (int FY : Far) {
            SCOPED_TRACE(testing::Message() << "orthogonal " << V.Orthogonal << " rotation " << V.Rotation << " zoom "
                                            << Zoom << " z " << Z << " from " << FX << ", " << FY);
            int X = FX, Y = FY;
            Canvas.Calc3DPos(X, Y, Z);
            EXPECT_TRUE(Within(X)) << X;
            EXPECT_TRUE(Within(Y)) << Y;
            // The orthogonal view only shifts the point: a far point stays at the limit on its side.
            if (V.Orthogonal) {
              EXPECT_EQ(X, FX);
              EXPECT_EQ(Y, FY);
            }
            Canvas.Calculate2DPosition(X, Y, Z);
            EXPECT_TRUE(Within(X)) << X;
            EXPECT_TRUE(Within(Y)) << Y;
          }
      }
}

}  // namespace
}  // namespace zel
