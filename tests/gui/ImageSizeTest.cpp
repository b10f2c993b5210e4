// The size an image list shows its pictures at: its Width x Height in units whatever the
// pictures' pixels (large pictures reduced smoothly), or a picture's own pixels when the list has
// no size, as a stored list without one shows them.
#include <gtest/gtest.h>

#include <memory>

#include "platform/Bitmap.h"
#include "platform/Controls.h"
#include "platform/Exceptions.h"
#include "platform/Filer.h"
#include "platform/Forms.h"
#include "platform/StdCtrls.h"
#include "platform/Streams.h"

namespace zel {
namespace {

TEST(ImageSize, ThePicturesShowInTheListsSizeOrTheirOwn) {
  struct Case {
    const char* Name;
    int ListWidth, ListHeight, PictureWidth, PictureHeight;
    TSizeF Shown;
  };
  const Case Cases[] = {
      {"no size: the picture's pixels", 0, 0, 16, 16, {16, 16}},
      {"no size, another picture", 0, 0, 24, 20, {24, 20}},
      {"a picture of twice the size", 16, 16, 32, 32, {16, 16}},
      {"a width alone", 16, 0, 32, 32, {16, 32}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    TOwned<TImageList> L(Create<TImageList>(nullptr));
    L->SetWidth(C.ListWidth);
    L->SetHeight(C.ListHeight);
    L->Add(TBitmap(C.PictureWidth, C.PictureHeight));
    EXPECT_EQ(L->GetDrawSize(0), C.Shown);
    EXPECT_EQ(L->GetDrawSize(1), TSizeF());
  }
}

TEST(ImageSize, ABadSizeRaisesAndKeepsTheSize) {
  TOwned<TImageList> L(Create<TImageList>(nullptr));
  L->SetWidth(16);
  L->SetHeight(16);
  for (int Bad : {-1, TImageList::MaxImageSize + 1}) {
    EXPECT_THROW(L->SetWidth(Bad), EInvalidOperation);
    EXPECT_THROW(L->SetHeight(Bad), EInvalidOperation);
  }
  EXPECT_EQ(L->GetWidth(), 16);
  EXPECT_EQ(L->GetHeight(), 16);

  // A stream with a bad size: a clear error, and the list keeps what it had.
  TMemoryStream M;
  {
    TWriter W(&M);
    W.WriteStr("Width");
    W.WriteInteger(-16);
    W.WriteListEnd();
  }
  M.SetPosition(0);
  TReader R(&M);
  try {
    R.ReadProperties(L.get());
    ADD_FAILURE() << "a width of -16 was read";
  } catch (const Exception& E) {
    EXPECT_NE(String(E.what()).find("Invalid image size -16"), String::npos) << E.what();
  }
  EXPECT_EQ(L->GetWidth(), 16);
}

TEST(ImageSize, TheSizeIsStoredWithThePictures) {
  TOwned<TImageList> L(Create<TImageList>(nullptr));
  L->SetWidth(16);
  L->SetHeight(12);
  L->Add(TBitmap(32, 24));
  TMemoryStream M;
  {
    TWriter W(&M);
    W.WriteProperties(L.get());
    W.WriteListEnd();
  }
  M.SetPosition(0);
  TOwned<TImageList> Read(Create<TImageList>(nullptr));
  TReader R(&M);
  R.ReadProperties(Read.get());
  EXPECT_EQ(Read->GetWidth(), 16);
  EXPECT_EQ(Read->GetHeight(), 12);
  ASSERT_EQ(Read->GetCount(), 1);
  EXPECT_EQ(Read->GetDrawSize(0), TSizeF(16, 12));
}

// A button of a list of 16 x 16 units showing a 32 x 32 picture of one-pixel black and white
// squares: at ratio 1 the picture fills 16 x 16 units and its pixels are grey (each an average
// of four), not the black or white of every other picture pixel dropped.
TEST(ImageSize, AButtonShowsALargePictureReducedSmoothlyInTheListsSize) {
  TOwned<TForm> F(TForm::CreateNew(nullptr));
  TImageList* Images = Create<TImageList>(F.get());
  Images->SetWidth(16);
  Images->SetHeight(16);
  TBitmap Squares(32, 32);
  for (int Y = 0; Y < 32; ++Y)
    for (int X = 0; X < 32; ++X) Squares.SetPixel(X, Y, (X + Y) % 2 ? 0xFFFFFFFF : 0xFF000000);
  Images->Add(Squares);
  TSpeedButton* B = Create<TSpeedButton>(F.get());
  B->SetParent(F.get());
  B->SetBounds(0, 0, 120, 32);
  B->SetImages(Images);
  B->SetImageIndex(0);
  std::unique_ptr<TBitmap> Bmp(PaintToBitmap(B));
  const auto Grey = [&](int X, int Y) {
    const TAlphaColor C = Bmp->GetPixel(X, Y);
    const int Red = int((C >> 16) & 0xFF), Green = int((C >> 8) & 0xFF);
    return Red > 96 && Red < 160 && Red == Green;
  };
  int NotGrey = 0;
  for (int Y = 8; Y < 24; ++Y)
    for (int X = 4; X < 20; ++X) NotGrey += !Grey(X, Y);
  EXPECT_EQ(NotGrey, 0);
  // Nothing of the picture outside its 16 x 16 units.
  EXPECT_FALSE(Grey(20, 16));
  EXPECT_FALSE(Grey(12, 24));
}

}  // namespace
}  // namespace zel
