#include "zelgraph/engine/PanelExtended.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "platform/Filer.h"
#include "platform/Math.h"
#include "zelgraph/canvas/Canvas3D.h"
#include "zelgraph/canvas/CanvasScopes.h"
#include "zelgraph/canvas/Gradient.h"
#include "zelgraph/canvas/Shadow.h"
#include "zelgraph/procs/Procs.h"

namespace zel {

ZEL_DEFINE_CLASS(TZoomPanning, TPersistent)
ZEL_DEFINE_CLASS(TZelPanning, TZoomPanning)
ZEL_DEFINE_CLASS(TZelZoomPen, TZelPen)
ZEL_DEFINE_CLASS(TZelZoomBrush, TZelBrush)
ZEL_DEFINE_CLASS(TZelZoom, TZoomPanning)
ZEL_DEFINE_CLASS(TBackImage, TZelPicture)
ZEL_DEFINE_CLASS(TCustomZelPanelExtended, TCustomZelPanel)

// ---------------------------------------------------------------------------------------------
// Drag state and panning

void TZoomPanning::Activate(int X, int Y) {
  X0 = X1 = X;
  Y0 = Y1 = Y;
  FActive = true;
}

void TZoomPanning::Check() {
  if (X1 < X0) std::swap(X0, X1);
  if (Y1 < Y0) std::swap(Y0, Y1);
}

void TZelPanning::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TZelPanning*>(Source)) {
    FInsideBounds = S->FInsideBounds;
    FMouseWheel = S->FMouseWheel;
    return;
  }
  TZoomPanning::Assign(Source);
}

// ---------------------------------------------------------------------------------------------
// Zoom settings

TZelZoom::TZelZoom() = default;

TZelZoom::~TZelZoom() {
  delete FAxesHistory;
  FreeAndNil(FBrush);
  FreeAndNil(FPen);
}

void TZelZoom::Assign(TPersistent* Source) {
  auto* S = dynamic_cast<TZelZoom*>(Source);
  if (!S) return;
  FAllow = S->FAllow;
  FAnimated = S->FAnimated;
  FAnimatedSteps = S->FAnimatedSteps;
  SetBrush(S->FBrush);
  FDirection = S->FDirection;
  FFullRepaint = S->FFullRepaint;
  FHistory = S->FHistory;
  FKeepAspect = S->FKeepAspect;
  FKeyShift = S->FKeyShift;
  FMouseButton = S->FMouseButton;
  SetPen(S->FPen);
}

TObjectList<TObject>* TZelZoom::GetAxesHistory() {
  if (!FAxesHistory) FAxesHistory = new TObjectList<TObject>(true);
  return FAxesHistory;
}

TZelZoomBrush* TZelZoom::GetBrush() {
  if (!FBrush) {
    FBrush = Create<TZelZoomBrush>();
    FBrush->InitColor(0xFFFFFFFF);
    FBrush->InitKind(TBrushKind::None);
  }
  return FBrush;
}

void TZelZoom::SetBrush(TZelBrush* V) {
  if (!V) {
    FreeAndNil(FBrush);
    return;
  }
  GetBrush()->Assign(V);
}

TZelZoomPen* TZelZoom::GetPen() {
  if (!FPen) {
    FPen = Create<TZelZoomPen>();
    FPen->InitColor(0xFFC0C0C0);
    FPen->DefaultColor = 0xFFC0C0C0;
    FPen->InitWidth(3);
    FPen->InitEndStyle(TPenEndStyle::esFlat);
  }
  return FPen;
}

void TZelZoom::SetPen(TZelPen* V) {
  if (!V) {
    FreeAndNil(FPen);
    return;
  }
  GetPen()->Assign(V);
}

void TZelZoom::SetHistory(bool V) {
  FHistory = V;
  if (!V && FAxesHistory) FAxesHistory->Clear();
}

// ---------------------------------------------------------------------------------------------
// Back image

void TBackImage::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TBackImage*>(Source)) {
    FBottom = S->FBottom;
    FDrawQuality = S->FDrawQuality;
    FInside = S->FInside;
    FLeft = S->FLeft;
    FMode = S->FMode;
    FRight = S->FRight;
    FTop = S->FTop;
  }
  TZelPicture::Assign(Source);
}

void TBackImage::DoChanged() {
  if (OnChange) OnChange(this);
}

void TBackImage::SetField(int& Field, int V) {
  if (Field == V) return;
  Field = V;
  DoChanged();
}

void TBackImage::SetBottom(int V) { SetField(FBottom, V); }
void TBackImage::SetLeft(int V) { SetField(FLeft, V); }
void TBackImage::SetRight(int V) { SetField(FRight, V); }
void TBackImage::SetTop(int V) { SetField(FTop, V); }

void TBackImage::SetDrawQuality(TCanvasStretchQuality V) {
  if (FDrawQuality == V) return;
  FDrawQuality = V;
  DoChanged();
}

void TBackImage::SetInside(bool V) {
  if (FInside == V) return;
  FInside = V;
  DoChanged();
}

void TBackImage::SetMode(TZelBackImageMode V) {
  if (FMode == V) return;
  FMode = V;
  DoChanged();
}

TRectF TBackImage::GetBounds() const {
  const float R = FRight == 0 ? float(FLeft + GetWidth()) : float(FRight);
  const float B = FBottom == 0 ? float(FTop + GetHeight()) : float(FBottom);
  return TRectF(float(FLeft), float(FTop), R, B);
}

void TBackImage::SetBounds(const TRectF& R) {
  FLeft = Round(R.Left);
  FTop = Round(R.Top);
  FRight = Round(R.Right);
  FBottom = Round(R.Bottom);
  DoChanged();
}

void TBackImage::Draw(TCustomZelPanelExtended* Panel, const TRectF& Rect, int Z) {
  TCanvas3D* C = Panel->GetCanvas();
  if (!C) return;
  TBitmap* G = Filtered();
  const TCanvasStretchQuality OldQuality = C->GetStretchQuality();
  C->SetStretchQuality(FDrawQuality);
  bool Clipped = false;
  TRestoreOnExit Finish([&] {
    if (Clipped) C->UnClipRectangle();
    C->SetStretchQuality(OldQuality);
  });
  TRectF R = Rect;
  const bool Ortho = C->GetIsOrthogonal();
  auto Project = [&] {
    R = C->CalcRect3D(R, Z);
    if (!Panel->GetView3D()) R.Top += 1;
  };
  const int PW = G->GetWidth(), PH = G->GetHeight();
  if (FMode == TZelBackImageMode::pbmStretch) {
    if (Z != 0 && Ortho) {
      Project();
      C->StretchDraw(R, G);
    } else if (Z != 0) {
      C->StretchDraw(R, G, Z, TCanvas3DPlane::cpZ);
    } else {
      C->StretchDraw(R, G);
    }
  } else {
    if (Panel->CanClip()) {
      if (Z != 0)
        C->ClipCube(R, 0, Panel->GetWidth3D());
      else
        C->ClipRectangle(R);
      Clipped = true;
    }
    if (Z != 0 && Ortho) Project();
    const int W = std::max(0, Round(R.Width()));
    const int H = std::max(0, Round(R.Height()));
    if (FMode == TZelBackImageMode::pbmTile) {
      if (PW >= 1 && PH >= 1) {
        // On a flat plane only the tiles that reach into the canvas window are drawn, so
        // that a tiny picture over a huge rectangle costs no more than the window holds.
        // Tiles on a 3D plane are not limited that way: they stop at the largest control.
        int XFrom = 0, XTo = std::min(W, 65536), YFrom = 0, YTo = std::min(H, 65536);
        const TRectF B = Panel->GetChartBounds();
        if (!(Z >= 1 && !Ortho) && !B.IsEmpty()) {
          auto Span = [](float Lo, float Hi, float Start, int Step, int Size, int& From, int& To) {
            const double A = std::max(0.0, std::floor((double(Lo) - Start) / Step));
            const double E = std::min(double(Size), std::ceil(double(Hi) - Start));
            From = int(std::min(double(Size), A * Step));
            To = E < 0 ? 0 : int(E);
          };
          Span(B.Left, B.Right, R.Left, PW, W, XFrom, XTo);
          Span(B.Top, B.Bottom, R.Top, PH, H, YFrom, YTo);
        }
        for (std::int64_t Y = YFrom; Y < YTo; Y += PH)
          for (std::int64_t X = XFrom; X < XTo; X += PW) {
            if (Z >= 1 && !Ortho)
              C->StretchDraw(TRectF(R.Left + X, R.Top + Y, R.Left + X + PW, R.Top + Y + PH), G, Z,
                             TCanvas3DPlane::cpZ);
            else
              C->Draw(Round(R.Left + X), Round(R.Top + Y), G);
          }
      }
    } else {
      Panel->FillPanelRect(R);
      if (FMode == TZelBackImageMode::pbmCustom) {
        R.Left += FLeft;
        R.Top += FTop;
        R.Right = R.Left + (FRight != 0 ? FRight : PW);
        R.Bottom = R.Top + (FBottom != 0 ? FBottom : PH);
      } else {
        const int DX = (PW - W) / 2, DY = (PH - H) / 2;
        R = TRectF(R.Left - DX, R.Top - DY, R.Right + DX, R.Bottom + DY);
      }
      if (Z != 0 && !Ortho)
        C->StretchDraw(R, G, Z, TCanvas3DPlane::cpZ);
      else if (FRight != 0 || FBottom != 0)
        C->StretchDraw(R, G);
      else
        C->Draw(Round(R.Left), Round(R.Top), G);
    }
  }
}

// ---------------------------------------------------------------------------------------------
// The extended panel

TCustomZelPanelExtended::TCustomZelPanelExtended(TComponent* AOwner) : TCustomZelPanel(AOwner) {
  FAllowPanning = TPanningMode::pmBoth;
  FScrollMouse = TMouseButton::mbRight;
  FZoom = Create<TZelZoom>();
  FZoomWheel = TMouseWheelStyle::pmwNone;
}

TCustomZelPanelExtended::~TCustomZelPanelExtended() {
  FreeAndNil(FZoom);
  FreeAndNil(FGradient);
  FreeAndNil(FBackImage);
}

TZelGradient* TCustomZelPanelExtended::GetGradient() {
  if (!FGradient) FGradient = Create<TZelGradient>([this](TObject* S) { CanvasChanged(S); });
  return FGradient;
}

void TCustomZelPanelExtended::SetGradient(TZelGradient* V) {
  if (!V) {
    if (FGradient) {
      FreeAndNil(FGradient);
      Invalidate();
    }
    return;
  }
  GetGradient()->Assign(V);
  Invalidate();
}

TBackImage* TCustomZelPanelExtended::GetBackImage() {
  if (!FBackImage) {
    FBackImage = Create<TBackImage>();
    FBackImage->OnChange = [this](TObject* S) { CanvasChanged(S); };
  }
  return FBackImage;
}

void TCustomZelPanelExtended::SetBackImage(TBackImage* V) {
  if (!V) {
    FreeAndNil(FBackImage);
    Invalidate();
    return;
  }
  GetBackImage()->Assign(V);
}

bool TCustomZelPanelExtended::HasBackImage() const { return FBackImage && FBackImage->Valid(); }

bool TCustomZelPanelExtended::GetBackImageInside() const {
  return HasBackImage() && FBackImage->GetInside();
}

void TCustomZelPanelExtended::SetBackImageInside(bool V) { GetBackImage()->SetInside(V); }

TZelBackImageMode TCustomZelPanelExtended::GetBackImageMode() { return GetBackImage()->GetMode(); }

void TCustomZelPanelExtended::SetBackImageMode(TZelBackImageMode V) { GetBackImage()->SetMode(V); }

void TCustomZelPanelExtended::SetZoom(TZelZoom* V) { FZoom->Assign(V); }

void TCustomZelPanelExtended::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TCustomZelPanelExtended*>(Source)) {
    SetBackImage(S->FBackImage);
    SetGradient(S->FGradient);
    FAllowPanning = S->FAllowPanning;
    FScrollMouse = S->FScrollMouse;
    FZoom->Assign(S->FZoom);
  }
  TCustomZelPanel::Assign(Source);
}

TAlphaColor TCustomZelPanelExtended::GetBackColor() {
  TZelGradient* G = GetGradient();
  return G->GetVisible() ? G->GetStartColor() : FColor;
}

void TCustomZelPanelExtended::UndoZoom() {
  if (OnUndoZoom) OnUndoZoom(this);
  Invalidate();
  FZoomed = false;
}

void TCustomZelPanelExtended::TryDrawZoom() {
  if (!FZoom->GetFullRepaint() && InternalCanvas && InternalCanvas->GetSupportsXORMode())
    DrawZoomRectangle();
  else
    Invalidate();
}

void TCustomZelPanelExtended::DrawZoomRectangle() {
  TCanvas3D* C = InternalCanvas;
  if (!C) return;
  const bool Full = FZoom->GetFullRepaint();
  if (TZelZoomBrush* B = FZoom->ExistingBrush()) {
    TAlphaColor Back = GetBackColor();
    if (!Full) Back = (~Back) ^ B->GetColor();
    SetBrushCanvas(B->GetColor(), B, Back);
  } else {
    C->GetBrush()->SetKind(TBrushKind::None);
  }
  TZelZoomPen* P = FZoom->GetPen();
  if (Full || !C->GetSupportsXORMode()) {
    P->SetMode(TPenMode::pmCopy);
    C->AssignVisiblePenColor(P, P->GetColor());
  } else {
    ZelPrepareXorPen(this, P);
  }
  C->Rectangle(float(FZoom->X0), float(FZoom->Y0), float(FZoom->X1), float(FZoom->Y1));
  if (!Full) C->GetPen()->SetMode(TPenMode::pmCopy);
}

void TCustomZelPanelExtended::DrawBitmap(const TRectF& Rect, int Z) {
  if (HasBackImage()) FBackImage->Draw(this, Rect, Z);
}

namespace {

bool HasTransparency(TZelGradient* G) {
  auto Transparent = [](TAlphaColor C) { return (C >> 24) != 0xFF; };
  if (TZelGradientColors* Colors = G->ExistingColors()) {
    for (int I = 0; I < Colors->GetCount(); ++I)
      if (Transparent(Colors->Stop(I)->GetColor())) return true;
    return false;
  }
  return Transparent(G->GetStartColor()) || Transparent(G->GetMidColor()) ||
         Transparent(G->GetEndColor());
}

}  // namespace

void TCustomZelPanelExtended::FillPanelRect(const TRectF& Rect) {
  if (FPrinting && !PrintZelPanel) return;
  TCanvas3D* C = InternalCanvas;
  if (!C) return;
  const TAlphaColor Col = FColor != 0 ? PanelColor(FColor) : 0;
  if (!FBorder->GetVisible() && Col == 0) return;
  TFrontPlaneScope FrontPlane(C);
  C->AssignVisiblePenColor(FBorder, FBorder->GetColor());
  if (FGradient && FGradient->GetVisible())
    C->GetGradient()->Assign(FGradient);
  else if (TZelGradient* CG = C->GetBrush()->ExistingGradient())
    CG->SetVisible(false);
  TRectF R = Rect;
  TZelBrush* B = C->GetBrush();
  if (Col != 0) {
    B->SetColor(Col);
    B->SetKind(TBrushKind::Solid);
    B->SetImage(nullptr);
  } else {
    B->SetKind(TBrushKind::None);
  }
  if (FBorder->GetVisible()) {
    FixBorderWidth(R);
  } else {
    R.Right += 1;
    R.Bottom += 1;
  }
  if (FBorderRound < 1)
    C->Rectangle(R);
  else
    C->RoundRect(R, FBorderRound, FBorderRound);
}

bool TCustomZelPanelExtended::PaintsOpaque() const {
  return FColor != 0 && FBorderRound == 0 && AlphaOf(const_cast<TCustomZelPanelExtended*>(this)->PanelColor(FColor)) == 0xFF;
}

void TCustomZelPanelExtended::PanelPaint(const TRectF& Rect) {
  TCanvas3D* C = InternalCanvas;
  if (!C) return;
  TEntityScope Entity(C, "Panel");
  TFrontPlaneScope FrontPlane(C);
  TRectF R = Rect;
  if (!(FPrinting && !PrintZelPanel)) {
    if (FColor != 0) {
      TZelBrush* B = C->GetBrush();
      B->SetColor(PanelColor(FColor));
      B->SetKind(TBrushKind::Solid);
      C->GetPen()->SetStyle(TPenStyle::psClear);
      if (TZelGradient* CG = B->ExistingGradient()) {
        CG->SetVisible(false);
        B->SetKind(TBrushKind::Solid);
      }
      C->EraseBackground(R);
      // As the chart rectangle, one pixel more: the shadow and the emboss stay inside R.
      if (FShadow->ShouldDraw()) {
        ZelTakeShadowOffsets(R, FShadow->GetHorizSize(), FShadow->GetVertSize(), 1, 1);
        C->GetPen()->SetStyle(TPenStyle::psClear);
        FShadow->Draw(C, R, FBorderRound, 0);
      }
      if (FEmboss->ShouldDraw()) {
        ZelTakeShadowOffsets(R, FEmboss->GetHorizSize(), FEmboss->GetVertSize(), -1, 1);
        C->GetPen()->SetStyle(TPenStyle::psClear);
        FEmboss->Draw(C, R, FBorderRound, 0);
      }
    }
    FillPanelRect(R);
    if (HasBackImage() && !FBackImage->GetInside()) {
      DrawBitmap(R, 0);
      TZelGradient* G = GetGradient();
      if (G->GetVisible() && HasTransparency(G)) FillPanelRect(R);
    }
    DrawPanelBevels(R);
  }
}

void TCustomZelPanelExtended::DefineProperties(TFiler* Filer) {
  TCustomZelPanel::DefineProperties(Filer);
  Filer->DefineProperty("AllowZoom", [this](TReader* R) { FZoom->SetAllow(R->ReadBoolean()); },
                        nullptr, false);
  Filer->DefineProperty("AnimatedZoom",
                        [this](TReader* R) { FZoom->SetAnimated(R->ReadBoolean()); }, nullptr,
                        false);
  Filer->DefineProperty("AnimatedZoomSteps",
                        [this](TReader* R) { FZoom->SetAnimatedSteps(R->ReadInteger()); },
                        nullptr, false);
  const int L = Round(PrintMargins.Left), T = Round(PrintMargins.Top),
            Rt = Round(PrintMargins.Right), B = Round(PrintMargins.Bottom);
  const bool Stored = !(L == 15 && T == 15 && Rt == 15 && B == 15);
  Filer->DefineProperty(
      "PrintMargins",
      [this](TReader* R) {
        // Four integers; a shorter list keeps the remaining margins, extra items are skipped.
        float* Sides[4] = {&PrintMargins.Left, &PrintMargins.Top, &PrintMargins.Right,
                           &PrintMargins.Bottom};
        R->ReadListBegin();
        int I = 0;
        while (!R->EndOfList()) {
          if (I < 4)
            *Sides[I] = float(R->ReadInteger());
          else
            R->SkipValue();
          ++I;
        }
        R->ReadListEnd();
      },
      [L, T, Rt, B](TWriter* W) {
        W->WriteListBegin();
        W->WriteInteger(L);
        W->WriteInteger(T);
        W->WriteInteger(Rt);
        W->WriteInteger(B);
        W->WriteListEnd();
      },
      Stored);
}

// ---------------------------------------------------------------------------------------------
// Published properties

ZEL_BEGIN_PUBLISHED(TZelPanning)
  P::Prop("InsideBounds", &Self::GetInsideBounds, &Self::SetInsideBounds, Default(false)),
  P::Prop("MouseWheel", &Self::GetMouseWheel, &Self::SetMouseWheel, Default(TMouseWheelStyle::pmwNormal)),
ZEL_END_PUBLISHED

ZEL_BEGIN_PUBLISHED(TZelZoom)
  P::Prop("Allow", &Self::GetAllow, &Self::SetAllow, Default(true)),
  P::Prop("Animated", &Self::GetAnimated, &Self::SetAnimated, Default(false)),
  P::Prop("AnimatedSteps", &Self::GetAnimatedSteps, &Self::SetAnimatedSteps, Default(8)),
  P::Obj("Brush", &Self::GetBrush, &Self::ExistingBrush),
  P::Prop("Direction", &Self::GetDirection, &Self::SetDirection, Default(TZelZoomDirection::tzdBoth)),
  // A setting of the running chart: read, not written.
  P::Prop("FullRepaint", &Self::GetFullRepaint, &Self::SetFullRepaint, Never),
  P::Prop("History", &Self::GetHistory, &Self::SetHistory, Default(false)),
  P::Prop("KeepAspectRatio", &Self::GetKeepAspectRatio, &Self::SetKeepAspectRatio, Default(false)),
  P::Prop("KeyShift", &Self::GetKeyShift, &Self::SetKeyShift, Default(TShiftState())),
  P::Prop("MinimumPixels", &Self::GetMinimumPixels, &Self::SetMinimumPixels, Default(16)),
  P::Prop("MouseButton", &Self::GetMouseButton, &Self::SetMouseButton, Default(TMouseButton::mbLeft)),
  P::Prop("MouseWheel", &Self::GetMouseWheel, &Self::SetMouseWheel, Default(TMouseWheelStyle::pmwNone)),
  P::Obj("Pen", &Self::GetPen, &Self::ExistingPen),
  P::Prop("UpLeftZooms", &Self::GetUpLeftZooms, &Self::SetUpLeftZooms, Default(false)),
ZEL_END_PUBLISHED

ZEL_BEGIN_PUBLISHED(TBackImage)
  P::Prop("Bottom", &Self::GetBottom, &Self::SetBottom, Default(0)),
  P::Prop("DrawQuality", &Self::GetDrawQuality, &Self::SetDrawQuality, Default(TCanvasStretchQuality::sqHigh)),
  P::Prop("Inside", &Self::GetInside, &Self::SetInside, Default(false)),
  P::Prop("Left", &Self::GetLeft, &Self::SetLeft, Default(0)),
  P::Prop("Mode", &Self::GetMode, &Self::SetMode, Default(TZelBackImageMode::pbmStretch)),
  P::Prop("Right", &Self::GetRight, &Self::SetRight, Default(0)),
  P::Prop("Top", &Self::GetTop, &Self::SetTop, Default(0)),
ZEL_END_PUBLISHED

// AllowZoom, AnimatedZoom, AnimatedZoomSteps, BackImageInside and BackImageMode name settings that
// travel inside "Zoom" and "BackImage": read only.
ZEL_BEGIN_PUBLISHED(TCustomZelPanelExtended)
  P::Prop("AllowPanning", &Self::GetAllowPanning, &Self::SetAllowPanning, Default(TPanningMode::pmBoth)),
  P::Prop("AllowZoom", &Self::GetAllowZoom, &Self::SetAllowZoom, Never),
  P::Prop("AnimatedZoom", &Self::GetAnimatedZoom, &Self::SetAnimatedZoom, Never),
  P::Prop("AnimatedZoomSteps", &Self::GetAnimatedZoomSteps, &Self::SetAnimatedZoomSteps, Never),
  P::Obj("BackImage", &Self::GetBackImage, &Self::ExistingBackImage),
  P::Prop("BackImageInside", &Self::GetBackImageInside, &Self::SetBackImageInside, Never),
  P::Prop("BackImageMode", &Self::GetBackImageMode, &Self::SetBackImageMode, Never),
  P::Prop("BackImageTransp", &Self::GetBackImageTransp, &Self::SetBackImageTransp, Never),
  P::Obj("Gradient", &Self::GetGradient, &Self::ExistingGradient),
  P::Prop("ScrollMouseButton", &Self::GetScrollMouseButton, &Self::SetScrollMouseButton,
          Default(TMouseButton::mbRight)),
  P::Obj("Zoom", &Self::GetZoom),
  P::Prop("ZoomWheel", &Self::GetZoomWheel, &Self::SetZoomWheel, Default(TMouseWheelStyle::pmwNone)),
  P::Event("OnAfterDraw", &Self::OnAfterDraw),
  P::Event("OnScroll", &Self::OnScroll),
  P::Event("OnUndoZoom", &Self::OnUndoZoom),
  P::Event("OnZoom", &Self::OnZoom),
ZEL_END_PUBLISHED

}  // namespace zel
