// The legend's drawing (frame, title, texts, symbols, check boxes, dividing lines), its symbol
// and the hit test of its items.
#include <algorithm>
#include <string>

#include "platform/Math.h"
#include "platform/StringList.h"
#include "zelgraph/canvas/Canvas3D.h"
#include "zelgraph/canvas/CanvasScopes.h"
#include "zelgraph/canvas/Font.h"
#include "zelgraph/canvas/Geometry.h"
#include "zelgraph/canvas/Gradient.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/canvas/Shadow.h"
#include "zelgraph/chart/Chart.h"
#include "zelgraph/chart/Legend.h"
#include "zelgraph/engine/AxisPanel.h"
#include "zelgraph/engine/SeriesLegend.h"
#include "zelgraph/engine/SeriesList.h"

namespace zel {

namespace {

bool RightAlignsFirst(TLegendTextStyle S) {
  switch (S) {
    case TLegendTextStyle::ltsLeftValue:
    case TLegendTextStyle::ltsLeftPercent:
    case TLegendTextStyle::ltsXValue:
    case TLegendTextStyle::ltsValue:
    case TLegendTextStyle::ltsPercent:
    case TLegendTextStyle::ltsXAndValue:
    case TLegendTextStyle::ltsXAndPercent:
      return true;
    default:
      return false;
  }
}

bool RightAlignsSecond(TLegendTextStyle S) {
  switch (S) {
    case TLegendTextStyle::ltsRightValue:
    case TLegendTextStyle::ltsRightPercent:
    case TLegendTextStyle::ltsXAndValue:
    case TLegendTextStyle::ltsXAndPercent:
      return true;
    default:
      return false;
  }
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TLegendSymbol::Draw

void TLegendSymbol::Draw(TAlphaColor Color, const TRectF& R) {
  TCustomAxisPanel* Chart = ILegend ? ILegend->GetChart() : nullptr;
  if (!Chart || !Chart->GetCanvas()) return;
  TCanvas3D* C = Chart->GetCanvas();
  const bool Full = C->GetSupportsFullRotation();
  if (FShadow->ShouldDraw() || FEmboss->ShouldDraw()) {
    TZelBrush* B = C->GetBrush();
    const TAlphaColor OldColor = B->GetColor();
    const TBrushKind OldKind = B->GetKind();
    for (TZelShadow* S : {static_cast<TZelShadow*>(FShadow), static_cast<TZelShadow*>(FEmboss)}) {
      if (!S->ShouldDraw()) continue;
      if (Full) S->ZPosition = 0.5;
      S->Draw(C, R);
    }
    B->SetColor(OldColor);
    B->SetKind(OldKind);
  }
  if (!FDefaultPen) C->AssignVisiblePen(FPen);
  if (FGradient->GetVisible()) {
    FGradient->SetEndColor(Color);
    C->GetBrush()->SetGradient(FGradient);
  } else {
    if (C->GetBrush()->GetKind() == TBrushKind::Gradient) C->GetBrush()->SetKind(TBrushKind::Solid);
    C->GetBrush()->SetColor(Color);
  }
  TZelPen* P = C->GetPen();
  if (P->GetVisible() && P->GetStyle() != TPenStyle::psClear) {
    const TAlphaColor BC = C->GetBrush()->GetColor();
    if (FDefaultPen && BC == Chart->LegendColor && BC == 0xFF000000) P->SetColor(0xFFFFFFFF);
    const float W = P->GetWidth();
    C->Rectangle(R.Left + W, R.Top + W, R.Right - W, R.Bottom - W);
  } else if (C->GetBrush()->GetKind() != TBrushKind::None) {
    C->Rectangle(R.Left, R.Top, R.Right + 1, R.Bottom + 1);
  }
}

// ---------------------------------------------------------------------------------------------
// TCustomChartLegend: drawing

void TCustomChartLegend::DrawLegend() {
  TCustomAxisPanel* Chart = GetChart();
  if (!Chart || !Chart->GetCanvas()) return;
  TCanvas3D* C = Chart->GetCanvas();
  {
    TEntityScope Entity(C, "Legend", FVisual, Transform);
    if (ILastValue >= FFirstValue) {
      const bool Blend = FGlobalTransp != 0;
      TBlendingScope Blending(C, ShapeBounds, static_cast<std::int8_t>(FGlobalTransp), Blend);
      if (C->GetSupportsFullRotation())
        Draw(ShapeBounds, 0, 1);
      else
        Draw(ShapeBounds, 0, 0);
      if (IDrawTitle) DrawTitle();
      TEntityScope Items(C, "Items");
      DrawItems();
    }
  }
  if (FCustomPosition) {
    const TRectF& B = Chart->GetChartBounds();
    ShapeBounds = TRectF(ShapeBounds.Left - B.Left, ShapeBounds.Top - B.Top, ShapeBounds.Right - B.Left,
                         ShapeBounds.Bottom - B.Top);
  }
}

void TCustomChartLegend::DrawTitle() {
  if (!FTitle) return;
  TCustomAxisPanel* Chart = GetChart();
  const float W = FTitle->GetWidth(), H = FTitle->GetHeight();
  float X = ShapeBounds.Left + 2;
  if (FTitle->GetAlignment() == TAlignment::taCenter)
    X = (ShapeBounds.Left + ShapeBounds.Right - float(TitleWidth())) * 0.5f;
  else if (FTitle->GetAlignment() == TAlignment::taRightJustify)
    X = ShapeBounds.Right - W - 2;
  const float Y = ShapeBounds.Top + 2;
  FTitle->ShapeBounds = TRectF(X, Y, X + W, Y + H);
  FTitle->Draw();
  PrepareFont(Chart);
}

void TCustomChartLegend::DrawItems() {
  ICustomFont = false;
  if (!FItems->GetCustom()) FItems->ClearItems();
  IItemLefts.clear();
  const bool Inverted = CalcInverted();
  // Drawing a flowing horizontal legend moves the text, symbol and box positions along; they
  // are put back afterwards so that a second draw or a hit test sees the layout unchanged.
  const std::int32_t OldText = XLegendText, OldColor = XLegendColor, OldBox = XLegendBox;
  TRestoreOnExit Restore([&] {
    XLegendText = OldText;
    XLegendColor = OldColor;
    XLegendBox = OldBox;
  });
  std::int32_t Position = 0;
  if (Inverted)
    for (std::int32_t I = ILastValue; I >= FFirstValue; --I) DrawLegendItem(I, Position++);
  else
    for (std::int32_t I = FFirstValue; I <= ILastValue; ++I) DrawLegendItem(I, Position++);
}

void TCustomChartLegend::DrawBox(bool Ticked, std::int32_t Offset, std::int32_t Y) {
  TCanvas3D* C = GetChart()->GetCanvas();
  const std::int32_t X = XLegendBox + (GetVertical() ? 0 : Offset);
  const std::int32_t YY = Y + (ItemHeight - FVertSpacing - 11) / 2 - 1;
  C->DrawCheckBox(X, YY, Ticked, FColor, FCheckBoxesStyle == TCheckBoxesStyle::cbsCheck);
}

void TCustomChartLegend::DrawSymbol(TChartSeries* Series, std::int32_t ValueIndex, std::int32_t Index,
                                    const TRectF& R) {
  TCanvas3D* C = GetChart()->GetCanvas();
  if (FSymbol->OnDraw) {
    FSymbol->OnDraw(FSymbol, Series, ValueIndex, R);
  } else if (IColorWidth > 0) {
    if (Series)
      Series->DrawLegend(ValueIndex, R);
    else
      FSymbol->Draw(0xFFFFFFFF, R);
  }
  if (FSelected && FSelected->GetVisible() && Index == FSelected->GetItemIndex()) {
    C->AssignVisiblePen(FSelected->GetPen());
    C->GetBrush()->SetKind(TBrushKind::None);
    C->Rectangle(R);
  }
}

void TCustomChartLegend::DrawLegendItem(std::int32_t Index, std::int32_t Position) {
  if (Position >= ITotalItems) return;
  TCustomAxisPanel* Chart = GetChart();
  TCanvas3D* C = Chart->GetCanvas();
  auto* TheChart = dynamic_cast<TCustomChart*>(FParent);
  TEntityScope Entity(C, C->SupportsID ? std::to_string(Position) : String(), nullptr, nullptr, C->SupportsID);

  // 2. Canvas state.
  C->GetBrush()->SetColor(FColor);
  C->GetBrush()->SetKind(TBrushKind::None);
  C->SetBackMode(TCanvasBackMode::cbmTransparent);
  Chart->LegendPen = FSymbol->GetDefaultPen() ? nullptr : FSymbol->GetPen();

  // 3-4. Where the item goes.
  const bool Vertical = GetVertical();
  std::int32_t X = XLegendText, XC = XLegendColor, BoxOffset = 0;
  std::int32_t Y = FirstItemTop() + ItemsTopMargin + 1;
  const std::int32_t Row = Vertical ? Position : (NumCols > 0 ? Position / NumCols : 0);
  if (!Vertical && IJustify && NumCols > 0) {
    const std::int32_t Shift = CalcItemWidthColor(IMaxWidth) * (Position % NumCols);
    X += Shift;
    XC += Shift;
    BoxOffset = Shift;
  }
  Y += Row * ItemHeight + FVertSpacing / 2;
  if (TheChart && TheChart->OnGetLegendPos) TheChart->OnGetLegendPos(TheChart, Index, X, Y, XC);

  // 5. The divider offset of a horizontal legend.
  std::int32_t TX = X - 2;
  std::int32_t D = (InternalLegendStyle == TLegendStyle::lsSeriesGroups ? TX : XC) - Round(ShapeBounds.Left) - 4;
  if (HasCheckBoxes()) D -= 15;
  if (!Vertical && !IJustify) IItemLefts.push_back(Round(ShapeBounds.Left) + D);

  // 6. The colour of the texts with FontSeriesColor.
  bool UseSeriesColor = false;
  TAlphaColor SeriesColor = 0;
  if (FFontSeriesColor) {
    TChartSeries* S = nullptr;
    std::int32_t V = -1;
    if (InternalLegendStyle == TLegendStyle::lsSeries || InternalLegendStyle == TLegendStyle::lsLastValues) {
      S = Chart->SeriesLegend(Index, !FCheckBoxes);
    } else if (InternalLegendStyle == TLegendStyle::lsValues) {
      S = GetLegendSeries();
      if (S) V = S->LegendToValueIndex(Index);
    }
    if (S) {
      UseSeriesColor = true;
      SeriesColor = V >= 0 && V < S->Count() ? S->GetValueColor(V) : S->GetSeriesColor();
    }
  } else {
    C->GetBrush()->SetColor(FFont->GetColor());
  }

  // 7. The two text columns.
  const bool Custom = ItemIsCustom(Position);
  const bool CustomPos = Custom && FItems->GetCustomPosition();
  TLegendItem* Item = Custom ? FItems->GetItem(Position) : nullptr;
  const bool Checks = HasCheckBoxes();
  const bool Hovered = [&] {
    TZelHover* ChartHover = Chart->GetHover();
    if (!ChartHover || !ChartHover->GetVisible() || !FSelected) return false;
    return FSelected->GetHover()->GetVisible() && FSelected->GetHoverIndex() == Index;
  }();
  const auto* Pair = Position < static_cast<std::int32_t>(IItems.size()) ? &IItems[static_cast<std::size_t>(Position)]
                                                                          : nullptr;
  for (int Col = 0; Col < 2; ++Col) {
    String Text;
    if (Item)
      Text = Col == 0 ? Item->GetText() : Item->GetText2();
    else if (Pair)
      Text = Col == 0 ? Pair->first : Pair->second;
    const bool Fixed = Vertical || IJustify;
    auto ColumnWidth = [&]() {
      if (Fixed) return ColumnWidths[static_cast<std::size_t>(Col)];
      std::int32_t Lines = 0;
      return Text.empty() ? 0 : Round(Chart->MultiLineTextSize(Text, FTextFormat, Lines).X) + FTextSymbolGap;
    };
    bool RightAlign = false;
    if (InternalLegendStyle != TLegendStyle::lsSeries)
      RightAlign = Col == 0 ? RightAlignsFirst(FTextStyle) : RightAlignsSecond(FTextStyle);
    bool Moved = false;
    if (RightAlign) {
      C->SetTextAlign(ZelTextAlignRight);
      TX += ColumnWidth();
      Moved = true;
    } else {
      C->SetTextAlign(ZelTextAlignLeft);
    }
    if (!Text.empty()) {
      std::int32_t TY = Checks ? Y + 1 : Y;
      std::int32_t DrawX = TX;
      if (!Item) {
        if (Col == 0) {
          TLegendItem* Rec = FItems->GetItem(Position);
          Rec->FLeft = TX;
          Rec->FTop = TY;
          Rec->FAlign = C->GetTextAlign();
          Rec->FText = Text;
          Rec->FText2 = Pair ? Pair->second : String();
        }
      } else if (Col == 0) {
        if (CustomPos) {
          DrawX = Item->FLeft;
          TY = Item->FTop;
          C->SetTextAlign(Item->FAlign);
        } else {
          Item->FLeft = TX;
          Item->FTop = TY;
          Item->FAlign = C->GetTextAlign();
        }
      }
      if (CustomPos && Col == 1) TY = Item->FTop;
      // The legend's font, or the item's own; then the series colour and the hover style.
      if (Item && Item->ExistingFont()) {
        ICustomFont = true;
        C->AssignFont(Item->ExistingFont());
      } else {
        ICustomFont = false;
        PrepareFont(Chart);
      }
      if (UseSeriesColor) C->GetFont()->SetColor(SeriesColor);
      if (Hovered) C->GetFont()->SetStyle(FSelected->GetHover()->GetFont()->GetStyle());
      C->TextOut(float(DrawX), float(TY), Text, FTextFormat == TTextFormat::ttfHtml);
    }
    if (!Moved) TX += ColumnWidth();
    TX += ISpaceWidth;
  }
  C->SetTextAlign(ZelTextAlignLeft);

  // 8. The symbol's rectangle.
  TRectF R;
  if (Item && CustomPos) {
    R = Item->FSymbol;
  } else {
    R.Left = float(XC);
    R.Right = float(XC + IColorWidth);
    R.Top = float(Y);
    if (FSymbol->GetHeightUnits() == TLegendSymbolSize::lcsPixels) {
      R.Bottom = float(Y + FSymbol->GetHeight());
    } else {
      const std::int32_t Last = ILastValue - FFirstValue;
      float Bottom = float(Y + ItemHeight + 1);
      if (!(FSymbol->GetContinuous() && Position > 0)) R.Top = float(Y + 2);
      if (!(FSymbol->GetContinuous() && Position != Last)) Bottom -= float(FVertSpacing + 3);
      if (FSymbol->GetHeight() <= 100)
        Bottom = R.Top + float(Round(FSymbol->GetHeight() * (double(Bottom) - R.Top) * 0.01));
      R.Bottom = Bottom;
    }
    FItems->GetItem(Position)->FSymbol = R;
  }

  // 9. Check box and symbol by style.
  switch (InternalLegendStyle) {
    case TLegendStyle::lsSeriesGroups:
      if (FCheckBoxes) {
        TSeriesGroups* G = Chart->GetSeriesGroups();
        const bool Ticked = G && Index >= 0 && Index < G->GetCount() &&
                            G->Get(Index)->GetActive() != TSeriesGroupActive::gaNo;
        DrawBox(Ticked, BoxOffset, Y);
      }
      break;
    case TLegendStyle::lsSeries:
    case TLegendStyle::lsLastValues:
      if (FCheckBoxes) {
        TChartSeries* S = Chart->SeriesLegend(Index, false);
        DrawBox(S && S->GetActive(), BoxOffset, Y);
        if (S) DrawSymbol(S, -1, Index, R);
      } else if (TChartSeries* S = Chart->ActiveSeriesLegend(Index)) {
        DrawSymbol(S, -1, Index, R);
      }
      break;
    case TLegendStyle::lsValues:
    case TLegendStyle::lsAuto:
      if (TChartSeries* S = GetLegendSeries())
        DrawSymbol(S, S->LegendToValueIndex(Index), Index, R);
      else
        DrawSymbol(nullptr, -1, Index, R);
      break;
  }

  // 10. Dividing lines.
  if (Position > 0 && FDividingLines->GetVisible() && (Vertical || Row == 0)) {
    C->AssignVisiblePen(FDividingLines);
    C->SetBackMode(TCanvasBackMode::cbmTransparent);
    const std::int32_t E = FPen->GetVisible() ? Round(FPen->GetWidth() + 1) / 2 : 0;
    if (Vertical)
      C->DoHorizLine(float(Round(ShapeBounds.Left + E)), float(Round(ShapeBounds.Right - E)),
                     float(Y - FVertSpacing / 2));
    else
      C->DoVertLine(float(Round(ShapeBounds.Left + D + 2)), float(Round(ShapeBounds.Top + E)),
                    float(Round(ShapeBounds.Bottom - E)));
  }

  // 11. A flowing horizontal legend moves on by this item's width.
  if (!Vertical && !IJustify) {
    std::int32_t Step = AllColumnsWidth(FFirstValue + Position);
    if (FDividingLines->GetVisible()) Step += Round(FDividingLines->GetWidth()) + 2;
    XLegendText += Step;
    XLegendColor += Step;
    XLegendBox += Step;
  }
}

// ---------------------------------------------------------------------------------------------
// Hit test

std::int32_t TCustomChartLegend::Clicked(TPointF P) {
  TCustomAxisPanel* Chart = GetChart();
  if (!Chart || !Chart->GetCanvas()) return -1;
  TRectF R = ShapeBounds;
  if (OnCalcSize) {
    std::int32_t W = 0;
    OnCalcSize(this, W);
    R.Right -= float(W);
  }
  if (!PointInRect(R, P)) return -1;
  PrepareFont(Chart);
  const std::int32_t H = CalcItemHeight();
  const bool Inverted = CalcInverted();
  std::int32_t Row = -1;
  const std::int32_t Top0 = FirstItemTop();
  for (std::int32_t I = 0; I < NumRows; ++I) {
    const std::int32_t Top = Top0 + I * H + 1;
    if (float(Top) <= P.Y && P.Y <= float(Top + H)) {
      Row = Inverted ? NumRows - I - 1 : I;
      break;
    }
  }
  // Outside every row there is no item, whatever the first value shown.
  if (Row < 0) return -1;
  if (GetVertical()) return Row + FFirstValue;
  if (NumCols <= 0) return -1;
  if (!IJustify) {
    // Items of their own widths, one after another: the last one that starts left of P (the
    // first one also takes the legend's margin before it).
    if (IItemLefts.empty()) return -1;
    std::int32_t Pos = 0;
    for (std::size_t I = 1; I < IItemLefts.size(); ++I)
      if (float(IItemLefts[I]) <= P.X) Pos = static_cast<std::int32_t>(I);
    if (Pos > ITotalItems - 1) return -1;
    return Inverted ? ILastValue - Pos : FFirstValue + Pos;
  }
  const float W = (ShapeBounds.Right - ShapeBounds.Left) / float(NumCols);
  std::int32_t Result = -1;
  for (std::int32_t Col = 0; Col < NumCols; ++Col) {
    const float X0 = ShapeBounds.Left + float(Col) * W + 1;
    if (P.X < X0 || P.X > X0 + W) continue;
    std::int32_t Pos;
    if (Inverted) {
      const std::int32_t K = (ILastValue - FFirstValue + 1) % NumCols;
      Pos = K <= 0 ? Row * NumCols + NumCols - Col - 1 : Row * NumCols + K - Col - 1;
    } else {
      Pos = Col + Row * NumCols;
    }
    Result = Pos < 0 || Pos > ITotalItems - 1 ? -1 : Pos + FFirstValue;
  }
  return Result;
}

}  // namespace zel
