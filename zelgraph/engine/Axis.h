// The chart axis: its scale (automatic and manual ends, rounding, logarithmic and date-time
// modes, label increment), its labels and their text, its layout inside the chart rectangle with
// the value-to-pixel mapping, and its drawing (line, ticks, grid, title, labels, sub-axes).
//
// The pens of the axis (TChartAxisPen, TTicks, TAxisGridPen) and the label settings
// (TAxisLabels) are declared here; the text shapes it owns (title, labels format, back shape) and
// the custom label items live in AxisItems.h.
#pragma once

#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/Collections.h"
#include "platform/Geometry.h"
#include "platform/Math.h"
#include "platform/Types.h"
#include "zelgraph/canvas/Geometry.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/procs/DateTimeSteps.h"

namespace zel {

class TCustomAxisPanel;
class TChartSeries;
class TChartValueList;
class TCustomTextShape;
class TZelTransform;
class TZelFont;
class TAutomaticText;
class TZelSelected;
class TChartAxis;
class TChartAxisTitle;
class TAxisBackShape;
class TAxisItem;
class TAxisItems;
class TAxisLabelsFormat;
class TChartCustomAxes;
class TCanvas3D;
class TFiler;

// Engine-wide limits of the axes.
constexpr double MinAxisIncrement = 1e-12;  // the smallest label step
constexpr double MinAxisRange = 1e-10;      // half the span given to an axis whose ends are equal
// The pixel clamp of the checked mappings (32767 once the engine unit started).
extern std::int32_t ZelMaxPixelPos;
// Pixels beyond the axis line that still hit the axis.
inline std::int32_t ZelAxisClickGap = 3;

enum class TAxisLabelAlign { alDefault, alOpposite, alCenter };
enum class TAxisLabelStyle { talAuto, talNone, talValue, talMark, talText, talPointValue };
enum class TAxisLabelsPosition { lpAtTick, lpBeforeTick, lpAfterTick, lpCenter };
enum class TPenLineMode { lmLine, lmCylinder, lmRectangle };
enum class TAxisTitlePosition { tpStart, tpCenter, tpEnd };
// Units of an axis position shift.
enum class TAxisPosUnits { muPercent, muPixels };
ZEL_ENUM_NAMES(TAxisPosUnits, "muPercent", "muPixels");
ZEL_ENUM_NAMES(TAxisLabelAlign, "alDefault", "alOpposite", "alCenter");
ZEL_ENUM_NAMES(TAxisLabelStyle, "talAuto", "talNone", "talValue", "talMark", "talText", "talPointValue");
ZEL_ENUM_NAMES(TAxisLabelsPosition, "lpAtTick", "lpBeforeTick", "lpAfterTick", "lpCenter");
ZEL_ENUM_NAMES(TPenLineMode, "lmLine", "lmCylinder", "lmRectangle");
ZEL_ENUM_NAMES(TAxisTitlePosition, "tpStart", "tpCenter", "tpEnd");

using TAxisDrawLabelEvent = std::function<void(TChartAxis* Sender, std::int32_t& X, std::int32_t& Y,
                                               std::int32_t& Z, String& Text, bool& DrawLabel)>;
using TAxisDrawGrids = std::function<void(TChartAxis* Sender)>;
using TAxisOnGetNextLabel =
    std::function<void(TChartAxis* Sender, std::int32_t LabelIndex, double& LabelValue, bool& Stop)>;
using TChartAxisLabelValue = std::function<void(TChartAxis* Sender, double& tmpValue)>;
// The panel's label text event: Series nullptr and ValueIndex -1 for value labels.
using TAxisOnGetLabel = std::function<void(TChartAxis* Sender, TChartSeries* Series, std::int32_t ValueIndex,
                                           String& LabelText)>;
// The hook of the axes list that may change the labels band size of an axis.
using TAxisCalcPosLabels = std::function<std::int32_t(TChartAxis* Axis, std::int32_t Value)>;

// Pen of the axis line: width 2, flat ends, and a line mode for 3D views.
class TChartAxisPen : public TZelPen {
  ZEL_CLASS(TChartAxisPen, TZelPen)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TChartAxisPen(TNotifyEvent OnChange = nullptr);
  void Assign(TPersistent* Source) override;
  TPenLineMode GetLineMode() const { return FLineMode; }
  void SetLineMode(TPenLineMode Value);

 private:
  TPenLineMode FLineMode = TPenLineMode::lmLine;
};

// Pen of the ticks (dark grey).
class TTicks : public TDarkGrayPen {
  ZEL_CLASS(TTicks, TDarkGrayPen)
 public:
  using TDarkGrayPen::TDarkGrayPen;
};

// Pen of the grid: light grey, with centring, drawing frequency and depth position.
class TAxisGridPen : public TZelPen {
  ZEL_CLASS(TAxisGridPen, TZelPen)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TAxisGridPen(TNotifyEvent OnChange = nullptr);
  // Centered, DrawAlways, DrawEvery and ZPosition, then the pen.
  void Assign(TPersistent* Source) override;

  bool GetCentered() const { return FCentered; }
  void SetCentered(bool Value);
  bool GetDrawAlways() const { return FDrawAlways; }
  void SetDrawAlways(bool Value);
  std::int32_t GetDrawEvery() const { return FDrawEvery; }
  void SetDrawEvery(std::int32_t Value);
  double GetZPosition() const { return FZ; }
  void SetZPosition(double Value);
  bool IsZStored() const { return FZ != IDefaultZ; }

  // Streaming of the "ZZero" flag: written, True, only when the default depth is not 0 and the
  // depth is 0; reading True sets the depth to 0.
  void DefineProperties(TFiler* Filer) override;

  double IDefaultZ = 0;

 private:
  bool FCentered = false;
  bool FDrawAlways = false;
  std::int32_t FDrawEvery = 1;
  double FZ = 0;
};

// The label settings of an axis.
class TAxisLabels : public TPersistent {
  ZEL_CLASS(TAxisLabels, TPersistent)
 public:
  explicit TAxisLabels(TChartAxis* AAxis);
  ~TAxisLabels() override;
  void Assign(TPersistent* Source) override;

  TAxisLabelAlign GetAlign() const { return FAlign; }
  void SetAlign(TAxisLabelAlign Value);
  bool GetAlternate() const { return FAlternate; }
  void SetAlternate(bool Value);
  std::int32_t GetAngle() const { return FAngle; }
  // Stored modulo 360 (0..359).
  void SetAngle(std::int32_t Value);
  TAutomaticText* GetAutomatic() const { return FAutomatic; }
  void SetAutomatic(TAutomaticText* Value);
  bool GetBehind() const { return FBehind; }
  void SetBehind(bool Value);
  bool GetExponent() const { return FExponent; }
  void SetExponent(bool Value);
  // Plain store without repaint (drawing switches it off for one label).
  void SetExponentPlain(bool Value) { FExponent = Value; }
  bool GetGridIgnoresLabelSize() const { return FGridIgnoresSize; }
  void SetGridIgnoresLabelSize(bool Value);
  bool GetMultiLine() const { return FMultiLine; }
  void SetMultiLine(bool Value);
  bool GetOnAxis() const { return FOnAxis; }
  void SetOnAxis(bool Value);
  bool GetRoundFirst() const { return FRoundFirst; }
  void SetRoundFirst(bool Value);
  std::int32_t GetSeparation() const { return FSeparation; }
  // Negative values raise AxisException (ZelMsg_AxisLabelSep).
  void SetSeparation(std::int32_t Value);
  std::int32_t GetSize() const { return FSize; }
  void SetSize(std::int32_t Value);
  TAxisLabelStyle GetStyle() const { return FStyle; }
  void SetStyle(TAxisLabelStyle Value);
  TAxisLabelsPosition GetPosition() const { return FPosition; }
  void SetPosition(TAxisLabelsPosition Value);
  // The axis' shared label format: its visibility and font.
  bool GetVisible() const;
  void SetVisible(bool Value);
  TZelFont* GetFont() const;
  void SetFont(TZelFont* Value);
  TAxisLabelsFormat* GetFormat() const;
  void SetFormat(TAxisLabelsFormat* Value);
  // The custom items' selection settings, created on first access.
  TZelSelected* GetSelected() const;

  std::int32_t IHeightFactor = 0;
  TChartAxis* Axis;

 private:
  void Changed();

  TAxisLabelAlign FAlign = TAxisLabelAlign::alDefault;
  bool FAlternate = false;
  std::int32_t FAngle = 0;
  TAutomaticText* FAutomatic = nullptr;  // owned
  bool FBehind = false;
  bool FGridIgnoresSize = false;
  bool FOnAxis = true;
  std::int32_t FSeparation = 10;
  std::int32_t FSize = 0;
  TAxisLabelStyle FStyle = TAxisLabelStyle::talAuto;
  bool FExponent = false;
  bool FMultiLine = false;
  bool FRoundFirst = true;
  TAxisLabelsPosition FPosition = TAxisLabelsPosition::lpAtTick;
};

// Pixel positions of the ticks of the last drawing.
using TAxisTicks = std::vector<std::int32_t>;

// One axis of a chart: a standard axis, a custom axis or a sub-axis.
class TChartAxis : public TCollectionItem {
  ZEL_CLASS(TChartAxis, TCollectionItem)
  ZEL_PUBLISHED_PROPS
  friend class TChartDepthAxis;
  friend class TAxisItems;  // measures the texts its items show (RectOf)

 public:
  // Joins Collection when there is a chart and a collection. The panel creates its standard
  // axes with no collection.
  TChartAxis(TCustomAxisPanel* Chart, TCollection* Collection);
  // The collection-item constructor: the collection's owner is either an axis (this becomes one
  // of its sub-axes) or a chart (this becomes a custom axis appended to the chart's axes).
  explicit TChartAxis(TCollection* Collection);
  // A custom axis of Chart (an item of the chart's custom-axes collection).
  explicit TChartAxis(TCustomAxisPanel* Chart);
  ~TChartAxis() override;

  void Assign(TPersistent* Source) override;

  // --- scale ---
  void AdjustMaxMin();
  void CalcMinMax(double& AMin, double& AMax);
  void InternalCalcRange();
  void CalcRoundScales();
  double CalcIncrement();
  double CalcXYIncrement(std::int32_t MaxLabelSize);
  double CalcLabelsIncrement(std::int32_t MaxNumLabels);
  // IRange / Divisor, finite when only the range overflows.
  double RangeOver(double Divisor) const;
  double CalcDateTimeIncrement(std::int32_t MaxNumLabels);
  double RoundLogPower(double Value) const;
  // The logarithmic growth factor (the base, or its inverse for a base below 1) and the power of
  // it at or just below a positive value: the decade a value lies in.
  double LogGrowth() const;
  // The lowest value of a logarithmic axis whose minimum is not positive: where its mapping and
  // its labels start.
  double LogLowest() const;
  double FloorLogPower(double Value) const;
  // The factor between neighbouring ticks of a logarithmic axis whose decades start at Start:
  // LogGrowth, or a power of it when the range holds more decades than the axis has pixels.
  double LogStride(double Start) const;
  bool IsDateTime() const;
  bool IncDecDateTime(bool Increment, double& Value, double AnIncrement, TDateTimeStep tmpWhichDateTime) const;
  // The same step, on an axis that is date-time or not as given rather than as the last layout
  // found it (code that runs outside a paint decides with IsDateTime).
  bool IncDecDateTime(bool Increment, double& Value, double AnIncrement, TDateTimeStep tmpWhichDateTime,
                      bool DateTime) const;
  void SetMinMax(double AMin, double AMax);
  void Hide() { SetVisible(false); }
  // True for sub-axes and for axes at index 6 or later of the chart's axes list.
  bool IsCustom() const;
  bool IsDepthAxis() const { return IDepthAxis; }

  // --- labels ---
  virtual TAxisLabelStyle InternalCalcLabelStyle();
  virtual void SetInverted(bool Value);
  virtual String LabelValue(double Value);
  std::int32_t LabelWidth(double Value) { return InternalLabelSize(Value, true); }
  std::int32_t LabelHeight(double Value) { return InternalLabelSize(Value, false); }
  std::int32_t InternalLabelSize(double Value, bool IsWidth);
  TAxisLabelStyle CalcLabelStyle();
  std::int32_t MaxLabelsWidth();
  void CalcAllSeries();
  bool GetAxisSeriesLabel(TAxisLabelStyle AStyle, TChartSeries* Series, std::int32_t ValueIndex,
                          double& Value, String& Text);
  void DrawAxisLabel(std::int32_t X, std::int32_t Y, std::int32_t Angle, const String& St,
                     TCustomTextShape* Format = nullptr, std::int32_t Z = 0);
  std::int32_t DepthAxisAlign() const { return FOtherSide ? 0 : 2; }
  std::int32_t DepthAxisPos();

  // --- layout and mapping ---
  void SetCalcPosValue();
  // Value to pixel through the mapping chosen by SetCalcPosValue.
  std::int32_t CalcXPosValue(double Value) const { return Dispatch(IXCalc, Value, true); }
  std::int32_t CalcYPosValue(double Value) const { return Dispatch(IYCalc, Value, false); }
  std::int32_t CalcPosValue(double Value) const { return FHorizontal ? CalcXPosValue(Value) : CalcYPosValue(Value); }
  double CalcPosPoint(std::int32_t Value) const { return InternalCalcPosPoint(Value); }

  std::int32_t XPosValue(double Value) const {
    if (IRangeZero) return ICenterPos;
    const double R = std::nearbyint(OffsetPixels(Value));
    return FInverted ? ZelClampPixel(IEndPos - R) : ZelClampPixel(IStartPos + R);
  }
  std::int32_t YPosValue(double Value) const {
    if (IRangeZero) return ICenterPos;
    const double R = std::nearbyint(OffsetPixels(Value));
    return FInverted ? ZelClampPixel(IStartPos + R) : ZelClampPixel(IEndPos - R);
  }
  // The distance of Value from the minimum, in (unrounded) pixels. Over a range wider than the
  // largest double (IRangeHalved) the distance and the range are taken in halves, which stay finite.
  double OffsetPixels(double Value) const { return Span(IMinimum, Value) * IAxisSizeRange; }
  // B - A, or half of it over a range wider than the largest double (IRangeHalved).
  double Span(double A, double B) const { return IRangeHalved ? 0.5 * B - 0.5 * A : B - A; }
  // As XPosValue and YPosValue; with IUseZelMaxPixelPos pixels beyond ZelMaxPixelPos clamp to it.
  std::int32_t XPosValueCheck(double Value) const {
    return IUseZelMaxPixelPos ? ClampedPosValue(Value, true) : XPosValue(Value);
  }
  std::int32_t YPosValueCheck(double Value) const {
    return IUseZelMaxPixelPos ? ClampedPosValue(Value, false) : YPosValue(Value);
  }
  std::int32_t LogXPosValue(double Value) const;
  std::int32_t LogYPosValue(double Value) const;
  std::int32_t InternalCalcDepthPosValue(double Value) const;
  double InternalCalcPosPoint(std::int32_t Value) const;

  std::int32_t CalcSizeValue(double Value) const { return CalcSizeValue(0, Value); }
  std::int32_t CalcSizeValue(double Start, double Finish) const;
  void InternalCalcPositions();
  void RecalcSizeCenter();
  std::int32_t CalcZPos();
  void AdjustMaxMinRect(const TRectF& Rect);
  void CalcRect(TRectF& R, bool InflateChartRectangle);
  std::int32_t ApplyPosition(std::int32_t APos, const TRectF& R) const;
  std::int32_t GetRectangleEdge(const TRectF& R) const;
  std::int32_t InflateAxisPos(std::int32_t Value, std::int32_t Amount) const;
  void InflateAxisRect(TRectF& R, std::int32_t Value) const;
  std::int32_t SizeTickAxis(bool DrawTicks);
  std::int32_t SizeLabels();
  std::int32_t InternalCalcSize(TCustomTextShape* Shape, std::int32_t Angle, const String& Text, std::int32_t Size);
  TRectF AxisRect() const;
  bool Clicked(const TPointF& P);
  bool Clicked(std::int32_t X, std::int32_t Y) { return Clicked(TPointF{static_cast<float>(X), static_cast<float>(Y)}); }
  void Scroll(double Offset, bool CheckLimits);
  // (Maximum - Minimum) x F for a fraction F: the part of the range a scroll step moves by, taken
  // as a difference of parts where the range itself lies past the double range.
  double RangePart(double F) const;
  void CustomDraw(std::int32_t APosLabels, std::int32_t APosTitle, std::int32_t APosAxis, bool GridVisible);
  void CustomDrawStartEnd(std::int32_t APosLabels, std::int32_t APosTitle, std::int32_t APosAxis, bool GridVisible,
                          std::int32_t AStartPos, std::int32_t AEndPos);
  void CustomDrawMinMax(std::int32_t APosLabels, std::int32_t APosTitle, std::int32_t APosAxis, bool GridVisible,
                        double AMinimum, double AMaximum, double AIncrement);
  void CustomDrawMinMaxStartEnd(std::int32_t APosLabels, std::int32_t APosTitle, std::int32_t APosAxis,
                                bool GridVisible, double AMinimum, double AMaximum, double AIncrement,
                                std::int32_t AStartPos, std::int32_t AEndPos);

  // --- drawing ---
  void Draw(bool CalcPosAxis);
  void DrawTitle(std::int32_t X, std::int32_t Y);
  void DrawGrids(std::int32_t NumTicks);
  void DrawGridLine(std::int32_t Pos);
  void DrawLineSegment(std::int32_t Start, std::int32_t End);
  // The rectangles of the label items of the last drawing, in item order (hover tests).
  std::vector<TRectF> LabelItemRects();
  // Copies the direction settings of this axis into a sub-axis.
  void AssignToSub(TChartAxis* Sub);

  // --- properties ---
  TCustomAxisPanel* GetParentChart() const { return FParentChart; }
  TChartAxis* GetMaster() const { return FMaster; }
  bool GetAutomatic() const { return FAutomatic; }
  void SetAutomatic(bool Value);
  bool GetAutomaticMaximum() const { return FAutomaticMaximum; }
  void SetAutomaticMaximum(bool Value);
  bool GetAutomaticMinimum() const { return FAutomaticMinimum; }
  void SetAutomaticMinimum(bool Value);
  TChartAxisPen* GetAxis() const { return FAxis; }
  void SetAxis(TChartAxisPen* Value) { FAxis->Assign(Value); }
  const String& GetAxisValuesFormat() const { return FAxisValuesFormat; }
  void SetAxisValuesFormat(const String& Value);
  bool IsAxisValuesFormatStored() const;
  const String& GetDateTimeFormat() const { return FDateTimeFormat; }
  void SetDateTimeFormat(const String& Value);
  bool GetExactDateTime() const { return FExactDateTime; }
  void SetExactDateTime(bool Value);
  TAxisGridPen* GetGrid() const { return FGrid; }
  void SetGrid(TAxisGridPen* Value) { FGrid->Assign(Value); }
  bool GetGridCentered() const { return FGrid->GetCentered(); }
  void SetGridCentered(bool Value) { FGrid->SetCentered(Value); }
  double GetIncrement() const { return FDesiredIncrement; }
  void SetIncrement(double Value) { SetDesiredIncrement(Value); }
  void SetDesiredIncrement(double Value);
  bool GetInverted() const { return FInverted; }
  bool GetHorizontal() const { return FHorizontal; }
  void SetHorizontal(bool Value);
  bool GetOtherSide() const { return FOtherSide; }
  void SetOtherSide(bool Value);
  // The orientation and side an axis is made with (a chart's bottom axis is horizontal, its
  // right axis on the other side ...), and so their stored defaults.
  void InitHorizontal(bool Value);
  void InitOtherSide(bool Value);
  // A custom axis writes both always; a chart's own axes when they left what they were made with.
  bool IsHorizontalStored() const { return IsCustom() || FHorizontal != FDefaultHorizontal; }
  bool IsOtherSideStored() const { return IsCustom() || FOtherSide != FDefaultOtherSide; }
  bool GetLogarithmic() const { return FLogarithmic; }
  void SetLogarithmic(bool Value);
  double GetLogarithmicBase() const { return FLogarithmicBase; }
  void SetLogarithmicBase(double Value);
  double GetMaximum() const { return FMaximumValue; }
  void SetMaximum(double Value);
  double GetMinimum() const { return FMinimumValue; }
  void SetMinimum(double Value);
  void InternalSetMaximum(double Value);
  void InternalSetMinimum(double Value);
  bool IsMaxStored() const { return !FAutomatic && !FAutomaticMaximum; }
  bool IsMinStored() const { return !FAutomatic && !FAutomaticMinimum; }
  std::int32_t GetMaximumOffset() const { return FMaximumOffset; }
  void SetMaximumOffset(std::int32_t Value);
  std::int32_t GetMinimumOffset() const { return FMinimumOffset; }
  void SetMinimumOffset(std::int32_t Value);
  bool GetMaximumRound() const { return FMaximumRound; }
  void SetMaximumRound(bool Value);
  bool GetMinimumRound() const { return FMinimumRound; }
  void SetMinimumRound(bool Value);
  TZelHiddenPen* GetMinorGrid() const { return FMinorGrid; }
  void SetMinorGrid(TZelHiddenPen* Value) { FMinorGrid->Assign(Value); }
  TTicks* GetMinorTicks() const { return FMinorTicks; }
  void SetMinorTicks(TTicks* Value) { FMinorTicks->Assign(Value); }
  TTicks* GetTicks() const { return FTicks; }
  void SetTicks(TTicks* Value) { FTicks->Assign(Value); }
  TTicks* GetTicksInner() const { return FTicksInner; }
  void SetTicksInner(TTicks* Value) { FTicksInner->Assign(Value); }
  std::int32_t GetMinorTickCount() const { return FMinorTickCount; }
  void SetMinorTickCount(std::int32_t Value);
  std::int32_t GetMinorTickLength() const { return FMinorTickLength; }
  void SetMinorTickLength(std::int32_t Value);
  std::int32_t GetTickLength() const { return FTickLength; }
  void SetTickLength(std::int32_t Value);
  std::int32_t GetTickInnerLength() const { return FTickInnerLength; }
  void SetTickInnerLength(std::int32_t Value);
  bool GetTickOnLabelsOnly() const { return FTickOnLabelsOnly; }
  void SetTickOnLabelsOnly(bool Value);
  double GetStartPosition() const { return FStartPosition; }
  void SetStartPosition(double Value);
  double GetEndPosition() const { return FEndPosition; }
  void SetEndPosition(double Value);
  double GetPositionPercent() const { return FPositionPercent; }
  void SetPositionPercent(double Value);
  TAxisPosUnits GetPositionUnits() const { return FPosUnits; }
  void SetPositionUnits(TAxisPosUnits Value);
  TChartAxis* GetPartnerAxis() const { return FPartnerAxis; }
  void SetPartnerAxis(TChartAxis* Value) { FPartnerAxis = Value; }
  bool GetUsePartnerAxis() const { return FUsePartnerAxis; }
  void SetUsePartnerAxis(bool Value) { FUsePartnerAxis = Value; }
  std::int32_t GetTitleSize() const { return FTitleSize; }
  void SetTitleSize(std::int32_t Value);
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool Value);
  double GetZPosition() const { return FZPosition; }
  // Depth in percent of the 3D width; 0 becomes 0.01, so an axis never holds 0.
  void SetZPosition(double Value);
  // The depth the axis is made with, and so its stored default.
  void InitZPosition(double Value);
  // Any depth other than the one the axis was made with, on a depth axis too.
  bool IsZPositionStored() const;
  std::int32_t GetPosAxis() const { return FPosAxis; }
  std::int32_t GetPosLabels() const { return FPosLabels; }
  std::int32_t GetPosTitle() const { return FPosTitle; }
  // Moved by the series margins during the paint sequence.
  void SetPosTitle(std::int32_t Value) { FPosTitle = Value; }

  // Lazily created sub-objects: nullptr frees, any other value is copied in.
  TChartAxisTitle* GetTitle();
  // The title's angle follows the axis' side and orientation (its stored default with it),
  // unless a program or a stream gave it one.
  void TitleFollowsSide();
  void SetTitle(TChartAxisTitle* Value);
  TChartAxisTitle* ExistingTitle() const { return FAxisTitle; }
  TAxisBackShape* GetShape();
  void SetShape(TAxisBackShape* Value);
  TAxisBackShape* ExistingShape() const { return FShape; }
  TChartCustomAxes* GetSubAxes();
  void SetSubAxes(TChartCustomAxes* Value);
  TChartCustomAxes* ExistingSubAxes() const { return FSubAxes; }
  TAxisItems* GetItems() const { return FAxisItems; }
  void SetItems(TAxisItems* Value);
  TAxisLabels* GetLabelsObject() const { return FLabels; }

  // The label settings under the axis' own names.
  bool GetLabels() const;
  void SetLabels(bool Value);
  TAxisLabelAlign GetLabelsAlign() const;
  void SetLabelsAlign(TAxisLabelAlign Value);
  bool GetLabelsAlternate() const;
  void SetLabelsAlternate(bool Value);
  std::int32_t GetLabelsAngle() const;
  void SetLabelsAngle(std::int32_t Value);
  bool GetLabelsBehind() const;
  void SetLabelsBehind(bool Value);
  bool GetLabelsExponent() const;
  void SetLabelsExponent(bool Value);
  TZelFont* GetLabelsFont() const;
  void SetLabelsFont(TZelFont* Value);
  TAxisLabelsFormat* GetLabelsFormat() const;
  void SetLabelsFormat(TAxisLabelsFormat* Value);
  bool GetLabelsGridIgnoresLabelSize() const;
  void SetLabelsGridIgnoresLabelSize(bool Value);
  bool GetLabelsMultiLine() const;
  void SetLabelsMultiLine(bool Value);
  bool GetLabelsOnAxis() const;
  void SetLabelsOnAxis(bool Value);
  std::int32_t GetLabelsSeparation() const;
  void SetLabelsSeparation(std::int32_t Value);
  std::int32_t GetLabelsSize() const;
  void SetLabelsSize(std::int32_t Value);
  TAxisLabelStyle GetLabelStyle() const;
  void SetLabelStyle(TAxisLabelStyle Value);
  bool GetRoundFirstLabel() const;
  void SetRoundFirstLabel(bool Value);
  TAxisLabelsPosition GetLabelsPosition() const;
  void SetLabelsPosition(TAxisLabelsPosition Value);

  // Repaints the chart (the change closure of the pens and label options).
  void CanvasChanged(TObject* Sender);

  TAxisDrawLabelEvent OnDrawLabel;

  // --- working state of the last scale, layout and drawing ---
  bool IAxisDateTime = false;
  String IAxisID;
  double IAxisLogSizeRange = 0;
  std::int32_t ICenterPos = 0;
  bool IDepthAxis = false;
  double ILogMax = 0;
  double ILogMin = 0;
  double IRange = 0;
  double IRangeLog = 0;
  bool IRangeZero = true;
  std::vector<TChartSeries*> ISeriesList;
  bool IsVisible = true;
  std::int32_t IWallSize = 0;
  std::int32_t IZPos = 0;
  // Pixels per unit; when IRangeHalved, per half unit (the range IMaximum - IMinimum overflows).
  double IAxisSizeRange = 0;
  bool IRangeHalved = false;
  std::int32_t IExtraSpace = 0;
  std::int32_t IGapSize = 0;
  bool IHideBackGrid = false;
  bool IHideSideGrid = false;
  bool IUseZelMaxPixelPos = false;
  double IMaximum = 0;
  double IMinimum = 0;
  std::int32_t IStartPos = 0;
  std::int32_t IEndPos = 0;
  std::int32_t IAxisSize = 0;
  TZelTransform* Transform = nullptr;  // owned
  TAxisTicks Tick;

  // Free notification for components that keep a pointer to this axis (tools), wherever they
  // are: AComponent's Notification hears opRemove from the axis' notifier (IsFreeNotifier) when
  // the axis is freed. Axes are not components, so a small component of the axis carries the link.
  void FreeNotification(TComponent* AComponent);
  void RemoveFreeNotification(TComponent* AComponent);
  bool IsFreeNotifier(const TComponent* AComponent) const { return AComponent && AComponent == FFreeNotifier; }

  // Hooks for tools and derived code.
  TAxisOnGetNextLabel OnCalcMaxLabel;
  TNotifyEvent OnDrawAxis;
  TChartAxisLabelValue OnNextLabelValue;
  TAxisDrawGrids OnDrawGrids;

 protected:
  void AfterConstructionInit();
  // Repaints through the chart; nothing without one.
  void Invalidate();
  void SetBooleanProperty(bool& Variable, bool Value);
  void SetIntegerProperty(std::int32_t& Variable, std::int32_t Value);
  void SetDoubleProperty(double& Variable, double Value);
  void SetStringProperty(String& Variable, const String& Value);

  // One label walk of the drawing (see AxisLabels.cpp).
  struct TLabelWalk {
    TAxisLabelStyle Style = TAxisLabelStyle::talNone;
    double Inc = 0;
    TDateTimeStep Step = dsNone;
    bool Alternate = false;
    // The label room of a vertical axis whose labels alternate, measured once a walk (-1: not yet).
    std::int32_t AlternateRoom = -1;
    // The boxes of the labels drawn so far, as they cover the panel, and of those among them
    // that an end of the panel moved along the axis (see DrawAxisLabel).
    std::vector<TRectF> Drawn;
    std::vector<TRectF> Moved;
  };
  void DrawLabelsStep(TLabelWalk& W);
  // The calendar step of the value labels for the label step Inc (dsNone: plain steps).
  TDateTimeStep LabelDateTimeStep(double Inc) const;
  // Where a walk down the value labels starts (the highest label) and the lowest value it still
  // labels, for the label step Inc and the calendar step Step. An end of the range that is a
  // multiple of the step gets its label although the arithmetic misses it by a rounding error.
  struct TLabelEnds {
    double First = 0;
    double Limit = 0;
  };
  TLabelEnds ValueLabelEnds(double Inc, TDateTimeStep Step) const;
  // The label N whole steps Inc below First (a sum of steps would drift over many labels). On an
  // axis wider than the largest double (IRangeHalved) the product N x Inc overflows where the walk
  // crosses zero: the value is taken in halves, as the mapping takes the distance.
  double LabelBelow(double First, std::int64_t N, double Inc) const;
  // How the value labels of one walk are written, so that neighbours read apart and one axis
  // uses one notation (see ReadableLabels in AxisLabels.cpp). Inactive outside a walk.
  struct TLabelTexts {
    bool Active = false;
    double Quantum = 0;     // label values are rounded to multiples of it (the step's last digit)
    bool Exponent = false;  // every label in the exponent form
    String Format;          // the fixed form with enough decimals; empty: the axis' own format
    String DateTimeFormat;  // date-time labels' format when the program sets none; empty: the range's default
  };
  TLabelTexts ReadableLabels(double Inc, TDateTimeStep Step);
  // The date-time labels of the label step Inc when the program sets no DateTimeFormat: the
  // range's default format unless two neighbouring labels would read the same in it, then the
  // first of DateTimeLabelFormats that tells every two neighbours apart.
  TLabelTexts DateTimeLabelTexts(double Inc, TDateTimeStep Step);
  // The label format under which no two neighbouring Values (in order along the axis) read the
  // same: empty while the default one does, else the first of DateTimeLabelFormats that does.
  String DistinctDateTimeFormat(const std::vector<double>& Values) const;
  // The date-time labels of the points' own values (talPointValue) when the program sets no
  // DateTimeFormat: the value labels' format for the label step Inc (the room measured), or the
  // first format after it under which no two neighbouring labels the series walk draws read the same.
  TLabelTexts PointValueLabelTexts(double Inc, TDateTimeStep Step);
  // The date-time labels of custom items made from their value (an empty text), when the program
  // sets no DateTimeFormat: the first of DateTimeLabelFormats under which no two neighbouring
  // such items that are drawn read the same.
  TLabelTexts CustomItemsLabelTexts();
  // Whether a custom item's value lies on the axis (it is ticked, and labelled when its format is
  // visible), and the text its label shows.
  bool CustomItemOnAxis(TAxisItem* Item) const;
  String CustomItemText(TAxisItem* Item);
  // What the label items show: the label texts they are shown under (the walk's own for the
  // labels of the last drawing, Items' Auto; CustomItemsLabelTexts for custom items) and, under
  // them, an item's text (its own for a label of the last drawing, CustomItemText for a custom
  // item). The drawing and the items' hit rectangles (TAxisItems::RectOf) take both from here.
  TLabelTexts ItemsLabelTexts();
  String ItemText(TAxisItem* Item);
  // Calls Visit(Value) with the values of the default (linear) label walk for the label step Inc
  // and the calendar step Step, from the highest down, as the labels show them; Visit returns
  // false to end the walk. Every loop over these values (the labels drawn, their room, the texts
  // checked for repeats) takes them from here.
  template <class TVisit>
  void ForEachDefaultLabel(double Inc, TDateTimeStep Step, TVisit&& Visit);
  // A label value a rounding error past an end of the range is that end.
  double ShownLabelValue(double Value) const;
  // The label step Inc that CalcIncrement measured with the default date-time texts, widened
  // while the labels take a longer format at it, so that the texts drawn are the texts measured.
  double DateTimeLabelsIncrement(double Inc);
  TLabelTexts ILabelTexts;
  // True when the value labels come from the default (linear) walk.
  bool DefaultValueWalk() const;
  // Moves a label's box (turned by Angle) along the axis so that it lies whole inside the panel;
  // true when it moved.
  bool KeepLabelInside(TRectF& R, std::int32_t Angle) const;
  // Half the room a label of Size pixels along the axis takes from its neighbours: half its size
  // and LabelsSeparation percent of it.
  std::int32_t LabelHalfRoom(std::int32_t Size) const;
  // Whether two labels' boxes (as they cover the panel) keep clear of each other: apart across
  // the axis, or along it by their rooms and without touching.
  bool LabelsClear(const TRectF& A, const TRectF& B) const;
  // DrawAxisLabel within a label walk: a label moved inside the panel that would overlap or touch
  // a label drawn before it gives way, and so does a label that would overlap or touch one moved
  // before it (the labels drawn first stay, as in the series labels' fit test).
  void DrawAxisLabel(TLabelWalk* W, std::int32_t X, std::int32_t Y, std::int32_t Angle,
                     const String& St, TCustomTextShape* Format, std::int32_t Z);
  // True when steps of the given kind move by calendar units on this axis (not by a fixed span).
  bool CalendarStep(TDateTimeStep Step, bool DateTime) const;
  // How far a label value may miss the range end End and still lie on it, for the label step Inc:
  // never so far that the label leaves the axis.
  double LabelEndTolerance(double End, double Inc) const;
  // Counts one candidate value: its tick and its label when it lies on the axis.
  void InternalDrawLabel(TLabelWalk& W, double Value);
  void AddTickAndSaveLabel(TLabelWalk& W, double Value, std::int32_t Pos, const String& Text,
                           TCustomTextShape* Format, std::int32_t ItemIndex = -1);
  void DrawThisLabel(TLabelWalk& W, std::int32_t Index, double Value, std::int32_t Pos, const String& Text,
                     TCustomTextShape* Format);
  void DoDefaultLabels(TLabelWalk& W);
  void DoDefaultLogLabels(TLabelWalk& W);
  void DoCustomLabels(TLabelWalk& W);
  // The points' labels; with Drawn, only the labels that would be drawn, as (position, text),
  // and nothing is ticked or saved.
  struct TDrawnLabel {
    std::int32_t Pos = 0;
    String Text;
  };
  void DoSeriesLabels(TLabelWalk& W, std::vector<TDrawnLabel>* Drawn = nullptr);
  // The values the labels of a series' points stand at on this axis, when they rise with the index
  // (each point's value is Values[I], or I itself when Values is null) and the positions follow
  // them; otherwise Ordered is false.
  struct TAxisPointValues {
    bool Ordered = false;
    const double* Values = nullptr;
  };
  TAxisPointValues AxisPointValues(TChartSeries* S);
  void DoSeriesTitleLabels(TLabelWalk& W);
  void DoCustomItems(TLabelWalk& W);
  void DrawTicksAndGrid();
  void InternalDrawTick(std::int32_t Pos, std::int32_t Offset, std::int32_t Length);
  std::vector<std::int32_t> MinorPositions();
  bool IsLabelsVisible() const;
  bool IsGridVisibleAlways() const;

  std::int32_t ClampedPosValue(double Value, bool X) const;

  enum class TCalcKind : std::uint8_t { ckLinear, ckLinearCheck, ckLog, ckDepth };
  std::int32_t Dispatch(TCalcKind Kind, double Value, bool X) const {
    switch (Kind) {
      case TCalcKind::ckLinear:
        return X ? XPosValue(Value) : YPosValue(Value);
      case TCalcKind::ckLinearCheck:
        return X ? XPosValueCheck(Value) : YPosValueCheck(Value);
      case TCalcKind::ckLog:
        return X ? LogXPosValue(Value) : LogYPosValue(Value);
      case TCalcKind::ckDepth:
        return InternalCalcDepthPosValue(Value);
    }
    return ICenterPos;
  }
  TCalcKind IXCalc = TCalcKind::ckLinearCheck;
  TCalcKind IYCalc = TCalcKind::ckLinearCheck;

  bool FAutomatic = true;
  bool FAutomaticMaximum = true;
  bool FAutomaticMinimum = true;
  double FDesiredIncrement = 0;
  double FMaximumValue = 0;
  double FMinimumValue = 0;
  bool FLogarithmic = false;
  double FLogarithmicBase = 10;
  std::int32_t FMaximumOffset = 0;
  std::int32_t FMinimumOffset = 0;
  bool FMaximumRound = false;
  bool FMinimumRound = false;
  TAxisItems* FAxisItems = nullptr;  // owned
  TAxisLabels* FLabels = nullptr;    // owned
  std::int32_t FPosLabels = 0;
  String FAxisValuesFormat;
  String FDateTimeFormat;
  bool FExactDateTime = true;
  TChartAxisPen* FAxis = nullptr;  // owned
  std::int32_t FPosAxis = 0;
  double FZPosition = 0.01;
  double FDefaultZPosition = 0.01;
  bool FDefaultHorizontal = false;
  bool FDefaultOtherSide = false;
  std::int32_t FTitleSize = 0;
  std::int32_t FPosTitle = 0;
  TAxisGridPen* FGrid = nullptr;         // owned
  TZelHiddenPen* FMinorGrid = nullptr;   // owned
  std::int32_t FMinorTickCount = 3;
  std::int32_t FMinorTickLength = 2;
  TTicks* FMinorTicks = nullptr;  // owned
  TTicks* FTicks = nullptr;       // owned
  TTicks* FTicksInner = nullptr;  // owned
  std::int32_t FTickInnerLength = 0;
  std::int32_t FTickLength = 4;
  bool FTickOnLabelsOnly = true;
  bool FUsePartnerAxis = false;
  TChartAxis* FPartnerAxis = nullptr;
  TChartCustomAxes* FSubAxes = nullptr;  // owned
  bool FInverted = false;
  bool FHorizontal = false;
  bool FOtherSide = false;
  TCustomAxisPanel* FParentChart = nullptr;
  bool FVisible = true;
  double FStartPosition = 0;
  double FEndPosition = 100;
  double FPositionPercent = 0;
  TAxisPosUnits FPosUnits = TAxisPosUnits::muPercent;
  TAxisBackShape* FShape = nullptr;  // owned
  TChartAxis* FMaster = nullptr;
  TChartAxisTitle* FAxisTitle = nullptr;  // owned

 private:
  void Init(TCustomAxisPanel* Chart);

  TComponent* FFreeNotifier = nullptr;  // owned; made by the first FreeNotification

  // The chart panel as the axis sees it (AxisLink.cpp); neutral answers without a chart.
  TCanvas3D* ChartCanvas() const;
  TRectF ChartRectOf() const;
  std::int32_t ChartWidth3D() const;
  std::int32_t ChartHeight3D() const;
  bool ChartView3D() const;
  bool ChartOrthogonal() const;
  bool ChartReading() const;
  bool ChartFastCalc() const;
  bool ChartAxisBehind() const;
  double ChartMinMax(bool IsMin);
  void ChartChangedAxisScale();
  std::int32_t ChartWallSize(TChartAxis* Axis) const;
  bool ChartIsAxisVisible() const;
  std::int32_t ChartMaxMarkWidth() const;
  std::int32_t ChartMaxTextWidth() const;
  String ChartSeriesTitleLegend(std::int32_t Index) const;
  const TAxisOnGetLabel* ChartOnGetAxisLabel() const;
  const TAxisOnGetNextLabel* ChartOnGetNextAxisLabel() const;
  std::int32_t ChartAxisIndex() const;
  TChartAxis* ChartAxisAt(std::int32_t Index) const;
  bool SeriesAssociated(TChartSeries* Series) const;
  TChartValueList* SeriesValueListOfAxis(TChartSeries* Series) const;
  bool SeriesHasPointLabels(TChartSeries* Series) const;
  String SeriesMarkText(TChartSeries* Series, std::int32_t Index) const;
  std::int32_t ChartMultiLineTextWidth(const String& Text, std::int32_t& NumLines) const;
  const TAxisCalcPosLabels* ChartCalcPosLabels() const;
  bool ChartHoverHighlight() const;
  TCollection* ChartCustomAxes() const;
  void ChartAddAxis();
  void ChartRemoveAxis();
  void ChartResetSubScales();
};

// Inner lies inside Outer, edges included.
bool RectangleContains(const TRectF& Outer, const TRectF& Inner);
// The next step of the 1-2-5 ladder above Value (1 for an infinite or non-positive value).
double ZelNextStep(double Value);

// The depth axis: labels are series titles unless a series has Z values; hidden by default.
class TChartDepthAxis : public TChartAxis {
  ZEL_CLASS(TChartDepthAxis, TChartAxis)
  ZEL_PUBLISHED_PROPS
 public:
  TChartDepthAxis(TCustomAxisPanel* Chart, TCollection* Collection);

  TAxisLabelStyle InternalCalcLabelStyle() override;
  // Also inverts the partner depth axis (depth and top depth axis follow each other).
  void SetInverted(bool Value) override;
  bool GetLabelsAsSeriesTitles() const { return FLabelsAsTitles; }
  void SetLabelsAsSeriesTitles(bool Value);

 private:
  bool FLabelsAsTitles = true;
};

}  // namespace zel
