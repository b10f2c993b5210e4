#include "zelgraph/chart/Titles.h"

#include <algorithm>

#include "platform/Math.h"
#include "platform/Scope.h"
#include "platform/StringList.h"
#include "zelgraph/canvas/Font.h"
#include "zelgraph/canvas/Geometry.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/engine/Panel.h"

namespace zel {

String RemoveLastLineBreak(const String& S) {
  if (S.size() > 2 && S.compare(S.size() - 2, 2, "\r\n") == 0) return S.substr(0, S.size() - 2);
  return S;
}

// ---------------------------------------------------------------------------------------------
// TStringsShape

ZEL_DEFINE_CLASS(TStringsShape, TTextShape)

TStringsShape::TStringsShape(TCustomZelPanel* AOwner) : TTextShape(AOwner) {
  FTitleText = new TStringList();
  FTitleText->SetLineBreak("\r\n");
  FTitleText->OnChange = [this](TObject*) { TextChanged(); };
}

TStringsShape::~TStringsShape() {
  FTitleText->OnChange = nullptr;
  FTitleText->Free();
}

TStrings* TStringsShape::GetLines() const { return FTitleText; }

void TStringsShape::TextChanged() {
  if (IChangingText) return;
  InternalSetText(RemoveLastLineBreak(FTitleText->GetText()));
  if (FParent) FParent->Invalidate();
}

void TStringsShape::ChangedText() {
  {
    TValueScope Changing(IChangingText, true);
    FTitleText->SetText(FText);
  }
  TTextShape::ChangedText();
}

void TStringsShape::SetText(TStrings* Value) {
  if (Value)
    FTitleText->Assign(Value);
  else
    FTitleText->Clear();
}

String TStringsShape::GetCaption() const { return FTitleText->GetCount() > 0 ? FTitleText->GetStrings(0) : String(); }

void TStringsShape::SetCaption(const String& Value) { TTextShape::SetText(Value); }

// ---------------------------------------------------------------------------------------------
// TChartTitle

ZEL_DEFINE_CLASS(TChartTitle, TStringsShape)

TChartTitle::TChartTitle(TCustomZelPanel* AOwner) : TStringsShape(AOwner) {
  FAlignment = TAlignment::taCenter;
  InitTextAlignment(TAlignment::taCenter);
  InitTransparent(true);
  FFont->InitColor(0xFF0000FF);
  IDraw2D = true;
}

void TChartTitle::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TChartTitle*>(Source)) {
    FAdjustFrame = S->FAdjustFrame;
    SetText(S->GetLines());
    FVertMargin = S->FVertMargin;
  }
  TStringsShape::Assign(Source);
}

bool TChartTitle::ShouldDraw() const { return FVisible && FTitleText->GetCount() > 0; }

bool TChartTitle::Clicked(TPointF P) const { return FVisible && PointInRect(ShapeBounds, P); }

void TChartTitle::SetAdjustFrame(bool Value) {
  if (FParent)
    FParent->SetBooleanProperty(FAdjustFrame, Value);
  else
    FAdjustFrame = Value;
}

void TChartTitle::SetVertMargin(std::int32_t Value) {
  if (FVertMargin != Value) {
    FVertMargin = Value;
    Repaint();
  }
}

void TChartTitle::DrawTitle() {
  if (!ShouldDraw() || !FParent || !FParent->GetCanvas()) return;
  TCustomZelPanel* P = FParent;
  FAutoSize = true;
  CalcBounds(P);
  const int H = FPen->GetVisible() && FPen->GetWidth() > 1 ? Round(FPen->GetWidth()) / 2 : 0;
  if (!FCustomPosition) {
    const TRectF& Bounds = P->GetChartBounds();
    const float ChartW = Bounds.Width();
    const int M = Round(ChartW * 0.02) + P->BorderSize();
    const float W = ShapeBounds.Width(), Ht = ShapeBounds.Height();
    const int Y = IOnTop ? Round(P->ChartRect.Top) + H : Round(P->ChartRect.Bottom - Ht) - H;
    if (FAdjustFrame) {
      int X = M;
      if (FAlignment == TAlignment::taRightJustify)
        X = Round(ChartW - W) - M;
      else if (FAlignment == TAlignment::taCenter)
        X = std::max(M, P->GetChartXCenter() - Round(W) / 2);
      const float Left = Bounds.Left + float(X);
      ShapeBounds = TRectF(Left, float(Y), Left + W, float(Y) + Ht);
    } else {
      FAutoSize = false;
      const float Left = Bounds.Left + float(M);
      ShapeBounds = TRectF(Left, float(Y), Left + ChartW - 2.0f * M, float(Y) + Ht);
    }
  }
  Draw();
  if (!FCustomPosition) {
    if (IOnTop)
      P->ChartRect.Top = ShapeBounds.Bottom + float(H + FVertMargin);
    else
      P->ChartRect.Bottom = ShapeBounds.Top - float(H + FVertMargin);
    P->ReCalcWidthHeight();
  }
}

// ---------------------------------------------------------------------------------------------
// TChartFootTitle

ZEL_DEFINE_CLASS(TChartFootTitle, TChartTitle)

TChartFootTitle::TChartFootTitle(TCustomZelPanel* AOwner) : TChartTitle(AOwner) {
  IOnTop = false;
  FFont->InitColor(0xFFFF0000);
  FFont->InitStyle(TFontStyles{TFontStyle::fsItalic});
}

// ---------------------------------------------------------------------------------------------
// Published properties

ZEL_BEGIN_PUBLISHED(TStringsShape)
  P::Obj("Text", &Self::GetLines),
ZEL_END_PUBLISHED

// A title sizes itself on every draw (by AdjustFrame), so its AutoSize is read, not written.
ZEL_BEGIN_PUBLISHED(TChartTitle)
  P::Prop("AdjustFrame", &Self::GetAdjustFrame, &Self::SetAdjustFrame, Default(true)),
  P::Prop("Alignment", &Self::GetAlignment, &Self::SetAlignment, Default(TAlignment::taCenter)),
  P::Prop("AutoSize", &Self::GetAutoSize, &Self::SetAutoSize, Never),
  P::Prop("VertMargin", &Self::GetVertMargin, &Self::SetVertMargin, Default(5)),
ZEL_END_PUBLISHED

}  // namespace zel
