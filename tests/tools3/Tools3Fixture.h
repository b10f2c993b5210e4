// A laid-out chart (see ChartFixture) that can also be painted onto a recording canvas kept by
// the fixture, and fakes of the platform services the tools ask for.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "platform/RecordingCanvas.h"
#include "platform/Services.h"
#include "tests/chartcontrol/ChartFixture.h"
#include "zelgraph/canvas/Canvas3D.h"

namespace zel::testing {

class TFakeCursorService : public ICursorService {
 public:
  void SetCursor(TCursor Cursor) override { Cursors.push_back(Cursor); }
  TCursor GetCursor() override { return Cursors.empty() ? crDefault : Cursors.back(); }
  std::vector<TCursor> Cursors;
};

class TFakeTimerService : public ITimerService {
 public:
  double GetTick() override { return Seconds; }
  double Seconds = 0;
};

class TFakeScreenService : public IScreenService {
 public:
  void GetScreenSize(float& Width, float& Height) override {
    Width = 1024;
    Height = 768;
  }
};

class Tools3Fixture : public ChartFixture {
 protected:
  // Paints the whole chart onto Rec (emptied first) without the off-screen buffer.
  void PaintRec() {
    Chart->SetBounds(0, 0, static_cast<float>(Width), static_cast<float>(Height));
    Chart->GetCanvas()->SetUseBuffer(false);
    Rec.ClearRecords();
    Chart->Draw(&Rec, TRectF(0, 0, static_cast<float>(Width), static_cast<float>(Height)));
  }
  // The pixel of point I of S.
  static TPointF PointOf(TChartSeries* S, int I) {
    return TPointF(static_cast<float>(S->CalcXPos(I)), static_cast<float>(S->CalcYPos(I)));
  }

  TRecordingCanvas Rec{400, 300};
};

}  // namespace zel::testing
