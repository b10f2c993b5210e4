#include "zelgraph/tools/ScrollBar.h"

#include <algorithm>
#include <cmath>

#include "platform/Bitmap.h"
#include "platform/ExtCtrls.h"
#include "platform/Filer.h"
#include "platform/Math.h"
#include "platform/Services.h"
#include "zelgraph/canvas/Canvas3D.h"
#include "zelgraph/canvas/Geometry.h"
#include "zelgraph/canvas/Gradient.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/canvas/Picture.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/AxisPanel.h"
#include "zelgraph/engine/Resources.h"
#include "zelgraph/engine/SeriesList.h"
#include "zelgraph/tools/AxisArrow.h"
#include "zelgraph/tools/ToolTexts.h"

namespace zel {

// --- TScrollBarThumb ---

ZEL_DEFINE_CLASS(TScrollBarThumb, TZelCustomShapeBrushPen)

TScrollBarThumb::TScrollBarThumb(TZelScrollBar* AScroll) : IScroll(AScroll) {
  FBrush->InitColor(0xFFC0C0C0);
  FBrush->InitBackColor(0xFFC0C0C0);
  FPen->InitVisible(false);
}

void TScrollBarThumb::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TScrollBarThumb*>(Source)) {
    FSize = S->FSize;
    FStyle = S->FStyle;
  }
  inherited::Assign(Source);
}

void TScrollBarThumb::SetSize(std::int32_t Value) {
  if (IScroll)
    IScroll->SetIntegerProperty(FSize, Value);
  else
    FSize = Value;
}

void TScrollBarThumb::SetStyle(TScrollThumbStyle Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  // Read, the style leaves the picture and both sizes as they were stored; only a stream that
  // holds no picture takes the style's.
  const bool Reading = ReadingStoredValue();
  TZelPicture* Held = FBrush->ExistingImage();
  const bool KeepsPicture = Reading && Held && !Held->IsEmpty();
  if (!KeepsPicture && FStyle == TScrollThumbStyle::stsCustom) {
    if (Held) Held->SetSize(0, 0);
  } else if (!KeepsPicture) {
    static const char* const Names[] = {"", "ZelThumb1", "ZelThumb2", "ZelThumb3", "ZelThumb4"};
    ZelLoadBitmap(FBrush->GetImage(), Names[static_cast<int>(FStyle)]);
  }
  if (TZelPicture* P = FBrush->ExistingImage(); !Reading && P && !P->IsEmpty()) {
    FSize = P->GetWidth();
    if (IScroll) IScroll->FSize = P->GetHeight();
  }
  if (IScroll) IScroll->CanvasChanged(this);
}

TZelGradient* TScrollBarThumb::GetGradient() { return FBrush->GetGradient(); }
void TScrollBarThumb::SetGradient(TZelGradient* Value) { FBrush->SetGradient(Value); }
TZelPicture* TScrollBarThumb::GetImage() { return FBrush->GetImage(); }
void TScrollBarThumb::SetImage(TZelPicture* Value) { FBrush->SetImage(Value); }

// --- TZelScrollBar ---

ZEL_DEFINE_CLASS(TZelScrollBar, TZelCustomTool)

TZelScrollBar::TZelScrollBar(TComponent* AOwner) : TZelCustomTool(AOwner) {
  FThumb = Create<TScrollBarThumb>(this);
  auto Changed = [this](TObject* Sender) { CanvasChanged(Sender); };
  FArrowBrush = new TZelBrush(Changed);
  FArrowBrush->InitBackColor(0xFFA9A9A9);
  FDisabledArrow = new TZelBrush(Changed);
  FDisabledArrow->InitBackColor(0xFFFFFFFF);
  FBrush->InitColor(0xFFFFFFFF);
  FBrush->InitBackColor(DefaultBackColor);
  FPen->InitColor(0xFFA9A9A9);
}

TZelScrollBar::~TZelScrollBar() {
  FreeAndNil(FTimer);
  FreeAndNil(FThumb);
  FreeAndNil(FArrowBrush);
  FreeAndNil(FDisabledArrow);
}

void TZelScrollBar::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TZelScrollBar*>(Source)) {
    FAllowResize = S->FAllowResize;
    FArrowBrush->Assign(S->FArrowBrush);
    FArrows = S->FArrows;
    FAutoRepeat = S->FAutoRepeat;
    SetBackColor(S->GetBackColor());
    FBevel = S->FBevel;
    FDisabledArrow->Assign(S->FDisabledArrow);
    FDrawStyle = S->FDrawStyle;
    if (TZelGradient* G = S->FBrush->ExistingGradient())
      FBrush->SetGradient(G);
    else
      FBrush->SetGradient(nullptr);
    FInitial = S->FInitial;
    FMinSize = S->FMinSize;
    FRoundSize = S->FRoundSize;
    SetSize(S->FSize);
    FThumb->Assign(S->FThumb);
  }
  TZelCustomTool::Assign(Source);
}

void TZelScrollBar::SetParentChart(TCustomAxisPanel* Value) {
  TZelCustomTool::SetParentChart(Value);
  FThumb->SetParent(Value);
  Repaint();
}

String TZelScrollBar::Description() const { return ZelMsg_ZelScrollBar; }

// Base behaviour of the overridable operations.

std::int32_t TZelScrollBar::CurrentCount() { return ThumbLength; }
std::int32_t TZelScrollBar::TotalCount() { return Max; }
std::int32_t TZelScrollBar::GetPosition() { return FPosition; }
std::int32_t TZelScrollBar::DeltaMain() { return CurrentCount() / 4; }

void TZelScrollBar::InflateThumbLength(bool, double Delta) {
  ThumbLength = std::max(1, ThumbLength + Round(Delta));
}

bool TZelScrollBar::ShouldDraw(TRectF&) { return TotalCount() > 0; }

void TZelScrollBar::SetSize(std::int32_t Value) {
  if (Value == FSize) return;
  SetIntegerProperty(FSize, Value);
  if (OnChangeSize) OnChangeSize(this);
}

void TZelScrollBar::SetPosition(std::int32_t Value) {
  SetIntegerProperty(FPosition, Value);
  if (OnSetPosition) OnSetPosition(this, Value);
}

double TZelScrollBar::CalcDelta(float A, float B) {
  if (A == B) return 0;
  const TRectF S = ScrollRect();
  const double Len = FHorizontal ? S.Right - S.Left : S.Bottom - S.Top;
  // A bar with no track length has no pixels to spread the positions over.
  if (Len <= 0) return 0;
  const double D = static_cast<double>(TotalCount()) * std::fabs(static_cast<double>(A) - B) / Len;
  return A < B ? -D : D;
}

void TZelScrollBar::EnsureVisible(std::int32_t Index) {
  if (Index < GetPosition())
    SetPosition(Index);
  else if (Index >= GetPosition() + CurrentCount())
    SetPosition(Index - CurrentCount() + 1);
}

// Property setters.

void TZelScrollBar::SetArrowBrush(TZelBrush* Value) {
  if (Value) FArrowBrush->Assign(Value);
}
void TZelScrollBar::SetDisabledArrow(TZelBrush* Value) {
  if (Value) FDisabledArrow->Assign(Value);
}
void TZelScrollBar::SetThumb(TScrollBarThumb* Value) {
  if (Value) FThumb->Assign(Value);
}
void TZelScrollBar::SetArrows(bool Value) { SetBooleanProperty(FArrows, Value); }
void TZelScrollBar::SetBevel(TPanelBevel Value) {
  if (Value == FBevel) return;
  FBevel = Value;
  Repaint();
}
void TZelScrollBar::SetRoundSize(std::int32_t Value) { SetIntegerProperty(FRoundSize, Value); }
void TZelScrollBar::SetMinThumbSize(std::int32_t Value) { SetIntegerProperty(FMinSize, Value); }
void TZelScrollBar::SetHorizontal(bool Value) { SetBooleanProperty(FHorizontal, Value); }
TAlphaColor TZelScrollBar::GetBackColor() const { return FBrush->GetBackColor(); }
void TZelScrollBar::SetBackColor(TAlphaColor Value) { FBrush->SetBackColor(Value); }
TZelGradient* TZelScrollBar::GetGradient() { return FBrush->GetGradient(); }
void TZelScrollBar::SetGradient(TZelGradient* Value) { FBrush->SetGradient(Value); }
TZelBrush* TZelScrollBar::GetThumbBrush() const { return FThumb->GetBrush(); }
void TZelScrollBar::SetThumbBrush(TZelBrush* Value) {
  if (Value) FThumb->SetBrush(Value);
}
std::int32_t TZelScrollBar::GetThumbSize() const { return FThumb->GetSize(); }
void TZelScrollBar::SetThumbSize(std::int32_t Value) { FThumb->SetSize(Value); }

// Geometry.

TRectF TZelScrollBar::MainRect() const {
  const float S = static_cast<float>(FSize);
  if (FHorizontal) return TRectF(R.Left, R.Bottom, R.Right, R.Bottom + S);
  return TRectF(R.Right - S - 1, R.Top, R.Right, R.Bottom);
}

TRectF TZelScrollBar::DecArrowRect() const {
  const float S = static_cast<float>(FSize);
  if (FHorizontal) return TRectF(R.Left, R.Bottom, R.Left + S, R.Bottom + S);
  return TRectF(R.Right - S - 1, R.Top, R.Right, R.Top + S);
}

TRectF TZelScrollBar::IncArrowRect() const {
  const float S = static_cast<float>(FSize);
  if (FHorizontal) return TRectF(R.Right - S, R.Bottom, R.Right, R.Bottom + S);
  return TRectF(R.Right - S - 1, R.Bottom - S, R.Right, R.Bottom);
}

TRectF TZelScrollBar::ScrollRect() const {
  TRectF M = MainRect();
  if (FArrows) {
    const float S = static_cast<float>(FSize);
    if (FHorizontal) {
      M.Left += S;
      M.Right -= S;
    } else {
      M.Top += S;
      M.Bottom -= S;
    }
  }
  return M;
}

TRectF TZelScrollBar::ThumbRect() const {
  const float S = static_cast<float>(FSize);
  if (FHorizontal) {
    TRectF T(ThumbBegin, R.Bottom + 1, ThumbEnd, R.Bottom + S - 1);
    if (T.Right - T.Left < 2) T.Right += 1;
    return T;
  }
  return TRectF(R.Right - S, ThumbBegin, R.Right, ThumbEnd);
}

void TZelScrollBar::ArrowPoints(bool IsInc, TPointF (&P)[3]) const {
  const TRectF B = IsInc ? IncArrowRect() : DecArrowRect();
  const float S = static_cast<float>(FSize);
  const float K = static_cast<float>(FSize / 6);
  const float Half = static_cast<float>(FSize / 2);
  const float L = B.Left, T = B.Top, Rt = B.Right, Bt = B.Bottom;
  if (FHorizontal) {
    if (IsInc) {
      P[0] = TPointF(Rt - K, T + Half);
      P[1] = TPointF(Rt - S + K, T + K);
      P[2] = TPointF(Rt - S + K, Bt - K);
    } else {
      P[0] = TPointF(L + K, T + Half);
      P[1] = TPointF(L + S - K, T + K);
      P[2] = TPointF(L + S - K, Bt - K);
    }
  } else if (IsInc) {
    P[0] = TPointF(L + K, Bt - S + 2 * K);
    P[1] = TPointF(L + Half, Bt - K);
    P[2] = TPointF(L + S - K, Bt - S + 2 * K);
  } else {
    P[0] = TPointF(L + K, T + S - 2 * K);
    P[1] = TPointF(L + Half, T + K);
    P[2] = TPointF(L + S - K, T + S - 2 * K);
  }
}

// Drawing.

void TZelScrollBar::ChartEvent(TChartToolEvent AEvent) {
  TZelCustomTool::ChartEvent(AEvent);
  if (AEvent == TChartToolEvent::tdePaintDone) Draw();
  // The mouse left the chart: no arrow is hovered any more.
  if (AEvent == TChartToolEvent::tdeMouseLeft) SetArrowOutlines(false, false);
}

bool TZelScrollBar::CanXorOutline() const {
  return ZelCanDrawXor(FParent);
}

void TZelScrollBar::Draw() {
  if (!FParent || !FParent->GetCanvas()) return;
  if (!ShouldDraw(R)) return;
  TCanvas3D* C = FParent->GetCanvas();

  // The track.
  C->AssignVisiblePen(FPen);
  C->AssignBrush(FBrush);
  const TRectF Main = MainRect();
  if (FRoundSize != 0)
    C->RoundRect(Main, FRoundSize, FRoundSize);
  else
    C->Rectangle(Main);

  // The arrow buttons.
  const std::int32_t Total = TotalCount();
  const std::int32_t Current = CurrentCount();
  const std::int32_t Pos = GetPosition();
  if (FArrows) {
    C->Rectangle(DecArrowRect());
    C->Rectangle(IncArrowRect());
    C->GetPen()->SetStyle(TPenStyle::psClear);
    for (bool IsInc : {false, true}) {
      const bool Disabled = IsInc ? (FIn == TZelScrollBarPart::spArrowInc || Pos == Total - Current)
                                  : (FIn == TZelScrollBarPart::spArrowDec || Pos == 0);
      C->AssignBrush(Disabled ? FDisabledArrow : FArrowBrush);
      TPointF P[3];
      ArrowPoints(IsInc, P);
      C->Polygon(P, 2);
    }
    if (CanXorOutline()) {
      FDecOutline = false;
      FIncOutline = false;
    } else {
      // Without XOR drawing the hover outlines are part of the picture until the mouse leaves.
      if (FDecOutline) DrawArrowOutline(false);
      if (FIncOutline) DrawArrowOutline(true);
    }
  }

  // The thumb.
  if (Total == 0) return;
  const float A = FArrows ? static_cast<float>(FSize) : 0.0f;
  const float Start = FHorizontal ? R.Left : R.Top;
  const float End = FHorizontal ? R.Right : R.Bottom;
  const double Len = static_cast<double>(End - Start) - 2.0 * A;
  double P;
  std::int32_t Length;
  if (FThumb->GetSize() != 0) {
    P = Len / std::max(1, Total - Current + 1);
    Length = FThumb->GetSize();
  } else {
    P = Len / Total;
    Length = std::max(FMinSize, Round(Current * P));
  }
  ThumbBegin = Start + A + static_cast<float>(Round(Pos * P));
  ThumbEnd = ThumbBegin + static_cast<float>(Length) + 1;
  // Positions outside 0 .. TotalCount (an axis showing more than its data) keep the thumb on the
  // track instead of drawing it over the arrows or beyond the bar.
  ThumbBegin = std::clamp(ThumbBegin, Start + A, std::max(Start + A, End - A));
  ThumbEnd = std::clamp(ThumbEnd, ThumbBegin, std::max(ThumbBegin, End - A));

  TRectF T = ThumbRect();
  TZelPicture* Image = FThumb->GetBrush()->ExistingImage();
  TBitmap* Pic = (Image && Image->Valid()) ? Image->Filtered() : nullptr;
  if (Pic && !Pic->IsEmpty()) {
    C->StretchDraw(TRectF(T.Left, T.Top, T.Right - 1, T.Bottom), Pic);
  } else {
    TZelPen* ThumbPen = FThumb->GetPen();
    C->AssignVisiblePen(ThumbPen);
    C->AssignBrush(FThumb->GetBrush());
    TRectF Body = T;
    if (ThumbPen->GetVisible()) {
      const float H = ThumbPen->GetWidth() / 2;
      Body = TRectF(Body.Left + H, Body.Top + H, Body.Right - H, Body.Bottom - H);
    }
    if (FArrows || FRoundSize == 0)
      C->Rectangle(Body);
    else
      C->RoundRect(Body, FRoundSize, FRoundSize);
  }
  if (FBevel != TPanelBevel::bvNone) {
    TRectF B(T.Left, T.Top, T.Right - 1, T.Bottom);
    DrawBevel(C, FBevel, B, 1, 0);
  }
}

void TZelScrollBar::DrawArrowOutline(bool IsInc) {
  TCanvas3D* C = FParent ? FParent->GetCanvas() : nullptr;
  if (!C) return;
  TPointF P[3];
  ArrowPoints(IsInc, P);
  C->GetBrush()->SetKind(TBrushKind::None);
  TZelPen* Pen = C->GetPen();
  Pen->SetStyle(TPenStyle::psSolid);
  Pen->SetColor(0xFFC0C0C0);
  Pen->SetWidth(2);
  if (CanXorOutline()) Pen->SetMode(TPenMode::pmXor);
  C->SetPenMode(Pen);
  C->Polygon(P, 2);
  Pen->SetMode(TPenMode::pmCopy);
  C->SetPenMode(Pen);
}

// Mouse.

void TZelScrollBar::ChartMouseEvent(TChartMouseEvent AEvent, TMouseButton Button, TShiftState Shift, std::int32_t X,
                                    std::int32_t Y) {
  TZelCustomTool::ChartMouseEvent(AEvent, Button, Shift, X, Y);
  switch (AEvent) {
    case TChartMouseEvent::tmePress:
      ProcessClick(TPointF(static_cast<float>(X), static_cast<float>(Y)));
      break;
    case TChartMouseEvent::tmeMove:
      MouseMove(X, Y);
      break;
    case TChartMouseEvent::tmeRelease:
      MouseUp();
      break;
  }
}

bool TZelScrollBar::ClickedResize(bool IsInc, const TPointF& P) const {
  if (!FAllowResize) return false;
  const TRectF T = ThumbRect();
  const bool Across = FHorizontal ? (P.Y > T.Top && P.Y < T.Bottom) : (P.X > T.Left && P.X < T.Right);
  if (!Across) return false;
  const float Edge = IsInc ? (FHorizontal ? T.Right : T.Bottom) : (FHorizontal ? T.Left : T.Top);
  return std::fabs(Along(P) - Edge) < 3;
}

void TZelScrollBar::ProcessClick(const TPointF& P) {
  OldPoint = P;
  FIn = TZelScrollBarPart::spNone;
  double Step;
  if (FArrows && PointInRect(DecArrowRect(), P)) {
    FIn = TZelScrollBarPart::spArrowDec;
    Step = -1;
  } else if (FArrows && PointInRect(IncArrowRect(), P)) {
    FIn = TZelScrollBarPart::spArrowInc;
    Step = 1;
  } else if (ClickedResize(true, P)) {
    FIn = TZelScrollBarPart::spResizeInc;
    return;
  } else if (ClickedResize(false, P)) {
    FIn = TZelScrollBarPart::spResizeDec;
    return;
  } else if (PointInRect(ThumbRect(), P)) {
    FIn = TZelScrollBarPart::spThumb;
    return;
  } else if (!PointInRect(MainRect(), P)) {
    return;
  } else if (Along(P) < ThumbBegin) {
    Step = -DeltaMain();
  } else if (Along(P) > ThumbEnd) {
    Step = DeltaMain();
  } else {
    return;
  }
  ApplyScroll(Step, true);
}

void TZelScrollBar::StopTimer() {
  if (FTimer) FTimer->SetEnabled(false);
}

void TZelScrollBar::ApplyScroll(double Delta, bool StartTimer) {
  const double Pos = GetPosition();
  double Target;
  bool Stop = false;
  if (Delta < 0) {
    const double D = std::max(-Pos, Delta);
    if (Pos > D + 1) {
      Target = Pos + D;
    } else {
      StopTimer();
      return;
    }
  } else {
    const double Last = static_cast<double>(TotalCount()) - CurrentCount();
    if (Last > Pos + Delta - 1) {
      Target = Pos + Delta;
    } else {
      Target = Last;
      Stop = true;
    }
  }
  SetPosition(Round(Target));
  if (OnScrolled) OnScrolled(this);
  if (Stop) {
    StopTimer();
  } else if (StartTimer && FirstTime && FAutoRepeat) {
    if (!FTimer) {
      FTimer = Create<TTimer>(static_cast<TComponent*>(nullptr));
      FTimer->SetEnabled(false);
      FTimer->SetOnTimer([this](TObject*) { DoTimer(); });
    }
    FTimer->SetInterval(static_cast<Cardinal>(std::max(0, FInitial)));
    FTimer->SetEnabled(true);
  }
}

void TZelScrollBar::DoTimer() {
  ProcessClick(OldPoint);
  if (FTimer && FTimer->GetInterval() > 50) FTimer->SetInterval(50);
}

void TZelScrollBar::MouseMove(std::int32_t X, std::int32_t Y) {
  const TPointF P(static_cast<float>(X), static_cast<float>(Y));
  switch (FIn) {
    case TZelScrollBarPart::spResizeInc:
    case TZelScrollBarPart::spResizeDec: {
      const double Delta = CalcDelta(Along(P), Along(OldPoint));
      if (std::fabs(Delta) >= 1) {
        InflateThumbLength(FIn == TZelScrollBarPart::spResizeInc, Delta);
        OldPoint = P;
        Repaint();
      }
      return;
    }
    case TZelScrollBarPart::spThumb: {
      const double Delta = CalcDelta(Along(P), Along(OldPoint));
      if (std::fabs(Delta) >= 1) {
        ApplyScroll(Delta, false);
        OldPoint = P;
      }
      return;
    }
    default:
      break;
  }
  if (!FParent) return;
  // Hovering: outlines on the arrows that can move, split cursors at the thumb's edges.
  const bool OverDec = FArrows && PointInRect(DecArrowRect(), P) && GetPosition() >= 1;
  const bool OverInc =
      FArrows && PointInRect(IncArrowRect(), P) && GetPosition() < TotalCount() - CurrentCount();
  SetArrowOutlines(OverDec, OverInc);
  if (!OverDec && !OverInc && (ClickedResize(true, P) || ClickedResize(false, P))) {
    FParent->SetCursor(FHorizontal ? crHSplit : crVSplit);
    FParent->SetCancelMouse(true);
  }
}

void TZelScrollBar::SetArrowOutlines(bool Dec, bool Inc) {
  const bool Xor = CanXorOutline();
  for (bool IsInc : {false, true}) {
    bool& Flag = IsInc ? FIncOutline : FDecOutline;
    const bool Over = IsInc ? Inc : Dec;
    if (Over == Flag) continue;
    Flag = Over;
    if (Xor)
      DrawArrowOutline(IsInc);  // drawn once to show, again to erase
    else
      Repaint();
  }
}

void TZelScrollBar::SetActive(bool Value) {
  if (!Value && (FIn != TZelScrollBarPart::spNone || (FTimer && FTimer->GetEnabled()))) MouseUp();
  TZelCustomTool::SetActive(Value);
}

void TZelScrollBar::MouseUp() {
  FIn = TZelScrollBarPart::spNone;
  FirstTime = true;
  StopTimer();
  Repaint();
}

// --- TAxisScrollBarTool ---

ZEL_DEFINE_COMPONENT_CLASS(TAxisScrollBarTool, TZelScrollBar)

TAxisScrollBarTool::TAxisScrollBarTool(TComponent* AOwner) : TZelScrollBar(AOwner) {
  FAllowResize = true;
  FMargin = 5;
  Max = 1000;
}

TAxisScrollBarTool::~TAxisScrollBarTool() { ReleaseAxisSpace(); }

TChartAxis* TAxisScrollBarTool::GetAxis() const {
  // The axis is used only while it is in the tool's chart.
  return FParent ? FParent->OwnAxis(FAxis) : nullptr;
}

void TAxisScrollBarTool::ReleaseAxisSpace() {
  if (TChartAxis* A = GetAxis()) A->IExtraSpace = 0;
}

void TAxisScrollBarTool::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TAxisScrollBarTool*>(Source)) {
    ZelLinkAxis(this, FAxis, S->FAxis);
    FMargin = S->FMargin;
  }
  TZelScrollBar::Assign(Source);
}

void TAxisScrollBarTool::DefineProperties(TFiler* Filer) {
  TZelScrollBar::DefineProperties(Filer);
  TChartAxis* A = GetAxis();
  Filer->DefineProperty(
      "AxisID",
      [this](TReader* Reader) {
        const std::int32_t Index = Reader->ReadInteger();
        // Without a chart yet the stored index cannot be resolved and is dropped.
        if (FParent) SetAxis(FParent->GetAxes()->Get(Index));
      },
      [this](TWriter* Writer) {
        TChartAxis* Axis = GetAxis();
        Writer->WriteInteger(Axis ? FParent->GetAxes()->IndexOf(Axis) : -1);
      },
      A != nullptr);
}

void TAxisScrollBarTool::SetAxis(TChartAxis* Value) {
  if (Value == FAxis && (!Value || Value->GetParentChart() == FParent)) return;
  ReleaseAxisSpace();
  ZelLinkAxis(this, FAxis, Value);
  // Moving to the axis' chart keeps this axis (SetParentChart sees it belongs there).
  TZelScrollBar::SetParentChart(Value ? Value->GetParentChart() : nullptr);
  PrepareScrollBar();
  PrepareMargin();
}

void TAxisScrollBarTool::SetParentChart(TCustomAxisPanel* Value) {
  if (Value == FParent) {
    TZelScrollBar::SetParentChart(Value);
    return;
  }
  // The axis belongs to the old chart: remember its place there and give it its room back.
  std::int32_t Index = -1;
  if (TChartAxis* A = GetAxis()) {
    Index = FParent->GetAxes()->IndexOf(A);
    A->IExtraSpace = 0;
  }
  ZelLinkAxis(this, FAxis, nullptr);
  TZelScrollBar::SetParentChart(Value);
  if (!FParent) return;
  TChartAxes* Axes = FParent->GetAxes();
  TChartAxis* NewAxis = (Index >= 0 && Index < Axes->GetCount()) ? Axes->Get(Index) : FParent->GetBottomAxis();
  SetAxis(NewAxis);
}

void TAxisScrollBarTool::Notification(TComponent* AComponent, TOperation Operation) {
  TZelScrollBar::Notification(AComponent, Operation);
  ZelAxisFreed(FAxis, AComponent, Operation);
}

void TAxisScrollBarTool::SetActive(bool Value) {
  TZelScrollBar::SetActive(Value);
  PrepareMargin();
}

void TAxisScrollBarTool::CanvasChanged(TObject* Sender) {
  PrepareMargin();
  TZelScrollBar::CanvasChanged(Sender);
}

void TAxisScrollBarTool::SetSize(std::int32_t Value) {
  TZelScrollBar::SetSize(Value);
  PrepareMargin();
}

void TAxisScrollBarTool::SetMargin(std::int32_t Value) {
  SetIntegerProperty(FMargin, Value);
  PrepareMargin();
}

void TAxisScrollBarTool::PrepareMargin() {
  if (TChartAxis* A = GetAxis()) A->IExtraSpace = GetActive() ? FSize + FMargin : 0;
}

void TAxisScrollBarTool::PrepareScrollBar() {
  if (TChartAxis* A = GetAxis()) SetHorizontal(A->GetHorizontal());
}

String TAxisScrollBarTool::Description() const { return ZelMsg_AxisScrollBarTool; }

String TAxisScrollBarTool::LongDescription() const { return ZelMsg_AxisScrollBarDesc; }

void TAxisScrollBarTool::ChartEvent(TChartToolEvent AEvent) {
  if (GetAxis()) {
    // The bar lies along its axis as the axis is now, which may have turned since it was hooked.
    if (AEvent == TChartToolEvent::tdePaintStart) PrepareScrollBar();
    // The thumb shows the range the axis was painted with (an automatic axis has its ends only
    // once the paint has worked them out); painting never moves the axis.
    if (AEvent == TChartToolEvent::tdePaintDone) Reposition();
  }
  TZelScrollBar::ChartEvent(AEvent);
}

bool TAxisScrollBarTool::GetAxisLimits(double& ARange, double& AMin, double& AMax) {
  TChartAxis* A = GetAxis();
  if (!A) return false;
  ARange = A->GetMaximum() - A->GetMinimum();
  if (A->GetHorizontal()) {
    AMin = FParent->MinXValue(A);
    AMax = FParent->MaxXValue(A);
  } else {
    AMin = FParent->MinYValue(A);
    AMax = FParent->MaxYValue(A);
  }
  // A range that is not finite cannot be mapped to positions.
  return std::isfinite(ARange) && std::isfinite(AMin) && std::isfinite(AMax);
}

void TAxisScrollBarTool::ChangeAxisMinMax(double NewMin, double NewMax) {
  TChartAxis* A = GetAxis();
  if (!A) return;
  A->SetMinMax(NewMin, NewMax);
  TChartAxis* Other = nullptr;
  if (AnySeriesBothAxis(A, Other) && Other) Other->SetMinMax(NewMin, NewMax);
}

std::int32_t TAxisScrollBarTool::CurrentCount() {
  double ARange = 0, AMin = 0, AMax = 0;
  if (!GetAxisLimits(ARange, AMin, AMax)) return 0;
  if (IsZero(AMax - AMin)) return 0;
  return Round(ARange * 1000 / (AMax - AMin));
}

void TAxisScrollBarTool::SetPosition(std::int32_t Value) {
  TZelScrollBar::SetPosition(Value);
  double ARange = 0, AMin = 0, AMax = 0;
  if (!GetAxisLimits(ARange, AMin, AMax) || ARange == 0) return;
  const double B = GetPosition() * (AMax - AMin) / 1000;
  const double NewMin = FHorizontal ? AMin + B : AMax - B - ARange;
  TChartAxis* A = GetAxis();
  if (A->GetAutomatic() && A->GetMinimum() == NewMin && A->GetMaximum() == NewMin + ARange) return;
  ChangeAxisMinMax(NewMin, NewMin + ARange);
}

void TAxisScrollBarTool::Reposition() {
  double ARange = 0, AMin = 0, AMax = 0;
  if (!GetAxisLimits(ARange, AMin, AMax) || ARange == 0) return;
  // Only the thumb moves: the axis keeps its ends, which a rounded position would shift.
  if (AMax - AMin == 0) {
    TZelScrollBar::SetPosition(0);
    return;
  }
  TChartAxis* A = GetAxis();
  const double X = FHorizontal ? A->GetMinimum() - AMin : AMax - A->GetMaximum();
  TZelScrollBar::SetPosition(Round(X * 1000 / (AMax - AMin)));
}

void TAxisScrollBarTool::InflateThumbLength(bool IsInc, double Delta) {
  double ARange = 0, AMin = 0, AMax = 0;
  if (!GetAxisLimits(ARange, AMin, AMax)) return;
  TChartAxis* A = GetAxis();
  double D = Delta * (AMax - AMin) / 1000;
  double NewMin = A->GetMinimum();
  double NewMax = A->GetMaximum();
  if (NewMax - NewMin == 0) return;
  if (!FHorizontal) {
    // The increment edge of a vertical bar is its bottom: the axis' minimum end.
    IsInc = !IsInc;
    D = -D;
  }
  if (IsInc) {
    if (NewMax + D > NewMin) NewMax += D;
  } else if (NewMax > NewMin + D) {
    NewMin += D;
  }
  ChangeAxisMinMax(NewMin, NewMax);
  Reposition();
}

bool TAxisScrollBarTool::ShouldDraw(TRectF& Rect) {
  TChartAxis* A = GetAxis();
  if (!A || !A->GetVisible()) return false;
  Rect = A->AxisRect();
  const float S = static_cast<float>(FSize);
  if (A->GetHorizontal()) {
    const float D = static_cast<float>(FMargin) + Rect.Bottom - Rect.Top;
    if (A->GetOtherSide()) {
      Rect.Bottom = Rect.Top - S;
      Rect.Top -= D;
      Rect.Bottom -= D;
    } else {
      Rect.Top += D;
      Rect.Bottom += D;
    }
  } else {
    const float D = static_cast<float>(A->MaxLabelsWidth() + FMargin) + Rect.Right - Rect.Left;
    if (A->GetOtherSide()) {
      Rect.Right = Rect.Left + S;
      Rect.Left += D;
      Rect.Right += D;
    } else {
      Rect.Left -= D;
      Rect.Right -= D;
    }
  }
  return true;
}

// ---------------------------------------------------------------------------------------------
// Published properties

// Gradient and Image are the brush's: read under these names, written once under "Brush".
ZEL_BEGIN_PUBLISHED(TScrollBarThumb)
  P::Obj("Gradient", &Self::GetGradient, &Self::GetGradient, [](Self*) { return false; }),
  P::Obj("Image", &Self::GetImage, &Self::GetImage, [](Self*) { return false; }),
  P::Prop("Size", &Self::GetSize, &Self::SetSize, Default(0)),
  P::Prop("Style", &Self::GetStyle, &Self::SetStyle, Default(TScrollThumbStyle::stsCustom)),
ZEL_END_PUBLISHED

// Gradient (the element brush's), ThumbBrush and ThumbSize (the thumb's) are read under these
// names and written once, under "Brush" and "Thumb".
ZEL_BEGIN_PUBLISHED(TZelScrollBar)
  P::Prop("AllowResize", &Self::GetAllowResize, &Self::SetAllowResize, Default(false)),
  P::Obj("ArrowBrush", &Self::GetArrowBrush),
  P::Prop("Arrows", &Self::GetArrows, &Self::SetArrows, Default(true)),
  P::Prop("AutoRepeat", &Self::GetAutoRepeat, &Self::SetAutoRepeat, Default(true)),
  P::Prop("BackColor", &Self::GetBackColor, &Self::SetBackColor, &Self::IsBackColorStored),
  P::Prop("Bevel", &Self::GetBevel, &Self::SetBevel, Default(TPanelBevel::bvRaised)),
  P::Obj("Brush", &Self::GetBrush),
  P::Obj("DisabledArrow", &Self::GetDisabledArrow),
  P::Prop("DrawStyle", &Self::GetDrawStyle, &Self::SetDrawStyle, Default(TZelScrollBarDrawStyle::dsAlways)),
  P::Obj("Gradient", &Self::GetGradient, &Self::GetGradient, [](Self*) { return false; }),
  P::Prop("InitialDelay", &Self::GetInitialDelay, &Self::SetInitialDelay, Default(250)),
  P::Prop("MinThumbSize", &Self::GetMinThumbSize, &Self::SetMinThumbSize, Default(4)),
  P::Obj("Pen", &Self::GetPen),
  P::Prop("RoundSize", &Self::GetRoundSize, &Self::SetRoundSize, Default(0)),
  P::Prop("Size", &Self::GetSize, &Self::SetSize, Default(18)),
  P::Obj("Thumb", &Self::GetThumb),
  P::Obj("ThumbBrush", &Self::GetThumbBrush, &Self::GetThumbBrush, [](Self*) { return false; }),
  P::Prop("ThumbSize", &Self::GetThumbSize, &Self::SetThumbSize, Never),
  P::Event("OnChangeSize", &Self::OnChangeSize),
  P::Event("OnScrolled", &Self::OnScrolled),
  P::Event("OnSetPosition", &Self::OnSetPosition),
ZEL_END_PUBLISHED

ZEL_BEGIN_PUBLISHED(TAxisScrollBarTool)
  P::Prop("AllowResize", &Self::GetAllowResize, &Self::SetAllowResize, Default(true)),
  P::Prop("Margin", &Self::GetMargin, &Self::SetMargin, Default(5)),
ZEL_END_PUBLISHED

}  // namespace zel
