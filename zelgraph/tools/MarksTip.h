// The marks tip tool: a tip with the mark text of the series point under the mouse, shown when
// the mouse moves over the point or clicks it, hidden again after a delay, when the mouse leaves
// the point, or when the chart is left (with no delay). The tip is the tool's own text shape,
// placed 16 pixels below the mouse and kept inside the chart.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/Controls.h"
#include "platform/Types.h"
#include "zelgraph/engine/Marks.h"
#include "zelgraph/engine/TextShape.h"
#include "zelgraph/engine/Tools.h"

namespace zel {

class TCustomAxisPanel;
class TChartSeries;
class TMarksTipTool;
class TTimer;
class TZelFont;

// Which mouse event shows a tip.
enum class TMarkToolMouseAction { mtmMove, mtmClick };
ZEL_ENUM_NAMES(TMarkToolMouseAction, "mtmMove", "mtmClick");

// May change the text of a tip.
using TMarksTipGetText = std::function<void(TMarksTipTool* Sender, String& Text)>;

// Puts the mark text of point ValueIndex of Series, in Style, into Tool's tip and shows it below
// P (kept inside the chart). OnGetText may change the text first. With Tool nullptr or its
// SystemHints on nothing is shown: the text only goes to OnGetText. The series' marks keep
// their own style.
void ZelShowMarksTip(TChartSeries* Series, std::int32_t ValueIndex, TSeriesMarksStyle Style, TPointF P,
                     const TMarksTipGetText& OnGetText, TMarksTipTool* Tool);

class TMarksTipTool : public TZelCustomToolSeries {
  ZEL_CLASS(TMarksTipTool, TZelCustomToolSeries)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TMarksTipTool(TComponent* AOwner);
  ~TMarksTipTool() override;

  // Format, MouseAction and Style, then the series tool's settings.
  void Assign(TPersistent* Source) override;
  String GetEditorClass() const override { return "TMarksTipToolEdit"; }
  // Deactivating hides the tip.
  void SetActive(bool Value) override;
  // The tip belongs to the new chart (none when the tool leaves its chart).
  void SetParentChart(TCustomAxisPanel* Value) override;
  // Draws a shown tip at tdePaintDone; leaving the chart hides it when HideDelay is 0.
  void ChartEvent(TChartToolEvent AEvent) override;
  // A move (mtmMove) or press (mtmClick) shows the tip of the point under the mouse, or hides
  // it when there is none.
  void ChartMouseEvent(TChartMouseEvent AEvent, TMouseButton Button, TShiftState Shift, std::int32_t X,
                       std::int32_t Y) override;
  String Description() const override;
  String LongDescription() const override;

  // The series' chart when there is a series, else the tool's chart.
  TCustomAxisPanel* Chart() const;
  // OnCancelHint, then the tip becomes invisible (the chart repaints). Nothing without a chart.
  void HideHint();

  TTextShape* GetFormat() const { return FFormat; }
  void SetFormat(TTextShape* Value);
  TZelFont* GetFont() const;
  TMarkToolMouseAction GetMouseAction() const { return FMouseAction; }
  // Stores, then hides the tip.
  void SetMouseAction(TMarkToolMouseAction Value);
  TSeriesMarksStyle GetStyle() const { return FStyle; }
  void SetStyle(TSeriesMarksStyle Value) { FStyle = Value; }
  bool GetSystemHints() const { return FSystemHints; }
  void SetSystemHints(bool Value) { FSystemHints = Value; }
  std::int32_t GetHideDelay() const { return FHidePause; }
  void SetHideDelay(std::int32_t Value) { FHidePause = Value; }
  // Stored only: tips appear at once.
  std::int32_t GetMouseDelay() const { return FMouseDelay; }
  void SetMouseDelay(std::int32_t Value) { FMouseDelay = Value; }
  bool IsHideDelayStored() const { return FHidePause != 2500; }

  // The hide timer; nullptr until the first tip that needs it.
  TTimer* ExistingTimer() const { return ITimer; }

  TNotifyEvent OnCancelHint;
  TMarksTipGetText OnGetText;

 private:
  friend void ZelShowMarksTip(TChartSeries*, std::int32_t, TSeriesMarksStyle, TPointF, const TMarksTipGetText&,
                              TMarksTipTool*);
  void TimerTick(TObject* Sender);
  // Another marks tip tool is in the chart's tool list.
  bool OtherMarksTips() const;

  TTextShape* FFormat = nullptr;  // owned
  TMarkToolMouseAction FMouseAction = TMarkToolMouseAction::mtmMove;
  TSeriesMarksStyle FStyle = TSeriesMarksStyle::smsLabelOrValue;
  bool FSystemHints = false;
  std::int32_t FHidePause = 2500;
  std::int32_t FMouseDelay = 0;
  TTimer* ITimer = nullptr;  // owned
};

}  // namespace zel
