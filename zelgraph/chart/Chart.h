// The chart control that a window places: the axis panel with walls, titles and a legend around
// its series, its colour palette index and stored properties, the handling of mouse, wheel,
// keys and drag-and-drop, and zooming, panning and the zoom history.
//
// The paint sequence is the axis panel's; the chart fills in its wall, title and legend steps.
// Mouse presses go to the active tools first; when none claims the press (CancelMouse), the
// chart finds the part under the mouse, fires its click events and may start a zoom drag or a
// pan. Undoing a zoom steps back through the history, or to the scales saved before the first
// zoom, pan or wheel scroll.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/Classes.h"
#include "platform/Controls.h"
#include "platform/Types.h"
#include "zelgraph/chart/Palettes.h"
#include "zelgraph/chart/ZoomHistory.h"
#include "zelgraph/engine/AxisPanel.h"

namespace zel {

class TChartTitle;
class TChartLegend;
class TChartWalls;
class TChartWall;
class TChartSeries;
class TChartAxis;
class TCustomChart;
class TZelPen;
class TStrings;
enum class TLegendStyle;

// What a hit test found under the mouse.
enum class TChartClickedPartStyle : Byte {
  cpNone, cpLegend, cpAxis, cpSeries, cpTitle, cpFoot, cpChartRect, cpSeriesMarks, cpSeriesPointer,
  cpSubTitle, cpSubFoot, cpAxisTitle
};

struct TChartClickedPart {
  TChartClickedPartStyle Part = TChartClickedPartStyle::cpNone;
  std::int32_t PointIndex = -1;
  TChartSeries* ASeries = nullptr;
  TChartAxis* AAxis = nullptr;
};

// How a drop would be taken.
enum class TDragOperation { None, Move, Copy, Link };

// Click events; X and Y are whole pixels.
using TChartClick = std::function<void(TCustomChart* Sender, TMouseButton Button, TShiftState Shift, std::int32_t X,
                                       std::int32_t Y)>;
using TChartClickAxis = std::function<void(TCustomChart* Sender, TChartAxis* Axis, TMouseButton Button,
                                           TShiftState Shift, std::int32_t X, std::int32_t Y)>;
using TChartClickSeries = std::function<void(TCustomChart* Sender, TChartSeries* Series, std::int32_t ValueIndex,
                                             TMouseButton Button, TShiftState Shift, std::int32_t X, std::int32_t Y)>;
using TChartClickTitle = std::function<void(TCustomChart* Sender, TChartTitle* Title, TMouseButton Button,
                                            TShiftState Shift, std::int32_t X, std::int32_t Y)>;
// Asked before an axis scrolls to (AMin, AMax); may change the range or refuse.
using TChartAllowScrollEvent = std::function<void(TChartAxis* Sender, double& AMin, double& AMax, bool& AllowScroll)>;
// May change the text of legend item Index.
using TOnGetLegendText =
    std::function<void(TCustomChart* Sender, TLegendStyle LegendStyle, std::int32_t Index, String& LegendText)>;
// May move a legend item or change the legend rectangle.
using TOnGetLegendPos =
    std::function<void(TCustomChart* Sender, std::int32_t Index, std::int32_t& X, std::int32_t& Y, std::int32_t& XColor)>;
using TOnGetLegendRect = std::function<void(TCustomChart* Sender, TRectF& Rect)>;

// Called for each new chart at design time instead of choosing its palette.
using TZelNewChartHook = std::function<void(TCustomChart* Chart)>;
extern TZelNewChartHook ZelNewChartHook;
// Keys that must be held to start a pan (none by default).
extern TShiftState ZelScrollKeyShift;
// Each step of an animated zoom moves this fraction (1 / factor) of the remaining way.
extern double AnimatedZoomFactor;

class TCustomChart : public TCustomAxisPanel, public IColorPaletteIndexStore {
  ZEL_CLASS(TCustomChart, TCustomAxisPanel)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TCustomChart(TComponent* AOwner);
  ~TCustomChart() override;
  void AfterConstruction() override;

  void DefineProperties(TFiler* Filer) override;
  // From another chart: palette index, foot, legend, subfoot, subtitle, title and walls, then the
  // axis panel's settings.
  void Assign(TPersistent* Source) override;
  void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) override;

  // --- the axis panel's steps ---
  TAlphaColor GetBackColor() override;
  void SetBackColor(TAlphaColor Value);
  void CalcWallsRect() override;
  std::int32_t CalcWallSize(TChartAxis* Axis) override;
  void DrawTitlesAndLegend(bool BeforeSeries) override;
  void DrawLegendShape(const TRectF& Rect) override;
  void DrawWalls() override;
  String FormattedValueLegend(TChartSeries* ASeries, std::int32_t ValueIndex) override;
  bool IsFreeSeriesColor(TAlphaColor AColor, bool CheckBackground, TChartSeries* Series) override;

  // --- mouse, wheel, keys, drag and drop ---
  void MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) override;
  void MouseMove(TShiftState Shift, float X, float Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) override;
  void MouseWheel(TShiftState Shift, int WheelDelta, bool& Handled) override;
  void KeyDown(Word& Key, char32_t& KeyChar, TShiftState Shift) override;
  void KeyUp(Word& Key, char32_t& KeyChar, TShiftState Shift) override;
  // Drag and drop reach the tools. Source is the object being dragged; DragObject the
  // platform's drag object (passed on to the tools, who may replace it).
  virtual void DragOver(TObject* Source, TDragObject* DragObject, TPointF Point, TDragOperation& Operation);
  virtual void DragDrop(TObject* Source, TDragObject* DragObject, TPointF Point);
  virtual void BeginAutoDrag();
  virtual void DragEnd();

  // The part of the chart at Pos (every part, also those without click events).
  void CalcClickedPart(TPointF Pos, TChartClickedPart& Part);
  // With OnlyNeeded, series that raise no click events are skipped unless OnClickSeries is set.
  TChartClickedPart CalcNeedClickedPart(TPointF Pos, bool OnlyNeeded);

  // --- zoom, panning and history ---
  void DoZoom(double TopMin, double TopMax, double BottomMin, double BottomMax, double LeftMin, double LeftMax,
              double RightMin, double RightMax);
  // Zooms to a pixel rectangle.
  void ZoomRect(const TRectF& Rect);
  // 110 narrows the shown ranges to 80 percent around their centres, 90 widens them to 120.
  void ZoomPercent(double PercentZoom);
  // Turns the zoom corners into axis ranges and zooms.
  virtual void CalcZoomPoints();
  // One step back in the history, or back to the scales from before the first change.
  void UndoZoom() override;
  TAllAxisSavedScales SaveScales();
  void RestoreScales(TAllAxisSavedScales& Scales);
  void AddZoomSnapshot();
  void RemoveZoomSnapshot();
  void ZoomBackOne();
  // Moves every vertical axis 3 percent of its range up (or down).
  void ScrollVerticalAxes(bool Up);
  // True when some active series can zoom and scroll, or when no series is active.
  bool ActiveSeriesCanZoomScroll();
  bool GetRestoredAxisScales() const { return RestoredAxisScales; }
  const TAllAxisSavedScales& GetSavedScales() const { return FSavedScales; }

  // --- series and pages ---
  // Detaches every series (they are not freed).
  void RemoveAllSeries();
  void SeriesUp(TChartSeries* Series);
  void SeriesDown(TChartSeries* Series);
  void NextPage();
  void PreviousPage();
  // The first active series, or nullptr.
  TChartSeries* GetASeries() const;
  // Frees every series, tool and animation and brings every setting back to its default.
  void ClearChart();
  // The axis title's caption, else the axis' standard name.
  String AxisTitleOrName(TChartAxis* Axis);
  // The legend text of an item, after OnGetLegendText.
  String FormattedLegend(std::int32_t SeriesOrValueIndex);
  // The class of the window that edits the chart's 3D view; the chart names none, a kind of
  // chart that has one returns it.
  virtual const TClass* Form3DClass() const { return nullptr; }
  virtual void FillSeriesSourceItems(TChartSeries*, const std::function<void(const String&)>&) {}
  // The names of the value lists of the series' source series.
  virtual void FillValueSourceItems(TObject* ValueList, const std::function<void(const String&)>& Proc);

  // --- palette ---
  std::int32_t GetColorPaletteIndex() const { return FColorPaletteIndex; }
  // -2 makes a custom list from what is in use; any other index applies that palette.
  void SetColorPaletteIndex(std::int32_t Value);
  void StoreColorPaletteIndex(std::int32_t Index) override { FColorPaletteIndex = Index; }

  // --- titles, legend and walls ---
  // Created on first access; nullptr frees, any other value is copied in.
  TChartTitle* GetTitle();
  void SetTitle(TChartTitle* Value);
  TChartTitle* ExistingTitle() const { return FTitle; }
  TChartTitle* GetSubTitle();
  void SetSubTitle(TChartTitle* Value);
  TChartTitle* ExistingSubTitle() const { return FSubTitle; }
  TChartTitle* GetFoot();
  void SetFoot(TChartTitle* Value);
  TChartTitle* ExistingFoot() const { return FFoot; }
  TChartTitle* GetSubFoot();
  void SetSubFoot(TChartTitle* Value);
  TChartTitle* ExistingSubFoot() const { return FSubFoot; }
  TChartLegend* GetLegend() const { return FLegend; }
  void SetLegend(TChartLegend* Value);
  TChartWalls* GetWalls() const { return FWalls; }
  void SetWalls(TChartWalls* Value);
  TChartWall* GetBackWall() const;
  void SetBackWall(TChartWall* Value);
  TChartWall* GetLeftWall() const;
  void SetLeftWall(TChartWall* Value);
  TChartWall* GetBottomWall() const;
  void SetBottomWall(TChartWall* Value);
  // Created on first access.
  TChartWall* GetRightWall() const;
  void SetRightWall(TChartWall* Value);
  // The back wall's pen.
  TZelPen* GetFrame() const;
  void SetFrame(TZelPen* Value);

  // --- events ---
  TChartAllowScrollEvent OnAllowScroll;
  TChartClickAxis OnClickAxis;
  TChartClick OnClickBackground;
  TChartClick OnClickLegend;
  TChartClickSeries OnClickSeries;
  TChartClickTitle OnClickTitle;
  TOnGetLegendPos OnGetLegendPos;
  TOnGetLegendRect OnGetLegendRect;
  TOnGetLegendText OnGetLegendText;

 protected:
  // Zoom-or-pan start at the press position; true when one started.
  bool CheckZoomPanning(TMouseButton Button, TShiftState Shift, float X, float Y);
  // The background click event; returns whether it handled the press.
  bool CheckBackground(TMouseButton Button, TShiftState Shift, std::int32_t X, std::int32_t Y);
  // The moving corner of the zoom rectangle for the mouse at (X, Y).
  TPoint ZoomCorner(float X, float Y);
  // Ends a zoom drag or pan whose release never arrived, unless Button's press leaves it under way.
  void EndLostDrags(TMouseButton Button, TShiftState Shift);
  // One pan step from (X1, Y1) to (x, y); true when a direction was allowed to pan.
  bool ProcessPanning(std::int32_t X, std::int32_t Y);
  bool PanAxis(bool Horizontal, std::int32_t Old, std::int32_t New);
  void MoveWithoutDrag(std::int32_t X, std::int32_t Y);
  void InternalWheel(int WheelDelta);
  // Saves the axis scales unless they are saved already.
  void CheckSaveScales();
  void DoZoomAnimated(double TopMin, double TopMax, double BottomMin, double BottomMax, double LeftMin,
                      double LeftMax, double RightMin, double RightMax);
  TPointF MousePosition();
  void ReadColorPalette(TReader* Reader);
  void WriteColorPalette(TWriter* Writer);
  void ReadBackColor(TReader* Reader);
  // The titles and legend steps of the paint sequence, and the walls drawn after the series.
  void DrawTitles(bool CustomPosition);
  void DrawLateWalls();
  // The legend and walls (made at construction), their copy from another chart, and freeing
  // the titles, walls and legend.
  void CreateParts();
  // The legend and title questions of the hit test: the legend item at Pos (-1 for none) when
  // the legend is visible and its custom position is CustomPosition; the title at Pos.
  std::int32_t LegendItemAt(TPointF Pos, bool CustomPosition);
  TChartTitle* TitleAt(TPointF Pos, TChartClickedPartStyle& Part);
  // A press on legend item Index (check boxes); true when it was handled.
  bool LegendMouseDown(std::int32_t X, std::int32_t Y, std::int32_t Index);
  void AssignParts(TCustomChart* Source);
  void FreeParts();

  std::int32_t FColorPaletteIndex = 0;
  TChartTitle* FFoot = nullptr;      // owned
  TChartLegend* FLegend = nullptr;   // owned
  TAllAxisSavedScales FSavedScales;
  TChartTitle* FSubFoot = nullptr;   // owned
  TChartTitle* FSubTitle = nullptr;  // owned
  TChartTitle* FTitle = nullptr;     // owned
  TChartWalls* FWalls = nullptr;     // owned
  bool RestoredAxisScales = true;
};

// The chart a window places; it adds nothing to TCustomChart.
class TChart : public TCustomChart {
  ZEL_CLASS(TChart, TCustomChart)
 public:
  using TCustomChart::TCustomChart;
};

}  // namespace zel
