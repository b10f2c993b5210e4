// A chart panel for panel tests: its chart drawing paints the panel background (as the axis
// panel's pipeline does) and records what it was given.
#pragma once

#include <functional>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Controls.h"
#include "zelgraph/engine/PanelExtended.h"

namespace zel {

class TDrawPanel : public TCustomZelPanelExtended {
 public:
  using TCustomZelPanelExtended::TCustomZelPanelExtended;
  void InternalDraw(const TRectF& R) override {
    ++Draws;
    Bounds = R;
    SeenChartRect = ChartRect;
    PrintingSeen = GetPrinting();
    if (PaintBackground) PanelPaint(R);
    if (Extra) Extra(this);
  }
  int Draws = 0;
  TRectF Bounds;
  TRectF SeenChartRect;
  bool PrintingSeen = false;
  bool PaintBackground = true;
  std::function<void(TDrawPanel*)> Extra;
};

// A panel of W x H pixels without a parent.
inline TOwned<TDrawPanel> MakePanel(float W = 300, float H = 200) {
  TOwned<TDrawPanel> P(Create<TDrawPanel>(nullptr));
  P->SetBounds(0, 0, W, H);
  return P;
}

class TRecordingListener : public IZelEventListener {
 public:
  void ZelEvent(TZelEvent* Event) override {
    Classes.push_back(Event->ClassName());
    Senders.push_back(Event->Sender);
    if (OnEvent) OnEvent(Event);
  }
  std::vector<String> Classes;
  std::vector<TCustomZelPanel*> Senders;
  std::function<void(TZelEvent*)> OnEvent;
};

}  // namespace zel
