// A shown chart takes points as they arrive: a fast line without AutoRepaint draws each new
// segment where the chart is kept and shows it without a paint; a percent zoom shows at once.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "platform/Bitmap.h"
#include "platform/Controls.h"
#include "platform/Forms.h"
#include "zelgraph/chart/Chart.h"
#include "zelgraph/chart/Legend.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/series/FastLine.h"

namespace zel::testing {
namespace {

constexpr TAlphaColor LineColor = 0xFFFF0000;

// A chart of 320 x 240 on a shown form, with a fast line on fixed axes, painted once.
class RealTime : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    Form.reset(TForm::CreateNew(nullptr));
    Form->SetBounds(0, 0, 360, 280);
    Chart = Create<TChart>(Form.get());
    Chart->SetParent(Form.get());
    Chart->SetBounds(10, 10, 320, 240);
    Chart->SetView3D(false);
    // The legend lists the values: it changes with every point, in a full repaint only.
    Chart->GetLegend()->SetVisible(false);
    Chart->SetBufferedDisplay(GetParam());
    Chart->GetBottomAxis()->SetMinMax(0, 100);
    Chart->GetLeftAxis()->SetMinMax(0, 100);
    Line = Create<TFastLineSeries>(Chart);
    Chart->AddSeries(Line);
    Line->SetSeriesColor(LineColor);
    Line->GetLinePen()->SetWidth(1);
    for (int X = 0; X <= 40; X += 10) Line->AddXY(X, 20);
    Form->Show();
    Application->ProcessMessages();
    Chart->Invalidate();
    Chart->ProcessPendingPaint();
    Line->SetAutoRepaint(false);
  }
  void TearDown() override { Form->Hide(); }

  std::unique_ptr<TBitmap> Shown() { return std::unique_ptr<TBitmap>(PresentedPicture(Chart)); }
  // Runs the event loop until the chart presented once more (at most a second).
  void WaitForPresent(int Presents) {
    for (int I = 0; I < 200 && Chart->GetPresentCount() == Presents; ++I) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
      Application->ProcessMessages();
    }
  }
  TPoint Pixel(double X, double Y) {
    return TPoint(Chart->GetBottomAxis()->CalcXPosValue(X), Chart->GetLeftAxis()->CalcYPosValue(Y));
  }
  // The line's colour at the pixel of (X, Y) or one next to it (a steep segment's pixels round
  // either way).
  bool OnLine(const TBitmap& B, double X, double Y) {
    const TPoint P = Pixel(X, Y);
    for (int DY = -1; DY <= 1; ++DY)
      for (int DX = -1; DX <= 1; ++DX)
        if (B.GetPixel(P.X + DX, P.Y + DY) == LineColor) return true;
    return false;
  }
  static int Differences(const TBitmap& A, const TBitmap& B) {
    int N = 0;
    for (int Y = 0; Y < A.GetHeight(); ++Y)
      for (int X = 0; X < A.GetWidth(); ++X) N += A.GetPixel(X, Y) != B.GetPixel(X, Y);
    return N;
  }

  TOwned<TForm> Form;
  TChart* Chart = nullptr;
  TFastLineSeries* Line = nullptr;
};

TEST_P(RealTime, AnAddedPointIsShownWithoutAPaintAndKeptByLaterPaints) {
  const auto Before = Shown();
  ASSERT_FALSE(Before->IsEmpty());
  ASSERT_FALSE(OnLine(*Before, 50, 50));
  const int Paints = Chart->GetPaintCount(), Requests = Chart->GetRepaintRequestCount();
  const int Presents = Chart->GetPresentCount();
  // A rising segment from (40, 20) to (60, 80) and a falling one to (70, 30).
  Line->AddXY(60, 80);
  Line->AddXY(70, 30);
  WaitForPresent(Presents);
  EXPECT_EQ(Chart->GetPresentCount(), Presents + 1) << "both segments shown in one frame";
  EXPECT_EQ(Chart->GetPaintCount(), Paints);
  EXPECT_EQ(Chart->GetRepaintRequestCount(), Requests) << "nothing asks for a full repaint";
  const auto Immediate = Shown();
  EXPECT_TRUE(OnLine(*Immediate, 50, 50));
  EXPECT_TRUE(OnLine(*Immediate, 65, 55)) << "the second segment";
  EXPECT_GT(Differences(*Before, *Immediate), 0);
  // Outside the segments nothing changed.
  const TPoint Far = Pixel(20, 80);
  EXPECT_EQ(Immediate->GetPixel(Far.X, Far.Y), Before->GetPixel(Far.X, Far.Y));

  // The window painting the chart again, without any change asked for, keeps the segments.
  Chart->TControl::Repaint();
  Chart->ProcessPendingPaint();
  EXPECT_GT(Chart->GetPaintCount(), Paints);
  EXPECT_EQ(Differences(*Immediate, *Shown()), 0);
  // A full repaint draws the same pixels.
  Chart->Invalidate();
  Chart->ProcessPendingPaint();
  EXPECT_EQ(Differences(*Immediate, *Shown()), 0);
}

TEST_P(RealTime, APointAddedWhileHiddenIsInTheNextPaint) {
  Chart->SetVisible(false);
  Line->AddXY(60, 80);
  Chart->SetVisible(true);
  Application->ProcessMessages();
  Chart->TControl::Repaint();
  Chart->ProcessPendingPaint();
  EXPECT_TRUE(OnLine(*Shown(), 50, 50));
}

TEST_P(RealTime, APointOutsideTheAxesIsClippedAsAPaintClipsIt) {
  Line->AddXY(60, 20);
  Chart->Present(TRectF());
  const auto Inside = Shown();
  // Far above the top of the axes: the segment stops at the chart's rectangle.
  Line->AddXY(62, 1000);
  Chart->Present(TRectF());
  const auto Immediate = Shown();
  const TPoint Top = Pixel(62, 100);
  EXPECT_EQ(Immediate->GetPixel(Top.X, Top.Y - 10), Inside->GetPixel(Top.X, Top.Y - 10));
  Chart->Invalidate();
  Chart->ProcessPendingPaint();
  EXPECT_EQ(Differences(*Immediate, *Shown()), 0);
}

TEST_P(RealTime, InThreeDimensionsTheSegmentIsShownWhereAPaintDrawsIt) {
  Line->SetAutoRepaint(true);
  Chart->SetView3D(true);
  Chart->Invalidate();
  Chart->ProcessPendingPaint();
  Line->SetAutoRepaint(false);
  const auto Before = Shown();
  Line->AddXY(60, 80);
  Line->AddXY(70, 30);
  Chart->Present(TRectF());
  const auto Immediate = Shown();
  EXPECT_GT(Differences(*Before, *Immediate), 0);
  Chart->Invalidate();
  Chart->ProcessPendingPaint();
  EXPECT_EQ(Differences(*Immediate, *Shown()), 0);
}

INSTANTIATE_TEST_SUITE_P(Buffered, RealTime, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& I) {
                           return std::string(I.param ? "Buffered" : "Unbuffered");
                         });

TEST(PercentZoom, IsPaintedAtOnce) {
  TOwned<TForm> Form(TForm::CreateNew(nullptr));
  Form->SetBounds(0, 0, 360, 280);
  auto* Chart = Create<TChart>(Form.get());
  Chart->SetParent(Form.get());
  Chart->SetBounds(10, 10, 320, 240);
  auto* Line = Create<TFastLineSeries>(Chart);
  Chart->AddSeries(Line);
  for (int X = 0; X <= 100; X += 10) Line->AddXY(X, X % 20);
  Form->Show();
  Application->ProcessMessages();
  const auto Before = std::unique_ptr<TBitmap>(PresentedPicture(Chart));
  const int Paints = Chart->GetPaintCount();
  Chart->ZoomPercent(110);
  EXPECT_EQ(Chart->GetPaintCount(), Paints + 1);
  const auto After = std::unique_ptr<TBitmap>(PresentedPicture(Chart));
  bool Changed = false;
  for (int Y = 0; Y < After->GetHeight() && !Changed; ++Y)
    for (int X = 0; X < After->GetWidth() && !Changed; ++X) Changed = After->GetPixel(X, Y) != Before->GetPixel(X, Y);
  EXPECT_TRUE(Changed);
  Form->Hide();
}

}  // namespace
}  // namespace zel::testing
