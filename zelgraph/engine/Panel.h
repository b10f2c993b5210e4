// The chart panel control: the control base of every chart. It owns the library canvas, turns
// the platform's paint call into one pass of the chart's drawing (canvas window, margins, the
// subclass's InternalDraw, the buffered picture), holds the panel's frame (bevels, border pen,
// rounded corners), shadow, emboss and 3D view options, the CancelMouse flag of mouse handling
// and a list of event listeners. It also draws itself into bitmaps and onto the printer.
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Classes.h"
#include "platform/Controls.h"
#include "platform/Geometry.h"
#include "platform/Printer.h"
#include "platform/Scope.h"
#include "platform/Types.h"
#include "zelgraph/canvas/Canvas3D.h"
#include "zelgraph/canvas/View3D.h"

namespace zel {

// What a remembered text width was worked out from: while a new key equals the remembered one,
// so does the width.
struct TTextWidthKey {
  std::vector<std::uint64_t> Stamps;
  std::vector<double> Numbers;
  std::vector<String> Texts;
  bool operator==(const TTextWidthKey&) const = default;
};

class TCanvas;
class TCanvas3D;
class TReader;
class TZelBrush;
class TZelCanvas;
class TZelEmboss;
class TZelFont;
class TZelHiddenPen;
class TZelPanning;
class TZelPen;
class TZelPicture;
class TZelShadow;
class TView3DOptions;
class TCustomZelPanel;

enum class TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };
ZEL_ENUM_NAMES(TPanelBevel, "bvNone", "bvLowered", "bvRaised", "bvSpace");
// Width of a bevel, 0..100.
using TBevelWidth = Byte;
enum class TZelUnits { muPercent, muPixels };
ZEL_ENUM_NAMES(TZelUnits, "muPercent", "muPixels");
enum class TBorderStyle { bsNone, bsSingle };
// How a chart text is laid out: plain, or the library's HTML subset.
enum class TTextFormat { ttfNormal, ttfHtml };
ZEL_ENUM_NAMES(TTextFormat, "ttfNormal", "ttfHtml");
enum class TZelMouseEventKind { meDown, meUp, meMove };

// Called before the panel is printed: the panel, the printer canvas and the target rectangle.
using TZelPrintEvent = std::function<void(TCustomZelPanel* Sender, TCanvas* Canvas, const TRectF& R)>;

// Events a panel hands to its listeners. Sender is the panel.
class TZelEvent : public TObject {
  ZEL_CLASS(TZelEvent, TObject)
 public:
  TCustomZelPanel* Sender = nullptr;
};

class TZelMouseEvent : public TZelEvent {
  ZEL_CLASS(TZelMouseEvent, TZelEvent)
 public:
  TZelMouseEventKind Event = TZelMouseEventKind::meDown;
  TMouseButton Button = TMouseButton::mbLeft;
  TShiftState Shift;
  float X = 0;
  float Y = 0;
};

// The panel's View3D changed.
class TZelView3DEvent : public TZelEvent {
  ZEL_CLASS(TZelView3DEvent, TZelEvent)
};

// The mouse left the panel.
class TMouseLeaveEvent : public TZelEvent {
  ZEL_CLASS(TMouseLeaveEvent, TZelEvent)
};

// A receiver of panel events (a host adds it with AddListener).
class IZelEventListener {
 public:
  virtual ~IZelEventListener() = default;
  virtual void ZelEvent(TZelEvent* Event) = 0;
};

// A bitmap that stands for a vector picture; written and saved like any bitmap.
class TMetafile : public TBitmap {
  ZEL_CLASS(TMetafile, TBitmap)
 public:
  TMetafile() = default;
  TMetafile(int AWidth, int AHeight) : TBitmap(AWidth, AHeight) {}
  bool GetEnhanced() const { return FEnhanced; }
  void SetEnhanced(bool V) { FEnhanced = V; }
  bool FEnhanced = true;
};

// The primary screen's size from the platform screen service, else (0, 0).
TPointF ZelGetScreenSize();
// Sets the platform cursor when the cursor service exists; Sender is ignored.
void ZelChangeCursor(TObject* Sender, TCursor Cursor);

// Draws a bevel of Width pixels inside R (which comes back shrunk): raised is white at the top
// left and 0xFFA0A0A0 at the bottom right, lowered the other way round; bvNone draws nothing.
// With Round of 1 or more the bevel is a rounded rectangle of that radius.
void DrawBevel(TZelCanvas* Canvas, TPanelBevel Bevel, TRectF& R, int Width, int Round);

// A control without caption, with a background colour.
class TCustomPanelNoCaption : public TControl {
  ZEL_CLASS(TCustomPanelNoCaption, TControl)
 public:
  explicit TCustomPanelNoCaption(TComponent* AOwner);

  TAlphaColor GetColor() const { return FColor; }
  void SetColor(TAlphaColor Value);
  // Repaints the control.
  void Invalidate() override;

 protected:
  TAlphaColor FColor = 0xFFF0F0F0;
};

// Takes a shadow's (Direction 1) or an emboss' (Direction -1) offsets out of R: each offset
// takes its size plus Extra pixels from the side the shadow falls on (an emboss: the opposite
// side); an offset of 0 takes nothing.
void ZelTakeShadowOffsets(TRectF& R, int HorizSize, int VertSize, int Direction, int Extra);

class TCustomZelPanel : public TCustomPanelNoCaption {
  ZEL_CLASS(TCustomZelPanel, TCustomPanelNoCaption)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TCustomZelPanel(TComponent* AOwner);
  ~TCustomZelPanel() override;
  void AfterConstruction() override;

  // --- virtual operations ---
  // The colour behind the chart (the panel's Color here).
  virtual TAlphaColor GetBackColor();
  // The panel an editor works on (the panel itself).
  virtual TCustomZelPanel* GetEditablePanel() { return this; }
  // The chart's own drawing inside the canvas window (nothing here).
  virtual void InternalDraw(const TRectF& UserRectangle);
  // A drawing attribute changed: repaint.
  virtual void CanvasChanged(TObject* Sender);
  // Draws the panel on UserCanvas inside UserRect: the inner draw of the paint road.
  virtual void Draw(TCanvas* UserCanvas, const TRectF& UserRect);
  // The client rectangle when the control has a parent, else (0, 0, Width, Height).
  virtual TRectF GetRectangle();
  // The frame's bevels and flat border between them.
  virtual void DrawPanelBevels(const TRectF& Rect);
  // The colour as it reaches the canvas.
  virtual TAlphaColor PanelColor(TAlphaColor C) { return C; }

  // Marks the canvas dirty and asks for a repaint; nothing while AutoRepaint is off.
  void Invalidate() override;
  void Paint() override;
  void Resize() override;
  void Loaded() override;
  void DefineProperties(TFiler* Filer) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) override;
  void MouseMove(TShiftState Shift, float X, float Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) override;
  void DblClick() override;
  void DoMouseLeave() override;
  // Reads the panel's state with AutoRepaint off; repaints afterwards, also on failure.
  void ReadState(TReader* Reader) override;

  // From another panel: frame, colours, margins, print settings, shadow, emboss, 3D settings.
  void Assign(TPersistent* Source) override;

  // --- the library canvas ---
  // The library canvas (hides the control's paint canvas, which is GetControlCanvas()).
  TCanvas3D* GetCanvas() const { return InternalCanvas; }
  // The platform canvas bound to the library canvas.
  TCanvas* GetControlCanvas() const { return FControlCanvas; }
  // Picks the canvas class named IDefaultCanvas among the render classes (else TZelCanvas3D)
  // and makes a new canvas of it unless the present one is of that class.
  void CreateDefaultCanvas();
  // Replaces the library canvas (copying the old one's settings); nullptr is ignored.
  void SetInternalCanvas(TCanvas3D* NewCanvas);
  bool GetBufferedDisplay() const;
  void SetBufferedDisplay(bool Value);
  bool GetMonochrome() const;
  void SetMonochrome(bool Value);

  // --- shared setters: store a changed value into Field and invalidate ---
  void SetStringProperty(String& Field, const String& Value);
  void SetDoubleProperty(double& Field, double Value);
  void SetColorProperty(TAlphaColor& Field, TAlphaColor Value);
  void SetBooleanProperty(bool& Field, bool Value);
  void SetIntegerProperty(int& Field, int Value);
  void SetSingleProperty(float& Field, float Value);

  // --- properties ---
  bool GetApplyZOrder() const { return FApplyZOrder; }
  void SetApplyZOrder(bool V) { SetBooleanProperty(FApplyZOrder, V); }
  bool GetAutoRepaint() const { return FAutoRepaint; }
  void SetAutoRepaint(bool V) { FAutoRepaint = V; }
  TPanelBevel GetBevelInner() const { return FBevelInner; }
  void SetBevelInner(TPanelBevel V);
  TPanelBevel GetBevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TPanelBevel V);
  TBevelWidth GetBevelWidth() const { return FBevelWidth; }
  // Values above 100 are taken as 100.
  void SetBevelWidth(TBevelWidth V);
  int GetBorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int V);
  TZelHiddenPen* GetBorder() const { return FBorder; }
  void SetBorder(TZelPen* V);
  int GetBorderRound() const { return FBorderRound; }
  void SetBorderRound(int V);
  TBorderStyle GetBorderStyle() const;
  void SetBorderStyle(TBorderStyle V);
  bool GetCancelMouse() const { return FCancelMouse; }
  void SetCancelMouse(bool V) { FCancelMouse = V; }
  const TRectF& GetChartBounds() const { return FChartBounds; }
  int GetChartWidth() const { return FChartWidth; }
  int GetChartHeight() const { return FChartHeight; }
  int GetChartXCenter() const { return FChartXCenter; }
  int GetChartYCenter() const { return FChartYCenter; }
  TZelEmboss* GetEmboss() const { return FEmboss; }
  void SetEmboss(TZelEmboss* V);
  // The picture whose filters are applied to the finished picture; created on first use.
  TZelPicture* GetGlobalPicture();
  TZelPicture* ExistingGlobalPicture() const { return FGlobalPicture; }
  // nullptr frees it; otherwise it copies V.
  void SetGlobalPicture(TZelPicture* V);
  int GetHeight3D() const { return FHeight3D; }
  void SetHeight3D(int V) { FHeight3D = V; }
  int GetWidth3D() const { return FWidth3D; }
  void SetWidth3D(int V) { FWidth3D = V; }
  // Margins, read rounded to whole numbers.
  int GetMarginLeft() const;
  int GetMarginTop() const;
  int GetMarginRight() const;
  int GetMarginBottom() const;
  void SetMarginLeft(float V) { SetMargin(0, V); }
  void SetMarginTop(float V) { SetMargin(1, V); }
  void SetMarginRight(float V) { SetMargin(2, V); }
  void SetMarginBottom(float V) { SetMargin(3, V); }
  // Index 0 left, 1 top, 2 right, 3 bottom.
  void SetMargin(int Index, float Value);
  const TRectF& GetMargins() const { return FMargins; }
  TZelUnits GetMarginUnits() const { return FMarginUnits; }
  void SetMarginUnits(TZelUnits V);
  TCursor GetOriginalCursor() const { return FOriginalCursor; }
  void SetOriginalCursor(TCursor V) { FOriginalCursor = V; }
  TZelPanning* GetPanning() const { return FPanning; }
  // Copies InsideBounds only.
  void SetPanning(TZelPanning* V);
  bool GetPrinting() const { return FPrinting; }
  bool GetPrintProportional() const { return FPrintProportional; }
  void SetPrintProportional(bool V) { FPrintProportional = V; }
  int GetPrintResolution() const { return FPrintResolution; }
  void SetPrintResolution(int V) { FPrintResolution = V; }
  const TRectF& GetPrintMargins() const { return PrintMargins; }
  void SetPrintMargins(const TRectF& V) { PrintMargins = V; }
  TZelShadow* GetShadow() const { return FShadow; }
  void SetShadow(TZelShadow* V);
  bool GetView3D() const { return FView3D; }
  // Broadcasts a TZelView3DEvent when the value changes.
  void SetView3D(bool V);
  TView3DOptions* GetView3DOptions() const { return FView3DOptions; }
  void SetView3DOptions(TView3DOptions* V);
  TComponent* GetGLComponent() const { return FGLComponent; }
  void SetGLComponent(TComponent* V) { FGLComponent = V; }
  bool GetCustomChartRect() const { return FCustomChartRect; }
  void SetCustomChartRect(bool B);
  const TRectF& GetChartRect() const { return ChartRect; }
  // Fixes the chart rectangle to R (custom chart rectangle on) and repaints.
  void SetChartRect(const TRectF& R);
  TCustomZelPanel* GetTheme() const { return Theme; }
  const TZelPrintEvent& GetOnBeforePrint() const { return FOnBeforePrint; }
  void SetOnBeforePrint(TZelPrintEvent V) { FOnBeforePrint = std::move(V); }

  // --- layout ---
  // Width of the frame: border width, each bevel that is not bvNone, a visible border pen.
  int BorderSize();
  // ChartRect from the chart bounds, frame, margins, shadow and emboss.
  void ApplyMargins();
  // Keeps ChartRect inside the bounds and at least one pixel wide and high; updates the chart
  // width, height and centre.
  void ReCalcWidthHeight();
  // Moves R in by the border pen's width, as the frame is drawn; returns the amount.
  int FixBorderWidth(TRectF& R);
  bool IsScreenHighColor() const { return true; }
  // False in a fully rotated 3D view; otherwise whether drawing may clip now (not printing or
  // metafiling, or allowed to clip while doing so).
  bool CanClip();
  void PrepareFont3D(TZelFont* Font);
  // Assigns ABrush in AColor to the canvas; a patterned brush in the back colour would not
  // show, so it takes black (or white on black) instead.
  void SetBrushCanvas(TAlphaColor AColor, TZelBrush* ABrush, TAlphaColor ABackColor);
  // Size of a text of lines separated by ZelLineSeparator (a line feed right after one is
  // dropped), in the canvas font; NumLines the number of lines.
  TPointF MultiLineTextSize(const String& Text, TTextFormat Format, int& NumLines);
  TPointF MultiLineTextSize(const String& Text, int& NumLines) {
    return MultiLineTextSize(Text, TTextFormat::ttfNormal, NumLines);
  }
  int MultiLineTextWidth(const String& Text, int& NumLines);
  // Adds to Key what a width measured in the canvas font depends on: the canvas, the font and
  // its shadow and emboss, and the font zoom.
  void AddTextMetrics(TTextWidthKey& Key) const;
  TPointF GetCursorPos();

  // --- listeners ---
  void AddListener(IZelEventListener* Listener);
  void RemoveListener(IZelEventListener* Listener);
  const std::vector<IZelEventListener*>& GetListeners() const { return IEventListeners; }
  // Hands Event to every listener in order; stops after a mouse event that set CancelMouse.
  // Nothing while the panel is being destroyed.
  TZelEvent* BroadcastZelEvent(TZelEvent* Event);
  template <typename T>
  void BroadcastZelEventClass() {
    if (IEventListeners.empty()) return;
    TOwned<T> E(Create<T>());
    BroadcastZelEvent(E.get());
  }
  void BroadcastMouseEvent(TZelMouseEventKind Kind, TMouseButton Button, TShiftState Shift,
                           float X, float Y);

  // --- pictures, files and printing ---
  // Draws the panel on another platform canvas with the buffer off.
  void NonBufferDraw(TCanvas* ACanvas, const TRectF& R);
  void DrawToMetaCanvas(TCanvas* ACanvas, const TRectF& Rect);
  // A new bitmap of the panel inside Rect (the caller owns it). BackColor 0 fills with the
  // panel's Color first, 0xFFFFFFFF fills nothing, anything else fills with it. The picture has
  // Rect's size in pixels, whatever screen the panel is on, unless a Scale is asked for: it is
  // then drawn at Scale pixels per unit (Rect's size x Scale, that bitmap scale, sharp text and
  // lines as on a screen of that ratio) and stored at 96 x Scale dots per inch unless Dpi says
  // otherwise. A Scale that is not above 0, not finite or above 16 raises
  // EArgumentOutOfRangeException.
  TBitmap* ZelCreateBitmap(TAlphaColor BackColor, const TRectF& Rect, int Dpi = 0, float Scale = 1);
  TBitmap* ZelCreateBitmap();
  void SaveToBitmapFile(const String& FileName);
  void SaveToBitmapFile(const String& FileName, const TRectF& R, float Scale = 1);
  TMetafile* ZelCreateMetafile(bool Enhanced, const TRectF& Rect);
  void SaveToMetafile(const String& FileName);
  void SaveToMetafileEnh(const String& FileName);
  void SaveToMetafileRect(bool Enhanced, const String& FileName, const TRectF& Rect);
  void CopyToClipboardBitmap();
  void CopyToClipboardBitmap(const TRectF& R);
  void CopyToClipboardMetafile(bool Enhanced);
  void CopyToClipboardMetafile(bool Enhanced, const TRectF& R);
  void CalcMetaBounds(const TRectF& R, const TRectF& AChartRect, int& WinWidth, int& WinHeight,
                      int& ViewWidth, int& ViewHeight);
  TRectF PrintMarginsRect(float PaperWidth, float PaperHeight) const;
  TRectF CalcProportionalMargins();
  TRectF ChartPrintRect();
  void PrintPartialCanvas(TCanvas* ACanvas, const TRectF& PrinterRect);
  void PrintPartial(const TRectF& PrinterRect);
  void PrintRect(const TRectF& R);
  void Print();
  // Prints in Orientation and restores the printer's orientation afterwards.
  void PrintOrientation(TPrinterOrientation Orientation);
  void PrintPortrait();
  void PrintLandscape();

  // --- public fields read and written by the chart's drawing ---
  TRectF ICachedChartRect{0, 0, 0, 0};
  TPointF InitialSize{0, 0};
  String IDefaultCanvas;

  // --- drawing outside a paint (points drawn at once; TDirectDrawScope brackets it) ---
  // Binds the library canvas, until EndDirectDraw, to the picture that keeps the chart between
  // paints: the off-screen picture with buffered drawing, else the control's picture. False,
  // binding nothing, when there is no such picture to draw on (never painted, resized since,
  // a buffer waiting for a full repaint, printing, already drawing outside a paint).
  bool BeginDirectDraw();
  // Unbinds the canvas and has the rectangle Changed (control pixels) shown within one frame
  // without a paint; with buffered drawing the rectangle is first copied from the off-screen
  // picture to the control's.
  void EndDirectDraw(const TRectF& Changed);

  bool IsEmbedded = false;
  TCanvas3D* InternalCanvas = nullptr;
  TRectF ChartRect{0, 0, 0, 0};
  TRectF PrintMargins{15, 15, 15, 15};
  TCustomZelPanel* Theme = nullptr;  // owned

 protected:
  void AssignTo(TPersistent* Dest) override;
  // Paint road helpers.
  void DrawControl();
  bool BindControlCanvas();
  void SetControlRounded();

  bool FApplyZOrder = true;
  bool FAutoRepaint = true;
  TPanelBevel FBevelInner = TPanelBevel::bvNone;
  TPanelBevel FBevelOuter = TPanelBevel::bvRaised;
  TBevelWidth FBevelWidth = 1;
  int FBorderWidth = 0;
  TZelHiddenPen* FBorder = nullptr;  // owned
  int FBorderRound = 0;
  bool FCancelMouse = false;
  TRectF FChartBounds{0, 0, 0, 0};
  int FChartWidth = 0, FChartHeight = 0, FChartXCenter = 0, FChartYCenter = 0;
  TCanvas* FControlCanvas = nullptr;
  TZelEmboss* FEmboss = nullptr;          // owned
  TZelPicture* FGlobalPicture = nullptr;  // owned
  int FHeight3D = 0, FWidth3D = 0;
  TRectF FMargins{3, 4, 3, 4};
  TZelUnits FMarginUnits = TZelUnits::muPercent;
  TZelPrintEvent FOnBeforePrint;
  TCursor FOriginalCursor = 0;
  TZelPanning* FPanning = nullptr;  // owned
  bool FPrinting = false;
  bool FPrintProportional = true;
  int FPrintResolution = 0;
  TZelShadow* FShadow = nullptr;  // owned
  bool FView3D = true;
  TView3DOptions* FView3DOptions = nullptr;  // owned
  TComponent* FGLComponent = nullptr;
  std::vector<IZelEventListener*> IEventListeners;
  bool FCustomChartRect = false;
  bool FDirectDrawing = false;
  TCanvas* FDirectPrevious = nullptr;  // the canvas bound before BeginDirectDraw
};

// Draws on a panel outside a paint for a scope: BeginDirectDraw when made; when the scope ends,
// on every path, EndDirectDraw with the rectangle gathered by Changed. Active() tells whether
// the panel's canvas is bound.
class TDirectDrawScope {
 public:
  explicit TDirectDrawScope(TCustomZelPanel* Panel)
      : FPanel(Panel && Panel->BeginDirectDraw() ? Panel : nullptr) {}
  ~TDirectDrawScope() noexcept(false) {
    if (FPanel) CloseAtScopeEnd(FUncaught, [this] { FPanel->EndDirectDraw(FChanged); });
  }
  bool Active() const { return FPanel != nullptr; }
  // Adds R to the rectangle shown at the end.
  void Changed(const TRectF& R) { FChanged = FChanged.IsEmpty() ? R : TRectF::Union(FChanged, R); }
  TDirectDrawScope(const TDirectDrawScope&) = delete;
  TDirectDrawScope& operator=(const TDirectDrawScope&) = delete;

 private:
  TCustomZelPanel* FPanel;
  TRectF FChanged{0, 0, 0, 0};
  int FUncaught = std::uncaught_exceptions();
};

// Sets a panel's AutoRepaint for a scope and restores the remembered value when the scope ends,
// also on failure; does nothing without a panel.
class TAutoRepaintScope {
 public:
  TAutoRepaintScope(TCustomZelPanel* Panel, bool Value)
      : FPanel(Panel), FOld(Panel ? Panel->GetAutoRepaint() : true) {
    if (FPanel) FPanel->SetAutoRepaint(Value);
  }
  ~TAutoRepaintScope() {
    if (FPanel) FPanel->SetAutoRepaint(FOld);
  }
  TAutoRepaintScope(const TAutoRepaintScope&) = delete;
  TAutoRepaintScope& operator=(const TAutoRepaintScope&) = delete;

 private:
  TCustomZelPanel* FPanel;
  bool FOld;
};

}  // namespace zel
