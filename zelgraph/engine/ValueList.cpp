#include "zelgraph/engine/ValueList.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <sys/mman.h>
#include <limits>
#include <new>
#include <utility>

#include "platform/Dialogs.h"
#include "platform/Filer.h"
#include "platform/SysUtils.h"
#include "zelgraph/engine/Series.h"
#include "zelgraph/procs/Procs.h"

namespace zel {

std::int32_t ZelDefaultCapacity = 1000;

// TChartValues

namespace {
// Large arrays are mapped from the system and given back whole when freed, so that loading and
// freeing many of them (a file loaded again and again) leaves no memory behind in the heap.
constexpr std::int32_t MappedFrom = 32768;  // doubles: 256 KB

std::size_t MappedBytes(std::int32_t Count) {
  const std::size_t Page = 4096;
  return (static_cast<std::size_t>(Count) * sizeof(double) + Page - 1) / Page * Page;
}

// Zero-filled memory for Count doubles.
double* AllocateZeroed(std::int32_t Count) {
  if (Count <= 0) return nullptr;
  if (Count >= MappedFrom) {
    void* P = mmap(nullptr, MappedBytes(Count), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (P == MAP_FAILED) throw std::bad_alloc();
    return static_cast<double*>(P);
  }
  void* P = std::calloc(static_cast<std::size_t>(Count), sizeof(double));
  if (!P) throw std::bad_alloc();
  return static_cast<double*>(P);
}

// Frees what AllocateZeroed(Count) gave.
void FreeValues(double* Data, std::int32_t Count) {
  if (!Data) return;
  if (Count >= MappedFrom)
    munmap(Data, MappedBytes(Count));
  else
    std::free(Data);
}
}  // namespace

TChartValues::~TChartValues() { FreeValues(FData, FCapacity); }

void TChartValues::Back(std::int32_t N) {
  N = std::min(N, FLength);
  if (N <= FCapacity) return;
  // Grow the memory by half again at least, so that appending stays linear overall.
  const std::int64_t Half = static_cast<std::int64_t>(FCapacity) + FCapacity / 2;
  Allocate(static_cast<std::int32_t>(std::min<std::int64_t>(std::max<std::int64_t>({N, Half, 16}), INT32_MAX)));
}

void TChartValues::Reserve(std::int32_t N) { Allocate(std::min(N, FLength)); }

void TChartValues::Allocate(std::int32_t N) {
  if (N <= FCapacity) return;
  double* D = AllocateZeroed(N);
  if (FCapacity > 0) std::memcpy(D, FData, sizeof(double) * static_cast<std::size_t>(FCapacity));
  FreeValues(FData, FCapacity);
  FData = D;
  FCapacity = N;
}

void TChartValues::SetLength(std::int32_t NewLength) {
  const std::int32_t N = NewLength > 0 ? NewLength : 0;
  if (N < FLength && N < FCapacity) {
    // Entries past the length are kept zero, so that a later growth finds them so.
    std::memset(FData + N, 0, sizeof(double) * static_cast<std::size_t>(std::min(FLength, FCapacity) - N));
  }
  FLength = N;
  ++FStamp;
}

void TChartValues::Clear() {
  FreeValues(FData, FCapacity);
  FData = nullptr;
  FLength = 0;
  FCapacity = 0;
  ++FStamp;
}

void TChartValues::Adopt(double* Block, std::int32_t Capacity, std::int32_t Length) {
  FreeValues(FData, FCapacity);
  FData = Block;
  FLength = Length;
  FCapacity = Capacity;
  ++FStamp;
}

// TValueBuffer

TValueBuffer::TValueBuffer(std::int32_t Capacity) : FData(AllocateZeroed(Capacity)), FCapacity(Capacity > 0 ? Capacity : 0) {}

TValueBuffer::~TValueBuffer() { FreeValues(FData, FCapacity); }

TValueBuffer::TValueBuffer(TValueBuffer&& Other) noexcept : FData(Other.FData), FCapacity(Other.FCapacity) {
  Other.FData = nullptr;
  Other.FCapacity = 0;
}

TValueBuffer& TValueBuffer::operator=(TValueBuffer&& Other) noexcept {
  if (this != &Other) {
    FreeValues(FData, FCapacity);
    FData = Other.FData;
    FCapacity = Other.FCapacity;
    Other.FData = nullptr;
    Other.FCapacity = 0;
  }
  return *this;
}

// TValueBlocks

void TValueBlocks::Build(const double* Values, std::int32_t Count) {
  const std::size_t N = Count > 0 ? static_cast<std::size_t>(Count) : 0;
  const std::size_t Blocks = (N + Size - 1) / Size;
  Min.resize(Blocks);
  Max.resize(Blocks);
  bool Ascending = true;
  for (std::size_t B = 0; B < Blocks; ++B) {
    const double* V = Values + B * Size;
    const std::size_t M = std::min<std::size_t>(Size, N - B * Size);
    double Lo = V[0], Hi = V[0];
    bool Finite = true, Rising = B == 0 || !(V[0] < V[-1]);
    for (std::size_t I = 0; I < M; ++I) {
      const double X = V[I];
      Finite &= std::isfinite(X);
      Lo = X < Lo ? X : Lo;
      Hi = X > Hi ? X : Hi;
    }
    for (std::size_t I = 1; I < M; ++I) Rising &= !(V[I] < V[I - 1]);
    Ascending &= Finite && Rising;
    if (!Finite) Lo = Hi = std::numeric_limits<double>::quiet_NaN();
    Min[B] = Lo;
    Max[B] = Hi;
  }
  AscendingFinite = Ascending;
  this->Count = static_cast<std::int32_t>(N);
}

// TChartValueList

ZEL_DEFINE_CLASS(TChartValueList, TPersistent)

TChartValueList::TChartValueList(TChartSeries* AOwner, const String& AName) : FName(AName), FOwner(AOwner) {
  IDefName = AName;
  FModified = true;
  if (FOwner) FOwner->FValuesList->Add(this);
  ClearValues();
}

TChartValueList::~TChartValueList() {
  FCount = 0;
  Value.Clear();
}

void TChartValueList::NotifyOwner(std::int32_t Index) {
  if (FOwner) FOwner->ValueListModified(Index);
}

void TChartValueList::Grow() {
  std::int32_t Step = ZelDefaultCapacity > 0 ? ZelDefaultCapacity : 1;
  Value.SetLength(Value.Length() + Step);
}

void TChartValueList::ClearValues() {
  FCount = 0;
  Value.Clear();
  FModified = true;
}

std::int32_t TChartValueList::AddChartValue(double AValue) {
  FTempValue = AValue;
  return AddChartValue();
}

std::int32_t TChartValueList::AddChartValue() { return AppendTemp(); }

std::int32_t TChartValueList::AppendTemp() {
  const double V = FTempValue;
  const double* R = std::as_const(Value).Data();
  std::int32_t P;
  if (FOrder == TChartListOrder::loNone || FCount == 0 ||
      (FOrder == TChartListOrder::loAscending && V >= R[FCount - 1]) ||
      (FOrder == TChartListOrder::loDescending && V <= R[FCount - 1])) {
    P = FCount;
    if (Value.Length() < FCount + 1) Grow();
  } else {
    P = FCount - 1;
    if (FOrder == TChartListOrder::loAscending) {
      while (P >= 0 && R[P] > V) --P;
    } else {
      while (P >= 0 && V > R[P]) --P;
    }
    ++P;
    if (Value.Length() < FCount + 1) Grow();
  }
  double* D = Value.Writable(FCount + 1);
  if (P < FCount) std::memmove(D + P + 1, D + P, sizeof(double) * static_cast<std::size_t>(FCount - P));
  D[P] = V;
  ++FCount;
  if (!FModified) SetModified(true);
  return P;
}

bool TChartValueList::KeepsOrder(const double* Values, std::int32_t N) const {
  if (FOrder == TChartListOrder::loNone || N <= 0) return true;
  // A value is appended when the last one is not beyond it (a NaN on either side appends too).
  double Prev = FCount > 0 ? std::as_const(Value)[FCount - 1] : 0.0;
  bool Any = FCount > 0;
  if (FOrder == TChartListOrder::loAscending) {
    for (std::int32_t I = 0; I < N; ++I) {
      if (Any && Prev > Values[I]) return false;
      Prev = Values[I];
      Any = true;
    }
  } else {
    for (std::int32_t I = 0; I < N; ++I) {
      if (Any && Prev < Values[I]) return false;
      Prev = Values[I];
      Any = true;
    }
  }
  return true;
}

std::int32_t TChartValueList::LengthAfterAppending(std::int32_t N) const {
  const std::int64_t Step = ZelDefaultCapacity > 0 ? ZelDefaultCapacity : 1;
  const std::int64_t Need = static_cast<std::int64_t>(FCount) + std::max<std::int32_t>(N, 0);
  const std::int64_t Length = Value.Length();
  if (Need <= Length) return static_cast<std::int32_t>(Length);
  return static_cast<std::int32_t>(Length + (Need - Length + Step - 1) / Step * Step);
}

bool TChartValueList::AppendValues(const double* Values, std::int32_t N) {
  if (N <= 0) return true;
  if (!KeepsOrder(Values, N)) return false;
  AppendCopy(Values, N);
  return true;
}

void TChartValueList::AppendCopy(const double* Values, std::int32_t N) {
  Value.SetLength(LengthAfterAppending(N));
  double* D = Value.Writable(FCount + N);
  std::memcpy(D + FCount, Values, sizeof(double) * static_cast<std::size_t>(N));
  FCount += N;
  if (!FModified) SetModified(true);
}

bool TChartValueList::AppendValues(TValueBuffer&& Buffer, std::int32_t N, bool AtEnd) {
  if (N <= 0) return true;
  if (N > Buffer.FCapacity || (!AtEnd && !KeepsOrder(Buffer.FData, N))) return false;
  if (FCount > 0) {
    AppendCopy(Buffer.FData, N);
    return true;
  }
  // An empty list takes the buffer as its memory: nothing is copied.
  Value.Adopt(Buffer.FData, Buffer.FCapacity, LengthAfterAppending(N));
  Buffer.FData = nullptr;
  Buffer.FCapacity = 0;
  FCount = N;
  if (!FModified) SetModified(true);
  return true;
}

const TValueBlocks& TChartValueList::GetBlocks() {
  if (FBlocksStamp != Value.Stamp()) {
    FBlocks.Build(std::as_const(Value).Data(), FCount);
    FBlocksStamp = Value.Stamp();
  }
  return FBlocks;
}

bool TChartValueList::IsAscendingFinite() {
  if (FAscendingStamp == Value.Stamp()) return FAscending;
  if (FBlocksStamp == Value.Stamp()) return FBlocks.AscendingFinite;
  const double* V = std::as_const(Value).Data();
  bool Ok = true;
  for (std::int32_t I = 0; I < FCount && Ok; ++I) Ok = std::isfinite(V[I]) && !(I > 0 && V[I] < V[I - 1]);
  SetAscendingFinite(Ok, FCount);
  return Ok;
}

void TChartValueList::SetAscendingFinite(bool AValue, std::int32_t ForCount) {
  if (ForCount != FCount) return;
  FAscending = AValue;
  FAscendingStamp = Value.Stamp();
}

void TChartValueList::SetBlocks(TValueBlocks&& Blocks) {
  const std::size_t Expected = (static_cast<std::size_t>(FCount) + TValueBlocks::Size - 1) / TValueBlocks::Size;
  if (Blocks.Count != FCount || Blocks.Min.size() != Expected || Blocks.Max.size() != Expected) return;
  FBlocks = std::move(Blocks);
  FBlocksStamp = Value.Stamp();
}

void TChartValueList::InsertChartValue(std::int32_t Index, double AValue) {
  if (FCount >= Value.Length()) Grow();
  double* D = Value.Writable(FCount + 1);
  if (Index < FCount)
    std::memmove(D + Index + 1, D + Index, sizeof(double) * static_cast<std::size_t>(FCount - Index));
  D[Index] = AValue;
  ++FCount;
  if (!FModified) SetModified(true);
}

void TChartValueList::Delete(std::int32_t ValueIndex) { Delete(ValueIndex, 1); }

void TChartValueList::Delete(std::int32_t Start, std::int32_t Quantity) {
  Assert(Start + Quantity - 1 < FCount, "Quantity of data to delete must be less than Count.", EngineUnit);
  if (Start < 0 || Quantity <= 0) return;
  if (FCount - Start < Quantity) Quantity = FCount - Start;
  FCount -= Quantity;
  if (Start < FCount) {
    double* D = Value.Writable(FCount + Quantity);
    std::memmove(D + Start, D + Start + Quantity, sizeof(double) * static_cast<std::size_t>(FCount - Start));
  }
  SetModified(true);
}

void TChartValueList::Scroll() {
  if (FCount <= 0) return;
  double* D = Value.Writable(FCount);
  std::rotate(D, D + 1, D + FCount);
}

void TChartValueList::Exchange(std::int32_t Index1, std::int32_t Index2) {
  double* D = Value.Writable(std::max(Index1, Index2) + 1);
  std::swap(D[Index1], D[Index2]);
  FModified = true;
  NotifyOwner(Index1);
}

void TChartValueList::FillSequence() {
  double* D = Value.Writable(FCount);
  for (std::int32_t I = 0; I < FCount; ++I) D[I] = I;
  FModified = true;
  NotifyOwner(0);
}

std::int32_t TChartValueList::Locate(double AValue) const { return Locate(AValue, 0, FCount - 1); }

std::int32_t TChartValueList::Locate(double AValue, std::int32_t FirstIndex, std::int32_t LastIndex) const {
  if (LastIndex < FirstIndex) return -1;
  FirstIndex = std::max(FirstIndex, 0);
  LastIndex = std::min(LastIndex, Value.Length() - 1);
  for (std::int32_t I = FirstIndex; I <= LastIndex; ++I) {
    ++LocateSteps;
    if (Value[I] == AValue) return I;  // const: entries past the memory read as 0
  }
  return -1;
}

double TChartValueList::Range() {
  if (FModified) RecalcStats();
  return FMaxValue - FMinValue;
}

void TChartValueList::Sort() {
  if (FOrder == TChartListOrder::loNone || FCount < 2) return;
  const bool Descending = FOrder == TChartListOrder::loDescending;
  auto Compare = [this, Descending](std::int32_t A, std::int32_t B) -> int {
    const double VA = std::as_const(Value)[A], VB = std::as_const(Value)[B];
    int R;
    if (VA < VB)
      R = -1;
    else if (VA > VB)
      R = 1;
    else
      return A < B ? -1 : 0;
    return Descending ? -R : R;
  };
  auto Swap = [this](std::int32_t A, std::int32_t B) {
    if (FOwner)
      FOwner->SwapValueIndex(A, B);
    else {
      double* D = Value.Writable(std::max(A, B) + 1);
      std::swap(D[A], D[B]);
    }
  };
  ZelSort(0, FCount - 1, Compare, Swap);
  FModified = true;
}

String TChartValueList::ValueToString(std::int32_t Index) const { return FloatToStr(Value[Index]); }

void TChartValueList::RecalcStats() { RecalcStats(0); }

void TValueStatistics::Compute(const double* Values, std::int32_t N) {
  *this = TValueStatistics();
  Count = N > 0 ? N : 0;
  for (std::int32_t I = 0; I < N; ++I) Add(Values[I]);
}

void TChartValueList::SetStatistics(const TValueStatistics& Statistics) {
  if (Statistics.Count != FCount) return;
  FStatistics = Statistics;
  FStatisticsStamp = Value.Stamp();
}

void TChartValueList::RecalcStats(std::int32_t StartIndex) {
  if (Value.Length() < FCount) FCount = Value.Length();
  if (FCount < 1) {
    FMinValue = FMaxValue = FTotal = FTotalABS = 0;
    FFiniteCount = 0;
    FModified = false;
    return;
  }
  TValueStatistics S;
  if (StartIndex <= 0) {
    if (FStatisticsStamp != Value.Stamp() || FStatistics.Count != FCount)
      FStatistics.Compute(std::as_const(Value).Data(), FCount);
    S = FStatistics;
    FStatisticsStamp = ~std::uint64_t(0);
  } else {
    // Extends the cached figures by the values from StartIndex on.
    S.Min = FMinValue;
    S.Max = FMaxValue;
    S.Total = FTotal;
    S.TotalABS = FTotalABS;
    S.Finite = FFiniteCount;
    const TChartValues& V = Value;
    for (std::int32_t I = StartIndex; I < FCount; ++I) S.Add(V[I]);
  }
  FMinValue = S.Min;
  FMaxValue = S.Max;
  FTotal = S.Total;
  FTotalABS = S.TotalABS;
  FFiniteCount = S.Finite;
  FModified = false;
}

bool TChartValueList::HasFiniteValue() {
  if (FModified) RecalcStats();
  return FFiniteCount > 0;
}

bool TChartValueList::AllFinite() {
  if (FModified) RecalcStats();
  return FFiniteCount == FCount;
}

std::int32_t TChartValueList::GetCount() const {
  if (FCount > Value.Length())
    Assert(false,
           "ValueList Count (" + std::to_string(FCount) + ") greater than array length (" +
               std::to_string(Value.Length()) + ").",
           EngineUnit);
  return FCount;
}

void TChartValueList::SetCount(std::int32_t AValue) {
  Assert(AValue >= 0, "ValueList Count must be greater than zero.", EngineUnit);
  if (AValue > Value.Length()) Value.SetLength(AValue);
  Value.Back(AValue);  // the values in the count have memory
  FCount = AValue;
  ++Value.FStamp;
  FModified = true;
}

void TChartValueList::SetModified(bool AValue) {
  if (AValue) ++Value.FStamp;  // values written through operator[] are announced here
  if (AValue == FModified) return;
  FModified = AValue;
  if (AValue) NotifyOwner(-1);
}

void TChartValueList::SetValue(std::int32_t Index, double AValue) {
  Value.Writable(Index + 1)[Index] = AValue;
  FModified = true;
  NotifyOwner(Index);
}

double TChartValueList::GetMaxValue() {
  if (FModified) RecalcStats();
  return FMaxValue;
}

double TChartValueList::GetMinValue() {
  if (FModified) RecalcStats();
  return FMinValue;
}

double TChartValueList::GetTotal() {
  if (FModified) RecalcStats();
  return FTotal;
}

double TChartValueList::GetTotalABS() {
  if (FModified) RecalcStats();
  return FTotalABS;
}

void TChartValueList::SetDateTime(bool AValue) {
  FDateTimeSet = true;
  ApplyDateTime(AValue);
}

void TChartValueList::ApplyDateTime(bool AValue) {
  if (!FOwner) {
    FDateTime = AValue;
    return;
  }
  const bool Turned = FDateTime != AValue;
  FOwner->SetBooleanProperty(FDateTime, AValue);
  if (Turned) FOwner->DateTimeTurned();
}

void TChartValueList::SetCalculatedDateTime(bool AValue) {
  IDefDateTime = AValue;
  if (!FDateTimeSet) ApplyDateTime(AValue);
}

void TChartValueList::SetOrder(TChartListOrder Value) {
  const bool Changed = Value != FOrder;
  FOrder = Value;
  FOrderSet = true;
  if (Changed && FOwner && (FOwner->GetDataSource() || FOwner->GetFunction())) FOwner->CheckDataSource();
}

void TChartValueList::SetCalculatedOrder(TChartListOrder AValue) {
  IDefOrder = AValue;
  if (!FOrderSet) FOrder = AValue;
}

void TChartValueList::SetValueSource(const String& AValue) {
  if (FValueSource == AValue) return;
  FValueSource = AValue;
  if (FOwner) FOwner->CheckDataSource();
}

void TChartValueList::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TChartValueList*>(Source)) {
    FOrder = S->FOrder;
    FOrderSet = S->FOrderSet;
    SetDateTime(S->FDateTime);
    FDateTimeSet = S->FDateTimeSet;
    SetValueSource(S->FValueSource);
  }
}

void TChartValueList::DefineProperties(TFiler* Filer) {
  inherited::DefineProperties(Filer);
  // An obsolete property: read so that old charts load, never written.
  Filer->DefineProperty("Multiplier", [this](TReader* Reader) { ReadMultiplier(Reader); }, nullptr, false);
}

void TChartValueList::ReadMultiplier(TReader* Reader) {
  const double Multiplier = Reader->ReadFloat();
  if (Multiplier != 1.0)  // also true for a NaN
    ShowMessage("Error: Multiplier property is obsolete.\rModify ZelDefs (enable Multiplier) and recompile.");
}

// ---------------------------------------------------------------------------------------------
// Published properties

// "Multiplier" is read through DefineProperties.
ZEL_BEGIN_PUBLISHED(TChartValueList)
  P::Prop("DateTime", &Self::GetDateTime, &Self::SetDateTime, &Self::IsDateStored),
  P::Prop("Name", &Self::GetName, &Self::SetName, &Self::IsNameStored),
  P::Prop("Order", &Self::GetOrder, &Self::SetOrder, &Self::IsOrderStored),
  P::Prop("ValueSource", &Self::GetValueSource, &Self::SetValueSource, Default(String())),
ZEL_END_PUBLISHED

}  // namespace zel
