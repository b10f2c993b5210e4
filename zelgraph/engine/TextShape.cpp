#include "zelgraph/engine/TextShape.h"

#include <cmath>

#include "platform/Math.h"
#include "zelgraph/canvas/Canvas3D.h"
#include "zelgraph/canvas/CanvasScopes.h"
#include "zelgraph/canvas/Font.h"
#include "zelgraph/canvas/Geometry.h"
#include "zelgraph/engine/Panel.h"
#include "zelgraph/procs/Procs.h"

namespace zel {

// ---------------------------------------------------------------------------------------------
// TMargins

ZEL_DEFINE_CLASS(TMargins, TPersistent)

TMargins::TMargins(TZelCustomShapeBrushPen* AParent) : IParent(AParent) {}

void TMargins::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TMargins*>(Source)) {
    FLeft = S->FLeft;
    FTop = S->FTop;
    FRight = S->FRight;
    FBottom = S->FBottom;
    FUnits = S->FUnits;
  } else {
    inherited::Assign(Source);
  }
}

void TMargins::SetValue(std::int32_t& Field, std::int32_t Value) {
  if (Field != Value) {
    Field = Value;
    if (IParent) IParent->Repaint();
  }
}

void TMargins::SetLeft(std::int32_t Value) { SetValue(FLeft, Value); }
void TMargins::SetTop(std::int32_t Value) { SetValue(FTop, Value); }
void TMargins::SetRight(std::int32_t Value) { SetValue(FRight, Value); }
void TMargins::SetBottom(std::int32_t Value) { SetValue(FBottom, Value); }

void TMargins::SetUnits(TMarginUnits Value) {
  if (FUnits != Value) {
    FUnits = Value;
    if (IParent) IParent->Repaint();
  }
}

void TMargins::Calculate(std::int32_t Width, std::int32_t Height, std::int32_t FontSize) {
  switch (FUnits) {
    case TMarginUnits::maPercentFont: {
      const float F = float(FontSize) * 0.01f;
      ILast = TRectF(float(FLeft) * F, float(FTop) * F, float(FRight) * F, float(FBottom) * F);
      break;
    }
    case TMarginUnits::maPercentSize: {
      const float W = float(Width) * 0.01f, H = float(Height) * 0.01f;
      ILast = TRectF(float(FLeft) * W, float(FTop) * H, float(FRight) * W, float(FBottom) * H);
      break;
    }
    case TMarginUnits::maPixels: ILast = TRectF(float(FLeft), float(FTop), float(FRight), float(FBottom)); break;
  }
}

std::int32_t TMargins::HorizSize() const { return Round(double(ILast.Left) + ILast.Right); }
std::int32_t TMargins::VertSize() const { return Round(double(ILast.Top) + ILast.Bottom); }

// ---------------------------------------------------------------------------------------------
// TCustomTextShape

ZEL_DEFINE_CLASS(TCustomTextShape, TZelCustomShape)

TCustomTextShape::TCustomTextShape(TCustomZelPanel* AOwner) : TZelCustomShape(AOwner) {
  FChildren->IShapeClass = GetChildClass();
  FMargins = new TMargins(this);
}

TCustomTextShape::~TCustomTextShape() { FMargins->Free(); }

void TCustomTextShape::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TCustomTextShape*>(Source)) {
    FClipText = S->FClipText;
    FCursor = S->FCursor;
    FMargins->Assign(S->FMargins);
    FText = S->FText;
    FTextAlign = S->FTextAlign;
    FTextFormat = S->FTextFormat;
    FVertTextAlign = S->FVertTextAlign;
  }
  inherited::Assign(Source);
}

TZelCustomShapeClass TCustomTextShape::GetChildClass() const { return ShapeClassOf<TTextShape>(); }

void TCustomTextShape::InitTextAlignment(TAlignment Value) {
  FTextAlign = Value;
  IDefaultTextAlign = Value;
}

void TCustomTextShape::SetClipText(bool Value) {
  if (FClipText != Value) {
    FClipText = Value;
    Repaint();
  }
}

void TCustomTextShape::SetTextAlign(TAlignment Value) {
  if (FTextAlign != Value) {
    FTextAlign = Value;
    Repaint();
  }
}

void TCustomTextShape::SetTextFormat(TTextFormat Value) {
  if (FTextFormat != Value) {
    FTextFormat = Value;
    Repaint();
  }
}

void TCustomTextShape::SetVertTextAlign(TVertTextAlign Value) {
  if (FVertTextAlign != Value) {
    FVertTextAlign = Value;
    Repaint();
  }
}

void TCustomTextShape::SetText(const String& Value) {
  if (FText != Value) {
    FText = Value;
    ChangedText();
  }
}

void TCustomTextShape::ChangedText() { Repaint(); }

void TCustomTextShape::PrepareFont(TCustomZelPanel* Panel) {
  if (IDraw2D)
    Panel->GetCanvas()->AssignFont(FFont);
  else
    Panel->PrepareFont3D(FFont);
}

TPointF TCustomTextShape::CalcTextSize(TCustomZelPanel* Panel, const String& AText, TTextFormat Format,
                                       std::int32_t& NumLines) {
  return Panel->MultiLineTextSize(AText, Format, NumLines);
}

void TCustomTextShape::CalcBounds(TCustomZelPanel* Panel) {
  inherited::CalcBounds(Panel);
  INumLines = 0;
  if (FText.empty() || !Panel || !Panel->GetCanvas()) return;
  PrepareFont(Panel);
  const TPointF S = CalcTextSize(Panel, FText, FTextFormat, INumLines);
  if (!FAutoSize) return;
  int W = Round(S.X), H = Round(S.Y);
  const int F = H;
  if (!FTransparent && FPen->GetVisible()) {
    const int Grow = Round(FPen->GetWidth()) + 1;
    W += Grow;
    H += Grow;
  }
  if (FTransparent)
    FMargins->Reset();
  else
    FMargins->Calculate(W, H, F);
  W += 2 * FMargins->HorizSize();
  if (FChildLayout == TZelShapeLayout::slTopBottom) {
    if (ShapeBounds.Width() < float(W)) ShapeBounds.Right = ShapeBounds.Left + float(W);
    ShapeBounds.Bottom += float(FMargins->VertSize() + H);
  } else {
    if (ShapeBounds.Height() < float(H)) ShapeBounds.Bottom = ShapeBounds.Top + float(H);
    ShapeBounds.Right += float(FMargins->HorizSize() + W);
  }
}

int TCustomTextShape::FirstChildPos() {
  int Result = inherited::FirstChildPos();
  if (!FTransparent && FPen->GetVisible()) Result += Round(FPen->GetWidth()) / 2;
  if (!FParent || !FParent->GetCanvas()) return Result;
  PrepareFont(FParent);
  if (FChildLayout == TZelShapeLayout::slLeftRight) {
    std::int32_t Lines = 0;
    Result += Round(FMargins->ILast.Left) + Round(FParent->MultiLineTextSize(FText, FTextFormat, Lines).X);
  } else {
    Result += FParent->GetCanvas()->GetFontHeight() * INumLines + Round(FMargins->ILast.Top);
  }
  return Result;
}

void TCustomTextShape::CalcTextAlign(TCustomZelPanel* Panel, float& X, const TRectF& R, const String&) {
  TCanvas3D* C = Panel->GetCanvas();
  switch (FTextAlign) {
    case TAlignment::taLeftJustify:
      C->SetTextAlign(ZelTextAlignLeft);
      X = R.Left + FMargins->ILast.Left;
      break;
    case TAlignment::taCenter:
      C->SetTextAlign(ZelTextAlignCenter);
      X = (R.Left + R.Right) * 0.5f;
      break;
    case TAlignment::taRightJustify:
      C->SetTextAlign(ZelTextAlignRight);
      X = R.Right - FMargins->ILast.Right;
      break;
  }
}

void TCustomTextShape::DrawString(TCustomZelPanel* Panel, float X, int Y, int Z, const String& AText,
                                  bool AllowHtml, int Angle, TPointF Center) {
  TCanvas3D* C = Panel->GetCanvas();
  const bool Flat = IDraw2D || (Z == 0 && !C->GetSupportsFullRotation());
  if (Angle != 0) {
    C->IUseTextCenter = true;
    C->ITextCenter = Center;
    TRestoreOnExit EndCenter([C] { C->IUseTextCenter = false; });
    if (Flat)
      C->RotateLabel(Round(X), Y, AText, Angle, AllowHtml);
    else
      C->RotateLabel3D(Round(X), Y, Z, AText, Angle, AllowHtml);
  } else if (Flat) {
    C->TextOut(X, float(Y), AText, AllowHtml);
  } else {
    C->TextOut3D(Round(X), Y, Z, AText);
  }
}

void TCustomTextShape::DoDraw(TCustomZelPanel* Panel, const TRectF& R, int Angle, int AZ) {
  inherited::DoDraw(Panel, R, Angle, AZ);
  if (!Panel) return;
  TCanvas3D* C = Panel->GetCanvas();
  if (!C) return;
  C->SetBackMode(TCanvasBackMode::cbmTransparent);
  PrepareFont(Panel);
  String T = ReplaceChar(FText, '\n');
  if (T.empty()) T = " ";
  // The line's top is summed in double and held to the pixel limit when drawn: a box far
  // off the chart (a mark of a point far off its axis) stays far off, whatever is added to it.
  double Y = std::nearbyint(R.Top + FMargins->ILast.Top);
  if (!FTransparent && FPen->GetVisible()) Y += Round(FPen->GetWidth()) / 2 + 1;
  float X = 0;
  CalcTextAlign(Panel, X, R, T);
  X += float(ITextOffset);
  const TPointF Center((R.Left + R.Right) * 0.5f, (R.Top + R.Bottom) * 0.5f);
  const bool Clip = FClipText && (ITextOffset != 0 || (!FAutoSize && Angle == 0));
  if (Clip) C->ClipRectangle(R);
  TUnClipScope UnClip(C, Clip);
  const bool Html = FTextFormat == TTextFormat::ttfHtml;
  const int Z = C->GetSupportsFullRotation() ? AZ : 0;
  int PlainHeight = -1;
  for (int I = 1; I <= INumLines; ++I) {
    const String Line = ZelExtractField(T, I, String(1, ZelLineSeparator));
    if (!Line.empty()) DrawString(Panel, X, ZelClampPixel(Y), Z, Line, Html, Angle, Center);
    if (INumLines > 1) {
      if (Html) {
        std::int32_t N = 0;
        Y += Round(Panel->MultiLineTextSize(Line, FTextFormat, N).Y);
      } else {
        if (PlainHeight < 0) PlainHeight = C->GetFontHeight();
        Y += PlainHeight;
      }
    }
  }
}

// ---------------------------------------------------------------------------------------------
// TZelCustomShapePosition

ZEL_DEFINE_CLASS(TZelCustomShapePosition, TCustomTextShape)

void TZelCustomShapePosition::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TZelCustomShapePosition*>(Source)) {
    FCustomPosition = S->FCustomPosition;
    if (FCustomPosition) {
      const float W = ShapeBounds.Width(), H = ShapeBounds.Height();
      ShapeBounds.Left = float(S->GetLeft());
      ShapeBounds.Top = float(S->GetTop());
      ShapeBounds.Right = ShapeBounds.Left + W;
      ShapeBounds.Bottom = ShapeBounds.Top + H;
    }
  }
  inherited::Assign(Source);
}

void TZelCustomShapePosition::SetCustomPosition(bool Value) {
  if (FCustomPosition != Value) {
    FCustomPosition = Value;
    if (FParent) FParent->Invalidate();
  }
}

std::int32_t TZelCustomShapePosition::GetLeft() const { return Round(ShapeBounds.Left); }
std::int32_t TZelCustomShapePosition::GetTop() const { return Round(ShapeBounds.Top); }

void TZelCustomShapePosition::SetEdge(float& Edge, float Value) {
  if (FParent)
    FParent->SetSingleProperty(Edge, Value);
  else
    Edge = Value;
}

void TZelCustomShapePosition::SetLeft(std::int32_t Value) {
  SetCustomPosition(true);
  SetEdge(ShapeBounds.Left, float(Value));
}

void TZelCustomShapePosition::SetTop(std::int32_t Value) {
  SetCustomPosition(true);
  SetEdge(ShapeBounds.Top, float(Value));
}

ZEL_DEFINE_CLASS(TTextShape, TZelCustomShapePosition)

// ---------------------------------------------------------------------------------------------
// Published properties

ZEL_BEGIN_PUBLISHED(TMargins)
  P::Prop("Left", &Self::GetLeft, &Self::SetLeft, &Self::IsLeftStored),
  P::Prop("Top", &Self::GetTop, &Self::SetTop, &Self::IsTopStored),
  P::Prop("Right", &Self::GetRight, &Self::SetRight, &Self::IsRightStored),
  P::Prop("Bottom", &Self::GetBottom, &Self::SetBottom, &Self::IsBottomStored),
  P::Prop("Units", &Self::GetUnits, &Self::SetUnits, &Self::IsUnitsStored),
ZEL_END_PUBLISHED

// ClipText, Cursor, TextAlignment, AutoSize and Text are left to an owner that publishes them.
ZEL_BEGIN_PUBLISHED(TCustomTextShape)
  P::Prop("Visible", &Self::GetVisible, &Self::SetVisible, [](Self* S) { return !S->IOwnerShows && S->IsVisibleStored(); }),
  P::Prop("ClipText", &Self::GetClipText, &Self::SetClipText, [](Self* S) { return !S->IOwnerPublishes && !S->GetClipText(); }),
  P::Obj("Margins", &Self::GetMargins),
  P::Prop("TextAlignment", &Self::GetTextAlignment, &Self::SetTextAlignment,
          [](Self* S) { return !S->IOwnerPublishes && S->IsTextAlignStored(); }),
  P::Prop("TextFormat", &Self::GetTextFormat, &Self::SetTextFormat, Default(TTextFormat::ttfNormal)),
  P::Prop("VertTextAlign", &Self::GetVertTextAlign, &Self::SetVertTextAlign, Default(TVertTextAlign::vtaCenter)),
ZEL_END_PUBLISHED

// The frame pen is published as "Frame"; the brush-pen base's "Pen" is read, not written.
ZEL_BEGIN_PUBLISHED(TZelCustomShapePosition)
  P::Obj("Pen", &Self::GetPen, &Self::GetPen, [](Self*) { return false; }),
  P::Obj("Frame", &Self::GetFrame),
  P::Prop("Cursor", &Self::GetCursor, &Self::SetCursor, [](Self* S) { return !S->IOwnerPublishes && S->IsCursorStored(); }),
  P::Prop("CustomPosition", &Self::GetCustomPosition, &Self::SetCustomPosition, &Self::IsCustomPositionStored),
  P::Prop("Left", &Self::GetLeft, &Self::SetLeft, &Self::IsPositionStored),
  P::Prop("Top", &Self::GetTop, &Self::SetTop, &Self::IsPositionStored),
ZEL_END_PUBLISHED

ZEL_BEGIN_PUBLISHED(TTextShape)
  P::Prop("AutoSize", &Self::GetAutoSize, &Self::SetAutoSize, [](Self* S) { return !S->IOwnerPublishes && S->IsAutoSizeStored(); }),
  P::Prop("Text", &Self::GetText, &Self::SetText,
          [](Self* S) { return !S->IOwnerPublishes && !S->IOwnerShows && !S->GetText().empty(); }),
ZEL_END_PUBLISHED

}  // namespace zel
