#include <gtest/gtest.h>

#include <cstdio>

#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Streams.h"

using namespace zel;

namespace {

TEST(BitmapTest, PixelsAreStraightAlphaThroughMap) {
  TBitmap B(4, 3);
  TBitmapData D;
  ASSERT_TRUE(B.Map(TMapAccess::Write, D));
  // Translucent colours survive the premultiplied storage within rounding.
  D.SetPixel(1, 1, 0x80FF0000);
  D.SetPixel(2, 1, 0xFF123456);
  D.SetPixel(3, 2, 0x00000000);
  B.Unmap(D);
  ASSERT_TRUE(B.Map(TMapAccess::Read, D));
  TAlphaColorRec Half(D.GetPixel(1, 1));
  EXPECT_EQ(0x80, Half.A);
  EXPECT_EQ(0xFF, Half.R);
  EXPECT_EQ(0, Half.G);
  EXPECT_EQ(0xFF123456u, D.GetPixel(2, 1));
  EXPECT_EQ(0u, D.GetPixel(3, 2));
  B.Unmap(D);
  EXPECT_FALSE(D.IsMapped());
}

TEST(BitmapTest, OutsideReadsWhiteAndWritesNothing) {
  TBitmap B(3, 3);
  B.Clear(TAlphaColors::Red);
  TBitmapData D;
  ASSERT_TRUE(B.Map(TMapAccess::ReadWrite, D));
  for (auto [X, Y] : {std::pair{-1, 0}, {0, -1}, {3, 0}, {0, 3}, {-100000, 100000}}) {
    EXPECT_EQ(0xFFFFFFFFu, D.GetPixel(X, Y));
    D.SetPixel(X, Y, TAlphaColors::Blue);
  }
  EXPECT_EQ(nullptr, D.GetScanline(3));
  B.Unmap(D);
  for (int Y = 0; Y < 3; ++Y)
    for (int X = 0; X < 3; ++X) EXPECT_EQ(TAlphaColors::Red, B.GetPixel(X, Y));
  EXPECT_EQ(0xFFFFFFFFu, B.GetPixel(5, 5));
  B.SetPixel(-1, -1, TAlphaColors::Blue);  // dropped, no crash
}

TEST(BitmapTest, ReadMappingDoesNotWrite) {
  TBitmap B(2, 2);
  B.Clear(TAlphaColors::Red);
  TBitmapData D;
  ASSERT_TRUE(B.Map(TMapAccess::Read, D));
  D.SetPixel(0, 0, TAlphaColors::Blue);
  B.Unmap(D);
  EXPECT_EQ(TAlphaColors::Red, B.GetPixel(0, 0));
}

TEST(BitmapTest, MapRefusesEmptyAndDoubleMapping) {
  TBitmap Empty;
  TBitmapData D;
  EXPECT_FALSE(Empty.Map(TMapAccess::Read, D));
  TBitmap B(2, 2);
  ASSERT_TRUE(B.Map(TMapAccess::Read, D));
  TBitmapData D2;
  EXPECT_FALSE(B.Map(TMapAccess::Read, D2));
  EXPECT_THROW(B.SetSize(5, 5), EInvalidOperation);
  B.Unmap(D);
  EXPECT_TRUE(B.Map(TMapAccess::Read, D2));
  B.Unmap(D2);
}

TEST(BitmapTest, SizeChangesAndErrors) {
  TBitmap B;
  EXPECT_TRUE(B.IsEmpty());
  int Changes = 0;
  B.OnChange = [&](TObject*) { ++Changes; };
  B.SetSize(10, 5);
  B.SetSize(10, 5);
  EXPECT_EQ(1, Changes);
  EXPECT_EQ(10, B.GetWidth());
  EXPECT_EQ(0u, B.GetPixel(0, 0));  // a new picture is transparent
  for (auto [W, H] : {std::pair{-1, 5}, {5, -1}, {100000, 1}, {30000, 30000}})
    EXPECT_THROW(B.SetSize(W, H), EArgumentOutOfRangeException) << W << " x " << H;
  EXPECT_EQ(10, B.GetWidth());
  EXPECT_THROW(TBitmap(-3, 3), EArgumentOutOfRangeException);
  B.SetWidth(0);
  EXPECT_TRUE(B.IsEmpty());
}

TEST(BitmapTest, CanvasSurvivesResize) {
  TBitmap B(10, 10);
  TCanvas* C = B.GetCanvas();
  ASSERT_TRUE(C->BeginScene());
  C->GetFill()->SetColor(TAlphaColors::Blue);
  C->FillRect({0, 0, 10, 10}, 0, 0, AllCorners, 1);
  EXPECT_EQ(TAlphaColors::Blue, B.GetPixel(9, 9));  // readable mid-scene
  B.SetSize(20, 20);
  EXPECT_EQ(C, B.GetCanvas());
  C->FillRect({0, 0, 20, 20}, 0, 0, AllCorners, 1);
  C->EndScene();
  EXPECT_EQ(TAlphaColors::Blue, B.GetPixel(19, 19));
}

TEST(BitmapTest, PngRoundTripKeepsPixelsSizeAndResolution) {
  TBitmap A(3, 2);
  A.Clear(0x40102030);
  A.SetPixel(2, 1, TAlphaColors::Lime);
  A.SetDotsPerMeter(11811, 3780);
  std::vector<std::uint8_t> Png = A.SaveToBytes();
  ASSERT_GT(Png.size(), 8u);
  EXPECT_EQ(0x89, Png[0]);
  EXPECT_EQ('P', Png[1]);
  TBitmap B;
  B.LoadFromBytes(Png);
  EXPECT_EQ(3, B.GetWidth());
  EXPECT_EQ(2, B.GetHeight());
  EXPECT_EQ(TAlphaColors::Lime, B.GetPixel(2, 1));
  EXPECT_EQ(0x40, AlphaOf(B.GetPixel(0, 0)));
  EXPECT_EQ(11811, B.GetDotsPerMeterX());
  EXPECT_EQ(3780, B.GetDotsPerMeterY());
}

TEST(BitmapTest, EmptyPictureRoundTrips) {
  TBitmap A, B(4, 4);
  B.LoadFromBytes(A.SaveToBytes());
  EXPECT_TRUE(B.IsEmpty());
}

TEST(BitmapTest, GarbageRaisesAndLeavesTheBitmapAlone) {
  TBitmap B(2, 2);
  B.Clear(TAlphaColors::Red);
  std::vector<std::uint8_t> Garbage{'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'};
  std::vector<std::uint8_t> Truncated = TBitmap(8, 8).SaveToBytes();
  Truncated.resize(20);
  for (const auto& Bytes : {Garbage, Truncated, std::vector<std::uint8_t>{}}) {
    try {
      B.LoadFromBytes(Bytes);
      ADD_FAILURE() << "no error";
    } catch (const EInvalidOperation& E) {
      EXPECT_STREQ(SBitmapInvalidImage, E.what());
    }
  }
  EXPECT_EQ(2, B.GetWidth());
  EXPECT_EQ(TAlphaColors::Red, B.GetPixel(1, 1));
}

// A picture the PNG decoder reads despite damage (here an extra text chunk whose check sum is
// wrong) loads without the decoder's warning in the log; damage it cannot read past still raises.
TEST(BitmapTest, ADamagedPictureThatStillReadsLeavesNoWarningInTheLog) {
  TBitmap A(8, 8);
  A.Clear(TAlphaColors::Blue);
  std::vector<std::uint8_t> Png = A.SaveToBytes();
  const std::uint8_t BadText[] = {0, 0, 0, 5, 't', 'E', 'X', 't', 'a', 0, 'b', 'c', 'd', 0, 0, 0, 0};
  Png.insert(Png.begin() + 33, std::begin(BadText), std::end(BadText));  // after the header chunk
  testing::internal::CaptureStderr();
  TBitmap B;
  B.LoadFromBytes(Png);
  const std::string Log = testing::internal::GetCapturedStderr();
  EXPECT_EQ(Log, "");
  EXPECT_EQ(B.GetWidth(), 8);
  EXPECT_EQ(B.GetPixel(3, 3), TAlphaColors::Blue);

  std::vector<std::uint8_t> Cut = Png;
  Cut.resize(Cut.size() - 20);  // into the picture's data
  EXPECT_THROW(B.LoadFromBytes(Cut), EInvalidOperation);
}

TEST(BitmapTest, StreamLoadStopsAfterThePicture) {
  TBitmap A(2, 2);
  A.Clear(TAlphaColors::Blue);
  TMemoryStream S;
  S.WriteBuffer("hdr", 3);
  A.SaveToStream(&S);
  Int64 End = S.GetPosition();
  S.WriteBuffer("tail", 4);
  S.SetPosition(3);
  TBitmap B;
  B.LoadFromStream(&S);
  EXPECT_EQ(TAlphaColors::Blue, B.GetPixel(1, 1));
  EXPECT_EQ(End, S.GetPosition());

  S.SetPosition(0);  // "hdr" is no picture: error, position kept
  EXPECT_THROW(B.LoadFromStream(&S), EInvalidOperation);
  EXPECT_EQ(0, S.GetPosition());
}

TEST(BitmapTest, FilesAndTheirErrors) {
  String Name = testing::TempDir() + "zel_bitmap_test.png";
  TBitmap A(5, 4);
  A.Clear(TAlphaColors::Yellow);
  A.SaveToFile(Name);
  TBitmap B;
  B.LoadFromFile(Name);
  EXPECT_EQ(TAlphaColors::Yellow, B.GetPixel(4, 3));
  std::remove(Name.c_str());
  EXPECT_THROW(B.LoadFromFile(Name), EFOpenError);
  EXPECT_THROW(A.SaveToFile("/nonexistent-dir/x.png"), EFCreateError);
}

TEST(BitmapTest, AssignCopies) {
  TBitmap A(3, 3);
  A.Clear(TAlphaColors::Red);
  A.SetBitmapScale(2);
  TBitmap B;
  B.Assign(&A);
  A.Clear(TAlphaColors::Blue);
  EXPECT_EQ(TAlphaColors::Red, B.GetPixel(0, 0));
  EXPECT_EQ(2, B.GetBitmapScale());
  B.Assign(nullptr);
  EXPECT_TRUE(B.IsEmpty());
}

}  // namespace
