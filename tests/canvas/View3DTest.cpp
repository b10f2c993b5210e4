#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "zelgraph/canvas/View3D.h"

namespace zel {
namespace {

// Records what the options report, in order: "R" repaint, "H"/"V" scrolled, "Z<n>" zoom.
struct View3DOptionsTest : ::testing::Test {
  TView3DOptions View{nullptr};
  std::vector<std::string> Log;
  int ZoomSeenByHandler = -1;

  void SetUp() override {
    View.OnInvalidate = [this](TObject* Sender) {
      EXPECT_EQ(Sender, &View);
      Log.push_back("R");
    };
    View.OnScrolled = [this](bool IsHoriz) { Log.push_back(IsHoriz ? "H" : "V"); };
    View.OnChangedZoom = [this](int NewZoom) {
      ZoomSeenByHandler = View.GetZoom();
      Log.push_back("Z" + std::to_string(NewZoom));
    };
  }
};

TEST_F(View3DOptionsTest, Defaults) {
  EXPECT_EQ(View.GetElevation(), 345);
  EXPECT_EQ(View.GetRotation(), 345);
  EXPECT_EQ(View.GetZoom(), 100);
  EXPECT_EQ(View.GetPerspective(), 15);
  EXPECT_EQ(View.GetOrthoAngle(), 45);
  EXPECT_TRUE(View.GetOrthogonal());
  EXPECT_EQ(View.GetZoomText(), TCanvasZoomText::ztManual);
  EXPECT_FALSE(View.IsZoomStored());
}

TEST_F(View3DOptionsTest, ZoomFiresBeforeStoring) {
  View.SetZoom(100);
  EXPECT_TRUE(Log.empty());
  View.SetZoomFloat(150.4);
  EXPECT_EQ(Log, (std::vector<std::string>{"Z150", "R"}));
  EXPECT_EQ(ZoomSeenByHandler, 100);
  EXPECT_EQ(View.GetZoom(), 150);
  EXPECT_DOUBLE_EQ(View.GetZoomFloat(), 150.4);
  EXPECT_TRUE(View.IsZoomStored());
}

TEST_F(View3DOptionsTest, OffsetsRepaintThenReportTheirAxis) {
  View.SetHorizOffset(5);
  View.SetVertOffsetFloat(2.5);
  View.SetZOffset(7);
  View.SetHorizOffsetFloat(5);  // unchanged
  EXPECT_EQ(Log, (std::vector<std::string>{"R", "H", "R", "V", "R", "V"}));
  EXPECT_EQ(View.GetVertOffset(), 2);  // 2.5 rounds to even
}

TEST_F(View3DOptionsTest, AnglesAndNaN) {
  View.SetRotation(345);
  View.SetElevationFloat(345);
  EXPECT_TRUE(Log.empty());
  View.SetTiltFloat(10.5);
  EXPECT_EQ(View.GetTilt(), 10);
  const double NaN = std::numeric_limits<double>::quiet_NaN();
  View.SetElevationFloat(NaN);
  View.SetElevationFloat(NaN);
  EXPECT_EQ(Log.size(), 3u);
  EXPECT_EQ(View.GetElevation(), 0);  // a NaN reads as 0, never undefined
}

TEST_F(View3DOptionsTest, PerspectiveHasOnlyAnUpperBound) {
  for (auto [In, Stored] : {std::pair{250, 100}, std::pair{-5, -5}, std::pair{60, 60}}) {
    View.SetPerspective(In);
    EXPECT_EQ(View.GetPerspective(), Stored) << In;
  }
}

TEST_F(View3DOptionsTest, ZoomTextIgnoresByte255) {
  View.SetZoomText(static_cast<TCanvasZoomText>(255));
  EXPECT_EQ(View.GetZoomText(), TCanvasZoomText::ztManual);
  EXPECT_TRUE(Log.empty());
  View.SetZoomText(TCanvasZoomText::ztAuto);
  EXPECT_EQ(View.GetZoomText(), TCanvasZoomText::ztAuto);
  EXPECT_EQ(Log.size(), 1u);
}

TEST(View3DTest, OrthoRatio) {
  struct Case {
    bool Orthogonal;
    int Angle;
    double Ratio;
  };
  const Case Cases[] = {{true, 45, 1.0},
                        {true, 135, 1.0},
                        {true, 60, std::tan(60 * std::numbers::pi / 180)},
                        {true, 120, std::tan(60 * std::numbers::pi / 180)},
                        {false, 60, 1.0}};
  for (const Case& C : Cases) {
    TView3DOptions View(nullptr);
    View.SetOrthogonal(C.Orthogonal);
    View.SetOrthoAngle(C.Angle);
    EXPECT_NEAR(View.CalcOrthoRatio(), C.Ratio, 1e-12) << C.Angle;
  }
}

TEST(View3DTest, BackFaced) {
  struct Case {
    bool Orthogonal;
    double Rotation;
    bool Back;
  };
  const Case Cases[] = {{false, 180, true}, {false, 90, false},   {false, 270, false},
                        {false, 90.6, true}, {false, 269.4, true}, {true, 180, false}};
  for (const Case& C : Cases) {
    TView3DOptions View(nullptr);
    View.SetOrthogonal(C.Orthogonal);
    View.SetRotationFloat(C.Rotation);
    EXPECT_EQ(View.BackFaced(), C.Back) << C.Rotation << " orthogonal " << C.Orthogonal;
  }
}

TEST(View3DTest, AssignCopiesSettingsButNotOffsetZOrEvents) {
  TView3DOptions Source(nullptr);
  Source.SetElevationFloat(10.25);
  Source.SetFontZoom(80);
  Source.SetHorizOffsetFloat(3.75);
  Source.SetOrthoAngle(30);
  Source.SetOrthogonal(false);
  Source.SetPerspective(40);
  Source.SetRotationFloat(200.5);
  Source.SetTiltFloat(4);
  Source.SetVertOffsetFloat(-2);
  Source.SetZoomFloat(120.5);
  Source.SetZoomText(TCanvasZoomText::ztNo);
  Source.SetZOffset(9);

  TView3DOptions Target(nullptr);
  Target.SetZOffset(1);
  int Events = 0;
  Target.OnInvalidate = [&](TObject*) { ++Events; };
  Target.OnScrolled = [&](bool) { ++Events; };
  Target.OnChangedZoom = [&](int) { ++Events; };
  Target.Assign(&Source);
  EXPECT_EQ(Events, 0);
  EXPECT_DOUBLE_EQ(Target.GetElevationFloat(), 10.25);
  EXPECT_EQ(Target.GetFontZoom(), 80);
  EXPECT_DOUBLE_EQ(Target.GetHorizOffsetFloat(), 3.75);
  EXPECT_EQ(Target.GetOrthoAngle(), 30);
  EXPECT_FALSE(Target.GetOrthogonal());
  EXPECT_EQ(Target.GetPerspective(), 40);
  EXPECT_DOUBLE_EQ(Target.GetRotationFloat(), 200.5);
  EXPECT_DOUBLE_EQ(Target.GetTiltFloat(), 4);
  EXPECT_DOUBLE_EQ(Target.GetVertOffsetFloat(), -2);
  EXPECT_DOUBLE_EQ(Target.GetZoomFloat(), 120.5);
  EXPECT_EQ(Target.GetZoomText(), TCanvasZoomText::ztNo);
  EXPECT_DOUBLE_EQ(Target.GetZOffset(), 1);
  ASSERT_TRUE(Target.OnInvalidate);
  Target.SetTilt(5);
  EXPECT_EQ(Events, 1);
}

}  // namespace
}  // namespace zel
