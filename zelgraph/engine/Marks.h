// Series marks: the small labelled boxes a series shows beside its points. The marks object of
// a series (a text shape), the automatic-text options shared with axis labels, the per-point
// positions and custom items (streamed as "Items"), the colour symbol, drawing one mark with its
// callout and symbol, the anti-overlap test and the hit test.
#pragma once

#include <cstdint>
#include <algorithm>
#include <climits>
#include <functional>
#include <memory>
#include <vector>

#include "platform/Classes.h"
#include "platform/Geometry.h"
#include "zelgraph/engine/Callout.h"
#include "zelgraph/engine/TextShape.h"

namespace zel {

class TChartSeries;
class TCustomAxisPanel;
class TSeriesMarks;
class TStringList;
class TStream;

// The platform's rectangle intersection: true when the intersection is not empty.
bool ZelRectIntersects(const TRectF& R1, const TRectF& R2);
bool ZelRectIntersects(TRectF& Out, const TRectF& R1, const TRectF& R2);

// Automatic text options of marks (Move) and axis labels (Trim).
class TAutomaticText : public TPersistent {
  ZEL_CLASS(TAutomaticText, TPersistent)
 public:
  explicit TAutomaticText(TNotifyEvent OnChange = nullptr) : IOnChange(std::move(OnChange)) {}
  void Assign(TPersistent* Source) override;

  bool GetHide() const { return FHide; }
  void SetHide(bool Value) { SetOption(FHide, Value); }
  bool GetMove() const { return FMove; }
  void SetMove(bool Value) { SetOption(FMove, Value); }
  bool GetResize() const { return FResize; }
  void SetResize(bool Value) { SetOption(FResize, Value); }
  bool GetRotate() const { return FRotate; }
  void SetRotate(bool Value) { SetOption(FRotate, Value); }
  bool GetTrim() const { return FTrim; }
  void SetTrim(bool Value) { SetOption(FTrim, Value); }
  bool GetWrap() const { return FWrap; }
  void SetWrap(bool Value) { SetOption(FWrap, Value); }

  TNotifyEvent IOnChange;

 private:
  void SetOption(bool& Field, bool Value);

  bool FHide = true;
  bool FMove = true;
  bool FResize = true;
  bool FRotate = true;
  bool FTrim = true;
  bool FWrap = true;
};

// Where the mark of one point is: its box, its arrow, and whether the user placed it.
class TSeriesMarkPosition : public TObject {
 public:
  TPointF ArrowFrom;
  bool ArrowFix = false;
  TPointF ArrowTo;
  bool Custom = false;
  std::int32_t Height = 0;
  TPointF LeftTop;
  std::int32_t Width = 0;
  TPointF MidPoint;
  bool HasMid = false;

  void Assign(const TSeriesMarkPosition* Source);
  TRectF Bounds() const;
  // Moves the box, the arrow end and the mid point; the arrow start stays.
  void Offset(TPointF P);
};

// One entry per point index; nullptr where none exists yet. Owns its entries.
class TSeriesMarksPositions {
 public:
  explicit TSeriesMarksPositions(TSeriesMarks* AMarks) : IMarks(AMarks) {}
  ~TSeriesMarksPositions() { Clear(); }
  TSeriesMarksPositions(const TSeriesMarksPositions&) = delete;
  TSeriesMarksPositions& operator=(const TSeriesMarksPositions&) = delete;

  std::int32_t Count() const { return static_cast<std::int32_t>(FItems.size()); }
  // The entry of Index, nullptr past the end. The entry may be changed through the pointer: the
  // call counts as a change (Version).
  TSeriesMarkPosition* Get(std::int32_t Index) const;
  // The entry of Index for reading, nullptr past the end.
  const TSeriesMarkPosition* Peek(std::int32_t Index) const {
    return Index < 0 || Index >= Count() ? nullptr : FItems[static_cast<std::size_t>(Index)];
  }
  // Changes with every change of the entries, and with every Get: what was worked out from the
  // entries holds while it stays.
  std::uint64_t Version() const { return FVersion; }
  // Stores a copy of Position at Index as a custom position (the list grows with nullptr entries).
  void Put(std::int32_t Index, const TSeriesMarkPosition* Position);
  void Automatic(std::int32_t Index);
  bool ExistCustom() const;
  // ArrowTo and ArrowFrom := (X, Y); the box centred above it; the symbol follows.
  void MoveTo(TSeriesMarkPosition* Position, float X, float Y);
  void Add(TSeriesMarkPosition* Position) {
    FItems.push_back(Position);
    Changed(Count() - 1);
  }
  // The entry of Index, created (not custom) when missing.
  TSeriesMarkPosition* Ensure(std::int32_t Index);
  // Removes (and frees) the entries of Quantity points from Start, as far as the list reaches.
  void Delete(std::int32_t Start, std::int32_t Quantity = 1);
  void Exchange(std::int32_t A, std::int32_t B);
  void Clear();
  // The lowest index whose entry was created, replaced, moved or removed since the last call
  // (INT_MAX for none); the call starts a new count. What was worked out from the entries below
  // it still holds.
  std::int32_t TakeLowestChanged();
  // Notes a change of the entry of Index made through its pointer.
  void Changed(std::int32_t Index) {
    FLowestChanged = std::min(FLowestChanged, Index);
    ++FVersion;
  }

  TSeriesMarks* IMarks;

 private:
  std::vector<TSeriesMarkPosition*> FItems;
  std::int32_t FLowestChanged = 0;
  mutable std::uint64_t FVersion = 0;
};

enum class TSeriesMarksStyle {
  smsValue, smsPercent, smsLabel, smsLabelPercent, smsLabelValue, smsLegend, smsPercentTotal,
  smsLabelPercentTotal, smsXValue, smsXY, smsSeriesTitle, smsPointIndex, smsPercentRelative,
  smsLabelPercentValue, smsLabelOrValue
};
ZEL_ENUM_NAMES(TSeriesMarksStyle, "smsValue", "smsPercent", "smsLabel", "smsLabelPercent", "smsLabelValue", "smsLegend",
               "smsPercentTotal", "smsLabelPercentTotal", "smsXValue", "smsXY", "smsSeriesTitle", "smsPointIndex",
               "smsPercentRelative", "smsLabelPercentValue", "smsLabelOrValue");

// A text shape whose style decides the text it shows for a point.
class TSeriesMarkShape : public TCustomTextShape {
  ZEL_CLASS(TSeriesMarkShape, TCustomTextShape)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TSeriesMarkShape(TCustomZelPanel* AOwner);

  void Assign(TPersistent* Source) override;

  TSeriesMarksStyle GetStyle() const { return FMarkerStyle; }
  // Repaints the panel, or without a panel the owning series.
  void SetStyle(TSeriesMarksStyle Value);

  TSeriesMarks* IParent = nullptr;

 protected:
  TSeriesMarksStyle FMarkerStyle = TSeriesMarksStyle::smsLabelOrValue;
};

// A custom mark of one point.
class TMarksItem : public TCustomTextShape {
  ZEL_CLASS(TMarksItem, TCustomTextShape)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TMarksItem(TCustomZelPanel* AOwner);
  ~TMarksItem() override;

  // Sets ICustomText.
  void ChangedText() override;
  // The text as a list of lines, created on first access and filled from the text; changing
  // the list stores its joined lines as the text (ICustomText on, the panel told).
  TStringList* GetLines();
  // Copies the lines into the text; nullptr frees the list and clears the text and ICustomText.
  void SetLines(TStringList* Value);

  // "Text.Strings" (the item's own text) and the changed colour, transparency and visibility.
  void DefineProperties(TFiler* Filer) override;

  bool ICustomText = false;
  // The marks the item copies (set by the items list).
  TSeriesMarks* IMarks = nullptr;

 private:
  void LinesChanged();
  TStringList* IText = nullptr;  // owned
  bool IFilling = false;
};

// Per-point custom marks; nullptr where none exists. Owns its entries.
class TMarksItems {
 public:
  explicit TMarksItems(TSeriesMarks* AMarks) : IMarks(AMarks) {}
  ~TMarksItems() { Clear(); }
  TMarksItems(const TMarksItems&) = delete;
  TMarksItems& operator=(const TMarksItems&) = delete;

  std::int32_t Count() const { return static_cast<std::int32_t>(FItems.size()); }
  // The item of Index, created as a copy of the marks when missing (the list grows with nullptr
  // entries). nullptr for a negative Index.
  TMarksItem* Get(std::int32_t Index);
  // The item of Index or nullptr, creating nothing.
  TMarksItem* InternalGet(std::int32_t Index) const;
  // Removes (and frees) the items of Quantity points from Start, as far as the list reaches.
  void Delete(std::int32_t Start, std::int32_t Quantity = 1);
  void Exchange(std::int32_t A, std::int32_t B);
  void Clear();

  TSeriesMarks* IMarks;
  bool ILoadingCustom = false;

 private:
  std::vector<TMarksItem*> FItems;
};

// The small coloured square drawn inside a mark.
class TSeriesMarksSymbol : public TZelCustomShape {
  ZEL_CLASS(TSeriesMarksSymbol, TZelCustomShape)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TSeriesMarksSymbol(TCustomZelPanel* AOwner);
  bool ShouldDraw() const { return GetVisible() && !GetTransparent(); }
};

class TSeriesMarks : public TSeriesMarkShape {
  ZEL_CLASS(TSeriesMarks, TSeriesMarkShape)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TSeriesMarks(TChartSeries* ASeries);
  ~TSeriesMarks() override;

  void Assign(TPersistent* Source) override;
  // Also gives the panel to the callout and the symbol.
  void SetParent(TCustomZelPanel* Value) override;
  // The chart of the series (when it is a chart panel, it becomes the marks' panel).
  void SetParent(TCustomAxisPanel* Value);
  // Invalidates the panel, or without one repaints the series.
  void Repaint() override;
  TZelCustomShapeClass GetChildClass() const override;
  void InitEmboss(TZelEmboss* Value) override;
  void InitShadow(TZelShadow* Value) override;
  // Direction 3 and colours 0xFFC0C0C0 to 0xFFFFFFFF as defaults (the legend uses it too).
  static void InitGradient(TZelGradient* Value);
  // Defines "Items".
  void DefineProperties(TFiler* Filer) override;

  TChartSeries* GetSeries() const { return FSeries; }
  TCustomAxisPanel* GetParentChart() const { return FParentChart; }

  // Drawing one mark.
  void InternalDraw(std::int32_t Index, TAlphaColor AColor, const String& St, TSeriesMarkPosition* Position);
  void DrawItem(TZelCustomShape* Shape, TAlphaColor AColor, const String& St, TSeriesMarkPosition* Position);
  void UsePosition(std::int32_t Index, TSeriesMarkPosition*& Position);
  // Hands the mark text St to a mark shape (the marks or a custom item) for measuring and
  // drawing; a custom item with a text of its own keeps it.
  static void GiveText(TCustomTextShape* Shape, const String& St);
  // The custom item of Index when one exists, else the marks themselves.
  TZelCustomShape* MarkItem(std::int32_t Index) const;
  TRectF TotalBounds(std::int32_t Index, TSeriesMarkPosition* Position) const;
  // Whether the mark of Index may be drawn, moving it out of the way of earlier marks with
  // AutoPosition: the marks of First .. Index - 1, latest first, each met at most once.
  bool AntiOverlap(std::int32_t First, std::int32_t Index, TSeriesMarkPosition* Position);
  // The marks of one paint are placed between these two (TMarksPlacingScope): meanwhile the
  // overlap test meets only the marks already placed near the new one, the frame margins of
  // the marks are worked out once, and a mark measured for its position is not measured again
  // to be drawn.
  void BeginPlacing();
  void EndPlacing();
  // The mark shape was just measured for the position of a mark (inside a placing pass).
  void NoteMeasured(TCustomTextShape* Shape);
  // Rectangle tests AntiOverlap made, and its searches of the marks placed near a new one (read
  // by tests).
  std::int64_t IOverlapTests = 0;
  std::int64_t IOverlapSearches = 0;
  // The index of the mark at P, -1 for none: the highest index whose box holds P. Where the
  // marks are drawn flat, the boxes are kept in cells (until the positions change) and a call
  // tests only the boxes of P's cell.
  std::int32_t Clicked(TPointF P);
  // Boxes Clicked tested, and rectangles it compared in the cells (read by tests).
  std::int64_t IClickTests = 0;
  std::int32_t Clicked(int X, int Y) { return Clicked(TPointF(float(X), float(Y))); }
  TPointF ConvertTo2D(TPointF Q, TPointF P) const;
  // Multi-line width of the mark text of point Index in the marks' text format.
  std::int32_t TextWidth(std::int32_t Index);
  // The widest TextWidth of the points whose mark (or custom item) is visible, 0 for none. It is
  // remembered until what the texts are made of changes (the values, labels, style, formats,
  // title, the items shown and their texts, the font); with a mark text handler, or texts
  // made by an axis or the legend, the texts are measured at each call.
  std::int32_t MaxTextWidth();
  // Mark texts TextWidth measured (read by tests).
  std::int64_t ITextWidths = 0;
  // Lets the callout, when created, lift a position by the arrow length.
  void ApplyArrowLength(TSeriesMarkPosition* Position) const;
  // Clears Custom of every existing position entry and repaints the series.
  void ResetPositions();
  // Empties the positions, and the items unless they were read from a stream.
  void Clear();
  // Drops the positions and items of Quantity points from Start (when they exist), moving later
  // ones down.
  void DeletePoints(std::int32_t Start, std::int32_t Quantity);
  void DeletePoint(std::int32_t Index) { DeletePoints(Index, 1); }
  // Exchanges the positions and items of two points.
  void SwapPoints(std::int32_t A, std::int32_t B);

  // Properties.
  TSeriesMarksPositions* GetPositions() { return &FPositions; }
  TMarksItems* GetItems() { return &FItems; }
  TMarksItem* GetItem(std::int32_t Index) { return FItems.Get(Index); }
  // The rotation of every mark (drawn modulo 360); stored through the series.
  std::int32_t GetAngle() const { return FAngle; }
  void SetAngle(std::int32_t Value);
  TAutomaticText* GetAutomatic() const { return FAutomatic; }
  bool GetAutoPosition() const { return FAutomatic->GetMove(); }
  void SetAutoPosition(bool Value) { FAutomatic->SetMove(Value); }
  TAlphaColor GetBackColor() const { return GetColor(); }
  void SetBackColor(TAlphaColor Value) { SetColor(Value); }
  TMarksCallout* GetCallout();
  void SetCallout(TMarksCallout* Value);
  TMarksCallout* ExistingCallout() const { return FCallout; }
  // The callout's arrow pen and length.
  TZelPen* GetArrow();
  void SetArrow(TZelPen* Value);
  std::int32_t GetArrowLength();
  void SetArrowLength(std::int32_t Value);
  bool GetClip() const { return FClip; }
  void SetClip(bool Value);
  std::int32_t GetDrawEvery() const { return FDrawEvery; }
  // Values below 1 are taken as 1.
  void SetDrawEvery(std::int32_t Value);
  bool GetFontSeriesColor() const { return FFontSeriesColor; }
  void SetFontSeriesColor(bool Value);
  bool GetMultiLine() const { return FMultiLine; }
  void SetMultiLine(bool Value);
  bool GetOnTop() const { return FOnTop; }
  void SetOnTop(bool Value);
  bool GetSoftClip() const { return FSoftClip; }
  void SetSoftClip(bool Value);
  TSeriesMarksSymbol* GetSymbol();
  void SetSymbol(TSeriesMarksSymbol* Value);
  TSeriesMarksSymbol* ExistingSymbol() const { return FSymbol; }
  bool GetUseSeriesTransparency() const { return FUseSeriesTransparency; }
  void SetUseSeriesTransparency(bool Value);
  std::int32_t GetZPosition() const { return FZPosition; }
  void SetZPosition(std::int32_t Value) { FZPosition = Value; }

  // The "Items" stream: a 32-bit count, then each item's properties in a component block.
  void ReadItems(TStream* Stream);
  void WriteItems(TStream* Stream);

 private:
  void SetSeriesBool(bool& Field, bool Value);
  void SetSeriesInt(std::int32_t& Field, std::int32_t Value);
  // What TotalBounds adds to a position's box for the frame of Shape.
  struct TFrameMargins {
    bool Opaque = false, Pen = false, Shadow = false, Emboss = false;
    float PenWidth = 0;
    int ShadowH = 0, ShadowV = 0, EmbossH = 0, EmbossV = 0;
  };
  TFrameMargins FrameMargins(const TZelCustomShape* Shape) const;
  TRectF TotalBounds(const TFrameMargins& M, TSeriesMarkPosition* Position) const;
  class TPlacing;
  std::unique_ptr<TPlacing> FPlacing;
  // The boxes of the positions in cells for Clicked, with what they were worked out from.
  struct TClickCells;
  std::unique_ptr<TClickCells> FClickCells;
  // Whether ConvertTo2D leaves every point where it is (the marks are drawn flat).
  bool DrawnFlat() const;
  struct TWidest;
  std::unique_ptr<TWidest> FWidest;

  TAutomaticText* FAutomatic = nullptr;  // owned
  TMarksCallout* FCallout = nullptr;     // owned
  bool FClip = false;
  std::int32_t FDrawEvery = 1;
  bool FFontSeriesColor = false;
  TMarksItems FItems{this};
  bool FMultiLine = false;
  bool FOnTop = false;
  TSeriesMarksPositions FPositions{this};
  bool FUseSeriesTransparency = true;
  TChartSeries* FSeries;
  bool FSoftClip = false;
  TSeriesMarksSymbol* FSymbol = nullptr;  // owned
  std::int32_t FZPosition = 0;
  TCustomAxisPanel* FParentChart = nullptr;
};

// Brackets the placing of the marks of one paint (BeginPlacing / EndPlacing).
class TMarksPlacingScope {
 public:
  explicit TMarksPlacingScope(TSeriesMarks* AMarks) : FMarks(AMarks) {
    if (FMarks) FMarks->BeginPlacing();
  }
  ~TMarksPlacingScope() {
    if (FMarks) FMarks->EndPlacing();
  }
  TMarksPlacingScope(const TMarksPlacingScope&) = delete;
  TMarksPlacingScope& operator=(const TMarksPlacingScope&) = delete;

 private:
  TSeriesMarks* FMarks;
};

}  // namespace zel
