// The chart's legend: a positioned text shape that lists the chart's series (one line each,
// optionally with check boxes that switch them on and off), the values of one series, the last
// value of each series, or the series groups. Each line has a symbol and up to two text columns.
//
// The chart calls CalcRect before the series are drawn (it sizes and places the legend, prepares
// the item texts and takes the legend's room from the chart rectangle), DrawLegend to draw it,
// Clicked to find the item under the mouse and DoMouseDown for a press on an item.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "platform/Classes.h"
#include "platform/Geometry.h"
#include "platform/Types.h"
#include "zelgraph/chart/Titles.h"
#include "zelgraph/engine/Panel.h"
#include "zelgraph/engine/Series.h"
#include "zelgraph/engine/TextShape.h"

namespace zel {

class TCustomAxisPanel;
class TCustomChart;
class TCustomChartLegend;
class TChartSeries;
class TZelEmboss;
class TZelFont;
class TZelGradient;
class TZelHiddenPen;
class TZelPen;
class TZelSelected;
class TZelShadow;

enum class TLegendAlignment { laLeft, laRight, laTop, laBottom };
enum class TCheckBoxesStyle { cbsCheck, cbsRadio };
enum class TLegendJustify { ljAutomatic, ljYes, ljNo };
enum class TLegendStyle { lsAuto, lsSeries, lsValues, lsLastValues, lsSeriesGroups };
enum class TLegendSymbolSize { lcsPercent, lcsPixels };
enum class TLegendSymbolPosition { spLeft, spRight };
ZEL_ENUM_NAMES(TLegendAlignment, "laLeft", "laRight", "laTop", "laBottom");
ZEL_ENUM_NAMES(TCheckBoxesStyle, "cbsCheck", "cbsRadio");
ZEL_ENUM_NAMES(TLegendJustify, "ljAutomatic", "ljYes", "ljNo");
ZEL_ENUM_NAMES(TLegendStyle, "lsAuto", "lsSeries", "lsValues", "lsLastValues", "lsSeriesGroups");
ZEL_ENUM_NAMES(TLegendSymbolSize, "lcsPercent", "lcsPixels");
ZEL_ENUM_NAMES(TLegendSymbolPosition, "spLeft", "spRight");

class TLegendSymbol;
// Draws a symbol instead of the series: the symbol, the series (or nullptr), the value index
// and the rectangle.
using TSymbolDrawEvent =
    std::function<void(TLegendSymbol* Sender, TChartSeries* Series, std::int32_t ValueIndex, const TRectF& R)>;
// Lets a user widen or heighten the legend by changing Size.
using TLegendCalcSize = std::function<void(TCustomChartLegend* Sender, std::int32_t& Size)>;

// Broadcast to the chart's listeners when the legend's check boxes change.
class TZelLegendEvent : public TZelEvent {
  ZEL_CLASS(TZelLegendEvent, TZelEvent)
};

// The symbol drawn before (or after) each legend text.
class TLegendSymbol : public TPersistent {
  ZEL_CLASS(TLegendSymbol, TPersistent)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TLegendSymbol(TCustomChartLegend* ALegend);
  ~TLegendSymbol() override;

  void Assign(TPersistent* Source) override;

  // One plain symbol of Color in R (shadow, emboss, gradient and pen of the symbol).
  void Draw(TAlphaColor Color, const TRectF& R);
  // Height in pixels: Height in pixel units; in percent units of the item height (less 4) up to
  // 100 percent, else the height of "W".
  std::int32_t CalcHeight();
  // Width for texts W wide: 0 when hidden, CalcHeight when squared, Width in pixel units, else
  // Width percent of W.
  std::int32_t CalcWidth(std::int32_t W);

  bool GetContinuous() const { return FContinuous; }
  void SetContinuous(bool Value);
  bool GetDefaultPen() const { return FDefaultPen; }
  void SetDefaultPen(bool Value);
  std::int32_t GetHeight() const { return FHeight; }
  void SetHeight(std::int32_t Value);
  TLegendSymbolSize GetHeightUnits() const { return FHeightUnits; }
  void SetHeightUnits(TLegendSymbolSize Value);
  TLegendSymbolPosition GetPosition() const { return FPosition; }
  void SetPosition(TLegendSymbolPosition Value);
  bool GetSquared() const { return FSquared; }
  void SetSquared(bool Value);
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool Value);
  std::int32_t GetWidth() const { return FWidth; }
  void SetWidth(std::int32_t Value);
  TLegendSymbolSize GetWidthUnits() const { return FWidthUnits; }
  void SetWidthUnits(TLegendSymbolSize Value);
  TZelPen* GetPen() const { return FPen; }
  void SetPen(TZelPen* Value);
  TZelGradient* GetGradient() const { return FGradient; }
  void SetGradient(TZelGradient* Value);
  TZelShadow* GetShadow() const { return FShadow; }
  void SetShadow(TZelShadow* Value);
  TZelEmboss* GetEmboss() const { return FEmboss; }
  void SetEmboss(TZelEmboss* Value);

  TSymbolDrawEvent OnDraw;

 private:
  void Changed();
  template <typename T>
  void SetField(T& Field, T Value) {
    if (Field != Value) {
      Field = Value;
      Changed();
    }
  }

  bool FContinuous = false;
  bool FDefaultPen = true;
  TZelEmboss* FEmboss = nullptr;  // owned
  TZelGradient* FGradient = nullptr;  // owned
  std::int32_t FHeight = 100;
  TLegendSymbolSize FHeightUnits = TLegendSymbolSize::lcsPercent;
  TZelPen* FPen = nullptr;  // owned
  TLegendSymbolPosition FPosition = TLegendSymbolPosition::spLeft;
  TZelShadow* FShadow = nullptr;  // owned
  bool FSquared = true;
  bool FVisible = true;
  std::int32_t FWidth = 20;
  TLegendSymbolSize FWidthUnits = TLegendSymbolSize::lcsPercent;
  TCustomChartLegend* ILegend;
};

// One recorded or custom legend item: where and how its texts were drawn, the two texts and
// the symbol's rectangle. Setting Align, Text or Text2 makes the legend's items custom; setting
// Left or Top makes them custom and custom-positioned.
class TLegendItem : public TPersistent {
  ZEL_CLASS(TLegendItem, TPersistent)
 public:
  explicit TLegendItem(TCustomChartLegend* ALegend);
  ~TLegendItem() override;

  void Assign(TPersistent* Source) override;

  // The canvas text alignment used (the platform's flags).
  std::int32_t GetAlign() const { return FAlign; }
  void SetAlign(std::int32_t Value);
  std::int32_t GetLeft() const { return FLeft; }
  void SetLeft(std::int32_t Value);
  std::int32_t GetTop() const { return FTop; }
  void SetTop(std::int32_t Value);
  const String& GetText() const { return FText; }
  void SetText(const String& Value);
  const String& GetText2() const { return FText2; }
  void SetText2(const String& Value);
  const TRectF& GetSymbolRect() const { return FSymbol; }
  // The item's own font, created on first use as a copy of the legend's font; nullptr frees it.
  TZelFont* GetFont();
  TZelFont* ExistingFont() const { return FFont; }
  void SetFont(TZelFont* Value);
  TCustomChartLegend* GetLegend() const { return ILegend; }

 private:
  friend class TCustomChartLegend;
  void MarkCustom(bool Position);

  std::int32_t FAlign = 0;
  TZelFont* FFont = nullptr;  // owned
  std::int32_t FLeft = 0;
  TRectF FSymbol{0, 0, 0, 0};
  String FText;
  String FText2;
  std::int32_t FTop = 0;
  TCustomChartLegend* ILegend;
};

// The legend's items: recorded on every draw, or given by the user (Custom).
class TLegendItems : public TPersistent {
  ZEL_CLASS(TLegendItems, TPersistent)
 public:
  explicit TLegendItems(TCustomChartLegend* ALegend) : ILegend(ALegend) {}
  ~TLegendItems() override;

  // Grows the list with empty slots up to Index and creates the item there on first access.
  // A negative index raises LegendException.
  TLegendItem* GetItem(std::int32_t Index);
  TLegendItem* operator[](std::int32_t Index) { return GetItem(Index); }
  // The item at Index when it exists (never creates).
  TLegendItem* ExistingItem(std::int32_t Index) const;
  std::int32_t Count() const { return static_cast<std::int32_t>(FItems.size()); }
  // Frees the items and repaints.
  void Clear();
  // Frees the items only.
  void ClearItems();

  bool GetCustom() const { return FCustom; }
  void SetCustom(bool Value);
  bool GetCustomPosition() const { return FCustomPosition; }
  void SetCustomPosition(bool Value);

 private:
  bool FCustom = false;
  bool FCustomPosition = false;
  std::vector<TLegendItem*> FItems;  // owned; nullptr for empty slots
  TCustomChartLegend* ILegend;
};

// The title above the legend's items: flat, transparent, bold.
class TLegendTitle : public TStringsShape {
  ZEL_CLASS(TLegendTitle, TStringsShape)
 public:
  explicit TLegendTitle(TCustomZelPanel* AOwner);
  // The text, then the shape's properties.
  void Assign(TPersistent* Source) override;
  void InitShadow(TZelShadow* Value) override;
  void InitEmboss(TZelEmboss* Value) override;
};

class TCustomChartLegend : public TZelCustomShapePosition {
  ZEL_CLASS(TCustomChartLegend, TZelCustomShapePosition)
  ZEL_PUBLISHED_PROPS
 public:
  // AOwner is the chart (an axis panel).
  explicit TCustomChartLegend(TCustomZelPanel* AOwner);
  ~TCustomChartLegend() override;

  void Assign(TPersistent* Source) override;

  // --- model ---
  // Sets the style in use (lsAuto resolved) and returns it.
  TLegendStyle CalcLegendStyle();
  // The style in use after the last CalcLegendStyle.
  TLegendStyle GetInternalLegendStyle() const { return InternalLegendStyle; }
  // The text of item Index by the style in use (before the chart's OnGetLegendText).
  String FormattedLegend(std::int32_t Index);
  // The legend text of a point: empty for -1, else the series' legend string in TextStyle with
  // line separators turned into spaces.
  String FormattedValue(TChartSeries* Series, std::int32_t ValueIndex);
  // The series whose values are listed: Series when set, else the first active series shown in
  // the legend (the chart's first active series, or that series when none is shown).
  TChartSeries* GetLegendSeries() const;
  bool GetVertical() const {
    return FAlignment == TLegendAlignment::laLeft || FAlignment == TLegendAlignment::laRight;
  }
  TCustomAxisPanel* GetChart() const;

  // --- layout ---
  std::int32_t CalcItemHeight();
  std::int32_t FirstItemTop();
  std::int32_t CalcItemWidth(std::int32_t Column, std::int32_t Index);
  std::int32_t CalcItemWidthColor(std::int32_t W);
  std::int32_t AllColumnsWidth(std::int32_t Index);
  std::int32_t TitleWidth();
  bool CalcInverted();
  // Sizes and places the legend, prepares its item texts and takes its room from the chart
  // rectangle.
  void CalcRect();
  TLegendItem* GetItem(std::int32_t Index) { return FItems->GetItem(Index); }
  const TRectF& GetRectLegend() const { return ShapeBounds; }

  // --- drawing and mouse ---
  void DrawLegend();
  // The item under P, or -1.
  std::int32_t Clicked(TPointF P);
  std::int32_t Clicked(std::int32_t X, std::int32_t Y) { return Clicked(TPointF(float(X), float(Y))); }
  // The hand cursor while the Selected settings exist and are visible, else Cursor.
  TCursor CalcCursor() const;
  // CheckBoxes is on and the style in use does not list values.
  bool HasCheckBoxes() const;
  // Visible, and either check boxes or some active series.
  bool ShouldDraw() const;
  // A press on item ItemIndex: selects it and, with check boxes, switches series (or groups).
  // Returns whether the press was handled.
  bool DoMouseDown(std::int32_t X, std::int32_t Y, std::int32_t ItemIndex);
  // Repaints, then tells the chart's listeners (TZelLegendEvent).
  void CheckBoxChanged();

  // --- properties ---
  TLegendAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TLegendAlignment Value);
  bool GetCheckBoxes() const { return FCheckBoxes; }
  void SetCheckBoxes(bool Value);
  TCheckBoxesStyle GetCheckBoxesStyle() const { return FCheckBoxesStyle; }
  void SetCheckBoxesStyle(TCheckBoxesStyle Value);
  std::int32_t GetColorWidth() const;
  void SetColorWidth(std::int32_t Value) { SetSymbolWidth(Value); }
  void SetSymbolWidth(std::int32_t Value);
  bool GetCurrentPage() const { return FCurrentPage; }
  void SetCurrentPage(bool Value);
  TZelHiddenPen* GetDividingLines() const { return FDividingLines; }
  void SetDividingLines(TZelPen* Value);
  bool GetDrawBehind() const { return FDrawBehind; }
  void SetDrawBehind(bool Value);
  std::int32_t GetFirstValue() const { return FFirstValue; }
  // A negative value raises LegendException (ZelMsg_LegendFirstValue).
  void SetFirstValue(std::int32_t Value);
  bool GetFontSeriesColor() const { return FFontSeriesColor; }
  void SetFontSeriesColor(bool Value);
  TZelTransparency GetGlobalTransparency() const { return FGlobalTransp; }
  void SetGlobalTransparency(TZelTransparency Value);
  TLegendJustify GetHorizJustify() const { return FHorizJustify; }
  void SetHorizJustify(TLegendJustify Value);
  std::int32_t GetHorizMargin() const { return FHorizMargin; }
  void SetHorizMargin(std::int32_t Value);
  bool GetInverted() const { return FInverted; }
  void SetInverted(bool Value);
  TLegendItems* GetItems() const { return FItems; }
  std::int32_t GetLeftPercent() const { return FLeftPercent; }
  void SetLeftPercent(std::int32_t Value);
  TLegendStyle GetLegendStyle() const { return FLegendStyle; }
  void SetLegendStyle(TLegendStyle Value);
  std::int32_t GetMaxNumRows() const { return FMaxNumRows; }
  void SetMaxNumRows(std::int32_t Value);
  TZelUnits GetPositionUnits() const { return FPosUnits; }
  void SetPositionUnits(TZelUnits Value);
  bool GetResizeChart() const { return FResizeChart; }
  void SetResizeChart(bool Value);
  // Created on first access; nullptr frees, another value is copied in.
  TZelSelected* GetSelected();
  TZelSelected* ExistingSelected() const { return FSelected; }
  void SetSelected(TZelSelected* Value);
  TChartSeries* GetSeries() const { return FSeries; }
  void SetSeries(TChartSeries* Value);
  TLegendSymbol* GetSymbol() const { return FSymbol; }
  void SetSymbol(TLegendSymbol* Value) { FSymbol->Assign(Value); }
  TLegendTextStyle GetTextStyle() const { return FTextStyle; }
  void SetTextStyle(TLegendTextStyle Value);
  std::int32_t GetTextSymbolGap() const { return FTextSymbolGap; }
  void SetTextSymbolGap(std::int32_t Value);
  // Created on first access; nullptr frees, another value is copied in.
  TLegendTitle* GetTitle();
  TLegendTitle* ExistingTitle() const { return FTitle; }
  void SetTitle(TLegendTitle* Value);
  std::int32_t GetTopPos() const { return FTopLeftPos; }
  void SetTopPos(std::int32_t Value);
  std::int32_t GetTopPercent() const { return FTopPercent; }
  void SetTopPercent(std::int32_t Value);
  std::int32_t GetVertMargin() const { return FVertMargin; }
  void SetVertMargin(std::int32_t Value);
  std::int32_t GetVertSpacing() const { return FVertSpacing; }
  void SetVertSpacing(std::int32_t Value);

  TLegendCalcSize OnCalcSize;

  // --- results of the last layout, read by drawing, clicks and tests ---
  std::int32_t IColorWidth = 0;
  bool ICustomFont = false;
  std::int32_t ILastValue = -1;
  std::int32_t ITotalItems = 0;
  bool IDrawTitle = false;
  std::vector<std::pair<String, String>> IItems;
  bool IJustify = false;
  std::int32_t IMaxWidth = 0;
  std::int32_t ISpaceWidth = 0;
  std::int32_t ItemsTopMargin = 0;
  std::int32_t ItemHeight = 0;
  std::int32_t XLegendBox = 0;
  std::int32_t XLegendText = 0;
  std::int32_t XLegendColor = 0;
  TLegendStyle InternalLegendStyle = TLegendStyle::lsAuto;
  std::int32_t NumCols = 0;
  std::int32_t NumRows = 0;
  bool ColumnWidthAuto = true;
  std::array<std::int32_t, 2> ColumnWidths{0, 0};
  // Left edge of each item of a flowing (not justified) horizontal legend, in drawing order, as
  // the last draw placed them; the hit test finds items by them.
  std::vector<std::int32_t> IItemLefts;

 protected:
  template <typename T>
  void SetField(T& Field, T Value) {
    if (Field != Value) {
      Field = Value;
      Repaint();
    }
  }

  TLegendAlignment FAlignment = TLegendAlignment::laRight;
  bool FCheckBoxes = false;
  TCheckBoxesStyle FCheckBoxesStyle = TCheckBoxesStyle::cbsCheck;
  bool FCurrentPage = true;
  TZelHiddenPen* FDividingLines = nullptr;  // owned
  bool FDrawBehind = false;
  std::int32_t FFirstValue = 0;
  bool FFontSeriesColor = false;
  TZelTransparency FGlobalTransp = 0;
  TLegendJustify FHorizJustify = TLegendJustify::ljAutomatic;
  std::int32_t FHorizMargin = 0;
  bool FInverted = false;
  TLegendItems* FItems = nullptr;  // owned
  std::int32_t FLeftPercent = 0;
  TLegendStyle FLegendStyle = TLegendStyle::lsAuto;
  std::int32_t FMaxNumRows = 0;
  TZelUnits FPosUnits = TZelUnits::muPixels;
  bool FResizeChart = true;
  TZelSelected* FSelected = nullptr;  // owned
  TChartSeries* FSeries = nullptr;
  TLegendSymbol* FSymbol = nullptr;  // owned
  TLegendTextStyle FTextStyle = TLegendTextStyle::ltsLeftValue;
  std::int32_t FTextSymbolGap = 2;
  TLegendTitle* FTitle = nullptr;  // owned
  std::int32_t FTopLeftPos = 10;
  std::int32_t FTopPercent = 0;
  std::int32_t FVertMargin = 0;
  std::int32_t FVertSpacing = 0;

 private:
  // Layout helpers.
  std::int32_t FrameSize();
  std::int32_t CalcTotalItems();
  void GetItemsTexts(bool Inverted);
  std::int32_t CalcColumnsWidth();
  // GetItemsTexts and CalcColumnsWidth for the rows of a horizontal legend, which take every
  // item: remembered for the values of one series while what their texts are made of and the
  // font stay (not for custom items, a text handler or texts an axis makes).
  std::int32_t ItemsTextsAndWidths(bool Inverted);
  struct TItemsWidths {
    TTextWidthKey Key;
    std::array<std::int32_t, 2> ColumnWidths{0, 0};
    std::int32_t Width = 0;
  };
  std::unique_ptr<TItemsWidths> FItemsWidths;
  std::int32_t MaxLegendColumns(std::int32_t W, TLegendJustify Justify, std::int32_t& TotalWidth);
  void CalcVerticalPositions();
  void CalcHorizontalPositions(std::int32_t TotalWidth);
  void CalcSymbolTextPos(std::int32_t X);
  std::int32_t CalcWidths();
  void ResizeVertical();
  void TryResizeChartRect();
  float ChartOffsetP() const;
  std::int32_t ShownSeriesCount() const;
  String ItemText(std::int32_t Index);
  // Drawing helpers.
  void DrawTitle();
  void DrawItems();
  void DrawLegendItem(std::int32_t Index, std::int32_t Position);
  void DrawBox(bool Ticked, std::int32_t Offset, std::int32_t Y);
  void DrawSymbol(TChartSeries* Series, std::int32_t ValueIndex, std::int32_t Index, const TRectF& R);
  bool ItemIsCustom(std::int32_t Position) const;
};

class TChartLegend : public TCustomChartLegend {
  ZEL_CLASS(TChartLegend, TCustomChartLegend)
 public:
  using TCustomChartLegend::TCustomChartLegend;
};

}  // namespace zel
