// The extended chart panel: zoom and panning settings, the mouse buttons and wheel behaviour
// that drive them, the back image and back gradient, the painting of the panel background and
// the zoom rectangle, and the base of undoing a zoom.
#pragma once

#include <functional>

#include "platform/Classes.h"
#include "platform/Controls.h"
#include "platform/Lists.h"
#include "zelgraph/canvas/Canvas.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/canvas/Picture.h"
#include "zelgraph/engine/Panel.h"
#include "zelgraph/procs/Procs.h"

namespace zel {

class TZelGradient;
class TCustomZelPanelExtended;

enum class TZelZoomDirection { tzdHorizontal, tzdVertical, tzdBoth };
ZEL_ENUM_NAMES(TZelZoomDirection, "tzdHorizontal", "tzdVertical", "tzdBoth");
enum class TMouseWheelStyle { pmwNone, pmwNormal, pmwInverted };
ZEL_ENUM_NAMES(TMouseWheelStyle, "pmwNone", "pmwNormal", "pmwInverted");
enum class TPanningMode { pmNone, pmHorizontal, pmVertical, pmBoth };
ZEL_ENUM_NAMES(TPanningMode, "pmNone", "pmHorizontal", "pmVertical", "pmBoth");
enum class TZelBackImageMode { pbmStretch, pbmTile, pbmCenter, pbmCustom };
ZEL_ENUM_NAMES(TZelBackImageMode, "pbmStretch", "pbmTile", "pbmCenter", "pbmCustom");

// The state of one mouse drag: a start and a current corner in pixels.
class TZoomPanning : public TPersistent {
  ZEL_CLASS(TZoomPanning, TPersistent)
 public:
  // Both corners := (X, Y); the drag becomes active.
  void Activate(int X, int Y);
  // Puts the corners in order (X0 <= X1, Y0 <= Y1).
  void Check();
  bool GetActive() const { return FActive; }
  void SetActive(bool V) { FActive = V; }

  int X0 = 0, Y0 = 0, X1 = 0, Y1 = 0;

 protected:
  bool FActive = false;
};

// Panning settings of a chart panel.
class TZelPanning : public TZoomPanning {
  ZEL_CLASS(TZelPanning, TZoomPanning)
  ZEL_PUBLISHED_PROPS
 public:
  void Assign(TPersistent* Source) override;
  // Panning stops at the data bounds, and leaving the chart ends a pan.
  bool GetInsideBounds() const { return FInsideBounds; }
  void SetInsideBounds(bool V) { FInsideBounds = V; }
  TMouseWheelStyle GetMouseWheel() const { return FMouseWheel; }
  void SetMouseWheel(TMouseWheelStyle V) { FMouseWheel = V; }

 private:
  bool FInsideBounds = false;
  TMouseWheelStyle FMouseWheel = TMouseWheelStyle::pmwNormal;
};

// The pen of the zoom rectangle: its colour is stored only when it differs from DefaultColor.
class TZelZoomPen : public TZelPen {
  ZEL_CLASS(TZelZoomPen, TZelPen)
 public:
  explicit TZelZoomPen(TNotifyEvent OnChange = nullptr) : TZelPen(std::move(OnChange)) {}
  bool IsColorStored() { return GetColor() != DefaultColor; }
  TAlphaColor DefaultColor = 0;
};

class TZelZoomBrush : public TZelBrush {
  ZEL_CLASS(TZelZoomBrush, TZelBrush)
 public:
  explicit TZelZoomBrush(TNotifyEvent OnChange = nullptr) : TZelBrush(std::move(OnChange)) {}
};

// Zoom settings of a chart: which drag zooms, how, the rectangle's pen and brush and the zoom
// history (a list of the chart control's snapshots, oldest first).
class TZelZoom : public TZoomPanning {
  ZEL_CLASS(TZelZoom, TZoomPanning)
  ZEL_PUBLISHED_PROPS
 public:
  TZelZoom();
  ~TZelZoom() override;
  // From another zoom: everything but MinimumPixels, MouseWheel and UpLeftZooms; other sources
  // are ignored.
  void Assign(TPersistent* Source) override;

  bool GetAllow() const { return FAllow; }
  void SetAllow(bool V) { FAllow = V; }
  bool GetAnimated() const { return FAnimated; }
  void SetAnimated(bool V) { FAnimated = V; }
  int GetAnimatedSteps() const { return FAnimatedSteps; }
  void SetAnimatedSteps(int V) { FAnimatedSteps = V; }
  // The history list, created (owning its snapshots) on first use.
  TObjectList<TObject>* GetAxesHistory();
  TObjectList<TObject>* ExistingAxesHistory() const { return FAxesHistory; }
  // Created on first use: colour 0xFFFFFFFF, kind None.
  TZelZoomBrush* GetBrush();
  TZelZoomBrush* ExistingBrush() const { return FBrush; }
  // nullptr frees the brush; otherwise the brush takes V's settings.
  void SetBrush(TZelBrush* V);
  TZelZoomDirection GetDirection() const { return FDirection; }
  void SetDirection(TZelZoomDirection V) { FDirection = V; }
  bool GetFullRepaint() const { return FFullRepaint; }
  void SetFullRepaint(bool V) { FFullRepaint = V; }
  bool GetHistory() const { return FHistory; }
  // Switching it off clears an existing history.
  void SetHistory(bool V);
  bool GetKeepAspectRatio() const { return FKeepAspect; }
  void SetKeepAspectRatio(bool V) { FKeepAspect = V; }
  TShiftState GetKeyShift() const { return FKeyShift; }
  void SetKeyShift(TShiftState V) { FKeyShift = V; }
  int GetMinimumPixels() const { return FMinimumPixels; }
  void SetMinimumPixels(int V) { FMinimumPixels = V; }
  TMouseButton GetMouseButton() const { return FMouseButton; }
  void SetMouseButton(TMouseButton V) { FMouseButton = V; }
  TMouseWheelStyle GetMouseWheel() const { return FMouseWheel; }
  void SetMouseWheel(TMouseWheelStyle V) { FMouseWheel = V; }
  // Created on first use: colour 0xFFC0C0C0, width 3, flat ends.
  TZelZoomPen* GetPen();
  TZelZoomPen* ExistingPen() const { return FPen; }
  // nullptr frees the pen; otherwise the pen takes V's settings.
  void SetPen(TZelPen* V);
  bool GetUpLeftZooms() const { return FUpLeftZooms; }
  void SetUpLeftZooms(bool V) { FUpLeftZooms = V; }

 private:
  bool FAllow = true;
  bool FAnimated = false;
  int FAnimatedSteps = 8;
  TObjectList<TObject>* FAxesHistory = nullptr;  // owned
  TZelZoomBrush* FBrush = nullptr;               // owned
  TZelZoomDirection FDirection = TZelZoomDirection::tzdBoth;
  bool FFullRepaint = true;
  bool FHistory = false;
  bool FKeepAspect = false;
  TShiftState FKeyShift;
  int FMinimumPixels = 16;
  TMouseButton FMouseButton = TMouseButton::mbLeft;
  TMouseWheelStyle FMouseWheel = TMouseWheelStyle::pmwNone;
  TZelZoomPen* FPen = nullptr;  // owned
  bool FUpLeftZooms = false;
};

// A picture drawn behind a panel or inside a shape or the chart's walls.
class TBackImage : public TZelPicture {
  ZEL_CLASS(TBackImage, TZelPicture)
  ZEL_PUBLISHED_PROPS
 public:
  TBackImage() = default;
  // From another back image its placement, then the picture from any source.
  void Assign(TPersistent* Source) override;

  int GetBottom() const { return FBottom; }
  void SetBottom(int V);
  TCanvasStretchQuality GetDrawQuality() const { return FDrawQuality; }
  void SetDrawQuality(TCanvasStretchQuality V);
  bool GetInside() const { return FInside; }
  void SetInside(bool V);
  int GetLeft() const { return FLeft; }
  void SetLeft(int V);
  TZelBackImageMode GetMode() const { return FMode; }
  void SetMode(TZelBackImageMode V);
  int GetRight() const { return FRight; }
  void SetRight(int V);
  int GetTop() const { return FTop; }
  void SetTop(int V);
  // (Left, Top, Right, Bottom); a Right or Bottom of 0 stands for Left / Top plus the picture's
  // width / height.
  TRectF GetBounds() const;
  void SetBounds(const TRectF& R);

  // Draws the picture into Rect at depth Z (0 on the front plane) by its mode.
  void Draw(TCustomZelPanelExtended* Panel, const TRectF& Rect, int Z = 0);

 protected:
  // Fires the picture's change event.
  void DoChanged();

 private:
  void SetField(int& Field, int V);
  int FBottom = 0;
  TCanvasStretchQuality FDrawQuality = TCanvasStretchQuality::sqHigh;
  bool FInside = false;
  int FLeft = 0;
  TZelBackImageMode FMode = TZelBackImageMode::pbmStretch;
  int FRight = 0;
  int FTop = 0;
};

class TCustomZelPanelExtended : public TCustomZelPanel {
  ZEL_CLASS(TCustomZelPanelExtended, TCustomZelPanel)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TCustomZelPanelExtended(TComponent* AOwner);
  ~TCustomZelPanelExtended() override;

  // --- virtual operations ---
  // Fills the panel rectangle with its colour, gradient and border pen.
  virtual void FillPanelRect(const TRectF& Rect);
  // The panel background: colour, shadow, emboss, fill, back image and bevels.
  virtual void PanelPaint(const TRectF& Rect);
  // An opaque colour on a panel without round corners covers its whole picture (PanelPaint).
  bool PaintsOpaque() const override;
  // The gradient's start colour when it is visible, else Color.
  TAlphaColor GetBackColor() override;
  void Assign(TPersistent* Source) override;
  void DefineProperties(TFiler* Filer) override;
  // Fires OnUndoZoom, repaints and clears Zoomed. The chart control extends it.
  virtual void UndoZoom();

  // During a drag: draws the zoom rectangle at once when the canvas can draw by XOR and the
  // zoom does not ask for full repaints; otherwise repaints (the paint draws the rectangle).
  void TryDrawZoom();
  // Draws Zoom's rectangle (X0, Y0, X1, Y1) with the zoom pen and brush.
  void DrawZoomRectangle();
  // The back image into Rect at depth Z, when there is one.
  void DrawBitmap(const TRectF& Rect, int Z);

  // --- properties ---
  TPanningMode GetAllowPanning() const { return FAllowPanning; }
  void SetAllowPanning(TPanningMode V) { FAllowPanning = V; }
  // Created on first use.
  TZelGradient* GetGradient();
  TZelGradient* ExistingGradient() const { return FGradient; }
  // nullptr frees the gradient; otherwise it takes V's settings.
  void SetGradient(TZelGradient* V);
  TMouseButton GetScrollMouseButton() const { return FScrollMouse; }
  void SetScrollMouseButton(TMouseButton V) { FScrollMouse = V; }
  TZelZoom* GetZoom() const { return FZoom; }
  void SetZoom(TZelZoom* V);
  TMouseWheelStyle GetZoomWheel() const { return FZoomWheel; }
  void SetZoomWheel(TMouseWheelStyle V) { FZoomWheel = V; }
  bool GetZoomed() const { return FZoomed; }
  void SetZoomed(bool V) { FZoomed = V; }
  // Created on first use.
  TBackImage* GetBackImage();
  TBackImage* ExistingBackImage() const { return FBackImage; }
  // nullptr frees the back image and repaints; otherwise it takes V's settings.
  void SetBackImage(TBackImage* V);
  // A back image exists and holds a picture.
  bool HasBackImage() const;
  bool GetAllowZoom() const { return FZoom->GetAllow(); }
  void SetAllowZoom(bool V) { FZoom->SetAllow(V); }
  bool GetAnimatedZoom() const { return FZoom->GetAnimated(); }
  void SetAnimatedZoom(bool V) { FZoom->SetAnimated(V); }
  int GetAnimatedZoomSteps() const { return FZoom->GetAnimatedSteps(); }
  void SetAnimatedZoomSteps(int V) { FZoom->SetAnimatedSteps(V); }
  bool GetBackImageInside() const;
  void SetBackImageInside(bool V);
  TZelBackImageMode GetBackImageMode();
  void SetBackImageMode(TZelBackImageMode V);
  // Always true; writing has no effect.
  bool GetBackImageTransp() const { return true; }
  void SetBackImageTransp(bool) {}

  TNotifyEvent OnAfterDraw;
  TNotifyEvent OnScroll;
  TNotifyEvent OnUndoZoom;
  TNotifyEvent OnZoom;

 protected:
  TPanningMode FAllowPanning = TPanningMode::pmBoth;
  TZelGradient* FGradient = nullptr;  // owned
  TMouseButton FScrollMouse = TMouseButton::mbRight;
  TZelZoom* FZoom = nullptr;  // owned
  TMouseWheelStyle FZoomWheel = TMouseWheelStyle::pmwNone;
  bool FZoomed = false;
  TBackImage* FBackImage = nullptr;  // owned
};

}  // namespace zel
