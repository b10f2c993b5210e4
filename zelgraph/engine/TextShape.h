// Text shapes: a shape that also holds a text of one or more lines (separated by a carriage
// return), its alignment, its format (plain or the library's HTML subset) and inner margins.
// Titles, the legend, axis titles, marks and annotations are text shapes.
#pragma once

#include <cstdint>

#include "platform/Types.h"
#include "zelgraph/engine/Shapes.h"

namespace zel {

enum class TMarginUnits : Byte { maPercentFont, maPercentSize, maPixels };
enum class TVertTextAlign { vtaCenter, vtaTop, vtaBottom };
ZEL_ENUM_NAMES(TMarginUnits, "maPercentFont", "maPercentSize", "maPixels");
ZEL_ENUM_NAMES(TVertTextAlign, "vtaCenter", "vtaTop", "vtaBottom");

// Inner margins of a text shape, in percent of the font (text block) height, in percent of the
// shape's size, or in pixels.
class TMargins : public TPersistent {
  ZEL_CLASS(TMargins, TPersistent)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TMargins(TZelCustomShapeBrushPen* AParent);

  void Assign(TPersistent* Source) override;
  // ILast := all zero.
  void Reset() { ILast = TRectF(0, 0, 0, 0); }
  // The margins in pixels for a shape of Width x Height and a font (text block) of FontSize.
  void Calculate(std::int32_t Width, std::int32_t Height, std::int32_t FontSize);
  std::int32_t HorizSize() const;
  std::int32_t VertSize() const;

  std::int32_t GetLeft() const { return FLeft; }
  void SetLeft(std::int32_t Value);
  std::int32_t GetTop() const { return FTop; }
  void SetTop(std::int32_t Value);
  std::int32_t GetRight() const { return FRight; }
  void SetRight(std::int32_t Value);
  std::int32_t GetBottom() const { return FBottom; }
  void SetBottom(std::int32_t Value);
  TMarginUnits GetUnits() const { return FUnits; }
  void SetUnits(TMarginUnits Value);

  bool IsLeftStored() const { return FLeft != DefaultHoriz; }
  bool IsRightStored() const { return FRight != DefaultHoriz; }
  bool IsTopStored() const { return FTop != DefaultVert; }
  bool IsBottomStored() const { return FBottom != DefaultVert; }
  bool IsUnitsStored() const { return FUnits != TMarginUnits::maPercentFont; }
  // Sets Left and Right and their default.
  void InitHoriz(std::int32_t Value) { FLeft = FRight = DefaultHoriz = Value; }

  std::int32_t DefaultHoriz = 10;
  std::int32_t DefaultVert = 5;
  TRectF ILast{0, 0, 0, 0};
  TZelCustomShapeBrushPen* IParent;

 private:
  void SetValue(std::int32_t& Field, std::int32_t Value);

  std::int32_t FLeft = 10;
  std::int32_t FTop = 5;
  std::int32_t FRight = 10;
  std::int32_t FBottom = 5;
  TMarginUnits FUnits = TMarginUnits::maPercentFont;
};

class TCustomTextShape : public TZelCustomShape {
  ZEL_CLASS(TCustomTextShape, TZelCustomShape)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TCustomTextShape(TCustomZelPanel* AOwner);
  ~TCustomTextShape() override;

  void Assign(TPersistent* Source) override;
  void CalcBounds(TCustomZelPanel* Panel) override;
  void DoDraw(TCustomZelPanel* Panel, const TRectF& R, int Angle, int AZ) override;
  int FirstChildPos() override;
  TZelCustomShapeClass GetChildClass() const override;
  String GetEditorClass() const override { return "TTextShapeEditor"; }

  // Sets the canvas text alignment for TextAlign and X to where lines start in R.
  virtual void CalcTextAlign(TCustomZelPanel* Panel, float& X, const TRectF& R, const String& AText);
  virtual TPointF CalcTextSize(TCustomZelPanel* Panel, const String& AText, TTextFormat Format,
                               std::int32_t& NumLines);
  // Called when Text changed; repaints here.
  virtual void ChangedText();
  virtual void DrawString(TCustomZelPanel* Panel, float X, int Y, int Z, const String& AText, bool AllowHtml,
                          int Angle, TPointF Center);

  // TextAlign and its stored default.
  void InitTextAlignment(TAlignment Value);

  bool GetClipText() const { return FClipText; }
  void SetClipText(bool Value);
  TCursor GetCursor() const { return FCursor; }
  void SetCursor(TCursor Value) { FCursor = Value; }
  // Cursor and its stored default.
  void InitCursor(TCursor Value) { FCursor = DefaultCursor = Value; }
  TMargins* GetMargins() const { return FMargins; }
  void SetMargins(TMargins* Value) { FMargins->Assign(Value); }
  TAlignment GetTextAlign() const { return FTextAlign; }
  void SetTextAlign(TAlignment Value);
  TAlignment GetTextAlignment() const { return FTextAlign; }
  void SetTextAlignment(TAlignment Value) { SetTextAlign(Value); }
  bool IsTextAlignStored() const { return FTextAlign != IDefaultTextAlign; }
  bool IsCursorStored() const { return FCursor != DefaultCursor; }
  TTextFormat GetTextFormat() const { return FTextFormat; }
  void SetTextFormat(TTextFormat Value);
  TVertTextAlign GetVertTextAlign() const { return FVertTextAlign; }
  void SetVertTextAlign(TVertTextAlign Value);
  const String& GetText() const { return FText; }
  void SetText(const String& Value);
  // Stores the text without notifying (the text a drawing routine hands to the shape).
  void InternalSetText(const String& Value) { FText = Value; }

  TAlignment IDefaultTextAlign = TAlignment::taLeftJustify;
  TCursor DefaultCursor = 0;
  // Set by an owner that shows the shape with a text it makes (a tip): the text and the
  // visibility are the owner's, not written.
  bool IOwnerShows = false;
  // Set by an owner that publishes the text, AutoSize, ClipText, Cursor, TextAlignment, Left and
  // Top under its own names (an annotation tool): the shape leaves them to it, so each travels
  // once.
  bool IOwnerPublishes = false;
  bool IDraw2D = false;
  std::int32_t ITextOffset = 0;
  std::int32_t INumLines = 0;

 protected:
  // The font on the canvas: flat with IDraw2D, else with the panel's 3D text zoom.
  void PrepareFont(TCustomZelPanel* Panel);

  bool FClipText = true;
  TCursor FCursor = 0;
  TMargins* FMargins = nullptr;  // owned
  TAlignment FTextAlign = TAlignment::taLeftJustify;
  TTextFormat FTextFormat = TTextFormat::ttfNormal;
  TVertTextAlign FVertTextAlign = TVertTextAlign::vtaCenter;
  String FText;
};

// A text shape at a custom pixel position.
class TZelCustomShapePosition : public TCustomTextShape {
  ZEL_CLASS(TZelCustomShapePosition, TCustomTextShape)
  ZEL_PUBLISHED_PROPS
 public:
  using TCustomTextShape::TCustomTextShape;

  void Assign(TPersistent* Source) override;

  bool GetCustomPosition() const { return FCustomPosition; }
  void SetCustomPosition(bool Value);
  bool IsCustomPositionStored() const { return FCustomPosition != DefaultCustom; }
  // Left and Top travel only with a custom position, and not when the owner places the shape
  // itself (custom by construction) or publishes the place.
  bool IsPositionStored() const { return FCustomPosition && !DefaultCustom && !IOwnerPublishes; }
  // The left and top edges rounded to whole pixels; setting turns CustomPosition on.
  std::int32_t GetLeft() const;
  void SetLeft(std::int32_t Value);
  std::int32_t GetTop() const;
  void SetTop(std::int32_t Value);

  bool DefaultCustom = false;

 protected:
  bool FCustomPosition = false;

 private:
  void SetEdge(float& Edge, float Value);
};

// The published text shape.
class TTextShape : public TZelCustomShapePosition {
  ZEL_CLASS(TTextShape, TZelCustomShapePosition)
  ZEL_PUBLISHED_PROPS
 public:
  using TZelCustomShapePosition::TZelCustomShapePosition;
};

}  // namespace zel
