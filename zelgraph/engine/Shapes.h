// Shapes: the framed, filled rectangles that walls, titles, the legend, marks, axis titles and
// annotations are drawn with. A shape has a brush, a pen and visibility (the brush-pen base),
// and adds frame styles (rectangle, rounded rectangle, ellipse, speech bubble), rotation,
// blending, shadow, emboss, a picture clipped to the frame, a bevel, and child shapes laid out
// inside it.
#pragma once

#include <array>
#include <cstdint>

#include "platform/Classes.h"
#include "platform/Collections.h"
#include "platform/Geometry.h"
#include "platform/Types.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/canvas/Shadow.h"
#include "zelgraph/engine/Panel.h"

namespace zel {

class TCustomZelPanel;
class TZelFont;
class TZelShadow;
class TZelEmboss;
class TZelGradient;
class TBackImage;
class TVisualBlock;
class TZelTransform;
class TZelCanvas;
class TZelBasePath;
class TCanvas3D;
class TZelCustomShape;
class TZelShapes;

// A class reference of shapes: the metaclass and the virtual constructor (owner panel).
struct TZelCustomShapeClassRef {
  const TClass* Class;
  TZelCustomShape* (*Factory)(TCustomZelPanel* Owner);
  TZelCustomShape* Create(TCustomZelPanel* Owner) const { return Factory(Owner); }
};
using TZelCustomShapeClass = const TZelCustomShapeClassRef*;

// The class reference of shape class T (constructible from an owner panel).
template <typename T>
TZelCustomShapeClass ShapeClassOf() {
  static const TZelCustomShapeClassRef C{T::StaticClass(), [](TCustomZelPanel* Owner) -> TZelCustomShape* {
                                            return Create<T>(Owner);
                                          }};
  return &C;
}

// The base of shapes and pointers: a brush, a pen, visibility and the panel drawn on.
class TZelCustomShapeBrushPen : public TPersistent {
  ZEL_CLASS(TZelCustomShapeBrushPen, TPersistent)
  ZEL_PUBLISHED_PROPS
 public:
  TZelCustomShapeBrushPen();
  ~TZelCustomShapeBrushPen() override;

  // From another brush-pen element: brush, pen and Visible; anything else is the base's.
  void Assign(TPersistent* Source) override;

  virtual void SetParent(TCustomZelPanel* Value) { FParent = Value; }
  // Invalidates the parent panel when there is one.
  virtual void Repaint();
  // The class of brush the element uses.
  virtual const TClass* GetBrushClass() const;
  // The change handler of the owned drawing attributes: repaints.
  void CanvasChanged(TObject* Sender);

  TCustomZelPanel* GetParent() const { return FParent; }
  TZelBrush* GetBrush() const { return FBrush; }
  void SetBrush(TZelBrush* Value);
  TZelPen* GetPen() const { return FPen; }
  void SetPen(TZelPen* Value);
  bool GetVisible() const { return FVisible; }
  // Through the panel's shared setter when there is a panel, else a plain store.
  void SetVisible(bool Value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  bool IsVisibleStored() const { return FVisible != DefaultVisible; }

  bool DefaultVisible = true;
  TZelTransform* Transform = nullptr;  // owned, optional

 protected:
  // A change closure that calls CanvasChanged.
  TNotifyEvent ChangeHandler() {
    return [this](TObject* Sender) { CanvasChanged(Sender); };
  }

  TZelBrush* FBrush = nullptr;  // owned
  TCustomZelPanel* FParent = nullptr;
  TZelPen* FPen = nullptr;  // owned
  bool FVisible = true;
};

// Horizontal alignment of text and of shapes stacked inside a shape.
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
ZEL_ENUM_NAMES(TAlignment, "taLeftJustify", "taRightJustify", "taCenter");
enum class TChartObjectShapeStyle { fosRectangle, fosRoundRectangle, fosEllipse };
enum class TZelShapeLayout { slTopBottom, slLeftRight };
enum class TShapeCalloutSide { csNone, csLeft, csTop, csRight, csBottom };
ZEL_ENUM_NAMES(TChartObjectShapeStyle, "fosRectangle", "fosRoundRectangle", "fosEllipse");
ZEL_ENUM_NAMES(TZelShapeLayout, "slTopBottom", "slLeftRight");
ZEL_ENUM_NAMES(TShapeCalloutSide, "csNone", "csLeft", "csTop", "csRight", "csBottom");

// The four corners of R turned by Angle degrees about its centre: top-left, top-right,
// bottom-right, bottom-left.
std::array<TPointF, 4> RectToFourPoints(const TRectF& R, double Angle);

class TZelPicture;
// The step that ends a translucent element's blend: when Picture has filters but no image of its
// own, they are applied to what the canvas holds inside Area (the blended area, in canvas
// pixels). A canvas without pixels of its own (drawing straight to a window) keeps them.
void ZelFilterBlendedArea(TZelCanvas* Canvas, const TRectF& Area, TZelPicture* Picture);

// The speech-bubble pointer of a shape's outline.
class TShapeCallout : public TPersistent {
  ZEL_CLASS(TShapeCallout, TPersistent)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TShapeCallout(TZelCustomShape* AOwner) : IOwner(AOwner) {}

  void Assign(TPersistent* Source) override;

  // The outline of R with corner radius RoundSize and the pointer on Side, clockwise from the
  // top-left corner; the caller frees the path.
  TZelBasePath* GetPath(TZelCanvas* Canvas, const TRectF& R, int RoundSize) const;
  // Adds that outline to Path.
  void AddPath(TZelBasePath* Path, const TRectF& R, int RoundSize) const;

  std::int32_t GetPointPosition() const { return FPointPosition; }
  void SetPointPosition(std::int32_t Value);
  std::int32_t GetPosition() const { return FPosition; }
  void SetPosition(std::int32_t Value);
  TShapeCalloutSide GetSide() const { return FSide; }
  void SetSide(TShapeCalloutSide Value);
  std::int32_t GetSize() const { return FSize; }
  void SetSize(std::int32_t Value);
  std::int32_t GetWidth() const { return FWidth; }
  void SetWidth(std::int32_t Value);

 private:
  void Changed();

  std::int32_t FPointPosition = 50;
  std::int32_t FPosition = 50;
  TShapeCalloutSide FSide = TShapeCalloutSide::csNone;
  std::int32_t FSize = 25;
  std::int32_t FWidth = 20;
  TZelCustomShape* IOwner;
};

class TZelCustomShape : public TZelCustomShapeBrushPen {
  ZEL_CLASS(TZelCustomShape, TZelCustomShapeBrushPen)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TZelCustomShape(TCustomZelPanel* AOwner);
  ~TZelCustomShape() override;

  void Assign(TPersistent* Source) override;
  // Also gives the panel to every child shape.
  void SetParent(TCustomZelPanel* Value) override;

  // Bounds from the content: with AutoSize the bounds collapse to their top-left point, then
  // every visible child adds its own.
  virtual void CalcBounds(TCustomZelPanel* Panel);
  // The frame and fill (nothing when transparent).
  virtual void DoDraw(TCustomZelPanel* Panel, const TRectF& R, int Angle, int AZ);
  // Where the first child goes along the layout direction.
  virtual int FirstChildPos();
  virtual TZelCustomShapeClass GetChildClass() const;
  virtual String GetEditorClass() const { return "TFormZelShape"; }
  // Descendants give their own defaults; here colour 0xFF000000 and size 3, visibility kept.
  virtual void InitEmboss(TZelEmboss* Value);
  virtual void InitShadow(TZelShadow* Value);

  void Draw();
  void Draw(const TRectF& R, int Angle, int AZ);
  void Draw(TCustomZelPanel* Panel, const TRectF& R, int Angle, int AZ);

  void MoveTo(TPointF P);
  void MoveTo(float X, float Y) { MoveTo(TPointF(X, Y)); }
  // Whether P lies on the shape drawn at R (turned by Angle).
  bool ClickedShape(TPointF P, const TRectF& R) const;

  // Set a value and record it as its stored default (owners give their own at construction).
  void InitTransparent(bool Value);
  void InitAutoSize(bool Value) { FAutoSize = DefaultAutoSize = Value; }
  void InitColor(TAlphaColor Value) { FColor = DefaultColor = Value; }
  void InitTransparency(TZelTransparency Value) { FTransparency = DefaultTransparency = Value; }
  // Sets Angle without repainting.
  void InitAngle(int Value) { FAngle = Value; }

  // Properties.
  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  int GetAngle() const { return FAngle; }
  void SetAngle(int Value);
  bool GetAutoSize() const { return FAutoSize; }
  void SetAutoSize(bool Value);
  bool IsAutoSizeStored() const { return FAutoSize != DefaultAutoSize; }
  TPanelBevel GetBevel() const { return FBevel; }
  void SetBevel(TPanelBevel Value);
  TBevelWidth GetBevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(TBevelWidth Value);
  TZelShapes* GetChildren() const { return FChildren; }
  void SetChildren(TZelShapes* Value);
  TZelShapeLayout GetChildLayout() const { return FChildLayout; }
  void SetChildLayout(TZelShapeLayout Value);
  TAlphaColor GetColor() const { return FColor; }
  void SetColor(TAlphaColor Value);
  bool IsColorStored() const { return FColor != DefaultColor; }
  TZelFont* GetFont() const { return FFont; }
  void SetFont(TZelFont* Value);
  TZelPen* GetFrame() { return GetPen(); }
  void SetFrame(TZelPen* Value) { SetPen(Value); }
  int GetRoundSize() const { return FRoundSize; }
  // A value above 0 makes the style a rounded rectangle.
  void SetRoundSize(int Value);
  TChartObjectShapeStyle GetShapeStyle() const { return FShapeStyle; }
  void SetShapeStyle(TChartObjectShapeStyle Value);
  bool GetTransparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  bool IsTransparentStored() const { return FTransparent != DefaultTransparent; }
  TZelTransparency GetTransparency() const { return FTransparency; }
  void SetTransparency(TZelTransparency Value);
  bool IsTransparencyStored() const { return FTransparency != DefaultTransparency; }
  TVisualBlock* GetVisual() const { return FVisual; }
  void SetVisual(TVisualBlock* Value) { FVisual = Value; }

  // Created on first access; nullptr frees, another value is copied in.
  TShapeCallout* GetShapeCallout();
  void SetShapeCallout(TShapeCallout* Value);
  TShapeCallout* ExistingShapeCallout() const { return FCallout; }
  TZelCorners* GetCorners();
  void SetCorners(TZelCorners* Value);
  TZelCorners* ExistingCorners() const { return FCorners; }
  TZelEmboss* GetEmboss();
  void SetEmboss(TZelEmboss* Value);
  TZelEmboss* ExistingEmboss() const { return FEmboss; }
  TBackImage* GetPicture();
  void SetPicture(TBackImage* Value);
  TBackImage* ExistingPicture() const { return FPicture; }
  TZelShadow* GetShadow() const { return FShadow; }
  void SetShadow(TZelShadow* Value);
  TAlphaColor GetShadowColor() const;
  void SetShadowColor(TAlphaColor Value);
  int GetShadowSize() const;
  void SetShadowSize(int Value);
  // The brush's gradient.
  TZelGradient* GetGradient();
  void SetGradient(TZelGradient* Value);

  // The bounds' size; the left-top corner stays.
  float GetWidth() const { return ShapeBounds.Width(); }
  void SetWidth(float Value) { ShapeBounds.Right = ShapeBounds.Left + Value; }
  float GetHeight() const { return ShapeBounds.Height(); }
  void SetHeight(float Value) { ShapeBounds.Bottom = ShapeBounds.Top + Value; }

  // Reads the legacy "ShadowColor" and "ShadowSize", never writes them.
  void DefineProperties(TFiler* Filer) override;

  bool DefaultTransparent = false;
  bool DefaultAutoSize = true;
  TAlphaColor DefaultColor = 0xFFFFFFFF;
  TZelTransparency DefaultTransparency = 0;
  bool FDraw3D = false;
  TRectF ShapeBounds{0, 0, 0, 0};

 protected:
  int FAngle = 0;
  bool FAutoSize = true;
  TPanelBevel FBevel = TPanelBevel::bvNone;
  TBevelWidth FBevelWidth = 2;
  TShapeCallout* FCallout = nullptr;  // owned
  TZelShapes* FChildren = nullptr;    // owned
  TZelShapeLayout FChildLayout = TZelShapeLayout::slTopBottom;
  TAlphaColor FColor = 0xFFFFFFFF;
  TZelCorners* FCorners = nullptr;  // owned
  TZelFont* FFont = nullptr;        // owned
  int FRoundSize = 16;
  TChartObjectShapeStyle FShapeStyle = TChartObjectShapeStyle::fosRectangle;
  bool FTransparent = false;
  TVisualBlock* FVisual = nullptr;
  TAlignment FAlignment = TAlignment::taLeftJustify;
  TZelEmboss* FEmboss = nullptr;  // owned
  TBackImage* FPicture = nullptr;  // owned
  TZelShadow* FShadow = nullptr;   // owned
  TZelTransparency FTransparency = 0;

 private:
  void DrawShadowEmboss(TCanvas3D* Canvas, TZelShadow* Shadow, int Direction, const TRectF& R, int Angle, int AZ);
  void DrawChildren(const TRectF& R, int AZ);
};

// The published plain shape.
class TZelShape : public TZelCustomShape {
  ZEL_CLASS(TZelShape, TZelCustomShape)
 public:
  using TZelCustomShape::TZelCustomShape;
};

// A child of a shape: owns its shape.
class TZelShapeItem : public TCollectionItem {
  ZEL_CLASS(TZelShapeItem, TCollectionItem)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TZelShapeItem(TCollection* ACollection);
  // Repaints the owner shape, then frees the child.
  void BeforeDestruction() override;
  ~TZelShapeItem() override;

  void Assign(TPersistent* Source) override;
  TZelCustomShape* GetShape() const { return FShape; }
  void SetShape(TZelCustomShape* Value);
  TZelCustomShape* OwnerShape() const;

 private:
  TZelCustomShape* FShape = nullptr;  // owned
};

// The child shapes of a shape.
class TZelShapes : public TOwnedCollection {
  ZEL_CLASS(TZelShapes, TOwnedCollection)
 public:
  explicit TZelShapes(TZelCustomShape* AOwner);

  TZelShapeItem* Get(int Index) const { return static_cast<TZelShapeItem*>(GetItem(Index)); }
  void Put(int Index, TZelShapeItem* Value) { SetItem(Index, Value); }
  TZelShapeItem* Add() { return static_cast<TZelShapeItem*>(TCollection::Add()); }

  TZelCustomShapeClass IShapeClass = nullptr;
};

}  // namespace zel
