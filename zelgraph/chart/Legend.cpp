// The legend's model and layout: settings, symbol, items, title, the style rule, item texts and
// CalcRect. Drawing and clicks are in LegendDraw.cpp.
#include "zelgraph/chart/Legend.h"
#include "platform/Filer.h"

#include <algorithm>
#include <cstdlib>

#include "platform/Math.h"
#include "platform/StringList.h"
#include "platform/SysUtils.h"
#include "zelgraph/canvas/Canvas3D.h"
#include "zelgraph/canvas/Font.h"
#include "zelgraph/canvas/Gradient.h"
#include "zelgraph/canvas/Pens.h"
#include "zelgraph/canvas/Shadow.h"
#include "zelgraph/chart/Chart.h"
#include "zelgraph/constants/Constants.h"
#include "zelgraph/engine/AxisPanel.h"
#include "zelgraph/engine/Marks.h"
#include "zelgraph/engine/SeriesLegend.h"
#include "zelgraph/engine/SeriesList.h"
#include "zelgraph/procs/Procs.h"

namespace zel {

// ---------------------------------------------------------------------------------------------
// TLegendSymbol

ZEL_DEFINE_CLASS(TLegendSymbol, TPersistent)

TLegendSymbol::TLegendSymbol(TCustomChartLegend* ALegend) : ILegend(ALegend) {
  auto OnChange = [this](TObject*) { Changed(); };
  FPen = new TZelPen(OnChange);
  FGradient = new TZelGradient(OnChange);
  FShadow = new TZelShadow(OnChange);
  FShadow->InitValues(false, FShadow->GetColor(), 1);
  FEmboss = new TZelEmboss(OnChange);
  FEmboss->InitValues(false, FEmboss->GetColor(), 1);
}

TLegendSymbol::~TLegendSymbol() {
  FPen->Free();
  FGradient->Free();
  FShadow->Free();
  FEmboss->Free();
}

void TLegendSymbol::Changed() {
  if (ILegend) ILegend->Repaint();
}

void TLegendSymbol::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TLegendSymbol*>(Source)) {
    FContinuous = S->FContinuous;
    FDefaultPen = S->FDefaultPen;
    FEmboss->Assign(S->FEmboss);
    FGradient->Assign(S->FGradient);
    FHeight = S->FHeight;
    FHeightUnits = S->FHeightUnits;
    OnDraw = S->OnDraw;
    FPen->Assign(S->FPen);
    FPosition = S->FPosition;
    FShadow->Assign(S->FShadow);
    FSquared = S->FSquared;
    FVisible = S->FVisible;
    FWidth = S->FWidth;
    FWidthUnits = S->FWidthUnits;
    return;
  }
  TPersistent::Assign(Source);
}

void TLegendSymbol::SetContinuous(bool Value) { SetField(FContinuous, Value); }
void TLegendSymbol::SetDefaultPen(bool Value) { SetField(FDefaultPen, Value); }
void TLegendSymbol::SetHeight(std::int32_t Value) { SetField(FHeight, Value); }
void TLegendSymbol::SetHeightUnits(TLegendSymbolSize Value) { SetField(FHeightUnits, Value); }
void TLegendSymbol::SetPosition(TLegendSymbolPosition Value) { SetField(FPosition, Value); }
void TLegendSymbol::SetSquared(bool Value) { SetField(FSquared, Value); }
void TLegendSymbol::SetVisible(bool Value) { SetField(FVisible, Value); }
void TLegendSymbol::SetWidth(std::int32_t Value) { SetField(FWidth, Value); }
void TLegendSymbol::SetWidthUnits(TLegendSymbolSize Value) { SetField(FWidthUnits, Value); }
void TLegendSymbol::SetPen(TZelPen* Value) { FPen->Assign(Value); }
void TLegendSymbol::SetGradient(TZelGradient* Value) { FGradient->Assign(Value); }
void TLegendSymbol::SetShadow(TZelShadow* Value) { FShadow->Assign(Value); }
void TLegendSymbol::SetEmboss(TZelEmboss* Value) { FEmboss->Assign(Value); }

std::int32_t TLegendSymbol::CalcHeight() {
  if (FHeightUnits == TLegendSymbolSize::lcsPixels) return FHeight;
  if (FHeight <= 100) return Round((double(ILegend->ItemHeight) - 4) * FHeight * 0.01);
  TCustomAxisPanel* Chart = ILegend->GetChart();
  return Chart && Chart->GetCanvas() ? Chart->GetCanvas()->GetFontHeight() : 0;
}

std::int32_t TLegendSymbol::CalcWidth(std::int32_t W) {
  if (!FVisible) return 0;
  if (FSquared) return CalcHeight();
  if (FWidthUnits == TLegendSymbolSize::lcsPixels) return FWidth;
  return Round(double(FWidth) * W * 0.01);
}

// ---------------------------------------------------------------------------------------------
// TLegendItem

ZEL_DEFINE_CLASS(TLegendItem, TPersistent)

TLegendItem::TLegendItem(TCustomChartLegend* ALegend) : ILegend(ALegend) {}

TLegendItem::~TLegendItem() {
  if (FFont) FFont->Free();
}

void TLegendItem::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TLegendItem*>(Source)) {
    FAlign = S->FAlign;
    SetFont(S->FFont);
    FLeft = S->FLeft;
    FSymbol = S->FSymbol;
    FText = S->FText;
    FText2 = S->FText2;
    FTop = S->FTop;
    return;
  }
  TPersistent::Assign(Source);
}

void TLegendItem::MarkCustom(bool Position) {
  if (!ILegend) return;
  ILegend->GetItems()->SetCustom(true);
  if (Position) ILegend->GetItems()->SetCustomPosition(true);
  ILegend->Repaint();
}

void TLegendItem::SetAlign(std::int32_t Value) {
  if (FAlign == Value) return;
  FAlign = Value;
  MarkCustom(false);
}

void TLegendItem::SetText(const String& Value) {
  if (FText == Value) return;
  FText = Value;
  MarkCustom(false);
}

void TLegendItem::SetText2(const String& Value) {
  if (FText2 == Value) return;
  FText2 = Value;
  MarkCustom(false);
}

void TLegendItem::SetLeft(std::int32_t Value) {
  if (FLeft == Value) return;
  FLeft = Value;
  MarkCustom(true);
}

void TLegendItem::SetTop(std::int32_t Value) {
  if (FTop == Value) return;
  FTop = Value;
  MarkCustom(true);
}

TZelFont* TLegendItem::GetFont() {
  if (!FFont) {
    TAutoRepaintScope Quiet(ILegend ? ILegend->GetParent() : nullptr, false);
    FFont = new TZelFont([this](TObject*) {
      if (ILegend) ILegend->Repaint();
    });
    if (ILegend) FFont->Assign(ILegend->GetFont());
  }
  return FFont;
}

void TLegendItem::SetFont(TZelFont* Value) {
  if (!Value) {
    if (FFont) {
      FFont->Free();
      FFont = nullptr;
      if (ILegend) ILegend->Repaint();
    }
    return;
  }
  GetFont()->Assign(Value);
}

// ---------------------------------------------------------------------------------------------
// TLegendItems

ZEL_DEFINE_CLASS(TLegendItems, TPersistent)

TLegendItems::~TLegendItems() { ClearItems(); }

TLegendItem* TLegendItems::GetItem(std::int32_t Index) {
  if (Index < 0) throw LegendException(Format("List index out of bounds (%d)", {Index}));
  if (Index >= Count()) FItems.resize(static_cast<std::size_t>(Index) + 1, nullptr);
  TLegendItem*& Item = FItems[static_cast<std::size_t>(Index)];
  if (!Item) Item = new TLegendItem(ILegend);
  return Item;
}

TLegendItem* TLegendItems::ExistingItem(std::int32_t Index) const {
  if (Index < 0 || Index >= Count()) return nullptr;
  return FItems[static_cast<std::size_t>(Index)];
}

void TLegendItems::ClearItems() {
  for (TLegendItem* I : FItems)
    if (I) I->Free();
  FItems.clear();
}

void TLegendItems::Clear() {
  ClearItems();
  if (ILegend) ILegend->Repaint();
}

void TLegendItems::SetCustom(bool Value) {
  if (FCustom == Value) return;
  FCustom = Value;
  if (ILegend) ILegend->Repaint();
}

void TLegendItems::SetCustomPosition(bool Value) {
  if (FCustomPosition == Value) return;
  FCustomPosition = Value;
  if (ILegend) ILegend->Repaint();
}

// ---------------------------------------------------------------------------------------------
// TLegendTitle

ZEL_DEFINE_CLASS(TLegendTitle, TStringsShape)

TLegendTitle::TLegendTitle(TCustomZelPanel* AOwner) : TStringsShape(AOwner) {
  IDraw2D = true;
  InitTransparent(true);
  FFont->InitStyle(TFontStyles{TFontStyle::fsBold});
  InitShadow(FShadow);
}

void TLegendTitle::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TLegendTitle*>(Source)) SetText(S->GetLines());
  TStringsShape::Assign(Source);
}

void TLegendTitle::InitShadow(TZelShadow* Value) { Value->InitValues(Value->GetVisible(), 0xFFC0C0C0, 2); }

void TLegendTitle::InitEmboss(TZelEmboss* Value) { InitShadow(Value); }

// ---------------------------------------------------------------------------------------------
// TCustomChartLegend: settings

ZEL_DEFINE_CLASS(TCustomChartLegend, TZelCustomShapePosition)
ZEL_DEFINE_CLASS(TChartLegend, TCustomChartLegend)
ZEL_DEFINE_CLASS(TZelLegendEvent, TZelEvent)

TCustomChartLegend::TCustomChartLegend(TCustomZelPanel* AOwner) : TZelCustomShapePosition(AOwner) {
  IDraw2D = true;
  TSeriesMarks::InitGradient(FBrush->GetGradient());
  FDividingLines = new TZelHiddenPen([this](TObject*) {
    if (FParent) FParent->Invalidate();
  });
  FItems = new TLegendItems(this);
  FSymbol = new TLegendSymbol(this);
}

TCustomChartLegend::~TCustomChartLegend() {
  if (FSelected) FSelected->Free();
  IItems.clear();
  FItems->Free();
  if (FTitle) FTitle->Free();
  FSymbol->Free();
  FDividingLines->Free();
}

TCustomAxisPanel* TCustomChartLegend::GetChart() const { return dynamic_cast<TCustomAxisPanel*>(FParent); }

void TCustomChartLegend::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TCustomChartLegend*>(Source)) {
    FAlignment = S->FAlignment;
    FCheckBoxes = S->FCheckBoxes;
    FCheckBoxesStyle = S->FCheckBoxesStyle;
    FCurrentPage = S->FCurrentPage;
    SetDividingLines(S->FDividingLines);
    FDrawBehind = S->FDrawBehind;
    FFirstValue = S->FFirstValue;
    FFontSeriesColor = S->FFontSeriesColor;
    FGlobalTransp = S->FGlobalTransp;
    FHorizJustify = S->FHorizJustify;
    FHorizMargin = S->FHorizMargin;
    FInverted = S->FInverted;
    FLeftPercent = S->FLeftPercent;
    FLegendStyle = S->FLegendStyle;
    FMaxNumRows = S->FMaxNumRows;
    FPosUnits = S->FPosUnits;
    FResizeChart = S->FResizeChart;
    SetSelected(S->FSelected);
    SetSymbol(S->FSymbol);
    FTextStyle = S->FTextStyle;
    SetTitle(S->FTitle);
    FTopLeftPos = S->FTopLeftPos;
    FTopPercent = S->FTopPercent;
    FVertMargin = S->FVertMargin;
    FVertSpacing = S->FVertSpacing;
  }
  TZelCustomShapePosition::Assign(Source);
}

void TCustomChartLegend::SetAlignment(TLegendAlignment Value) { SetField(FAlignment, Value); }

void TCustomChartLegend::SetCheckBoxes(bool Value) {
  if (FCheckBoxes == Value) return;
  FCheckBoxes = Value;
  CheckBoxChanged();
}

std::int32_t TCustomChartLegend::GetColorWidth() const { return FSymbol->GetWidth(); }
void TCustomChartLegend::SetSymbolWidth(std::int32_t Value) { FSymbol->SetWidth(Value); }
void TCustomChartLegend::SetCurrentPage(bool Value) { SetField(FCurrentPage, Value); }
void TCustomChartLegend::SetDividingLines(TZelPen* Value) {
  if (Value) FDividingLines->Assign(Value);
}
void TCustomChartLegend::SetDrawBehind(bool Value) { SetField(FDrawBehind, Value); }

void TCustomChartLegend::SetFirstValue(std::int32_t Value) {
  if (Value < 0) throw LegendException(ZelMsg_LegendFirstValue);
  SetField(FFirstValue, Value);
}

void TCustomChartLegend::SetFontSeriesColor(bool Value) { SetField(FFontSeriesColor, Value); }
void TCustomChartLegend::SetGlobalTransparency(TZelTransparency Value) { SetField(FGlobalTransp, Value); }
void TCustomChartLegend::SetHorizJustify(TLegendJustify Value) { SetField(FHorizJustify, Value); }
void TCustomChartLegend::SetHorizMargin(std::int32_t Value) { SetField(FHorizMargin, Value); }
void TCustomChartLegend::SetInverted(bool Value) { SetField(FInverted, Value); }
void TCustomChartLegend::SetLeftPercent(std::int32_t Value) { SetField(FLeftPercent, Value); }

void TCustomChartLegend::SetLegendStyle(TLegendStyle Value) {
  if (FLegendStyle == Value) return;
  FLegendStyle = Value;
  CalcLegendStyle();
  Repaint();
}

void TCustomChartLegend::SetMaxNumRows(std::int32_t Value) { SetField(FMaxNumRows, Value); }
void TCustomChartLegend::SetPositionUnits(TZelUnits Value) { SetField(FPosUnits, Value); }
void TCustomChartLegend::SetResizeChart(bool Value) { SetField(FResizeChart, Value); }

TZelSelected* TCustomChartLegend::GetSelected() {
  if (!FSelected) {
    FSelected = Create<TZelSelected>(static_cast<TObject*>(this));
    FSelected->SetParent(FParent);
  }
  return FSelected;
}

void TCustomChartLegend::SetSelected(TZelSelected* Value) {
  if (!Value) {
    if (FSelected) {
      FSelected->Free();
      FSelected = nullptr;
    }
    return;
  }
  GetSelected()->Assign(Value);
}

void TCustomChartLegend::SetSeries(TChartSeries* Value) {
  if (FSeries == Value) return;
  FSeries = Value;
  Repaint();
}

void TCustomChartLegend::SetTextStyle(TLegendTextStyle Value) { SetField(FTextStyle, Value); }
void TCustomChartLegend::SetTextSymbolGap(std::int32_t Value) { SetField(FTextSymbolGap, Value); }

TLegendTitle* TCustomChartLegend::GetTitle() {
  if (!FTitle) FTitle = Create<TLegendTitle>(FParent);
  return FTitle;
}

void TCustomChartLegend::SetTitle(TLegendTitle* Value) {
  if (!Value) {
    if (FTitle) {
      FTitle->Free();
      FTitle = nullptr;
      Repaint();
    }
    return;
  }
  GetTitle()->Assign(Value);
}

void TCustomChartLegend::SetTopPos(std::int32_t Value) { SetField(FTopLeftPos, Value); }
void TCustomChartLegend::SetTopPercent(std::int32_t Value) { SetField(FTopPercent, Value); }
void TCustomChartLegend::SetVertMargin(std::int32_t Value) { SetField(FVertMargin, Value); }
void TCustomChartLegend::SetVertSpacing(std::int32_t Value) { SetField(FVertSpacing, Value); }

// ---------------------------------------------------------------------------------------------
// Model

std::int32_t TCustomChartLegend::ShownSeriesCount() const {
  TCustomAxisPanel* Chart = GetChart();
  if (!Chart) return 0;
  std::int32_t N = 0;
  for (std::int32_t I = 0; I < Chart->SeriesCount(); ++I) {
    TChartSeries* S = Chart->GetSeries(I);
    if (S->GetShowInLegend() && (FCheckBoxes || S->GetActive())) ++N;
  }
  return N;
}

TLegendStyle TCustomChartLegend::CalcLegendStyle() {
  if (FLegendStyle != TLegendStyle::lsAuto) {
    InternalLegendStyle = FLegendStyle;
  } else {
    std::int32_t Active = 0;
    if (TCustomAxisPanel* Chart = GetChart())
      for (std::int32_t I = 0; I < Chart->SeriesCount(); ++I) {
        TChartSeries* S = Chart->GetSeries(I);
        if (S->GetActive() && S->GetShowInLegend()) ++Active;
      }
    InternalLegendStyle = FCheckBoxes || Active > 1 ? TLegendStyle::lsSeries : TLegendStyle::lsValues;
  }
  return InternalLegendStyle;
}

String TCustomChartLegend::FormattedValue(TChartSeries* Series, std::int32_t ValueIndex) {
  // An index the series does not have gives no text rather than reading past its values.
  if (!Series || ValueIndex < 0 || ValueIndex >= Series->CountLegendItems()) return String();
  String S = Series->LegendString(ValueIndex, FTextStyle);
  std::replace(S.begin(), S.end(), ZelLineSeparator, ' ');
  return S;
}

String TCustomChartLegend::FormattedLegend(std::int32_t Index) {
  TCustomAxisPanel* Chart = GetChart();
  if (!Chart) return String();
  switch (InternalLegendStyle) {
    case TLegendStyle::lsSeries:
      return Chart->SeriesTitleLegend(Index, !FCheckBoxes);
    case TLegendStyle::lsValues:
      return FormattedValue(GetLegendSeries(), Index);
    case TLegendStyle::lsLastValues: {
      TChartSeries* S = Chart->SeriesLegend(Index, !FCheckBoxes);
      return S ? FormattedValue(S, S->CountLegendItems() - 1) : String();
    }
    case TLegendStyle::lsSeriesGroups: {
      TSeriesGroups* G = Chart->GetSeriesGroups();
      if (G && Index >= 0 && Index < G->GetCount()) return G->Get(Index)->GetName();
      return String();
    }
    case TLegendStyle::lsAuto:
      break;
  }
  return String();
}

TChartSeries* TCustomChartLegend::GetLegendSeries() const {
  TCustomAxisPanel* Chart = GetChart();
  if (!Chart) return nullptr;
  // A series that left the chart (or was freed) is no longer listed: fall back to the automatic
  // choice instead of reading through a stale reference.
  if (FSeries && Chart->IndexOfSeries(FSeries) >= 0) return FSeries;
  TChartSeries* FirstActive = nullptr;
  for (std::int32_t I = 0; I < Chart->SeriesCount(); ++I) {
    TChartSeries* S = Chart->GetSeries(I);
    if (!S->GetActive()) continue;
    if (!FirstActive) FirstActive = S;
    if (S->GetShowInLegend()) return S;
  }
  return FirstActive;
}

bool TCustomChartLegend::CalcInverted() {
  bool Result = FInverted;
  if (InternalLegendStyle == TLegendStyle::lsValues)
    if (TChartSeries* S = GetLegendSeries(); S && S->InvertedLegend()) Result = !Result;
  return Result;
}

bool TCustomChartLegend::HasCheckBoxes() const {
  // With check boxes the automatic style always lists series.
  return FCheckBoxes && FLegendStyle != TLegendStyle::lsValues;
}

bool TCustomChartLegend::ShouldDraw() const {
  if (!FVisible) return false;
  if (HasCheckBoxes()) return true;
  TCustomAxisPanel* Chart = GetChart();
  return Chart && Chart->CountActiveSeries() > 0;
}

TCursor TCustomChartLegend::CalcCursor() const {
  return FSelected && FSelected->GetVisible() ? crHandPoint : FCursor;
}

void TCustomChartLegend::CheckBoxChanged() {
  Repaint();
  if (TCustomAxisPanel* Chart = GetChart()) Chart->BroadcastZelEventClass<TZelLegendEvent>();
}

void TCustomChartLegend::SetCheckBoxesStyle(TCheckBoxesStyle Value) {
  if (FCheckBoxesStyle == Value) return;
  FCheckBoxesStyle = Value;
  TCustomAxisPanel* Chart = GetChart();
  if (Value == TCheckBoxesStyle::cbsRadio && Chart && !ReadingStoredValue()) {
    if (InternalLegendStyle == TLegendStyle::lsAuto) CalcLegendStyle();
    if (InternalLegendStyle == TLegendStyle::lsSeriesGroups) {
      TSeriesGroups* G = Chart->GetSeriesGroups();
      bool Found = false;
      for (std::int32_t I = 0; G && I < G->GetCount(); ++I) {
        if (G->Get(I)->GetActive() == TSeriesGroupActive::gaNo) continue;
        if (Found)
          G->Get(I)->Hide();
        else
          Found = true;
      }
    } else {
      bool Found = false;
      for (std::int32_t I = 0; I < Chart->SeriesCount(); ++I) {
        TChartSeries* S = Chart->GetSeries(I);
        if (!S->GetShowInLegend() || !S->GetActive()) continue;
        if (Found)
          S->SetActive(false);
        else
          Found = true;
      }
    }
  }
  CheckBoxChanged();
}

bool TCustomChartLegend::DoMouseDown(std::int32_t, std::int32_t, std::int32_t ItemIndex) {
  GetSelected()->SetItemIndex(ItemIndex);
  if (!HasCheckBoxes() || ItemIndex == -1) return false;
  TCustomAxisPanel* Chart = GetChart();
  if (!Chart) return false;
  if (InternalLegendStyle == TLegendStyle::lsAuto) CalcLegendStyle();
  const bool Radio = FCheckBoxesStyle == TCheckBoxesStyle::cbsRadio;
  if (InternalLegendStyle == TLegendStyle::lsSeriesGroups) {
    TSeriesGroups* G = Chart->GetSeriesGroups();
    if (!G) return true;
    if (Radio) {
      for (std::int32_t I = 0; I < G->GetCount(); ++I)
        G->Get(I)->SetActive(I == ItemIndex ? TSeriesGroupActive::gaYes : TSeriesGroupActive::gaNo);
    } else if (ItemIndex >= 0 && ItemIndex < G->GetCount()) {
      TSeriesGroup* Group = G->Get(ItemIndex);
      Group->SetActive(Group->GetActive() == TSeriesGroupActive::gaNo ? TSeriesGroupActive::gaYes
                                                                        : TSeriesGroupActive::gaNo);
    }
    return true;
  }
  if (Radio) {
    for (std::int32_t I = 0;; ++I) {
      TChartSeries* S = Chart->SeriesLegend(I, false);
      if (!S) break;
      S->SetActive(I == ItemIndex);
    }
  } else if (TChartSeries* S = Chart->SeriesLegend(ItemIndex, false)) {
    S->SetActive(!S->GetActive());
  }
  return true;
}

// ---------------------------------------------------------------------------------------------
// Layout

std::int32_t TCustomChartLegend::FrameSize() {
  std::int32_t F = FPen->GetVisible() ? Round(FPen->GetWidth()) : 0;
  if (FBevel != TPanelBevel::bvNone) F += FBevelWidth;
  return F;
}

std::int32_t TCustomChartLegend::CalcItemHeight() {
  TCustomAxisPanel* Chart = GetChart();
  if (!Chart || !Chart->GetCanvas()) return 0;
  std::int32_t H = Chart->GetCanvas()->GetFontHeight();
  if (FSymbol->GetVisible()) {
    if (FSymbol->GetHeightUnits() == TLegendSymbolSize::lcsPixels)
      H = std::max(H, FSymbol->GetHeight());
    else if (FSymbol->GetHeight() > 100)
      H = Round(double(H) * FSymbol->GetHeight() * 0.01);
  }
  if (HasCheckBoxes()) H = std::max(H, 17);
  std::int32_t Result = H + FVertSpacing;
  if (GetVertical() && FDividingLines->GetVisible()) Result += Round(FDividingLines->GetWidth());
  return Result;
}

std::int32_t TCustomChartLegend::FirstItemTop() {
  std::int32_t Result = Round(ShapeBounds.Top);
  if (FPen->GetVisible()) Result += Round(FPen->GetWidth()) / 2;
  if (IDrawTitle && FTitle) Result += Round(FTitle->GetHeight()) + 2;
  return Result;
}

bool TCustomChartLegend::ItemIsCustom(std::int32_t Position) const {
  return FItems->GetCustom() && Position >= 0 && Position < FItems->Count();
}

std::int32_t TCustomChartLegend::CalcItemWidth(std::int32_t Column, std::int32_t Index) {
  TCustomAxisPanel* Chart = GetChart();
  if (!Chart || !Chart->GetCanvas()) return 0;
  const std::int32_t P = Index - FFirstValue;
  String Text;
  if (ItemIsCustom(P)) {
    if (TLegendItem* I = FItems->ExistingItem(P)) Text = Column == 0 ? I->GetText() : I->GetText2();
  } else if (P >= 0 && P < static_cast<std::int32_t>(IItems.size())) {
    Text = Column == 0 ? IItems[static_cast<std::size_t>(P)].first : IItems[static_cast<std::size_t>(P)].second;
  }
  if (Text.empty()) return 0;
  std::int32_t Lines = 0;
  return Round(Chart->MultiLineTextSize(Text, FTextFormat, Lines).X) + FTextSymbolGap;
}

std::int32_t TCustomChartLegend::CalcItemWidthColor(std::int32_t W) {
  return W + IColorWidth + FTextSymbolGap + (HasCheckBoxes() ? 23 : 8);
}

std::int32_t TCustomChartLegend::AllColumnsWidth(std::int32_t Index) {
  return CalcItemWidthColor(CalcItemWidth(0, Index) + CalcItemWidth(1, Index));
}

std::int32_t TCustomChartLegend::TitleWidth() {
  TCustomAxisPanel* Chart = GetChart();
  if (!FTitle || !Chart || !Chart->GetCanvas()) return 0;
  TCanvas3D* C = Chart->GetCanvas();
  C->AssignFont(FTitle->GetFont());
  const std::int32_t Space = C->TextWidth(" ");
  PrepareFont(Chart);
  return Round(FTitle->GetWidth()) + Space + 8;
}

std::int32_t TCustomChartLegend::CalcTotalItems() {
  TCustomAxisPanel* Chart = GetChart();
  std::int32_t N = 0;
  if (FItems->GetCustom()) {
    N = FItems->Count();
  } else if (!Chart) {
    N = 0;
  } else {
    switch (InternalLegendStyle) {
      case TLegendStyle::lsSeriesGroups: {
        TSeriesGroups* G = Chart->GetSeriesGroups();
        N = G ? G->GetCount() : 0;
        break;
      }
      case TLegendStyle::lsValues: {
        TChartSeries* S = GetLegendSeries();
        N = S && S->GetShowInLegend() ? S->CountLegendItems() - FFirstValue : 0;
        break;
      }
      default:
        N = ShownSeriesCount() - FFirstValue;
        break;
    }
  }
  return std::max(N, 0);
}

String TCustomChartLegend::ItemText(std::int32_t Index) {
  String Text = FormattedLegend(Index);
  if (auto* Chart = dynamic_cast<TCustomChart*>(FParent))
    if (Chart->OnGetLegendText) Chart->OnGetLegendText(Chart, InternalLegendStyle, Index, Text);
  return Text;
}

void TCustomChartLegend::GetItemsTexts(bool Inverted) {
  FItemsWidths.reset();  // the texts change here
  const std::int32_t N = std::max(ILastValue - FFirstValue + 1, 0);
  IItems.assign(static_cast<std::size_t>(N), {});
  for (std::int32_t P = 0; P < N; ++P) {
    const String Text = ItemText(Inverted ? ILastValue - P : FFirstValue + P);
    const std::size_t Sep = Text.find(ZelColumnSeparator);
    auto& Pair = IItems[static_cast<std::size_t>(P)];
    if (Sep == String::npos) {
      Pair.first = Text;
    } else {
      Pair.first = Text.substr(0, Sep);
      Pair.second = Text.substr(Sep + 1);
    }
  }
}

std::int32_t TCustomChartLegend::ItemsTextsAndWidths(bool Inverted) {
  TCustomAxisPanel* Chart = GetChart();
  TChartSeries* S = InternalLegendStyle == TLegendStyle::lsValues ? GetLegendSeries() : nullptr;
  auto* Owner = dynamic_cast<TCustomChart*>(FParent);
  const bool AxisText = FTextStyle == TLegendTextStyle::ltsXValue || FTextStyle == TLegendTextStyle::ltsXAndValue ||
                        FTextStyle == TLegendTextStyle::ltsXAndPercent || FTextStyle == TLegendTextStyle::ltsXAndText;
  if (!S || !Chart || !Chart->GetCanvas() || FItems->GetCustom() || !ColumnWidthAuto || AxisText ||
      (Owner && Owner->OnGetLegendText)) {
    GetItemsTexts(Inverted);
    return CalcColumnsWidth();
  }
  TTextWidthKey Key;
  S->AddTextSources(Key);
  Chart->AddTextMetrics(Key);
  Key.Stamps.push_back(reinterpret_cast<std::uintptr_t>(S));
  Key.Numbers.insert(Key.Numbers.end(), {double(FFirstValue), double(ILastValue), double(Inverted), double(FTextStyle),
                                         double(FTextFormat), double(FTextSymbolGap), double(ISpaceWidth),
                                         double(S->CountLegendItems())});
  if (FItemsWidths && FItemsWidths->Key == Key) {
    ColumnWidths = FItemsWidths->ColumnWidths;
    return FItemsWidths->Width;
  }
  GetItemsTexts(Inverted);
  const std::int32_t Width = CalcColumnsWidth();
  FItemsWidths = std::make_unique<TItemsWidths>(TItemsWidths{std::move(Key), ColumnWidths, Width});
  return Width;
}

std::int32_t TCustomChartLegend::CalcColumnsWidth() {
  if (ColumnWidthAuto)
    for (std::int32_t C = 0; C < 2; ++C) {
      std::int32_t W = 0;
      for (std::int32_t I = FFirstValue; I <= ILastValue; ++I) W = std::max(W, CalcItemWidth(C, I));
      ColumnWidths[static_cast<std::size_t>(C)] = W;
    }
  std::int32_t Result = 0;
  for (std::int32_t W : ColumnWidths)
    if (W > 0) Result += W + ISpaceWidth - 1;
  return Result;
}

float TCustomChartLegend::ChartOffsetP() const {
  if (FCustomPosition || !FParent) return 0;
  return float(FTopLeftPos * FParent->GetChartBounds().Width() * 0.01);
}

std::int32_t TCustomChartLegend::MaxLegendColumns(std::int32_t W, TLegendJustify Justify, std::int32_t& TotalWidth) {
  if (W <= 0) return 0;
  const float BW = FParent->GetChartBounds().Width();
  const std::int32_t F = FrameSize();
  const std::int32_t A =
      Round(BW - 2.0 * F - (FParent->BorderSize() + FHorizMargin * BW * 0.01) - ChartOffsetP());
  std::int32_t N = 0;
  bool Justified = Justify == TLegendJustify::ljYes;
  if (Justified) {
    N = A;
  } else {
    const std::int32_t Divider = FDividingLines->GetVisible() ? Round(FDividingLines->GetWidth()) + 2 : 0;
    std::int32_t Sum = 0;
    for (std::int32_t I = FFirstValue; I <= ILastValue; ++I) {
      const std::int32_t IW = AllColumnsWidth(I) + Divider;
      if (Sum + IW > A) break;
      Sum += IW;
      ++N;
    }
    TotalWidth = Sum;
    if (N == 0 && FHorizJustify == TLegendJustify::ljAutomatic) {
      Justified = true;
      N = A;
    }
  }
  if (Justified) {
    IJustify = true;
    TotalWidth = (IMaxWidth + FTextSymbolGap + IColorWidth) * std::min(N / W, ITotalItems);
    return std::min(N / W, ITotalItems);
  }
  return std::min(N, ITotalItems);
}

void TCustomChartLegend::CalcSymbolTextPos(std::int32_t X) {
  X += FrameSize() / 2;
  if (!FSymbol->GetVisible() || FSymbol->GetPosition() == TLegendSymbolPosition::spRight ||
      InternalLegendStyle == TLegendStyle::lsSeriesGroups) {
    XLegendText = X + (FSymbol->GetVisible() ? 6 : 8);
    XLegendColor = XLegendText + IMaxWidth + FTextSymbolGap;
  } else {
    XLegendColor = X + 6;
    XLegendText = XLegendColor + IColorWidth + FTextSymbolGap + 4;
    TZelShadow* S = FSymbol->GetShadow();
    if (S->GetVisible() && S->GetHorizSize() != 0) {
      XLegendText += std::abs(S->GetHorizSize());
      if (S->GetHorizSize() < 0) XLegendColor += std::abs(S->GetHorizSize());
    }
  }
}

std::int32_t TCustomChartLegend::CalcWidths() {
  IMaxWidth = CalcColumnsWidth();
  std::int32_t W = IMaxWidth + FTextSymbolGap + 6;
  IColorWidth = InternalLegendStyle == TLegendStyle::lsSeriesGroups ? 0 : FSymbol->CalcWidth(W);
  if (FSymbol->GetVisible()) {
    W += IColorWidth + 4;
    if (FSymbol->GetShadow()->GetVisible()) W += std::abs(FSymbol->GetShadow()->GetHorizSize());
    if (FSymbol->GetEmboss()->GetVisible()) W += std::abs(FSymbol->GetEmboss()->GetHorizSize());
  }
  W += FrameSize();
  if (OnCalcSize) OnCalcSize(this, W);
  if (IDrawTitle) W = std::max(W, TitleWidth());
  return W;
}

void TCustomChartLegend::CalcVerticalPositions() {
  const TRectF& CR = FParent->ChartRect;
  const std::int32_t F = FrameSize();
  std::int32_t W = 0;
  if (FCustomPosition || FAlignment == TLegendAlignment::laLeft) {
    if (!FCustomPosition) ShapeBounds.Left = CR.Left + float(F + 1);
    W = CalcWidths();
    ShapeBounds.Right = ShapeBounds.Left + float(W);
  } else {
    float Right = CR.Right;
    if (FShadow->GetVisible()) Right -= float(FShadow->GetHorizSize());
    if (FEmboss && FEmboss->GetVisible()) Right -= float(FEmboss->GetHorizSize());
    Right -= float(F / 2 + 1);
    W = CalcWidths();
    ShapeBounds.Right = Right;
    ShapeBounds.Left = Right - float(W) - (HasCheckBoxes() ? 15.0f : 0.0f);
  }
  std::int32_t Start = Round(ShapeBounds.Left);
  if (HasCheckBoxes()) {
    XLegendBox = Round(ShapeBounds.Left) + 4;
    Start = XLegendBox + 11;
    ShapeBounds.Right = float(Start + W);
  }
  CalcSymbolTextPos(Start);
}

void TCustomChartLegend::CalcHorizontalPositions(std::int32_t TotalWidth) {
  const std::int32_t F = FrameSize();
  std::int32_t Width = TotalWidth + 8;
  if (IJustify) {
    Width += 6 * NumCols - 6 + F + 4 + 2 * NumCols;
    if (HasCheckBoxes()) Width += 15 * NumCols + 4;
  }
  if (IDrawTitle) Width = std::max(Width, TitleWidth());
  const std::int32_t W = std::min(Round(FParent->GetChartBounds().Width() - ChartOffsetP()), Width);
  if (!FCustomPosition) ShapeBounds.Left = float(FParent->GetChartXCenter() - W / 2);
  ShapeBounds.Right = ShapeBounds.Left + float(2 * (W / 2));
  std::int32_t Start = Round(ShapeBounds.Left);
  if (HasCheckBoxes()) {
    XLegendBox = Round(ShapeBounds.Left) + 4;
    Start += 15;
  }
  CalcSymbolTextPos(Start);
}

void TCustomChartLegend::ResizeVertical() {
  ItemsTopMargin = Round(ItemHeight * 0.1);
  std::int32_t H = ItemHeight * NumRows + 2 * ItemsTopMargin + FrameSize() + 2;
  if (IDrawTitle && FTitle) H += Round(FTitle->GetHeight()) + 4;
  if (FSymbol->GetVisible()) {
    const std::int32_t Sixth = ItemHeight / 6;
    if (FSymbol->GetShadow()->GetVisible() && FSymbol->GetShadow()->GetVertSize() > Sixth)
      H += FSymbol->GetShadow()->GetVertSize() - Sixth;
    if (FSymbol->GetEmboss()->GetVisible() && FSymbol->GetEmboss()->GetVertSize() > Sixth)
      H += FSymbol->GetEmboss()->GetVertSize() - Sixth;
  }
  if (FAlignment == TLegendAlignment::laBottom && !FCustomPosition)
    ShapeBounds.Top = ShapeBounds.Bottom - float(H);
  else
    ShapeBounds.Bottom = ShapeBounds.Top + float(H);
}

void TCustomChartLegend::TryResizeChartRect() {
  if (!FResizeChart || FCustomPosition) return;
  TCustomZelPanel* P = FParent;
  TRectF& CR = P->ChartRect;
  switch (FAlignment) {
    case TLegendAlignment::laLeft:
      CR.Left = ShapeBounds.Right;
      break;
    case TLegendAlignment::laRight:
      CR.Right = ShapeBounds.Left;
      break;
    case TLegendAlignment::laTop: {
      float Top = ShapeBounds.Bottom;
      if (P->GetShadow() && P->GetShadow()->GetVisible()) Top += float(P->GetShadow()->GetVertSize());
      if (P->GetEmboss() && P->GetEmboss()->GetVisible()) Top += float(P->GetEmboss()->GetVertSize());
      CR.Top = Top;
      break;
    }
    case TLegendAlignment::laBottom:
      CR.Bottom = ShapeBounds.Top;
      break;
  }
  if (GetVertical()) {
    const std::int32_t M = FHorizMargin != 0 ? FHorizMargin : P->GetChartWidth() * 3 / 100;
    if (FAlignment == TLegendAlignment::laLeft)
      CR.Left += float(M);
    else
      CR.Right -= float(M);
  } else {
    const std::int32_t M = FVertMargin != 0 ? FVertMargin : P->GetChartHeight() * 4 / 100;
    if (FAlignment == TLegendAlignment::laTop)
      CR.Top += float(M);
    else
      CR.Bottom -= float(M);
  }
  P->ReCalcWidthHeight();
}

void TCustomChartLegend::CalcRect() {
  TCustomAxisPanel* Chart = GetChart();
  if (!Chart || !Chart->GetCanvas()) return;
  TCanvas3D* C = Chart->GetCanvas();
  // 1. The style in use.
  CalcLegendStyle();
  // 2. A custom position, relative to the chart bounds.
  if (FCustomPosition) {
    if (FPosUnits == TZelUnits::muPercent) {
      const float W = ShapeBounds.Width(), H = ShapeBounds.Height();
      ShapeBounds.Left = float(FLeftPercent * Chart->GetWidth() * 0.01);
      ShapeBounds.Top = float(FTopPercent * Chart->GetHeight() * 0.01);
      ShapeBounds.Right = ShapeBounds.Left + W;
      ShapeBounds.Bottom = ShapeBounds.Top + H;
    }
    const TRectF& B = Chart->GetChartBounds();
    ShapeBounds = TRectF(ShapeBounds.Left + B.Left, ShapeBounds.Top + B.Top, ShapeBounds.Right + B.Left,
                         ShapeBounds.Bottom + B.Top);
  }
  const TRectF Kept = ShapeBounds;
  // 3-4. Paging and the number of items.
  TChartPage* Page = Chart->GetPages();
  const bool Paging = Page && Page->GetMaxPointsPerPage() > 0;
  const bool PagedValues = Paging && InternalLegendStyle == TLegendStyle::lsValues && FCurrentPage;
  if (Paging) FFirstValue = PagedValues ? std::max(Page->FirstValueIndex(), 0) : 0;
  ITotalItems = CalcTotalItems();
  if (PagedValues) ITotalItems = std::min(ITotalItems, Page->GetMaxPointsPerPage());
  // 5. Font and heights.
  Chart->LegendColor = FColor;
  PrepareFont(Chart);
  ISpaceWidth = C->TextWidth(" ");
  ItemHeight = CalcItemHeight();
  // 6. The title.
  IDrawTitle = FTitle && FTitle->GetVisible() && FTitle->GetLines()->GetCount() > 0;
  if (IDrawTitle) {
    FTitle->CalcBounds(Chart);
    PrepareFont(Chart);
  }
  const bool Inverted = CalcInverted();
  const std::int32_t F = FrameSize();
  const TRectF& CR = Chart->ChartRect;
  std::int32_t TotalWidth = 0;
  IJustify = false;
  if (GetVertical()) {
    // 7. One column of rows that fit the chart's height.
    if (!FCustomPosition) {
      const float H = ShapeBounds.Height();
      ShapeBounds.Top = float(CR.Top + FTopLeftPos * (double(CR.Bottom) - CR.Top) * 0.01 + F / 2);
      ShapeBounds.Bottom = ShapeBounds.Top + H;
    }
    NumCols = 1;
    const std::int32_t Top = FirstItemTop();
    if (CR.Bottom > float(Top) && ItemHeight > 0)
      NumRows = std::min(Round(Chart->GetChartHeight() - F - Top + double(CR.Top)) / ItemHeight, ITotalItems);
    else
      NumRows = 0;
    if (FMaxNumRows != 0) NumRows = std::min(NumRows, FMaxNumRows);
    NumRows = std::max(NumRows, 0);
    ILastValue = FFirstValue + std::min(ITotalItems, NumRows) - 1;
    GetItemsTexts(Inverted);
  } else {
    // 8. Rows of items across the chart.
    ILastValue = FFirstValue + ITotalItems - 1;
    IMaxWidth = ItemsTextsAndWidths(Inverted);
    IColorWidth = FSymbol->CalcWidth(IMaxWidth);
    if (!FCustomPosition) {
      if (FAlignment == TLegendAlignment::laBottom) {
        std::int32_t B = F / 2 + 1;
        if (FShadow->GetVisible()) B += FShadow->GetVertSize();
        if (FEmboss && FEmboss->GetVisible()) B += FEmboss->GetVertSize();
        if (OnCalcSize) OnCalcSize(this, B);
        const float H = ShapeBounds.Height();
        ShapeBounds.Bottom = CR.Bottom - float(B);
        ShapeBounds.Top = ShapeBounds.Bottom - H;
      } else {
        const float H = ShapeBounds.Height();
        ShapeBounds.Top = CR.Top + float(F / 2 + 1);
        ShapeBounds.Bottom = ShapeBounds.Top + H;
      }
    }
    std::int32_t W = IMaxWidth + IColorWidth + (HasCheckBoxes() ? 35 : 8);
    if (FTextSymbolGap > 0) W += FTextSymbolGap + 4;
    const std::int32_t MaxRows = FMaxNumRows == 0 ? 10 : FMaxNumRows;
    auto Rows = [&]() {
      return NumCols > 0 ? std::min((ITotalItems + NumCols - 1) / NumCols, MaxRows) : 0;
    };
    NumCols = MaxLegendColumns(W, FHorizJustify, TotalWidth);
    NumRows = Rows();
    if (!IJustify && NumRows > 1) {
      IJustify = true;
      NumCols = MaxLegendColumns(W, TLegendJustify::ljYes, TotalWidth);
      NumRows = Rows();
      TotalWidth = (IMaxWidth + FTextSymbolGap + IColorWidth) * NumCols;
    }
    // Without justification the items share one row; when not even the first one fits there is
    // nothing to show, and the legend takes no room.
    const std::int32_t Shown = IJustify ? std::min(ITotalItems, NumCols * NumRows) : (NumCols > 0 ? ITotalItems : 0);
    ILastValue = FFirstValue + Shown - 1;
  }
  // 9. Nothing to show: the legend keeps its bounds and takes no room.
  if (ILastValue < FFirstValue) {
    ShapeBounds = Kept;
    return;
  }
  // 10-11. Height and placement across.
  ResizeVertical();
  if (GetVertical())
    CalcVerticalPositions();
  else
    CalcHorizontalPositions(TotalWidth);
  // 12. The user may change the rectangle.
  if (auto* Ch = dynamic_cast<TCustomChart*>(FParent))
    if (Ch->OnGetLegendRect) Ch->OnGetLegendRect(Ch, ShapeBounds);
  // 13. The chart rectangle gives up the legend's room.
  TryResizeChartRect();
}

// ---------------------------------------------------------------------------------------------
// Published properties

ZEL_BEGIN_PUBLISHED(TLegendSymbol)
  P::Prop("Continuous", &Self::GetContinuous, &Self::SetContinuous, Default(false)),
  P::Prop("DefaultPen", &Self::GetDefaultPen, &Self::SetDefaultPen, Default(true)),
  P::Obj("Emboss", &Self::GetEmboss),
  P::Obj("Gradient", &Self::GetGradient),
  P::Prop("Height", &Self::GetHeight, &Self::SetHeight, Default(100)),
  P::Prop("HeightUnits", &Self::GetHeightUnits, &Self::SetHeightUnits, Default(TLegendSymbolSize::lcsPercent)),
  P::Obj("Pen", &Self::GetPen),
  P::Prop("Position", &Self::GetPosition, &Self::SetPosition, Default(TLegendSymbolPosition::spLeft)),
  P::Obj("Shadow", &Self::GetShadow),
  P::Prop("Squared", &Self::GetSquared, &Self::SetSquared, Default(true)),
  P::Prop("Visible", &Self::GetVisible, &Self::SetVisible, Default(true)),
  P::Prop("Width", &Self::GetWidth, &Self::SetWidth, Default(20)),
  P::Prop("WidthUnits", &Self::GetWidthUnits, &Self::SetWidthUnits, Default(TLegendSymbolSize::lcsPercent)),
ZEL_END_PUBLISHED

// The symbol's width travels once, inside "Symbol"; "ColorWidth" is read only.
ZEL_BEGIN_PUBLISHED(TCustomChartLegend)
  P::Prop("Alignment", &Self::GetAlignment, &Self::SetAlignment, Default(TLegendAlignment::laRight)),
  P::Prop("CheckBoxes", &Self::GetCheckBoxes, &Self::SetCheckBoxes, Default(false)),
  P::Prop("CheckBoxesStyle", &Self::GetCheckBoxesStyle, &Self::SetCheckBoxesStyle, Default(TCheckBoxesStyle::cbsCheck)),
  P::Prop("ColorWidth", &Self::GetColorWidth, &Self::SetColorWidth, Never),
  P::Prop("CurrentPage", &Self::GetCurrentPage, &Self::SetCurrentPage, Default(true)),
  P::Obj("DividingLines", &Self::GetDividingLines),
  P::Prop("DrawBehind", &Self::GetDrawBehind, &Self::SetDrawBehind, Default(false)),
  P::Prop("FirstValue", &Self::GetFirstValue, &Self::SetFirstValue, Default(0)),
  P::Prop("FontSeriesColor", &Self::GetFontSeriesColor, &Self::SetFontSeriesColor, Default(false)),
  P::Prop("GlobalTransparency", &Self::GetGlobalTransparency, &Self::SetGlobalTransparency, Default(TZelTransparency(0))),
  P::Prop("HorizJustify", &Self::GetHorizJustify, &Self::SetHorizJustify, Default(TLegendJustify::ljAutomatic)),
  P::Prop("HorizMargin", &Self::GetHorizMargin, &Self::SetHorizMargin, Default(0)),
  P::Prop("Inverted", &Self::GetInverted, &Self::SetInverted, Default(false)),
  P::Prop("LeftPercent", &Self::GetLeftPercent, &Self::SetLeftPercent, Default(0)),
  P::Prop("LegendStyle", &Self::GetLegendStyle, &Self::SetLegendStyle, Default(TLegendStyle::lsAuto)),
  P::Prop("MaxNumRows", &Self::GetMaxNumRows, &Self::SetMaxNumRows, Default(0)),
  P::Prop("PositionUnits", &Self::GetPositionUnits, &Self::SetPositionUnits, Default(TZelUnits::muPixels)),
  P::Prop("ResizeChart", &Self::GetResizeChart, &Self::SetResizeChart, Default(true)),
  P::Obj("Selected", &Self::GetSelected, &Self::ExistingSelected),
  P::Obj("Symbol", &Self::GetSymbol),
  P::Prop("TextStyle", &Self::GetTextStyle, &Self::SetTextStyle, Default(TLegendTextStyle::ltsLeftValue)),
  P::Prop("TextSymbolGap", &Self::GetTextSymbolGap, &Self::SetTextSymbolGap, Default(2)),
  P::Obj("Title", &Self::GetTitle, &Self::ExistingTitle),
  P::Prop("TopPercent", &Self::GetTopPercent, &Self::SetTopPercent, Default(0)),
  P::Prop("TopPos", &Self::GetTopPos, &Self::SetTopPos, Default(10)),
  P::Prop("VertMargin", &Self::GetVertMargin, &Self::SetVertMargin, Default(0)),
  P::Prop("VertSpacing", &Self::GetVertSpacing, &Self::SetVertSpacing, Default(0)),
ZEL_END_PUBLISHED

}  // namespace zel
