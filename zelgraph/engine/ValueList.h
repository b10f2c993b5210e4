// Value lists: one channel of doubles of a series (X, Y or a channel a series kind adds), kept in
// order on insertion, with lazily computed statistics.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "platform/Classes.h"
#include "platform/Published.h"
#include "platform/Types.h"

namespace zel {

class TChartSeries;
class TReader;

// The engine unit's name, carried by its assertion messages.
inline constexpr const char* EngineUnit = "Zelgraph.Engine";

// The number of entries by which a value array's length grows each time it is full.
extern std::int32_t ZelDefaultCapacity;

enum class TChartListOrder : Byte { loNone, loAscending, loDescending };
ZEL_ENUM_NAMES(TChartListOrder, "loNone", "loAscending", "loDescending");

// The change codes a series passes to the series that depend on it.
enum class TValueEvent { vnCleared, vnAdded, vnDeleted, vnRefreshed, vnModified };

// The storage of a value list: a dynamic array of doubles whose length is observable and grows in
// steps (the growth rule of the list), while its memory grows on its own terms: geometrically,
// or to a size asked for in advance. Entries past the memory read as
// 0, so a list of two values whose length is 1000 costs the memory of a few values, not of 1000.
// Entries past the old length are zero when the length grows.
//
// Writing: through the non-const operator[] (which backs the entry with memory first) or Data().
// Reading through the const forms never allocates. The change stamp counts the changes made
// through the value list's operations and through Data(); a value written through operator[]
// must be announced with the list's SetModified(true), as the statistics need too.
class TChartValues {
 public:
  TChartValues() = default;
  ~TChartValues();
  TChartValues(const TChartValues&) = delete;
  TChartValues& operator=(const TChartValues&) = delete;

  std::int32_t Length() const { return FLength; }
  // The entries backed by memory (at least the list's count).
  std::int32_t Capacity() const { return FCapacity; }
  // Sets the length; new entries are 0. A negative length counts as 0.
  void SetLength(std::int32_t NewLength);
  // Backs the first N entries (at most the length) with memory.
  void Reserve(std::int32_t N);
  // Frees the array (length 0, no memory).
  void Clear();
  double& operator[](std::int32_t Index) {
    if (Index >= FCapacity) Back(Index + 1);
    return FData[Index];
  }
  double operator[](std::int32_t Index) const { return Index < FCapacity ? FData[Index] : 0.0; }
  // The whole array, backed by memory, for writing.
  double* Data() {
    Back(FLength);
    ++FStamp;
    return FData;
  }
  // The entries backed by memory, for reading (Capacity() of them).
  const double* Data() const { return FData; }
  // Changes with every change of the values made through the list or through Data().
  std::uint64_t Stamp() const { return FStamp; }

 private:
  friend class TChartValueList;
  // Backs the first N entries (at most the length) with memory, growing by half again at least.
  void Back(std::int32_t N);
  void Allocate(std::int32_t N);
  // Entry pointer for a change of the values: backs N entries and counts the change.
  double* Writable(std::int32_t N) {
    if (N > FCapacity) Back(N);
    ++FStamp;
    return FData;
  }
  // Takes a block from TakeValueBuffer holding Capacity entries (zero past the values).
  void Adopt(double* Block, std::int32_t Capacity, std::int32_t Length);

  double* FData = nullptr;
  std::int32_t FLength = 0;
  std::int32_t FCapacity = 0;
  std::uint64_t FStamp = 0;
};

// Memory for values that are read before they go into a value list (AppendValues takes it
// without a copy): zero-filled, freed by its destructor unless a list took it.
class TValueBuffer {
 public:
  TValueBuffer() = default;
  explicit TValueBuffer(std::int32_t Capacity);
  ~TValueBuffer();
  TValueBuffer(TValueBuffer&& Other) noexcept;
  TValueBuffer& operator=(TValueBuffer&& Other) noexcept;
  TValueBuffer(const TValueBuffer&) = delete;
  TValueBuffer& operator=(const TValueBuffer&) = delete;

  double* Data() { return FData; }
  const double* Data() const { return FData; }
  std::int32_t Capacity() const { return FCapacity; }

 private:
  friend class TChartValueList;
  double* FData = nullptr;
  std::int32_t FCapacity = 0;
};

// The lowest and highest value of each run of Size values of a list, so that the extremes of a
// long range are found without visiting every value. A run holding a value that is not finite has
// NaN for both.
// The statistics of a run of values, as a value list computes them. A value that is not finite
// (NaN, an infinity) is left out of all four; without a finite value they are all 0.
struct TValueStatistics {
  double Min = 0, Max = 0, Total = 0, TotalABS = 0;
  std::int32_t Count = 0;
  // The finite values among the Count.
  std::int32_t Finite = 0;
  // Takes one more value into the statistics.
  void Add(double X) {
    if (!std::isfinite(X)) return;
    if (Finite++ == 0) {
      Min = Max = Total = X;
      TotalABS = X < 0 ? -X : X;
      return;
    }
    if (X < Min)
      Min = X;
    else if (X > Max)
      Max = X;
    Total += X;
    TotalABS += X < 0 ? -X : X;
  }
  // Computes them from Values[0 .. N - 1] in the list's order of operations.
  void Compute(const double* Values, std::int32_t N);
};

struct TValueBlocks {
  static constexpr std::int32_t Size = 64;
  // Shorter lists are walked: their blocks are not worth their memory.
  static constexpr std::int32_t From = 1024;
  std::vector<double> Min, Max;
  // Every value is finite and none is below the one before it.
  bool AscendingFinite = true;
  // The number of values they were built from.
  std::int32_t Count = 0;
  void Build(const double* Values, std::int32_t Count);
};

class TChartValueList : public TPersistent {
  ZEL_CLASS(TChartValueList, TPersistent)
  ZEL_PUBLISHED_PROPS
 public:
  // Appends itself to the owner's value lists when an owner is given; the owner then frees it.
  TChartValueList(TChartSeries* AOwner, const String& AName);
  ~TChartValueList() override;

  void Assign(TPersistent* Source) override;
  void DefineProperties(TFiler* Filer) override;

  // Adds Value at the place its order asks for; returns that index.
  virtual std::int32_t AddChartValue(double Value);
  // Adds the waiting value (TempValue).
  std::int32_t AddChartValue();
  virtual void ClearValues();
  // Inserts at Index (0 <= Index <= Count), ignoring the order.
  virtual void InsertChartValue(std::int32_t Index, double Value);
  virtual void Delete(std::int32_t ValueIndex);
  void Delete(std::int32_t Start, std::int32_t Quantity);
  // Moves the first value to the end and all others one place towards the start.
  virtual void Scroll();
  // Appends N values as N parameterless adds of them would, when they keep the order (each one
  // is not below the one before, for an ascending list; loNone takes any); returns false and
  // adds nothing otherwise. The length follows the growth rule; the owner is told once.
  bool AppendValues(const double* Values, std::int32_t N);
  // The same with values in Buffer[0 .. N - 1]: an empty list takes the buffer itself. AtEnd
  // places them at the end whatever the order, as inserting each at Count does.
  bool AppendValues(TValueBuffer&& Buffer, std::int32_t N, bool AtEnd = false);
  // The length the array has after N more values are appended to the Count there are.
  std::int32_t LengthAfterAppending(std::int32_t N) const;
  // Memory for N values in all, taken now, for a caller that knows how many will come: they are
  // then added without the memory growing. The length, count and values stay as they are.
  void ReserveValues(std::int32_t N) { Value.Allocate(N); }

  // The block extremes of the first Count values, built again only after the values changed.
  const TValueBlocks& GetBlocks();
  // Takes block extremes built elsewhere from exactly the values the list holds now.
  void SetBlocks(TValueBlocks&& Blocks);
  // Whether every value is finite and none is below the one before it (kept until the values
  // change).
  bool IsAscendingFinite();
  // The same answer found elsewhere from exactly the values the list holds now (Count of them).
  void SetAscendingFinite(bool Value, std::int32_t ForCount);
  // Statistics computed elsewhere (TValueStatistics::Compute) from exactly the values the list
  // holds now: the next full statistics pass takes them instead of walking the values.
  void SetStatistics(const TValueStatistics& Statistics);

  void Exchange(std::int32_t Index1, std::int32_t Index2);
  void FillSequence();
  double First() const { return Value[0]; }
  double Last() const { return Value[FCount - 1]; }
  std::int32_t Locate(double AValue) const;
  // Counts the values Locate compared (read by tests: a calculation must not scan per value).
  static inline std::int64_t LocateSteps = 0;
  std::int32_t Locate(double AValue, std::int32_t FirstIndex, std::int32_t LastIndex) const;
  double Range();
  void Sort();
  String ValueToString(std::int32_t Index) const;
  void RecalcStats();
  void RecalcStats(std::int32_t StartIndex);

  std::int32_t GetCount() const;
  void SetCount(std::int32_t Value);
  bool GetModified() const { return FModified; }
  void SetModified(bool Value);
  double GetValue(std::int32_t Index) const { return Value[Index]; }
  void SetValue(std::int32_t Index, double AValue);
  double GetMaxValue();
  double GetMinValue();
  double GetTotal();
  double GetTotalABS();
  void SetTotalABS(double AValue) { FTotalABS = AValue; }
  // Whether the list holds a finite value (the statistics are those of its finite values).
  bool HasFiniteValue();
  // Whether every value is finite.
  bool AllFinite();

  bool GetDateTime() const { return FDateTime; }
  // Set by the program or read from a stream: a calculation keeps it from then on.
  void SetDateTime(bool Value);
  bool IsDateStored() const { return FDateTime != IDefDateTime; }
  const String& GetName() const { return FName; }
  void SetName(const String& Value) { FName = Value; }
  TChartListOrder GetOrder() const { return FOrder; }
  // Set by the program or read from a stream: a calculation keeps it from then on.
  // The points a series holds stay where they are, except points calculated from sources or by
  // a function: those are calculated again, added in the new order.
  void SetOrder(TChartListOrder Value);
  // What a calculation gives the list (a function's series takes its source's date-time flags,
  // a function the order of its output): it becomes the stored default, so it is not written
  // and a read chart calculates it again, and the value unless the program set one or a stream
  // held one, which is kept.
  void SetCalculatedDateTime(bool Value);
  void SetCalculatedOrder(TChartListOrder Value);
  const String& GetValueSource() const { return FValueSource; }
  void SetValueSource(const String& Value);
  double GetTempValue() const { return FTempValue; }
  void SetTempValue(double Value) { FTempValue = Value; }
  TChartSeries* GetOwnerSeries() const { return FOwner; }

  // The storage; only the first Count entries are values.
  TChartValues Value;

 protected:
  bool FModified = true;
  TObject* IData = nullptr;
  bool Internal = false;

 private:
  friend class TChartSeries;
  // Order-keeping add of FTempValue; the series' AddXY calls it directly.
  std::int32_t AppendTemp();
  bool KeepsOrder(const double* Values, std::int32_t N) const;
  void AppendCopy(const double* Values, std::int32_t N);
  void Grow();
  void NotifyOwner(std::int32_t Index);
  void ApplyDateTime(bool Value);
  void ReadMultiplier(TReader* Reader);

  std::int32_t FCount = 0;
  bool FDateTime = false;
  double FMaxValue = 0;
  double FMinValue = 0;
  String FName;
  TChartListOrder FOrder = TChartListOrder::loNone;
  TChartSeries* FOwner = nullptr;
  double FTempValue = 0;
  double FTotal = 0;
  double FTotalABS = 0;
  std::int32_t FFiniteCount = 0;
  String FValueSource;
  bool IDefDateTime = false;
  bool FDateTimeSet = false, FOrderSet = false;  // set by the program or read, not calculated
  // The stored defaults of Name (the name given at construction) and Order.
  String IDefName;
  TChartListOrder IDefOrder = TChartListOrder::loNone;
  bool IsNameStored() const { return FName != IDefName; }
  bool IsOrderStored() const { return FOrder != IDefOrder; }
  TValueBlocks FBlocks;
  std::uint64_t FBlocksStamp = ~std::uint64_t(0);
  std::uint64_t FAscendingStamp = ~std::uint64_t(0);
  TValueStatistics FStatistics;
  std::uint64_t FStatisticsStamp = ~std::uint64_t(0);
  bool FAscending = false;
};

}  // namespace zel
