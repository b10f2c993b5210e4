// Controls on Qt widgets: every control owns one widget that forwards its events.
#include "platform/Controls.h"

#include <QApplication>
#include <QBackingStore>
#include <QCursor>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QMoveEvent>
#include <QPaintEngine>
#include <QPainter>
#include <QPointer>
#include <QResizeEvent>
#include <QTimer>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cmath>

#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Forms.h"
#include "platform/Math.h"
#include "platform/SysUtils.h"
#include "platform/PainterCanvas.h"

namespace zel {

ZEL_DEFINE_COMPONENT_CLASS(TControl, TComponent)

namespace {

constexpr float MaxControlSize = 65536;

Qt::CursorShape ToQtCursor(TCursor C) {
  switch (C) {
    case crNone: return Qt::BlankCursor;
    case crCross: return Qt::CrossCursor;
    case crIBeam: return Qt::IBeamCursor;
    case crSizeNESW: return Qt::SizeBDiagCursor;
    case crSizeNS: return Qt::SizeVerCursor;
    case crSizeNWSE: return Qt::SizeFDiagCursor;
    case crSizeWE: return Qt::SizeHorCursor;
    case crUpArrow: return Qt::UpArrowCursor;
    case crHourGlass: return Qt::WaitCursor;
    case crDrag:
    case crMultiDrag: return Qt::DragCopyCursor;
    case crNoDrop:
    case crNo: return Qt::ForbiddenCursor;
    case crHSplit: return Qt::SplitHCursor;
    case crVSplit: return Qt::SplitVCursor;
    case crSQLWait:
    case crAppStart: return Qt::BusyCursor;
    case crHelp: return Qt::WhatsThisCursor;
    case crHandPoint: return Qt::PointingHandCursor;
    case crSizeAll: return Qt::SizeAllCursor;
    default: return Qt::ArrowCursor;
  }
}

struct TKeyPair {
  int Qt;
  Word Vk;
};
constexpr TKeyPair KeyTable[] = {
    {Qt::Key_Backspace, vkBack}, {Qt::Key_Tab, vkTab},         {Qt::Key_Return, vkReturn},
    {Qt::Key_Enter, vkReturn},   {Qt::Key_Shift, vkShift},     {Qt::Key_Control, vkControl},
    {Qt::Key_Alt, vkMenu},       {Qt::Key_Pause, vkPause},     {Qt::Key_Escape, vkEscape},
    {Qt::Key_Space, vkSpace},    {Qt::Key_PageUp, vkPrior},    {Qt::Key_PageDown, vkNext},
    {Qt::Key_End, vkEnd},        {Qt::Key_Home, vkHome},       {Qt::Key_Left, vkLeft},
    {Qt::Key_Up, vkUp},          {Qt::Key_Right, vkRight},     {Qt::Key_Down, vkDown},
    {Qt::Key_Insert, vkInsert},  {Qt::Key_Delete, vkDelete},   {Qt::Key_Asterisk, vkMultiply},
    {Qt::Key_Plus, vkAdd},       {Qt::Key_Minus, vkSubtract},  {Qt::Key_Slash, vkDivide},
};

Word VkFromQt(int Key) {
  if (Key >= Qt::Key_A && Key <= Qt::Key_Z) return Word(vkA + (Key - Qt::Key_A));
  if (Key >= Qt::Key_0 && Key <= Qt::Key_9) return Word(vk0 + (Key - Qt::Key_0));
  if (Key >= Qt::Key_F1 && Key <= Qt::Key_F12) return Word(vkF1 + (Key - Qt::Key_F1));
  for (const TKeyPair& P : KeyTable)
    if (P.Qt == Key) return P.Vk;
  return 0;
}

int QtFromVk(Word Vk) {
  if (Vk >= vkA && Vk <= vkZ) return Qt::Key_A + (Vk - vkA);
  if (Vk >= vk0 && Vk <= vk9) return Qt::Key_0 + (Vk - vk0);
  if (Vk >= vkNumpad0 && Vk <= vkNumpad9) return Qt::Key_0 + (Vk - vkNumpad0);
  if (Vk >= vkF1 && Vk <= vkF12) return Qt::Key_F1 + (Vk - vkF1);
  for (const TKeyPair& P : KeyTable)
    if (P.Vk == Vk) return P.Qt;
  return Qt::Key_unknown;
}

TShiftState ShiftFrom(Qt::KeyboardModifiers M, Qt::MouseButtons B) {
  TShiftState S;
  if (M & Qt::ShiftModifier) S.Include(TShiftStateItem::ssShift);
  if (M & Qt::ControlModifier) S.Include(TShiftStateItem::ssCtrl);
  if (M & Qt::AltModifier) S.Include(TShiftStateItem::ssAlt);
  if (M & Qt::MetaModifier) S.Include(TShiftStateItem::ssCommand);
  if (B & Qt::LeftButton) S.Include(TShiftStateItem::ssLeft);
  if (B & Qt::RightButton) S.Include(TShiftStateItem::ssRight);
  if (B & Qt::MiddleButton) S.Include(TShiftStateItem::ssMiddle);
  return S;
}

Qt::KeyboardModifiers ModifiersFrom(TShiftState S) {
  Qt::KeyboardModifiers M;
  if (S.Contains(TShiftStateItem::ssShift)) M |= Qt::ShiftModifier;
  if (S.Contains(TShiftStateItem::ssCtrl)) M |= Qt::ControlModifier;
  if (S.Contains(TShiftStateItem::ssAlt)) M |= Qt::AltModifier;
  if (S.Contains(TShiftStateItem::ssCommand)) M |= Qt::MetaModifier;
  return M;
}

Qt::MouseButtons ButtonsFrom(TShiftState S) {
  Qt::MouseButtons B;
  if (S.Contains(TShiftStateItem::ssLeft)) B |= Qt::LeftButton;
  if (S.Contains(TShiftStateItem::ssRight)) B |= Qt::RightButton;
  if (S.Contains(TShiftStateItem::ssMiddle)) B |= Qt::MiddleButton;
  return B;
}

Qt::MouseButton QtButton(TMouseButton B) {
  switch (B) {
    case TMouseButton::mbRight: return Qt::RightButton;
    case TMouseButton::mbMiddle: return Qt::MiddleButton;
    default: return Qt::LeftButton;
  }
}

bool ButtonFrom(Qt::MouseButton B, TMouseButton& Out) {
  switch (B) {
    case Qt::LeftButton: Out = TMouseButton::mbLeft; return true;
    case Qt::RightButton: Out = TMouseButton::mbRight; return true;
    case Qt::MiddleButton: Out = TMouseButton::mbMiddle; return true;
    default: return false;
  }
}

float Coord(double V) { return float(Round(V)); }

float SaneSize(float V) {
  if (!std::isfinite(V) || V < 0) return 0;
  return std::min(V, MaxControlSize);
}

float SanePos(float V) {
  if (!std::isfinite(V)) return 0;
  return std::clamp(V, -1e7f, 1e7f);
}

}  // namespace

// The widget of a control. Every event it forwards is wrapped; after a call into the control
// it checks that the control still exists (a handler may free it).
class TZelWidget : public QWidget {
 public:
  explicit TZelWidget(TControl* C) : FControl(C) {
    setMouseTracking(true);
    setAttribute(Qt::WA_NoSystemBackground, false);
    setFocusPolicy(Qt::NoFocus);
  }
  TControl* FControl;
  int FDepth = 0;
  int FWheelRest = 0;  // parts of a wheel notch not yet passed on

  // Has the control paint its picture at Ratio device pixels per unit (its screen's, or that of
  // the device it is rendered to); false when there is nothing to show.
  bool RenderPicture(float Ratio);
  // Paints the control and puts only its picture on the window's backing store and screen;
  // true when it did.
  bool PaintAlone();
  // Puts the part Area (local pixels) of the control's picture on the window's backing store
  // and the screen, leaving the rest of the window as it is; true when any of it was shown.
  bool ShowPicture(const QRegion& Area);

 protected:
  // Input for a disabled control is dropped.
  template <typename F>
  void ForwardInput(F&& Fn) {
    if (FControl && FControl->GetEnabled()) Forward(Fn);
  }

  template <typename F>
  void Forward(F&& Fn) {
    if (!FControl) return;
    ++FDepth;
    try {
      Fn();
    } catch (...) {
      HandleEventException();
    }
    --FDepth;
  }

  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override;
  void moveEvent(QMoveEvent*) override;
  void mousePressEvent(QMouseEvent* E) override { Mouse(E, TSimMouseKind::Press); }
  void mouseReleaseEvent(QMouseEvent* E) override { Mouse(E, TSimMouseKind::Release); }
  void mouseMoveEvent(QMouseEvent* E) override { Mouse(E, TSimMouseKind::Move); }
  void mouseDoubleClickEvent(QMouseEvent* E) override { Mouse(E, TSimMouseKind::DoubleClickPress); }
  void wheelEvent(QWheelEvent* E) override;
  void keyPressEvent(QKeyEvent* E) override { Key(E, true); }
  void keyReleaseEvent(QKeyEvent* E) override { Key(E, false); }
  void enterEvent(QEnterEvent*) override {
    Forward([&] { FControl->DoMouseEnter(); });
  }
  void leaveEvent(QEvent*) override {
    Forward([&] { FControl->DoMouseLeave(); });
  }
  void closeEvent(QCloseEvent* E) override;
  bool event(QEvent* E) override;

 private:
  void Mouse(QMouseEvent* E, TSimMouseKind Kind);
  void Key(QKeyEvent* E, bool Press);
};

struct TControl::TImpl {
  TZelWidget* Widget = nullptr;
  // The picture the control paints into; its canvas is the control's canvas.
  TOwned<TBitmap> Buffer{new TBitmap()};
  // The size (units) the picture was last painted for; its bitmap scale is the ratio.
  QSize PictureSize;
  int RepaintRequests = 0;
  int Paints = 0;
  bool PaintPending = false;
  // Drawing outside Paint: open brackets, the rectangles waiting to be shown (local pixels)
  // and the single-shot timer that shows them within one frame.
  int Drawing = 0;
  QRect PresentArea;
  QTimer* PresentTimer = nullptr;
  int Presents = 0;
};

void HandleEventException() {
  try {
    throw;
  } catch (const EAbort&) {
  } catch (const std::exception& E) {
    try {
      Application->ShowException(E);
    } catch (...) {
    }
  } catch (...) {
    try {
      Application->ShowException(Exception("Unknown exception"));
    } catch (...) {
    }
  }
}

namespace {

// A device pixel ratio Qt gives, or 1 where it is not a sane one.
float SaneRatio(double R) { return R > 0 && R <= 16 ? float(R) : 1.0f; }

// The ratio of the screen a widget is on.
float WidgetRatio(const QWidget* W) { return SaneRatio(W->devicePixelRatioF()); }

// Draws a control's picture with its top-left at Offset (units of the painter): its device
// pixels onto the device pixels beneath, one to one, however dense the device is.
void DrawPicture(QPainter& Painter, QPointF Offset, const TBitmap& Picture) {
  const QImage& Image = BitmapImage(Picture);
  const float S = Picture.GetBitmapScale();
  if (S == 1) {
    Painter.drawImage(Offset, Image);
    return;
  }
  Painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  Painter.drawImage(QRectF(Offset, QSizeF(Image.width() / double(S), Image.height() / double(S))), Image,
                    QRectF(Image.rect()));
}

}  // namespace

bool TZelWidget::RenderPicture(float Ratio) {
  TControl* C = FControl;
  C->FImpl->PaintPending = false;
  ++C->FImpl->Paints;
  int W = width(), H = height();
  if (W <= 0 || H <= 0) return false;
  TBitmap* Buffer = C->FImpl->Buffer.get();
  // The picture covers the control's device pixels; its canvas draws in units at that scale.
  const int DW = ScaledPixels(float(W), Ratio), DH = ScaledPixels(float(H), Ratio);
  // A picture too large to hold is not painted (the bitmap refuses such sizes).
  if (DW <= 0 || DH <= 0 || Int64(DW) * DH > (Int64(1) << 28)) return false;
  const bool Opaque = C->PaintsOpaque();
  setAttribute(Qt::WA_OpaquePaintEvent, Opaque);
  if (Buffer->GetWidth() != DW || Buffer->GetHeight() != DH)
    Buffer->SetSize(DW, DH);
  else if (!Opaque)
    Buffer->Clear(0);
  Buffer->SetBitmapScale(Ratio);
  C->FImpl->PictureSize = QSize(W, H);
  C->FPainting = true;
  struct TReset {
    TZelWidget* W;
    ~TReset() {
      if (W->FControl) W->FControl->FPainting = false;
    }
  } Reset{this};
  C->Paint();
  if (!FControl) return false;  // freed while painting
  SuspendBitmapCanvas(*Buffer);
  return true;
}

void TZelWidget::paintEvent(QPaintEvent*) {
  Forward([&] {
    QPainter Painter(this);
    // The device painted on now: the window's backing store, or a picture a program renders
    // the window into.
    const QPaintDevice* Target = Painter.paintEngine() ? Painter.paintEngine()->paintDevice() : Painter.device();
    if (!RenderPicture(SaneRatio((Target ? Target : Painter.device())->devicePixelRatioF()))) return;
    DrawPicture(Painter, QPointF(0, 0), *FControl->FImpl->Buffer);
  });
}

namespace {

// The backing store and screen window of a widget's top window, when it is on the screen.
bool ExposedStore(QWidget* W, QBackingStore*& Store, QWindow*& Window) {
  QWidget* Top = W->window();
  Window = Top->windowHandle();
  Store = Top->backingStore();
  return Window && Store && Window->isExposed();
}

}  // namespace

bool TZelWidget::ShowPicture(const QRegion& Area) {
  QBackingStore* Store = nullptr;
  QWindow* Window = nullptr;
  if (!FControl || !ExposedStore(this, Store, Window)) return false;
  const QPoint Offset = mapTo(window(), QPoint(0, 0));
  const QRegion Shown = (Area & visibleRegion()).translated(Offset) & QRect(QPoint(0, 0), Store->size());
  if (Shown.isEmpty()) return false;
  TBitmap* Picture = FControl->FImpl->Buffer.get();
  SuspendBitmapCanvas(*Picture);
  Store->beginPaint(Shown);
  {
    QPainter Painter(Store->paintDevice());
    Painter.setClipRegion(Shown);
    DrawPicture(Painter, QPointF(Offset), *Picture);
  }
  Store->endPaint();
  Store->flush(Shown, Window);
  return true;
}

bool TZelWidget::PaintAlone() {
  QBackingStore* Store = nullptr;
  QWindow* Window = nullptr;
  if (!ExposedStore(this, Store, Window) || visibleRegion().isEmpty()) return false;
  bool Painted = false;
  Forward([&] {
    if (!RenderPicture(SaneRatio(Store->paintDevice()->devicePixelRatioF()))) return;
    Painted = ShowPicture(visibleRegion());
  });
  return Painted;
}

void TZelWidget::resizeEvent(QResizeEvent*) {
  Forward([&] {
    TControl* C = FControl;
    int W = width(), H = height();
    if (W == Round(C->GetWidth()) && H == Round(C->GetHeight())) return;
    // A window may have been moved by the user meanwhile: keep where it is now.
    float L = isWindow() ? float(geometry().x()) : C->GetLeft();
    float T = isWindow() ? float(geometry().y()) : C->GetTop();
    C->SetBounds(L, T, float(W), float(H));
  });
}

void TZelWidget::moveEvent(QMoveEvent*) {
  // A window moved by the user: the bounds follow without moving it again.
  if (!FControl || !isWindow()) return;
  TRectF& B = FControl->FBounds;
  float W = B.Width(), H = B.Height();
  B.Left = float(geometry().x());
  B.Top = float(geometry().y());
  B.Right = B.Left + W;
  B.Bottom = B.Top + H;
}

bool TZelWidget::event(QEvent* E) {
  // On a screen of another ratio (the window moved, or the screen's scale changed) the control
  // paints again at the new ratio.
  if (E->type() == QEvent::ScreenChangeInternal && FControl && FControl->FImpl->PictureSize.isValid() &&
      FControl->FImpl->Buffer->GetBitmapScale() != WidgetRatio(this))
    update();
  return QWidget::event(E);
}

void TZelWidget::closeEvent(QCloseEvent* E) {
  bool Accept = true;
  Forward([&] {
    if (auto* F = dynamic_cast<TForm*>(FControl)) Accept = F->HandleCloseRequest();
  });
  if (Accept)
    E->accept();
  else
    E->ignore();
}

void TZelWidget::Mouse(QMouseEvent* E, TSimMouseKind Kind) {
  E->accept();
  ForwardInput([&] {
    float X = Coord(E->position().x()), Y = Coord(E->position().y());
    TShiftState Shift = ShiftFrom(E->modifiers(), E->buttons());
    TMouseButton B = TMouseButton::mbLeft;
    switch (Kind) {
      case TSimMouseKind::Move: FControl->MouseMove(Shift, X, Y); break;
      case TSimMouseKind::Press:
        if (!ButtonFrom(E->button(), B)) return;
        FControl->FPressed = B == TMouseButton::mbLeft;
        FControl->MouseDown(B, Shift, X, Y);
        break;
      case TSimMouseKind::DoubleClickPress:
        if (!ButtonFrom(E->button(), B)) return;
        FControl->FPressed = false;
        Shift.Include(TShiftStateItem::ssDouble);
        FControl->MouseDown(B, Shift, X, Y);
        if (FControl) FControl->DblClick();
        break;
      case TSimMouseKind::Release: {
        if (!ButtonFrom(E->button(), B)) return;
        bool WasPressed = FControl->FPressed && B == TMouseButton::mbLeft;
        if (B == TMouseButton::mbLeft) FControl->FPressed = false;
        FControl->MouseUp(B, Shift, X, Y);
        if (WasPressed && FControl && FControl->GetClientRect().Contains(TPointF(X, Y))) FControl->Click();
        break;
      }
    }
  });
}

void TZelWidget::wheelEvent(QWheelEvent* E) {
  bool Handled = false;
  int Delta = E->angleDelta().y();
  bool Horizontal = false;
  if (Delta == 0 && E->angleDelta().x() != 0) {
    Delta = E->angleDelta().x();
    Horizontal = true;
  }
  // Fine-grained wheels and touch pads send parts of a notch (or nothing but pixels): the parts
  // are gathered, and the control sees whole notches of 120 only, so that one notch is one
  // step of the chart whatever the device.
  if (Delta == 0) {
    E->ignore();
    return;
  }
  if ((FWheelRest > 0 && Delta < 0) || (FWheelRest < 0 && Delta > 0)) FWheelRest = 0;
  FWheelRest += Delta;
  int Whole = FWheelRest / 120 * 120;
  if (Whole == 0) {
    E->accept();
    return;
  }
  FWheelRest -= Whole;
  ForwardInput([&] {
    TShiftState Shift = ShiftFrom(E->modifiers(), E->buttons());
    if (Horizontal) Shift.Include(TShiftStateItem::ssHorizontal);
    FControl->MouseWheel(Shift, Whole, Handled);
  });
  if (Handled)
    E->accept();
  else
    E->ignore();
}

void TZelWidget::Key(QKeyEvent* E, bool Press) {
  Word K = VkFromQt(E->key());
  char32_t Ch = 0;
  QString T = E->text();
  if (!T.isEmpty()) {
    QList<uint> U = T.toUcs4();
    if (!U.isEmpty() && U[0] >= 32 && U[0] != 127) Ch = char32_t(U[0]);
  }
  bool Handled = false;
  ForwardInput([&] {
    if (K == 0 && Ch == 0) return;
    Word Key = K;
    char32_t KeyChar = Ch;
    TShiftState Shift = ShiftFrom(E->modifiers(), Qt::NoButton);
    if (Press)
      FControl->KeyDown(Key, KeyChar, Shift);
    else
      FControl->KeyUp(Key, KeyChar, Shift);
    Handled = Key == 0 && KeyChar == 0;
  });
  if (Handled)
    E->accept();
  else
    E->ignore();
}

// ---------------------------------------------------------------------------------------------

TControl::TControl(TComponent* AOwner) : TComponent(AOwner), FImpl(std::make_unique<TImpl>()) {
  EnsureQtApplication();
  FImpl->Widget = new TZelWidget(this);
  FPaintCanvas = FImpl->Buffer->GetCanvas();
  FImpl->Widget->setAttribute(Qt::WA_DontShowOnScreen, false);
}

TControl::~TControl() {
  // Children are detached (their owners free them); the parent forgets this control.
  for (TControl* C : FControls) {
    C->FParent = nullptr;
    if (C->FImpl->Widget) {
      C->FImpl->Widget->hide();
      C->FImpl->Widget->setParent(nullptr);
    }
  }
  FControls.clear();
  if (FParent) FParent->RemoveChild(this);
  FParent = nullptr;
  if (TZelWidget* W = FImpl->Widget) {
    FImpl->Widget = nullptr;
    W->FControl = nullptr;
    W->hide();
    // Inside one of its own events the widget is still on the call stack: delete it later.
    if (W->FDepth > 0)
      W->deleteLater();
    else
      delete W;
  }
}

void TControl::Destroying() { inherited::Destroying(); }

QWidget* TControl::GetWidget() const { return FImpl->Widget; }

TControl* TControl::GetControl(int Index) const {
  if (Index < 0 || Index >= GetControlCount()) throw EListError(Format(SListIndexError, {Index}));
  return FControls[static_cast<std::size_t>(Index)];
}

TForm* TControl::GetParentForm() const {
  for (const TControl* C = this; C; C = C->FParent)
    if (auto* F = dynamic_cast<const TForm*>(C)) return const_cast<TForm*>(F);
  return nullptr;
}

TControl* TControl::GetRoot() const {
  const TControl* C = this;
  while (C->FParent) C = C->FParent;
  return const_cast<TControl*>(C);
}

void TControl::SetParentComponent(TComponent* Value) {
  if (Value && !dynamic_cast<TControl*>(Value))
    throw EReadError(Value->ClassName() + " cannot hold the control " + GetName());
  SetParent(static_cast<TControl*>(Value));
}

void TControl::GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) {
  TComponent::GetChildren(Proc, Root);
  // Controls another component made for itself (and owns) are not stored with this one.
  for (TControl* C : FControls)
    if (C->GetComponentOwner() == Root) Proc(C);
}

void TControl::SetParent(TControl* AParent) {
  if (AParent == FParent) return;
  for (TControl* P = AParent; P; P = P->FParent)
    if (P == this) throw EInvalidOperation("A control cannot be placed inside itself");
  if (AParent && AParent->IsDestroying()) AParent = nullptr;
  TControl* Old = FParent;
  if (Old) Old->RemoveChild(this);
  FParent = AParent;
  if (AParent) AParent->FControls.push_back(this);
  if (QWidget* W = FImpl->Widget) {
    W->setParent(AParent ? AParent->FImpl->Widget : nullptr);
    if (AParent) W->setVisible(FVisible);
    ApplyGeometry();
  }
  if (Old && !Old->IsDestroying()) {
    if (FAlign != TAlignLayout::None) Old->Realign();
    Old->ChildChanged(this, false);
  }
  if (AParent) {
    AParent->Realign();
    AParent->ChildChanged(this, true);
  }
}

void TControl::RemoveChild(TControl* Child) {
  auto It = std::find(FControls.begin(), FControls.end(), Child);
  if (It != FControls.end()) FControls.erase(It);
}

void TControl::ChildChanged(TControl*, bool) {}

void TControl::ApplyGeometry() {
  QWidget* W = FImpl->Widget;
  if (!W) return;
  W->setGeometry(Round(FBounds.Left), Round(FBounds.Top), Round(FBounds.Width()), Round(FBounds.Height()));
}

void TControl::SetBounds(float ALeft, float ATop, float AWidth, float AHeight) {
  ALeft = SanePos(ALeft);
  ATop = SanePos(ATop);
  AWidth = SaneSize(AWidth);
  AHeight = SaneSize(AHeight);
  TRectF New(ALeft, ATop, ALeft + AWidth, ATop + AHeight);
  bool SizeChanged = AWidth != FBounds.Width() || AHeight != FBounds.Height();
  if (!SizeChanged && New.Left == FBounds.Left && New.Top == FBounds.Top) return;
  FBounds = New;
  ApplyGeometry();
  if (IsDestroying()) return;
  if (SizeChanged) Realign();
  if (FParent && FAlign != TAlignLayout::None && !FParent->FRealigning) FParent->Realign();
  if (SizeChanged) Resize();
}

void TControl::InitSize(float AWidth, float AHeight) {
  SetBounds(GetLeft(), GetTop(), AWidth, AHeight);
  FMadeWidth = GetWidth();
  FMadeHeight = GetHeight();
}

void TControl::SetAlign(TAlignLayout V) {
  if (V == FAlign) return;
  FAlign = V;
  if (FParent) FParent->Realign();
}

void TControl::SetMargins(const TRectF& V) {
  if (V == FMargins) return;
  FMargins = V;
  if (FParent && FAlign != TAlignLayout::None) FParent->Realign();
}

void TControl::Realign() {
  if (FRealigning || IsDestroying()) return;
  TValueScope Realigning(FRealigning, true);
  DoRealign();
}

void TControl::DoRealign() {
  using A = TAlignLayout;
  TRectF R = GetClientRect();
  static constexpr A Order[] = {A::MostTop, A::MostBottom, A::MostLeft, A::MostRight, A::Top,
                                A::Bottom,  A::Left,       A::Right,    A::Client,    A::Contents};
  for (A Pass : Order) {
    // A copy: a child's handlers may change the list.
    std::vector<TControl*> Children = FControls;
    for (TControl* C : Children) {
      if (C->FAlign != Pass || !C->FVisible) continue;
      const TRectF& M = C->FMargins;
      float W = C->GetWidth(), H = C->GetHeight();
      switch (Pass) {
        case A::MostTop:
        case A::Top:
          C->SetBounds(R.Left + M.Left, R.Top + M.Top, R.Width() - M.Left - M.Right, H);
          R.Top += H + M.Top + M.Bottom;
          break;
        case A::MostBottom:
        case A::Bottom:
          C->SetBounds(R.Left + M.Left, R.Bottom - M.Bottom - H, R.Width() - M.Left - M.Right, H);
          R.Bottom -= H + M.Top + M.Bottom;
          break;
        case A::MostLeft:
        case A::Left:
          C->SetBounds(R.Left + M.Left, R.Top + M.Top, W, R.Height() - M.Top - M.Bottom);
          R.Left += W + M.Left + M.Right;
          break;
        case A::MostRight:
        case A::Right:
          C->SetBounds(R.Right - M.Right - W, R.Top + M.Top, W, R.Height() - M.Top - M.Bottom);
          R.Right -= W + M.Left + M.Right;
          break;
        case A::Client:
          C->SetBounds(R.Left + M.Left, R.Top + M.Top, R.Width() - M.Left - M.Right, R.Height() - M.Top - M.Bottom);
          break;
        case A::Contents:
          C->SetBounds(M.Left, M.Top, GetWidth() - M.Left - M.Right, GetHeight() - M.Top - M.Bottom);
          break;
        case A::None: break;
      }
      if (R.Bottom < R.Top) R.Bottom = R.Top;
      if (R.Right < R.Left) R.Right = R.Left;
    }
  }
}

void TControl::SetVisible(bool V) {
  if (V == FVisible) return;
  FVisible = V;
  if (FParent && FImpl->Widget) FImpl->Widget->setVisible(V);
  if (FParent && FAlign != TAlignLayout::None) FParent->Realign();
}

void TControl::SetEnabled(bool V) {
  if (V == FEnabled) return;
  FEnabled = V;
  if (FImpl->Widget) FImpl->Widget->setEnabled(V);
  Repaint();
}

void TControl::SetCursor(TCursor V) {
  if (V == FCursor) return;
  FCursor = V;
  if (QWidget* W = FImpl->Widget) {
    if (V == crDefault)
      W->unsetCursor();
    else
      W->setCursor(ToQtCursor(V));
  }
}

void TControl::SetHint(const String& V) {
  if (V == FHint) return;
  FHint = V;
  if (QWidget* W = FImpl->Widget) W->setToolTip(QString::fromUtf8(V.data(), qsizetype(V.size())));
}

void TControl::SetShowHint(bool V) { FShowHint = V; }

void TControl::SetCanFocus(bool V) {
  FCanFocus = V;
  if (QWidget* W = FImpl->Widget) W->setFocusPolicy(V ? Qt::StrongFocus : Qt::NoFocus);
}

bool TControl::IsFocused() const { return FImpl->Widget && FImpl->Widget->hasFocus(); }

void TControl::SetFocus() {
  if (FCanFocus && FImpl->Widget) FImpl->Widget->setFocus(Qt::OtherFocusReason);
}

void TControl::Invalidate() { Repaint(); }

void TControl::Repaint() {
  if (IsDestroying() || FPainting || !FImpl->Widget) return;
  if (FUpdating > 0) {
    FRepaintDropped = true;
    return;
  }
  ++FImpl->RepaintRequests;
  FImpl->PaintPending = true;
  FImpl->Widget->update();
}

int TControl::GetRepaintRequestCount() const { return FImpl->RepaintRequests; }

int TControl::GetPaintCount() const { return FImpl->Paints; }

bool TControl::PaintImmediately() {
  TZelWidget* W = FImpl->Widget;
  if (IsDestroying() || FPainting || FUpdating > 0 || !W || !W->isVisible()) return false;
  return W->PaintAlone();
}

bool TControl::BeginDraw() {
  TZelWidget* W = FImpl->Widget;
  if (IsDestroying() || FPainting || !W) return false;
  // The picture must be the last paint's at the control's size on the screen it is on now.
  const TBitmap* Picture = FImpl->Buffer.get();
  if (Picture->IsEmpty() || FImpl->PictureSize != W->size() || Picture->GetBitmapScale() != WidgetRatio(W))
    return false;
  ++FImpl->Drawing;
  FPaintCanvas->BeginScene();
  return true;
}

void TControl::EndDraw() {
  if (FImpl->Drawing == 0) return;
  --FImpl->Drawing;
  FPaintCanvas->EndScene();
}

bool TControl::IsDrawing() const { return FImpl->Drawing > 0; }

namespace {

QRect PixelRect(const TRectF& R) {
  if (!std::isfinite(R.Left) || !std::isfinite(R.Top) || !std::isfinite(R.Right) || !std::isfinite(R.Bottom))
    return {};
  // Every pixel the rectangle touches, within the largest control.
  auto Lo = [](float V) { return int(std::clamp(std::floor(V), -1.0f, MaxControlSize)); };
  auto Hi = [](float V) { return int(std::clamp(std::ceil(V), -1.0f, MaxControlSize)); };
  const int L = Lo(std::min(R.Left, R.Right)), T = Lo(std::min(R.Top, R.Bottom));
  const int Rt = Hi(std::max(R.Left, R.Right)), B = Hi(std::max(R.Top, R.Bottom));
  return QRect(QPoint(L, T), QPoint(Rt - 1, B - 1));
}

}  // namespace

void TControl::Present(const TRectF& R) {
  TImpl& I = *FImpl;
  I.PresentArea |= PixelRect(R);
  if (I.PresentTimer) I.PresentTimer->stop();
  const QRect Area = I.PresentArea & QRect(QPoint(0, 0), I.PictureSize);
  I.PresentArea = QRect();
  if (FUpdating > 0) {
    I.PresentArea = Area;  // shown after the outermost EndUpdate
    return;
  }
  if (Area.isEmpty() || IsDestroying() || !I.Widget || !I.Widget->isVisible()) return;
  // The picture is read: a drawing bracket still open reopens its painter when it next draws.
  if (I.Widget->ShowPicture(Area)) ++I.Presents;
}

void TControl::PresentSoon(const TRectF& R) {
  TImpl& I = *FImpl;
  I.PresentArea |= PixelRect(R);
  if (I.PresentArea.isEmpty() || IsDestroying() || !I.Widget) return;
  if (!I.PresentTimer) {
    I.PresentTimer = new QTimer(I.Widget);
    I.PresentTimer->setSingleShot(true);
    I.PresentTimer->setInterval(16);
    TZelWidget* W = I.Widget;
    QObject::connect(I.PresentTimer, &QTimer::timeout, W, [W] {
      if (TControl* C = W->FControl) {
        try {
          C->Present(TRectF());
        } catch (...) {
          HandleEventException();
        }
      }
    });
  }
  // The first rectangle of a frame starts the timer; later ones join it.
  if (!I.PresentTimer->isActive()) I.PresentTimer->start();
}

int TControl::GetPresentCount() const { return FImpl->Presents; }

void TControl::BeginUpdate() { ++FUpdating; }

void TControl::EndUpdate() {
  if (FUpdating == 0) return;
  if (--FUpdating > 0) return;
  if (FRepaintDropped) {
    FRepaintDropped = false;
    Repaint();
  }
  if (!FImpl->PresentArea.isEmpty()) PresentSoon(TRectF());
}

void TControl::ProcessPendingPaint() {
  if (FImpl->PaintPending && FImpl->Widget && FImpl->Widget->isVisible()) FImpl->Widget->repaint();
}

void TControl::Capture() { FCaptured = true; }
void TControl::ReleaseCapture() { FCaptured = false; }

TPointF TControl::LocalToAbsolute(TPointF P) const {
  for (const TControl* C = this; C && !dynamic_cast<const TForm*>(C); C = C->FParent) {
    P.X += C->GetLeft();
    P.Y += C->GetTop();
  }
  return P;
}

TPointF TControl::AbsoluteToLocal(TPointF P) const {
  TPointF Origin = LocalToAbsolute(TPointF(0, 0));
  return TPointF(P.X - Origin.X, P.Y - Origin.Y);
}

TPointF TControl::LocalToScreen(TPointF P) const {
  if (!FImpl->Widget) return P;
  QPointF G = FImpl->Widget->mapToGlobal(QPointF(P.X, P.Y));
  return TPointF(float(G.x()), float(G.y()));
}

TPointF TControl::ScreenToLocal(TPointF P) const {
  if (!FImpl->Widget) return P;
  QPointF L = FImpl->Widget->mapFromGlobal(QPointF(P.X, P.Y));
  return TPointF(float(L.x()), float(L.y()));
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) {
  if (FCanFocus && !IsFocused()) SetFocus();
  if (OnMouseDown) {
    auto Handler = OnMouseDown;
    Handler(this, Button, Shift, X, Y);
  }
}

void TControl::MouseMove(TShiftState Shift, float X, float Y) {
  if (OnMouseMove) {
    auto Handler = OnMouseMove;
    Handler(this, Shift, X, Y);
  }
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) {
  if (OnMouseUp) {
    auto Handler = OnMouseUp;
    Handler(this, Button, Shift, X, Y);
  }
}

void TControl::MouseWheel(TShiftState Shift, int WheelDelta, bool& Handled) {
  if (OnMouseWheel) {
    auto Handler = OnMouseWheel;
    Handler(this, Shift, WheelDelta, Handled);
  }
}

void TControl::Click() {
  if (OnClick) {
    auto Handler = OnClick;
    Handler(this);
  }
}

void TControl::DblClick() {
  if (OnDblClick) {
    auto Handler = OnDblClick;
    Handler(this);
  }
}

void TControl::DoMouseEnter() {
  if (OnMouseEnter) {
    auto Handler = OnMouseEnter;
    Handler(this);
  }
}

void TControl::DoMouseLeave() {
  if (OnMouseLeave) {
    auto Handler = OnMouseLeave;
    Handler(this);
  }
}

void TControl::KeyDown(Word& Key, char32_t& KeyChar, TShiftState Shift) {
  if (OnKeyDown) {
    auto Handler = OnKeyDown;
    Handler(this, Key, KeyChar, Shift);
  }
}

void TControl::KeyUp(Word& Key, char32_t& KeyChar, TShiftState Shift) {
  if (OnKeyUp) {
    auto Handler = OnKeyUp;
    Handler(this, Key, KeyChar, Shift);
  }
}

void TControl::Resize() {
  if (OnResize) {
    auto Handler = OnResize;
    Handler(this);
  }
}

void TControl::Paint() {
  if (OnPaint) {
    auto Handler = OnPaint;
    Handler(this, FPaintCanvas, GetClientRect());
  }
}

// ---------------------------------------------------------------------------------------------
// Simulated input

namespace {

QWidget* WidgetOf(TControl* Control) {
  if (!Control) throw EArgumentException("No control to send the event to");
  QWidget* W = Control->GetWidget();
  if (!W) throw EInvalidOperation("The control has no window");
  return W;
}

}  // namespace

void SimulateMouse(TControl* Control, TSimMouseKind Kind, TMouseButton Button, TShiftState Shift, float X, float Y) {
  QWidget* W = WidgetOf(Control);
  QPointF Local(X, Y);
  QPointF Global = W->mapToGlobal(Local);
  Qt::MouseButtons Buttons = ButtonsFrom(Shift);
  Qt::MouseButton B = QtButton(Button);
  QEvent::Type Type = QEvent::MouseMove;
  switch (Kind) {
    case TSimMouseKind::Press: Type = QEvent::MouseButtonPress; Buttons |= B; break;
    case TSimMouseKind::DoubleClickPress: Type = QEvent::MouseButtonDblClick; Buttons |= B; break;
    case TSimMouseKind::Release: Type = QEvent::MouseButtonRelease; Buttons &= ~Qt::MouseButtons(B); break;
    case TSimMouseKind::Move: B = Qt::NoButton; break;
  }
  QMouseEvent E(Type, Local, Local, Global, B, Buttons, ModifiersFrom(Shift));
  QCoreApplication::sendEvent(W, &E);
}

void SimulateClick(TControl* Control, TMouseButton Button, float X, float Y, TShiftState Shift) {
  SimulateMouse(Control, TSimMouseKind::Press, Button, Shift, X, Y);
  SimulateMouse(Control, TSimMouseKind::Release, Button, Shift, X, Y);
}

void SimulateDoubleClick(TControl* Control, TMouseButton Button, float X, float Y, TShiftState Shift) {
  SimulateClick(Control, Button, X, Y, Shift);
  SimulateMouse(Control, TSimMouseKind::DoubleClickPress, Button, Shift, X, Y);
  SimulateMouse(Control, TSimMouseKind::Release, Button, Shift, X, Y);
}

void SimulateWheel(TControl* Control, int WheelDelta, float X, float Y, TShiftState Shift) {
  QWidget* W = WidgetOf(Control);
  QPointF Local(X, Y);
  QPoint Angle = Shift.Contains(TShiftStateItem::ssHorizontal) ? QPoint(WheelDelta, 0) : QPoint(0, WheelDelta);
  QWheelEvent E(Local, W->mapToGlobal(Local), QPoint(), Angle, ButtonsFrom(Shift), ModifiersFrom(Shift),
                Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(W, &E);
}

void SimulateKey(TControl* Control, bool Press, Word Key, char32_t KeyChar, TShiftState Shift) {
  QWidget* W = WidgetOf(Control);
  QString Text;
  if (KeyChar) Text = QString::fromUcs4(&KeyChar, 1);
  QKeyEvent E(Press ? QEvent::KeyPress : QEvent::KeyRelease, QtFromVk(Key), ModifiersFrom(Shift), Text);
  QCoreApplication::sendEvent(W, &E);
}

void SimulateMouseEnter(TControl* Control) {
  QWidget* W = WidgetOf(Control);
  QEnterEvent E(QPointF(0, 0), QPointF(0, 0), W->mapToGlobal(QPointF(0, 0)));
  QCoreApplication::sendEvent(W, &E);
}

void SimulateMouseLeave(TControl* Control) {
  QWidget* W = WidgetOf(Control);
  QEvent E(QEvent::Leave);
  QCoreApplication::sendEvent(W, &E);
}

void SimulateWindowResize(TControl* Control, int Width, int Height) {
  QWidget* W = WidgetOf(Control);
  Width = std::clamp(Width, 0, int(MaxControlSize));
  Height = std::clamp(Height, 0, int(MaxControlSize));
  QSize Old = W->size();
  W->resize(Width, Height);
  if (!W->isVisible() && W->size() != Old) {
    QResizeEvent E(W->size(), Old);
    QCoreApplication::sendEvent(W, &E);
  }
}

TBitmap* PaintToBitmap(TControl* Control) {
  QWidget* W = WidgetOf(Control);
  TOwned<TBitmap> B(new TBitmap(Round(Control->GetWidth()), Round(Control->GetHeight())));
  if (B->IsEmpty()) return B.release();
  SuspendBitmapCanvas(*B);
  QImage& Image = BitmapImage(*B);
  QPainter P(&Image);
  W->render(&P, QPoint(), QRegion(), QWidget::DrawChildren);
  P.end();
  return B.release();
}

TBitmap* PresentedPicture(TControl* Control) {
  QWidget* W = WidgetOf(Control);
  TOwned<TBitmap> B(new TBitmap());
  QBackingStore* Store = nullptr;
  QWindow* Window = nullptr;
  if (!W->isVisible() || !ExposedStore(W, Store, Window)) return B.release();
  QPaintDevice* Device = Store->paintDevice();
  if (!Device || Device->devType() != QInternal::Image) return B.release();
  const QImage& Screen = *static_cast<QImage*>(Device);
  // The window's device pixels under the control, at the screen's ratio.
  const double Ratio = Screen.devicePixelRatio();
  const QRect Area =
      QRectF(QPointF(W->mapTo(W->window(), QPoint(0, 0))) * Ratio, QSizeF(W->size()) * Ratio).toAlignedRect() &
      Screen.rect();
  if (Area.isEmpty()) return B.release();
  B->SetSize(Area.width(), Area.height());
  B->SetBitmapScale(float(Ratio));
  SuspendBitmapCanvas(*B);
  QImage Part = Screen.copy(Area);
  Part.setDevicePixelRatio(1);
  QImage& Image = BitmapImage(*B);
  QPainter P(&Image);
  P.setCompositionMode(QPainter::CompositionMode_Source);
  P.drawImage(QPoint(0, 0), Part);
  P.end();
  return B.release();
}

// ---------------------------------------------------------------------------------------------
// Published properties

ZEL_BEGIN_PUBLISHED(TControl)
  P::Prop("Align", &Self::GetAlign, &Self::SetAlign, Default(TAlignLayout::None)),
  P::Prop("Left", &Self::GetLeft, &Self::SetLeft, Default(0.0f)),
  P::Prop("Top", &Self::GetTop, &Self::SetTop, Default(0.0f)),
  P::Prop("Width", &Self::GetWidth, &Self::SetWidth, DefaultOrMade(0.0f, &Self::FMadeWidth)),
  P::Prop("Height", &Self::GetHeight, &Self::SetHeight, DefaultOrMade(0.0f, &Self::FMadeHeight)),
  P::Prop("Margins.Left", [](Self* C) { return C->GetMargins().Left; },
          [](Self* C, float V) { TRectF M = C->GetMargins(); M.Left = V; C->SetMargins(M); }, Default(0.0f)),
  P::Prop("Margins.Top", [](Self* C) { return C->GetMargins().Top; },
          [](Self* C, float V) { TRectF M = C->GetMargins(); M.Top = V; C->SetMargins(M); }, Default(0.0f)),
  P::Prop("Margins.Right", [](Self* C) { return C->GetMargins().Right; },
          [](Self* C, float V) { TRectF M = C->GetMargins(); M.Right = V; C->SetMargins(M); }, Default(0.0f)),
  P::Prop("Margins.Bottom", [](Self* C) { return C->GetMargins().Bottom; },
          [](Self* C, float V) { TRectF M = C->GetMargins(); M.Bottom = V; C->SetMargins(M); }, Default(0.0f)),
  P::Prop("Visible", &Self::GetVisible, &Self::SetVisible, Default(true)),
  P::Prop("Enabled", &Self::GetEnabled, &Self::SetEnabled, Default(true)),
  P::Prop("Hint", &Self::GetHint, &Self::SetHint, Default(String())),
  P::Prop("ShowHint", &Self::GetShowHint, &Self::SetShowHint, Default(false)),
  P::Prop("CanFocus", &Self::GetCanFocus, &Self::SetCanFocus, Default(false)),
  P::Prop("ClipChildren", &Self::GetClipChildren, &Self::SetClipChildren, Default(false)),
  P::Prop("TabOrder", &Self::GetTabOrder, &Self::SetTabOrder, Default(-1)),
  P::Event("OnClick", &Self::OnClick),
  P::Event("OnDblClick", &Self::OnDblClick),
  P::Event("OnMouseDown", &Self::OnMouseDown),
  P::Event("OnMouseMove", &Self::OnMouseMove),
  P::Event("OnMouseUp", &Self::OnMouseUp),
  P::Event("OnMouseWheel", &Self::OnMouseWheel),
  P::Event("OnMouseEnter", &Self::OnMouseEnter),
  P::Event("OnMouseLeave", &Self::OnMouseLeave),
  P::Event("OnKeyDown", &Self::OnKeyDown),
  P::Event("OnKeyUp", &Self::OnKeyUp),
  P::Event("OnResize", &Self::OnResize),
  P::Event("OnPaint", &Self::OnPaint),
ZEL_END_PUBLISHED

}  // namespace zel
