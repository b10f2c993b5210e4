// A scroll bar that the chart draws itself, on top of the finished picture: a track with a thumb
// and two optional arrow buttons, integer positions from 0 to a maximum, paging by clicks on the
// track, arrow steps with auto-repeat, thumb dragging and, optionally, resizing the thumb by
// dragging its edges. The axis scroll-bar tool places such a bar beside an axis and ties its
// positions to the axis' range.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/Geometry.h"
#include "platform/Types.h"
#include "zelgraph/engine/Panel.h"
#include "zelgraph/engine/Shapes.h"
#include "zelgraph/engine/Tools.h"

namespace zel {

class TChartAxis;
class TTimer;
class TZelBrush;
class TZelGradient;
class TZelPicture;
class TZelScrollBar;

enum class TScrollThumbStyle { stsCustom, stsThumb1, stsThumb2, stsThumb3, stsThumb4 };
ZEL_ENUM_NAMES(TScrollThumbStyle, "stsCustom", "stsThumb1", "stsThumb2", "stsThumb3", "stsThumb4");
// Stored and copied; drawing does not consult it.
enum class TZelScrollBarDrawStyle { dsAlways, dsWhenNeeded };
ZEL_ENUM_NAMES(TZelScrollBarDrawStyle, "dsAlways", "dsWhenNeeded");
// What a press hit.
enum class TZelScrollBarPart { spNone, spThumb, spArrowInc, spArrowDec, spResizeInc, spResizeDec };

using TSetPositionEvent = std::function<void(TZelScrollBar* Sender, std::int32_t Value)>;

// The look of a scroll bar's thumb: brush, pen, a fixed length or proportional, and an optional
// picture from the library's thumb bitmaps.
class TScrollBarThumb : public TZelCustomShapeBrushPen {
  ZEL_CLASS(TScrollBarThumb, TZelCustomShapeBrushPen)
  ZEL_PUBLISHED_PROPS
 public:
  // Brush colour and back colour 0xFFC0C0C0, pen hidden.
  explicit TScrollBarThumb(TZelScrollBar* AScroll);

  // From another thumb: Size and Style, then brush, pen and visibility.
  void Assign(TPersistent* Source) override;

  // Fixed length of the thumb in pixels; 0 makes it proportional to the visible count.
  std::int32_t GetSize() const { return FSize; }
  void SetSize(std::int32_t Value);
  TScrollThumbStyle GetStyle() const { return FStyle; }
  // The numbered styles load the library's thumb bitmap into the thumb's picture and make the
  // thumb as long as the bitmap is wide and the bar as thick as it is high; stsCustom clears
  // the picture.
  void SetStyle(TScrollThumbStyle Value);
  // Read and written through the thumb's brush.
  TZelGradient* GetGradient();
  void SetGradient(TZelGradient* Value);
  TZelPicture* GetImage();
  void SetImage(TZelPicture* Value);

  TZelScrollBar* GetScroll() const { return IScroll; }

 private:
  friend class TZelScrollBar;
  std::int32_t FSize = 0;
  TScrollThumbStyle FStyle = TScrollThumbStyle::stsCustom;
  TZelScrollBar* IScroll = nullptr;  // not owned
};

class TZelScrollBar : public TZelCustomTool {
  ZEL_CLASS(TZelScrollBar, TZelCustomTool)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TZelScrollBar(TComponent* AOwner);
  ~TZelScrollBar() override;

  void Assign(TPersistent* Source) override;
  String GetEditorClass() const override { return "TScrollBarEditor"; }
  // The base's, then the thumb gets the chart and the bar repaints.
  void SetParentChart(TCustomAxisPanel* Value) override;
  // Deactivation ends a press that runs (as a release does), so the repeat timer stops.
  void SetActive(bool Value) override;
  // Draws the bar at tdePaintDone.
  void ChartEvent(TChartToolEvent AEvent) override;
  // Press: ProcessClick; move: MouseMove; release: MouseUp. Buttons and shift are not read.
  void ChartMouseEvent(TChartMouseEvent AEvent, TMouseButton Button, TShiftState Shift, std::int32_t X,
                       std::int32_t Y) override;
  String Description() const override;

  // --- the operations descendants change ---
  // The position change that a move of the mouse from B to A along the bar stands for.
  virtual double CalcDelta(float A, float B);
  // The visible count: the thumb's share of TotalCount.
  virtual std::int32_t CurrentCount();
  // The page step of a click on the track: a quarter of the visible count.
  virtual std::int32_t DeltaMain();
  virtual std::int32_t GetPosition();
  // Dragging a thumb edge by Delta positions.
  virtual void InflateThumbLength(bool IsInc, double Delta);
  // Stores Value as it is (also outside 0 .. Max) and calls OnSetPosition.
  virtual void SetPosition(std::int32_t Value);
  // Thickness of the bar in pixels.
  virtual void SetSize(std::int32_t Value);
  // Whether the bar is drawn, and the reference rectangle its parts are placed from.
  virtual bool ShouldDraw(TRectF& R);
  // The highest position.
  virtual std::int32_t TotalCount();

  // Scrolls the least needed to show Index.
  void EnsureVisible(std::int32_t Index);

  // --- mouse and timer handling (the hooks call these) ---
  void ProcessClick(const TPointF& P);
  void MouseMove(std::int32_t X, std::int32_t Y);
  void MouseUp();
  // One auto-repeat step: the press again at the press point; later steps come faster.
  void DoTimer();
  // Steps the position by Delta within 0 .. TotalCount - CurrentCount; may start auto-repeat.
  void ApplyScroll(double Delta, bool StartTimer);
  // A press or hover near the thumb's increment (IsInc) or decrement edge, when resizing is on.
  bool ClickedResize(bool IsInc, const TPointF& P) const;

  // Draws the bar on the chart's canvas (at tdePaintDone).
  void Draw();

  // --- the bar's parts, placed from the reference rectangle ---
  TRectF MainRect() const;
  TRectF DecArrowRect() const;
  TRectF IncArrowRect() const;
  TRectF ScrollRect() const;
  TRectF ThumbRect() const;
  const TRectF& GetReferenceRect() const { return R; }
  void SetReferenceRect(const TRectF& Value) { R = Value; }
  float GetThumbBegin() const { return ThumbBegin; }
  float GetThumbEnd() const { return ThumbEnd; }
  TZelScrollBarPart GetPressed() const { return FIn; }
  // The repeat timer, nullptr before the first auto-repeating press.
  TTimer* ExistingTimer() const { return FTimer; }
  bool GetDecOutline() const { return FDecOutline; }
  bool GetIncOutline() const { return FIncOutline; }

  // --- properties ---
  bool GetAllowResize() const { return FAllowResize; }
  void SetAllowResize(bool Value) { FAllowResize = Value; }
  TZelBrush* GetArrowBrush() const { return FArrowBrush; }
  void SetArrowBrush(TZelBrush* Value);
  bool GetArrows() const { return FArrows; }
  void SetArrows(bool Value);
  bool GetAutoRepeat() const { return FAutoRepeat; }
  void SetAutoRepeat(bool Value) { FAutoRepeat = Value; }
  // The track's fill: the element brush's back colour.
  TAlphaColor GetBackColor() const;
  void SetBackColor(TAlphaColor Value);
  bool IsBackColorStored() const { return GetBackColor() != DefaultBackColor; }
  TPanelBevel GetBevel() const { return FBevel; }
  void SetBevel(TPanelBevel Value);
  TZelBrush* GetDisabledArrow() const { return FDisabledArrow; }
  void SetDisabledArrow(TZelBrush* Value);
  TZelScrollBarDrawStyle GetDrawStyle() const { return FDrawStyle; }
  void SetDrawStyle(TZelScrollBarDrawStyle Value) { FDrawStyle = Value; }
  // The element brush's gradient.
  TZelGradient* GetGradient();
  void SetGradient(TZelGradient* Value);
  std::int32_t GetInitialDelay() const { return FInitial; }
  void SetInitialDelay(std::int32_t Value) { FInitial = Value; }
  std::int32_t GetMinThumbSize() const { return FMinSize; }
  void SetMinThumbSize(std::int32_t Value);
  std::int32_t GetRoundSize() const { return FRoundSize; }
  void SetRoundSize(std::int32_t Value);
  std::int32_t GetSize() const { return FSize; }
  TScrollBarThumb* GetThumb() const { return FThumb; }
  void SetThumb(TScrollBarThumb* Value);
  TZelBrush* GetThumbBrush() const;
  void SetThumbBrush(TZelBrush* Value);
  std::int32_t GetThumbSize() const;
  void SetThumbSize(std::int32_t Value);
  bool GetHorizontal() const { return FHorizontal; }
  void SetHorizontal(bool Value);
  // The highest position and the visible count of the base class.
  std::int32_t GetMax() const { return Max; }
  void SetMax(std::int32_t Value) { SetIntegerProperty(Max, Value); }
  std::int32_t GetThumbLength() const { return ThumbLength; }
  void SetThumbLength(std::int32_t Value) { SetIntegerProperty(ThumbLength, Value); }

  TNotifyEvent OnChangeSize;
  TNotifyEvent OnScrolled;
  TSetPositionEvent OnSetPosition;

  static constexpr TAlphaColor DefaultBackColor = 0x00F0F0F0;

 protected:
  friend class TScrollBarThumb;
  // The arrow's triangle inside its box.
  void ArrowPoints(bool IsInc, TPointF (&P)[3]) const;
  // The hover outline of an arrow.
  void DrawArrowOutline(bool IsInc);
  // Shows or hides each arrow's hover outline (XOR drawing, else a repaint).
  void SetArrowOutlines(bool Dec, bool Inc);
  // Whether the chart's canvas can draw the outline in XOR mode between paints.
  bool CanXorOutline() const;
  void StopTimer();
  // Along the bar: X of a horizontal bar, Y of a vertical one.
  float Along(const TPointF& P) const { return FHorizontal ? P.X : P.Y; }

  TZelScrollBarDrawStyle FDrawStyle = TZelScrollBarDrawStyle::dsAlways;
  std::int32_t FInitial = 250;
  float ThumbBegin = 0;
  float ThumbEnd = 0;
  TScrollBarThumb* FThumb = nullptr;  // owned
  TTimer* FTimer = nullptr;           // owned
  TZelScrollBarPart FIn = TZelScrollBarPart::spNone;
  bool FirstTime = true;
  TPointF OldPoint{0, 0};
  bool FAllowResize = false;
  bool FAutoRepeat = true;
  TPanelBevel FBevel = TPanelBevel::bvRaised;
  TZelBrush* FArrowBrush = nullptr;  // owned
  bool FArrows = true;
  TZelBrush* FDisabledArrow = nullptr;  // owned
  std::int32_t FMinSize = 4;
  std::int32_t FPosition = 0;
  std::int32_t FRoundSize = 0;
  std::int32_t FSize = 18;
  bool FDecOutline = false;
  bool FIncOutline = false;
  bool FHorizontal = false;
  TRectF R{0, 0, 0, 0};
  std::int32_t Max = 0;
  std::int32_t ThumbLength = 0;
};

// A scroll bar beside one axis: its 1000 positions stand for the axis' whole data range and the
// thumb for the part the axis shows. Moving the thumb, the arrows and the track scroll the axis;
// dragging a thumb edge zooms it. While active, the tool makes the axis reserve room for the bar.
class TAxisScrollBarTool : public TZelScrollBar {
  ZEL_CLASS(TAxisScrollBarTool, TZelScrollBar)
  ZEL_PUBLISHED_PROPS
 public:
  // AllowResize on, Margin 5, 1000 positions.
  explicit TAxisScrollBarTool(TComponent* AOwner);
  // Gives the axis its room back.
  ~TAxisScrollBarTool() override;

  // From another axis scroll-bar tool: the axis and the margin, then the bar's settings.
  void Assign(TPersistent* Source) override;
  // "AxisID": the axis' index in its chart's axes list, written only when there is an axis.
  void DefineProperties(TFiler* Filer) override;
  String GetEditorClass() const override { return "TAxisScrollBarEditor"; }
  void SetActive(bool Value) override;
  // Also keeps the axis' room in step with the bar's thickness (a thumb picture sets it).
  void CanvasChanged(TObject* Sender) override;
  // A tool placed on a chart without an axis takes the chart's bottom axis; one moved to
  // another chart takes that chart's axis of the same place in its axes list.
  void SetParentChart(TCustomAxisPanel* Value) override;
  // The bar's drawing; at tdePaintStart the position follows the axis.
  void ChartEvent(TChartToolEvent AEvent) override;
  String Description() const override;
  String LongDescription() const override;

  std::int32_t CurrentCount() override;
  void InflateThumbLength(bool IsInc, double Delta) override;
  void SetPosition(std::int32_t Value) override;
  void SetSize(std::int32_t Value) override;
  bool ShouldDraw(TRectF& R) override;

  // The axis, when it still belongs to the tool's chart.
  TChartAxis* GetAxis() const;
  void SetAxis(TChartAxis* Value);
  std::int32_t GetMargin() const { return FMargin; }
  void SetMargin(std::int32_t Value);

  // Moves the thumb to the axis' range (at the end of every paint), leaving the axis as it is.
  void Reposition();

 protected:
  // ARange: the shown range; AMin, AMax: the data range of the axis' series.
  bool GetAxisLimits(double& ARange, double& AMin, double& AMax);
  // Sets the axis' range, and its partner's when a series is drawn against both.
  void ChangeAxisMinMax(double NewMin, double NewMax);
  // The axis reserves Size + Margin pixels while the tool is active.
  void PrepareMargin();
  // The bar takes the axis' orientation.
  void PrepareScrollBar();
  void ReleaseAxisSpace();
  // Forgets the axis when it is freed, wherever the tool is.
  void Notification(TComponent* AComponent, TOperation Operation) override;

  TChartAxis* FAxis = nullptr;  // not owned
  std::int32_t FMargin = 5;
};

}  // namespace zel
