#include "platform/StringList.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "platform/Filer.h"
#include "platform/Lists.h"
#include "platform/Unicode.h"

namespace zel {

namespace {

class TUtf8Encoding : public TEncoding {
 public:
  explicit TUtf8Encoding(bool APreamble) : FPreamble(APreamble) {}
  std::vector<Byte> GetBytes(const String& S) const override { return std::vector<Byte>(S.begin(), S.end()); }
  String GetString(const Byte* Bytes, std::size_t Count) const override {
    return String(reinterpret_cast<const char*>(Bytes), Count);
  }
  std::vector<Byte> GetPreamble() const override {
    if (!FPreamble) return {};
    return {0xEF, 0xBB, 0xBF};
  }

 private:
  bool FPreamble;
};

class TUtf16Encoding : public TEncoding {
 public:
  explicit TUtf16Encoding(bool ABigEndian) : FBigEndian(ABigEndian) {}
  std::vector<Byte> GetBytes(const String& S) const override {
    std::vector<Byte> R;
    auto Put = [&](std::uint32_t U) {
      Byte Lo = static_cast<Byte>(U & 0xFF), Hi = static_cast<Byte>(U >> 8);
      R.push_back(FBigEndian ? Hi : Lo);
      R.push_back(FBigEndian ? Lo : Hi);
    };
    for (std::size_t I = 0; I < S.size();) {
      std::uint32_t CP = NextCodePoint(S, I);
      if (CP >= 0x10000) {
        CP -= 0x10000;
        Put(0xD800 + (CP >> 10));
        Put(0xDC00 + (CP & 0x3FF));
      } else {
        Put(CP);
      }
    }
    return R;
  }
  String GetString(const Byte* Bytes, std::size_t Count) const override {
    return Utf16ToUtf8(Bytes, Count, FBigEndian);
  }
  std::vector<Byte> GetPreamble() const override {
    if (FBigEndian) return {0xFE, 0xFF};
    return {0xFF, 0xFE};
  }

 private:
  bool FBigEndian;
};

const TEncoding* BigEndianUnicode() {
  static const TUtf16Encoding E(true);
  return &E;
}

bool StartsWith(const std::vector<Byte>& Data, const std::vector<Byte>& Prefix) {
  return !Prefix.empty() && Data.size() >= Prefix.size() && std::equal(Prefix.begin(), Prefix.end(), Data.begin());
}

}  // namespace

const TEncoding* TEncoding::UTF8() {
  static const TUtf8Encoding E(true);
  return &E;
}

const TEncoding* TEncoding::Default() {
  static const TUtf8Encoding E(false);
  return &E;
}

const TEncoding* TEncoding::Unicode() {
  static const TUtf16Encoding E(false);
  return &E;
}

// TStrings

ZEL_DEFINE_CLASS(TStrings, TPersistent)

void TStrings::Error(const char* Msg, int Index) const {
  String S = Msg;
  auto P = S.find("%d");
  if (P != String::npos) S.replace(P, 2, std::to_string(Index));
  throw EStringListError(S);
}

int TStrings::Add(const String& S) {
  int I = GetCount();
  Insert(I, S);
  return I;
}

int TStrings::AddObject(const String& S, TObject* AObject) {
  int I = Add(S);
  SetObjects(I, AObject);
  return I;
}

void TStrings::InsertObject(int Index, const String& S, TObject* AObject) {
  Insert(Index, S);
  SetObjects(Index, AObject);
}

void TStrings::AddStrings(const TStrings* Strings) {
  if (!Strings || Strings == this) {
    if (Strings == this) {
      // Adding a list to itself: copy first, so the loop does not chase its own growth.
      std::vector<std::pair<String, TObject*>> Copy;
      for (int I = 0; I < GetCount(); ++I) Copy.emplace_back(GetStrings(I), GetObjects(I));
      WithinUpdate(*this, [&] {
        for (auto& [S, O] : Copy) AddObject(S, O);
      });
    }
    return;
  }
  WithinUpdate(*this, [&] {
    for (int I = 0; I < Strings->GetCount(); ++I) AddObject(Strings->GetStrings(I), Strings->GetObjects(I));
  });
}

int TStrings::CompareStrings(const String& A, const String& B) const {
  if (FCaseSensitive) return A.compare(B) < 0 ? -1 : A == B ? 0 : 1;
  std::size_t N = std::min(A.size(), B.size());
  for (std::size_t I = 0; I < N; ++I) {
    unsigned char X = static_cast<unsigned char>(A[I]), Y = static_cast<unsigned char>(B[I]);
    if (X >= 'A' && X <= 'Z') X = static_cast<unsigned char>(X + 32);
    if (Y >= 'A' && Y <= 'Z') Y = static_cast<unsigned char>(Y + 32);
    if (X != Y) return X < Y ? -1 : 1;
  }
  return A.size() < B.size() ? -1 : A.size() == B.size() ? 0 : 1;
}

int TStrings::IndexOf(const String& S) const {
  for (int I = 0; I < GetCount(); ++I)
    if (CompareStrings(GetStrings(I), S) == 0) return I;
  return -1;
}

int TStrings::IndexOfObject(const TObject* AObject) const {
  for (int I = 0; I < GetCount(); ++I)
    if (GetObjects(I) == AObject) return I;
  return -1;
}

void TStrings::SetCaseSensitive(bool Value) { FCaseSensitive = Value; }

String TStrings::GetText() const {
  String R;
  for (int I = 0; I < GetCount(); ++I) {
    R += GetStrings(I);
    R += FLineBreak;
  }
  return R;
}

namespace {
// Splits at CR, LF and CRLF; a final break adds no empty line.
std::vector<String> SplitLines(std::string_view S) {
  std::vector<String> Lines;
  std::size_t Start = 0, N = S.size();
  while (Start < N) {
    std::size_t I = S.find_first_of("\r\n", Start);
    if (I == std::string_view::npos) {
      Lines.emplace_back(S.substr(Start));
      break;
    }
    Lines.emplace_back(S.substr(Start, I - Start));
    if (S[I] == '\r' && I + 1 < N && S[I + 1] == '\n') ++I;
    Start = I + 1;
  }
  return Lines;
}
}  // namespace

void TStrings::SetText(const String& S) { SetTextLines(SplitLines(S)); }

void TStrings::SetTextLines(std::vector<String>&& Lines) {
  WithinUpdate(*this, [&] {
    Clear();
    for (const String& L : Lines) Add(L);
  });
}

void TStrings::BeginUpdate() {
  if (FUpdateCount == 0) Changing();
  ++FUpdateCount;
}

void TStrings::EndUpdate() {
  if (FUpdateCount <= 0) return;
  if (--FUpdateCount == 0) Changed();
}

void TStrings::Changing() {
  if (FUpdateCount == 0 && OnChanging) OnChanging(this);
}

void TStrings::Changed() {
  if (FUpdateCount == 0 && OnChange) OnChange(this);
}

void TStrings::LoadFromStream(TStream* Stream, const TEncoding* Encoding) {
  Int64 Size = Stream->GetSize() - Stream->GetPosition();
  std::vector<Byte> Data(static_cast<std::size_t>(std::max<Int64>(Size, 0)));
  if (!Data.empty()) Stream->ReadBuffer(Data.data(), static_cast<Int64>(Data.size()));
  std::size_t Skip = 0;
  if (!Encoding) {
    if (StartsWith(Data, TEncoding::UTF8()->GetPreamble()))
      Encoding = TEncoding::UTF8();
    else if (StartsWith(Data, TEncoding::Unicode()->GetPreamble()))
      Encoding = TEncoding::Unicode();
    else if (StartsWith(Data, BigEndianUnicode()->GetPreamble()))
      Encoding = BigEndianUnicode();
    else
      Encoding = TEncoding::Default();
  }
  if (StartsWith(Data, Encoding->GetPreamble())) Skip = Encoding->GetPreamble().size();
  if (Encoding == TEncoding::UTF8() || Encoding == TEncoding::Default()) {
    // Already the String form: split the bytes where they are.
    SetTextLines(SplitLines(std::string_view(reinterpret_cast<const char*>(Data.data()) + Skip, Data.size() - Skip)));
    return;
  }
  SetText(Encoding->GetString(Data.data() + Skip, Data.size() - Skip));
}

void TStrings::LoadFromFile(const String& FileName, const TEncoding* Encoding) {
  TFileStream File(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&File, Encoding);
}

void TStrings::SaveToStream(TStream* Stream, const TEncoding* Encoding) const {
  std::vector<Byte> Bytes;
  if (Encoding) Bytes = Encoding->GetPreamble();
  std::vector<Byte> Body = (Encoding ? Encoding : TEncoding::Default())->GetBytes(GetText());
  Bytes.insert(Bytes.end(), Body.begin(), Body.end());
  if (!Bytes.empty()) Stream->WriteBuffer(Bytes.data(), static_cast<Int64>(Bytes.size()));
}

void TStrings::SaveToFile(const String& FileName, const TEncoding* Encoding) const {
  TFileStream File(FileName, fmCreate);
  SaveToStream(&File, Encoding);
}

void TStrings::Assign(TPersistent* Source) {
  auto* Src = dynamic_cast<TStrings*>(Source);
  if (!Src) {
    TPersistent::Assign(Source);
    return;
  }
  if (Src == this) return;
  WithinUpdate(*this, [&] {
    Clear();
    FLineBreak = Src->FLineBreak;
    AddStrings(Src);
  });
}

// TStringList

ZEL_DEFINE_CLASS(TStringList, TStrings)

TStringList::~TStringList() {
  OnChange = nullptr;
  OnChanging = nullptr;
  std::vector<TItem> Items;
  Items.swap(FList);
  if (FOwnsObjects)
    for (TItem& It : Items)
      if (It.Obj) It.Obj->Free();
}

void TStringList::CheckIndex(int Index) const {
  if (Index < 0 || Index >= GetCount()) Error(SListIndexError, Index);
}

String TStringList::GetStrings(int Index) const {
  CheckIndex(Index);
  return FList[static_cast<std::size_t>(Index)].S;
}

void TStringList::SetStrings(int Index, const String& S) {
  if (FSorted) Error(SSortedListError, 0);
  CheckIndex(Index);
  Changing();
  FList[static_cast<std::size_t>(Index)].S = S;
  Changed();
}

TObject* TStringList::GetObjects(int Index) const {
  CheckIndex(Index);
  return FList[static_cast<std::size_t>(Index)].Obj;
}

void TStringList::SetObjects(int Index, TObject* AObject) {
  CheckIndex(Index);
  Changing();
  TObject*& Slot = FList[static_cast<std::size_t>(Index)].Obj;
  TObject* Old = Slot;
  Slot = AObject;
  if (FOwnsObjects && Old && Old != AObject) Old->Free();
  Changed();
}

int TStringList::Add(const String& S) {
  int Index = GetCount();
  if (FSorted && Find(S, Index)) {
    switch (FDuplicates) {
      case TDuplicates::dupIgnore:
        return Index;
      case TDuplicates::dupError:
        Error(SDuplicateString, 0);
      case TDuplicates::dupAccept:
        break;
    }
  }
  InsertItem(Index, S, nullptr);
  return Index;
}

void TStringList::Insert(int Index, const String& S) {
  if (FSorted) Error(SSortedListError, 0);
  if (Index < 0 || Index > GetCount()) Error(SListIndexError, Index);
  InsertItem(Index, S, nullptr);
}

void TStringList::InsertItem(int Index, const String& S, TObject* AObject) {
  Changing();
  FList.insert(FList.begin() + Index, TItem{S, AObject});
  Changed();
}

void TStringList::Delete(int Index) {
  CheckIndex(Index);
  Changing();
  TObject* Obj = FList[static_cast<std::size_t>(Index)].Obj;
  FList.erase(FList.begin() + Index);
  if (FOwnsObjects && Obj) Obj->Free();
  Changed();
}

void TStringList::Clear() {
  if (FList.empty()) return;
  Changing();
  std::vector<TItem> Items;
  Items.swap(FList);
  if (FOwnsObjects)
    for (TItem& It : Items)
      if (It.Obj) It.Obj->Free();
  Changed();
}

void TStringList::Exchange(int Index1, int Index2) {
  CheckIndex(Index1);
  CheckIndex(Index2);
  Changing();
  std::swap(FList[static_cast<std::size_t>(Index1)], FList[static_cast<std::size_t>(Index2)]);
  Changed();
}

int TStringList::IndexOf(const String& S) const {
  if (!FSorted) return TStrings::IndexOf(S);
  int Index;
  return Find(S, Index) ? Index : -1;
}

bool TStringList::Find(const String& S, int& Index) const {
  if (!FSorted) {
    Index = TStrings::IndexOf(S);
    if (Index >= 0) return true;
    Index = GetCount();
    return false;
  }
  // The first line not before S; with duplicates accepted, the first of equal lines.
  int Lo = 0, Hi = GetCount();
  while (Lo < Hi) {
    int Mid = Lo + (Hi - Lo) / 2;
    if (CompareStrings(FList[static_cast<std::size_t>(Mid)].S, S) < 0)
      Lo = Mid + 1;
    else
      Hi = Mid;
  }
  Index = Lo;
  return Lo < GetCount() && CompareStrings(FList[static_cast<std::size_t>(Lo)].S, S) == 0;
}

void TStringList::Sort() {
  Changing();
  std::stable_sort(FList.begin(), FList.end(),
                   [this](const TItem& A, const TItem& B) { return CompareStrings(A.S, B.S) < 0; });
  Changed();
}

void TStringList::SetSorted(bool Value) {
  if (FSorted == Value) return;
  if (Value) Sort();
  FSorted = Value;
}

void TStringList::SetTextLines(std::vector<String>&& Lines) {
  if (FSorted) {
    TStrings::SetTextLines(std::move(Lines));
    return;
  }
  WithinUpdate(*this, [&] {
    Clear();
    FList.reserve(Lines.size());
    for (String& L : Lines) FList.push_back(TItem{std::move(L), nullptr});
  });
}

void TStringList::SetCaseSensitive(bool Value) {
  if (Value == GetCaseSensitive()) return;
  TStrings::SetCaseSensitive(Value);
  if (FSorted) Sort();
}

void TStrings::DefineProperties(TFiler* Filer) {
  TPersistent::DefineProperties(Filer);
  Filer->DefineProperty(
      "Strings",
      [this](TReader* R) {
        R->ReadListBegin();
        std::vector<String> Lines;
        while (!R->EndOfList()) Lines.push_back(R->ReadString());
        R->ReadListEnd();
        WithinUpdate(*this, [&] {
          Clear();
          for (const String& L : Lines) Add(L);
        });
      },
      [this](TWriter* W) {
        W->WriteListBegin();
        for (int I = 0; I < GetCount(); ++I) W->WriteString(GetStrings(I));
        W->WriteListEnd();
      },
      GetCount() > 0);
}

}  // namespace zel
