// A chart panel whose canvas draws onto a recording canvas (fixed text metrics: 7 pixels per
// character, 12 pixel lines) or onto a bitmap, in 2D, counting repaint requests.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "platform/Bitmap.h"
#include "platform/RecordingCanvas.h"
#include "zelgraph/canvas/CanvasUnit.h"
#include "zelgraph/engine/PanelExtended.h"

namespace zel {

class TShapePanel : public TCustomZelPanelExtended {
 public:
  using TCustomZelPanelExtended::TCustomZelPanelExtended;
  void Invalidate() override { ++Invalidates; }
  int Invalidates = 0;
};

class ShapeFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    Panel.reset(Create<TShapePanel>(nullptr));
    Panel->SetView3D(false);
    Canvas()->SetUseBuffer(false);
    Canvas()->InitWindow(&Rec, nullptr, 0, false, TRectF(0, 0, 300, 200));
    Rec.ClearRecords();
    Panel->Invalidates = 0;
  }
  TCanvas3D* Canvas() const { return Panel->GetCanvas(); }
  std::vector<TCanvasRecord> Records(TRecordKind Kind) const { return Rec.RecordsOf(Kind); }

  TRecordingCanvas Rec{300, 200};
  TOwned<TShapePanel> Panel;
};

// A panel drawing into a bitmap; Show() copies the picture to Dest.
class PixelFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    Panel.reset(Create<TShapePanel>(nullptr));
    Panel->SetView3D(false);
    Dest.Clear(0xFFFFFFFF);
    Window = Canvas()->InitWindow(Dest.GetCanvas(), nullptr, 0xFFFFFFFF, false, TRectF(0, 0, 100, 60));
    Canvas()->Projection(0, Window, Window);
    TZelBrush B;
    Canvas()->AssignBrush(&B, 0xFFFFFFFF);
    TZelPen Clear;
    Clear.SetStyle(TPenStyle::psClear);
    Canvas()->AssignVisiblePen(&Clear);
    Canvas()->FillRect(Window);
  }
  TCanvas3D* Canvas() const { return Panel->GetCanvas(); }
  void Show() { Canvas()->ShowImage(Dest.GetCanvas(), nullptr, Window); }
  // Pixels of colour C inside [X0, X1) x [Y0, Y1).
  int Count(TAlphaColor C, int X0, int Y0, int X1, int Y1) {
    int N = 0;
    for (int Y = Y0; Y < Y1; ++Y)
      for (int X = X0; X < X1; ++X) N += Dest.GetPixel(X, Y) == C;
    return N;
  }

  TBitmap Dest{100, 60};
  TOwned<TShapePanel> Panel;
  TRectF Window;
};

}  // namespace zel
