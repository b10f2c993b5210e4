// The "Data" stream of a series, its other named stream properties, data sources and copying.
#include <algorithm>
#include <cstring>
#include <limits>

#include "platform/Filer.h"
#include "platform/Streams.h"
#include "platform/SysUtils.h"
#include "zelgraph/constants/Constants.h"
#include "zelgraph/engine/Axis.h"
#include "zelgraph/engine/Function.h"
#include "zelgraph/engine/Series.h"
#include "zelgraph/engine/SeriesLegend.h"
#include "zelgraph/engine/SeriesList.h"

namespace zel {

namespace {

// Content flags of the "Data" stream.
constexpr Byte DataNotMandatory = 1;
constexpr Byte DataColors = 2;
constexpr Byte DataLabels = 4;
constexpr Byte DataMarkPositions = 8;
// A mark position record takes 34 bytes.

// Little-endian writer into a stream. The bytes gather in a buffer of its own and reach the
// stream in large pieces; Flush hands over the rest.
class TOut {
 public:
  explicit TOut(TStream* S) : FStream(S), FBuffer(ChunkSize) {}
  void Bytes(const void* P, std::size_t N) {
    const Byte* B = static_cast<const Byte*>(P);
    while (N > 0) {
      if (FUsed == ChunkSize) Flush();
      const std::size_t Take = std::min(N, ChunkSize - FUsed);
      std::memcpy(FBuffer.data() + FUsed, B, Take);
      FUsed += Take;
      B += Take;
      N -= Take;
    }
  }
  void U8(Byte V) {
    Room(1);
    FBuffer[FUsed++] = V;
  }
  void I32(std::int32_t V) { U32(static_cast<std::uint32_t>(V)); }
  void U32(std::uint32_t V) {
    Room(4);
    for (int I = 0; I < 4; ++I) FBuffer[FUsed++] = static_cast<Byte>(V >> (8 * I));
  }
  void F64(double V) {
    std::uint64_t U;
    std::memcpy(&U, &V, 8);
    Room(8);
    for (int I = 0; I < 8; ++I) FBuffer[FUsed++] = static_cast<Byte>(U >> (8 * I));
  }
  void F32(float V) {
    std::uint32_t U;
    std::memcpy(&U, &V, 4);
    U32(U);
  }
  void Flush() {
    if (FUsed > 0) FStream->WriteBuffer(FBuffer.data(), static_cast<Int64>(FUsed));
    FUsed = 0;
  }

 private:
  static constexpr std::size_t ChunkSize = 64 * 1024;
  void Room(std::size_t N) {
    if (FUsed + N > ChunkSize) Flush();
  }
  TStream* FStream;
  std::vector<Byte> FBuffer;
  std::size_t FUsed = 0;
};

// Reads the stream as it comes: missing bytes read as 0, like a plain Read into zeroed fields.
// The stream is read in large pieces; Release gives back what was read ahead and not taken.
class TIn {
 public:
  explicit TIn(TStream* S) : FStream(S), FBuffer(ChunkSize) {
    const Int64 Size = S->GetSize();
    const Int64 Pos = S->GetPosition();
    FLeft = Size > Pos ? Size - Pos : 0;
    FStreamLeft = FLeft;
  }
  // The bytes not taken yet.
  Int64 Left() const { return FLeft; }
  void Bytes(void* P, Int64 N) {
    Byte* D = static_cast<Byte*>(P);
    while (N > 0) {
      if (FNext == FEnd && !Fill()) {
        std::memset(D, 0, static_cast<std::size_t>(N));
        return;
      }
      const Int64 Take = std::min(N, FEnd - FNext);
      std::memcpy(D, FBuffer.data() + FNext, static_cast<std::size_t>(Take));
      FNext += Take;
      FLeft -= Take;
      D += Take;
      N -= Take;
    }
  }
  Byte U8() {
    Byte B = 0;
    Bytes(&B, 1);
    return B;
  }
  std::uint32_t U32() {
    Byte B[4];
    Bytes(B, 4);
    return std::uint32_t(B[0]) | std::uint32_t(B[1]) << 8 | std::uint32_t(B[2]) << 16 | std::uint32_t(B[3]) << 24;
  }
  std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
  double F64() {
    Byte B[8];
    Bytes(B, 8);
    std::uint64_t U = 0;
    for (int I = 7; I >= 0; --I) U = U << 8 | B[I];
    double V;
    std::memcpy(&V, &U, 8);
    return V;
  }
  float F32() {
    std::uint32_t U = U32();
    float V;
    std::memcpy(&V, &U, 4);
    return V;
  }
  // The stream's position moves back to just after the bytes taken.
  void Release() {
    if (FEnd > FNext) FStream->Seek(FNext - FEnd, soCurrent);
    FNext = FEnd = 0;
  }

 private:
  static constexpr Int64 ChunkSize = 64 * 1024;
  bool Fill() {
    const Int64 Want = std::min(ChunkSize, FStreamLeft);
    const Int64 Got = Want > 0 ? FStream->Read(FBuffer.data(), Want) : 0;
    if (Got <= 0) return false;
    FStreamLeft -= Got;
    FNext = 0;
    FEnd = Got;
    return true;
  }
  TStream* FStream;
  std::vector<Byte> FBuffer;
  Int64 FLeft;        // bytes not taken, read ahead or not
  Int64 FStreamLeft;  // bytes not read from the stream yet
  Int64 FNext = 0, FEnd = 0;
};

void WritePosition(TOut& Out, const TSeriesMarkPosition* P) {
  static const TSeriesMarkPosition Empty;
  if (!P) P = &Empty;
  Out.F32(P->ArrowFrom.X);
  Out.F32(P->ArrowFrom.Y);
  Out.U8(P->ArrowFix ? 1 : 0);
  Out.F32(P->ArrowTo.X);
  Out.F32(P->ArrowTo.Y);
  Out.U8(P->Custom ? 1 : 0);
  Out.I32(P->Height);
  Out.F32(P->LeftTop.X);
  Out.F32(P->LeftTop.Y);
  Out.I32(P->Width);
}

void ReadPosition(TIn& In, TSeriesMarkPosition* P) {
  P->ArrowFrom.X = In.F32();
  P->ArrowFrom.Y = In.F32();
  P->ArrowFix = In.U8() != 0;
  P->ArrowTo.X = In.F32();
  P->ArrowTo.Y = In.F32();
  P->Custom = In.U8() != 0;
  P->Height = In.I32();
  P->LeftTop.X = In.F32();
  P->LeftTop.Y = In.F32();
  P->Width = In.I32();
}

// The bytes of a series' "Data" property.
std::vector<Byte> DataBytes(TChartSeries* S) {
  TMemoryStream M;
  S->WriteData(&M);
  return M.GetBytes();
}

}  // namespace

// Named properties

void TCustomChartSeries::DefineProperties(TFiler* Filer) {
  inherited::DefineProperties(Filer);
  Filer->DefineProperty(
      "Identifier", [this](TReader* R) { FIdentifier = R->ReadString(); },
      [this](TWriter* W) { W->WriteString(FIdentifier); }, !FIdentifier.empty());
  Filer->DefineProperty(
      "Style",
      [this](TReader* R) { FStyle = TChartSeriesStyle::FromRaw(static_cast<std::uint32_t>(R->ReadInteger()) & 0x3F); },
      [this](TWriter* W) { W->WriteInteger(static_cast<Int64>(FStyle.Raw() & 0x3F)); }, !FStyle.Empty());
}

void TChartSeries::DefineProperties(TFiler* Filer) {
  inherited::DefineProperties(Filer);
  Filer->DefineProperty(
      "DataSources",
      [this](TReader* R) {
        FTempDataSources.clear();
        IHasTempDataSources = true;
        R->ReadListBegin();
        while (!R->EndOfList()) FTempDataSources.push_back(R->ReadString());
        R->ReadListEnd();
      },
      [this](TWriter* W) {
        W->WriteListBegin();
        for (TComponent* C : FDataSources->List) W->WriteString(C ? C->GetName() : String());
        W->WriteListEnd();
      },
      FDataSources && FDataSources->Count() > 1);
  Filer->DefineProperty(
      "CustomHorizAxis", [this](TReader* R) { ReadCustomAxis(R->ReadInteger(), true); },
      [this](TWriter* W) { W->WriteInteger(CustomAxisIndex(FCustomHorizAxis)); }, FCustomHorizAxis != nullptr);
  Filer->DefineProperty(
      "CustomVertAxis", [this](TReader* R) { ReadCustomAxis(R->ReadInteger(), false); },
      [this](TWriter* W) { W->WriteInteger(CustomAxisIndex(FCustomVertAxis)); }, FCustomVertAxis != nullptr);
  bool Stored = IsDataStored();
  if (Stored)
    if (auto* Ancestor = dynamic_cast<TChartSeries*>(Filer->GetAncestor()))
      Stored = DataBytes(this) != DataBytes(Ancestor);
  Filer->DefineBinaryProperty(
      "Data", [this](TStream* S) { ReadData(S); }, [this](TStream* S) { WriteData(S); }, Stored);
}

void TChartSeries::GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) {
  inherited::GetChildren(Proc, Root);
  if (FZelFunction && Proc) Proc(FZelFunction);
}

std::int32_t TChartSeries::CustomAxisIndex(TChartAxis* Axis) const {
  if (!Axis || !FParent) return -1;
  TChartCustomAxes* Axes = FParent->GetCustomAxes();
  if (!Axes) return -1;
  for (int I = 0; I < Axes->GetCount(); ++I)
    if (Axes->Get(I) == Axis) return I;
  return -1;
}

namespace {
TChartAxis* CustomAxisAt(TCustomAxisPanel* Chart, std::int32_t Index) {
  TChartCustomAxes* Axes = Chart ? Chart->GetCustomAxes() : nullptr;
  if (!Axes || Index < 0 || Index >= Axes->GetCount()) return nullptr;
  return Axes->Get(Index);
}
}  // namespace

void TChartSeries::ReadCustomAxis(std::int32_t Index, bool Horizontal) {
  TChartAxis* Axis = CustomAxisAt(FParent, Index);
  if (!Axis) {
    // The chart is not known yet (or has fewer axes): resolved when loading ends.
    (Horizontal ? IReadCustomHorizAxis : IReadCustomVertAxis) = Index;
    return;
  }
  if (Horizontal)
    SetCustomHorizAxis(Axis);
  else
    SetCustomVertAxis(Axis);
}

void TChartSeries::Loaded() {
  inherited::Loaded();
  if (IReadCustomHorizAxis >= 0) {
    const std::int32_t I = IReadCustomHorizAxis;
    IReadCustomHorizAxis = -1;
    if (FParent)
      if (TChartAxis* A = CustomAxisAt(FParent, I)) SetCustomHorizAxis(A);
  }
  if (IReadCustomVertAxis >= 0) {
    const std::int32_t I = IReadCustomVertAxis;
    IReadCustomVertAxis = -1;
    if (FParent)
      if (TChartAxis* A = CustomAxisAt(FParent, I)) SetCustomVertAxis(A);
  }
  if (IHasTempDataSources) {
    IHasTempDataSources = false;
    const std::vector<String> Names = std::move(FTempDataSources);
    FTempDataSources.clear();
    GetDataSources()->Clear();
    // A name that finds nothing adds nothing. A component that may not feed this series (itself,
    // one whose sources lead back here) is left out and fails the read once the others are bound.
    String Refused;
    TComponent* Owner = GetComponentOwner();
    for (const String& Name : Names) {
      TComponent* C = Owner ? Owner->FindComponent(Name) : nullptr;
      if (!C || GetDataSources()->IndexOf(C) >= 0) continue;
      try {
        ValidateDataSource(C);
      } catch (const Exception& E) {
        if (Refused.empty()) Refused = Name + ": " + E.what();
        continue;
      }
      InternalAddDataSource(C);
    }
    CheckDataSource();
    if (!Refused.empty()) throw EReadError("Error reading " + GetName() + ".DataSources: " + Refused);
    return;
  }
  // Sources and functions were bound while nothing was calculated (and a source series may be
  // read after this one): the points follow them now. A series-source component loads its series
  // from its own Loaded, so it is not asked twice.
  if ((GetDataSource() || FZelFunction) && !dynamic_cast<TZelSeriesSource*>(GetDataSource())) CheckDataSource();
}

// Content guess. Every point is looked at: a guess over the first points only would drop the
// X values, colours or labels of later points when the series is written.

bool TChartSeries::HasNoMandatoryValues() {
  if (!IUseNotMandatory) return false;
  const std::int32_t N = Count();
  if (N == 0) return false;
  const TChartValueList* L = NotMandatoryValueList;
  for (std::int32_t I = 0; I < N; ++I)
    if (L->Value[I] != static_cast<double>(I)) return true;
  return false;
}

bool TChartSeries::HasColors() {
  if (!FColors) return false;
  const TAlphaColor SeriesColor = GetSeriesColor();
  for (TAlphaColor C : *FColors)
    if (C != clZelDefault && C != SeriesColor) return true;
  return false;
}

Byte TChartSeries::SeriesGuessContents() {
  Byte Flags = 0;
  if (HasNoMandatoryValues()) Flags |= DataNotMandatory;
  if (HasColors()) Flags |= DataColors;
  if (HasLabels()) Flags |= DataLabels;
  if (FMarks && FMarks->GetPositions()->ExistCustom()) Flags |= DataMarkPositions;
  return Flags;
}

namespace {
// The bytes of one point record without its label's text, for the content flags and the number
// of value lists.
Int64 RecordSize(Byte Flags, std::int32_t Lists) {
  Int64 Size = 8 + 8 * std::max(Lists - 2, 0);
  if (Flags & DataNotMandatory) Size += 8;
  if (Flags & DataColors) Size += 4;
  if (Flags & DataLabels) Size += 5;  // 255 and the int32 length as written (1 byte at least when read)
  if (Flags & DataMarkPositions) Size += 34;
  return Size;
}
}  // namespace

void TChartSeries::WriteData(TStream* Stream) {
  const Byte Flags = SeriesGuessContents();
  const std::int32_t N = Count();
  const std::int32_t Lists = FValuesList->Count();
  // A memory stream takes the room for all the bytes at once.
  if (auto* M = dynamic_cast<TMemoryStream*>(Stream)) {
    Int64 Size = 5 + RecordSize(Flags, Lists) * N;
    if (Flags & DataLabels)
      for (std::int32_t I = 0; I < N && I < FLabels.Count(); ++I)
        Size += static_cast<Int64>(FLabels.GetList()[static_cast<std::size_t>(I)].size());
    M->SetCapacity(M->GetPosition() + Size);
  }
  TOut Out(Stream);
  Out.U8(Flags);
  Out.I32(N);
  for (std::int32_t I = 0; I < N; ++I) {
    if (Flags & DataNotMandatory) Out.F64(NotMandatoryValueList->Value[I]);
    Out.F64(MandatoryValueList->Value[I]);
    if (Flags & DataColors) Out.U32(InternalColor(I));
    if (Flags & DataLabels) {
      static const String NoLabel;
      const String& Label = I < FLabels.Count() ? FLabels.GetList()[static_cast<std::size_t>(I)] : NoLabel;
      Out.U8(255);
      Out.I32(static_cast<std::int32_t>(Label.size()));
      Out.Bytes(Label.data(), Label.size());
    }
    for (std::int32_t L = 2; L < Lists; ++L) {
      const TChartValueList* List = FValuesList->Get(L);
      Out.F64(I < List->GetCount() ? List->Value[I] : 0.0);
    }
    if (Flags & DataMarkPositions) WritePosition(Out, FMarks->GetPositions()->Get(I));
  }
  Out.Flush();
}

void TChartSeries::ReadData(TStream* Stream) {
  Clear();
  TIn In(Stream);
  const Byte Flags = In.U8();
  const std::int32_t N = In.I32();
  const std::int32_t Lists = FValuesList->Count();
  // The value lists take their memory once, for the points the stream can hold: a damaged
  // count takes no more than the bytes there are.
  const Int64 MinRecord = RecordSize(Flags, Lists) - ((Flags & DataLabels) ? 4 : 0);
  const auto Expected = static_cast<std::int32_t>(std::min<Int64>(std::max(N, 0), (In.Left() + MinRecord - 1) / MinRecord));
  for (std::int32_t L = 0; L < Lists; ++L) FValuesList->Get(L)->ReserveValues(Expected);
  if (Flags & DataLabels) FLabels.Reserve(static_cast<std::size_t>(Expected));
  // The points come back in the order they were written: an order set after they were added
  // (or read before them) is only a flag and does not sort them.
  TValueScope<TChartListOrder> AsWritten(FX->FOrder, TChartListOrder::loNone);
  WithinUpdate(*this, [&] {
    // A record that starts after the stream has ended is not invented: a damaged count must
    // not make up (possibly billions of) empty points. A record cut short reads as zeros.
    for (std::int32_t I = 0; I < N && In.Left() > 0; ++I) {
      double NotMandatory = (Flags & DataNotMandatory) ? In.F64() : static_cast<double>(I);
      double Mandatory = In.F64();
      TAlphaColor Color = (Flags & DataColors) ? In.U32() : clZelDefault;
      String Label;
      if (Flags & DataLabels) {
        Int64 Length = In.U8();
        if (Length == 255) Length = In.I32();
        Length = std::clamp<Int64>(Length, 0, In.Left());
        Label.resize(static_cast<std::size_t>(Length));
        if (Length > 0) In.Bytes(Label.data(), Length);
      }
      for (std::int32_t L = 2; L < Lists; ++L) FValuesList->Get(L)->SetTempValue(In.F64());
      if (!YMandatory) std::swap(NotMandatory, Mandatory);
      AddXY(NotMandatory, Mandatory, Label, Color);
      if (Flags & DataMarkPositions) {
        auto* P = new TSeriesMarkPosition;
        ReadPosition(In, P);
        GetMarks()->GetPositions()->Add(P);
      }
    }
  });
  In.Release();
  ManualData = true;
}

// Data sources

std::int32_t TDataSourcesList::Add(TComponent* Value) { return Series->InternalSetDataSource(Value, false); }

void TDataSourcesList::Remove(TComponent* Value) {
  auto It = std::find(List.begin(), List.end(), Value);
  if (It != List.end()) List.erase(It);
}

std::int32_t TDataSourcesList::IndexOf(const TComponent* Value) const {
  auto It = std::find(List.begin(), List.end(), Value);
  return It == List.end() ? -1 : static_cast<std::int32_t>(It - List.begin());
}

void TDataSourcesList::Clear() {
  for (TComponent* C : List)
    if (auto* S = dynamic_cast<TChartSeries*>(C)) S->RemoveLinkedSeries(Series);
  List.clear();
  if (!Series->ManualData) Series->Clear();
}

TDataSourcesList* TChartSeries::GetDataSources() {
  if (!FDataSources) FDataSources = std::make_unique<TDataSourcesList>(this);
  return FDataSources.get();
}

TComponent* TChartSeries::GetDataSource() const {
  return FDataSources && FDataSources->Count() > 0 ? FDataSources->Get(0) : nullptr;
}

void TChartSeries::SetDataSource(TComponent* Value) {
  if (Value)
    InternalSetDataSource(Value, true);
  else if (TComponent* First = GetDataSource())
    InternalRemoveDataSource(First);
}

bool TChartSeries::IsValidDataSource(TComponent* Value) {
  auto* S = dynamic_cast<TChartSeries*>(Value);
  return S && IsValidSourceOf(S);
}

bool TChartSeries::IsValidSeriesSource(TChartSeries* Value) {
  return !FZelFunction || FZelFunction->IsValidSource(Value);
}


void TChartSeries::ValidateDataSource(TComponent* Value) {
  if (FParent) {
    if (!FParent->IsValidDataSource(this, Value))
      throw ChartException(Format(ZelMsg_SeriesInvDataSource,
                                  {Value ? (Value->GetName().empty() ? String(Value->ClassName()) : Value->GetName())
                                         : String()}));
  } else if (!IsValidDataSource(Value)) {
    throw ChartException(ZelMsg_SeriesSetDataSource);
  }
  if (auto* S = dynamic_cast<TChartSeries*>(Value)) TCustomAxisPanel::CheckOtherSeries(this, S);
}

std::int32_t TChartSeries::InternalSetDataSource(TComponent* Value, bool OnlyOne) {
  ValidateDataSource(Value);
  if (FDataSources && FDataSources->IndexOf(Value) >= 0) return -1;
  if (OnlyOne && !IsLoading()) GetDataSources()->Clear();
  const std::int32_t Index = InternalAddDataSource(Value);
  CheckDataSource();
  return Index;
}

std::int32_t TChartSeries::InternalAddDataSource(TComponent* Value) {
  if (!Value) return -1;
  TDataSourcesList* L = GetDataSources();
  L->List.push_back(Value);
  const std::int32_t Index = L->Count() - 1;
  ManualData = false;
  if (auto* S = dynamic_cast<TChartSeries*>(Value)) {
    S->AddLinkedSeries(this);
  } else {
    Value->FreeNotification(this);
    if (auto* Source = dynamic_cast<TZelSeriesSource*>(Value)) {
      if (Source->GetSeries() != this) {
        const bool WasActive = Source->GetActive();
        Source->Close();
        TChartSeries* Old = Source->GetSeries();
        if (Old && Source->GetComponentOwner() == Old) {
          Old->RemoveComponent(Source);
          InsertComponent(Source);
        }
        // The old series stops listing it too, so that it keeps no reference it is not told about.
        if (Old && Old->FDataSources) Old->FDataSources->Remove(Source);
        Source->AttachSeries(this);
        if (WasActive) Source->Open();
      }
    }
  }
  return Index;
}

void TChartSeries::InternalRemoveDataSource(TComponent* Value) {
  if (!FDataSources) return;
  if (IsDestroying()) {
    FDataSources->Remove(Value);
    return;
  }
  if (Value) Value->RemoveFreeNotification(this);
  if (FParent && GetDataSource()) FParent->RemovedDataSource(this, Value);
  if (Value == GetDataSource()) {
    FDataSources->Clear();
    CheckDataSource();
  } else if ((FZelFunction && FZelFunction->NoSourceRequired) || FDataSources->IndexOf(Value) >= 0) {
    if (auto* S = dynamic_cast<TChartSeries*>(Value)) S->RemoveLinkedSeries(this);
    FDataSources->Remove(Value);
    CheckDataSource();
  }
}

void TChartSeries::RemoveAllLinkedSeries() {
  if (!FDataSources) return;
  for (TComponent* C : FDataSources->List)
    if (auto* S = dynamic_cast<TChartSeries*>(C)) S->RemoveLinkedSeries(this);
}

void TChartSeries::CheckDataSource() {
  if (IUpdating > 0) return;
  if (FParent)
    FParent->CheckDatasource(this);
  else
    RefillFromSources();
}

void TChartSeries::RefillFromSources() {
  if (IsLoading()) return;
  TComponent* Source = GetDataSource();
  if (auto* S = dynamic_cast<TChartSeries*>(Source)) {
    AddValues(S);
  } else if (auto* SS = dynamic_cast<TZelSeriesSource*>(Source)) {
    SS->Refresh();
  } else if (!Source && FZelFunction && FZelFunction->NoSourceRequired) {
    WithinUpdate(*this, [&] {
      Clear();
      FZelFunction->AddPoints(nullptr);
    });
  } else if (!Source && !ManualData && CanAddRandomPoints()) {
    FillSampleValues(NumSampleValues());
  }
}

TChartValueList* TChartSeries::GetZValueList() {
  if (!HasZValues) return nullptr;
  TChartValueList* L = GetYValueList("Z");
  return L && AnsiUpperCase(L->GetName()) == "Z" ? L : nullptr;
}

TChartValueList* TChartSeries::GetYValueList(const String& AListName) {
  const String Name = AnsiUpperCase(AListName);
  for (std::int32_t I = 2; I < FValuesList->Count(); ++I)
    if (AnsiUpperCase(FValuesList->Get(I)->GetName()) == Name) return FValuesList->Get(I);
  return MandatoryValueList;
}

// Copying

void TChartSeries::AssignFormatting(TChartSeries* Source) {
  SetShowInLegend(Source->GetShowInLegend());
  SetBrush(Source->GetBrush());
  SetPen(Source->GetPen());
  if (Source->FColor == clZelDefault && FParent) {
    FColor = clZelDefault;
    ISeriesColor = FParent->GetFreeSeriesColor(true, this);
  } else {
    FColor = Source->FColor;
    ISeriesColor = Source->ISeriesColor;
  }
  if (Source->FMarks) {
    const bool Visible = FMarks ? FMarks->GetVisible() : false;
    GetMarks()->Assign(Source->FMarks);
    FMarks->SetVisible(Visible);
  }
  FValueFormat = Source->FValueFormat;
  FPercentFormat = Source->FPercentFormat;
  FHorizAxis = Source->FHorizAxis;
  FVertAxis = Source->FVertAxis;
  LinkCustomAxis(FCustomHorizAxis, Source->FCustomHorizAxis);
  LinkCustomAxis(FCustomVertAxis, Source->FCustomVertAxis);
  FCursor = Source->FCursor;
  FDepth = Source->FDepth;
  SetSelected(Source->FSelected);
  FTransparency = Source->FTransparency;
}

void TChartSeries::AssignFormat(TChartSeries* Source) {
  SetDataSource(nullptr);
  if (YMandatory == Source->YMandatory) {
    FX->Assign(Source->FX);
    FY->Assign(Source->FY);
  } else {
    FX->Assign(Source->FY);
    FY->Assign(Source->FX);
  }
  FLabelsSource = Source->FLabelsSource;
  FColorSource = Source->FColorSource;
  FColorEachPoint = Source->FColorEachPoint;
  for (std::int32_t I = 2; I < FValuesList->Count() && I < Source->FValuesList->Count(); ++I)
    FValuesList->Get(I)->Assign(Source->FValuesList->Get(I));
  AssignFormatting(Source);
  ChangeInternalColor(Source->ISeriesColor);
  FRecalcOptions = Source->FRecalcOptions;
  RecalcGetAxis();
}

void TChartSeries::Assign(TPersistent* Source) {
  auto* S = dynamic_cast<TChartSeries*>(Source);
  if (S == this) return;
  inherited::Assign(Source);
  if (!S) return;
  AssignFormat(S);
  if (S->FMarks) GetMarks()->SetVisible(S->FMarks->GetVisible());
  if (S->FZelFunction && !FZelFunction) {
    TZelFunction* F = S->FZelFunction;
    S->FZelFunction = nullptr;
    F->RemoveFreeNotification(S);
    F->FParent = nullptr;
    FZelFunction = F;
    F->FParent = this;
    F->FreeNotification(this);
  }
  ManualData = S->ManualData;
  if (S->GetDataSource() && !S->ManualData) {
    GetDataSources()->Clear();
    for (TComponent* C : std::vector<TComponent*>(S->FDataSources->List)) InternalAddDataSource(C);
    ManualData = S->ManualData;
  } else if (S->ManualData || !S->IsDesigning()) {
    CopyPoints(S);
  }
  CheckDataSource();
}

void TChartSeries::CopyPoints(TChartSeries* S) {
  WithinUpdate(*this, [&] {
    ClearLists();
    const std::int32_t N = S->Count();
    for (std::int32_t L = 0; L < FValuesList->Count() && L < S->FValuesList->Count(); ++L) {
      TChartValueList* Dst = FValuesList->Get(L);
      TChartValueList* Src = S->FValuesList->Get(L);
      // A horizontal copy of a vertical series takes the channels crosswise.
      if (L < 2 && YMandatory != S->YMandatory) Src = S->FValuesList->Get(1 - L);
      Dst->Value.SetLength(N);
      std::copy(Src->Value.Data(), Src->Value.Data() + N, Dst->Value.Data());
      Dst->FCount = N;
      Dst->FModified = true;
    }
    for (std::int32_t L = S->FValuesList->Count(); L < FValuesList->Count(); ++L) FValuesList->Get(L)->SetCount(N);
    if (S->FColors) FColors = std::make_unique<std::vector<TAlphaColor>>(*S->FColors);
    FLabels.Assign(&S->FLabels);
  });
}

}  // namespace zel
