#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/Filer.h"
#include "platform/Streams.h"
#include "zelgraph/canvas/Picture.h"

using namespace zel;

namespace {

// A filter that paints its rectangle in one colour and remembers the rectangle it was given.
class TPaintFilter : public TZelFilter {
  ZEL_CLASS(TPaintFilter, TZelFilter)
 public:
  explicit TPaintFilter(TCollection* C) : TZelFilter(C) {}
  void Apply(TBitmap* Bitmap, const TRect& R) override {
    TZelFilter::Apply(Bitmap, R);
    LastRect = R;
    ++Calls;
    for (int Y = R.Top; Y <= R.Bottom; ++Y)
      for (int X = R.Left; X <= R.Right; ++X) Bitmap->SetPixel(X, Y, 0xFF00FF00);
  }
  TRect LastRect{-1, -1, -1, -1};
  int Calls = 0;
};
ZEL_DEFINE_CLASS(TPaintFilter, TZelFilter)

// A filter class nobody registers by name.
class TUnlistedFilter : public TZelFilter {
  ZEL_CLASS(TUnlistedFilter, TZelFilter)
 public:
  explicit TUnlistedFilter(TCollection* C) : TZelFilter(C) {}
};
ZEL_DEFINE_CLASS(TUnlistedFilter, TZelFilter)

class PictureTest : public ::testing::Test {
 protected:
  void SetUp() override { RegisterItemClass(ItemClassOf<TPaintFilter>()); }
  void TearDown() override { UnRegisterItemClass(ItemClassOf<TPaintFilter>()); }

  static TPaintFilter* AddPaint(TZelPicture& P) {
    return static_cast<TPaintFilter*>(P.GetFilters()->Add(ItemClassOf<TPaintFilter>()));
  }

  // The bytes of the picture's defined properties ("FilterItems" when it has filters).
  static std::vector<Byte> WriteProps(TZelPicture& P) {
    TMemoryStream S;
    TWriter W(&S);
    W.WriteProperties(&P);
    W.WriteListEnd();
    return S.GetBytes();
  }

  static void ReadProps(TZelPicture& P, const std::vector<Byte>& Bytes) {
    TMemoryStream S;
    S.WriteBuffer(Bytes.data(), static_cast<Int64>(Bytes.size()));
    S.SetPosition(0);
    TReader R(&S);
    R.ReadProperties(&P);
    R.ReadListEnd();
  }
};

TEST_F(PictureTest, NewPictureIsEmptyAndDrawsItself) {
  TOwned<TZelPicture> P(Create<TZelPicture>());
  EXPECT_EQ(P->GetWidth(), 0);
  EXPECT_EQ(P->GetHeight(), 0);
  EXPECT_FALSE(P->Valid());
  EXPECT_EQ(P->Filtered(), P.get());
  // An empty list is not stored and still needs no copy.
  P->GetFilters();
  EXPECT_FALSE(P->FiltersStored());
  EXPECT_EQ(P->Filtered(), P.get());
  EXPECT_EQ(WriteProps(*P), std::vector<Byte>{0});
}

TEST_F(PictureTest, FilteredIsAFreshCopyAndLeavesThePictureAlone) {
  TOwned<TZelPicture> P(Create<TZelPicture>());
  P->SetSize(4, 3);
  P->Clear(0xFFFF0000);
  ASSERT_TRUE(P->Valid());
  TPaintFilter* F = AddPaint(*P);
  F->SetEnabled(false);

  TBitmap* Copy = P->Filtered();
  ASSERT_NE(Copy, P.get());
  EXPECT_EQ(Copy->GetWidth(), 4);
  EXPECT_EQ(Copy->GetPixel(1, 1), 0xFFFF0000u);  // disabled: nothing changed
  EXPECT_EQ(F->Calls, 0);

  F->SetEnabled(true);
  F->GetRegion()->SetRectangle(TRectF(1, 1, 2, 1));
  Copy = P->Filtered();
  EXPECT_EQ(Copy->GetPixel(1, 1), 0xFF00FF00u);
  EXPECT_EQ(Copy->GetPixel(0, 0), 0xFFFF0000u);
  EXPECT_EQ(P->GetPixel(1, 1), 0xFFFF0000u);  // the picture itself keeps its pixels

  // Every call starts again from the picture: the reused copy carries nothing over.
  F->SetRegion(nullptr);
  P->SetPixel(3, 2, 0xFF0000FF);
  F->SetEnabled(false);
  Copy = P->Filtered();
  EXPECT_EQ(Copy->GetPixel(1, 1), 0xFFFF0000u);
  EXPECT_EQ(Copy->GetPixel(3, 2), 0xFF0000FFu);
}

TEST_F(PictureTest, FilterRectangleIsClippedToTheBitmap) {
  struct Case {
    int Left, Top, Width, Height;
    TRect Expected;
    bool Applied;
  };
  const Case Cases[] = {
      {0, 0, 0, 0, {0, 0, 99, 49}, true},        // no extent: to the far edges
      {10, 5, 0, 0, {10, 5, 99, 49}, true},
      {10, 5, 20, 10, {10, 5, 30, 15}, true},
      {10, 5, 200, 100, {10, 5, 99, 49}, true},  // too wide and high: cut at the edges
      {-10, -5, 20, 10, {0, 0, 10, 5}, true},    // starts before the bitmap
      {120, 5, 0, 0, {}, false},                 // entirely right of the bitmap
      {10, 60, 5, 5, {}, false},                 // entirely below it
      {10, 5, -20, 0, {}, false},                // negative width covers nothing
      {2147483600, 0, 2147483600, 0, {}, false}, // no overflow of Left + Width
  };
  TOwned<TBitmap> B(Create<TBitmap>(100, 50));
  for (const Case& C : Cases) {
    SCOPED_TRACE(testing::Message() << C.Left << "," << C.Top << "," << C.Width << "," << C.Height);
    TOwned<TPaintFilter> F(Create<TPaintFilter>(nullptr));
    TFilterRegion* R = F->GetRegion();
    R->SetLeft(C.Left);
    R->SetTop(C.Top);
    R->SetWidth(C.Width);
    R->SetHeight(C.Height);
    F->TZelFilter::Apply(B.get());
    EXPECT_EQ(F->Calls, C.Applied ? 1 : 0);
    if (C.Applied) {
      EXPECT_EQ(F->LastRect, C.Expected);
    }
  }
  // Without a region the whole bitmap; an empty bitmap gets no call.
  TOwned<TPaintFilter> F(Create<TPaintFilter>(nullptr));
  F->TZelFilter::Apply(B.get());
  EXPECT_EQ(F->LastRect, TRect(0, 0, 99, 49));
  TOwned<TBitmap> Empty(Create<TBitmap>());
  F->Calls = 0;
  F->TZelFilter::Apply(Empty.get());
  EXPECT_EQ(F->Calls, 0);
}

TEST_F(PictureTest, RegionRectangleRoundsHalvesToEven) {
  TFilterRegion R;
  R.SetRectangle(TRectF(1.5f, 2.5f, 10.5f, 12.5f));
  EXPECT_EQ(R.GetLeft(), 2);
  EXPECT_EQ(R.GetTop(), 2);
  EXPECT_EQ(R.GetWidth(), 9);
  EXPECT_EQ(R.GetHeight(), 10);
  EXPECT_EQ(R.GetRectangle(), TRectF(2, 2, 11, 12));
}

TEST_F(PictureTest, FilterItemsLayoutAndRoundTrip) {
  TOwned<TZelPicture> P(Create<TZelPicture>());
  TPaintFilter* F = AddPaint(*P);
  F->SetEnabled(false);
  F->GetRegion()->SetRectangle(TRectF(3, 4, 13, 24));
  AddPaint(*P);  // enabled, no region: writes no properties

  const std::vector<Byte> Bytes = WriteProps(*P);
  std::vector<Byte> Expected;
  auto Str = [&](const String& S) {
    Expected.push_back(static_cast<Byte>(S.size()));
    Expected.insert(Expected.end(), S.begin(), S.end());
  };
  auto Item = [&](bool WithProps) {
    Expected.push_back(1);  // list begin
    Str("ItemClass");
    Expected.push_back(6);  // short string value
    Str("TPaintFilter");
    if (WithProps) {
      Str("Enabled");
      Expected.push_back(8);  // false
      Str("Region.Height");
      Expected.insert(Expected.end(), {2, 20});
      Str("Region.Left");
      Expected.insert(Expected.end(), {2, 3});
      Str("Region.Top");
      Expected.insert(Expected.end(), {2, 4});
      Str("Region.Width");
      Expected.insert(Expected.end(), {2, 10});
    }
    Expected.push_back(0);  // list end
  };
  Str("FilterItems");
  Expected.push_back(14);  // collection
  Item(true);
  Item(false);
  Expected.push_back(0);  // end of the collection
  Expected.push_back(0);  // end of the properties
  EXPECT_EQ(Bytes, Expected);

  TOwned<TZelPicture> Q(Create<TZelPicture>());
  AddPaint(*Q);  // replaced by what is read
  ReadProps(*Q, Bytes);
  ASSERT_EQ(Q->GetFilters()->GetCount(), 2);
  TZelFilter* G = Q->GetFilters()->Get(0);
  EXPECT_STREQ(G->ClassType()->Name, "TPaintFilter");
  EXPECT_FALSE(G->GetEnabled());
  EXPECT_EQ(G->GetRegion()->GetRectangle(), TRectF(3, 4, 13, 24));
  EXPECT_TRUE(Q->GetFilters()->Get(1)->GetEnabled());
  EXPECT_EQ(Q->GetFilters()->Get(1)->ExistingRegion(), nullptr);
  EXPECT_EQ(WriteProps(*Q), Bytes);
}

TEST_F(PictureTest, ReadingAnUnknownFilterClassFailsAndKeepsWhatWasRead) {
  TOwned<TZelPicture> P(Create<TZelPicture>());
  AddPaint(*P)->SetEnabled(false);
  TZelFilter* Second = AddPaint(*P);
  std::vector<Byte> Bytes = WriteProps(*P);
  // Rename the second item's class to one nobody registered (same length).
  const String From = "TPaintFilter", To = "TWhatFilter_";
  auto It = std::search(Bytes.rbegin(), Bytes.rend(), From.rbegin(), From.rend());
  ASSERT_NE(It, Bytes.rend());
  std::copy(To.rbegin(), To.rend(), It);
  (void)Second;

  TOwned<TZelPicture> Q(Create<TZelPicture>());
  EXPECT_THROW(ReadProps(*Q, Bytes), EClassNotFound);
  TFilterItems* L = Q->GetFilters();
  EXPECT_EQ(L->GetUpdateCount(), 0);
  ASSERT_EQ(L->GetCount(), 1);
  EXPECT_FALSE(L->Get(0)->GetEnabled());
}

TEST_F(PictureTest, ReadingSkipsItemIndexesAndRejectsTruncatedStreams) {
  // A collection whose item carries an index before its list, as older writers put it.
  std::vector<Byte> Bytes{11, 'F', 'i', 'l', 't', 'e', 'r', 'I', 't', 'e', 'm', 's', 14, 2, 0, 1,
                          9,  'I', 't', 'e', 'm', 'C', 'l', 'a', 's', 's', 6, 12};
  const String Name = "TPaintFilter";
  Bytes.insert(Bytes.end(), Name.begin(), Name.end());
  Bytes.insert(Bytes.end(), {0, 0, 0});
  TOwned<TZelPicture> P(Create<TZelPicture>());
  ReadProps(*P, Bytes);
  ASSERT_EQ(P->GetFilters()->GetCount(), 1);

  for (size_t Cut : {size_t(13), size_t(20), Bytes.size() - 2}) {
    SCOPED_TRACE(Cut);
    TOwned<TZelPicture> Q(Create<TZelPicture>());
    EXPECT_THROW(ReadProps(*Q, std::vector<Byte>(Bytes.begin(), Bytes.begin() + Cut)), EReadError);
    EXPECT_EQ(Q->GetFilters()->GetUpdateCount(), 0);
  }
}

TEST_F(PictureTest, PixelsTravelWithThePictureAndUnreadableOnesChangeNothing) {
  TOwned<TZelPicture> Empty(Create<TZelPicture>());
  EXPECT_EQ(WriteProps(*Empty), std::vector<Byte>{0}) << "an empty picture writes nothing";

  TOwned<TZelPicture> P(Create<TZelPicture>());
  P->SetSize(3, 2);
  const TAlphaColor Colors[] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0x00000000, 0xFF102030, 0xFFFFFFFF};
  for (int I = 0; I < 6; ++I) P->SetPixel(I % 3, I / 3, Colors[I]);
  AddPaint(*P)->SetEnabled(false);
  const std::vector<Byte> Bytes = WriteProps(*P);

  TOwned<TZelPicture> Q(Create<TZelPicture>());
  ReadProps(*Q, Bytes);
  ASSERT_EQ(Q->GetWidth(), 3);
  ASSERT_EQ(Q->GetHeight(), 2);
  for (int I = 0; I < 6; ++I) EXPECT_EQ(Q->GetPixel(I % 3, I / 3), Colors[I]) << I;
  EXPECT_EQ(Q->GetFilters()->GetCount(), 1);
  EXPECT_EQ(WriteProps(*Q), Bytes);

  // The picture's bytes with their signature damaged.
  std::vector<Byte> Damaged = Bytes;
  const String Png = "PNG";
  auto It = std::search(Damaged.begin(), Damaged.end(), Png.begin(), Png.end());
  ASSERT_NE(It, Damaged.end());
  It = std::search(It + 3, Damaged.end(), Png.begin(), Png.end());  // the name first, then the data
  ASSERT_NE(It, Damaged.end());
  *It = 'X';
  TOwned<TZelPicture> R(Create<TZelPicture>());
  R->SetSize(1, 1);
  R->Clear(0xFF123456);
  EXPECT_THROW(ReadProps(*R, Damaged), Exception);
  EXPECT_EQ(R->GetWidth(), 1);
  EXPECT_EQ(R->GetPixel(0, 0), 0xFF123456u);
}

TEST_F(PictureTest, AssignCopiesFiltersAndPixelsOrDropsTheList) {
  TOwned<TZelPicture> A(Create<TZelPicture>());
  A->SetSize(2, 2);
  A->Clear(0xFF123456);
  TPaintFilter* F = AddPaint(*A);
  F->SetEnabled(false);
  F->GetRegion()->SetLeft(1);

  TOwned<TZelPicture> B(Create<TZelPicture>());
  B->Assign(A.get());
  EXPECT_EQ(B->GetWidth(), 2);
  EXPECT_EQ(B->GetPixel(1, 1), 0xFF123456u);
  ASSERT_EQ(B->GetFilters()->GetCount(), 1);
  TZelFilter* G = B->GetFilters()->Get(0);
  EXPECT_NE(G, F);
  EXPECT_NE(dynamic_cast<TPaintFilter*>(G), nullptr);
  EXPECT_FALSE(G->GetEnabled());
  EXPECT_EQ(G->GetRegion()->GetLeft(), 1);

  // A source that never had a list frees the target's.
  TOwned<TZelPicture> C(Create<TZelPicture>());
  B->Assign(C.get());
  EXPECT_EQ(B->ExistingFilters(), nullptr);
  EXPECT_FALSE(B->Valid());

  // Assigning a picture to itself keeps everything.
  A->Assign(A.get());
  EXPECT_EQ(A->GetFilters()->GetCount(), 1);
  EXPECT_EQ(A->GetPixel(0, 0), 0xFF123456u);

  A->SetBitmap(nullptr);
  EXPECT_FALSE(A->Valid());
}

TEST_F(PictureTest, CopiesKeepTheFilterClasses) {
  TOwned<TZelPicture> A(Create<TZelPicture>());
  A->GetFilters()->Add(ItemClassOf<TZelFilter>());
  AddPaint(*A);
  TOwned<TZelPicture> B(Create<TZelPicture>());
  B->Assign(A.get());
  ASSERT_EQ(B->GetFilters()->GetCount(), 2);
  EXPECT_EQ(B->GetFilters()->Get(0)->ClassType(), TZelFilter::StaticClass());
  EXPECT_EQ(B->GetFilters()->Get(1)->ClassType(), TPaintFilter::StaticClass());

  // A class that cannot be found by name is reported, not copied as another class.
  A->GetFilters()->Add(ItemClassOf<TUnlistedFilter>());
  EXPECT_THROW(B->Assign(A.get()), EClassNotFound);
  EXPECT_EQ(B->GetFilters()->GetUpdateCount(), 0);
}

TEST(PictureRoutines, PointAtDistance) {
  struct Case {
    TPointF A, B;
    float D;
    TPointF Expected;
  };
  const Case Cases[] = {
      {{0, 0}, {10, 0}, 3, {7, 0}},
      {{5, 0}, {5, 10}, 3, {5, 7}},     // vertical, A above B
      {{5, 10}, {5, 0}, 3, {5, 3}},     // vertical, A below B
      {{0, 0}, {3, 4}, 5, {0, 0}},      // back to A along the diagonal
      {{10, 0}, {0, 0}, 2, {2, 0}},
  };
  for (const Case& C : Cases) {
    const TPointF P = PointAtDistance(C.A, C.B, C.D);
    EXPECT_NEAR(P.X, C.Expected.X, 1e-5);
    EXPECT_NEAR(P.Y, C.Expected.Y, 1e-5);
  }
  EXPECT_DOUBLE_EQ(ZelDistance(3, 4), 5);
}

}  // namespace
