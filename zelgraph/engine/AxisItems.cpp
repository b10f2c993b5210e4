// The axis' text shapes and its label items.
#include "zelgraph/engine/AxisItems.h"

#include <algorithm>

#include "platform/Scope.h"
#include "zelgraph/canvas/Canvas3D.h"
#include "zelgraph/canvas/Font.h"
#include "zelgraph/canvas/Shadow.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/AxisPanel.h"
#include "zelgraph/engine/SeriesLegend.h"
#include "zelgraph/procs/Procs.h"

namespace zel {

ZEL_DEFINE_CLASS(TChartAxisTitle, TCustomTextShape)
ZEL_DEFINE_CLASS(TAxisBackShape, TZelShape)
ZEL_DEFINE_CLASS(TAxisLabelsFormat, TCustomTextShape)
ZEL_DEFINE_CLASS(TAxisItem, TObject)

// --- title ---

TChartAxisTitle::TChartAxisTitle(TCustomZelPanel* AOwner) : TCustomTextShape(AOwner) {
  InitTextAlignment(TAlignment::taCenter);
  InitTransparent(true);
}

void TChartAxisTitle::Assign(TPersistent* Source) {
  if (auto* T = dynamic_cast<TChartAxisTitle*>(Source)) FPosition = T->FPosition;
  TCustomTextShape::Assign(Source);
}

String TChartAxisTitle::GetCaption() const {
  const String& T = GetText();
  const std::size_t P = T.find(ZelLineSeparator);
  return P == String::npos ? T : T.substr(0, P);
}

void TChartAxisTitle::SetPosition(TAxisTitlePosition Value) {
  if (FPosition == Value) return;
  FPosition = Value;
  Repaint();
}

bool TChartAxisTitle::Clicked(TPointF P) const {
  const TPointF Rounded(static_cast<float>(Round(P.X)), static_cast<float>(Round(P.Y)));
  return GetVisible() && !GetCaption().empty() && ClickedShape(Rounded, ShapeBounds);
}

// --- back shape and labels format ---

TAxisBackShape::TAxisBackShape(TCustomZelPanel* AOwner) : TZelShape(AOwner) {
  FVisible = false;
  DefaultVisible = false;
  if (TZelShadow* Sh = GetShadow()) Sh->InitValues(false, Sh->GetColor(), Sh->GetSize());
  FDraw3D = true;
}

TAxisLabelsFormat::TAxisLabelsFormat(TCustomZelPanel* AOwner) : TCustomTextShape(AOwner) {
  InitTextAlignment(TAlignment::taCenter);
  InitTransparent(true);
  IOwnerShows = true;  // the axis publishes the visibility as Labels
}

// --- items ---

TAxisItem::~TAxisItem() { FreeAndNil(FFormat); }

TCustomTextShape* TAxisItem::GetFormat() {
  if (!FFormat) {
    TChartAxis* Axis = IAxisItems ? IAxisItems->GetAxis() : nullptr;
    FFormat = Create<TCustomTextShape>(Axis ? Axis->GetParentChart() : nullptr);
    FFormat->InitTransparent(true);
  }
  return FFormat;
}

void TAxisItem::SetFormat(TCustomTextShape* Value) {
  if (!Value)
    FreeAndNil(FFormat);
  else
    GetFormat()->Assign(Value);
}

TCustomTextShape* TAxisItem::ActiveFormat() const {
  if (FFormat) return FFormat;
  return IAxisItems->GetFormat();
}

namespace {
void InvalidateChartOf(TAxisItems* Items) {
  if (!Items || !Items->GetAxis()) return;
  if (TCustomAxisPanel* P = Items->GetAxis()->GetParentChart())
    if (!P->IsDestroying()) P->Invalidate();
}
}  // namespace

void TAxisItem::SetText(const String& Value) {
  if (FText == Value) return;
  FText = Value;
  InvalidateChartOf(IAxisItems);
}

void TAxisItem::SetValue(double Value) {
  if (FValue == Value) return;
  FValue = Value;
  InvalidateChartOf(IAxisItems);
}

TAxisItems::TAxisItems(TChartAxis* AAxis) : TObjectList<TAxisItem>(true), IAxis(AAxis) {
  FFormat = Create<TAxisLabelsFormat>(AAxis ? AAxis->GetParentChart() : nullptr);
}

TAxisItems::~TAxisItems() {
  Clear();
  FreeAndNil(FSelected);
  FreeAndNil(FFormat);
}

TAxisItem* TAxisItems::InternalAdd(double Value, const String& Text) {
  auto* Item = new TAxisItem(this);
  Item->FValue = Value;
  Item->FText = Text;
  TObjectList<TAxisItem>::Add(Item);
  return Item;
}

TAxisItem* TAxisItems::Add(double Value, const String& Text) {
  FAuto = false;
  TAxisItem* Item = InternalAdd(Value, Text);
  InvalidateChartOf(this);
  return Item;
}

void TAxisItems::SetFormat(TAxisLabelsFormat* Value) {
  if (Value) FFormat->Assign(Value);
}

TZelSelected* TAxisItems::GetSelected() {
  if (!FSelected) {
    TCustomAxisPanel* Chart = IAxis ? IAxis->GetParentChart() : nullptr;
    FSelected = Create<TZelSelected>(static_cast<TObject*>(Chart));
    if (TZelHover* Hover = FSelected->GetHover()) {
      Hover->SetParent(Chart);
      Hover->Assign(FFormat);
      TFontStyles Styles = Hover->GetFont()->GetStyle();
      Hover->GetFont()->SetStyle(Styles.Include(TFontStyle::fsBold));
    }
  }
  return FSelected;
}

void TAxisItems::CopyFrom(TAxisItems* Source) {
  if (!Source || Source == this) return;
  FFormat->Assign(Source->FFormat);
  if (Source->FSelected) GetSelected()->Assign(Source->FSelected);
  if (!Source->FAuto) {
    Clear();
    FAuto = false;
    for (std::int32_t I = 0; I < Source->GetCount(); ++I) {
      TAxisItem* S = Source->Get(I);
      TAxisItem* Item = InternalAdd(S->FValue, S->FText);
      if (S->FFormat) Item->GetFormat()->Assign(S->FFormat);
    }
  }
}

void TAxisItems::InitCalcRect() {
  TCustomAxisPanel* Chart = IAxis->GetParentChart();
  TCanvas3D* C = Chart ? Chart->GetCanvas() : nullptr;
  if (!C) return;
  C->AssignFont(FFormat->GetFont());
  IHeight = C->TextHeight("W");
  const float P = static_cast<float>(IAxis->GetPosLabels());
  if (IAxis->GetHorizontal()) {
    if (IAxis->GetOtherSide()) {
      IRect.Bottom = P;
      IRect.Top = P - IHeight;
    } else {
      IRect.Top = P;
      IRect.Bottom = P + IHeight;
    }
  } else if (IAxis->GetOtherSide()) {
    IRect.Left = P;
  } else {
    IRect.Right = P;
  }
}

TRectF TAxisItems::RectOf(std::int32_t Index) {
  TAxisItem* Item = Get(Index);
  TCustomAxisPanel* Chart = IAxis->GetParentChart();
  TCanvas3D* C = Chart ? Chart->GetCanvas() : nullptr;
  // The text the item shows (a custom item with no text of its own shows its value).
  const std::int32_t W = C ? C->TextWidth(IAxis->ItemText(Item)) : 0;
  const float Pos = static_cast<float>(Item->GetLabelPos());
  TRectF R = IRect;
  if (IAxis->GetHorizontal()) {
    R.Left = Pos - W / 2.0f;
    R.Right = R.Left + W;
  } else {
    R.Top = Pos - IHeight / 2.0f;
    R.Bottom = R.Top + IHeight;
    if (IAxis->GetOtherSide())
      R.Right = R.Left + W;
    else
      R.Left = R.Right - W;
  }
  if (C && Chart->GetView3D()) {
    const TPointF P = C->Calculate3DPosition(R.Left, R.Top, static_cast<float>(IAxis->IZPos));
    R = TRectF(P.X, P.Y, P.X + R.Width(), P.Y + R.Height());
  }
  return R;
}

TChartAxis::TLabelTexts TChartAxis::ItemsLabelTexts() {
  return FAxisItems->GetAuto() ? ILabelTexts : CustomItemsLabelTexts();
}

String TChartAxis::ItemText(TAxisItem* Item) {
  return FAxisItems->GetAuto() ? Item->GetText() : CustomItemText(Item);
}

std::vector<TRectF> TChartAxis::LabelItemRects() {
  std::vector<TRectF> Result;
  if (FAxisItems->GetCount() == 0) return Result;
  FAxisItems->InitCalcRect();
  // The texts are measured as the drawing shows them.
  TValueScope<TLabelTexts> Texts(ILabelTexts, ItemsLabelTexts());
  for (std::int32_t I = 0; I < FAxisItems->GetCount(); ++I) Result.push_back(FAxisItems->RectOf(I));
  return Result;
}

// ---------------------------------------------------------------------------------------------
// Published properties

// The whole text is written (Caption, its first line, is read); the angle against the one the
// axis gave the title.
ZEL_BEGIN_PUBLISHED(TChartAxisTitle)
  P::Prop("Angle", &Self::GetAngle, &Self::SetGivenAngle, &Self::IsAngleStored),
  P::Prop("Caption", &Self::GetCaption, &Self::SetCaption, Never),
  P::Prop("Position", &Self::GetPosition, &Self::SetPosition, Default(TAxisTitlePosition::tpCenter)),
  P::Prop("Text", &Self::GetText, &Self::SetText, Default(String())),
ZEL_END_PUBLISHED

}  // namespace zel
