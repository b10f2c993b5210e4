// Value lists: one channel of doubles of a series (X, Y or a channel a series kind adds), kept in
// order on insertion, with lazily computed statistics.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Classes.h"
#include "platform/Types.h"

namespace zel {

class TChartSeries;
class TReader;

// The engine unit's name, carried by its assertion messages.
inline constexpr const char* EngineUnit = "Zelgraph.Engine";

// The number of entries by which a value array's length grows each time it is full.
extern std::int32_t ZelDefaultCapacity;

enum class TChartListOrder : Byte { loNone, loAscending, loDescending };

// The change codes a series passes to the series that depend on it.
enum class TValueEvent { vnCleared, vnAdded, vnDeleted, vnRefreshed, vnModified };

// The storage of a value list: a dynamic array of doubles whose length is observable and grows in
// steps, while its memory grows geometrically, so that appending N values copies O(N) values.
// Entries past the old length are zero when the length grows.
class TChartValues {
 public:
  std::int32_t Length() const { return static_cast<std::int32_t>(FData.size()); }
  std::int32_t Capacity() const { return static_cast<std::int32_t>(FData.capacity()); }
  // Sets the length; new entries are 0. A negative length counts as 0.
  void SetLength(std::int32_t NewLength);
  // Frees the array (length 0, no memory).
  void Clear();
  double& operator[](std::int32_t Index) { return FData[static_cast<std::size_t>(Index)]; }
  double operator[](std::int32_t Index) const { return FData[static_cast<std::size_t>(Index)]; }
  double* Data() { return FData.data(); }
  const double* Data() const { return FData.data(); }

 private:
  std::vector<double> FData;
};

class TChartValueList : public TPersistent {
  ZEL_CLASS(TChartValueList, TPersistent)
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

  void Exchange(std::int32_t Index1, std::int32_t Index2);
  void FillSequence();
  double First() const { return Value[0]; }
  double Last() const { return Value[FCount - 1]; }
  std::int32_t Locate(double AValue) const;
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

  bool GetDateTime() const { return FDateTime; }
  void SetDateTime(bool Value);
  bool IsDateStored() const { return FDateTime != IDefDateTime; }
  const String& GetName() const { return FName; }
  void SetName(const String& Value) { FName = Value; }
  TChartListOrder GetOrder() const { return FOrder; }
  void SetOrder(TChartListOrder Value) { FOrder = Value; }
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
  void Grow();
  void NotifyOwner(std::int32_t Index);
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
  String FValueSource;
  bool IDefDateTime = false;
};

}  // namespace zel
