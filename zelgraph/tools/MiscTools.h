// Three small tools: the clip-series tool keeps one series' drawing inside the rectangle of its
// axes; the full-screen tool moves its chart into a borderless window the size of the screen
// while it is active; the repaint monitor is an annotation that counts the painted frames and
// shows the frame rate.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Controls.h"
#include "platform/Geometry.h"
#include "platform/Types.h"
#include "zelgraph/engine/Tools.h"
#include "zelgraph/tools/Annotation.h"

namespace zel {

class TForm;

class TClipSeriesTool : public TZelCustomToolSeries {
  ZEL_CLASS(TClipSeriesTool, TZelCustomToolSeries)
 public:
  using TZelCustomToolSeries::TZelCustomToolSeries;

  // Before the tool's series draws its values the canvas clips to the rectangle of the series'
  // axes (when the chart can clip); after it, the clip ends.
  void SeriesEvent(TChartToolEvent AEvent, TChartSeries* Series) override;
  // A new paint starts without a clip of this tool.
  void ChartEvent(TChartToolEvent AEvent) override;
  String Description() const override;
  String LongDescription() const override;

 private:
  // A clip of this tool is open on the canvas (so that the matching end closes exactly it).
  bool IClipped = false;
};

class TFullScreenTool : public TZelCustomTool {
  ZEL_CLASS(TFullScreenTool, TZelCustomTool)
  ZEL_PUBLISHED_PROPS
 public:
  // Inactive, ReleaseKey 27.
  explicit TFullScreenTool(TComponent* AOwner);
  // Leaves full-screen mode first when it is on.
  ~TFullScreenTool() override;
  void Destroying() override;

  // Activating puts the chart into a new borderless window as big as the screen; deactivating
  // brings it back to its old parent, bounds and alignment.
  void SetActive(bool Value) override;
  String Description() const override;
  String LongDescription() const override;

  // Stored only: no key ends full-screen mode.
  Word GetReleaseKey() const { return FKey; }
  void SetReleaseKey(Word Value) { FKey = Value; }
  bool IsReleaseKeyStored() const { return FKey != 27; }
  bool IsActiveStored() const { return GetActive(); }

  // The full-screen window while the tool is active, else nullptr.
  TForm* GetFullScreenForm() const { return IForm; }

  TNotifyEvent OnReset;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void GoFullScreen();
  void RemoveFullScreen();
  void FormCloseQuery(TObject* Sender, bool& CanClose);

  Word FKey = 27;
  TAlignLayout OldAlign = TAlignLayout::None;
  TControl* OldParent = nullptr;  // not owned
  TRectF OldRChart{0, 0, 0, 0};
  bool IFreeForm = true;
  TForm* IForm = nullptr;  // the window made by this tool; freed by the tool or by closing
};

class TRepaintMonitor : public TAnnotationTool {
  ZEL_CLASS(TRepaintMonitor, TAnnotationTool)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TRepaintMonitor(TComponent* AOwner);
  void AfterConstruction() override;

  // The annotation's drawing, then the frame count; the rate is updated at most once a second.
  void ChartEvent(TChartToolEvent AEvent) override;
  // The rate of the last interval, "fps ", the frames painted so far.
  String GetText() override;
  String Description() const override;
  String LongDescription() const override;

  std::int32_t GetMonitor() const { return FMonitor; }

 private:
  std::int32_t FMonitor = 0;
  std::int32_t FLastMonitor = 0;
  double FMonitorTime = 0;  // milliseconds of ZelTickCount
  String FMonitorFPS;
};

}  // namespace zel
