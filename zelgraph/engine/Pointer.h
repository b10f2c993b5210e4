// The series pointer: the marker drawn at a series point (16 styles, flat or as a 3D solid),
// with its hit test and the axis margins that keep markers at the edges whole; and the pointer
// of the line-series family with optional private pointers per point.
#pragma once

#include <cstdint>
#include <vector>

#include "zelgraph/engine/Shapes.h"

namespace zel {

class TChartSeries;
class TZelPicture;

enum class TSeriesPointerStyle {
  psRectangle, psCircle, psTriangle, psDownTriangle, psCross, psDiagCross, psStar, psDiamond,
  psSmallDot, psNothing, psLeftTriangle, psRightTriangle, psHexagon, psVisual, psDonut, psArrow
};
enum class TPointerSizeUnits { suPixels, suAxis };
ZEL_ENUM_NAMES(TSeriesPointerStyle, "psRectangle", "psCircle", "psTriangle", "psDownTriangle", "psCross", "psDiagCross",
               "psStar", "psDiamond", "psSmallDot", "psNothing", "psLeftTriangle", "psRightTriangle", "psHexagon",
               "psVisual", "psDonut", "psArrow");
ZEL_ENUM_NAMES(TPointerSizeUnits, "suPixels", "suAxis");

class TSeriesPointer : public TZelCustomShapeBrushPen {
  ZEL_CLASS(TSeriesPointer, TZelCustomShapeBrushPen)
  ZEL_PUBLISHED_PROPS
 public:
  // With an owner series the parent panel is the series' chart.
  explicit TSeriesPointer(TChartSeries* AOwner);
  ~TSeriesPointer() override;

  void Assign(TPersistent* Source) override;

  // Draws at (X, Y) on the parent's canvas with the pointer's sizes.
  void Draw(int X, int Y, TAlphaColor Color, TSeriesPointerStyle Style);
  void Draw(int X, int Y);
  void Draw(TPointF P);
  // The shape Style at (X, Y) with half sizes H (horizontal) and V (vertical).
  void DrawPointer(TCanvas3D* ACanvas, bool Is3D, int X, int Y, int H, int V, TAlphaColor ColorValue,
                   TSeriesPointerStyle AStyle);
  void PrepareCanvas(TCanvas3D* ACanvas, TAlphaColor ColorValue);
  // The pen and brush colours PrepareCanvas gives the canvas for ColorValue.
  TAlphaColor PenColorFor(TAlphaColor ColorValue) const;
  TAlphaColor BrushColorFor(TAlphaColor ColorValue) const;
  // Whether drawing with ColorValue sets every pixel it touches to a colour of its own on a
  // canvas that replaces pixels (TZelCanvas::ReplacesPixels): opaque plain colours, no
  // transparency, shadow, emboss or picture. Which pixels it touches does not depend on the
  // colour.
  bool DrawsOpaque(TAlphaColor ColorValue) const;
  // PrepareCanvas with the brush colour on the parent's canvas.
  void Prepare();
  // Whether Point lies on a shape of Style drawn at (X, Y).
  bool Clicked(TSeriesPointerStyle AStyle, TPointF Point, int X, int Y) const;

  void CalcSize(int& H, int& V) const;
  void CalcHorizMargins(int& LeftMargin, int& RightMargin) const;
  void CalcVerticalMargins(int& TopMargin, int& BottomMargin) const;

  int GetStartZ() const;
  int GetMiddleZ() const;
  int GetEndZ() const;

  // Properties.
  bool GetDark3D() const { return FDark3D; }
  void SetDark3D(bool Value);
  std::int32_t GetDarkPen() const { return FDarkPen; }
  void SetDarkPen(std::int32_t Value);
  std::int32_t GetDepth() const { return FDepth; }
  void SetDepth(std::int32_t Value);
  bool GetDraw3D() const { return FDraw3D; }
  void SetDraw3D(bool Value);
  bool GetFullGradient() const { return FFullGradient; }
  void SetFullGradient(bool Value);
  bool IsFullGradientStored() const { return FFullGradient != DefaultFullGradient; }
  std::int32_t GetHorizSize() const { return FHorizSize; }
  // Values of 0 or less become 1.
  void SetHorizSize(std::int32_t Value);
  std::int32_t GetVertSize() const { return FVertSize; }
  void SetVertSize(std::int32_t Value);
  // The larger half size; setting sets both.
  std::int32_t GetSize() const { return FHorizSize > FVertSize ? FHorizSize : FVertSize; }
  void SetSize(std::int32_t Value);
  float GetSizeFloat() const { return FSizeFloat; }
  void SetSizeFloat(float Value) { FSizeFloat = Value; }
  TPointerSizeUnits GetSizeUnits() const { return FSizeUnits; }
  void SetSizeUnits(TPointerSizeUnits Value) { FSizeUnits = Value; }
  bool GetInflateMargins() const { return FInflate; }
  void SetInflateMargins(bool Value);
  TSeriesPointerStyle GetStyle() const { return FStyle; }
  void SetStyle(TSeriesPointerStyle Value);
  TZelTransparency GetTransparency() const { return FTransparency; }
  void SetTransparency(TZelTransparency Value);
  TChartSeries* GetSeries() const { return FSeries; }
  TAlphaColor GetColor() const;
  void SetColor(TAlphaColor Value);

  // Created on first read; nullptr frees, another value is copied in.
  TZelEmboss* GetEmboss();
  void SetEmboss(TZelEmboss* Value);
  TZelEmboss* ExistingEmboss() const { return FEmboss; }
  TZelPicture* GetPicture();
  void SetPicture(TZelPicture* Value);
  TZelPicture* ExistingPicture() const { return FPicture; }
  TZelShadow* GetShadow();
  void SetShadow(TZelShadow* Value);
  TZelShadow* ExistingShadow() const { return FShadow; }
  TZelGradient* GetGradient();
  void SetGradient(TZelGradient* Value);

  bool AllowChangeSize = true;
  bool DefaultFullGradient = false;
  std::int32_t Z = 0;

 protected:
  // A value of the series' vertical axis as a pixel size (the value itself without an axis).
  int AxisSize(double Value) const;

  bool FDark3D = true;
  std::int32_t FDarkPen = 0;
  std::int32_t FDepth = 0;
  bool FDraw3D = true;
  TZelEmboss* FEmboss = nullptr;  // owned
  bool FFullGradient = false;
  std::int32_t FHorizSize = 4;
  bool FInflate = true;
  TZelPicture* FPicture = nullptr;  // owned
  TChartSeries* FSeries;
  TZelShadow* FShadow = nullptr;  // owned
  float FSizeFloat = 0;
  TPointerSizeUnits FSizeUnits = TPointerSizeUnits::suPixels;
  TSeriesPointerStyle FStyle = TSeriesPointerStyle::psRectangle;
  TZelTransparency FTransparency = 0;
  std::int32_t FVertSize = 4;
};

// The pointer of the line-series family: the shared settings plus an optional private pointer
// per point.
class TSeriesPointerItems : public TSeriesPointer {
  ZEL_CLASS(TSeriesPointerItems, TSeriesPointer)
 public:
  using TSeriesPointer::TSeriesPointer;
  ~TSeriesPointerItems() override;

  // The private pointer of point Index, created as a copy of the shared settings when missing.
  TSeriesPointer* Get(std::int32_t Index);
  // Makes Pointer (taken over) the private pointer of Index, freeing the old one; nullptr frees
  // the private pointer of Index.
  void Put(std::int32_t Index, TSeriesPointer* Pointer);
  // The private pointer of Index when it exists, else the shared settings.
  TSeriesPointer* InternalGet(std::int32_t Index);
  void Delete(std::int32_t Index);
  // Exchanges the private pointers of two points (when the list reaches them).
  void Exchange(std::int32_t A, std::int32_t B);
  std::int32_t Count() const { return static_cast<std::int32_t>(IList.size()); }
  void Clear();

 private:
  std::vector<TSeriesPointer*> IList;  // owned entries, nullptr where none
};

}  // namespace zel
