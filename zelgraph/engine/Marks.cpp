#include "zelgraph/engine/Marks.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_map>

#include "platform/Filer.h"
#include "platform/Math.h"
#include "platform/Streams.h"
#include "platform/Scope.h"
#include "platform/StringList.h"
#include "zelgraph/canvas/Canvas3D.h"
#include "zelgraph/canvas/Font.h"
#include "zelgraph/canvas/Gradient.h"
#include "zelgraph/canvas/Shadow.h"
#include "zelgraph/engine/Panel.h"
#include "zelgraph/engine/PointLists.h"
#include "zelgraph/engine/Series.h"
#include "zelgraph/engine/SeriesLegend.h"
#include "zelgraph/procs/Procs.h"

namespace zel {

bool ZelRectIntersects(TRectF& Out, const TRectF& R1, const TRectF& R2) {
  Out = TRectF(std::max(R1.Left, R2.Left), std::max(R1.Top, R2.Top), std::min(R1.Right, R2.Right),
               std::min(R1.Bottom, R2.Bottom));
  if (Out.Right > Out.Left && Out.Bottom > Out.Top) return true;
  Out = TRectF(0, 0, 0, 0);
  return false;
}

bool ZelRectIntersects(const TRectF& R1, const TRectF& R2) {
  TRectF Out;
  return ZelRectIntersects(Out, R1, R2);
}

// ---------------------------------------------------------------------------------------------
// TAutomaticText

ZEL_DEFINE_CLASS(TAutomaticText, TPersistent)

void TAutomaticText::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TAutomaticText*>(Source)) {
    FHide = S->FHide;
    FMove = S->FMove;
    FResize = S->FResize;
    FRotate = S->FRotate;
    FTrim = S->FTrim;
    FWrap = S->FWrap;
  } else {
    inherited::Assign(Source);
  }
}

void TAutomaticText::SetOption(bool& Field, bool Value) {
  if (Field != Value) {
    Field = Value;
    if (IOnChange) IOnChange(this);
  }
}

// ---------------------------------------------------------------------------------------------
// TSeriesMarkPosition

void TSeriesMarkPosition::Assign(const TSeriesMarkPosition* Source) {
  if (!Source) return;
  ArrowFrom = Source->ArrowFrom;
  ArrowFix = Source->ArrowFix;
  ArrowTo = Source->ArrowTo;
  Custom = Source->Custom;
  Height = Source->Height;
  LeftTop = Source->LeftTop;
  Width = Source->Width;
  MidPoint = Source->MidPoint;
  HasMid = Source->HasMid;
}

TRectF TSeriesMarkPosition::Bounds() const {
  return TRectF(LeftTop.X, LeftTop.Y, LeftTop.X + float(Width), LeftTop.Y + float(Height));
}

void TSeriesMarkPosition::Offset(TPointF P) {
  LeftTop += P;
  ArrowTo += P;
  if (HasMid) MidPoint += P;
}

// ---------------------------------------------------------------------------------------------
// TSeriesMarksPositions

TSeriesMarkPosition* TSeriesMarksPositions::Get(std::int32_t Index) const {
  ++FVersion;
  if (Index < 0 || Index >= Count()) return nullptr;
  return FItems[static_cast<std::size_t>(Index)];
}

TSeriesMarkPosition* TSeriesMarksPositions::Ensure(std::int32_t Index) {
  if (Index < 0) return nullptr;
  if (Index >= Count()) FItems.resize(static_cast<std::size_t>(Index) + 1, nullptr);
  TSeriesMarkPosition*& P = FItems[static_cast<std::size_t>(Index)];
  if (!P) {
    P = new TSeriesMarkPosition;
    Changed(Index);
  }
  return P;
}

void TSeriesMarksPositions::Put(std::int32_t Index, const TSeriesMarkPosition* Position) {
  TSeriesMarkPosition* P = Ensure(Index);
  if (!P) return;
  P->Assign(Position);
  P->Custom = true;
  Changed(Index);
}

void TSeriesMarksPositions::Automatic(std::int32_t Index) {
  if (TSeriesMarkPosition* P = Get(Index)) P->Custom = false;
}

bool TSeriesMarksPositions::ExistCustom() const {
  for (const TSeriesMarkPosition* P : FItems)
    if (P && P->Custom) return true;
  return false;
}

void TSeriesMarksPositions::MoveTo(TSeriesMarkPosition* Position, float X, float Y) {
  if (!Position) return;
  Position->ArrowTo = TPointF(X, Y);
  Position->ArrowFrom = TPointF(X, Y);
  Position->LeftTop = TPointF(X - float(Position->Width / 2), Y - float(Position->Height) + 1);
  if (IMarks)
    if (TSeriesMarksSymbol* Symbol = IMarks->ExistingSymbol()) Symbol->MoveTo(Position->LeftTop.X + 2, Position->LeftTop.Y + 2);
}

void TSeriesMarksPositions::Delete(std::int32_t Start, std::int32_t Quantity) {
  if (Start < 0 || Start >= Count() || Quantity <= 0) return;
  ErasePointRange(FItems, Start, Quantity, [](TSeriesMarkPosition* P) { delete P; });
  Changed(Start);
}

void TSeriesMarksPositions::Exchange(std::int32_t A, std::int32_t B) {
  if (A < 0 || B < 0 || A == B || Count() == 0) return;
  const std::int32_t Needed = std::max(A, B) + 1;
  if (Needed > Count()) FItems.resize(static_cast<std::size_t>(Needed), nullptr);
  std::swap(FItems[static_cast<std::size_t>(A)], FItems[static_cast<std::size_t>(B)]);
  Changed(std::min(A, B));
}

void TSeriesMarksPositions::Clear() {
  for (TSeriesMarkPosition* P : FItems) delete P;
  FItems.clear();
  Changed(0);
}

std::int32_t TSeriesMarksPositions::TakeLowestChanged() {
  const std::int32_t Result = FLowestChanged;
  FLowestChanged = INT_MAX;
  return Result;
}

// ---------------------------------------------------------------------------------------------
// TSeriesMarkShape

ZEL_DEFINE_CLASS(TSeriesMarkShape, TCustomTextShape)

TSeriesMarkShape::TSeriesMarkShape(TCustomZelPanel* AOwner) : TCustomTextShape(AOwner) {}

void TSeriesMarkShape::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TSeriesMarkShape*>(Source)) FMarkerStyle = S->FMarkerStyle;
  inherited::Assign(Source);
}

void TSeriesMarkShape::SetStyle(TSeriesMarksStyle Value) {
  if (FMarkerStyle == Value) return;
  FMarkerStyle = Value;
  if (FParent)
    FParent->Invalidate();
  else if (IParent && IParent->GetSeries())
    IParent->GetSeries()->Repaint();
}

// ---------------------------------------------------------------------------------------------
// TMarksItem

ZEL_DEFINE_CLASS(TMarksItem, TCustomTextShape)

TMarksItem::TMarksItem(TCustomZelPanel* AOwner) : TCustomTextShape(AOwner) { FColor = 0xFFFFFFE1; }

TMarksItem::~TMarksItem() { delete IText; }

void TMarksItem::ChangedText() {
  ICustomText = true;
  inherited::ChangedText();
}

TStringList* TMarksItem::GetLines() {
  if (!IText) {
    IText = new TStringList;
    IText->OnChange = [this](TObject*) { LinesChanged(); };
  }
  IFilling = true;
  TRestoreOnExit EndFilling([this] { IFilling = false; });
  IText->SetText(FText);
  return IText;
}

void TMarksItem::LinesChanged() {
  if (IFilling || !IText) return;
  String Joined;
  for (int I = 0; I < IText->GetCount(); ++I) {
    if (I > 0) Joined += ZelLineSeparator;
    Joined += IText->GetStrings(I);
  }
  FText = Joined;
  ICustomText = true;
  if (FParent) FParent->CanvasChanged(this);
}

void TMarksItem::SetLines(TStringList* Value) {
  if (!Value) {
    delete IText;
    IText = nullptr;
    FText.clear();
    ICustomText = false;
    Repaint();
    return;
  }
  GetLines()->Assign(Value);
}

void TMarksItem::DefineProperties(TFiler* Filer) {
  inherited::DefineProperties(Filer);
  TSeriesMarks* Marks = IMarks;
  Filer->DefineProperty(
      "Text.Strings",
      [this](TReader* R) {
        R->ReadListBegin();
        String Joined;
        bool First = true;
        while (!R->EndOfList()) {
          if (!First) Joined += ZelLineSeparator;
          Joined += R->ReadString();
          First = false;
        }
        R->ReadListEnd();
        FText = Joined;
        ICustomText = true;
      },
      [this](TWriter* W) {
        W->WriteListBegin();
        std::size_t Start = 0;
        while (true) {
          const std::size_t End = FText.find(ZelLineSeparator, Start);
          W->WriteString(FText.substr(Start, End == String::npos ? String::npos : End - Start));
          if (End == String::npos) break;
          Start = End + 1;
        }
        W->WriteListEnd();
      },
      ICustomText);
  Filer->DefineProperty(
      "Color", [this](TReader* R) { FColor = static_cast<TAlphaColor>(R->ReadInteger()); },
      [this](TWriter* W) { W->WriteInteger(static_cast<std::int32_t>(FColor)); },
      Marks ? FColor != Marks->GetColor() : FColor != 0xFFFFFFE1);
  Filer->DefineProperty(
      "Transparent", [this](TReader* R) { FTransparent = R->ReadBoolean(); },
      [this](TWriter* W) { W->WriteBoolean(FTransparent); },
      Marks ? FTransparent != Marks->GetTransparent() : FTransparent != DefaultTransparent);
  Filer->DefineProperty(
      "Visible", [this](TReader* R) { FVisible = R->ReadBoolean(); }, [this](TWriter* W) { W->WriteBoolean(FVisible); },
      Marks ? FVisible != Marks->GetVisible() : FVisible != DefaultVisible);
}

// ---------------------------------------------------------------------------------------------
// TMarksItems

TMarksItem* TMarksItems::Get(std::int32_t Index) {
  if (Index < 0) return nullptr;
  if (Index >= Count()) FItems.resize(static_cast<std::size_t>(Index) + 1, nullptr);
  TMarksItem*& Item = FItems[static_cast<std::size_t>(Index)];
  if (!Item) {
    Item = Create<TMarksItem>(IMarks ? IMarks->GetParent() : nullptr);
    Item->IMarks = IMarks;
    if (IMarks) Item->Assign(IMarks);
  }
  return Item;
}

TMarksItem* TMarksItems::InternalGet(std::int32_t Index) const {
  if (Index < 0 || Index >= Count()) return nullptr;
  return FItems[static_cast<std::size_t>(Index)];
}

void TMarksItems::Delete(std::int32_t Start, std::int32_t Quantity) {
  ErasePointRange(FItems, Start, Quantity, [](TMarksItem* Item) {
    if (Item) Item->Free();
  });
}

void TMarksItems::Exchange(std::int32_t A, std::int32_t B) {
  if (A < 0 || B < 0 || A == B || Count() == 0) return;
  const std::int32_t Needed = std::max(A, B) + 1;
  if (Needed > Count()) FItems.resize(static_cast<std::size_t>(Needed), nullptr);
  std::swap(FItems[static_cast<std::size_t>(A)], FItems[static_cast<std::size_t>(B)]);
}

void TMarksItems::Clear() {
  for (TMarksItem* Item : FItems)
    if (Item) Item->Free();
  FItems.clear();
}

// ---------------------------------------------------------------------------------------------
// TSeriesMarksSymbol

ZEL_DEFINE_CLASS(TSeriesMarksSymbol, TZelCustomShape)

TSeriesMarksSymbol::TSeriesMarksSymbol(TCustomZelPanel* AOwner) : TZelCustomShape(AOwner) {
  TAutoRepaintScope Quiet(AOwner, false);
  FVisible = false;
  DefaultVisible = false;
  InitTransparent(false);
  FShadow->InitValues(FShadow->GetVisible(), FShadow->GetColor(), 1);
  TZelEmboss* E = GetEmboss();
  E->InitValues(E->GetVisible(), E->GetColor(), 1);
}

// ---------------------------------------------------------------------------------------------
// TSeriesMarks

ZEL_DEFINE_CLASS(TSeriesMarks, TSeriesMarkShape)

TSeriesMarks::TSeriesMarks(TChartSeries* ASeries)
    : TSeriesMarkShape(nullptr), FSeries(ASeries) {
  IParent = this;
  FChildren->IShapeClass = GetChildClass();
  FAutomatic = new TAutomaticText(ChangeHandler());
  InitTextAlignment(TAlignment::taCenter);
  FMargins->InitHoriz(20);
  InitGradient(FBrush->GetGradient());
  FRoundSize = 4;
  FShapeStyle = TChartObjectShapeStyle::fosRoundRectangle;
  FColor = 0xFFFFFFE1;
  FVisible = false;
  DefaultVisible = false;
  InitShadow(FShadow);
  // The callout (its arrow, the arrow length that lifts each mark) is made with the marks: made
  // on first use, a program only looking at the marks' arrow would make the arrows appear.
  GetCallout();
}

TSeriesMarks::~TSeriesMarks() {
  FAutomatic->Free();
  if (FSymbol) FSymbol->Free();
  if (FCallout) FCallout->Free();
  FPositions.Clear();
  FItems.IMarks = nullptr;
  FItems.Clear();
}

void TSeriesMarks::InitGradient(TZelGradient* Value) {
  if (!Value) return;
  Value->InitDirection(TGradientDirection::gdRightLeft);
  Value->IDefStart = 0xFFC0C0C0;
  Value->IDefEnd = 0xFFFFFFFF;
  Value->ResetColors();
}

void TSeriesMarks::InitEmboss(TZelEmboss* Value) { Value->InitValues(Value->GetVisible(), 0xFF808080, 3); }

void TSeriesMarks::InitShadow(TZelShadow* Value) { Value->InitValues(Value->GetVisible(), 0xFF808080, 3); }

TZelCustomShapeClass TSeriesMarks::GetChildClass() const { return ShapeClassOf<TSeriesMarkShape>(); }

void TSeriesMarks::Assign(TPersistent* Source) {
  if (Source == this) return;
  if (auto* S = dynamic_cast<TSeriesMarks*>(Source)) {
    FAutomatic->Assign(S->FAutomatic);
    if (S->FCallout)
      GetCallout()->Assign(S->FCallout);
    else
      SetCallout(nullptr);
    FClip = S->FClip;
    FDrawEvery = S->FDrawEvery;
    FFontSeriesColor = S->FFontSeriesColor;
    FMultiLine = S->FMultiLine;
    FOnTop = S->FOnTop;
    FSoftClip = S->FSoftClip;
    SetSymbol(S->FSymbol);
    FUseSeriesTransparency = S->FUseSeriesTransparency;
    FZPosition = S->FZPosition;
    FItems.Clear();
    for (std::int32_t I = 0; I < S->FItems.Count(); ++I)
      if (TMarksItem* Item = S->FItems.InternalGet(I)) {
        TMarksItem* Mine = FItems.Get(I);
        Mine->Assign(Item);
        Mine->ICustomText = Item->ICustomText;
      }
  }
  inherited::Assign(Source);
}

void TSeriesMarks::SetParent(TCustomZelPanel* Value) {
  inherited::SetParent(Value);
  if (FCallout) FCallout->SetParent(Value);
  if (FSymbol) FSymbol->SetParent(Value);
}

void TSeriesMarks::SetParent(TCustomAxisPanel* Value) {
  FParentChart = Value;
  SetParent(static_cast<TCustomZelPanel*>(Value));
}

void TSeriesMarks::Repaint() {
  if (FParent)
    FParent->Invalidate();
  else if (FSeries)
    FSeries->Repaint();
}

// Properties

void TSeriesMarks::SetSeriesBool(bool& Field, bool Value) {
  if (FSeries) {
    FSeries->SetBooleanProperty(Field, Value);
  } else if (Field != Value) {
    Field = Value;
    Repaint();
  }
}

void TSeriesMarks::SetSeriesInt(std::int32_t& Field, std::int32_t Value) {
  if (FSeries) {
    FSeries->SetIntegerProperty(Field, Value);
  } else if (Field != Value) {
    Field = Value;
    Repaint();
  }
}

void TSeriesMarks::SetAngle(std::int32_t Value) { SetSeriesInt(FAngle, Value); }
void TSeriesMarks::SetClip(bool Value) { SetSeriesBool(FClip, Value); }
void TSeriesMarks::SetDrawEvery(std::int32_t Value) { SetSeriesInt(FDrawEvery, std::max(Value, 1)); }
void TSeriesMarks::SetFontSeriesColor(bool Value) { SetSeriesBool(FFontSeriesColor, Value); }
void TSeriesMarks::SetMultiLine(bool Value) { SetSeriesBool(FMultiLine, Value); }
void TSeriesMarks::SetOnTop(bool Value) { SetSeriesBool(FOnTop, Value); }
void TSeriesMarks::SetSoftClip(bool Value) { SetSeriesBool(FSoftClip, Value); }
void TSeriesMarks::SetUseSeriesTransparency(bool Value) { SetSeriesBool(FUseSeriesTransparency, Value); }

TMarksCallout* TSeriesMarks::GetCallout() {
  if (!FCallout) {
    FCallout = new TMarksCallout(FSeries);
    FCallout->SetParent(FParent);
  }
  return FCallout;
}

void TSeriesMarks::SetCallout(TMarksCallout* Value) {
  if (!Value) {
    FreeAndNil(FCallout);
  } else if (Value != FCallout) {
    GetCallout()->Assign(Value);
  }
}

TZelPen* TSeriesMarks::GetArrow() { return GetCallout()->GetArrow(); }
void TSeriesMarks::SetArrow(TZelPen* Value) { GetCallout()->SetArrow(Value); }
std::int32_t TSeriesMarks::GetArrowLength() { return GetCallout()->GetLength(); }
void TSeriesMarks::SetArrowLength(std::int32_t Value) { GetCallout()->SetLength(Value); }

TSeriesMarksSymbol* TSeriesMarks::GetSymbol() {
  if (!FSymbol) FSymbol = Create<TSeriesMarksSymbol>(FParent);
  return FSymbol;
}

void TSeriesMarks::SetSymbol(TSeriesMarksSymbol* Value) {
  if (!Value) {
    FreeAndNil(FSymbol);
  } else if (Value != FSymbol) {
    GetSymbol()->Assign(Value);
  }
}

// Positions and items

void TSeriesMarks::UsePosition(std::int32_t Index, TSeriesMarkPosition*& Position) {
  TSeriesMarkPosition* Entry = FPositions.Ensure(Index);
  if (!Entry || !Position) return;
  if (Entry->Custom) {
    const TPointF From = Position->ArrowFrom;
    const bool KeepFrom = Entry->ArrowFix || Position->ArrowFix;
    Position->Assign(Entry);
    if (KeepFrom) Position->ArrowFrom = From;
    Position->Custom = false;
  } else {
    Entry->Assign(Position);
    FPositions.Changed(Index);
  }
}

TZelCustomShape* TSeriesMarks::MarkItem(std::int32_t Index) const {
  if (TMarksItem* Item = FItems.InternalGet(Index)) return Item;
  return const_cast<TSeriesMarks*>(this);
}

void TSeriesMarks::ApplyArrowLength(TSeriesMarkPosition* Position) const {
  if (FCallout) FCallout->ApplyArrowLength(Position);
}

void TSeriesMarks::ResetPositions() {
  for (std::int32_t I = 0; I < FPositions.Count(); ++I)
    if (TSeriesMarkPosition* P = FPositions.Get(I)) P->Custom = false;
  if (FSeries) FSeries->Repaint();
}

void TSeriesMarks::Clear() {
  FPositions.Clear();
  if (!FItems.ILoadingCustom) FItems.Clear();
}

void TSeriesMarks::DeletePoints(std::int32_t Start, std::int32_t Quantity) {
  FPositions.Delete(Start, Quantity);
  FItems.Delete(Start, Quantity);
}

void TSeriesMarks::SwapPoints(std::int32_t A, std::int32_t B) {
  FPositions.Exchange(A, B);
  FItems.Exchange(A, B);
}

// Geometry

bool TSeriesMarks::DrawnFlat() const {
  return !FParent || !FParent->GetCanvas() || !FParent->GetView3D() || FParent->GetCanvas()->GetSupports3DText();
}

TPointF TSeriesMarks::ConvertTo2D(TPointF Q, TPointF P) const {
  if (DrawnFlat()) return P;
  TCanvas3D* C = FParent->GetCanvas();
  const TPointF Projected = C->Calculate3DPosition(Q, FZPosition);
  return TPointF(Projected.X - (Q.X - P.X), Projected.Y - (Q.Y - P.Y));
}

// The bounds of the marks of one paint already met by the overlap test, bucketed in cells of
// about one mark's size: a test meets the marks of the cells the new mark covers.
class TSeriesMarks::TPlacing {
 public:
  TFrameMargins Own;  // of the marks themselves, worked out once a paint
  const TCustomTextShape* Measured = nullptr;
  String MeasuredText;
  // The marks of First .. Next - 1 are in the cells.
  std::int32_t First = 0, Next = 0;

  void Reset(std::int32_t AFirst) {
    First = Next = AFirst;
    Bounds.clear();
    Cells.clear();
    Wide = TList();
  }

  void Insert(std::int32_t Index, const TRectF& R) {
    const std::size_t K = static_cast<std::size_t>(Index - First);
    if (Bounds.size() <= K) Bounds.resize(K + 1, Missing());
    Bounds[K] = R;
    if (CellW == 0 && Finite(R)) {
      CellW = std::max(8.0f, R.Width());
      CellH = std::max(8.0f, R.Height());
    }
    TCellRange C;
    if (!CellsOf(R, C)) {
      Wide.Add({Index, R});
      return;
    }
    for (std::int64_t X = C.X0; X <= C.X1; ++X)
      for (std::int64_t Y = C.Y0; Y <= C.Y1; ++Y) Cells[Key(X, Y)].Add({Index, R});
  }

  const TRectF& BoundsOf(std::int32_t Index) const { return Bounds[static_cast<std::size_t>(Index - First)]; }

  // The latest mark below Bound whose bounds meet R, -1 for none.
  std::int32_t Latest(const TRectF& R, std::int32_t Bound, std::int64_t& Tests) const {
    std::int32_t Best = -1;
    TCellRange C;
    if (!CellsOf(R, C)) {
      // Too wide to name its cells: every mark, latest first.
      const std::int32_t Top = std::min<std::int64_t>(Bound, First + static_cast<std::int64_t>(Bounds.size()));
      for (std::int32_t J = Top - 1; J >= First && Best < 0; --J) {
        ++Tests;
        if (ZelRectIntersects(Bounds[static_cast<std::size_t>(J - First)], R)) Best = J;
      }
      return Best;
    }
    for (std::int64_t X = C.X0; X <= C.X1; ++X)
      for (std::int64_t Y = C.Y0; Y <= C.Y1; ++Y) {
        const auto It = Cells.find(Key(X, Y));
        if (It != Cells.end()) It->second.MeetLatest(R, Bound, Best, Tests);
      }
    Wide.MeetLatest(R, Bound, Best, Tests);
    return Best;
  }

 private:
  struct TEntry {
    std::int32_t Index;
    TRectF Bounds;
  };
  // Whether a rectangle inside U can meet R: when not, none of those inside U meets R.
  static bool MayMeet(const TRectF& U, const TRectF& R) {
    return U.Left < R.Right && U.Right > R.Left && U.Top < R.Bottom && U.Bottom > R.Top;
  }
  static TRectF Union(const TRectF& A, const TRectF& B) {
    return TRectF(std::min(A.Left, B.Left), std::min(A.Top, B.Top), std::max(A.Right, B.Right),
                  std::max(A.Bottom, B.Bottom));
  }
  // The marks of one cell in rising order, with the bounds around each run of Small and of
  // Large of them: a search skips a whole run that cannot meet the new mark, so that a crowded
  // cell whose latest marks all lie beside the new one is passed in a few steps.
  class TList {
   public:
    void Add(const TEntry& E) {
      const std::size_t K = Entries.size();
      Entries.push_back(E);
      Grow(Smalls, K / Small, E.Bounds);
      Grow(Larges, K / Large, E.Bounds);
    }
    // Raises Best to the latest mark below Bound meeting R, when it is later than Best.
    void MeetLatest(const TRectF& R, std::int32_t Bound, std::int32_t& Best, std::int64_t& Tests) const {
      const auto Top = std::lower_bound(Entries.begin(), Entries.end(), Bound,
                                        [](const TEntry& E, std::int32_t B) { return E.Index < B; });
      for (std::size_t K = static_cast<std::size_t>(Top - Entries.begin()); K > 0;) {
        // K entries remain; a whole run ending at K is skipped when it cannot meet R.
        if (K % Large == 0 && !MayMeet(Larges[K / Large - 1], R)) {
          K -= Large;
          continue;
        }
        if (K % Small == 0 && !MayMeet(Smalls[K / Small - 1], R)) {
          K -= Small;
          continue;
        }
        const TEntry& E = Entries[--K];
        if (E.Index <= Best) return;
        ++Tests;
        if (ZelRectIntersects(E.Bounds, R)) {
          Best = E.Index;
          return;
        }
      }
    }

   private:
    static constexpr std::size_t Small = 16, Large = 256;
    // A run holding a rectangle that is not finite is never skipped.
    static void Grow(std::vector<TRectF>& Runs, std::size_t Run, const TRectF& B) {
      constexpr float Inf = std::numeric_limits<float>::infinity();
      const TRectF U = Finite(B) ? B : TRectF(-Inf, -Inf, Inf, Inf);
      if (Runs.size() <= Run)
        Runs.push_back(U);
      else
        Runs[Run] = Union(Runs[Run], U);
    }
    std::vector<TEntry> Entries;
    std::vector<TRectF> Smalls, Larges;
  };
  struct TCellRange {
    std::int64_t X0 = 0, Y0 = 0, X1 = 0, Y1 = 0;
  };
  static constexpr std::int64_t MaxCells = 64;
  // Marks with no position entry: a rectangle that meets nothing.
  static TRectF Missing() { return TRectF(1, 0, 0, 0); }
  static bool Finite(const TRectF& R) {
    return std::isfinite(R.Left) && std::isfinite(R.Top) && std::isfinite(R.Right) && std::isfinite(R.Bottom);
  }
  static std::int64_t Cell(float V, float Size) {
    return static_cast<std::int64_t>(std::clamp(std::floor(double(V) / double(Size)), -2.0e9, 2.0e9));
  }
  static std::uint64_t Key(std::int64_t X, std::int64_t Y) {
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(X)) << 32) | static_cast<std::uint32_t>(Y);
  }
  // The cells R covers; false when it covers too many to list (or none can be named).
  bool CellsOf(const TRectF& R, TCellRange& C) const {
    if (CellW == 0 || !Finite(R)) return false;
    C.X0 = Cell(R.Left, CellW);
    C.X1 = Cell(R.Right, CellW);
    C.Y0 = Cell(R.Top, CellH);
    C.Y1 = Cell(R.Bottom, CellH);
    if (C.X1 < C.X0) std::swap(C.X0, C.X1);
    if (C.Y1 < C.Y0) std::swap(C.Y0, C.Y1);
    return (C.X1 - C.X0 + 1) * (C.Y1 - C.Y0 + 1) <= MaxCells;
  }

  float CellW = 0, CellH = 0;
  std::vector<TRectF> Bounds;  // of First + K
  // The marks of each cell, and those covering too many cells (met by every test), in rising
  // order.
  std::unordered_map<std::uint64_t, TList> Cells;
  TList Wide;
};

TSeriesMarks::TFrameMargins TSeriesMarks::FrameMargins(const TZelCustomShape* Shape) const {
  TFrameMargins M;
  if (Shape->GetTransparent()) return M;
  M.Opaque = true;
  TZelPen* Pen = Shape->GetPen();
  M.Pen = Pen->GetVisible();
  M.PenWidth = Pen->GetWidth();
  TZelShadow* Shadow = Shape->GetShadow();
  M.Shadow = Shadow->GetVisible();
  M.ShadowH = Shadow->GetHorizSize();
  M.ShadowV = Shadow->GetVertSize();
  M.Emboss = FEmboss && FEmboss->GetVisible();
  if (M.Emboss) {
    M.EmbossH = FEmboss->GetHorizSize();
    M.EmbossV = FEmboss->GetVertSize();
  }
  return M;
}

TRectF TSeriesMarks::TotalBounds(const TFrameMargins& M, TSeriesMarkPosition* Position) const {
  TRectF R = Position->Bounds();
  if (M.Opaque) {
    if (M.Pen) {
      R.Right += M.PenWidth;
      R.Bottom += M.PenWidth;
    }
    if (M.Shadow) {
      const int HS = M.ShadowH, VS = M.ShadowV;
      if (HS > 0)
        R.Right += float(HS);
      else
        R.Left += float(HS);
      if (VS > 0)
        R.Bottom += float(VS);
      else
        R.Top += float(VS);
    }
    if (M.Emboss) {
      const int HS = M.EmbossH, VS = M.EmbossV;
      if (HS > 0)
        R.Left -= float(HS);
      else
        R.Right -= float(HS);
      if (VS > 0)
        R.Top -= float(VS);
      else
        R.Bottom -= float(VS);
    }
  }
  const TPointF Corner = ConvertTo2D(Position->ArrowTo, TPointF(R.Left, R.Top));
  const float DX = Corner.X - R.Left, DY = Corner.Y - R.Top;
  return TRectF(R.Left + DX, R.Top + DY, R.Right + DX, R.Bottom + DY);
}

TRectF TSeriesMarks::TotalBounds(std::int32_t Index, TSeriesMarkPosition* Position) const {
  TMarksItem* Item = FItems.InternalGet(Index);
  if (!Item && FPlacing) return TotalBounds(FPlacing->Own, Position);
  return TotalBounds(FrameMargins(Item ? static_cast<const TZelCustomShape*>(Item) : this), Position);
}

void TSeriesMarks::BeginPlacing() {
  FPlacing = std::make_unique<TPlacing>();
  FPlacing->Own = FrameMargins(this);
  FPlacing->Reset(-1);
}

void TSeriesMarks::EndPlacing() { FPlacing.reset(); }

void TSeriesMarks::NoteMeasured(TCustomTextShape* Shape) {
  if (!FPlacing) return;
  FPlacing->Measured = Shape;
  FPlacing->MeasuredText = Shape ? Shape->GetText() : String();
}

bool TSeriesMarks::AntiOverlap(std::int32_t First, std::int32_t Index, TSeriesMarkPosition* Position) {
  if (First >= Index || !Position) return true;
  TRectF R = TotalBounds(Index, Position);
  // Moves the mark out of the way of R2 (which it meets); false when it still meets it.
  auto MoveAway = [&](const TRectF& R2) {
    const TPointF D = FSeries ? FSeries->MarkOverlap(Index, R, R2) : TPointF(0, 0);
    Position->Offset(D);
    R = TRectF(R.Left + D.X, R.Top + D.Y, R.Right + D.X, R.Bottom + D.Y);
    ++IOverlapTests;
    return !ZelRectIntersects(R2, R);
  };
  if (!FPlacing) {
    for (std::int32_t I = Index - 1; I >= First; --I) {
      TSeriesMarkPosition* Entry = FPositions.Get(I);
      if (!Entry) continue;
      const TRectF R2 = TotalBounds(I, Entry);
      ++IOverlapTests;
      if (ZelRectIntersects(R2, R) && !MoveAway(R2)) return false;
    }
    return true;
  }
  // The same outcome from the marks near the new one: the latest earlier mark that meets it,
  // then the latest before that one which meets it where it was moved, and so on.
  TPlacing& P = *FPlacing;
  const std::int32_t Changed = FPositions.TakeLowestChanged();
  if (P.First != First || Index < P.Next || Changed < P.Next) P.Reset(First);
  for (; P.Next < Index; ++P.Next)
    if (TSeriesMarkPosition* Entry = FPositions.Get(P.Next)) P.Insert(P.Next, TotalBounds(P.Next, Entry));
  for (std::int32_t Bound = Index;;) {
    ++IOverlapSearches;
    const std::int32_t J = P.Latest(R, Bound, IOverlapTests);
    if (J < 0) return true;
    if (!MoveAway(P.BoundsOf(J))) return false;
    Bound = J;
  }
}

struct TSeriesMarks::TClickCells {
  std::uint64_t Version = 0;
  std::int32_t Every = 0, Angle = 0;
  TPlacing Cells;
};

std::int32_t TSeriesMarks::Clicked(TPointF P) {
  constexpr float Inf = std::numeric_limits<float>::infinity();
  const std::int32_t Every = std::max(FDrawEvery, 1);
  auto BoxOf = [&](const TSeriesMarkPosition* Entry) {
    const TPointF LT = ConvertTo2D(Entry->ArrowTo, Entry->LeftTop);
    return TRectF(LT.X, LT.Y, LT.X + float(Entry->Width), LT.Y + float(Entry->Height));
  };
  auto Hit = [&](std::int32_t I) {
    ++IClickTests;
    return ClickedShape(P, BoxOf(FPositions.Peek(I)));
  };
  if (!DrawnFlat()) {
    // Where the marks lie depends on the projection: each box is worked out again.
    for (std::int32_t I = FPositions.Count() - 1; I >= 0; --I)
      if (I % Every == 0 && FPositions.Peek(I) && Hit(I)) return I;
    return -1;
  }
  TClickCells* K = FClickCells.get();
  if (!K || K->Version != FPositions.Version() || K->Every != Every || K->Angle != FAngle) {
    FClickCells = std::make_unique<TClickCells>();
    K = FClickCells.get();
    K->Version = FPositions.Version();
    K->Every = Every;
    K->Angle = FAngle;
    K->Cells.Reset(0);
    for (std::int32_t I = 0; I < FPositions.Count(); I += Every) {
      const TSeriesMarkPosition* Entry = FPositions.Peek(I);
      if (!Entry) continue;
      // A rectangle around every point the box takes (turned about its centre when the marks
      // are turned), with a pixel to spare, and strictly around it however large the numbers.
      const TRectF B = BoxOf(Entry);
      float L = std::min(B.Left, B.Right), T = std::min(B.Top, B.Bottom);
      float R = std::max(B.Left, B.Right), Bo = std::max(B.Top, B.Bottom);
      if (FAngle % 360 != 0) {
        const float CX = (B.Left + B.Right) / 2, CY = (B.Top + B.Bottom) / 2;
        const float Half = (std::fabs(B.Width()) + std::fabs(B.Height())) / 2;
        L = CX - Half;
        T = CY - Half;
        R = CX + Half;
        Bo = CY + Half;
      }
      auto Below = [](float V) { return std::min(V - 1, std::nextafter(V, -Inf)); };
      auto Above = [](float V) { return std::max(V + 1, std::nextafter(V, Inf)); };
      K->Cells.Insert(I, TRectF(Below(L), Below(T), Above(R), Above(Bo)));
    }
  }
  // The boxes near P, highest index first.
  const TRectF Near(std::nextafter(P.X, -Inf), std::nextafter(P.Y, -Inf), std::nextafter(P.X, Inf),
                    std::nextafter(P.Y, Inf));
  for (std::int32_t Bound = INT_MAX;;) {
    const std::int32_t J = K->Cells.Latest(Near, Bound, IClickTests);
    if (J < 0) return -1;
    if (Hit(J)) return J;
    Bound = J;
  }
}

struct TSeriesMarks::TWidest {
  TTextWidthKey Key;
  std::int32_t Width = -1;
};

std::int32_t TSeriesMarks::MaxTextWidth() {
  if (!FSeries) return 0;
  const std::int32_t N = FSeries->Count();
  // The points with an item of their own: which of those are shown, and their own texts.
  TTextWidthKey Key;
  std::int32_t WithItem = 0;
  bool ItemShown = false;
  for (std::int32_t I = 0, Last = std::min(FItems.Count(), N); I < Last; ++I) {
    const TMarksItem* Item = FItems.InternalGet(I);
    if (!Item) continue;
    ++WithItem;
    ItemShown = ItemShown || Item->GetVisible();
    Key.Numbers.insert(Key.Numbers.end(), {double(I), double(Item->GetVisible()), double(Item->ICustomText)});
    if (Item->ICustomText) Key.Texts.push_back(Item->GetText());
  }
  // No mark shown, or nowhere to measure: nothing is measured.
  if (!((GetVisible() && WithItem < N) || ItemShown) || !FParent || !FParent->GetCanvas()) return 0;
  auto Measure = [&] {
    std::int32_t Result = 0;
    for (std::int32_t I = 0; I < N; ++I) {
      TZelCustomShape* Item = MarkItem(I);
      if (Item && Item->GetVisible()) Result = std::max(Result, TextWidth(I));
    }
    return Result;
  };
  const TSeriesMarksStyle Style = GetStyle();
  if (FSeries->OnGetMarkText || Style == TSeriesMarksStyle::smsXValue || Style == TSeriesMarksStyle::smsXY ||
      Style == TSeriesMarksStyle::smsLegend) {
    FWidest.reset();
    return Measure();
  }
  // The texts of the other styles come from the values, the labels, the formats and the title.
  PrepareFont(FParent);
  FParent->AddTextMetrics(Key);
  Key.Numbers.insert(Key.Numbers.end(), {double(N), double(FTextFormat), double(Style), double(FMultiLine),
                                         double(GetVisible())});
  FSeries->AddTextSources(Key);
  if (FWidest && FWidest->Key == Key) return FWidest->Width;
  const std::int32_t Result = Measure();
  FWidest = std::make_unique<TWidest>(TWidest{std::move(Key), Result});
  return Result;
}

std::int32_t TSeriesMarks::TextWidth(std::int32_t Index) {
  if (!FParent || !FParent->GetCanvas() || !FSeries) return 0;
  ++ITextWidths;
  PrepareFont(FParent);
  const String Text = FSeries->GetMarkText(Index);
  std::int32_t Lines = 0;
  return Round(FParent->MultiLineTextSize(Text, FTextFormat, Lines).X);
}

// Drawing

void TSeriesMarks::InternalDraw(std::int32_t Index, TAlphaColor AColor, const String& St,
                                TSeriesMarkPosition* Position) {
  UsePosition(Index, Position);
  TZelCustomShape* Shape = MarkItem(Index);
  // The mark under the mouse takes the hover font's style for this drawing.
  TOwned<TZelFont> Saved;
  if (FSeries && FSeries->HoverEnabled() && Index == FSeries->GetSelected()->GetHoverIndex()) {
    Saved.reset(new TZelFont);
    Saved->Assign(Shape->GetFont());
    Shape->GetFont()->SetStyle(FSeries->GetSelected()->GetHover()->GetFont()->GetStyle());
  }
  TRestoreOnExit RestoreFont([&] {
    if (Saved) Shape->GetFont()->Assign(Saved.get());
  });
  DrawItem(Shape, AColor, St, Position);
}

void TSeriesMarks::GiveText(TCustomTextShape* Shape, const String& St) {
  auto* Item = dynamic_cast<TMarksItem*>(Shape);
  if (!Item || !Item->ICustomText) Shape->InternalSetText(St);
}

void TSeriesMarks::DrawItem(TZelCustomShape* Shape, TAlphaColor AColor, const String& St,
                            TSeriesMarkPosition* Position) {
  if (!Shape || !Position || !FParent || !FParent->GetCanvas()) return;
  TCanvas3D* C = FParent->GetCanvas();
  TAutoRepaintScope Quiet(FParent, false);

  // 1. Callout.
  if (FCallout && (FCallout->GetVisible() || FCallout->GetArrow()->GetVisible())) {
    const bool Blend = FCallout->GetTransparency() != 0;
    if (Blend) {
      const TRectF BR = C->GetSupportsAlpha() ? ZelZeroRectF
                                              : OrientRectangle(Position->ArrowFrom.X, Position->ArrowFrom.Y,
                                                                Position->ArrowTo.X, Position->ArrowTo.Y);
      C->BeginBlending(BR, static_cast<std::int8_t>(FCallout->GetTransparency()));
    }
    TRestoreOnExit EndBlend([&] {
      if (Blend) C->EndBlending(nullptr);
    });
    FCallout->Draw(FParent, AColor, Position->ArrowFrom, Position->MidPoint, Position->ArrowTo, FZPosition,
                   Position->HasMid);
  }

  // 2. The box.
  Position->LeftTop = ConvertTo2D(Position->ArrowTo, Position->LeftTop);
  TRectF R = Position->Bounds();
  if (Position->Custom) {
    const TRectF& CB = FParent->GetChartBounds();
    R = TRectF(R.Left + CB.Left, R.Top + CB.Top, R.Right + CB.Left, R.Bottom + CB.Top);
  }

  // 3. Clipping of shadow and emboss, the font colour.
  Shape->GetShadow()->SetClip(FClip);
  if (TZelEmboss* E = Shape->ExistingEmboss()) E->SetClip(FClip);
  TZelFont* Font = Shape->GetFont();
  const TAlphaColor OldFontColor = Font->GetColor();
  if (FFontSeriesColor) Font->SetColor(AColor);

  // 4. The shape with its text.
  {
    TRestoreOnExit RestoreFontColor([&] {
      if (FFontSeriesColor) Font->SetColor(OldFontColor);
    });
    if (auto* T = dynamic_cast<TCustomTextShape*>(Shape)) {
      GiveText(T, St);
      // A mark just measured for its position keeps that measure (the font's colour may differ
      // now, its size not); child shapes are measured with it.
      const bool Measured = FPlacing && FPlacing->Measured == T && FPlacing->MeasuredText == T->GetText() &&
                            (!T->GetChildren() || T->GetChildren()->GetCount() == 0);
      if (FPlacing) FPlacing->Measured = nullptr;
      if (!Measured) T->CalcBounds(FParent);
    }
    Shape->ShapeBounds = R;
    Shape->Draw(FParent, R, FAngle % 360, FZPosition);
  }

  // 5. Symbol.
  if (FSymbol && FSymbol->ShouldDraw()) {
    FSymbol->SetColor(AColor);
    FSymbol->SetTransparent(false);
    C->AssignFont(Font);
    const int H = C->GetFontHeight();
    const int W = Shape->GetPen()->HalfWidth() + FSymbol->GetPen()->HalfWidth();
    const TRectF SR(R.Left + float(W + 4), R.Top + float(W + 3), R.Left + float(2 * W + H - 1),
                    R.Top + float(2 * W + H - 2));
    FSymbol->ShapeBounds = SR;
    FSymbol->Draw(FParent, SR, FAngle % 360, FZPosition);
  }
}

// Streaming of the custom items

void TSeriesMarks::DefineProperties(TFiler* Filer) {
  inherited::DefineProperties(Filer);
  Filer->DefineBinaryProperty(
      "Items", [this](TStream* S) { ReadItems(S); }, [this](TStream* S) { WriteItems(S); }, FItems.Count() > 0);
}

void TSeriesMarks::WriteItems(TStream* Stream) {
  const std::int32_t N = FItems.Count();
  Stream->WriteBuffer(&N, sizeof(N));
  if (N <= 0) return;
  TWriter Writer(Stream);
  for (std::int32_t I = 0; I < N; ++I) {
    Writer.WriteListBegin();
    if (TMarksItem* Item = FItems.InternalGet(I)) Writer.WriteProperties(Item);
    Writer.WriteListEnd();
  }
}

void TSeriesMarks::ReadItems(TStream* Stream) {
  std::int32_t N = 0;
  Stream->ReadBuffer(&N, sizeof(N));
  if (N <= 0) return;  // no items
  // Every item takes at least its two list markers: a count beyond that is damaged data.
  if (Int64(N) * 2 > Stream->GetSize() - Stream->GetPosition()) throw EReadError(SInvalidPropertyValue);
  FItems.ILoadingCustom = true;
  TReader Reader(Stream);
  for (std::int32_t I = 0; I < N; ++I) {
    Reader.ReadListBegin();
    Reader.ReadProperties(FItems.Get(I));
    Reader.ReadListEnd();
  }
}

// ---------------------------------------------------------------------------------------------
// Published properties

// An item stores what differs from its marks, through DefineProperties ("Text.Strings",
// "Color", "Transparent", "Visible"); the shape's own lines are read but not written here.
ZEL_BEGIN_PUBLISHED(TMarksItem)
  P::Obj("Brush", &Self::GetBrush, &Self::GetBrush, [](Self*) { return false; }),
  P::Obj("Pen", &Self::GetPen, &Self::GetPen, [](Self*) { return false; }),
  P::Prop("Visible", &Self::GetVisible, &Self::SetVisible, Never),
  P::Prop("Alignment", &Self::GetAlignment, &Self::SetAlignment, Never),
  P::Prop("Angle", &Self::GetAngle, &Self::SetAngle, Never),
  P::Prop("Bevel", &Self::GetBevel, &Self::SetBevel, Never),
  P::Prop("BevelWidth", &Self::GetBevelWidth, &Self::SetBevelWidth, Never),
  P::Prop("ChildLayout", &Self::GetChildLayout, &Self::SetChildLayout, Never),
  P::Prop("Color", &Self::GetColor, &Self::SetColor, Never),
  P::Obj("Emboss", &Self::GetEmboss, &Self::ExistingEmboss, [](Self*) { return false; }),
  P::Obj("Font", &Self::GetFont, &Self::GetFont, [](Self*) { return false; }),
  P::Obj("Picture", &Self::GetPicture, &Self::ExistingPicture, [](Self*) { return false; }),
  P::Prop("RoundSize", &Self::GetRoundSize, &Self::SetRoundSize, Never),
  P::Obj("Shadow", &Self::GetShadow, &Self::GetShadow, [](Self*) { return false; }),
  P::Obj("ShapeCallout", &Self::GetShapeCallout, &Self::ExistingShapeCallout, [](Self*) { return false; }),
  P::Prop("ShapeStyle", &Self::GetShapeStyle, &Self::SetShapeStyle, Never),
  P::Prop("Transparency", &Self::GetTransparency, &Self::SetTransparency, Never),
  P::Prop("Transparent", &Self::GetTransparent, &Self::SetTransparent, Never),
  P::Prop("ClipText", &Self::GetClipText, &Self::SetClipText, Never),
  P::Obj("Margins", &Self::GetMargins, &Self::GetMargins, [](Self*) { return false; }),
  P::Prop("TextAlignment", &Self::GetTextAlignment, &Self::SetTextAlignment, Never),
  P::Prop("TextFormat", &Self::GetTextFormat, &Self::SetTextFormat, Never),
  P::Prop("VertTextAlign", &Self::GetVertTextAlign, &Self::SetVertTextAlign, Never),
ZEL_END_PUBLISHED

ZEL_BEGIN_PUBLISHED(TSeriesMarkShape)
  P::Prop("Style", &Self::GetStyle, &Self::SetStyle, Default(TSeriesMarksStyle::smsLabelOrValue)),
ZEL_END_PUBLISHED

// The symbol takes the point's colour on every draw; its Color is read, not written.
ZEL_BEGIN_PUBLISHED(TSeriesMarksSymbol)
  P::Prop("Color", &Self::GetColor, &Self::SetColor, Never),
  P::Prop("Visible", &Self::GetVisible, &Self::SetVisible, &Self::IsVisibleStored),
ZEL_END_PUBLISHED

// The arrow pen travels inside "Callout"; "Arrow" and "ArrowLength" name the same settings and
// are read only.
ZEL_BEGIN_PUBLISHED(TSeriesMarks)
  P::Prop("Angle", &Self::GetAngle, &Self::SetAngle, Default(0)),
  P::Obj("Arrow", &Self::GetArrow, [](Self*) -> TZelPen* { return nullptr; }),
  P::Prop("ArrowLength", &Self::GetArrowLength, &Self::SetArrowLength, Never),
  P::Prop("AutoPosition", &Self::GetAutoPosition, &Self::SetAutoPosition, Default(true)),
  P::Prop("BackColor", &Self::GetBackColor, &Self::SetBackColor, Never),
  P::Obj("Callout", &Self::GetCallout, &Self::ExistingCallout),
  P::Prop("Clip", &Self::GetClip, &Self::SetClip, Default(false)),
  P::Prop("Color", &Self::GetColor, &Self::SetColor, Default(TAlphaColor(0xFFFFFFE1))),
  P::Prop("DrawEvery", &Self::GetDrawEvery, &Self::SetDrawEvery, Default(1)),
  P::Prop("FontSeriesColor", &Self::GetFontSeriesColor, &Self::SetFontSeriesColor, Default(false)),
  P::Prop("MultiLine", &Self::GetMultiLine, &Self::SetMultiLine, Default(false)),
  P::Prop("OnTop", &Self::GetOnTop, &Self::SetOnTop, Default(false)),
  P::Prop("RoundSize", &Self::GetRoundSize, &Self::SetRoundSize, Default(4)),
  P::Prop("ShapeStyle", &Self::GetShapeStyle, &Self::SetShapeStyle, Default(TChartObjectShapeStyle::fosRoundRectangle)),
  P::Prop("SoftClip", &Self::GetSoftClip, &Self::SetSoftClip, Default(false)),
  P::Obj("Symbol", &Self::GetSymbol, &Self::ExistingSymbol),
  // Marks write their text alignment as TextAlign; TextAlignment is read, not written.
  P::Prop("TextAlign", &Self::GetTextAlignment, &Self::SetTextAlignment, &Self::IsTextAlignStored),
  P::Prop("TextAlignment", &Self::GetTextAlignment, &Self::SetTextAlignment, Never),
  P::Prop("UseSeriesTransparency", &Self::GetUseSeriesTransparency, &Self::SetUseSeriesTransparency, Default(true)),
ZEL_END_PUBLISHED

}  // namespace zel
