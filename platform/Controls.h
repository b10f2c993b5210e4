// Visual controls: TControl, the base of every window part (chart panels, forms, tool bars),
// and the input types it hands to its handlers.
//
// A control holds its window through an implementation object; the window exists from
// construction, also for a control without a parent, which then works off-screen (it can be
// painted into a bitmap and receive simulated input). Painting happens inside the paint call:
// Paint() draws on the control's canvas (GetCanvas), whose picture the window then shows.
//
// Every forwarded event (paint, mouse, wheel, key, resize) is wrapped: EAbort is swallowed,
// any other exception goes to Application->ShowException (Forms.h). No exception leaves an
// event of the window system.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/Classes.h"
#include "platform/Geometry.h"
#include "platform/Published.h"
#include "platform/Services.h"
#include "platform/Types.h"

class QWidget;

namespace zel {

class TCanvas;
class TBitmap;
class TForm;
class TZelWidget;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };
ZEL_ENUM_NAMES(TMouseButton, "mbLeft", "mbRight", "mbMiddle");

enum class TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble, ssTouch, ssPen, ssCommand, ssHorizontal };
ZEL_ENUM_NAMES(TShiftStateItem, "ssShift", "ssAlt", "ssCtrl", "ssLeft", "ssRight", "ssMiddle", "ssDouble", "ssTouch",
               "ssPen", "ssCommand", "ssHorizontal");
using TShiftState = TSet<TShiftStateItem>;

// Virtual key codes (the values the library's tools compare with).
constexpr Word vkBack = 8, vkTab = 9, vkReturn = 13, vkShift = 16, vkControl = 17, vkMenu = 18,
               vkPause = 19, vkEscape = 27, vkSpace = 32, vkPrior = 33, vkNext = 34, vkEnd = 35,
               vkHome = 36, vkLeft = 37, vkUp = 38, vkRight = 39, vkDown = 40, vkInsert = 45,
               vkDelete = 46, vk0 = 48, vk9 = 57, vkA = 65, vkZ = 90, vkNumpad0 = 96,
               vkNumpad9 = 105, vkMultiply = 106, vkAdd = 107, vkSubtract = 109, vkDecimal = 110,
               vkDivide = 111, vkF1 = 112, vkF12 = 123;

// How a control is placed inside its parent. Most* items are placed before the plain ones;
// Client takes what is left, Contents the whole parent.
enum class TAlignLayout { None, Top, Left, Right, Bottom, MostTop, MostBottom, MostLeft, MostRight, Client, Contents };
ZEL_ENUM_NAMES(TAlignLayout, "None", "Top", "Left", "Right", "Bottom", "MostTop", "MostBottom", "MostLeft", "MostRight",
               "Client", "Contents");

using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, float X, float Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, float X, float Y)>;
using TMouseWheelEvent = std::function<void(TObject* Sender, TShiftState Shift, int WheelDelta, bool& Handled)>;
using TKeyEvent = std::function<void(TObject* Sender, Word& Key, char32_t& KeyChar, TShiftState Shift)>;
using TPaintEvent = std::function<void(TObject* Sender, TCanvas* Canvas, const TRectF& ARect)>;

class TControl : public TComponent {
  ZEL_CLASS(TControl, TComponent)
  ZEL_PUBLISHED_PROPS
 public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;
  void Destroying() override;

  // Parent and children. A control's window lives inside its parent's window; freeing a
  // parent detaches its children (they are freed by their owner, not by the parent).
  TControl* GetParent() const { return FParent; }
  virtual void SetParent(TControl* AParent);
  int GetControlCount() const { return static_cast<int>(FControls.size()); }
  TControl* GetControl(int Index) const;
  // The form this control is placed on (itself for a form), or nullptr.
  TForm* GetParentForm() const;
  // The topmost parent (the control itself when it has none).
  TControl* GetRoot() const;
  bool HasParent() const override { return FParent != nullptr; }
  TComponent* GetParentComponent() const override { return FParent; }
  // A control read from a stream is placed in the control it was stored under.
  void SetParentComponent(TComponent* Value) override;
  // The child controls, in their order.
  void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) override;

  // Position and size in the parent's coordinates (pixels).
  float GetLeft() const { return FBounds.Left; }
  float GetTop() const { return FBounds.Top; }
  float GetWidth() const { return FBounds.Width(); }
  float GetHeight() const { return FBounds.Height(); }
  void SetLeft(float V) { SetBounds(V, GetTop(), GetWidth(), GetHeight()); }
  void SetTop(float V) { SetBounds(GetLeft(), V, GetWidth(), GetHeight()); }
  void SetWidth(float V) { SetBounds(GetLeft(), GetTop(), V, GetHeight()); }
  void SetHeight(float V) { SetBounds(GetLeft(), GetTop(), GetWidth(), V); }
  TPointF GetPosition() const { return FBounds.TopLeft(); }
  void SetPosition(TPointF P) { SetBounds(P.X, P.Y, GetWidth(), GetHeight()); }
  TRectF GetBoundsRect() const { return FBounds; }
  void SetBoundsRect(const TRectF& R) { SetBounds(R.Left, R.Top, R.Width(), R.Height()); }
  // Negative or non-finite sizes become 0; non-finite positions become 0; sizes are capped at
  // 65536. Calls Resize when the size changed.
  virtual void SetBounds(float ALeft, float ATop, float AWidth, float AHeight);
  // 0, 0, Width, Height.
  TRectF GetClientRect() const { return TRectF(0, 0, GetWidth(), GetHeight()); }

  TAlignLayout GetAlign() const { return FAlign; }
  void SetAlign(TAlignLayout V);
  // Space kept free around an aligned control (Left, Top, Right, Bottom).
  TRectF GetMargins() const { return FMargins; }
  void SetMargins(const TRectF& V);
  // Places the children (aligned ones inside the client rectangle); runs DoRealign.
  void Realign();

  bool GetVisible() const { return FVisible; }
  virtual void SetVisible(bool V);
  bool GetEnabled() const { return FEnabled; }
  virtual void SetEnabled(bool V);
  TCursor GetCursor() const { return FCursor; }
  void SetCursor(TCursor V);
  const String& GetHint() const { return FHint; }
  void SetHint(const String& V);
  bool GetShowHint() const { return FShowHint; }
  void SetShowHint(bool V);
  bool GetCanFocus() const { return FCanFocus; }
  void SetCanFocus(bool V);
  bool IsFocused() const;
  void SetFocus();
  bool GetClipChildren() const { return FClipChildren; }
  void SetClipChildren(bool V) { FClipChildren = V; }
  int GetTabOrder() const { return FTabOrder; }
  void SetTabOrder(int V) { FTabOrder = V; }
  // Visual effects are not offered; this only repaints.
  void UpdateEffects() { Repaint(); }

  // Repaint requests. Invalidate asks for Repaint; Repaint asks the window system to paint the
  // control later. While updating (BeginUpdate ... EndUpdate) requests are dropped and
  // remembered; the outermost EndUpdate requests one repaint when any was dropped. Requests
  // made while the control paints, or while it is being destroyed, are dropped.
  virtual void Invalidate();
  void Repaint();
  void BeginUpdate();
  void EndUpdate();
  bool IsUpdating() const { return FUpdating > 0; }
  bool IsPainting() const { return FPainting; }
  // Paints now when a repaint request is pending and the window is shown (the window system
  // would do it later).
  void ProcessPendingPaint();
  // How many repaint requests reached the window system so far (dropped ones not counted).
  int GetRepaintRequestCount() const;
  // How many times the window system had the control painted so far.
  int GetPaintCount() const;
  // Paints the control now and puts the picture on the screen at once, leaving every other
  // part of the window as it is (also the parts waiting for a repaint). Nothing happens while
  // the control is hidden, updating, painting or not on the screen; true when it was painted.
  bool PaintImmediately();

  // The platform canvas of the control, the same object for the control's whole life. It
  // draws into the control's picture, which is cleared before each Paint (unless the control
  // paints opaque, PaintsOpaque) and shown in the window after it. The picture has the
  // control's size (rounded) while Paint runs, and keeps
  // what the last Paint drew until the next one. It is made at the device pixel ratio of the
  // screen the control is on: width x ratio by height x ratio pixels with that bitmap scale, so
  // the canvas reports the ratio as its Scale and draws in units (logical pixels) as anywhere
  // else. A control on a screen of another ratio paints again at that ratio.
  TCanvas* GetCanvas() const { return FPaintCanvas; }

  // Drawing outside Paint. Between BeginDraw and EndDraw (TControlDrawScope closes the bracket
  // on every path) GetCanvas() draws onto the picture of the last paint, which keeps what it
  // had: nothing is cleared, and the extra drawing stays in the picture until the next Paint.
  // BeginDraw answers false (and opens nothing) while painting or being destroyed, and when
  // the picture does not have the control's size (never painted, or resized since).
  bool BeginDraw();
  void EndDraw();
  bool IsDrawing() const;
  // Shows the rectangle R (local pixels) of the picture in the window without running Paint.
  // Present shows it at once, together with every rectangle still waiting; PresentSoon
  // gathers it with the others asked for and shows their union within one frame (16 ms,
  // from the event loop), so that many small drawings cost one window update per frame.
  // Nothing reaches the window while the control is hidden or not on the screen (its next
  // paint shows everything); while updating, the rectangles wait for the outermost EndUpdate.
  void Present(const TRectF& R);
  void PresentSoon(const TRectF& R);
  // How many times a picture reached the window through Present or PresentSoon.
  int GetPresentCount() const;

  // Mouse capture: while captured, the control keeps receiving moves outside its bounds.
  void Capture();
  void ReleaseCapture();
  bool HasCapture() const { return FCaptured; }

  // Coordinates: local to this control, relative to its form (absolute), and of the screen.
  TPointF LocalToAbsolute(TPointF P) const;
  TPointF AbsoluteToLocal(TPointF P) const;
  TPointF LocalToScreen(TPointF P) const;
  TPointF ScreenToLocal(TPointF P) const;

  // Events, fired by the default handlers below.
  TMouseEvent OnMouseDown;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseUp;
  TMouseWheelEvent OnMouseWheel;
  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TNotifyEvent OnResize;
  TPaintEvent OnPaint;

  // The window (for the platform layer's own sources).
  QWidget* GetWidget() const;

  // The handlers that the window's events reach. Positions are whole pixels (the window's
  // float positions rounded half to even). A double click arrives as MouseDown with ssDouble
  // in Shift, followed by DblClick. Overrides call the inherited handler to fire the events.
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y);
  virtual void MouseMove(TShiftState Shift, float X, float Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y);
  // WheelDelta is a whole number of notches of 120 (parts of a notch are gathered first).
  virtual void MouseWheel(TShiftState Shift, int WheelDelta, bool& Handled);
  virtual void Click();
  virtual void DblClick();
  virtual void DoMouseEnter();
  virtual void DoMouseLeave();
  virtual void KeyDown(Word& Key, char32_t& KeyChar, TShiftState Shift);
  virtual void KeyUp(Word& Key, char32_t& KeyChar, TShiftState Shift);
  virtual void Resize();
  // Draws the control on GetCanvas() (cleared to transparent before); the default fires
  // OnPaint.
  virtual void Paint();
  // True when Paint sets every pixel of the control's picture, opaque: the picture is then not
  // cleared first, and the window does not paint what lies beneath the control.
  virtual bool PaintsOpaque() const { return false; }

  struct TImpl;

 protected:
  // Places the children; the default follows each child's Align and Margins. Layout
  // containers override it.
  virtual void DoRealign();
  // Called after a child was added to (Inserting true) or removed from this control.
  virtual void ChildChanged(TControl* Child, bool Inserting);
  // Gives the control the size it is made with (called by constructors). That size may depend
  // on where the control is made (a chart takes its form's), so a reader may be made with
  // another: a control made with a size always writes its size, one made without writes it
  // when it is not 0.
  void InitSize(float AWidth, float AHeight);

 private:
  friend struct TImpl;
  friend class TZelWidget;
  void RemoveChild(TControl* Child);
  void ApplyGeometry();

  std::unique_ptr<TImpl> FImpl;
  TControl* FParent = nullptr;
  std::vector<TControl*> FControls;
  TRectF FBounds;
  float FMadeWidth = 0, FMadeHeight = 0;  // the size InitSize gave
  TRectF FMargins;
  TAlignLayout FAlign = TAlignLayout::None;
  bool FVisible = true;
  bool FEnabled = true;
  TCursor FCursor = crDefault;
  String FHint;
  bool FShowHint = false;
  bool FCanFocus = false;
  bool FClipChildren = false;
  int FTabOrder = -1;
  int FUpdating = 0;
  bool FRepaintDropped = false;
  bool FPainting = false;
  bool FCaptured = false;
  bool FPressed = false;
  bool FRealigning = false;
  TCanvas* FPaintCanvas = nullptr;
};

// A control's drawing outside Paint for a scope: BeginDraw when made, EndDraw when the scope
// ends, on every path. Active() tells whether the bracket opened.
class TControlDrawScope {
 public:
  explicit TControlDrawScope(TControl* Control) : FControl(Control && Control->BeginDraw() ? Control : nullptr) {}
  ~TControlDrawScope() {
    if (FControl) FControl->EndDraw();
  }
  bool Active() const { return FControl != nullptr; }
  TControlDrawScope(const TControlDrawScope&) = delete;
  TControlDrawScope& operator=(const TControlDrawScope&) = delete;

 private:
  TControl* FControl;
};

// Forwards the exception being handled to Application->ShowException, silently dropping
// EAbort. Call only inside a catch block.
void HandleEventException();

// ---------------------------------------------------------------------------------------------
// Simulated input and off-screen rendering, for tests and automation. The events go through the
// same path as the window system's (rounding, double clicks, exception wrapping). Positions are
// local to the control.

enum class TSimMouseKind { Press, Release, Move, DoubleClickPress };
void SimulateMouse(TControl* Control, TSimMouseKind Kind, TMouseButton Button, TShiftState Shift, float X, float Y);
// A press followed by a release at the same point.
void SimulateClick(TControl* Control, TMouseButton Button, float X, float Y, TShiftState Shift = {});
// The full sequence of a double click: press, release, double-click press, release.
void SimulateDoubleClick(TControl* Control, TMouseButton Button, float X, float Y, TShiftState Shift = {});
// WheelDelta in the platform's unit (120 per notch; positive away from the user). As with a
// real wheel, parts of a notch are gathered until a whole notch is reached, and the control
// receives whole notches only.
void SimulateWheel(TControl* Control, int WheelDelta, float X, float Y, TShiftState Shift = {});
void SimulateKey(TControl* Control, bool Press, Word Key, char32_t KeyChar = 0, TShiftState Shift = {});
void SimulateMouseEnter(TControl* Control);
void SimulateMouseLeave(TControl* Control);
// Sends a resize of the window (as the window system does after a user resize).
void SimulateWindowResize(TControl* Control, int Width, int Height);

// Renders the control with its children into a new bitmap of its size (the caller owns it).
TBitmap* PaintToBitmap(TControl* Control);
// What the window shows of the control now, read back from the window's picture (the caller
// owns it): the device pixels, with the screen's ratio as the bitmap scale (twice the control's
// size at ratio 2); an empty bitmap when the control is not on the screen. Runs no paint.
TBitmap* PresentedPicture(TControl* Control);

}  // namespace zel
