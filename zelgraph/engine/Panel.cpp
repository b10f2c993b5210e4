#include "zelgraph/engine/Panel.h"

#include <algorithm>
#include <cmath>

#include "platform/Filer.h"
#include "platform/Forms.h"
#include "platform/Math.h"
#include "platform/Services.h"
#include "zelgraph/canvas/CanvasScopes.h"
#include "zelgraph/canvas/Font.h"
#include "zelgraph/canvas/Geometry.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/canvas/Picture.h"
#include "zelgraph/canvas/PlatformCanvas.h"
#include "zelgraph/canvas/Shadow.h"
#include "zelgraph/canvas/View3D.h"
#include "zelgraph/engine/PanelExtended.h"
#include "zelgraph/html/Html.h"
#include "zelgraph/procs/Procs.h"

namespace zel {

ZEL_DEFINE_CLASS(TZelEvent, TObject)
ZEL_DEFINE_CLASS(TZelMouseEvent, TZelEvent)
ZEL_DEFINE_CLASS(TZelView3DEvent, TZelEvent)
ZEL_DEFINE_CLASS(TMouseLeaveEvent, TZelEvent)
ZEL_DEFINE_CLASS(TMetafile, TBitmap)
ZEL_DEFINE_CLASS(TCustomPanelNoCaption, TControl)
ZEL_DEFINE_CLASS(TCustomZelPanel, TCustomPanelNoCaption)

// ---------------------------------------------------------------------------------------------
// Free routines

TPointF ZelGetScreenSize() {
  if (IScreenService* S = TPlatformServices::Current().GetScreenService()) {
    float W = 0, H = 0;
    S->GetScreenSize(W, H);
    return TPointF(W, H);
  }
  return TPointF(0, 0);
}

void ZelChangeCursor(TObject*, TCursor Cursor) {
  if (ICursorService* S = TPlatformServices::Current().GetCursorService()) S->SetCursor(Cursor);
}

void DrawBevel(TZelCanvas* Canvas, TPanelBevel Bevel, TRectF& R, int Width, int Round) {
  if (Bevel == TPanelBevel::bvNone) return;
  static constexpr TAlphaColor Colors[2] = {0xFFFFFFFF, 0xFFA0A0A0};
  const int W = zel::Round(std::min<double>(Width, std::min(R.Height() * 0.5, R.Width() * 0.5)));
  const bool Raised = Bevel == TPanelBevel::bvRaised;
  const TAlphaColor TopLeft = Colors[Raised ? 0 : 1];
  const TAlphaColor BottomRight = Colors[Raised ? 1 : 0];
  if (Round < 1) {
    Canvas->Frame3D(R, TopLeft, BottomRight, W);
  } else {
    Canvas->GetPen()->SetColor(TopLeft);
    R = TRectF(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1);
    Canvas->RoundRect(R, Round, Round);
    R = TRectF(R.Left + W, R.Top + W, R.Right - W, R.Bottom - W);
  }
}

// ---------------------------------------------------------------------------------------------
// TCustomPanelNoCaption

TCustomPanelNoCaption::TCustomPanelNoCaption(TComponent* AOwner) : TControl(AOwner) {
  SetClipChildren(true);
}

void TCustomPanelNoCaption::SetColor(TAlphaColor Value) {
  if (FColor == Value) return;
  FColor = Value;
  Invalidate();
}

void TCustomPanelNoCaption::Invalidate() { Repaint(); }

// ---------------------------------------------------------------------------------------------
// TCustomZelPanel: construction and destruction

TCustomZelPanel::TCustomZelPanel(TComponent* AOwner) : TCustomPanelNoCaption(AOwner) {
  SetCanFocus(true);
  if (auto* Form = dynamic_cast<TForm*>(AOwner)) {
    InitSize(std::min(400.0f, Form->GetWidth()), std::min(250.0f, Form->GetHeight()));
  }
  FApplyZOrder = true;
  FView3D = true;
  FControlCanvas = TControl::GetCanvas();
  auto Changed = [this](TObject* Sender) { CanvasChanged(Sender); };
  FView3DOptions = Create<TView3DOptions>(this);
  FView3DOptions->OnInvalidate = [this](TObject*) { Invalidate(); };
  FMargins = TRectF(3, 4, 3, 4);
  FPrintProportional = true;
  FPrintResolution = 0;
  PrintMargins = TRectF(15, 15, 15, 15);
  FOriginalCursor = TControl::GetCursor();
  FPanning = Create<TZelPanning>();
  FShadow = Create<TZelShadow>(Changed);
  FEmboss = Create<TZelEmboss>(Changed);
  FBorder = Create<TZelHiddenPen>(Changed);
  FBevelInner = TPanelBevel::bvNone;
  FBevelOuter = TPanelBevel::bvRaised;
  FBevelWidth = 1;
  FAutoRepaint = true;
  ICachedChartRect = ZelZeroRectF;
}

void TCustomZelPanel::AfterConstruction() {
  TCustomPanelNoCaption::AfterConstruction();
  if (!ZelDefaultCanvas.empty() && !IsLoading())
    IDefaultCanvas = ZelReadStringOption("DefaultCanvas", ZelDefaultCanvas);
  else
    IDefaultCanvas.clear();
  CreateDefaultCanvas();
}

TCustomZelPanel::~TCustomZelPanel() {
  if (!IsEmbedded && InternalCanvas) InternalCanvas->Free();
  InternalCanvas = nullptr;
  FreeAndNil(FGlobalPicture);
  FreeAndNil(FBorder);
  FreeAndNil(FEmboss);
  FreeAndNil(FShadow);
  FreeAndNil(FView3DOptions);
  FreeAndNil(FPanning);
  IEventListeners.clear();
  FreeAndNil(Theme);
}

// ---------------------------------------------------------------------------------------------
// The library canvas

void TCustomZelPanel::CreateDefaultCanvas() {
  const TClass* Class = TZelCanvas3D::StaticClass();
  if (!IDefaultCanvas.empty() && ZelRenderClasses) {
    for (const TClass* C : *ZelRenderClasses)
      if (C && IDefaultCanvas == C->Name) {
        Class = C;
        break;
      }
  }
  if (InternalCanvas && InternalCanvas->ClassType() == Class) return;
  TObject* Obj = Class->Factory ? Class->Create(nullptr) : nullptr;
  auto* NewCanvas = dynamic_cast<TCanvas3D*>(Obj);
  if (!NewCanvas) {
    // A registered class that makes no 3D canvas: fall back to the platform canvas.
    if (Obj) Obj->Free();
    if (InternalCanvas && InternalCanvas->ClassType() == TZelCanvas3D::StaticClass()) return;
    NewCanvas = Create<TZelCanvas3D>();
  }
  if (InternalCanvas && !IsEmbedded) InternalCanvas->Free();
  InternalCanvas = NewCanvas;
  IsEmbedded = false;
  if (IsDesigning()) InternalCanvas->SetUseBuffer(false);
  InternalCanvas->SetCanvas(FControlCanvas);
}

void TCustomZelPanel::SetInternalCanvas(TCanvas3D* NewCanvas) {
  if (!NewCanvas || NewCanvas == InternalCanvas) return;
  NewCanvas->SetCanvas(FControlCanvas);
  if (InternalCanvas) {
    {
      TAutoRepaintScope Quiet(this, false);
      NewCanvas->Assign(InternalCanvas);
    }
    if (!IsEmbedded) InternalCanvas->Free();
  }
  InternalCanvas = NewCanvas;
  IsEmbedded = false;
  IDefaultCanvas = NewCanvas->ClassName();
  if (FAutoRepaint) Invalidate();
}

bool TCustomZelPanel::GetBufferedDisplay() const {
  return InternalCanvas && InternalCanvas->GetUseBuffer();
}

void TCustomZelPanel::SetBufferedDisplay(bool Value) {
  if (InternalCanvas) InternalCanvas->SetUseBuffer(Value);
}

bool TCustomZelPanel::GetMonochrome() const {
  return InternalCanvas && InternalCanvas->GetMonochrome();
}

void TCustomZelPanel::SetMonochrome(bool Value) {
  if (InternalCanvas) InternalCanvas->SetMonochrome(Value);
}

// ---------------------------------------------------------------------------------------------
// Repaint and shared setters

void TCustomZelPanel::Invalidate() {
  if (!FAutoRepaint) return;
  if (InternalCanvas) InternalCanvas->Invalidate();
  TCustomPanelNoCaption::Invalidate();
}

void TCustomZelPanel::CanvasChanged(TObject*) { Invalidate(); }

void TCustomZelPanel::SetStringProperty(String& Field, const String& Value) {
  if (Field == Value) return;
  Field = Value;
  Invalidate();
}

void TCustomZelPanel::SetDoubleProperty(double& Field, double Value) {
  if (Field == Value) return;
  Field = Value;
  Invalidate();
}

void TCustomZelPanel::SetColorProperty(TAlphaColor& Field, TAlphaColor Value) {
  if (Field == Value) return;
  Field = Value;
  Invalidate();
}

void TCustomZelPanel::SetBooleanProperty(bool& Field, bool Value) {
  if (Field == Value) return;
  Field = Value;
  Invalidate();
}

void TCustomZelPanel::SetIntegerProperty(int& Field, int Value) {
  if (Field == Value) return;
  Field = Value;
  Invalidate();
}

void TCustomZelPanel::SetSingleProperty(float& Field, float Value) {
  if (Field == Value) return;
  Field = Value;
  Invalidate();
}

// ---------------------------------------------------------------------------------------------
// Properties

void TCustomZelPanel::SetBevelInner(TPanelBevel V) {
  if (FBevelInner == V) return;
  FBevelInner = V;
  Invalidate();
}

void TCustomZelPanel::SetBevelOuter(TPanelBevel V) {
  if (FBevelOuter == V) return;
  FBevelOuter = V;
  Invalidate();
}

void TCustomZelPanel::SetBevelWidth(TBevelWidth V) {
  V = std::min<TBevelWidth>(V, 100);
  if (FBevelWidth == V) return;
  FBevelWidth = V;
  Invalidate();
}

void TCustomZelPanel::SetBorderWidth(int V) { SetIntegerProperty(FBorderWidth, V); }

void TCustomZelPanel::SetBorder(TZelPen* V) {
  if (V) FBorder->Assign(V);
}

void TCustomZelPanel::SetBorderRound(int V) {
  if (FBorderRound == V) return;
  FBorderRound = V;
  if (!IsLoading()) SetControlRounded();
}

void TCustomZelPanel::SetControlRounded() {
  Invalidate();
  UpdateEffects();
}

TBorderStyle TCustomZelPanel::GetBorderStyle() const {
  return FBorder->GetVisible() ? TBorderStyle::bsSingle : TBorderStyle::bsNone;
}

void TCustomZelPanel::SetBorderStyle(TBorderStyle V) {
  FBorder->SetVisible(V == TBorderStyle::bsSingle);
}

void TCustomZelPanel::SetEmboss(TZelEmboss* V) {
  if (V) FEmboss->Assign(V);
}

void TCustomZelPanel::SetShadow(TZelShadow* V) {
  if (V) FShadow->Assign(V);
}

void TCustomZelPanel::SetView3DOptions(TView3DOptions* V) {
  if (V) FView3DOptions->Assign(V);
}

void TCustomZelPanel::SetPanning(TZelPanning* V) {
  if (V) FPanning->SetInsideBounds(V->GetInsideBounds());
}

TZelPicture* TCustomZelPanel::GetGlobalPicture() {
  if (!FGlobalPicture) {
    FGlobalPicture = Create<TZelPicture>();
    FGlobalPicture->OnChange = [this](TObject* Sender) { CanvasChanged(Sender); };
  }
  return FGlobalPicture;
}

void TCustomZelPanel::SetGlobalPicture(TZelPicture* V) {
  if (!V) {
    if (FGlobalPicture) {
      FreeAndNil(FGlobalPicture);
      Invalidate();
    }
    return;
  }
  GetGlobalPicture()->Assign(V);
}

int TCustomZelPanel::GetMarginLeft() const { return Round(FMargins.Left); }
int TCustomZelPanel::GetMarginTop() const { return Round(FMargins.Top); }
int TCustomZelPanel::GetMarginRight() const { return Round(FMargins.Right); }
int TCustomZelPanel::GetMarginBottom() const { return Round(FMargins.Bottom); }

void TCustomZelPanel::SetMargin(int Index, float Value) {
  float* Field = nullptr;
  switch (Index) {
    case 0: Field = &FMargins.Left; break;
    case 1: Field = &FMargins.Top; break;
    case 2: Field = &FMargins.Right; break;
    case 3: Field = &FMargins.Bottom; break;
    default: return;
  }
  SetSingleProperty(*Field, Value);
}

void TCustomZelPanel::SetMarginUnits(TZelUnits V) {
  if (FMarginUnits == V) return;
  FMarginUnits = V;
  Invalidate();
}

void TCustomZelPanel::SetView3D(bool V) {
  if (FView3D == V) return;
  SetBooleanProperty(FView3D, V);
  BroadcastZelEventClass<TZelView3DEvent>();
}

void TCustomZelPanel::SetCustomChartRect(bool B) {
  FCustomChartRect = B;
  ICachedChartRect = ZelZeroRectF;
}

void TCustomZelPanel::SetChartRect(const TRectF& R) {
  FCustomChartRect = true;
  ChartRect = R;
  Invalidate();
}

// ---------------------------------------------------------------------------------------------
// Layout

int TCustomZelPanel::BorderSize() {
  int Result = FBorderWidth;
  if (FBevelInner != TPanelBevel::bvNone) Result += FBevelWidth;
  if (FBevelOuter != TPanelBevel::bvNone) Result += FBevelWidth;
  if (FBorder->GetVisible()) Result += Round(FBorder->GetWidth());
  return Result;
}

void TCustomZelPanel::ApplyMargins() {
  const int W = Round(FChartBounds.Right - FChartBounds.Left);
  const int H = Round(FChartBounds.Bottom - FChartBounds.Top);
  const int B = BorderSize();
  auto Amount = [this](float M, int Size) -> float {
    if (FMarginUnits == TZelUnits::muPixels) return M;
    // An integer product of the margin and the size, then the percentage.
    return float(double(Round(double(M) * Size)) * 0.01);
  };
  ChartRect = TRectF(FChartBounds.Left + B + Amount(FMargins.Left, W),
                     FChartBounds.Top + B + Amount(FMargins.Top, H),
                     FChartBounds.Right - B - Amount(FMargins.Right, W),
                     FChartBounds.Bottom - B - Amount(FMargins.Bottom, H));
  if (FShadow->GetVisible()) ZelTakeShadowOffsets(ChartRect, FShadow->GetHorizSize(), FShadow->GetVertSize(), 1, 0);
  if (FEmboss->GetVisible()) ZelTakeShadowOffsets(ChartRect, FEmboss->GetHorizSize(), FEmboss->GetVertSize(), -1, 0);
}

void ZelTakeShadowOffsets(TRectF& R, int HorizSize, int VertSize, int Direction, int Extra) {
  auto Take = [Extra](float& Low, float& High, int Offset) {
    if (Offset > 0)
      High -= float(Offset + Extra);
    else if (Offset < 0)
      Low += float(Extra - Offset);
  };
  Take(R.Left, R.Right, Direction * HorizSize);
  Take(R.Top, R.Bottom, Direction * VertSize);
}

void TCustomZelPanel::ReCalcWidthHeight() {
  ChartRect.Left = std::max(ChartRect.Left, FChartBounds.Left);
  ChartRect.Top = std::max(ChartRect.Top, FChartBounds.Top);
  if (ChartRect.Left > ChartRect.Right) ChartRect.Right = ChartRect.Left + 1;
  if (ChartRect.Top > ChartRect.Bottom) ChartRect.Bottom = ChartRect.Top + 1;
  FChartWidth = Round(ChartRect.Right - ChartRect.Left);
  FChartHeight = Round(ChartRect.Bottom - ChartRect.Top);
  FChartXCenter = Round((double(ChartRect.Left) + ChartRect.Right) * 0.5);
  FChartYCenter = Round((double(ChartRect.Top) + ChartRect.Bottom) * 0.5);
}

int TCustomZelPanel::FixBorderWidth(TRectF& R) {
  if (FBorder->GetSmallDots()) return 1;
  const int N = Round(FBorder->GetWidth() - 1);
  if (N > 0) {
    const int A = N / 2;
    const int Odd = (N % 2) ? 1 : 0;
    R.Left += A + Odd;
    R.Top += A + Odd;
    R.Right -= A;
    R.Bottom -= A;
    return A;
  }
  return N;
}

bool TCustomZelPanel::CanClip() {
  if (InternalCanvas && InternalCanvas->GetSupportsFullRotation() && FView3D) return false;
  const bool Metafiling = InternalCanvas && InternalCanvas->GetMetafiling();
  if (!FPrinting && !Metafiling) return true;
  if (FPrinting && ZelClipWhenPrinting) return true;
  if (Metafiling && ZelClipWhenMetafiling) return true;
  return false;
}

void TCustomZelPanel::PrepareFont3D(TZelFont* Font) {
  if (FView3D)
    InternalCanvas->AssignFont3D(Font);
  else
    InternalCanvas->AssignFont(Font);
}

void TCustomZelPanel::SetBrushCanvas(TAlphaColor AColor, TZelBrush* ABrush, TAlphaColor ABackColor) {
  if (ABrush->GetKind() != TBrushKind::Solid && AColor == ABackColor)
    AColor = ABackColor == 0xFF000000 ? 0xFFFFFFFF : 0xFF000000;
  InternalCanvas->AssignBrush(ABrush, AColor, ABackColor);
}

void TCustomZelPanel::AddTextMetrics(TTextWidthKey& Key) const {
  TCanvas3D* C = GetCanvas();
  if (!C) return;
  TZelFont* F = C->GetFont();
  Key.Texts.push_back(F->GetFamily());
  Key.Numbers.insert(Key.Numbers.end(),
                     {double(reinterpret_cast<std::uintptr_t>(C)), double(reinterpret_cast<std::uintptr_t>(C->GetCanvas())),
                      F->GetSizeFloat(), double(F->GetStyle().Raw()), double(F->GetInterCharSize()), C->GetFontZoom()});
  for (const TZelShadow* Sh :
       {static_cast<const TZelShadow*>(F->ExistingShadow()), static_cast<const TZelShadow*>(F->ExistingEmboss())}) {
    const bool On = Sh && Sh->GetVisible();
    Key.Numbers.push_back(On ? double(Sh->GetHorizSize()) : 0.0);
    Key.Numbers.push_back(On ? double(Sh->GetVertSize()) : 0.0);
  }
}

TPointF TCustomZelPanel::MultiLineTextSize(const String& Text, TTextFormat Format, int& NumLines) {
  NumLines = 0;
  TPointF Result(0, 0);
  if (Text.empty()) return Result;
  std::vector<String> Lines;
  std::size_t Start = 0;
  for (;;) {
    const std::size_t P = Text.find(ZelLineSeparator, Start);
    if (P == String::npos) {
      if (Start < Text.size()) Lines.push_back(Text.substr(Start));
      break;
    }
    Lines.push_back(Text.substr(Start, P - Start));
    Start = P + 1;
    if (Start < Text.size() && Text[Start] == '\n') ++Start;
  }
  int LineHeight = -1;
  for (const String& L : Lines) {
    float W, H;
    if (Format == TTextFormat::ttfHtml) {
      const TSize S = HtmlTextExtent(InternalCanvas, L);
      W = float(S.Width);
      H = float(S.Height);
    } else {
      W = float(InternalCanvas->TextWidth(L));
      if (LineHeight < 0) LineHeight = InternalCanvas->TextHeight("W");
      H = float(LineHeight);
    }
    Result.X = std::max(Result.X, W);
    Result.Y += H;
  }
  NumLines = static_cast<int>(Lines.size());
  return Result;
}

int TCustomZelPanel::MultiLineTextWidth(const String& Text, int& NumLines) {
  return Round(MultiLineTextSize(Text, TTextFormat::ttfNormal, NumLines).X);
}

TPointF TCustomZelPanel::GetCursorPos() {
  if (IMouseService* S = TPlatformServices::Current().GetMouseService()) {
    float X = 0, Y = 0;
    S->GetMousePos(X, Y);
    return ScreenToLocal(TPointF(X, Y));
  }
  return TPointF(0, 0);
}

TRectF TCustomZelPanel::GetRectangle() {
  if (GetParent()) return TControl::GetClientRect();
  return TRectF(0, 0, GetWidth(), GetHeight());
}

TAlphaColor TCustomZelPanel::GetBackColor() { return FColor; }

void TCustomZelPanel::DrawPanelBevels(const TRectF& Rect) {
  if (FPrinting && !PrintZelPanel) return;
  if (FBevelInner == TPanelBevel::bvNone && FBevelOuter == TPanelBevel::bvNone && FBorderWidth <= 0)
    return;
  TCanvas3D* C = InternalCanvas;
  if (!C) return;
  TZelPen* P = C->GetPen();
  P->SetVisible(true);
  P->GetFill()->SetKind(TBrushKind::Solid);
  P->SetSmallDots(false);
  P->SetStyle(TPenStyle::psSolid);
  P->SetWidth(1);
  P->SetMode(TPenMode::pmCopy);
  TFrontPlaneScope FrontPlane(C);
  TRectF R = Rect;
  if (FBorder->GetVisible()) {
    const int W = FixBorderWidth(R) + (FBorder->GetSmallDots() ? 0 : 1);
    R = TRectF(R.Left + W, R.Top + W, R.Right - W, R.Bottom - W);
  }
  DrawBevel(C, FBevelOuter, R, FBevelWidth, FBorderRound);
  if (FBorderWidth > 0) C->Frame3D(R, FColor, FColor, FBorderWidth);
  DrawBevel(C, FBevelInner, R, FBevelWidth, FBorderRound);
}

// ---------------------------------------------------------------------------------------------
// Listeners

void TCustomZelPanel::AddListener(IZelEventListener* Listener) {
  if (Listener && std::find(IEventListeners.begin(), IEventListeners.end(), Listener) ==
                      IEventListeners.end())
    IEventListeners.push_back(Listener);
}

void TCustomZelPanel::RemoveListener(IZelEventListener* Listener) {
  std::erase(IEventListeners, Listener);
}

TZelEvent* TCustomZelPanel::BroadcastZelEvent(TZelEvent* Event) {
  if (IsDestroying() || !Event) return Event;
  Event->Sender = this;
  const bool IsMouse = dynamic_cast<TZelMouseEvent*>(Event) != nullptr;
  // A listener may remove itself (or others) while being told: walk a copy, skipping any that
  // left the list meanwhile.
  const std::vector<IZelEventListener*> Copy = IEventListeners;
  for (IZelEventListener* L : Copy) {
    if (std::find(IEventListeners.begin(), IEventListeners.end(), L) == IEventListeners.end())
      continue;
    L->ZelEvent(Event);
    if (IsMouse && FCancelMouse) break;
  }
  return Event;
}

void TCustomZelPanel::BroadcastMouseEvent(TZelMouseEventKind Kind, TMouseButton Button,
                                          TShiftState Shift, float X, float Y) {
  if (IEventListeners.empty()) return;
  TOwned<TZelMouseEvent> E(Create<TZelMouseEvent>());
  E->Event = Kind;
  E->Button = Button;
  E->Shift = Shift;
  E->X = X;
  E->Y = Y;
  BroadcastZelEvent(E.get());
}

// ---------------------------------------------------------------------------------------------
// Paint road

bool TCustomZelPanel::BindControlCanvas() {
  if (!FControlCanvas) FControlCanvas = TControl::GetCanvas();
  if (!FControlCanvas) return false;
  InternalCanvas->SetCanvas(FControlCanvas);
  return true;
}

void TCustomZelPanel::Paint() {
  TCustomPanelNoCaption::Paint();
  if (FPrinting || !InternalCanvas) return;
  TCanvas* Current = TControl::GetCanvas();
  TCanvas* Previous = nullptr;
  bool Rebound = false;
  if (Current != FControlCanvas) {
    FControlCanvas = Current;
    Previous = InternalCanvas->GetCanvas();
    InternalCanvas->SetCanvas(FControlCanvas);
    Rebound = true;
  }
  // The platform canvas of a paint lives only until the paint returns: never keep it.
  TRestoreOnExit Restore([&] {
    if (Rebound && Previous) InternalCanvas->SetCanvas(Previous);
    if (FControlCanvas == Current) {
      FControlCanvas = nullptr;
      if (InternalCanvas->GetCanvas() == Current) InternalCanvas->SetCanvas(nullptr);
    }
  });
  if (!InternalCanvas->ReDrawBitmap()) DrawControl();
}

void TCustomZelPanel::DrawControl() {
  if (BindControlCanvas()) Draw(FControlCanvas, TControl::GetClientRect());
}

void TCustomZelPanel::InternalDraw(const TRectF&) {}

// ---------------------------------------------------------------------------------------------
// Drawing outside a paint

bool TCustomZelPanel::BeginDirectDraw() {
  if (FDirectDrawing || FPrinting || IsDestroying() || IsPainting() || !InternalCanvas) return false;
  TCanvas* Target = TControl::GetCanvas();
  if (InternalCanvas->GetUseBuffer()) {
    // A buffer waiting for a full repaint is left alone: that repaint draws everything.
    auto* Buffered = dynamic_cast<TZelCanvas3D*>(InternalCanvas);
    TBitmap* Buffer = Buffered ? Buffered->GetBitmap() : nullptr;
    if (!Buffer || Buffer->IsEmpty() || Buffered->GetDirty()) return false;
    Target = Buffer->GetCanvas();
  }
  if (!Target || !BeginDraw()) return false;
  FDirectDrawing = true;
  FDirectPrevious = InternalCanvas->GetCanvas();
  InternalCanvas->SetCanvas(Target);
  Target->BeginScene();
  return true;
}

void TCustomZelPanel::EndDirectDraw(const TRectF& Changed) {
  if (!FDirectDrawing) return;
  FDirectDrawing = false;
  TRestoreOnExit EndDraw([this] { TControl::EndDraw(); });
  TCanvas* Target = InternalCanvas->GetCanvas();
  if (Target) Target->EndScene();
  InternalCanvas->SetCanvas(FDirectPrevious);
  FDirectPrevious = nullptr;
  if (Changed.IsEmpty()) return;
  auto* Buffered = dynamic_cast<TZelCanvas3D*>(InternalCanvas);
  TCanvas* Picture = TControl::GetCanvas();
  if (Buffered && Target != Picture) {
    TBitmap* Buffer = Buffered->GetBitmap();
    if (!Buffer || Buffer->IsEmpty()) return;
    float Scale = Buffer->GetBitmapScale();
    if (!(Scale > 0) || !std::isfinite(Scale)) Scale = 1;
    // The changed device pixels of the buffer, copied one to one onto the control's picture
    // (which has the buffer's scale).
    const TRectF Device = TRectF::Intersect(
        TRectF(std::floor(Changed.Left * Scale), std::floor(Changed.Top * Scale), std::ceil(Changed.Right * Scale),
               std::ceil(Changed.Bottom * Scale)),
        TRectF(0, 0, float(Buffer->GetWidth()), float(Buffer->GetHeight())));
    if (Device.IsEmpty()) return;
    Picture->DrawBitmap(Buffer, Device,
                        TRectF(Device.Left / Scale, Device.Top / Scale, Device.Right / Scale, Device.Bottom / Scale), 1,
                        true);
  }
  PresentSoon(Changed);
}

void TCustomZelPanel::Draw(TCanvas* UserCanvas, const TRectF& UserRect) {
  if (!InternalCanvas) return;
  if (FCustomChartRect && ICachedChartRect.IsEmpty()) ICachedChartRect = ChartRect;
  if (InitialSize.X == 0) InitialSize.X = GetWidth();
  if (InitialSize.Y == 0) InitialSize.Y = GetHeight();
  FChartBounds = InternalCanvas->InitWindow(UserCanvas, FView3DOptions, PanelColor(FColor),
                                            FView3D, UserRect);
  ApplyMargins();
  if (FCustomChartRect) {
    ChartRect = ICachedChartRect;
    if (FPrinting) {
      ChartRect.Left += FChartBounds.Left;
      ChartRect.Right += FChartBounds.Left;
      ChartRect.Top += FChartBounds.Top;
      ChartRect.Bottom += FChartBounds.Top;
    }
  }
  ReCalcWidthHeight();
  // A failed drawing closes the picture's scene and binds back without showing it, so that
  // the next paint starts clean.
  TCloseOnExit Show([&](bool Failed) {
    InternalCanvas->ShowImage(Failed ? nullptr : UserCanvas, FControlCanvas, UserRect);
    if (Failed) InternalCanvas->Invalidate();
  });
  InternalDraw(FChartBounds);
  if (FGlobalPicture && FGlobalPicture->FiltersStored()) {
    if (auto* C = dynamic_cast<TZelCanvas3D*>(InternalCanvas))
      if (TBitmap* B = C->GetBitmap()) FGlobalPicture->GetFilters()->ApplyTo(B);
  }
}

void TCustomZelPanel::Resize() {
  if (!IsLoading()) {
    if (FBorderRound > 0) SetControlRounded();
    Invalidate();
    if (FView3DOptions && FView3DOptions->GetZoomText() == TCanvasZoomText::ztAuto && InitialSize.X > 0 &&
        InitialSize.Y > 0) {
      const int DX = Round((GetWidth() - InitialSize.X) * 100.0 / InitialSize.X);
      const int DY = Round((GetHeight() - InitialSize.Y) * 100.0 / InitialSize.Y);
      FView3DOptions->SetFontZoom(100 + std::max(DX, DY));
    }
  }
  TCustomPanelNoCaption::Resize();
}

void TCustomZelPanel::Loaded() {
  TCustomPanelNoCaption::Loaded();
  if (!IDefaultCanvas.empty()) CreateDefaultCanvas();
  if (!InternalCanvas || !InternalCanvas->IsAvailable()) SetInternalCanvas(Create<TZelCanvas3D>());
  FOriginalCursor = TControl::GetCursor();
  if (FBorderRound > 0) SetControlRounded();
  InitialSize = TPointF(GetWidth(), GetHeight());
}

void TCustomZelPanel::ReadState(TReader* Reader) {
  // AutoRepaint is off while reading and on again with a repaint, also when reading fails.
  struct TRepaintAfter {
    TCustomZelPanel* Panel;
    explicit TRepaintAfter(TCustomZelPanel* P) : Panel(P) { Panel->FAutoRepaint = false; }
    ~TRepaintAfter() {
      Panel->FAutoRepaint = true;
      Panel->Invalidate();
    }
    TRepaintAfter(const TRepaintAfter&) = delete;
    TRepaintAfter& operator=(const TRepaintAfter&) = delete;
  } Guard(this);
  inherited::ReadState(Reader);
}

void TCustomZelPanel::DefineProperties(TFiler* Filer) {
  TCustomPanelNoCaption::DefineProperties(Filer);
  Filer->DefineProperty(
      "BorderStyle",
      [this](TReader* R) {
        SetBorderStyle(R->ReadIdent() == "bsSingle" ? TBorderStyle::bsSingle : TBorderStyle::bsNone);
      },
      nullptr, false);
  Filer->DefineProperty("DefaultCanvas", [](TReader* R) { R->ReadString(); }, nullptr, false);
}

// ---------------------------------------------------------------------------------------------
// Mouse

void TCustomZelPanel::MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) {
  FCancelMouse = false;
  TCustomPanelNoCaption::MouseDown(Button, Shift, X, Y);
  if (!FCancelMouse) BroadcastMouseEvent(TZelMouseEventKind::meDown, Button, Shift, X, Y);
  if (GetCanFocus() && !IsFocused() && GetRoot()) SetFocus();
}

void TCustomZelPanel::MouseMove(TShiftState Shift, float X, float Y) {
  FCancelMouse = false;
  TCustomPanelNoCaption::MouseMove(Shift, X, Y);
  if (!IEventListeners.empty() && !IsDesigning())
    BroadcastMouseEvent(TZelMouseEventKind::meMove, TMouseButton::mbLeft, Shift, X, Y);
}

void TCustomZelPanel::MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) {
  FCancelMouse = false;
  TCustomPanelNoCaption::MouseUp(Button, Shift, X, Y);
  BroadcastMouseEvent(TZelMouseEventKind::meUp, Button, Shift, X, Y);
}

void TCustomZelPanel::DblClick() {
  FCancelMouse = false;
  TCustomPanelNoCaption::DblClick();
  if (FCancelMouse) Abort();
}

void TCustomZelPanel::DoMouseLeave() {
  SetCursor(FOriginalCursor);
  if (FPanning->GetInsideBounds()) FPanning->SetActive(false);
  BroadcastZelEventClass<TMouseLeaveEvent>();
  TCustomPanelNoCaption::DoMouseLeave();
}

// ---------------------------------------------------------------------------------------------
// Assignment

void TCustomZelPanel::Assign(TPersistent* Source) {
  auto* S = dynamic_cast<TCustomZelPanel*>(Source);
  if (!S) {
    TCustomPanelNoCaption::Assign(Source);
    return;
  }
  FBevelInner = S->FBevelInner;
  FBevelOuter = S->FBevelOuter;
  FBevelWidth = S->FBevelWidth;
  FBorder->Assign(S->FBorder);
  FBorderRound = S->FBorderRound;
  SetBufferedDisplay(S->GetBufferedDisplay());
  FColor = S->FColor;
  FEmboss->Assign(S->FEmboss);
  FMargins = S->FMargins;
  FMarginUnits = S->FMarginUnits;
  SetMonochrome(S->GetMonochrome());
  SetPanning(S->FPanning);
  PrintMargins = S->PrintMargins;
  FPrintProportional = S->FPrintProportional;
  FPrintResolution = S->FPrintResolution;
  FShadow->Assign(S->FShadow);
  FView3D = S->FView3D;
  FView3DOptions->Assign(S->FView3DOptions);
}

void TCustomZelPanel::AssignTo(TPersistent* Dest) {
  if (auto* B = dynamic_cast<TBitmap*>(Dest)) {
    TOwned<TBitmap> Picture(ZelCreateBitmap());
    B->Assign(Picture.get());
    return;
  }
  TCustomPanelNoCaption::AssignTo(Dest);
}

// ---------------------------------------------------------------------------------------------
// Published properties

ZEL_BEGIN_PUBLISHED(TCustomZelPanel)
  P::Prop("BevelInner", &Self::GetBevelInner, &Self::SetBevelInner, Default(TPanelBevel::bvNone)),
  P::Prop("BevelOuter", &Self::GetBevelOuter, &Self::SetBevelOuter, Default(TPanelBevel::bvRaised)),
  P::Prop("BevelWidth", &Self::GetBevelWidth, &Self::SetBevelWidth, Default(1)),
  P::Obj("Border", &Self::GetBorder),
  P::Prop("BorderRound", &Self::GetBorderRound, &Self::SetBorderRound, Default(0)),
  P::Prop("BorderWidth", &Self::GetBorderWidth, &Self::SetBorderWidth, Default(0)),
  P::Prop("CanFocus", &Self::GetCanFocus, &Self::SetCanFocus, Default(true)),
  P::Prop("ClipChildren", &Self::GetClipChildren, &Self::SetClipChildren, Default(true)),
  P::Obj("Emboss", &Self::GetEmboss),
  P::Prop("Color", &Self::GetColor, &Self::SetColor, Default(TAlphaColor(0xFFF0F0F0))),
  P::Prop("MarginBottom", &Self::GetMarginBottom, &Self::SetMarginBottom, Default(4)),
  P::Prop("MarginLeft", &Self::GetMarginLeft, &Self::SetMarginLeft, Default(3)),
  P::Prop("MarginRight", &Self::GetMarginRight, &Self::SetMarginRight, Default(3)),
  P::Prop("MarginTop", &Self::GetMarginTop, &Self::SetMarginTop, Default(4)),
  P::Prop("MarginUnits", &Self::GetMarginUnits, &Self::SetMarginUnits, Default(TZelUnits::muPercent)),
  P::Obj("Panning", &Self::GetPanning),
  P::Prop("PrintProportional", &Self::GetPrintProportional, &Self::SetPrintProportional, Default(true)),
  P::Prop("PrintResolution", &Self::GetPrintResolution, &Self::SetPrintResolution, Default(0)),
  P::Obj("Shadow", &Self::GetShadow),
  P::Prop("View3D", &Self::GetView3D, &Self::SetView3D, Default(true)),
  P::Event("OnBeforePrint", &Self::FOnBeforePrint),
ZEL_END_PUBLISHED

}  // namespace zel
