// The platform canvas's window cycle and off-screen picture: sizes and scale, reuse of a clean
// picture, empty and bad windows, switching the buffer off.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/Bitmap.h"
#include "platform/RecordingCanvas.h"
#include "zelgraph/canvas/CanvasUnit.h"

namespace zel {
namespace {

// A destination with two device pixels per unit, as on a high-density screen.
class TScaledRecordingCanvas : public TRecordingCanvas {
 public:
  using TRecordingCanvas::TRecordingCanvas;
  float GetScale() const override { return 2; }
};

// Draws one of everything the canvas offers in 2D.
void DrawEverything(TZelCanvas3D& C) {
  TZelPen Pen;
  C.AssignVisiblePen(&Pen);
  TZelBrush Brush;
  C.AssignBrush(&Brush, 0xFFFF0000);
  TPointF P[3] = {{0, 0}, {50, 20}, {10, 40}};
  C.FillRect(TRectF(0, 0, 10, 10));
  C.Rectangle(1, 1, 20, 20);
  C.RoundRect(1, 1, 20, 20, 6, 6);
  C.Ellipse(0, 0, 30, 10);
  C.Line(0, 0, 100, 100);
  C.Polyline(P, 2);
  C.Polygon(P, 2);
  C.Pie(TRectF(0, 0, 40, 40), 0, 360);
  C.Donut(20, 20, 10, 10, 0, M_PI, 50);
  C.Arc(0, 0, 40, 40, 0.0, 90.0);
  C.TextOut(5, 5, "Text");
  C.RotateLabel(20, 20, "Turned", 90, false);
  C.GradientFill(TRectF(0, 0, 30, 30), 0xFF000000, 0xFFFFFFFF, TGradientDirection::gdLeftRight,
                 50, 0, 0);
  C.ClipRectangle(TRectF(0, 0, 5, 5));
  C.FillRect(TRectF(0, 0, 10, 10));
  C.UnClipRectangle();
  C.SetPixel(1, 1, 0xFF00FF00);
  C.GetPixel(1, 1);
}

TEST(PlatformCanvasTest, PictureFollowsTheDestinationScale) {
  TScaledRecordingCanvas Dest(300, 200);
  TZelCanvas3D C;
  TRectF R = C.InitWindow(&Dest, nullptr, 0, false, TRectF(10, 20, 310, 220));
  EXPECT_EQ(R, TRectF(0, 0, 300, 200));
  ASSERT_NE(C.GetBitmap(), nullptr);
  EXPECT_EQ(C.GetBitmap()->GetWidth(), 600);
  EXPECT_EQ(C.GetBitmap()->GetHeight(), 400);
  EXPECT_EQ(C.GetReferenceCanvas(), C.GetBitmap()->GetCanvas());
  C.ShowImage(&Dest, &Dest, TRectF(10, 20, 310, 220));
  std::vector<TCanvasRecord> Shown = Dest.RecordsOf(TRecordKind::DrawBitmap);
  ASSERT_EQ(Shown.size(), 1u);
  EXPECT_EQ(Shown[0].SourceRect, TRectF(0, 0, 600, 400));
  EXPECT_EQ(Shown[0].Rect, TRectF(10, 20, 310, 220));
  EXPECT_EQ(Shown[0].Opacity, 1);
  EXPECT_EQ(C.GetReferenceCanvas(), &Dest);
  EXPECT_EQ(Dest.GetBeginSceneCount(), 0);
}

TEST(PlatformCanvasTest, CleanPictureIsShownAgainWithoutDrawing) {
  TRecordingCanvas Dest(100, 50);
  TZelCanvas3D C;
  EXPECT_FALSE(C.ReDrawBitmap());  // nothing drawn yet
  C.InitWindow(&Dest, nullptr, 0, false, TRectF(0, 0, 100, 50));
  C.ShowImage(&Dest, &Dest, TRectF(0, 0, 100, 50));
  Dest.ClearRecords();
  EXPECT_TRUE(C.ReDrawBitmap());
  EXPECT_EQ(Dest.RecordsOf(TRecordKind::DrawBitmap).size(), 1u);

  TBitmap* Copy = nullptr;
  EXPECT_FALSE(C.RenderToBitmap(Copy, TRectF(0, 0, 99, 50)));
  EXPECT_EQ(Copy, nullptr);
  ASSERT_TRUE(C.RenderToBitmap(Copy, TRectF(0, 0, 100, 50)));
  EXPECT_EQ(Copy->GetWidth(), 100);
  Copy->Free();

  C.Invalidate();
  EXPECT_FALSE(C.ReDrawBitmap());
  Copy = nullptr;
  EXPECT_FALSE(C.RenderToBitmap(Copy, TRectF(0, 0, 100, 50)));
}

TEST(PlatformCanvasTest, MonochromeAndBufferSwitchesMarkThePictureStale) {
  TRecordingCanvas Dest(100, 50);
  TZelCanvas3D C;
  C.InitWindow(&Dest, nullptr, 0, false, TRectF(0, 0, 100, 50));
  C.ShowImage(&Dest, &Dest, TRectF(0, 0, 100, 50));
  ASSERT_FALSE(C.GetDirty());
  C.SetMonochrome(true);
  EXPECT_TRUE(C.GetDirty());

  C.ShowImage(&Dest, &Dest, TRectF(0, 0, 100, 50));
  C.IKeepBitmap = true;
  C.SetUseBuffer(false);
  EXPECT_NE(C.GetBitmap(), nullptr);
  EXPECT_TRUE(C.GetDirty());
  C.SetUseBuffer(true);
  EXPECT_EQ(C.GetReferenceCanvas(), C.GetBitmap()->GetCanvas());
  C.IKeepBitmap = false;
  C.SetUseBuffer(false);
  EXPECT_EQ(C.GetBitmap(), nullptr);
  EXPECT_EQ(C.GetReferenceCanvas(), nullptr);  // the freed picture's canvas is not kept
  DrawEverything(C);                           // and drawing without a canvas does nothing

  // Without the buffer the window is the destination itself.
  TRectF R = C.InitWindow(&Dest, nullptr, 0, false, TRectF(5, 5, 50, 40));
  EXPECT_EQ(R, TRectF(5, 5, 50, 40));
  EXPECT_EQ(C.GetReferenceCanvas(), &Dest);
}

TEST(PlatformCanvasTest, EmptyOrBadWindowsDrawNothing) {
  const float NaN = std::numeric_limits<float>::quiet_NaN();
  const TRectF Windows[] = {TRectF(0, 0, 0, 0), TRectF(0, 0, 0, 50), TRectF(50, 50, 10, 10),
                            TRectF(0, 0, NaN, NaN)};
  for (const TRectF& W : Windows) {
    TRecordingCanvas Dest(100, 50);
    TZelCanvas3D C;
    C.InitWindow(&Dest, nullptr, 0, true, W);
    C.Projection(0, W, W);
    DrawEverything(C);
    C.Cube(0, 10, 0, 10, 0, 10, true, 0);
    EXPECT_EQ(C.GetPixel(0, 0), 0xFFFFFFFFu);
    C.ShowImage(&Dest, &Dest, W);
    C.ReDrawBitmap();
    EXPECT_TRUE(Dest.RecordsOf(TRecordKind::DrawBitmap).empty());
  }
}

TEST(PlatformCanvasTest, PictureIsResizedOnlyWhenTheWindowChanges) {
  TRecordingCanvas Dest(100, 50);
  TZelCanvas3D C;
  C.InitWindow(&Dest, nullptr, 0, false, TRectF(0, 0, 100, 50));
  TBitmap* First = C.GetBitmap();
  C.ShowImage(&Dest, &Dest, TRectF(0, 0, 100, 50));
  C.InitWindow(&Dest, nullptr, 0, false, TRectF(0, 0, 100, 50));
  EXPECT_EQ(C.GetBitmap(), First);
  C.ShowImage(&Dest, &Dest, TRectF(0, 0, 100, 50));
  C.InitWindow(&Dest, nullptr, 0, false, TRectF(0, 0, 60, 30));
  EXPECT_EQ(C.GetBitmap()->GetWidth(), 60);
  C.ShowImage(&Dest, &Dest, TRectF(0, 0, 60, 30));
}

TEST(PlatformCanvasTest, DescribesItself) {
  TZelCanvas3D C;
  EXPECT_EQ(C.Description(), "GDI");
  EXPECT_FALSE(C.GetSupportsXORMode());
  EXPECT_FALSE(C.GetSupportsFullRotation());
  EXPECT_TRUE(C.GetSupportsAlpha());
  EXPECT_TRUE(C.InheritsFrom(TCanvas3D::StaticClass()));
  // The registry entry creates the canvas.
  TObject* Made = TZelCanvas3D::StaticClass()->Create(nullptr);
  EXPECT_NE(dynamic_cast<TZelCanvas3D*>(Made), nullptr);
  Made->Free();
}

}  // namespace
}  // namespace zel
