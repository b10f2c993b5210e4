#include "zelgraph/engine/ValueList.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/Dialogs.h"
#include "platform/Filer.h"
#include "platform/SysUtils.h"
#include "zelgraph/engine/Series.h"
#include "zelgraph/procs/Procs.h"

namespace zel {

std::int32_t ZelDefaultCapacity = 1000;

// TChartValues

void TChartValues::SetLength(std::int32_t NewLength) {
  std::size_t N = NewLength > 0 ? static_cast<std::size_t>(NewLength) : 0;
  if (N > FData.capacity()) {
    // Grow the memory by half again at least, so that steps of a fixed size stay linear overall.
    std::size_t Cap = FData.capacity();
    FData.reserve(std::max(N, Cap + Cap / 2));
  }
  FData.resize(N, 0.0);
}

void TChartValues::Clear() {
  std::vector<double>().swap(FData);
}

// TChartValueList

ZEL_DEFINE_CLASS(TChartValueList, TPersistent)

TChartValueList::TChartValueList(TChartSeries* AOwner, const String& AName) : FName(AName), FOwner(AOwner) {
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
  std::int32_t P;
  if (FOrder == TChartListOrder::loNone || FCount == 0 ||
      (FOrder == TChartListOrder::loAscending && V >= Value[FCount - 1]) ||
      (FOrder == TChartListOrder::loDescending && V <= Value[FCount - 1])) {
    P = FCount;
    if (Value.Length() < FCount + 1) Grow();
  } else {
    P = FCount - 1;
    if (FOrder == TChartListOrder::loAscending) {
      while (P >= 0 && Value[P] > V) --P;
    } else {
      while (P >= 0 && V > Value[P]) --P;
    }
    ++P;
    if (Value.Length() < FCount + 1) Grow();
    double* D = Value.Data();
    std::memmove(D + P + 1, D + P, sizeof(double) * static_cast<std::size_t>(FCount - P));
  }
  Value[P] = V;
  ++FCount;
  if (!FModified) SetModified(true);
  return P;
}

void TChartValueList::InsertChartValue(std::int32_t Index, double AValue) {
  if (FCount >= Value.Length()) Grow();
  double* D = Value.Data();
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
    double* D = Value.Data();
    std::memmove(D + Start, D + Start + Quantity, sizeof(double) * static_cast<std::size_t>(FCount - Start));
  }
  SetModified(true);
}

void TChartValueList::Scroll() {
  if (FCount <= 0) return;
  double* D = Value.Data();
  std::rotate(D, D + 1, D + FCount);
}

void TChartValueList::Exchange(std::int32_t Index1, std::int32_t Index2) {
  std::swap(Value[Index1], Value[Index2]);
  FModified = true;
  NotifyOwner(Index1);
}

void TChartValueList::FillSequence() {
  for (std::int32_t I = 0; I < FCount; ++I) Value[I] = I;
  FModified = true;
  NotifyOwner(0);
}

std::int32_t TChartValueList::Locate(double AValue) const { return Locate(AValue, 0, FCount - 1); }

std::int32_t TChartValueList::Locate(double AValue, std::int32_t FirstIndex, std::int32_t LastIndex) const {
  if (LastIndex < FirstIndex) return -1;
  FirstIndex = std::max(FirstIndex, 0);
  LastIndex = std::min(LastIndex, Value.Length() - 1);
  for (std::int32_t I = FirstIndex; I <= LastIndex; ++I)
    if (Value[I] == AValue) return I;
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
    double VA = Value[A], VB = Value[B];
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
    else
      std::swap(Value[A], Value[B]);
  };
  ZelSort(0, FCount - 1, Compare, Swap);
  FModified = true;
}

String TChartValueList::ValueToString(std::int32_t Index) const { return FloatToStr(Value[Index]); }

void TChartValueList::RecalcStats() { RecalcStats(0); }

void TChartValueList::RecalcStats(std::int32_t StartIndex) {
  if (Value.Length() < FCount) FCount = Value.Length();
  if (FCount < 1) {
    FMinValue = FMaxValue = FTotal = FTotalABS = 0;
    FModified = false;
    return;
  }
  if (StartIndex <= 0) {
    FMinValue = FMaxValue = FTotal = Value[0];
    FTotalABS = std::fabs(Value[0]);
    StartIndex = 1;
  }
  for (std::int32_t I = StartIndex; I < FCount; ++I) {
    double X = Value[I];
    if (X < FMinValue)
      FMinValue = X;
    else if (X > FMaxValue)
      FMaxValue = X;
    FTotal += X;
    FTotalABS += std::fabs(X);
  }
  FModified = false;
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
  FCount = AValue;
  FModified = true;
}

void TChartValueList::SetModified(bool AValue) {
  if (AValue == FModified) return;
  FModified = AValue;
  if (AValue) NotifyOwner(-1);
}

void TChartValueList::SetValue(std::int32_t Index, double AValue) {
  Value[Index] = AValue;
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
  if (FOwner)
    FOwner->SetBooleanProperty(FDateTime, AValue);
  else
    FDateTime = AValue;
}

void TChartValueList::SetValueSource(const String& AValue) {
  if (FValueSource == AValue) return;
  FValueSource = AValue;
  if (FOwner) FOwner->CheckDataSource();
}

void TChartValueList::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TChartValueList*>(Source)) {
    FOrder = S->FOrder;
    SetDateTime(S->FDateTime);
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

}  // namespace zel
