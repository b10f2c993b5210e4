#include "zelgraph/engine/Tools.h"

#include <algorithm>

#include "platform/Filer.h"
#include "zelgraph/canvas/Canvas3D.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/AxisPanel.h"
#include "zelgraph/engine/SeriesList.h"

namespace zel {

// TZelCustomTool

ZEL_DEFINE_COMPONENT_CLASS(TZelCustomTool, TCustomChartElement)

TZelCustomTool::TZelCustomTool(TComponent* AOwner) : TCustomChartElement(AOwner) {}

TZelCustomTool::~TZelCustomTool() {
  if (FParent) SetParentChart(nullptr);
}

void TZelCustomTool::SetParentChart(TCustomAxisPanel* Value) {
  if (Value == FParent) return;
  if (FParent) {
    FParent->GetTools()->Remove(this);
    if (!Value && !FParent->IsDestroying()) FParent->Invalidate();
  }
  TCustomChartElement::SetParentChart(Value);
  if (FParent) FParent->GetTools()->InternalAdd(this);
}

void TZelCustomTool::ChartEvent(TChartToolEvent) {}
void TZelCustomTool::ChartMouseEvent(TChartMouseEvent, TMouseButton, TShiftState, std::int32_t, std::int32_t) {}
void TZelCustomTool::ChartDragDropEvent(TChartDragDropEvent, TObject*, std::int32_t, std::int32_t, TDragState, bool&,
                                        TDragObject*&) {}
void TZelCustomTool::ChartKeyEvent(TChartKeyEvent, Word&, char32_t&, TShiftState) {}
void TZelCustomTool::SeriesEvent(TChartToolEvent, TChartSeries*) {}
void TZelCustomTool::WheelMouseEvent(TWheelMouseEvent, std::int32_t, std::int32_t, std::int32_t) {}

bool TZelCustomTool::SameClass(const TZelCustomTool* Tool) const {
  if (!Tool) return false;
  return InheritsFrom(Tool->ClassType()) || Tool->InheritsFrom(ClassType());
}

void TZelCustomTool::ReadState(TReader* Reader) {
  TCustomChartElement::ReadState(Reader);
  TakeChildren();
}

void TZelCustomTool::TakeChildren() { ReadChildren(TComponent::StaticClass(), 0); }

std::vector<TComponent*> TZelCustomTool::ReadChildren(const TClass* Class, std::size_t Max) const {
  std::vector<TComponent*> Read;
  for (int I = 0; I < GetComponentCount(); ++I)
    if (TComponent* C = GetComponent(I); C->IsLoading()) Read.push_back(C);
  const String Where = "Error reading " + (GetName().empty() ? ClassName() : GetName()) + ": ";
  for (TComponent* C : Read)
    if (!C->InheritsFrom(Class))
      throw EReadError(Where + "a child " + C->ClassName() + " is not a " + Class->Name);
  if (Read.size() > Max)
    throw EReadError(Where + "a " + ClassName() +
                     (Max == 0   ? String(" holds no children")
                      : " holds at most " + std::to_string(Max) + (Max == 1 ? " child" : " children")) +
                     ", the stream gives " + std::to_string(Read.size()));
  return Read;
}

// TZelCustomToolSeries

ZEL_DEFINE_COMPONENT_CLASS(TZelCustomToolSeries, TZelCustomTool)

TZelCustomToolSeries::~TZelCustomToolSeries() {
  if (FSeries) FSeries->RemoveFreeNotification(this);
  FSeries = nullptr;
}

void TZelCustomToolSeries::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TZelCustomToolSeries*>(Source)) {
    // Directly, as the stored tool does: free notification follows on the next SetSeries.
    if (FSeries != S->FSeries) {
      if (FSeries) FSeries->RemoveFreeNotification(this);
      FSeries = S->FSeries;
      if (FSeries) FSeries->FreeNotification(this);
    }
  }
  TZelCustomTool::Assign(Source);
}

void TZelCustomToolSeries::SetSeries(TChartSeries* Value) {
  if (Value == FSeries) return;
  if (FSeries) FSeries->RemoveFreeNotification(this);
  FSeries = Value;
  if (FSeries) FSeries->FreeNotification(this);
}

void TZelCustomToolSeries::Notification(TComponent* AComponent, TOperation Operation) {
  TZelCustomTool::Notification(AComponent, Operation);
  if (Operation == TOperation::opRemove && FSeries && AComponent == FSeries) SetSeries(nullptr);
}

TChartAxis* TZelCustomToolSeries::GetHorizAxis() const {
  if (FSeries) return FSeries->GetGetHorizAxis();
  if (!FParent) return nullptr;
  TChartAxis* Bottom = FParent->GetBottomAxis();
  TChartAxis* Top = FParent->GetTopAxis();
  if (!FParent->HasActiveSeries(Bottom, false) && FParent->HasActiveSeries(Top, false)) return Top;
  return Bottom;
}

TChartAxis* TZelCustomToolSeries::GetVertAxis() const {
  if (FSeries) return FSeries->GetGetVertAxis();
  if (!FParent) return nullptr;
  TChartAxis* Left = FParent->GetLeftAxis();
  TChartAxis* Right = FParent->GetRightAxis();
  if (!FParent->HasActiveSeries(Left, false) && FParent->HasActiveSeries(Right, false)) return Right;
  return Left;
}

bool ZelCanDrawXor(const TCustomAxisPanel* Chart) {
  TCanvas3D* C = Chart ? Chart->GetCanvas() : nullptr;
  return C && C->GetSupportsXORMode();
}

// Axis links

void ZelLinkAxis(TComponent* Holder, TChartAxis*& Field, TChartAxis* Value,
                 std::initializer_list<const TChartAxis*> Kept) {
  if (Value == Field) return;
  if (Field && std::find(Kept.begin(), Kept.end(), Field) == Kept.end()) Field->RemoveFreeNotification(Holder);
  Field = Value;
  if (Field) Field->FreeNotification(Holder);
}

bool ZelAxisFreed(TChartAxis*& Field, const TComponent* AComponent, TOperation Operation) {
  if (Operation != TOperation::opRemove || !Field || !Field->IsFreeNotifier(AComponent)) return false;
  Field = nullptr;
  return true;
}

// TZelCustomToolAxis

ZEL_DEFINE_COMPONENT_CLASS(TZelCustomToolAxis, TZelCustomTool)

void TZelCustomToolAxis::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TZelCustomToolAxis*>(Source)) InternalSetAxis(S->FAxis);
  TZelCustomTool::Assign(Source);
}

void TZelCustomToolAxis::Notification(TComponent* AComponent, TOperation Operation) {
  TZelCustomTool::Notification(AComponent, Operation);
  ZelAxisFreed(FAxis, AComponent, Operation);
}

void TZelCustomToolAxis::SetAxis(TChartAxis* Value) {
  if (Value == FAxis && (!Value || Value->GetParentChart() == FParent)) return;
  InternalSetAxis(Value);
  SetParentChart(Value ? Value->GetParentChart() : nullptr);
  Repaint();
}

void TZelCustomToolAxis::DefineProperties(TFiler* Filer) {
  TZelCustomTool::DefineProperties(Filer);
  Filer->DefineProperty(
      "AxisID",
      [this](TReader* Reader) {
        const std::int32_t Index = Reader->ReadInteger();
        // Without a chart yet the stored index cannot be resolved and is dropped.
        if (FParent) SetAxis(FParent->GetAxes()->Get(Index));
      },
      [this](TWriter* Writer) {
        std::int32_t Index = -1;
        if (FAxis && FAxis->GetParentChart()) Index = FAxis->GetParentChart()->GetAxes()->IndexOf(FAxis);
        Writer->WriteInteger(Index);
      },
      FAxis != nullptr && FAxis->GetParentChart() != nullptr);
}

// TZelCustomAnimation

ZEL_DEFINE_CLASS(TZelCustomAnimation, TZelCustomTool)

TZelCustomAnimation::~TZelCustomAnimation() {
  if (FParent) SetParentChart(nullptr);
}

void TZelCustomAnimation::SetParentChart(TCustomAxisPanel* Value) {
  if (Value == FParent) return;
  if (FParent) {
    FParent->GetAnimations()->Remove(this);
    if (!Value && !FParent->IsDestroying()) FParent->Invalidate();
  }
  FParent = Value;
  if (FParent) FParent->GetAnimations()->InternalAdd(this);
}

void TZelCustomAnimation::Play() { throw EAbstractError("Abstract Error"); }

String TZelCustomAnimation::Title() const {
  if (!GetName().empty()) return GetName();
  String D = Description();
  if (!D.empty()) return D;
  return ClassName();
}

// TChartTools

std::int32_t TChartTools::InternalAdd(TZelCustomTool* Tool) {
  if (FOwner && IndexOf(Tool) < 0) FOwner->ApplyThemeTools(Tool);
  return TList<TZelCustomTool*>::Add(Tool);
}

TZelCustomTool* TChartTools::Add(TZelCustomTool* Tool) {
  if (!Tool) return nullptr;
  if (FOwner)
    Tool->SetParentChart(FOwner);
  else
    InternalAdd(Tool);
  return Tool;
}

TZelCustomTool* TChartTools::Add(TZelCustomToolClass ToolClass) {
  if (!ToolClass || !ToolClass->InheritsFrom(TZelCustomTool::StaticClass()))
    throw EInvalidCast("Invalid class typecast");
  auto* Tool = static_cast<TZelCustomTool*>(ToolClass->Create(FOwner));
  TUndoOnFailure FreeTool([Tool] { Tool->Free(); });
  return Add(Tool);
}

void TChartTools::Clear() {
  while (GetCount() > 0) {
    // Taken out first, so that a tool that does not leave the list by itself cannot loop.
    TZelCustomTool* Tool = GetItems(0);
    Extract(Tool);
    Tool->Free();
  }
  TList<TZelCustomTool*>::Clear();
}

void TChartTools::SetActive(bool Value) {
  for (TZelCustomTool* Tool : std::vector<TZelCustomTool*>(GetList())) Tool->SetActive(Value);
}

// TChartAnimations

TZelCustomAnimation* TChartAnimations::Get(std::int32_t Index) const {
  return static_cast<TZelCustomAnimation*>(GetItems(Index));
}

TZelCustomAnimation* TChartAnimations::Add(TZelCustomAnimation* Animation) {
  if (!Animation) return nullptr;
  if (FOwner)
    Animation->SetParentChart(FOwner);
  else
    InternalAdd(Animation);
  return Animation;
}

TZelCustomAnimation* TChartAnimations::AddClass(TZelCustomToolClass AnimationClass) {
  if (!AnimationClass || !AnimationClass->InheritsFrom(TZelCustomAnimation::StaticClass()))
    throw EInvalidCast("Invalid class typecast");
  auto* Animation = static_cast<TZelCustomAnimation*>(
      AnimationClass->Create(FOwner ? FOwner->GetComponentOwner() : nullptr));
  TUndoOnFailure FreeAnimation([Animation] { Animation->Free(); });
  return Add(Animation);
}

// ---------------------------------------------------------------------------------------------
// Published properties

ZEL_BEGIN_PUBLISHED(TZelCustomTool)
  P::Prop("Active", &Self::GetActive, &Self::SetActive, Default(true)),
ZEL_END_PUBLISHED

// The axis of an axis tool travels as "AxisID" (DefineProperties), not as a table line.
ZEL_BEGIN_PUBLISHED(TZelCustomToolSeries)
  P::Prop("Series", &Self::GetSeries, &Self::SetSeries, Always),
ZEL_END_PUBLISHED

}  // namespace zel
