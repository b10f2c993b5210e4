// The axis object itself: construction, copying, destruction, pens, label settings and the plain
// property setters.
#include "zelgraph/engine/Axis.h"

#include <cmath>

#include "platform/Filer.h"
#include "platform/Scope.h"
#include "zelgraph/canvas/Canvas3D.h"
#include "zelgraph/canvas/Font.h"
#include "zelgraph/constants/Constants.h"
#include "zelgraph/engine/AxisItems.h"
#include "zelgraph/engine/AxisPanel.h"
#include "zelgraph/engine/Series.h"
#include "zelgraph/engine/SeriesList.h"

namespace zel {

ZEL_DEFINE_CLASS(TChartAxisPen, TZelPen)
ZEL_DEFINE_CLASS(TTicks, TDarkGrayPen)
ZEL_DEFINE_CLASS(TAxisGridPen, TZelPen)
ZEL_DEFINE_CLASS(TAxisLabels, TPersistent)
ZEL_DEFINE_CLASS(TChartAxis, TCollectionItem)
ZEL_DEFINE_CLASS(TChartDepthAxis, TChartAxis)

// --- pens ---

TChartAxisPen::TChartAxisPen(TNotifyEvent OnChange) : TZelPen(std::move(OnChange)) {
  InitWidth(2);
  InitEndStyle(TPenEndStyle::esFlat);
}

void TChartAxisPen::Assign(TPersistent* Source) {
  if (auto* P = dynamic_cast<TChartAxisPen*>(Source)) FLineMode = P->FLineMode;
  TZelPen::Assign(Source);
}

void TChartAxisPen::SetLineMode(TPenLineMode Value) {
  if (FLineMode == Value) return;
  FLineMode = Value;
  Changed();
}

TAxisGridPen::TAxisGridPen(TNotifyEvent OnChange) : TZelPen(std::move(OnChange)) { InitColor(0xFFC0C0C0); }

void TAxisGridPen::Assign(TPersistent* Source) {
  if (auto* G = dynamic_cast<TAxisGridPen*>(Source)) {
    FCentered = G->FCentered;
    FDrawAlways = G->FDrawAlways;
    FDrawEvery = G->FDrawEvery;
    FZ = G->FZ;
  }
  TZelPen::Assign(Source);
}

void TAxisGridPen::SetCentered(bool Value) {
  if (FCentered == Value) return;
  FCentered = Value;
  Changed();
}

void TAxisGridPen::SetDrawAlways(bool Value) {
  if (FDrawAlways == Value) return;
  FDrawAlways = Value;
  Changed();
}

void TAxisGridPen::SetDrawEvery(std::int32_t Value) {
  if (FDrawEvery == Value) return;
  FDrawEvery = Value;
  Changed();
}

void TAxisGridPen::SetZPosition(double Value) {
  if (FZ == Value) return;
  FZ = Value;
  Changed();
}

void TAxisGridPen::DefineProperties(TFiler* Filer) {
  TZelPen::DefineProperties(Filer);
  Filer->DefineProperty(
      "ZZero", [this](TReader* Reader) { if (Reader->ReadBoolean()) FZ = 0; },
      [](TWriter* Writer) { Writer->WriteBoolean(true); }, IDefaultZ != 0 && FZ == 0);
}

// --- label settings ---

TAxisLabels::TAxisLabels(TChartAxis* AAxis) : Axis(AAxis) {
  FAutomatic = Create<TAutomaticText>([AAxis](TObject* Sender) { AAxis->CanvasChanged(Sender); });
  FAutomatic->SetTrim(false);
}

TAxisLabels::~TAxisLabels() { FreeAndNil(FAutomatic); }

void TAxisLabels::Assign(TPersistent* Source) {
  auto* L = dynamic_cast<TAxisLabels*>(Source);
  if (!L) {
    TPersistent::Assign(Source);
    return;
  }
  FAlign = L->FAlign;
  FAlternate = L->FAlternate;
  FAngle = L->FAngle;
  FAutomatic->Assign(L->FAutomatic);
  FBehind = L->FBehind;
  FGridIgnoresSize = L->FGridIgnoresSize;
  FOnAxis = L->FOnAxis;
  FSeparation = L->FSeparation;
  FSize = L->FSize;
  FStyle = L->FStyle;
  FExponent = L->FExponent;
  FMultiLine = L->FMultiLine;
  FRoundFirst = L->FRoundFirst;
  FPosition = L->FPosition;
}

void TAxisLabels::Changed() { Axis->CanvasChanged(this); }

namespace {
template <typename T>
bool StoreIfChanged(T& Field, T Value) {
  if (Field == Value) return false;
  Field = Value;
  return true;
}
}  // namespace

void TAxisLabels::SetAlign(TAxisLabelAlign Value) {
  if (StoreIfChanged(FAlign, Value)) Changed();
}
void TAxisLabels::SetAlternate(bool Value) {
  if (StoreIfChanged(FAlternate, Value)) Changed();
}
void TAxisLabels::SetAngle(std::int32_t Value) {
  std::int32_t A = Value % 360;
  if (A < 0) A += 360;
  if (StoreIfChanged(FAngle, A)) Changed();
}
void TAxisLabels::SetAutomatic(TAutomaticText* Value) {
  if (Value) FAutomatic->Assign(Value);
}
void TAxisLabels::SetBehind(bool Value) {
  if (StoreIfChanged(FBehind, Value)) Changed();
}
void TAxisLabels::SetExponent(bool Value) {
  if (StoreIfChanged(FExponent, Value)) Changed();
}
void TAxisLabels::SetGridIgnoresLabelSize(bool Value) {
  if (StoreIfChanged(FGridIgnoresSize, Value)) Changed();
}
void TAxisLabels::SetMultiLine(bool Value) {
  if (StoreIfChanged(FMultiLine, Value)) Changed();
}
void TAxisLabels::SetOnAxis(bool Value) {
  if (StoreIfChanged(FOnAxis, Value)) Changed();
}
void TAxisLabels::SetRoundFirst(bool Value) {
  if (StoreIfChanged(FRoundFirst, Value)) Changed();
}
void TAxisLabels::SetSeparation(std::int32_t Value) {
  if (Value < 0) throw AxisException(ZelMsg_AxisLabelSep);
  if (StoreIfChanged(FSeparation, Value)) Changed();
}
void TAxisLabels::SetSize(std::int32_t Value) {
  if (StoreIfChanged(FSize, Value)) Changed();
}
void TAxisLabels::SetStyle(TAxisLabelStyle Value) {
  if (StoreIfChanged(FStyle, Value)) Changed();
}
void TAxisLabels::SetPosition(TAxisLabelsPosition Value) {
  if (StoreIfChanged(FPosition, Value)) Changed();
}

bool TAxisLabels::GetVisible() const { return Axis->GetItems()->GetFormat()->GetVisible(); }
void TAxisLabels::SetVisible(bool Value) { Axis->GetItems()->GetFormat()->SetVisible(Value); }
TZelFont* TAxisLabels::GetFont() const { return Axis->GetItems()->GetFormat()->GetFont(); }
void TAxisLabels::SetFont(TZelFont* Value) { Axis->GetItems()->GetFormat()->SetFont(Value); }
TAxisLabelsFormat* TAxisLabels::GetFormat() const { return Axis->GetItems()->GetFormat(); }
void TAxisLabels::SetFormat(TAxisLabelsFormat* Value) {
  if (Value) Axis->GetItems()->GetFormat()->Assign(Value);
}
TZelSelected* TAxisLabels::GetSelected() const { return Axis->GetItems()->GetSelected(); }

// --- the axis ---

namespace {
// The collection an axis made for Chart joins: none without a chart, and none while the chart is
// still making its six standard axes (they are not items of its custom-axes collection).
TCollection* JoinedCollection(TCustomAxisPanel* Chart, TCollection* Collection) {
  if (!Chart) return nullptr;
  if (Collection && Collection == Chart->GetCustomAxes() && Chart->GetAxes() && Chart->GetAxes()->GetCount() < 6)
    return nullptr;
  return Collection;
}
}  // namespace

TChartAxis::TChartAxis(TCustomAxisPanel* Chart, TCollection* Collection)
    : TCollectionItem(JoinedCollection(Chart, Collection)) {
  Init(Chart);
}

TChartAxis::TChartAxis(TCollection* Collection) : TCollectionItem(Collection) {
  TPersistent* Owner = Collection ? Collection->GetOwner() : nullptr;
  if (auto* MasterAxis = dynamic_cast<TChartAxis*>(Owner)) {
    Init(MasterAxis->GetParentChart());
    FMaster = MasterAxis;
  } else {
    Init(dynamic_cast<TCustomAxisPanel*>(Owner));
    ChartAddAxis();
  }
}

TChartAxis::TChartAxis(TCustomAxisPanel* Chart)
    : TCollectionItem(Chart ? static_cast<TCollection*>(Chart->GetCustomAxes()) : nullptr) {
  Init(Chart);
  ChartAddAxis();
}

void TChartAxis::Init(TCustomAxisPanel* Chart) {
  FParentChart = Chart;
  SetCalcPosValue();
  auto Changed = [this](TObject* Sender) { CanvasChanged(Sender); };
  FAxisItems = new TAxisItems(this);
  FAxisValuesFormat = ZelMsg_DefValueFormat;
  FLabels = Create<TAxisLabels>(this);
  FTicks = Create<TTicks>(Changed);
  FMinorTicks = Create<TTicks>(Changed);
  FTicksInner = Create<TTicks>(Changed);
  FGrid = Create<TAxisGridPen>(Changed);
  FMinorGrid = Create<TZelHiddenPen>(Changed);
  FAxis = Create<TChartAxisPen>(Changed);
}

TChartAxis::~TChartAxis() {
  // First, while the axis is whole: whoever keeps a pointer to it forgets it.
  if (FFreeNotifier) {
    FFreeNotifier->Free();
    FFreeNotifier = nullptr;
  }
  FreeAndNil(FShape);
  if (FSubAxes) {
    TChartCustomAxes* S = FSubAxes;
    FSubAxes = nullptr;
    S->Free();
  }
  FreeAndNil(FMinorTicks);
  FreeAndNil(FTicks);
  FreeAndNil(FTicksInner);
  FreeAndNil(FGrid);
  FreeAndNil(FMinorGrid);
  FreeAndNil(FAxis);
  FreeAndNil(FAxisTitle);
  delete FAxisItems;
  FAxisItems = nullptr;
  FreeAndNil(FLabels);
  ChartRemoveAxis();
  ISeriesList.clear();
  FreeAndNil(Transform);
}

void TChartAxis::Assign(TPersistent* Source) {
  auto* A = dynamic_cast<TChartAxis*>(Source);
  if (!A) {
    TCollectionItem::Assign(Source);
    return;
  }
  FAxis->Assign(A->FAxis);
  FAxisItems->CopyFrom(A->FAxisItems);
  FLabels->Assign(A->FLabels);
  FTicks->Assign(A->FTicks);
  FTicksInner->Assign(A->FTicksInner);
  FTitleSize = A->FTitleSize;
  FGrid->Assign(A->FGrid);
  FMinorTicks->Assign(A->FMinorTicks);
  FMinorGrid->Assign(A->FMinorGrid);
  FTickLength = A->FTickLength;
  FMinorTickLength = A->FMinorTickLength;
  FMinorTickCount = A->FMinorTickCount;
  FTickInnerLength = A->FTickInnerLength;
  FAxisValuesFormat = A->FAxisValuesFormat;
  FDesiredIncrement = A->FDesiredIncrement;
  FMaximumValue = A->FMaximumValue;
  FMaximumOffset = A->FMaximumOffset;
  FMaximumRound = A->FMaximumRound;
  FMinimumValue = A->FMinimumValue;
  FMinimumOffset = A->FMinimumOffset;
  FMinimumRound = A->FMinimumRound;
  FAutomatic = A->FAutomatic;
  FAutomaticMaximum = A->FAutomaticMaximum;
  FAutomaticMinimum = A->FAutomaticMinimum;
  SetTitle(A->FAxisTitle);
  FDateTimeFormat = A->FDateTimeFormat;
  FGrid->SetCentered(A->FGrid->GetCentered());
  FLogarithmic = A->FLogarithmic;
  FLogarithmicBase = A->FLogarithmicBase;
  FInverted = A->FInverted;
  FExactDateTime = A->FExactDateTime;
  FTickOnLabelsOnly = A->FTickOnLabelsOnly;
  IDepthAxis = A->IDepthAxis;
  FStartPosition = A->FStartPosition;
  FEndPosition = A->FEndPosition;
  FPositionPercent = A->FPositionPercent;
  FPosUnits = A->FPosUnits;
  FVisible = A->FVisible;
  FHorizontal = A->FHorizontal;
  FOtherSide = A->FOtherSide;
  SetShape(A->FShape);
  SetSubAxes(A->FSubAxes);
  SetCalcPosValue();
}

bool TChartAxis::IsCustom() const { return FMaster != nullptr || ChartAxisIndex() >= 6; }

void TChartAxis::CanvasChanged(TObject*) { Invalidate(); }

void TChartAxis::Invalidate() {
  if (FParentChart && !FParentChart->IsDestroying()) FParentChart->Invalidate();
}

void TChartAxis::SetBooleanProperty(bool& Variable, bool Value) {
  if (Variable == Value) return;
  Variable = Value;
  Invalidate();
}

void TChartAxis::SetIntegerProperty(std::int32_t& Variable, std::int32_t Value) {
  if (Variable == Value) return;
  Variable = Value;
  Invalidate();
}

void TChartAxis::SetDoubleProperty(double& Variable, double Value) {
  if (Variable == Value) return;
  Variable = Value;
  Invalidate();
}

void TChartAxis::SetStringProperty(String& Variable, const String& Value) {
  if (Variable == Value) return;
  Variable = Value;
  Invalidate();
}

// --- lazily created sub-objects ---

TChartAxisTitle* TChartAxis::GetTitle() {
  if (!FAxisTitle) {
    FAxisTitle = Create<TChartAxisTitle>(FParentChart);
    TitleFollowsSide();
  }
  return FAxisTitle;
}

void TChartAxis::TitleFollowsSide() {
  if (!FAxisTitle) return;
  // Across a vertical axis, reading outwards; along a horizontal one.
  const std::int32_t A = FHorizontal ? 0 : FOtherSide ? 270 : 90;
  if (!FAxisTitle->IAngleGiven && FAxisTitle->GetAngle() == FAxisTitle->IDefaultAngle) FAxisTitle->SetAngle(A);
  FAxisTitle->IDefaultAngle = A;
}

void TChartAxis::SetTitle(TChartAxisTitle* Value) {
  if (!Value) {
    FreeAndNil(FAxisTitle);
  } else {
    GetTitle()->Assign(Value);
  }
}

TAxisBackShape* TChartAxis::GetShape() {
  if (!FShape) FShape = Create<TAxisBackShape>(FParentChart);
  return FShape;
}

void TChartAxis::SetShape(TAxisBackShape* Value) {
  if (!Value) {
    FreeAndNil(FShape);
  } else {
    GetShape()->Assign(Value);
  }
}

TChartCustomAxes* TChartAxis::GetSubAxes() {
  if (!FSubAxes) FSubAxes = Create<TChartCustomAxes>(this);
  return FSubAxes;
}

void TChartAxis::SetSubAxes(TChartCustomAxes* Value) {
  if (!Value) {
    if (FSubAxes) {
      TChartCustomAxes* S = FSubAxes;
      FSubAxes = nullptr;
      S->Free();
    }
  } else {
    GetSubAxes()->Assign(Value);
  }
}

void TChartAxis::SetItems(TAxisItems* Value) {
  if (Value) FAxisItems->CopyFrom(Value);
}

// --- plain setters ---

void TChartAxis::SetAutomatic(bool Value) {
  SetBooleanProperty(FAutomatic, Value);
  if (!ReadingStoredValue()) {
    FAutomaticMinimum = Value;
    FAutomaticMaximum = Value;
  }
}

void TChartAxis::SetAutomaticMaximum(bool Value) {
  SetBooleanProperty(FAutomaticMaximum, Value);
  if (ReadingStoredValue()) return;
  if (!Value)
    FAutomatic = false;
  else if (FAutomaticMinimum)
    FAutomatic = true;
}

void TChartAxis::SetAutomaticMinimum(bool Value) {
  SetBooleanProperty(FAutomaticMinimum, Value);
  if (ReadingStoredValue()) return;
  if (!Value)
    FAutomatic = false;
  else if (FAutomaticMaximum)
    FAutomatic = true;
}

void TChartAxis::SetAxisValuesFormat(const String& Value) { SetStringProperty(FAxisValuesFormat, Value); }
bool TChartAxis::IsAxisValuesFormatStored() const { return FAxisValuesFormat != ZelMsg_DefValueFormat; }
void TChartAxis::SetDateTimeFormat(const String& Value) { SetStringProperty(FDateTimeFormat, Value); }
void TChartAxis::SetExactDateTime(bool Value) { SetBooleanProperty(FExactDateTime, Value); }

void TChartAxis::SetDesiredIncrement(double Value) {
  if (Value < 0) throw AxisException(ZelMsg_AxisIncrementNeg);
  SetDoubleProperty(FDesiredIncrement, Value);
}

void TChartAxis::SetInverted(bool Value) {
  if (FMaster) FMaster->FInverted = Value;
  SetBooleanProperty(FInverted, Value);
}

void TChartAxis::SetHorizontal(bool Value) {
  SetBooleanProperty(FHorizontal, Value);
  SetCalcPosValue();
  TitleFollowsSide();
}

void TChartAxis::SetOtherSide(bool Value) {
  SetBooleanProperty(FOtherSide, Value);
  TitleFollowsSide();
}

void TChartAxis::InitHorizontal(bool Value) {
  SetHorizontal(Value);
  FDefaultHorizontal = Value;
}

void TChartAxis::InitOtherSide(bool Value) {
  SetOtherSide(Value);
  FDefaultOtherSide = Value;
}

void TChartAxis::SetLogarithmic(bool Value) {
  if (Value) {
    AdjustMaxMin();
    if (IMinimum < 0 || IMaximum < 0) throw AxisException(ZelMsg_AxisLogNotPositive);
  }
  // A master that refuses takes this axis' flag back with it: a sub-axis left logarithmic under
  // a linear master would be written into a stream that cannot be read.
  const bool Old = FLogarithmic;
  TUndoOnFailure Undo([this, Old] { FLogarithmic = Old; });
  SetBooleanProperty(FLogarithmic, Value);
  if (FMaster) FMaster->SetLogarithmic(Value);
  SetCalcPosValue();
}

void TChartAxis::SetLogarithmicBase(double Value) {
  // A NaN base is as unusable as 1 or a negative one.
  if (Value == 1 || !(Value > 0)) throw AxisException(ZelMsg_AxisLogBase);
  SetDoubleProperty(FLogarithmicBase, Value);
}

void TChartAxis::SetMaximum(double Value) {
  if (!ChartReading() && Value < FMinimumValue) throw AxisException(ZelMsg_AxisMaxMin);
  InternalSetMaximum(Value);
}

void TChartAxis::SetMinimum(double Value) {
  if (!ChartReading() && Value > FMaximumValue) throw AxisException(ZelMsg_AxisMinMax);
  InternalSetMinimum(Value);
}

void TChartAxis::InternalSetMaximum(double Value) {
  if (FMaximumValue == Value) return;
  FMaximumValue = Value;
  ChartChangedAxisScale();
}

void TChartAxis::InternalSetMinimum(double Value) {
  if (FMinimumValue == Value) return;
  FMinimumValue = Value;
  ChartChangedAxisScale();
}

void TChartAxis::SetMaximumOffset(std::int32_t Value) { SetIntegerProperty(FMaximumOffset, Value); }
void TChartAxis::SetMinimumOffset(std::int32_t Value) { SetIntegerProperty(FMinimumOffset, Value); }
void TChartAxis::SetMaximumRound(bool Value) { SetBooleanProperty(FMaximumRound, Value); }
void TChartAxis::SetMinimumRound(bool Value) { SetBooleanProperty(FMinimumRound, Value); }
void TChartAxis::SetMinorTickCount(std::int32_t Value) { SetIntegerProperty(FMinorTickCount, Value); }
void TChartAxis::SetMinorTickLength(std::int32_t Value) { SetIntegerProperty(FMinorTickLength, Value); }
void TChartAxis::SetTickLength(std::int32_t Value) { SetIntegerProperty(FTickLength, Value); }
void TChartAxis::SetTickInnerLength(std::int32_t Value) { SetIntegerProperty(FTickInnerLength, Value); }
void TChartAxis::SetTickOnLabelsOnly(bool Value) { SetBooleanProperty(FTickOnLabelsOnly, Value); }
void TChartAxis::SetStartPosition(double Value) { SetDoubleProperty(FStartPosition, Value); }
void TChartAxis::SetEndPosition(double Value) { SetDoubleProperty(FEndPosition, Value); }
void TChartAxis::SetPositionPercent(double Value) { SetDoubleProperty(FPositionPercent, Value); }

void TChartAxis::SetPositionUnits(TAxisPosUnits Value) {
  if (FPosUnits == Value) return;
  FPosUnits = Value;
  Invalidate();
}

void TChartAxis::SetTitleSize(std::int32_t Value) { SetIntegerProperty(FTitleSize, Value); }
void TChartAxis::SetVisible(bool Value) { SetBooleanProperty(FVisible, Value); }

void TChartAxis::SetZPosition(double Value) {
  SetDoubleProperty(FZPosition, Value);
  if (FZPosition == 0) FZPosition = 0.01;
}

void TChartAxis::InitZPosition(double Value) {
  SetZPosition(Value);
  FDefaultZPosition = FZPosition;
}

// A negative depth, or one just under the default, draws the axis elsewhere, and so does any
// depth of a depth axis (a share of the chart's height): reading would leave the depth the axis
// is made with.
bool TChartAxis::IsZPositionStored() const { return FZPosition != FDefaultZPosition; }

// --- label settings under the axis' names ---

bool TChartAxis::GetLabels() const { return FLabels->GetVisible(); }
void TChartAxis::SetLabels(bool Value) { FLabels->SetVisible(Value); }
TAxisLabelAlign TChartAxis::GetLabelsAlign() const { return FLabels->GetAlign(); }
void TChartAxis::SetLabelsAlign(TAxisLabelAlign Value) { FLabels->SetAlign(Value); }
bool TChartAxis::GetLabelsAlternate() const { return FLabels->GetAlternate(); }
void TChartAxis::SetLabelsAlternate(bool Value) { FLabels->SetAlternate(Value); }
std::int32_t TChartAxis::GetLabelsAngle() const { return FLabels->GetAngle(); }
void TChartAxis::SetLabelsAngle(std::int32_t Value) { FLabels->SetAngle(Value); }
bool TChartAxis::GetLabelsBehind() const { return FLabels->GetBehind(); }
void TChartAxis::SetLabelsBehind(bool Value) { FLabels->SetBehind(Value); }
bool TChartAxis::GetLabelsExponent() const { return FLabels->GetExponent(); }
void TChartAxis::SetLabelsExponent(bool Value) { FLabels->SetExponent(Value); }
TZelFont* TChartAxis::GetLabelsFont() const { return FLabels->GetFont(); }
void TChartAxis::SetLabelsFont(TZelFont* Value) { FLabels->SetFont(Value); }
TAxisLabelsFormat* TChartAxis::GetLabelsFormat() const { return FLabels->GetFormat(); }
void TChartAxis::SetLabelsFormat(TAxisLabelsFormat* Value) { FLabels->SetFormat(Value); }
bool TChartAxis::GetLabelsGridIgnoresLabelSize() const { return FLabels->GetGridIgnoresLabelSize(); }
void TChartAxis::SetLabelsGridIgnoresLabelSize(bool Value) { FLabels->SetGridIgnoresLabelSize(Value); }
bool TChartAxis::GetLabelsMultiLine() const { return FLabels->GetMultiLine(); }
void TChartAxis::SetLabelsMultiLine(bool Value) { FLabels->SetMultiLine(Value); }
bool TChartAxis::GetLabelsOnAxis() const { return FLabels->GetOnAxis(); }
void TChartAxis::SetLabelsOnAxis(bool Value) { FLabels->SetOnAxis(Value); }
std::int32_t TChartAxis::GetLabelsSeparation() const { return FLabels->GetSeparation(); }
void TChartAxis::SetLabelsSeparation(std::int32_t Value) { FLabels->SetSeparation(Value); }
std::int32_t TChartAxis::GetLabelsSize() const { return FLabels->GetSize(); }
void TChartAxis::SetLabelsSize(std::int32_t Value) { FLabels->SetSize(Value); }
TAxisLabelStyle TChartAxis::GetLabelStyle() const { return FLabels->GetStyle(); }
void TChartAxis::SetLabelStyle(TAxisLabelStyle Value) { FLabels->SetStyle(Value); }
bool TChartAxis::GetRoundFirstLabel() const { return FLabels->GetRoundFirst(); }
void TChartAxis::SetRoundFirstLabel(bool Value) { FLabels->SetRoundFirst(Value); }
TAxisLabelsPosition TChartAxis::GetLabelsPosition() const { return FLabels->GetPosition(); }
void TChartAxis::SetLabelsPosition(TAxisLabelsPosition Value) { FLabels->SetPosition(Value); }

// --- depth axis ---

TChartDepthAxis::TChartDepthAxis(TCustomAxisPanel* Chart, TCollection* Collection) : TChartAxis(Chart, Collection) {
  IDepthAxis = true;
  FVisible = false;
  SetCalcPosValue();
}

void TChartDepthAxis::SetLabelsAsSeriesTitles(bool Value) { SetBooleanProperty(FLabelsAsTitles, Value); }

void TChartDepthAxis::SetInverted(bool Value) {
  TChartAxis::SetInverted(Value);
  // The depth axis and the top depth axis are the list's entries 4 and 5.
  TChartAxis* Depth = ChartAxisAt(4);
  TChartAxis* DepthTop = ChartAxisAt(5);
  if (this == Depth && DepthTop)
    DepthTop->FInverted = FInverted;
  else if (this == DepthTop && Depth)
    Depth->FInverted = FInverted;
}

// ---------------------------------------------------------------------------------------------
// Published properties

ZEL_BEGIN_PUBLISHED(TChartAxisPen)
  P::Prop("LineMode", &Self::GetLineMode, &Self::SetLineMode, Default(TPenLineMode::lmLine)),
ZEL_END_PUBLISHED

ZEL_BEGIN_PUBLISHED(TAxisGridPen)
  P::Prop("Centered", &Self::GetCentered, &Self::SetCentered, Default(false)),
  P::Prop("DrawAlways", &Self::GetDrawAlways, &Self::SetDrawAlways, Default(false)),
  P::Prop("DrawEvery", &Self::GetDrawEvery, &Self::SetDrawEvery, Default(1)),
  P::Prop("ZPosition", &Self::GetZPosition, &Self::SetZPosition, &Self::IsZStored),
ZEL_END_PUBLISHED

// The label settings travel under the axis' own names (the shared label format's other settings
// are not written).
ZEL_BEGIN_PUBLISHED(TChartAxis)
  P::Prop("Automatic", &Self::GetAutomatic, &Self::SetAutomatic, Default(true)),
  P::Prop("AutomaticMaximum", &Self::GetAutomaticMaximum, &Self::SetAutomaticMaximum, Default(true)),
  P::Prop("AutomaticMinimum", &Self::GetAutomaticMinimum, &Self::SetAutomaticMinimum, Default(true)),
  P::Obj("Axis", &Self::GetAxis),
  P::Prop("AxisValuesFormat", &Self::GetAxisValuesFormat, &Self::SetAxisValuesFormat, &Self::IsAxisValuesFormatStored),
  P::Prop("DateTimeFormat", &Self::GetDateTimeFormat, &Self::SetDateTimeFormat, Default(String())),
  P::Prop("EndPosition", &Self::GetEndPosition, &Self::SetEndPosition, Default(100.0)),
  P::Prop("ExactDateTime", &Self::GetExactDateTime, &Self::SetExactDateTime, Default(true)),
  P::Obj("Grid", &Self::GetGrid),
  // The grid's own Centered is what is written.
  P::Prop("GridCentered", &Self::GetGridCentered, &Self::SetGridCentered, Never),
  P::Prop("Horizontal", &Self::GetHorizontal, &Self::SetHorizontal, &Self::IsHorizontalStored),
  P::Prop("Increment", &Self::GetIncrement, &Self::SetIncrement, Default(0.0)),
  P::Prop("Inverted", &Self::GetInverted, &Self::SetInverted, Default(false)),
  P::Prop("Labels", &Self::GetLabels, &Self::SetLabels, Default(true)),
  P::Prop("LabelsAlign", &Self::GetLabelsAlign, &Self::SetLabelsAlign, Default(TAxisLabelAlign::alDefault)),
  P::Prop("LabelsAlternate", &Self::GetLabelsAlternate, &Self::SetLabelsAlternate, Default(false)),
  P::Prop("LabelsAngle", &Self::GetLabelsAngle, &Self::SetLabelsAngle, Default(0)),
  P::Prop("LabelsBehind", &Self::GetLabelsBehind, &Self::SetLabelsBehind, Default(false)),
  P::Prop("LabelsExponent", &Self::GetLabelsExponent, &Self::SetLabelsExponent, Default(false)),
  // The labels' font is written inside LabelsFormat; LabelsFont is read, not written.
  P::Obj("LabelsFont", &Self::GetLabelsFont, &Self::GetLabelsFont, [](Self*) { return false; }),
  P::Obj("LabelsFormat", &Self::GetLabelsFormat),
  P::Prop("LabelsGridIgnoresLabelSize", &Self::GetLabelsGridIgnoresLabelSize, &Self::SetLabelsGridIgnoresLabelSize, Default(false)),
  P::Prop("LabelsMultiLine", &Self::GetLabelsMultiLine, &Self::SetLabelsMultiLine, Default(false)),
  P::Prop("LabelsOnAxis", &Self::GetLabelsOnAxis, &Self::SetLabelsOnAxis, Default(true)),
  P::Prop("LabelsPosition", &Self::GetLabelsPosition, &Self::SetLabelsPosition, Default(TAxisLabelsPosition::lpAtTick)),
  P::Prop("LabelsSeparation", &Self::GetLabelsSeparation, &Self::SetLabelsSeparation, Default(10)),
  P::Prop("LabelsSize", &Self::GetLabelsSize, &Self::SetLabelsSize, Default(0)),
  P::Prop("LabelStyle", &Self::GetLabelStyle, &Self::SetLabelStyle, Default(TAxisLabelStyle::talAuto)),
  P::Prop("Logarithmic", &Self::GetLogarithmic, &Self::SetLogarithmic, Default(false)),
  P::Prop("LogarithmicBase", &Self::GetLogarithmicBase, &Self::SetLogarithmicBase, Default(10.0)),
  P::Prop("Maximum", &Self::GetMaximum, &Self::SetMaximum, &Self::IsMaxStored),
  P::Prop("MaximumOffset", &Self::GetMaximumOffset, &Self::SetMaximumOffset, Default(0)),
  P::Prop("MaximumRound", &Self::GetMaximumRound, &Self::SetMaximumRound, Default(false)),
  P::Prop("Minimum", &Self::GetMinimum, &Self::SetMinimum, &Self::IsMinStored),
  P::Prop("MinimumOffset", &Self::GetMinimumOffset, &Self::SetMinimumOffset, Default(0)),
  P::Prop("MinimumRound", &Self::GetMinimumRound, &Self::SetMinimumRound, Default(false)),
  P::Obj("MinorGrid", &Self::GetMinorGrid),
  P::Prop("MinorTickCount", &Self::GetMinorTickCount, &Self::SetMinorTickCount, Default(3)),
  P::Prop("MinorTickLength", &Self::GetMinorTickLength, &Self::SetMinorTickLength, Default(2)),
  P::Obj("MinorTicks", &Self::GetMinorTicks),
  P::Prop("OtherSide", &Self::GetOtherSide, &Self::SetOtherSide, &Self::IsOtherSideStored),
  P::Prop("PositionPercent", &Self::GetPositionPercent, &Self::SetPositionPercent, Default(0.0)),
  P::Prop("RoundFirstLabel", &Self::GetRoundFirstLabel, &Self::SetRoundFirstLabel, Default(true)),
  P::Prop("PositionUnits", &Self::GetPositionUnits, &Self::SetPositionUnits, Default(TAxisPosUnits::muPercent)),
  P::Obj("Shape", &Self::GetShape, &Self::ExistingShape),
  P::Prop("StartPosition", &Self::GetStartPosition, &Self::SetStartPosition, Default(0.0)),
  P::Obj("SubAxes", &Self::GetSubAxes, &Self::ExistingSubAxes),
  P::Obj("Ticks", &Self::GetTicks),
  P::Obj("TicksInner", &Self::GetTicksInner),
  P::Prop("TickInnerLength", &Self::GetTickInnerLength, &Self::SetTickInnerLength, Default(0)),
  P::Prop("TickLength", &Self::GetTickLength, &Self::SetTickLength, Default(4)),
  P::Prop("TickOnLabelsOnly", &Self::GetTickOnLabelsOnly, &Self::SetTickOnLabelsOnly, Default(true)),
  P::Obj("Title", &Self::GetTitle, &Self::ExistingTitle),
  P::Prop("TitleSize", &Self::GetTitleSize, &Self::SetTitleSize, Default(0)),
  P::Prop("UsePartnerAxis", &Self::GetUsePartnerAxis, &Self::SetUsePartnerAxis, Default(false)),
  P::Prop("Visible", &Self::GetVisible, &Self::SetVisible, Default(true)),
  P::Prop("ZPosition", &Self::GetZPosition, &Self::SetZPosition, &Self::IsZPositionStored),
  P::Event("OnDrawLabel", &Self::OnDrawLabel),
ZEL_END_PUBLISHED

ZEL_BEGIN_PUBLISHED(TChartDepthAxis)
  P::Prop("LabelsAsSeriesTitles", &Self::GetLabelsAsSeriesTitles, &Self::SetLabelsAsSeriesTitles, Default(true)),
  P::Prop("Visible", &Self::GetVisible, &Self::SetVisible, Default(false)),
ZEL_END_PUBLISHED

}  // namespace zel
