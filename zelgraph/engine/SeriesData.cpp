// Visual blocks of the points, sorting by labels, the order check, sample values, and the
// series-source component.
#include <algorithm>
#include <cmath>
#include <random>
#include <utility>
#include <vector>

#include "platform/SysUtils.h"
#include "zelgraph/canvas/Canvas3D.h"
#include "zelgraph/canvas/Font.h"
#include "zelgraph/constants/Constants.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/AxisPanel.h"
#include "zelgraph/engine/Marks.h"
#include "zelgraph/engine/PointLists.h"
#include "zelgraph/engine/Series.h"
#include "zelgraph/procs/Procs.h"

namespace zel {

std::int64_t ZelPointListErases = 0;

TZelOnEditVisual ZelOnEditVisual;
bool ZelRandomAtRunTime = false;
std::int32_t clZelGallery1 = 0;
std::int32_t clZelGallery2 = 3;

namespace {
std::mt19937& SampleRandom() {
  static std::mt19937 Generator(5489u);
  return Generator;
}
// A random integer in 0 .. Range - 1.
std::int32_t RandomBelow(std::int32_t Range) {
  if (Range <= 1) return 0;
  return std::uniform_int_distribution<std::int32_t>(0, Range - 1)(SampleRandom());
}
}  // namespace

// TVisualsList

TVisualsList::~TVisualsList() { Clear(); }

void TVisualsList::FreeOwned(TVisualBlock* Block) {
  if (Block && Block->GetComponentOwner() == FSeries) Block->Free();
}

TVisualBlock* TVisualsList::ExistingVisual(std::int32_t Index) const {
  if (Index < 0 || Index >= Count()) return nullptr;
  return FItems[static_cast<std::size_t>(Index)];
}

TVisualBlock* TVisualsList::GetVisual(std::int32_t Index) {
  if (Index < 0) return nullptr;
  if (TVisualBlock* B = ExistingVisual(Index)) return B;
  // A template whose class cannot be made by name is not cloned.
  if (!FTemplate || !FTemplate->IsCloneable || !FTemplate->ClassType()->Factory) return nullptr;
  auto* Clone = dynamic_cast<TVisualBlock*>(FTemplate->ClassType()->Create(FSeries));
  if (!Clone) return nullptr;
  Clone->Assign(FTemplate);
  if (Index >= Count()) FItems.resize(static_cast<std::size_t>(Index) + 1, nullptr);
  FItems[static_cast<std::size_t>(Index)] = Clone;
  return Clone;
}

void TVisualsList::SetVisual(std::int32_t Index, TVisualBlock* Block) {
  if (Index < 0) return;
  TVisualBlock* Old = ExistingVisual(Index);
  if (Old == Block) return;
  if (Old) FreeOwned(Old);
  if (Block) {
    if (Index >= Count()) FItems.resize(static_cast<std::size_t>(Index) + 1, nullptr);
    FItems[static_cast<std::size_t>(Index)] = Block;
  } else if (Index < Count()) {
    FItems[static_cast<std::size_t>(Index)] = nullptr;
  }
  if (FSeries) FSeries->Repaint();
}

void TVisualsList::InsertVisual(std::int32_t Index, TVisualBlock* Block) {
  if (Index < 0) return;
  if (!Block && FItems.empty()) return;
  if (Index > Count()) FItems.resize(static_cast<std::size_t>(Index), nullptr);
  FItems.insert(FItems.begin() + Index, Block);
}

void TVisualsList::DeleteVisual(std::int32_t Index) { DeleteVisuals(Index, 1); }

void TVisualsList::DeleteVisuals(std::int32_t Start, std::int32_t Quantity) {
  ErasePointRange(FItems, Start, Quantity, [this](TVisualBlock* Block) { FreeOwned(Block); });
}

void TVisualsList::Exchange(std::int32_t Index1, std::int32_t Index2) {
  if (Index1 < 0 || Index2 < 0) return;
  const std::int32_t High = std::max(Index1, Index2);
  if (High >= Count()) FItems.resize(static_cast<std::size_t>(High) + 1, nullptr);
  std::swap(FItems[static_cast<std::size_t>(Index1)], FItems[static_cast<std::size_t>(Index2)]);
}

void TVisualsList::Clear() {
  std::vector<TVisualBlock*> Items;
  Items.swap(FItems);
  for (TVisualBlock* B : Items) FreeOwned(B);
}

void TVisualsList::Assign(const TVisualsList* Source) {
  Clear();
  if (!Source) return;
  SetTemplate(Source->FTemplate);
  FItems = Source->FItems;  // the blocks stay owned by whoever owns them
}

void TVisualsList::SetTemplate(TVisualBlock* Value) {
  if (Value == FTemplate) return;
  if (FTemplate && FSeries) FTemplate->RemoveFreeNotification(FSeries);
  FTemplate = Value;
  if (FTemplate && FSeries) FTemplate->FreeNotification(FSeries);
  Clear();
}

void TVisualsList::Edit(std::int32_t Index) {
  if (!ZelOnEditVisual || !FSeries) return;
  if (Index == -1) {
    if (ZelOnEditVisual(FSeries->GetParentChart(), FTemplate)) Clear();
  } else if (ZelOnEditVisual(FSeries->GetParentChart(), GetVisual(Index))) {
    FSeries->Repaint();
  }
}

TVisualsList* TChartSeries::GetVisuals() {
  if (!FVisuals) FVisuals = std::make_unique<TVisualsList>(this);
  return FVisuals.get();
}

// Sorting

void TChartSeries::SortByLabels(TChartListOrder Order) {
  if (Order == TChartListOrder::loNone) return;
  // The order holds while the points move, and is dropped on every way out.
  ILabelOrder = Order;
  struct TLabelOrder {
    TChartListOrder& Field;
    ~TLabelOrder() { Field = TChartListOrder::loNone; }
  } Holds{ILabelOrder};
  // Case-sensitive labels compare by code; others ignoring case.
  const bool CaseSensitive = FLabels.GetCaseSensitive();
  // The compared form of each label, made once and moved with its point.
  std::vector<String> Keys(static_cast<std::size_t>(std::max(Count(), 0)));
  for (std::size_t I = 0; I < Keys.size(); ++I) {
    const String Label = FLabels.GetLabel(static_cast<std::int32_t>(I));
    Keys[I] = CaseSensitive ? Label : AnsiLowerCase(Label);
  }
  // One bracket: dependent series refill once, after the last swap and the renumbering.
  WithinUpdate(*this, [&] {
    ZelSort(
        0, Count() - 1,
        [&](int A, int B) {
          int R = Keys[static_cast<std::size_t>(A)].compare(Keys[static_cast<std::size_t>(B)]);
          R = R < 0 ? -1 : (R > 0 ? 1 : 0);
          return ILabelOrder == TChartListOrder::loDescending ? -R : R;
        },
        [&](int A, int B) {
          SwapValueIndex(A, B);
          std::swap(Keys[static_cast<std::size_t>(A)], Keys[static_cast<std::size_t>(B)]);
        });
    NotMandatoryValueList->FillSequence();
  });
  Repaint();
}

void TChartSeries::CheckOrder() {
  bool Sorted = false;
  if (MandatoryValueList->GetOrder() != TChartListOrder::loNone) {
    MandatoryValueList->Sort();
    if (NotMandatoryValueList->GetValueSource().empty()) NotMandatoryValueList->FillSequence();
    Sorted = true;
  }
  if (NotMandatoryValueList->GetOrder() != TChartListOrder::loNone) {
    NotMandatoryValueList->Sort();
    Sorted = true;
  }
  if (Sorted) Repaint();
}

// Sample values

bool TChartSeries::CanAddRandomPoints() const { return ZelRandomAtRunTime || IsDesigning(); }

void TChartSeries::FillSampleValues(std::int32_t NumValues) {
  if (NumValues < 0) throw ChartException(ZelMsg_FillSample);
  if (NumValues == 0) NumValues = INumSampleValues > 0 ? INumSampleValues : NumSampleValues();
  Clear();
  SampleRandom().seed(static_cast<std::uint32_t>(std::random_device{}() % 7774444u));
  WithinUpdate(*this, [&] {
    AddSampleValues(NumValues, false);
    CheckOrder();
  });
  ManualData = false;
}

void TChartSeries::AddSampleValues(std::int32_t NumValues, bool OnlyMandatory) {
  if (NumValues <= 0) return;
  double MinX = 0, MaxX = NumValues - 1, MinY = 0, MaxY = 1000;
  bool ChartHasPoints = false;
  if (FParent)
    for (std::int32_t I = 0; I < FParent->SeriesCount() && !ChartHasPoints; ++I)
      if (auto* S = dynamic_cast<TChartSeries*>(FParent->GetSeries(I))) ChartHasPoints = S->Count() > 0;
  TChartAxis* HAxis = YMandatory ? FGetHorizAxis : FGetVertAxis;
  TChartAxis* VAxis = YMandatory ? FGetVertAxis : FGetHorizAxis;
  if (ChartHasPoints && HAxis && VAxis) {
    MinY = YMandatory ? FParent->MinYValue(VAxis) : FParent->MinXValue(VAxis);
    MaxY = YMandatory ? FParent->MaxYValue(VAxis) : FParent->MaxXValue(VAxis);
    if (MinY == MaxY) MaxY = MinY == 0 ? 1000 : 2 * MinY;
    MinX = YMandatory ? FParent->MinXValue(HAxis) : FParent->MinYValue(HAxis);
    MaxX = YMandatory ? FParent->MaxXValue(HAxis) : FParent->MaxYValue(HAxis);
    if (MinX == MaxX) MaxX = MinX == 0 ? NumValues - 1 : 2 * MinX;
  } else if (NotMandatoryValueList->GetDateTime()) {
    MinX = Date();
    MaxX = MinX + NumValues - 1;
  }
  const double StepX = NumValues > 1 ? (MaxX - MinX) / (NumValues - 1) : (MaxX - MinX);
  double DifY = std::clamp(MaxY - MinY, -2147483647.0, 2147483647.0);
  double Y = MinY + RandomBelow(100) * DifY / 100.0;
  double X = MinX;
  for (std::int32_t I = 0; I < NumValues; ++I) {
    Y = std::fabs(Y + RandomBelow(100) * (DifY / 4) / 100.0 - DifY / 8);
    if (OnlyMandatory)
      Add(Y);
    else if (YMandatory)
      AddXY(X, Y);
    else
      AddXY(Y, X);
    X += StepX;
  }
}

void TChartSeries::PrepareForGallery(bool) {
  FillSampleValues(4);
  TSeriesMarks* M = GetMarks();
  M->SetVisible(false);
  M->GetFont()->SetSize(7);
  M->SetArrowLength(4);
  M->SetDrawEvery(2);
  SetColorEachPoint(true);
  if (FParent)
    SetSeriesColor(FParent->GetDefaultColor(GetIndex() == 0 ? clZelGallery1 : clZelGallery2));
}

// TZelSeriesSource

ZEL_DEFINE_COMPONENT_CLASS(TZelSeriesSource, TComponent)

TZelSeriesSource::~TZelSeriesSource() {
  if (!IsDestroying()) Destroying();
  Close();
  // The component base tells the series (which watches its sources) that this one is gone.
}

void TZelSeriesSource::SetActive(bool Value) {
  if (Value == FActive) return;
  if (FSeries) {
    if (Value) {
      if (!IsLoading()) {
        FActive = true;
        Load();
        return;
      }
    } else if (!IsDestroying() && !FSeries->IsDestroying() && FLoadMode != TSourceLoadMode::lmAppend) {
      FSeries->Clear();
    }
  }
  FActive = Value;
}

void TZelSeriesSource::AttachSeries(TChartSeries* Value) {
  if (FSeries && FSeries != Value) FSeries->RemoveFreeNotification(this);
  FSeries = Value;
  if (FSeries) FSeries->FreeNotification(this);
}

void TZelSeriesSource::SetSeries(TChartSeries* Value) {
  if (Value == FSeries) return;
  Close();
  TChartSeries* Old = FSeries;
  if (Old) Old->RemoveFreeNotification(this);
  FSeries = Value;
  if (Value) {
    Value->FreeNotification(this);
    Value->SetDataSource(this);
  } else if (Old && Old->GetDataSource() == this && !Old->IsDestroying()) {
    Old->SetDataSource(nullptr);
  }
}

bool TZelSeriesSource::HasSeries(TChartSeries* Value) {
  TComponent* First = Value ? Value->GetDataSource() : nullptr;
  return First && String(First->ClassName()) == String(ClassName());
}

void TZelSeriesSource::Close() {
  if (!IsLoading() && !IsDestroying()) SetActive(false);
}

void TZelSeriesSource::Refresh() {
  if (FActive && !IsLoading()) Load();
}

void TZelSeriesSource::Loaded() {
  TComponent::Loaded();
  Refresh();
}

void TZelSeriesSource::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == TOperation::opRemove && AComponent == FSeries) {
    FSeries = nullptr;
    FActive = false;
  }
}

// Its series is not stored here: the series names this source as its data source.
ZEL_BEGIN_PUBLISHED(TZelSeriesSource)
  P::Prop("Active", &Self::GetActive, &Self::SetActive, Default(false)),
  P::Prop("LoadMode", &Self::GetLoadMode, &Self::SetLoadMode, Default(TSourceLoadMode::lmClear)),
ZEL_END_PUBLISHED

// Adding in bulk

bool TChartSeries::AppendXY(TValueBuffer&& X, TValueBuffer&& Y, std::int32_t N) {
  if (N <= 0) return true;
  if (IUpdating <= 0 || OnBeforeAdd || FValuesList->Count() != 2 || FColors || FLabels.Count() > 0 ||
      N > X.Capacity() || N > Y.Capacity())
    return false;
  // Inside an update the per-point adds tell nobody (the lists' change notices are silent too):
  // the lists' contents are all there is to match.
  if (!FX->AppendValues(std::move(X), N)) return false;
  FY->AppendValues(std::move(Y), N, true);
  return true;
}

}  // namespace zel
