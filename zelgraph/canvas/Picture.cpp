#include "zelgraph/canvas/Picture.h"
#include "zelgraph/canvas/CanvasScopes.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/Filer.h"
#include "platform/Math.h"

namespace zel {

ZEL_DEFINE_CLASS(TPicture, TBitmap)
ZEL_DEFINE_CLASS(TZelPicture, TPicture)
ZEL_DEFINE_CLASS(TFilterRegion, TPersistent)
ZEL_DEFINE_CLASS(TZelFilter, TCollectionItem)
ZEL_DEFINE_CLASS(TFilterItems, TOwnedCollection)

// ---------------------------------------------------------------------------------------------
// TPicture

void TPicture::SetBitmap(TBitmap* V) {
  if (!V) {
    SetSize(0, 0);
  } else if (V != this) {
    Assign(V);
  }
}

void TPicture::DefineProperties(TFiler* Filer) {
  inherited::DefineProperties(Filer);
  Filer->DefineBinaryProperty(
      "PNG", [this](TStream* S) { LoadFromStream(S); }, [this](TStream* S) { SaveToStream(S); }, !IsEmpty());
}

// ---------------------------------------------------------------------------------------------
// TZelPicture

TZelPicture::~TZelPicture() {
  FreeAndNil(IBitmap);
  FreeAndNil(FFilters);
}

void TZelPicture::Assign(TPersistent* Source) {
  if (Source == this) return;
  if (auto* P = dynamic_cast<TZelPicture*>(Source)) SetFilters(P->FFilters);
  inherited::Assign(Source);
}

TFilterItems* TZelPicture::GetFilters() {
  if (!FFilters) FFilters = Create<TFilterItems>(this);
  return FFilters;
}

void TZelPicture::SetFilters(TFilterItems* V) {
  if (!V)
    FreeAndNil(FFilters);
  else if (V != FFilters)
    GetFilters()->Assign(V);
}

bool TZelPicture::FiltersStored() const { return FFilters && FFilters->GetCount() > 0; }

TBitmap* TZelPicture::Filtered() {
  if (!FiltersStored()) return this;
  if (!IBitmap) IBitmap = Create<TBitmap>();
  AssignGraphic(IBitmap, this);
  FFilters->ApplyTo(IBitmap);
  return IBitmap;
}

void TZelPicture::Repaint() {
  if (OnChange) OnChange(this);
}

void TZelPicture::AssignGraphic(TBitmap* Target, TBitmap* Source) { Target->Assign(Source); }

void TZelPicture::DefineProperties(TFiler* Filer) {
  inherited::DefineProperties(Filer);
  Filer->DefineProperty(
      "FilterItems", [this](TReader* R) { DoReadFilters(R); },
      [this](TWriter* W) { DoWriteFilters(W); }, FiltersStored());
}

void TZelPicture::DoWriteFilters(TWriter* Writer) {
  TFilterItems* List = GetFilters();
  Writer->WriteValue(TValueType::vaCollection);
  for (int i = 0; i < List->GetCount(); ++i) {
    TZelFilter* F = List->Get(i);
    Writer->WriteListBegin();
    Writer->WriteStr("ItemClass");
    Writer->WriteString(F->ClassName());
    {
      TRestoreOnExit RestorePath([Writer, Old = Writer->GetPropPath()] { Writer->SetPropPath(Old); });
      Writer->SetPropPath(String());
      Writer->WriteProperties(F);
    }
    Writer->WriteListEnd();
  }
  Writer->WriteListEnd();
}

void TZelPicture::DoReadFilters(TReader* Reader) {
  TFilterItems* List = GetFilters();
  WithinUpdate(*List, [&] {
    if (!Reader->EndOfList()) List->Clear();
    Reader->CheckValue(TValueType::vaCollection);
    while (!Reader->EndOfList()) {
      switch (Reader->NextValue()) {
        case TValueType::vaInt8:
        case TValueType::vaInt16:
        case TValueType::vaInt32:
          Reader->ReadInteger();  // an item index; not used
          break;
        default:
          break;
      }
      Reader->ReadListBegin();
      Reader->ReadStr();  // "ItemClass"
      const String ClassName = Reader->ReadString();
      const TCollectionItemClass* C = FindItemClass(ClassName);
      if (!C->Class->InheritsFrom(TZelFilter::StaticClass()))
        throw EReadError(SInvalidPropertyValue);
      TZelFilter* F = List->Add(C);
      Reader->ReadProperties(F);
      Reader->ReadListEnd();
    }
    Reader->ReadListEnd();
  });
}

// ---------------------------------------------------------------------------------------------
// TFilterRegion

void TFilterRegion::Assign(TPersistent* Source) {
  if (auto* R = dynamic_cast<TFilterRegion*>(Source)) {
    FHeight = R->FHeight;
    FLeft = R->FLeft;
    FTop = R->FTop;
    FWidth = R->FWidth;
  } else {
    inherited::Assign(Source);
  }
}

TRectF TFilterRegion::GetRectangle() const {
  return TRectF(static_cast<float>(FLeft), static_cast<float>(FTop),
                static_cast<float>(double(FLeft) + FWidth), static_cast<float>(double(FTop) + FHeight));
}

void TFilterRegion::SetRectangle(const TRectF& R) {
  FLeft = Round(R.Left);
  FTop = Round(R.Top);
  FWidth = Round(double(R.Right) - double(R.Left));
  FHeight = Round(double(R.Bottom) - double(R.Top));
}

// ---------------------------------------------------------------------------------------------
// TZelFilter

TZelFilter::TZelFilter(TCollection* ACollection) : TCollectionItem(ACollection) {
  AllowRegion = true;
  FEnabled = true;
}

TZelFilter::~TZelFilter() {
  LinesRGBA.clear();
  FreeAndNil(FRegion);
}

void TZelFilter::Assign(TPersistent* Source) {
  if (auto* F = dynamic_cast<TZelFilter*>(Source)) {
    if (F == this) return;
    SetEnabled(F->GetEnabled());
    SetRegion(F->GetRegion());
  } else {
    inherited::Assign(Source);
  }
}

void TZelFilter::DefineProperties(TFiler* Filer) {
  inherited::DefineProperties(Filer);
  Filer->DefineProperty(
      "Enabled", [this](TReader* R) { SetEnabled(R->ReadBoolean()); },
      [this](TWriter* W) { W->WriteBoolean(FEnabled); }, !FEnabled);
  struct TField {
    const char* Name;
    int (TFilterRegion::*Get)() const;
    void (TFilterRegion::*Set)(int);
  };
  static const TField Fields[] = {
      {"Region.Height", &TFilterRegion::GetHeight, &TFilterRegion::SetHeight},
      {"Region.Left", &TFilterRegion::GetLeft, &TFilterRegion::SetLeft},
      {"Region.Top", &TFilterRegion::GetTop, &TFilterRegion::SetTop},
      {"Region.Width", &TFilterRegion::GetWidth, &TFilterRegion::SetWidth},
  };
  for (const TField& Fld : Fields) {
    const bool HasData = FRegion && (FRegion->*Fld.Get)() != 0;
    Filer->DefineProperty(
        Fld.Name, [this, Fld](TReader* R) { (GetRegion()->*Fld.Set)(R->ReadInteger()); },
        [this, Fld](TWriter* W) { W->WriteInteger((GetRegion()->*Fld.Get)()); }, HasData);
  }
}

TRect TZelFilter::TargetRect(const TBitmap* Bitmap) {
  const std::int64_t W = Bitmap->GetWidth();
  const std::int64_t H = Bitmap->GetHeight();
  std::int64_t L = 0, T = 0, R = W - 1, B = H - 1;
  if (FRegion) {
    L = FRegion->GetLeft();
    T = FRegion->GetTop();
    R = FRegion->GetWidth() != 0 ? std::min(W - 1, L + FRegion->GetWidth()) : std::max(L, W - 1);
    B = FRegion->GetHeight() != 0 ? std::min(H - 1, T + FRegion->GetHeight()) : std::max(T, H - 1);
    // Clipped to the bitmap: a region reaching past an edge covers only what lies inside.
    L = std::max<std::int64_t>(L, 0);
    T = std::max<std::int64_t>(T, 0);
    R = std::min(R, W - 1);
    B = std::min(B, H - 1);
  }
  auto Fit = [](std::int64_t V) {
    return static_cast<int>(std::clamp<std::int64_t>(V, -2147483647LL - 1, 2147483647LL));
  };
  return TRect(Fit(L), Fit(T), Fit(R), Fit(B));
}

void TZelFilter::Apply(TBitmap* Bitmap) {
  if (!Bitmap) return;
  const TRect R = TargetRect(Bitmap);
  if (R.Right < R.Left || R.Bottom < R.Top) return;
  Apply(Bitmap, R);
}

void TZelFilter::Apply(TBitmap* Bitmap, const TRect&) {
  if (!ReuseLines) CalcLines(Bitmap);
}

void TZelFilter::CalcLines(TBitmap* Bitmap) {
  LinesRGBA.clear();
  ZelCalcLines(LinesRGBA, Bitmap);
}

void TZelFilter::CreateEditor(IFormCreator*, TNotifyEvent OnChange) { FChanged = std::move(OnChange); }

void TZelFilter::ApplyTo(TFilterClass C, TBitmap* Bitmap) {
  TOwned<TCollectionItem> Item(C->Create(nullptr));
  if (auto* F = dynamic_cast<TZelFilter*>(Item.get())) F->Apply(Bitmap);
}

void TZelFilter::SetEnabled(bool V) {
  if (FEnabled != V) {
    FEnabled = V;
    if (FChanged) FChanged(this);
  }
}

TFilterRegion* TZelFilter::GetRegion() {
  if (!FRegion) FRegion = Create<TFilterRegion>();
  return FRegion;
}

void TZelFilter::SetRegion(TFilterRegion* V) {
  if (!V)
    FreeAndNil(FRegion);
  else if (V != FRegion)
    GetRegion()->Assign(V);
}

// ---------------------------------------------------------------------------------------------
// TFilterItems

TFilterItems::TFilterItems(TPersistent* AOwner) : TOwnedCollection(AOwner, ItemClassOf<TZelFilter>()) {}

TZelFilter* TFilterItems::Get(int Index) const { return static_cast<TZelFilter*>(GetItem(Index)); }

void TFilterItems::Put(int Index, TZelFilter* Value) { SetItem(Index, Value); }

TZelFilter* TFilterItems::Add(TFilterClass C) {
  if (!C || !C->Class->InheritsFrom(TZelFilter::StaticClass()))
    throw EListError("Not a filter class: " + String(C ? C->GetName() : "nil"));
  return static_cast<TZelFilter*>(C->Create(this));
}

void TFilterItems::ApplyTo(TBitmap* Bitmap) {
  for (int i = 0; i < GetCount(); ++i) {
    TZelFilter* F = Get(i);
    if (F->GetEnabled()) F->Apply(Bitmap);
  }
}

void TFilterItems::Assign(TPersistent* Source) {
  auto* S = dynamic_cast<TFilterItems*>(Source);
  if (!S) {
    inherited::Assign(Source);
    return;
  }
  if (S == this) return;
  Clear();
  WithinUpdate(*this, [&] {
    for (int i = 0; i < S->GetCount(); ++i) {
      TZelFilter* From = S->Get(i);
      // The copy has the source item's class: the list's own item class, or one registered
      // by name (an unregistered filter class cannot be copied and raises EClassNotFound).
      const TCollectionItemClass* C = From->ClassType() == GetItemClass()->Class
                                          ? GetItemClass()
                                          : FindItemClass(From->ClassName());
      Add(C)->Assign(From);
    }
  });
}

void TFilterItems::Notify(TCollectionItem* Item, TCollectionNotification Action) {
  inherited::Notify(Item, Action);
  if (FOnChange) FOnChange(this);
}

void TFilterItems::Update(TCollectionItem* Item) {
  inherited::Update(Item);
  Changed = true;
}

// ---------------------------------------------------------------------------------------------
// Small routines

void ZelCalcLines(TRGBAArray& Lines, TBitmap*) { Lines.clear(); }

TRect ZelRectI(int Width, int Height) { return TRect(0, 0, Width, Height); }

TPointF PointAtDistance(TPointF A, TPointF B, float D) {
  if (A.X == B.X) {
    if (A.Y > B.Y) return TPointF(B.X, B.Y + D);
    return TPointF(B.X, B.Y - D);
  }
  const double Theta = std::atan2(double(B.Y) - A.Y, double(B.X) - A.X);
  return TPointF(static_cast<float>(B.X - D * std::cos(Theta)),
                 static_cast<float>(B.Y - D * std::sin(Theta)));
}

double ZelDistance(double DX, double DY) { return std::sqrt(DX * DX + DY * DY); }

void SwapDouble(double& A, double& B) { std::swap(A, B); }

void SwapInteger(int& A, int& B) { std::swap(A, B); }

void ZelActivateGroup() {}

std::intptr_t ObjectToTag(TObject* Obj) { return reinterpret_cast<std::intptr_t>(Obj); }

}  // namespace zel
